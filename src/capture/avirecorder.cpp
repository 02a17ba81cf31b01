#include "capture/avirecorder.h"

#include "capture/ffmpegerror.h"
#include "capture/mjpegencoder.h"
#include "capture/soundtrack.h"

#include <QFile>

#include <chrono>
#include <cmath>

namespace {

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
    AVStream* soundStream = nullptr;
    std::unique_ptr<SoundTrack> sound;
    std::unique_ptr<MjpegEncoder> encoder;
    bool started = false;
    int64_t firstTimeUs = 0;
    int64_t lastSlot = -1;
    int64_t liveFirstSlot = -1; // the first slot after the pre-roll, once known
    int64_t startMs = 0;
    int64_t cutAt = -1; // where the last whole frame ends, after a refused write

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

        auto opened = MjpegEncoder::open({settings.width, settings.height, settings.rate, settings.jpegQuality});
        if (!opened)
            return std::unexpected(opened.error());
        encoder = std::move(*opened);

        stream = avformat_new_stream(file.get(), nullptr);
        if (!stream)
            return std::unexpected(FfmpegErrorText(AVERROR(ENOMEM)));
        stream->time_base = {1, settings.rate};
        stream->avg_frame_rate = {settings.rate, 1};
        encoder->describe(*stream->codecpar);
        stream->codecpar->codec_tag = MKTAG('M', 'J', 'P', 'G');

        if (settings.sound.sampleRate > 0) {
            if (auto added = addSoundStream(); !added)
                return added;
        }

        if (const int e = avio_open(&file->pb, target.constData(), AVIO_FLAG_WRITE); e < 0)
            return std::unexpected(FfmpegErrorText(e));
        if (const int e = avformat_write_header(file.get(), nullptr); e < 0)
            return std::unexpected(FfmpegErrorText(e));
        return {};
    }

    // PCM sound beside the pictures: 8-bit unsigned or 16-bit signed.
    std::expected<void, QString> addSoundStream()
    {
        const AudioFormat& format = settings.sound;
        if ((format.bits != 8 && format.bits != 16) || (format.channels != 1 && format.channels != 2))
            return std::unexpected(QStringLiteral("the sound format is not usable"));
        soundStream = avformat_new_stream(file.get(), nullptr);
        if (!soundStream)
            return std::unexpected(FfmpegErrorText(AVERROR(ENOMEM)));
        AVCodecParameters& p = *soundStream->codecpar;
        p.codec_type = AVMEDIA_TYPE_AUDIO;
        p.codec_id = format.bits == 8 ? AV_CODEC_ID_PCM_U8 : AV_CODEC_ID_PCM_S16LE;
        p.sample_rate = format.sampleRate;
        av_channel_layout_default(&p.ch_layout, format.channels);
        p.bits_per_coded_sample = format.bits;
        p.block_align = format.channels * format.bits / 8;
        p.bit_rate = int64_t{format.sampleRate} * p.block_align * 8;
        soundStream->time_base = {1, format.sampleRate};
        sound = std::make_unique<SoundTrack>(format);
        return {};
    }

    // Sound that came from the input, laid on the file's timeline.
    void hear(const std::deque<SoundBlock>& heard)
    {
        if (sound)
            for (const SoundBlock& block : heard)
                sound->add(block);
    }

    // Hands the file the sound heard up to the end of the last picture written.
    std::expected<void, QString> writeSound()
    {
        if (!sound || !sound->started() || lastSlot < 0)
            return {};
        const int64_t first = sound->samplesTaken();
        const QByteArray bytes = sound->take((lastSlot + 1) * settings.sound.sampleRate / settings.rate);
        if (bytes.isEmpty())
            return {};
        PacketPtr packet(av_packet_alloc());
        if (!packet || av_new_packet(packet.get(), int(bytes.size())) < 0)
            return std::unexpected(FfmpegErrorText(AVERROR(ENOMEM)));
        std::copy(bytes.begin(), bytes.end(), packet->data);
        packet->stream_index = soundStream->index;
        packet->pts = packet->dts = first;
        packet->duration = sound->samplesTaken() - first;
        packet->flags |= AV_PKT_FLAG_KEY;
        return writePacket(*packet);
    }

    std::expected<void, QString> writePacket(AVPacket& packet)
    {
        const int64_t wholeFrames = avio_tell(file->pb);
        const int e = av_write_frame(file.get(), &packet);
        av_packet_unref(&packet);
        const int failed = e < 0 ? e : file->pb->error;
        if (failed < 0) {
            cutAt = wholeFrames;
            return std::unexpected(FfmpegErrorText(failed));
        }
        return {};
    }

    std::expected<void, QString> write(AVPacket& picture, int64_t slot)
    {
        picture.stream_index = 0;
        picture.pts = picture.dts = av_rescale_q(slot, {1, settings.rate}, stream->time_base);
        picture.duration = av_rescale_q(1, {1, settings.rate}, stream->time_base);
        picture.flags |= AV_PKT_FLAG_KEY;
        // The AVI writer fills the slots between the last picture and this
        // one with empty chunks.
        return writePacket(picture);
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
        return e < 0 ? FfmpegErrorText(e) : QString();
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
        if (stopping_ || ended_ || queue_.size() - prerollQueued_ >= room)
            return;
        if (!liveStarted_) {
            liveStarted_ = true;
            liveArrivalUs_ = SoundSource::SteadyNowUs();
            if (prerollFirstTimeUs_ >= 0)
                prerollFrames_ = std::llround(double(frame.timeUs - prerollFirstTimeUs_) * writer_->settings.rate / 1e6);
        }
        queue_.push_back(std::move(frame));
    }
    wake_.notify_one();
}

