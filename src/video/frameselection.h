#pragma once

#include "common/textfile.h"

#include <QString>

#include <cstdint>
#include <expected>
#include <optional>

// The rules of choosing the contact frame of a recorded jump: where the run
// ends, which frames the replays show and for how long, the free-space
// display, and the video's .info companion. Plain values in, plain values
// out; the frame selection screen applies them to its controls and player.

// The player's display sizes as the screen sets them. Any size but full
// screen shows the player at its normal size on the screen.
namespace PlayerDisplaySize {
inline constexpr int normal = 0;
inline constexpr int fullScreen = 3;
inline constexpr int afterEndLoop = 4; // set when the before-end loop ends
} // namespace PlayerDisplaySize

// Whole frames as a frame count of the player: halves go to the even
// neighbour, as the station has always rounded positions.
int64_t RoundFrameHalfEven(double frames);

// Frames from the start of the run to its end: 20 seconds of video, or 15
// with barefoot timing, rounded half to even. At exactly 30 frames per
// second a normal run ends 599 frames after its start, not 600.
int64_t EndOffsetFrames(double frameRate, bool barefootTiming);

// The seconds boxes are held within their range: a value below `lowest`
// becomes lowest and one above `highest` becomes highest (a non-number reads
// as 0). Returns the text the box must show instead, or nothing when the
// box may stay as typed.
std::optional<QString> HeldSecondsText(const QString& text, int lowest, int highest);
inline constexpr int beforeStartSecondsLowest = 1;
inline constexpr int beforeStartSecondsHighest = 5;
inline constexpr int beforeEndSecondsLowest = 1;
inline constexpr int beforeEndSecondsHighest = 22;

// A stretch of frames to play and how long the replay timer waits for it.
struct ReplayWindow {
    int64_t selectionStart = 0;
    int64_t selectionEnd = 0;
    int timerIntervalMs = 0;
};

// The replay timer's interval for a replay of `seconds`: the replay plus
// 300 ms, whole milliseconds.
int ReplayIntervalMs(double seconds);

// The seconds before the start of the run, up to the start frame. A window
// that would reach below frame 1 starts at frame 0 and the timer waits only
// for the frames from 0; a start frame of 0 still plays one frame.
ReplayWindow BeforeStartWindow(int64_t startFrame, double seconds, double frameRate);

// The seconds before the end of the run, up to endFrame.
ReplayWindow BeforeEndWindow(int64_t endFrame, double seconds, double frameRate);

// The two seconds after the end of the run (the continuation of "Play to end,
// pause, continue"), with its fixed 2100 ms wait.
ReplayWindow AfterEndWindow(int64_t endFrame, double frameRate);

// The text shown when the run would end beyond the recorded file.
QString FileTooShortMessage(int64_t lengthFrames, int64_t endFrame, bool barefootTiming);
inline const QString fileTooShortTitle = QStringLiteral("Captured File too short Warning");

// Free space of the video drive. The drive is the first two characters of
// the video directory when they are a drive letter and colon, else "C:".
QString DiskDriveOf(const QString& videoDirectory);
struct DiskSpaceDisplay {
    QString driveCaption; // "Disk Space Available " + drive
    QString freeText;     // whole megabytes (10^6 bytes, truncated) + " MB"
    bool low = false;     // below 200 MB
};
DiskSpaceDisplay DiskSpaceDisplayFor(const QString& driveName, uint64_t freeBytes);

// The .info companion of a video: the video's full path + ".info", one line
// "<path>, <frame>" naming the accepted contact frame.
QString InfoCompanionPath(const QString& videoPath);
QString InfoCompanionLine(const QString& videoPath, int64_t contactFrame);
std::expected<void, FileError> WriteInfoCompanion(const QString& videoPath, int64_t contactFrame);
// The frame a companion names, as written; nothing when the video has no
// readable companion. The frame is the text after the last comma, so a
// comma within the path cannot take its place.
std::optional<QString> ReadInfoCompanionFrame(const QString& videoPath);
