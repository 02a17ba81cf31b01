#pragma once

#include "capture/framesource.h"

#include <atomic>
#include <thread>

// "Rampscope Virtual Camera": the synthetic lake, rendered in real time, so
// a station without a camera can capture and measure a jump. The jump
// starts over every time a recording starts, so the skier touches the water
// a known time after Start; between recordings it repeats. A recording's
// pre-roll holds the pictures from before the start over (the repeating
// jump wherever it was), so with one the new jump begins at the first frame
// after the pre-roll's frames.
class VirtualCameraSource final : public FrameSource {
public:
    static constexpr const char* deviceName = "Rampscope Virtual Camera";
    static constexpr double repeatSeconds = 10.0;

    VirtualCameraSource() = default;
    ~VirtualCameraSource() override;

    QList<Format> formats() const override;
    QStringList inputs() const override;
    std::expected<void, QString> start(const Format& format, int rate, int input, Sink sink) override;
    void stop() override;
    bool running() const override { return thread_.joinable(); }
    bool restartsScene() const override { return true; }
    void restartScene() override { restart_ = true; }

private:
    void run(QSize size, int rate, Sink sink);

    std::thread thread_;
    std::atomic<bool> stopping_ = false;
    std::atomic<bool> restart_ = false;
};
