#include "cli/fieldsfile.h"

#include "common/textfile.h"

std::expected<GridSetupFields, QString> ReadFieldsFile(const QString& path)
{
    const auto lines = ReadLines(path);
    if (!lines)
        return std::unexpected(lines.error().describe(QStringLiteral("cannot read")));

    GridSetupFields fields;
    int lineNumber = 0;
    for (const QString& line : *lines) {
        ++lineNumber;
        if (line.trimmed().isEmpty() || line.trimmed().startsWith(QLatin1Char('#')))
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        const QString where = path + QStringLiteral(" line ") + QString::number(lineNumber);
        if (equals < 0)
            return std::unexpected(where + QStringLiteral(": expected name=value"));
        const QString name = line.left(equals).trimmed();
        QString* field = fields.field(name);
        if (!field)
            return std::unexpected(where + QStringLiteral(": unknown field '") + name + QLatin1Char('\''));
        *field = line.mid(equals + 1);
    }
    return fields;
}
