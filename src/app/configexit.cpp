#include "app/configexit.h"

#include "app/skierlist.h"
#include "common/datetext.h"
#include "common/paths.h"

#include <QDir>

QString NewConfigurationLine(const QDateTime& now, const QString& tournamentName)
{
    return QStringLiteral("New Configuration: ") + DateText(now.date()) + QStringLiteral("  ")
        + TimeText(now.time()) + QLatin1Char(' ') + tournamentName;
}

QString CapturesDirectoryWithSeparator(const QString& directory)
{
    qsizetype end = directory.size();
    while (end > 0 && directory.at(end - 1).isSpace())
        --end;
    const QString trimmed = directory.left(end);
    if (trimmed.isEmpty() || IsPathSeparator(trimmed.back()))
        return trimmed;
    return trimmed + QDir::separator();
}

std::expected<QStringList, FileError> ReadSkierNameFile(const QString& path)
{
    const auto bytes = ReadWholeFile(path);
    if (!bytes)
        return std::unexpected(bytes.error());
    const auto text = SkierListText(*bytes);
    if (!text)
        return std::unexpected(FileError{path, text.error()});
    const QStringList names = ListInputFields(*text);
    if (names.isEmpty())
        return std::unexpected(FileError{path, QStringLiteral("no names in the file")});
    return names;
}
