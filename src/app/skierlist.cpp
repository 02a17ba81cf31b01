#include "app/skierlist.h"

#include "common/rtftext.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace {

QString decodePlainText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        return QString::fromLatin1(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1); // a byte-order mark is not part of the first name
    return text;
}

QStringList splitLines(const QString& text)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineEnd);
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast(); // a final line end starts no further line
    return lines;
}

} // namespace

QString FoldCommas(QString line)
{
    line.replace(QLatin1Char(','), QLatin1Char(' '));
    return line;
}

std::expected<QString, QString> SkierListText(const QByteArray& bytes)
{
    if (LooksLikeRtf(bytes))
        return RtfToText(bytes);
    return decodePlainText(bytes);
}

std::expected<QString, FileError> ImportSkierList(const QString& chosenPath, const QString& listPath)
{
    const auto bytes = ReadWholeFile(chosenPath);
    if (!bytes)
        return std::unexpected(bytes.error());
    const auto text = SkierListText(*bytes);
    if (!text)
        return std::unexpected(FileError{chosenPath, text.error()});
    const QStringList lines = splitLines(*text);
    if (auto written = ReplaceLines(listPath, lines); !written)
        return std::unexpected(written.error());
    return lines.isEmpty() ? QString() : FoldCommas(lines.front());
}

std::expected<QStringList, FileError> ReadSkierList(const QString& listPath)
{
    const auto bytes = ReadWholeFile(listPath);
    if (!bytes)
        return std::unexpected(bytes.error());
    QStringList entries;
    for (const QString& line : splitLines(decodePlainText(*bytes))) {
        if (!line.isEmpty())
            entries.append(FoldCommas(line));
    }
    return entries;
}

QStringList ListInputFields(const QString& text)
{
    QStringList fields;
    QString field;
    bool quoted = false;    // inside "..."
    bool wasQuoted = false; // the field was a quoted one: its blanks are its own
    const auto endField = [&] {
        const QString value = wasQuoted ? field : field.trimmed();
        if (!value.isEmpty())
            fields.append(value);
        field.clear();
        wasQuoted = false;
    };
    for (const QChar c : text) {
        if (quoted) {
            if (c == QLatin1Char('"'))
                quoted = false;
            else
                field.append(c);
            continue;
        }
        if (c == QLatin1Char(',') || c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            endField();
        } else if (c == QLatin1Char('"') && field.trimmed().isEmpty()) {
            quoted = true;
            wasQuoted = true;
            field.clear();
        } else if (!wasQuoted) {
            field.append(c);
        }
    }
    endField();
    return fields;
}
