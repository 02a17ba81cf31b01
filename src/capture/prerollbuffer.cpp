#include "capture/prerollbuffer.h"

#include <algorithm>
#include <cmath>

namespace {

// Decoded pictures waiting for the encoder: beyond these the oldest goes,
// so a slow machine keeps fewer pictures rather than piling up big ones.
constexpr size_t waitingRoom = 2;

} // namespace

PrerollBuffer::PrerollBuffer() : thread_([this] { run(); }) {}

PrerollBuffer::~PrerollBuffer()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void PrerollBuffer::configure(int seconds, int width, int height, int rate)
{
    std::lock_guard lock(mutex_);
    ++generation_;
    const bool usable = width > 0 && height > 0 && rate > 0;
    seconds_ = usable ? std::max(0, seconds) : 0;
    settings_ = {width, height, rate, 3};
    waiting_.clear();
    kept_.clear();
    bytesKept_ = 0;
}

void PrerollBuffer::add(CapturedFrame frame)
{
    {
        std::lock_guard lock(mutex_);
        if (seconds_ == 0)
            return;
        if (frame.jpeg) {
            const int64_t timeUs = frame.timeUs;
            bytesKept_ += frame.jpeg->size;
            kept_.push_back(std::move(frame));
            trim(timeUs);
            return;
        }
        if (!frame.picture)
            return;
        waiting_.push_back(std::move(frame));
        if (waiting_.size() > waitingRoom)
            waiting_.pop_front();
    }
    wake_.notify_one();
}

void PrerollBuffer::trim(int64_t newestTimeUs)
{
    // The length and half a slot of timing leeway: at most length x rate + 1
    // pictures, of which take() cuts exactly by slots.
    const int64_t windowUs = int64_t{seconds_} * 1000000 + 500000 / settings_.rate;
    while (!kept_.empty() && newestTimeUs - kept_.front().timeUs > windowUs) {
        bytesKept_ -= kept_.front().jpeg->size;
        kept_.pop_front();
    }
}

void PrerollBuffer::run()
{
    std::unique_ptr<MjpegEncoder> encoder;
    MjpegEncoder::Settings encoderSettings;
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return stopping_ || !waiting_.empty(); });
        if (stopping_)
            return;
        CapturedFrame frame = std::move(waiting_.front());
        waiting_.pop_front();
        const int generation = generation_;
        const MjpegEncoder::Settings settings = settings_;
        encoding_ = true;
        lock.unlock();

        if (!encoder || settings.width != encoderSettings.width || settings.height != encoderSettings.height
            || settings.rate != encoderSettings.rate) {
            auto opened = MjpegEncoder::open(settings);
            encoder = opened ? std::move(*opened) : nullptr;
            encoderSettings = settings;
        }
        // A picture that cannot be encoded is simply not kept: the
        // recording shows the slot empty.
        std::expected<PacketPtr, QString> packet = std::unexpected(QString());
        if (encoder)
            packet = encoder->encode(*frame.picture);
        CapturedFrame kept;
        if (packet) {
            kept.timeUs = frame.timeUs;
            kept.jpeg = std::move(*packet);
            kept.width = settings.width;
            kept.height = settings.height;
        }
        frame = {}; // the decoded picture goes before the lock is taken again

        lock.lock();
        encoding_ = false;
        if (kept.jpeg && generation == generation_ && seconds_ > 0) {
            bytesKept_ += kept.jpeg->size;
            const int64_t timeUs = kept.timeUs;
            kept_.push_back(std::move(kept));
            trim(timeUs);
        }
        idle_.notify_all();
    }
}

std::vector<CapturedFrame> PrerollBuffer::take(int64_t liveTimeUs)
{
    std::unique_lock lock(mutex_);
    // A picture being encoded now belongs to the pre-roll: wait for it.
    idle_.wait(lock, [&] { return !encoding_; });
    std::vector<CapturedFrame> frames;
    const auto collect = [&](std::deque<CapturedFrame>& from) {
        for (CapturedFrame& frame : from) {
            const int64_t slotsBefore =
                std::llround(double(liveTimeUs - frame.timeUs) * settings_.rate / 1e6);
            if (slotsBefore >= 1 && slotsBefore <= int64_t{seconds_} * settings_.rate)
                frames.push_back(std::move(frame));
        }
        from.clear();
    };
    if (seconds_ > 0) {
        collect(kept_);
        collect(waiting_);
    }
    kept_.clear();
    waiting_.clear();
    bytesKept_ = 0;
    std::ranges::stable_sort(frames, {}, &CapturedFrame::timeUs);
    return frames;
}

int64_t PrerollBuffer::bytesKept() const
{
    std::lock_guard lock(mutex_);
    return bytesKept_;
}

int PrerollBuffer::picturesKept() const
{
    std::lock_guard lock(mutex_);
    return int(kept_.size());
}
