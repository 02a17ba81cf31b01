#pragma once

#include "common/textfile.h"

#include <QString>

#include <expected>
#include <functional>
#include <optional>

class OperatorDialogs;

// A fresh recording whose name was prefixed with "X" (so an existing file
// was not overwritten) can be given the skier's real name: the operator
// types the name until it is not empty and names no other existing file.

inline const QString fixSkierNameTitle = QStringLiteral("Fix the skier's name");
QString FixSkierNamePrompt();
QString MustInputNamePrompt();
QString ExistingFileNamePrompt();

struct FixedSkierName {
    QString name;
    QString videoPath; // videoDirectory + separator + name + "jump" + number + ".avi"
};

// Asks for the name (starting from `currentName`) and builds the new path:
// jump 1 first, then, while that names another existing file, the capture
// screen's pass number. A path equal to the recording's own path is
// accepted as it is. A cancelled box counts as an empty answer.
FixedSkierName AskFixedSkierName(OperatorDialogs& dialogs, const QString& videoDirectory,
                                 const QString& recordedPath, const QString& currentName,
                                 const QString& passNumber,
                                 const std::function<bool(const QString&)>& fileExists);

// Renames the recording; nothing to do when the path is unchanged.
std::expected<void, FileError> RenameRecording(const QString& recordedPath, const QString& newPath);
