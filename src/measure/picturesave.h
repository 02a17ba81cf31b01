#pragma once

#include "common/textfile.h"

#include <QString>

#include <expected>

class Clock;
class OperatorDialogs;
class QImage;
struct ConfigState;

// A saved picture's name: Skier_name + "jump" + Jump_no without its
// surrounding blanks + pictureExtension ("TestSkierjump2.bmp").
QString PictureFileName(const QString& skierName, const QString& jumpNumberText,
                        const QString& pictureExtension);

// The picture's full path in the captures directory.
QString PicturePath(const ConfigState& config, const QString& skierName, const QString& jumpNumberText);

// The companion beside a picture: picture path + ".info".
QString PictureCompanionPath(const QString& picturePath);

// The companion's one line: picture path, ", ", the capture screen's skier
// name, ", ", its jump number text.
QString PictureCompanionLine(const QString& picturePath, const QString& captureSkierName,
                             const QString& captureJumpText);

// Writes the image whole as a Windows bitmap to the path (whatever the
// path's extension says), through a temporary file. Fails for an empty
// image, a missing directory or a failed write; nothing is left then.
std::expected<void, FileError> WriteBitmap(const QImage& image, const QString& path);

// What the measurement screen and the capture screen hold at the moment of
// a picture save.
struct PictureSaveRequest {
    QString Skier_name;       // measurement screen
    QString Jump_no;          // measurement screen
    QString distance;         // measurement screen's distance box
    QString captureSkierName; // capture screen's txtSkierName
    QString captureJumpText;  // capture screen's txtPass
};

struct PictureSaveOutcome {
    QString picturePath;
    bool pictureWritten = false;
    bool resultsLineWritten = false;
    bool companionWritten = false;
    bool logLineWritten = false;

    bool complete() const { return pictureWritten && resultsLineWritten && companionWritten && logLineWritten; }
};

// The Save Picture command: shows the picture path (OK box), writes the
// displayed image there as a bitmap, then the results-file line, the
// companion file beside the picture and the log line. Each failure is
// reported to the operator in its own message; when the picture itself
// cannot be written nothing else is written. The outcome says what was.
PictureSaveOutcome SavePicture(const QImage& image, const PictureSaveRequest& request, const ConfigState& config,
                               OperatorDialogs& dialogs, const Clock& clock);
