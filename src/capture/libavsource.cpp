#include "capture/libavsource.h"

#include "capture/ffmpegerror.h"
#include "capture/libavdevices.h"

extern "C" {
#include <libavutil/dict.h>
}

#include <chrono>

namespace {

// FFmpeg's name for a Video4Linux2 pixel format, as its device layer takes
// it in "input_format".
QByteArray InputFormatName(const QString& pixelFormat)
{
    static const std::pair<const char*, const char*> names[] = {
        {"MJPG", "mjpeg"}, {"JPEG", "mjpeg"}, {"YUYV", "yuyv422"}, {"UYVY", "uyvy422"},
        {"NV12", "nv12"},  {"YU12", "yuv420p"}, {"RGB3", "rgb24"}, {"BGR3", "bgr24"},
        {"GREY", "gray"},  {"H264", "h264"},
    };
    for (const auto& [fourcc, name] : names)
        if (pixelFormat == QLatin1String(fourcc))
            return name;
    return {};
}

} // namespace

LibavSource::LibavSource(QByteArray deviceFormat, QByteArray url, QList<Format> formats, QStringList inputs)
    : deviceFormat_(std::move(deviceFormat)), url_(std::move(url)), formats_(std::move(formats)),
      inputs_(std::move(inputs))
{
}

LibavSource::~LibavSource()
{
    stop();
}

std::expected<void, QString> LibavSource::start(const Format& format, int rate, int input, Sink sink)
{
    stop();
    RegisterLibavDevices();
    const AVInputFormat* layer = av_find_input_format(deviceFormat_.constData());
    if (!layer)
        return std::unexpected(QStringLiteral("FFmpeg has no %1 device layer").arg(QString::fromLatin1(deviceFormat_)));

    AVDictionary* options = nullptr;
    if (deviceFormat_ != "lavfi") {
        if (format.size.isValid())
            av_dict_set(&options, "video_size",
                        QByteArray::number(format.size.width()) + 'x' + QByteArray::number(format.size.height()), 0);
        if (rate > 0)
            av_dict_set(&options, "framerate", QByteArray::number(rate).constData(), 0);
        if (const QByteArray name = InputFormatName(format.pixelFormat); !name.isEmpty())
            av_dict_set(&options, "input_format", name.constData(), 0);
        if (input > 0)
            av_dict_set_int(&options, "channel", input, 0);
    }
    AVFormatContext* context = avformat_alloc_context();
    if (!context) {
        av_dict_free(&options);
        return std::unexpected(QStringLiteral("out of memory"));
    }
    stopping_ = false;
    context->interrupt_callback = InterruptWhen(stopping_);
    const int opened = avformat_open_input(&context, url_.constData(), layer, &options);
    av_dict_free(&options);
    if (opened < 0) {
        return std::unexpected(FfmpegErrorText(opened));
    }
    if (avformat_find_stream_info(context, nullptr) < 0 || context->nb_streams < 1
        || context->streams[0]->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) {
        avformat_close_input(&context);
        return std::unexpected(QStringLiteral("the camera delivers no pictures"));
    }
    thread_ = std::thread([this, context, sink = std::move(sink)] { run(context, sink); });
    return {};
}

void LibavSource::run(AVFormatContext* context, Sink sink)
{
    FormatContextPtr input(context);
    const AVStream* stream = input->streams[0];
    const bool jpeg = stream->codecpar->codec_id == AV_CODEC_ID_MJPEG;
    CodecContextPtr decoder;
    if (!jpeg) {
        const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
        if (!codec)
            return;
        decoder.reset(avcodec_alloc_context3(codec));
        if (!decoder || avcodec_parameters_to_context(decoder.get(), stream->codecpar) < 0
            || avcodec_open2(decoder.get(), codec, nullptr) < 0)
            return;
    }
    const bool paced = deviceFormat_ == "lavfi";
    const auto began = std::chrono::steady_clock::now();
    int64_t firstUs = AV_NOPTS_VALUE;

    PacketPtr packet(av_packet_alloc());
    while (packet && !stopping_ && av_read_frame(input.get(), packet.get()) >= 0) {
        if (packet->stream_index != 0) {
            av_packet_unref(packet.get());
            continue;
        }
        const int64_t pts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        const int64_t timeUs = av_rescale_q(pts, stream->time_base, {1, 1000000});
        if (firstUs == AV_NOPTS_VALUE)
            firstUs = timeUs;
        if (paced)
            std::this_thread::sleep_until(began + std::chrono::microseconds(timeUs - firstUs));
        CapturedFrame frame;
        frame.timeUs = timeUs;
        if (jpeg) {
            frame.jpeg.reset(av_packet_clone(packet.get()));
            frame.width = stream->codecpar->width;
            frame.height = stream->codecpar->height;
            if (frame.jpeg)
                sink(std::move(frame));
        } else if (avcodec_send_packet(decoder.get(), packet.get()) >= 0) {
            FramePtr picture(av_frame_alloc());
            while (picture && avcodec_receive_frame(decoder.get(), picture.get()) >= 0) {
                CapturedFrame decoded;
                decoded.timeUs = timeUs;
                decoded.picture = std::move(picture);
                sink(std::move(decoded));
                picture.reset(av_frame_alloc());
            }
        }
        av_packet_unref(packet.get());
    }
}

void LibavSource::stop()
{
    stopping_ = true;
    if (thread_.joinable())
        thread_.join();
}
