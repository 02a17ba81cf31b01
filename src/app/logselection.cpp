#include "app/logselection.h"

#include "common/paths.h"
#include "common/textfile.h"

QString MeasurementLogFilter()
{
    return QStringLiteral("*.txt|JumpMeasurementLog*.txt");
}

bool LogLineListed(const QString& line, QStringView ending)
{
    return line.endsWith(ending);
}

QString PathNamedByLogLine(const QString& line)
{
    const qsizetype at = line.indexOf(QLatin1StringView("File:"));
    if (at < 0)
        return {};
    return line.mid(at + 6);
}

std::optional<QStringList> ListedLogLines(const QString& logPath, QStringView ending)
{
    if (!FileIsPresent(logPath))
        return std::nullopt;
    const auto lines = ReadLines(logPath);
    if (!lines)
        return std::nullopt;
    QStringList listed;
    for (const QString& line : *lines) {
        if (LogLineListed(line, ending))
            listed << line;
    }
    return listed;
}
