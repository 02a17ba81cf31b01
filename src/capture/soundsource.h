#pragma once

#include "capture/capturedevice.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdint>
#include <expected>
#include <functional>
#include <memory>
#include <thread>

// Sound as an input delivered it: 16-bit signed samples, channels
// interleaved, at the rate and channel count the recording asked for.
struct SoundBlock {
    // When the block's last sample arrived, in microseconds on the steady
    // clock (the clock the recorder notes its first picture's arrival on).
    int64_t arrivalUs = 0;
    QByteArray samples;
};

// A sound input read through FFmpeg's device layer on a thread of its own:
// an ALSA device, or an FFmpeg test source ("lavfi") paced to real time.
class SoundSource {
public:
    using Sink = std::function<void(SoundBlock)>;

    // Starts delivering; fails with the reason when the input cannot be
    // opened or does not give 16-bit sound at the asked rate and channels.
    static std::expected<std::unique_ptr<SoundSource>, QString> start(const QByteArray& deviceFormat,
                                                                     const QByteArray& url,
                                                                     const AudioFormat& format, Sink sink);
    // Returns once no block will reach the sink any more.
    ~SoundSource();
    SoundSource(const SoundSource&) = delete;
    SoundSource& operator=(const SoundSource&) = delete;

    // Microseconds on the steady clock, as SoundBlock::arrivalUs counts them.
    static int64_t SteadyNowUs();

private:
    SoundSource() = default;
    void run(struct AVFormatContext* input, Sink sink, bool paced);

    std::thread thread_;
    std::atomic<bool> stopping_ = false;
};
