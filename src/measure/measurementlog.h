#pragma once

#include "common/textfile.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <expected>
#include <optional>

class Clock;
class OperatorDialogs;
struct ConfigState;

// Skier and jump as the capture screen put them into a video's name
// (skier + "jump" + number + ".avi").
struct RecordedVideoName {
    QString skier;
    QString jump;
};

// Reads skier and jump from a video path: the first ".avi", then "jump"
// searched from 7 characters before it (so the number has at most three
// characters), the skier from just after the last "\" or "/". Nothing when
// the path does not follow that pattern.
std::optional<RecordedVideoName> ParseRecordedVideoPath(const QString& path);

// Today's measurement log: videoDirectory + logFileName.
QString MeasurementLogPath(const ConfigState& config);

// The log line of an accepted contact frame (print zones): date; time;
// "Skier: " + skier; "Jump: " + jump; "Contact Frame: " + frame; "File: " +
// path. The path comes last so the log viewers find it.
QString ContactFrameLine(const QDateTime& moment, const RecordedVideoName& name, int64_t contactFrame,
                         const QString& videoPath);

// The warning when a video's name does not follow the recorded-file pattern.
QString NotStandardVideoWarning();

// Appends the contact-frame line of the video to today's log. A path that
// does not follow the pattern shows NotStandardVideoWarning (warning icon)
// and writes nothing; a log that cannot be written is reported to the
// operator. Returns whether the line was written: only then does the caller
// write the video's .info companion.
bool WriteContactFrameLine(const ConfigState& config, const QString& videoPath, int64_t contactFrame,
                           OperatorDialogs& dialogs, const Clock& clock);

// Results-file line after a picture save: date " " time " Saved picture: "
// path.
QString PictureSavedResultsLine(const QDateTime& moment, const QString& picturePath);

// Results-file line after a picture file was loaded on the measurement
// screen: date " " time " Loaded picture: " name.
QString LoadedPictureResultsLine(const QDateTime& moment, const QString& pictureName);

// Appends LoadedPictureResultsLine to the results file; returns the failure
// for the operator (see PictureLineFailureMessage).
std::expected<void, FileError> AppendLoadedPictureLine(const ConfigState& config, const QString& pictureName,
                                                       const Clock& clock);

// Log line after a picture save (print zones): date; time; "Skier: " + the
// capture screen's skier; "Jump: " + (the capture screen's jump number - 1);
// "Distance: " + the distance box; "File: " + the picture path.
QString PictureSavedLogLine(const QDateTime& moment, const QString& captureSkierName,
                            const QString& captureJumpText, const QString& distanceText,
                            const QString& picturePath);

// What the operator reads when a picture line could not be appended to the
// results file.
QString PictureLineFailureMessage(const FileError& error);
