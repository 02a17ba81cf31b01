#pragma once

#include "video/decodesession.h"
#include "video/pictureconverter.h"
#include "video/videoerror.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <expected>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

// Frame-exact random access to the first video stream of an AVI file, for
// the frame player and for frame extraction. Frame n is the nth picture a
// sequential decode shows (0-based). Decoded pictures around the position are
// kept, so that stepping one frame either way does not decode a group of
// pictures again; when the operator steps backwards, the frames further back
// are decoded ahead of time on a worker thread.
//
// frame() is called from one thread (the screen's); the worker only fills
// the store of kept pictures.
class FrameDecoder {
public:
    struct Options {
        int keepBehind = 90;          // frames kept before the position (3 s at 30 fps)
        int keepAhead = 30;           // frames kept after it
        bool fillInBackground = true; // decode earlier frames ahead of backward steps
        DecodeSession::Pace pace = DecodeSession::Pace::Everything;
    };

    // Settings for taking out one frame and closing again.
    static Options singleFrame();

    // Opens the file; fails with the messages of DecodeSession::open.
    static std::expected<std::unique_ptr<FrameDecoder>, VideoError> open(const QString& path);
    static std::expected<std::unique_ptr<FrameDecoder>, VideoError> open(const QString& path, Options options);

    ~FrameDecoder();
    FrameDecoder(const FrameDecoder&) = delete;
    FrameDecoder& operator=(const FrameDecoder&) = delete;

    int64_t frameCount() const { return m_session->index().frameCount(); }
    QSize frameSize() const { return m_session->frameSize(); }
    AVRational frameRate() const { return m_session->frameRate(); }
    const FrameIndex& index() const { return m_session->index(); }

    // Frame n as 24-bit pixels in blue, green, red order (QImage::Format_BGR888,
    // rows padded to 4 bytes like a bitmap's). Fails with FrameOutsideStream
    // when the stream has no frame n, and with "There was an error working
    // with the file:" when the frame cannot be decoded.
    std::expected<QImage, VideoError> frame(int64_t n);

    // Frame n as the decoder gives it (a new reference to the kept picture),
    // for callers that convert it themselves; fails as frame() does.
    std::expected<FramePtr, VideoError> picture(int64_t n);

    // True when frame n is decoded and kept.
    bool isKept(int64_t n) const;
    // Waits until the worker has nothing to do (tests and measurements).
    void waitUntilIdle();

private:
    struct Range {
        int64_t first = 0;
        int64_t last = -1;
        bool contains(int64_t n) const { return n >= first && n <= last; }
    };

    FrameDecoder(std::unique_ptr<DecodeSession> session, Options options);

    Range windowAround(int64_t n) const;
    void keep(int64_t n, const AVFrame& picture, const Range& window);
    void evictOutside(const Range& window);
    void scheduleFillBelow(int64_t n);
    void workerLoop();

    std::unique_ptr<DecodeSession> m_session; // the caller's thread only
    Options m_options;
    PictureConverter m_converter;
    int64_t m_previous = -1;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<int64_t, FramePtr> m_kept;
    int64_t m_position = -1;
    std::optional<Range> m_pendingFill;
    std::optional<Range> m_runningFill;
    std::optional<Range> m_fillGroup; // the frames the worker is decoding now
    bool m_stopping = false;
    std::atomic<bool> m_cancelFill{false};
    std::thread m_worker;
};
