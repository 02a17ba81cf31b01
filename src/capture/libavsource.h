#pragma once

#include "capture/framesource.h"

#include <QByteArray>

#include <atomic>
#include <thread>

// A camera read through FFmpeg's device layer: a Video4Linux2 device, or an
// FFmpeg test source ("lavfi") for trying the recorder without a camera.
// JPEG pictures are handed over as they came; any other format decoded.
class LibavSource final : public FrameSource {
public:
    // `deviceFormat` is FFmpeg's name of the device layer ("video4linux2",
    // "lavfi"); `url` names the device or the test source. A source that
    // does not run in real time by itself (lavfi) is paced to its timestamps.
    LibavSource(QByteArray deviceFormat, QByteArray url, QList<Format> formats, QStringList inputs);
    ~LibavSource() override;

    QList<Format> formats() const override { return formats_; }
    QStringList inputs() const override { return inputs_; }
    std::expected<void, QString> start(const Format& format, int rate, int input, Sink sink) override;
    void stop() override;
    bool running() const override { return thread_.joinable(); }

private:
    void run(struct AVFormatContext* input, Sink sink);

    QByteArray deviceFormat_;
    QByteArray url_;
    QList<Format> formats_;
    QStringList inputs_;
    std::thread thread_;
    std::atomic<bool> stopping_ = false;
};
