#include "common/textfile.h"

#include <QFile>
#include <QSaveFile>

QString FileError::describe(const QString& action) const
{
    return action + QLatin1Char(' ') + path + QStringLiteral(": ") + reason;
}

QByteArray EncodeLines(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes.append(line.toLatin1());
        bytes.append("\r\n");
    }
    return bytes;
}

QStringList DecodeLines(const QByteArray& bytes)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
            continue;
        lines.append(QString::fromLatin1(bytes.constData() + start, i - start));
        if (c == '\r' && i + 1 < n && bytes.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(QString::fromLatin1(bytes.constData() + start, n - start));
    return lines;
}

std::expected<void, FileError> AppendLines(const QString& path, const QStringList& lines)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return std::unexpected(FileError{path, file.errorString()});
    const QByteArray bytes = EncodeLines(lines);
    if (file.write(bytes) != bytes.size() || !file.flush())
        return std::unexpected(FileError{path, file.errorString()});
    file.close();
    if (file.error() != QFileDevice::NoError)
        return std::unexpected(FileError{path, file.errorString()});
    return {};
}

std::expected<void, FileError> ReplaceFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return std::unexpected(FileError{path, file.errorString()});
    return {};
}

std::expected<void, FileError> ReplaceLines(const QString& path, const QStringList& lines)
{
    return ReplaceFile(path, EncodeLines(lines));
}

std::expected<QByteArray, FileError> ReadWholeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::unexpected(FileError{path, file.errorString()});
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::unexpected(FileError{path, file.errorString()});
    return bytes;
}

std::expected<QStringList, FileError> ReadLines(const QString& path)
{
    auto bytes = ReadWholeFile(path);
    if (!bytes)
        return std::unexpected(bytes.error());
    return DecodeLines(*bytes);
}
