#include "capture/mjpegencoder.h"

#include "capture/ffmpegerror.h"

MjpegEncoder::MjpegEncoder(const Settings& settings) : settings_(settings) {}

MjpegEncoder::~MjpegEncoder()
{
    sws_freeContext(scaler_);
}

std::expected<std::unique_ptr<MjpegEncoder>, QString> MjpegEncoder::open(const Settings& settings)
{
    if (settings.width <= 0 || settings.height <= 0 || settings.rate <= 0 || settings.jpegQuality < 2
        || settings.jpegQuality > 31)
        return std::unexpected(QStringLiteral("the picture size, rate or quality is not usable"));
    const AVCodec* mjpeg = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    if (!mjpeg)
        return std::unexpected(QStringLiteral("the MJPEG encoder is missing"));
    std::unique_ptr<MjpegEncoder> e(new MjpegEncoder(settings));
    e->encoder_.reset(avcodec_alloc_context3(mjpeg));
    e->yuv_.reset(av_frame_alloc());
    if (!e->encoder_ || !e->yuv_)
        return std::unexpected(FfmpegErrorText(AVERROR(ENOMEM)));
    AVCodecContext& c = *e->encoder_;
    c.width = settings.width;
    c.height = settings.height;
    c.pix_fmt = AV_PIX_FMT_YUV420P;
    c.color_range = AVCOL_RANGE_JPEG;
    c.time_base = {1, settings.rate};
    c.framerate = {settings.rate, 1};
    c.flags |= AV_CODEC_FLAG_QSCALE;
    c.global_quality = FF_QP2LAMBDA * settings.jpegQuality;
    c.thread_count = 1; // one picture in, one picture out
    if (const int error = avcodec_open2(&c, mjpeg, nullptr); error < 0)
        return std::unexpected(FfmpegErrorText(error));

    AVFrame& yuv = *e->yuv_;
    yuv.format = AV_PIX_FMT_YUV420P;
    yuv.width = settings.width;
    yuv.height = settings.height;
    yuv.color_range = AVCOL_RANGE_JPEG;
    if (const int error = av_frame_get_buffer(&yuv, 0); error < 0)
        return std::unexpected(FfmpegErrorText(error));
    return e;
}

std::expected<PacketPtr, QString> MjpegEncoder::encode(const AVFrame& picture)
{
    scaler_ = sws_getCachedContext(scaler_, picture.width, picture.height, AVPixelFormat(picture.format),
                                   settings_.width, settings_.height, AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr,
                                   nullptr, nullptr);
    if (!scaler_)
        return std::unexpected(QStringLiteral("the camera's picture format cannot be converted"));
    // The JPEG range is kept whatever range the camera sends.
    int* inverse = nullptr;
    int sourceRange = 0;
    int* table = nullptr;
    int destinationRange = 0;
    int brightness = 0, contrast = 0, saturation = 0;
    if (sws_getColorspaceDetails(scaler_, &inverse, &sourceRange, &table, &destinationRange, &brightness, &contrast,
                                 &saturation)
        >= 0) {
        sourceRange = picture.color_range == AVCOL_RANGE_JPEG;
        sws_setColorspaceDetails(scaler_, inverse, sourceRange, table, 1, brightness, contrast, saturation);
    }
    if (const int error = av_frame_make_writable(yuv_.get()); error < 0)
        return std::unexpected(FfmpegErrorText(error));
    sws_scale(scaler_, picture.data, picture.linesize, 0, picture.height, yuv_->data, yuv_->linesize);
    yuv_->pts = pts_++;
    PacketPtr packet(av_packet_alloc());
    if (!packet)
        return std::unexpected(FfmpegErrorText(AVERROR(ENOMEM)));
    if (const int error = avcodec_send_frame(encoder_.get(), yuv_.get()); error < 0)
        return std::unexpected(FfmpegErrorText(error));
    if (const int error = avcodec_receive_packet(encoder_.get(), packet.get()); error < 0)
        return std::unexpected(FfmpegErrorText(error));
    return packet;
}

void MjpegEncoder::describe(AVCodecParameters& parameters) const
{
    avcodec_parameters_from_context(&parameters, encoder_.get());
}
