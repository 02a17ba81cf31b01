#include "capture/avirecorder.h"

#include <QFile>

#include <chrono>
#include <cmath>

namespace {

QString FfmpegText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromLocal8Bit(text);
}

int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

// The file, its encoder and where the recording stands; touched only by the
// writer's thread once the recording runs.
struct AviRecorder::Writer {
    Settings settings;
    OutputContextPtr file;
    AVStream* stream = nullptr;
    CodecContextPtr encoder;
    SwsContext* scaler = nullptr; // cached by sws_getCachedContext
    FramePtr yuv;
    PacketPtr packet;
    bool started = false;
    int64_t firstTimeUs = 0;
    int64_t lastSlot = -1;
    int64_t startMs = 0;
    int64_t cutAt = -1; // where the last whole frame ends, after a refused write

    ~Writer() { sws_freeContext(scaler); }

    std::expected<void, QString> open()
    {
        AVFormatContext* raw = nullptr;
        const QByteArray target = QByteArrayLiteral("file:") + QFile::encodeName(settings.path);
        if (avformat_alloc_output_context2(&raw, nullptr, "avi", target.constData()) < 0 || !raw)
            return std::unexpected(QStringLiteral("the AVI writer is missing"));
        file.reset(raw);
        // Every frame reaches the system as soon as it is written, so a
        // recording cut short keeps all its whole frames.
        file->flags |= AVFMT_FLAG_FLUSH_PACKETS;

        const AVCodec* mjpeg = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
        if (!mjpeg)
            return std::unexpected(QStringLiteral("the MJPEG encoder is missing"));
        encoder.reset(avcodec_alloc_context3(mjpeg));
        packet.reset(av_packet_alloc());
        yuv.reset(av_frame_alloc());
        if (!encoder || !packet || !yuv)
            return std::unexpected(FfmpegText(AVERROR(ENOMEM)));
        encoder->width = settings.width;
        encoder->height = settings.height;
        encoder->pix_fmt = AV_PIX_FMT_YUV420P;
        encoder->color_range = AVCOL_RANGE_JPEG;
        encoder->time_base = {1, settings.rate};
        encoder->framerate = {settings.rate, 1};
        encoder->flags |= AV_CODEC_FLAG_QSCALE;
        encoder->global_quality = FF_QP2LAMBDA * settings.jpegQuality;
        encoder->thread_count = 1; // one picture in, one picture out
        if (const int e = avcodec_open2(encoder.get(), mjpeg, nullptr); e < 0)
            return std::unexpected(FfmpegText(e));

        yuv->format = AV_PIX_FMT_YUV420P;
        yuv->width = settings.width;
        yuv->height = settings.height;
        yuv->color_range = AVCOL_RANGE_JPEG;
        if (const int e = av_frame_get_buffer(yuv.get(), 0); e < 0)
            return std::unexpected(FfmpegText(e));

        stream = avformat_new_stream(file.get(), nullptr);
        if (!stream)
            return std::unexpected(FfmpegText(AVERROR(ENOMEM)));
        stream->time_base = {1, settings.rate};
        stream->avg_frame_rate = {settings.rate, 1};
        avcodec_parameters_from_context(stream->codecpar, encoder.get());
        stream->codecpar->codec_tag = MKTAG('M', 'J', 'P', 'G');

        if (const int e = avio_open(&file->pb, target.constData(), AVIO_FLAG_WRITE); e < 0)
            return std::unexpected(FfmpegText(e));
        if (const int e = avformat_write_header(file.get(), nullptr); e < 0)
            return std::unexpected(FfmpegText(e));
        return {};
    }

    // The JPEG picture for a decoded one, in the recording's size.
    std::expected<void, QString> encode(const AVFrame& picture, int64_t slot)
    {
        scaler = sws_getCachedContext(scaler, picture.width, picture.height, AVPixelFormat(picture.format),
                                      settings.width, settings.height, AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr,
                                      nullptr, nullptr);
        if (!scaler)
            return std::unexpected(QStringLiteral("the camera's picture format cannot be converted"));
        int* inverse = nullptr;
        int sourceRange = 0;
        int* table = nullptr;
        int destinationRange = 0;
        int brightness = 0, contrast = 0, saturation = 0;
        if (sws_getColorspaceDetails(scaler, &inverse, &sourceRange, &table, &destinationRange, &brightness,
                                     &contrast, &saturation) >= 0) {
            sourceRange = picture.color_range == AVCOL_RANGE_JPEG;
            sws_setColorspaceDetails(scaler, inverse, sourceRange, table, 1, brightness, contrast, saturation);
        }
        if (const int e = av_frame_make_writable(yuv.get()); e < 0)
            return std::unexpected(FfmpegText(e));
        sws_scale(scaler, picture.data, picture.linesize, 0, picture.height, yuv->data, yuv->linesize);
        yuv->pts = slot;
        if (const int e = avcodec_send_frame(encoder.get(), yuv.get()); e < 0)
            return std::unexpected(FfmpegText(e));
        if (const int e = avcodec_receive_packet(encoder.get(), packet.get()); e < 0)
            return std::unexpected(FfmpegText(e));
        return {};
    }

