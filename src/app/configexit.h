#pragma once

#include "common/textfile.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <expected>

// Rules of leaving the configuration screen that need no screen.

// The results-file line that reports a new configuration: "New
// Configuration: " + MM-DD-YYYY + two blanks + hh:mm:ss + one blank + the
// tournament name.
QString NewConfigurationLine(const QDateTime& now, const QString& tournamentName);

// The captures directory as the picture save joins it: trailing blanks
// removed and a separator (this platform's) added when it does not end in
// one. An empty directory stays empty rather than becoming the root of the
// drive.
QString CapturesDirectoryWithSeparator(const QString& directory);

// The skier names of a skier name file, read by list-input rules. Fails when
// the file cannot be read or holds no name.
std::expected<QStringList, FileError> ReadSkierNameFile(const QString& path);

// What the operator reads when the skier name file gave no names.
inline QString NamesNotLoadedMessage()
{
    return QStringLiteral("Names not loaded, check file name and path");
}
