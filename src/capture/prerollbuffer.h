#pragma once

#include "capture/capturedframe.h"
#include "capture/mjpegencoder.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// The last seconds of a running camera's pictures, kept so a recording
// started a moment late still holds the take-off. Pictures are kept as JPEG,
// the way the recording stores them: a camera's own JPEG pictures as they
// came, others encoded with the recording's settings on a thread of the
// buffer's own, so the camera is never held up. A picture the encoder
// cannot take in time is not kept; its slot of the recording stays empty.
// Memory stays bounded by the length: older pictures are let go.
class PrerollBuffer {
public:
    PrerollBuffer();
    ~PrerollBuffer();
    PrerollBuffer(const PrerollBuffer&) = delete;
    PrerollBuffer& operator=(const PrerollBuffer&) = delete;

    // Keeps `seconds` of the camera's pictures from now on, encoded at the
    // given size and rate (the recording's); 0 keeps nothing. Forgets what
    // was kept.
    void configure(int seconds, int width, int height, int rate);

    // A picture of the camera; never waits for the encoder.
    void add(CapturedFrame frame);

    // The pictures of the `seconds` before `liveTimeUs` (the recording's
    // first picture), oldest first, each at least half a slot before it;
    // the buffer is empty afterwards. A picture still waiting for the
    // encoder comes as it is: the recorder encodes it.
    std::vector<CapturedFrame> take(int64_t liveTimeUs);

    // What the kept pictures take: JPEG bytes and the number of pictures.
    int64_t bytesKept() const;
    int picturesKept() const;

private:
    void run();
    void trim(int64_t newestTimeUs); // with the mutex held

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::thread thread_;
    bool stopping_ = false;
    bool encoding_ = false;
    int generation_ = 0; // changes with configure(), so a picture encoded before is not kept
    int seconds_ = 0;
    MjpegEncoder::Settings settings_;
    std::deque<CapturedFrame> waiting_; // decoded pictures for the encoder
    std::deque<CapturedFrame> kept_;    // JPEG pictures, oldest first
    int64_t bytesKept_ = 0;
};
