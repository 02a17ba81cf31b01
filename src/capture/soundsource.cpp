#include "capture/soundsource.h"

#include "capture/ffmpegerror.h"
#include "capture/libavdevices.h"
#include "video/ffmpeghandles.h"

extern "C" {
#include <libavutil/dict.h>
}

#include <chrono>

int64_t SoundSource::SteadyNowUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

std::expected<std::unique_ptr<SoundSource>, QString> SoundSource::start(const QByteArray& deviceFormat,
                                                                       const QByteArray& url,
                                                                       const AudioFormat& format, Sink sink)
{
    if (format.sampleRate <= 0 || (format.channels != 1 && format.channels != 2))
        return std::unexpected(QStringLiteral("the sound format is not usable"));
    RegisterLibavDevices();
    const AVInputFormat* layer = av_find_input_format(deviceFormat.constData());
    if (!layer)
        return std::unexpected(QStringLiteral("FFmpeg has no %1 device layer").arg(QString::fromLatin1(deviceFormat)));

    // A test source is told the format by its filter graph; a sound card by
    // the device layer's options (ALSA's "plug" devices convert to them).
    QByteArray source = url;
    AVDictionary* options = nullptr;
    if (deviceFormat == "lavfi") {
        source += ",aformat=sample_fmts=s16:sample_rates=" + QByteArray::number(format.sampleRate)
            + ":channel_layouts=" + (format.channels == 1 ? "mono" : "stereo");
    } else {
        av_dict_set_int(&options, "sample_rate", format.sampleRate, 0);
        av_dict_set_int(&options, "channels", format.channels, 0);
    }
    std::unique_ptr<SoundSource> sound(new SoundSource);
    AVFormatContext* context = avformat_alloc_context();
    if (!context) {
        av_dict_free(&options);
        return std::unexpected(FfmpegErrorText(AVERROR(ENOMEM)));
    }
    context->interrupt_callback = InterruptWhen(sound->stopping_);
    const int opened = avformat_open_input(&context, source.constData(), layer, &options);
    av_dict_free(&options);
    if (opened < 0)
        return std::unexpected(FfmpegErrorText(opened));
    FormatContextPtr input(context);
    if (avformat_find_stream_info(input.get(), nullptr) < 0 || input->nb_streams < 1)
        return std::unexpected(QStringLiteral("the sound input delivers no sound"));
    const AVCodecParameters* sound16 = input->streams[0]->codecpar;
    if (sound16->codec_type != AVMEDIA_TYPE_AUDIO || sound16->codec_id != AV_CODEC_ID_PCM_S16LE
        || sound16->sample_rate != format.sampleRate || sound16->ch_layout.nb_channels != format.channels)
        return std::unexpected(QStringLiteral("the sound input cannot give %1 Hz, %2 channel(s)")
                                   .arg(format.sampleRate)
                                   .arg(format.channels));
    const bool paced = deviceFormat == "lavfi";
    sound->thread_ = std::thread(
        [s = sound.get(), raw = input.release(), sink = std::move(sink), paced] { s->run(raw, sink, paced); });
    return sound;
}

SoundSource::~SoundSource()
{
    stopping_ = true;
    if (thread_.joinable())
        thread_.join();
}

void SoundSource::run(AVFormatContext* context, Sink sink, bool paced)
{
    FormatContextPtr input(context);
    const AVStream* stream = input->streams[0];
    const auto began = std::chrono::steady_clock::now();
    const int bytesPerSample = 2 * stream->codecpar->ch_layout.nb_channels;
    const int64_t rate = stream->codecpar->sample_rate;
    int64_t firstUs = AV_NOPTS_VALUE;
    PacketPtr packet(av_packet_alloc());
    while (packet && !stopping_ && av_read_frame(input.get(), packet.get()) >= 0) {
        if (packet->stream_index == 0 && packet->size > 0) {
            if (paced && packet->pts != AV_NOPTS_VALUE) {
                // A test source runs ahead of the clock: each block is let
                // go when its last sample would have been heard.
                const int64_t startUs = av_rescale_q(packet->pts, stream->time_base, {1, 1000000});
                const int64_t samples = packet->size / bytesPerSample;
                if (firstUs == AV_NOPTS_VALUE)
                    firstUs = startUs;
                std::this_thread::sleep_until(
                    began + std::chrono::microseconds(startUs - firstUs + samples * 1000000 / rate));
            }
            sink({SteadyNowUs(), QByteArray(reinterpret_cast<const char*>(packet->data), packet->size)});
        }
        av_packet_unref(packet.get());
    }
}
