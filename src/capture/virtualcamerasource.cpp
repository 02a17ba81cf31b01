#include "capture/virtualcamerasource.h"

#include "capture/lake/virtuallake.h"

#include <QImage>

#include <chrono>
#include <cmath>
#include <cstring>

namespace {
constexpr const char* pixelFormatName = "RGB32";
}

VirtualCameraSource::~VirtualCameraSource()
{
    stop();
}

QList<FrameSource::Format> VirtualCameraSource::formats() const
{
    QList<Format> formats;
    for (const QSize size : {QSize(640, 480), QSize(1280, 720), QSize(1920, 1080)})
        formats.append({size, QString::fromLatin1(pixelFormatName), {25, 30, 50, 60}});
    return formats;
}

QStringList VirtualCameraSource::inputs() const
{
    return {QStringLiteral("Shore camera")};
}

std::expected<void, QString> VirtualCameraSource::start(const Format& format, int rate, int, Sink sink)
{
    stop();
    if (!format.size.isValid() || rate <= 0)
        return std::unexpected(QStringLiteral("the virtual camera needs a picture size and a frame rate"));
    stopping_ = false;
    thread_ = std::thread([this, size = format.size, rate, sink = std::move(sink)] { run(size, rate, sink); });
    return {};
}

void VirtualCameraSource::run(QSize size, int rate, Sink sink)
{
    using Clock = std::chrono::steady_clock;
    const VirtualLake lake(size);
    const auto period = std::chrono::duration<double>(1.0 / rate);
    auto sceneStart = Clock::now();
    int64_t tick = 0;
    auto begin = sceneStart;
    while (!stopping_) {
        auto due = begin + std::chrono::duration_cast<Clock::duration>(period * tick);
        std::this_thread::sleep_until(due);
        // A camera that falls behind skips the pictures it missed, as a real
        // one does; the recorder counts their slots as dropped.
        const auto now = Clock::now();
        if (now - due > period) {
            tick = int64_t(std::chrono::duration<double>(now - begin) / period);
            due = begin + std::chrono::duration_cast<Clock::duration>(period * tick);
        }
        CapturedFrame frame;
        if (restart_.exchange(false)) {
            sceneStart = due;
            frame.sceneStart = true;
        }
        frame.timeUs = std::chrono::duration_cast<std::chrono::microseconds>(due.time_since_epoch()).count();
        frame.picture.reset(av_frame_alloc());
        if (!frame.picture)
            break;
        frame.picture->format = AV_PIX_FMT_BGRA; // QImage::Format_RGB32 in memory
        frame.picture->width = size.width();
        frame.picture->height = size.height();
        if (av_frame_get_buffer(frame.picture.get(), 0) < 0)
            break;
        QImage picture(frame.picture->data[0], size.width(), size.height(), frame.picture->linesize[0],
                       QImage::Format_RGB32);
        const uchar* const buffer = picture.constBits();
        const double seconds = std::fmod(std::chrono::duration<double>(due - sceneStart).count(), repeatSeconds);
        lake.render(seconds, picture);
        if (picture.constBits() != buffer) // the renderer gave the picture a buffer of its own
            for (int y = 0; y < size.height(); ++y)
                std::memcpy(frame.picture->data[0] + y * frame.picture->linesize[0], picture.constScanLine(y),
                            size_t(size.width()) * 4);
        sink(std::move(frame));
        ++tick;
    }
}

void VirtualCameraSource::stop()
{
    stopping_ = true;
    if (thread_.joinable())
        thread_.join();
}
