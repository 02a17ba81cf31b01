#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// How the log viewers read the measurement log: a line is listed when it
// ends in "avi" (recorded videos) or "bmp" (saved pictures), and it names the
// file written after its "File: ".

inline constexpr QStringView videoLogEnding = u"avi";
inline constexpr QStringView pictureLogEnding = u"bmp";

// The filter of the log viewers' file dialogs.
QString MeasurementLogFilter();

// True when the line's last three characters are `ending`.
bool LogLineListed(const QString& line, QStringView ending);

// The text six characters after the first "File:", or empty when the line
// has no "File:".
QString PathNamedByLogLine(const QString& line);

// The listed lines of a log file, in order; nothing when the file is not
// present (or cannot be read).
std::optional<QStringList> ListedLogLines(const QString& logPath, QStringView ending);
