#include "video/frameselection.h"

#include "common/numbertext.h"
#include "common/val.h"

#include <QLatin1Char>

#include <cmath>
#include <limits>

int64_t RoundFrameHalfEven(double frames)
{
    if (std::isnan(frames))
        return 0;
    // Beyond what a frame counter holds there is no frame to play anyway.
    constexpr double largest = 9.0e18;
    if (frames >= largest)
        return static_cast<int64_t>(largest);
    if (frames <= -largest)
        return -static_cast<int64_t>(largest);
    return static_cast<int64_t>(std::nearbyint(frames));
}

int64_t EndOffsetFrames(double frameRate, bool barefootTiming)
{
    if (barefootTiming)
        return RoundFrameHalfEven(frameRate * 15.0);
    if (frameRate == 30.0)
        return 599;
    return RoundFrameHalfEven(frameRate * 20.0);
}

std::optional<QString> HeldSecondsText(const QString& text, int lowest, int highest)
{
    const double value = Val(text);
    if (value < lowest)
        return QString::number(lowest);
    if (value > highest)
        return QString::number(highest);
    return std::nullopt;
}

namespace {

int wholeMilliseconds(double milliseconds)
{
    if (!(milliseconds > 0))
        return 0;
    if (milliseconds >= std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(milliseconds);
}

int64_t notBelowFirstFrame(int64_t frame)
{
    return frame < 0 ? 0 : frame;
}

} // namespace

int ReplayIntervalMs(double seconds)
{
    return wholeMilliseconds(std::floor(seconds * 1000.0 + 300.0));
}

ReplayWindow BeforeStartWindow(int64_t startFrame, double seconds, double frameRate)
{
    ReplayWindow window;
    window.timerIntervalMs = ReplayIntervalMs(seconds);
    const double from = static_cast<double>(startFrame) - seconds * frameRate;
    if (from <= 1.0) {
        window.selectionStart = 0;
        // Only the frames from 0 are played, so the wait is shorter; without
        // a rate there is no time to compute and the full wait stands.
        if (frameRate > 0.0)
            window.timerIntervalMs = wholeMilliseconds(
                std::nearbyint(static_cast<double>(startFrame) / frameRate * 1000.0 + 300.0));
    } else {
        window.selectionStart = RoundFrameHalfEven(from);
    }
    window.selectionEnd = startFrame == 0 ? 1 : startFrame;
    return window;
}

ReplayWindow BeforeEndWindow(int64_t endFrame, double seconds, double frameRate)
{
    return {notBelowFirstFrame(RoundFrameHalfEven(static_cast<double>(endFrame) - seconds * frameRate)), endFrame,
            ReplayIntervalMs(seconds)};
}

ReplayWindow AfterEndWindow(int64_t endFrame, double frameRate)
{
    return {endFrame, RoundFrameHalfEven(static_cast<double>(endFrame) + 2.0 * frameRate), 2100};
}

QString FileTooShortMessage(int64_t lengthFrames, int64_t endFrame, bool barefootTiming)
{
    return QStringLiteral("I am sorry, but the file is only ") + QString::number(lengthFrames)
        + QStringLiteral(" frames long and the ")
        + QStringLiteral("start position you have selected means that the end should be at frame ")
        + QString::number(endFrame) + QStringLiteral(" which is not possible with this file.")
        + QStringLiteral(" You may have to recapture from the video recorder if you did not capture a ")
        + (barefootTiming ? QStringLiteral("full 15 seconds from the start of the run.")
                          : QStringLiteral("full 20 seconds from the start of the run."));
}

QString DiskDriveOf(const QString& videoDirectory)
{
    if (videoDirectory.size() >= 2 && videoDirectory.at(1) == QLatin1Char(':'))
        return videoDirectory.left(2);
    return QStringLiteral("C:");
}

DiskSpaceDisplay DiskSpaceDisplayFor(const QString& driveName, uint64_t freeBytes)
{
    const uint64_t megabytes = freeBytes / 1000000u;
    return {QStringLiteral("Disk Space Available ") + driveName, QString::number(megabytes) + QStringLiteral(" MB"),
            megabytes < 200u};
}

QString InfoCompanionPath(const QString& videoPath)
{
    return videoPath + QStringLiteral(".info");
}

QString InfoCompanionLine(const QString& videoPath, int64_t contactFrame)
{
    return videoPath + QLatin1Char(',') + NumberText(static_cast<double>(contactFrame));
}

std::expected<void, FileError> WriteInfoCompanion(const QString& videoPath, int64_t contactFrame)
{
    return ReplaceLines(InfoCompanionPath(videoPath), {InfoCompanionLine(videoPath, contactFrame)});
}

std::optional<QString> ReadInfoCompanionFrame(const QString& videoPath)
{
    const auto lines = ReadLines(InfoCompanionPath(videoPath));
    if (!lines || lines->isEmpty())
        return std::nullopt;
    const QString& line = lines->first();
    const qsizetype comma = line.lastIndexOf(QLatin1Char(','));
    if (comma < 0)
        return std::nullopt;
    const QString frame = line.mid(comma + 1).trimmed();
    if (frame.isEmpty())
        return std::nullopt;
    return frame;
}
