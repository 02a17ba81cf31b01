#pragma once

#include <QString>

#include <cstdint>
#include <functional>

// How a jump's recording is named: the skier's name, "jump", the jump
// number, ".avi", in the save-video directory. An existing recording is
// never overwritten.
struct CaptureName {
    QString skierName;
    QString jumpText;
    QString path;
    bool changed = false; // the name or number had to change to find a free file
};

using FileExists = std::function<bool(const QString& path)>;

// The recording's path; one trailing separator of the directory and the
// blanks around the jump number are dropped.
QString CaptureFilePath(const QString& videoDirectory, const QString& skierName, const QString& jumpText);

// Before a recording: while the file exists the skier's name gets an "X" in
// front, which starts the jump number again at "1".
CaptureName FreeCaptureName(const QString& videoDirectory, const QString& skierName, const QString& jumpText,
                            const FileExists& exists);

// When the capture screen is first shown: while the file exists the jump
// number goes up by one.
CaptureName NextFreeJump(const QString& videoDirectory, const QString& skierName, const QString& jumpText,
                         const FileExists& exists);

// The start frame hint when the operator never tapped "Contact": the middle
// of the recording, rate x seconds / 2 rounded half to even.
int64_t MiddleOfRecording(const QString& rateText, double seconds);
