#pragma once

#include "common/operatordialogs.h"

#include <QString>

// A failure of the video services as the operator is to see it: the exact
// message text and the icon of its box. The core only returns these; the
// screens show them (ShowVideoError) and the headless tool prints them.
struct VideoError {
    QString text;
    OperatorDialogs::Icon icon = OperatorDialogs::Icon::Information;
};

// The fixed texts of the video services. A text that names a file is
// followed by CR LF and the path (WithPath).
namespace VideoMessages {
inline const QString errorWorkingWithFile = QStringLiteral("There was an error working with the file:");
inline const QString noDecompressor = QStringLiteral("No suitable decompressor found for this video stream!");
inline const QString fileDoesNotExist = QStringLiteral("File does not exist:");
inline const QString fileLocked = QStringLiteral("File is locked - cannot access:");
inline const QString notABitmap = QStringLiteral("File is not a supported bitmap format:");
inline const QString unableToOpen = QStringLiteral("Unable to open file:");
inline const QString unableToReadInfo = QStringLiteral("Unable to read AVI file info from:");
inline const QString cannotWriteBitmap = QStringLiteral("The picture could not be written to the file:");

inline QString WithPath(const QString& text, const QString& path)
{
    return text + QStringLiteral("\r\n") + path;
}

// A frame number the stream does not have (counted from 0).
inline QString FrameOutsideStream(long long frame, long long frameCount)
{
    if (frameCount <= 0)
        return QStringLiteral("Frame %1 is outside the video stream, which has no frames:").arg(frame);
    return QStringLiteral("Frame %1 is outside the video stream (frames 0 to %2):").arg(frame).arg(frameCount - 1);
}
// A frame the file holds but cannot give whole (counted from 0, as the
// player shows it).
inline QString FrameDamaged(long long frame)
{
    return QStringLiteral("Frame %1 of this recording is damaged").arg(frame);
}
} // namespace VideoMessages

// Shows the failure in a box with the application title.
inline void ShowVideoError(OperatorDialogs& dialogs, const VideoError& error)
{
    dialogs.message(error.text, QString(), error.icon, OperatorDialogs::Buttons::Ok);
}
