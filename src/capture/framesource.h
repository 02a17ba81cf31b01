#pragma once

#include "capture/capturedframe.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <expected>
#include <functional>

// One camera: what it can deliver and, while it runs, its pictures, handed
// to a sink on the camera's own thread.
class FrameSource {
public:
    struct Format {
        QSize size;
        QString pixelFormat; // as the camera names it, e.g. "MJPG" or "YUYV"
        QList<int> rates;    // frames per second it offers at this size
    };
    using Sink = std::function<void(CapturedFrame)>;

    virtual ~FrameSource() = default;

    virtual QList<Format> formats() const = 0;
    virtual QStringList inputs() const = 0;

    // Starts delivering pictures of the chosen size and pixel format at about
    // `rate` per second. Fails with the reason when the camera refuses.
    virtual std::expected<void, QString> start(const Format& format, int rate, int input, Sink sink) = 0;
    // Returns once no picture will reach the sink any more.
    virtual void stop() = 0;
    virtual bool running() const = 0;

    // A camera whose scene starts over when a recording starts (the virtual
    // camera) marks the first picture of the new scene; others never do.
    virtual bool restartsScene() const { return false; }
    virtual void restartScene() {}
};