    std::expected<void, QString> write(AVPacket& picture, int64_t slot)
    {
        const int64_t wholeFrames = avio_tell(file->pb);
        picture.stream_index = 0;
        picture.pts = picture.dts = av_rescale_q(slot, {1, settings.rate}, stream->time_base);
        picture.duration = av_rescale_q(1, {1, settings.rate}, stream->time_base);
        picture.flags |= AV_PKT_FLAG_KEY;
        // The AVI writer fills the slots between the last picture and this
        // one with empty chunks.
        const int e = av_write_frame(file.get(), &picture);
        av_packet_unref(&picture);
        const int failed = e < 0 ? e : file->pb->error;
        if (failed < 0) {
            cutAt = wholeFrames;
            return std::unexpected(FfmpegText(failed));
        }
        return {};
    }

    QString finish()
    {
        if (!file)
            return {};
        int e = av_write_trailer(file.get());
        if (e >= 0 && file->pb->error < 0)
            e = file->pb->error;
        if (e >= 0)
            e = avio_closep(&file->pb);
        file.reset();
        // A frame the disk took only in part goes: the file ends with the
        // last whole frame.
        if (cutAt > 0)
            QFile::resize(settings.path, cutAt);
        return e < 0 ? FfmpegText(e) : QString();
    }
};

std::expected<std::unique_ptr<AviRecorder>, QString> AviRecorder::start(const Settings& settings)
{
    if (settings.width <= 0 || settings.height <= 0 || settings.rate <= 0 || settings.timeLimitSeconds < 0
        || settings.jpegQuality < 2 || settings.jpegQuality > 31)
        return std::unexpected(QStringLiteral("the recording's size, rate or time limit is not usable"));
    auto writer = std::make_unique<Writer>();
    writer->settings = settings;
    if (auto opened = writer->open(); !opened) {
        writer->file.reset();
        QFile::remove(settings.path);
        return std::unexpected(opened.error());
    }
    std::unique_ptr<AviRecorder> recorder(new AviRecorder(std::move(writer)));
    recorder->thread_ = std::thread([r = recorder.get()] { r->run(); });
    return recorder;
}

AviRecorder::AviRecorder(std::unique_ptr<Writer> writer) : writer_(std::move(writer)) {}

AviRecorder::~AviRecorder()
{
    stop();
}

void AviRecorder::setEndedHandler(std::function<void()> handler)
{
    std::lock_guard lock(mutex_);
    endedHandler_ = std::move(handler);
}

void AviRecorder::submit(CapturedFrame frame)
{
    {
        std::lock_guard lock(mutex_);
        // About a second of pictures may wait for the disk; beyond that the
        // picture is dropped rather than the camera held up.
        const size_t room = size_t(std::max(writer_->settings.rate, 8));
        if (stopping_ || ended_ || queue_.size() >= room)
            return;
        queue_.push_back(std::move(frame));
    }
    wake_.notify_one();
}

void AviRecorder::run()
{
    Writer& w = *writer_;
    const int64_t limitSlots = int64_t{w.settings.timeLimitSeconds} * w.settings.rate;
    for (;;) {
        CapturedFrame frame;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
            if (queue_.empty())
                break;
            frame = std::move(queue_.front());
            queue_.pop_front();
        }
        if (ended_)
            continue;
        if (!w.started) {
            w.started = true;
            w.firstTimeUs = frame.timeUs;
            w.startMs = NowMs();
        }
        const int64_t slot = std::llround(double(frame.timeUs - w.firstTimeUs) * w.settings.rate / 1e6);
        std::expected<void, QString> written;
        if (limitSlots > 0 && slot >= limitSlots) {
            written = std::unexpected(QString()); // the time limit: ends without a failure
        } else if (slot <= w.lastSlot) {
            continue; // the camera sends more pictures than the rate asks for
        } else {
            if (frame.jpeg)
                written = w.write(*frame.jpeg, slot);
            else if (frame.picture) {
                written = w.encode(*frame.picture, slot);
                if (written)
                    written = w.write(*w.packet, slot);
            } else
                continue;
            if (written) {
                framesDropped_ += slot - w.lastSlot - 1;
                ++framesCaptured_;
                w.lastSlot = slot;
            }
        }
        timeMs_ = NowMs() - w.startMs;
        if (!written) {
            std::function<void()> handler;
            {
                std::lock_guard lock(mutex_);
                failure_ = written.error();
                ended_ = true;
                queue_.clear();
                handler = endedHandler_;
            }
            if (handler)
                handler();
        }
    }
}

AviRecorder::Statistics AviRecorder::stop()
{
    {
        std::lock_guard lock(mutex_);
        if (stopped_)
            return final_;
        stopped_ = true;
        stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable())
        thread_.join();
    const QString closing = writer_->finish();
    std::lock_guard lock(mutex_);
    if (failure_.isEmpty() && !closing.isEmpty())
        failure_ = closing;
    final_ = {framesCaptured_, framesDropped_, timeMs_};
    return final_;
}

AviRecorder::Statistics AviRecorder::statistics() const
{
    return {framesCaptured_, framesDropped_, timeMs_};
}

QString AviRecorder::failure() const
{
    std::lock_guard lock(mutex_);
    return failure_;
}
