#include "capture/previewpicture.h"

#include <cstring>

PreviewPicture::~PreviewPicture()
{
    sws_freeContext(scaler_);
}

QImage PreviewPicture::toImage(const CapturedFrame& frame)
{
    if (frame.picture)
        return fromPicture(*frame.picture);
    if (!frame.jpeg)
        return {};
    if (!jpegDecoder_) {
        const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_MJPEG);
        if (!codec)
            return {};
        jpegDecoder_.reset(avcodec_alloc_context3(codec));
        decoded_.reset(av_frame_alloc());
        if (!jpegDecoder_ || !decoded_ || avcodec_open2(jpegDecoder_.get(), codec, nullptr) < 0) {
            jpegDecoder_.reset();
            return {};
        }
    }
    if (avcodec_send_packet(jpegDecoder_.get(), frame.jpeg.get()) < 0
        || avcodec_receive_frame(jpegDecoder_.get(), decoded_.get()) < 0)
        return {};
    QImage image = fromPicture(*decoded_);
    av_frame_unref(decoded_.get());
    return image;
}

QImage PreviewPicture::fromPicture(const AVFrame& picture)
{
    if (picture.width <= 0 || picture.height <= 0)
        return {};
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    if (picture.format == AV_PIX_FMT_BGRA || picture.format == AV_PIX_FMT_BGR0) {
        for (int y = 0; y < picture.height; ++y)
            std::memcpy(image.scanLine(y), picture.data[0] + y * picture.linesize[0], size_t(picture.width) * 4);
        return image;
    }
    scaler_ = sws_getCachedContext(scaler_, picture.width, picture.height, AVPixelFormat(picture.format),
                                   picture.width, picture.height, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr,
                                   nullptr);
    if (!scaler_)
        return {};
    uint8_t* rows[4] = {image.bits(), nullptr, nullptr, nullptr};
    const int strides[4] = {int(image.bytesPerLine()), 0, 0, 0};
    sws_scale(scaler_, picture.data, picture.linesize, 0, picture.height, rows, strides);
    return image;
}
