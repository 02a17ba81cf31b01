#pragma once

#include "capture/capturedframe.h"
#include "capture/soundsource.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <expected>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Records one jump to an AVI file on a thread of its own, so the screen
// never waits for the disk: MJPEG, every frame a key frame, one slot every
// 1/rate seconds. Slot n holds the picture taken n/rate seconds after the
// first one; a slot no picture arrived for (the camera was late, the disk
// was slow) is written empty and counted as dropped, so frame numbers stay
// in step with time. Each frame is handed to the system as it is written:
// a recording cut short plays up to its last whole frame.
class AviRecorder {
public:
    struct Settings {
        QString path;
        int width = 0;
        int height = 0;
        int rate = 30;             // frames per second
        int timeLimitSeconds = 0;  // 0: until stopped
        int jpegQuality = 3;       // encoder quantiser, 2 (best) to 31
        AudioFormat sound{};       // sampleRate 0: pictures only
    };

    struct Statistics {
        int64_t framesCaptured = 0; // slots holding a picture
        int64_t framesDropped = 0;  // empty slots
        int64_t timeMs = 0;         // since the first picture
        int64_t samples = 0;        // sound samples written
    };

    // Opens the file and writes its header; fails with the reason when the
    // file cannot be created or the settings make no recording.
    static std::expected<std::unique_ptr<AviRecorder>, QString> start(const Settings& settings);

    // Stops (as stop() does) when still running.
    ~AviRecorder();

    AviRecorder(const AviRecorder&) = delete;
    AviRecorder& operator=(const AviRecorder&) = delete;

    // Hands a picture to the writer; never blocks. A picture the writer
    // cannot take in time is dropped, leaving its slot empty.
    void submit(CapturedFrame frame);

    // The pictures of the seconds before the recording proper, oldest first,
    // taken ahead of any submit(): the file starts with the oldest of them
    // in slot 0, each in the slot of its own time. They are all kept,
    // whatever the writer's backlog, and the time limit counts from the
    // first picture submitted after them.
    void submitPreroll(std::vector<CapturedFrame> frames);
    // The slots before the first picture submitted after the pre-roll: 0
    // without a pre-roll or until that picture has come.
    int64_t prerollFrames() const { return prerollFrames_; }

    // Sound of the recording's input; never blocks. Sound from before the
    // file's first frame is left out; the file holds no more sound than
    // pictures.
    void submitSound(SoundBlock block);

    // Writes what is queued, ends the file and returns its figures. Safe to
    // call more than once.
    Statistics stop();

    // Called on the writer's thread when the recording ends by itself: the
    // time limit was reached or the disk refused a write.
    void setEndedHandler(std::function<void()> handler);

    Statistics statistics() const;
    bool ended() const { return ended_; }
    // Why the recording ended early, empty when it did not fail.
    QString failure() const;

private:
    struct Writer;
    explicit AviRecorder(std::unique_ptr<Writer> writer);
    void run();
    // Ends the recording early: the time limit (empty failure) or a write
    // the disk refused.
    void end(const QString& failure);
    // The writer's sound up to its last picture, and the count of samples.
    std::expected<void, QString> writeSound();

    std::unique_ptr<Writer> writer_;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<CapturedFrame> queue_;
    size_t prerollQueued_ = 0;       // pre-roll pictures still in the queue
    int64_t prerollFirstTimeUs_ = -1; // the oldest pre-roll picture, until the first live one
    std::atomic<int64_t> prerollFrames_ = 0;
    bool liveStarted_ = false;
    int64_t liveArrivalUs_ = 0;         // when the first picture after the pre-roll came
    std::deque<SoundBlock> soundQueue_; // sound waiting for the writer
    bool soundPlaced_ = false;          // the writer knows where the file's first frame began
    bool stopping_ = false;
    std::atomic<bool> ended_ = false;
    std::function<void()> endedHandler_;
    QString failure_;
    std::atomic<int64_t> framesCaptured_ = 0;
    std::atomic<int64_t> framesDropped_ = 0;
    std::atomic<int64_t> timeMs_ = 0;
    std::atomic<int64_t> samples_ = 0;
    Statistics final_;
    bool stopped_ = false;
};