void AviRecorder::submitPreroll(std::vector<CapturedFrame> frames)
{
    {
        std::lock_guard lock(mutex_);
        if (stopping_ || ended_ || liveStarted_ || !queue_.empty() || frames.empty())
            return;
        prerollFirstTimeUs_ = frames.front().timeUs;
        prerollQueued_ = frames.size();
        for (CapturedFrame& frame : frames)
            queue_.push_back(std::move(frame));
    }
    wake_.notify_one();
}

void AviRecorder::submitSound(SoundBlock block)
{
    if (!writer_->sound)
        return;
    {
        std::lock_guard lock(mutex_);
        if (stopping_ || ended_)
            return;
        soundQueue_.push_back(std::move(block));
        // Before the first frame only the last moments can be needed.
        if (!liveStarted_ && soundQueue_.size() > 64)
            soundQueue_.pop_front();
    }
    wake_.notify_one();
}

void AviRecorder::run()
{
    Writer& w = *writer_;
    const int64_t limitSlots = int64_t{w.settings.timeLimitSeconds} * w.settings.rate;
    for (;;) {
        CapturedFrame frame;
        bool live = false; // taken after the pre-roll
        std::deque<SoundBlock> heard;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || !queue_.empty() || (soundPlaced_ && !soundQueue_.empty()); });
            if (soundPlaced_)
                heard.swap(soundQueue_);
            if (queue_.empty() && heard.empty())
                break;
            if (!queue_.empty()) {
                frame = std::move(queue_.front());
                queue_.pop_front();
                if (prerollQueued_ > 0)
                    --prerollQueued_;
                else
                    live = true;
            }
        }
        if (ended_)
            continue;
        w.hear(heard);
        if (!frame.jpeg && !frame.picture) {
            if (auto written = writeSound(); !written)
                end(written.error());
            continue;
        }
        if (!w.started) {
            w.started = true;
            w.firstTimeUs = frame.timeUs;
            w.startMs = NowMs();
        }
        const int64_t slot = std::llround(double(frame.timeUs - w.firstTimeUs) * w.settings.rate / 1e6);
        if (live && w.liveFirstSlot < 0) {
            w.liveFirstSlot = slot;
            if (w.sound) {
                // The file's first frame began liveFirstSlot slots before
                // the first live picture came.
                std::lock_guard lock(mutex_);
                w.sound->setStart(liveArrivalUs_ - slot * 1000000 / w.settings.rate);
                soundPlaced_ = true;
            }
        }
        std::expected<void, QString> written;
        if (limitSlots > 0 && w.liveFirstSlot >= 0 && slot - w.liveFirstSlot >= limitSlots) {
            written = std::unexpected(QString()); // the time limit: ends without a failure
        } else if (slot <= w.lastSlot) {
            continue; // the camera sends more pictures than the rate asks for
        } else {
            if (frame.jpeg) {
                written = w.write(*frame.jpeg, slot);
            } else {
                auto packet = w.encoder->encode(*frame.picture);
                written = packet ? w.write(**packet, slot) : std::unexpected(packet.error());
            }
            if (written) {
                framesDropped_ += slot - w.lastSlot - 1;
                ++framesCaptured_;
                w.lastSlot = slot;
                written = writeSound();
            }
        }
        timeMs_ = NowMs() - w.startMs;
        if (!written)
            end(written.error());
    }
    // Sound that came with the last pictures, up to their end.
    std::deque<SoundBlock> heard;
    {
        std::lock_guard lock(mutex_);
        if (soundPlaced_)
            heard.swap(soundQueue_);
    }
    if (!ended_) {
        w.hear(heard);
        if (auto written = writeSound(); !written)
            end(written.error());
    }
}

std::expected<void, QString> AviRecorder::writeSound()
{
    auto written = writer_->writeSound();
    if (writer_->sound)
        samples_ = writer_->sound->samplesTaken();
    return written;
}

void AviRecorder::end(const QString& failure)
{
    std::function<void()> handler;
    {
        std::lock_guard lock(mutex_);
        failure_ = failure;
        ended_ = true;
        queue_.clear();
        soundQueue_.clear();
        prerollQueued_ = 0;
        handler = endedHandler_;
    }
    if (handler)
        handler();
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
    final_ = {framesCaptured_, framesDropped_, timeMs_, samples_};
    return final_;
}

AviRecorder::Statistics AviRecorder::statistics() const
{
    return {framesCaptured_, framesDropped_, timeMs_, samples_};
}

QString AviRecorder::failure() const
{
    std::lock_guard lock(mutex_);
    return failure_;
}
