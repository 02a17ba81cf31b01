#include "grid/gridfile.h"

#include "common/numbertext.h"
#include "common/val.h"

#include <QBuffer>
#include <QFile>
#include <QIODevice>

#include <array>

namespace {

constexpr int checkBuoyNumberCount = 4;

QString lineText(int line)
{
    return QStringLiteral("line ") + QString::number(line);
}

GridFileError makeError(GridFileKind kind, const QString& path, int line, const QString& reason)
{
    return GridFileError{kind, path, line, reason};
}

GridFileError emptyFileError(GridFileKind kind, const QString& path)
{
    return makeError(kind, path, 0, QStringLiteral("it is empty"));
}

GridFileError shortFileError(GridFileKind kind, const QString& path, int lastLine, int numbersRead,
                             int numbersNeeded)
{
    return makeError(kind, path, lastLine,
                     QStringLiteral("it ends after line %1 with %2 of the %3 numbers it needs")
                         .arg(lastLine)
                         .arg(numbersRead)
                         .arg(numbersNeeded));
}

// Reads the device whole; an unreadable device is reported against line 0.
std::expected<QStringList, GridFileError> readAllLines(QIODevice& in, GridFileKind kind,
                                                       const QString& path)
{
    if (!in.isOpen() && !in.open(QIODevice::ReadOnly))
        return std::unexpected(makeError(kind, path, 0, in.errorString()));
    const QByteArray bytes = in.readAll();
    if (bytes.isEmpty())
        return std::unexpected(emptyFileError(kind, path));
    return DecodeLines(bytes);
}

// A corner line: x, y, X, Y separated by commas, nothing else between them.
QString cornerLine(const GridCorner& c)
{
    return FilePrintNumber(c.screenX) + QLatin1Char(',') + FilePrintNumber(c.screenY) + QLatin1Char(',')
        + FilePrintNumber(c.surveyX) + QLatin1Char(',') + FilePrintNumber(c.surveyY);
}

// Why a file made in memory does not read back, in the save's words.
QString unreadableReason(const GridFileError& error)
{
    const QString what = error.kind == GridFileKind::SetupFile ? QStringLiteral("the grid")
                                                               : QStringLiteral("the check buoy");
    return what + QStringLiteral(" holds a value that cannot be written as a number (") + error.reason
        + QStringLiteral("); solve the grid again");
}

// The survey text as typed when it reads back as a number, else the number
// the station took from it.
QString checkSurveyLine(const QString& typed)
{
    double ignored = 0.0;
    if (ParseNumberField(typed, ignored))
        return typed;
    return FilePrintNumber(Val(typed));
}

// The bytes of a set-up file, once they are known to read back whole.
std::expected<QByteArray, FileError> gridFileBytes(const QString& path, const GridFileContents& contents)
{
    QByteArray bytes = EncodeLines(GridFileLines(path, contents));
    QBuffer buffer(&bytes);
    if (const auto back = readGridFile(buffer, path); !back)
        return std::unexpected(FileError{path, unreadableReason(back.error())});
    return bytes;
}

std::expected<QByteArray, FileError> checkBuoyFileBytes(const QString& path, const CheckBuoyEntry& entry)
{
    QByteArray bytes
        = EncodeLines(CheckBuoyFileLines(entry.screenX, entry.screenY, entry.surveyXText, entry.surveyYText));
    QBuffer buffer(&bytes);
    if (const auto back = readCheckBuoyFile(buffer, path); !back)
        return std::unexpected(FileError{path, unreadableReason(back.error())});
    return bytes;
}

// A line break typed into a text would split its line in two.
QString oneLine(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

} // namespace

QString GridFileError::message() const
{
    const QString what = kind == GridFileKind::SetupFile ? QStringLiteral("The set-up file ")
                                                         : QStringLiteral("The check buoy file ");
    return what + path + QStringLiteral(" cannot be loaded: ") + reason
        + QStringLiteral(". Nothing was changed.");
}

QString CheckBuoyFilePath(const QString& setupFilePath)
{
    return setupFilePath + QStringLiteral(".cb");
}

QStringList GridFileLines(const QString& path, const GridFileContents& contents)
{
    QStringList lines;
    lines.append(QStringLiteral("Initialization Points for file: ") + oneLine(path));
    lines.append(oneLine(contents.description));
    for (const GridCorner& corner : contents.corners)
        lines.append(cornerLine(corner));
    for (double c : contents.coefficients)
        lines.append(FilePrintNumber(c));
    for (double v : {contents.jumpX, contents.jumpY, contents.reservedA, contents.reservedB,
                     contents.gridNumber})
        lines.append(FilePrintNumber(v));
    return lines;
}

QStringList CheckBuoyFileLines(double screenX, double screenY, const QString& surveyXText,
                               const QString& surveyYText)
{
    return {FilePrintNumber(screenX), FilePrintNumber(screenY), checkSurveyLine(surveyXText),
            checkSurveyLine(surveyYText)};
}

bool FilePrintReadsBack(double value)
{
    double back = 0.0;
    return ParseNumberField(FilePrintNumber(value), back);
}

std::expected<void, FileError> writeGridFile(const QString& path, const GridFileContents& contents)
{
    const auto bytes = gridFileBytes(path, contents);
    if (!bytes)
        return std::unexpected(bytes.error());
    return ReplaceFile(path, *bytes);
}

std::expected<void, FileError> writeCheckBuoyFile(const QString& path, double screenX, double screenY,
                                                  const QString& surveyXText,
                                                  const QString& surveyYText)
{
    const auto bytes = checkBuoyFileBytes(path, {screenX, screenY, surveyXText, surveyYText});
    if (!bytes)
        return std::unexpected(bytes.error());
    return ReplaceFile(path, *bytes);
}

std::expected<void, FileError> writeGridFiles(const QString& path, const GridFileContents& contents,
                                              const CheckBuoyEntry& checkBuoy)
{
    const QString checkBuoyPath = CheckBuoyFilePath(path);
    const auto setupBytes = gridFileBytes(path, contents);
    if (!setupBytes)
        return std::unexpected(setupBytes.error());
    const auto checkBuoyBytes = checkBuoyFileBytes(checkBuoyPath, checkBuoy);
    if (!checkBuoyBytes)
        return std::unexpected(checkBuoyBytes.error());

    // The set-up file goes first: should the program be killed between the
    // two renames, the new grid measures and its check buoy is the old one
    // (or missing, which a load refuses), rather than the old grid being
    // loaded as if it were the one just saved.
    FileReplacementSet files;
    if (auto added = files.add(path, *setupBytes); !added)
        return added;
    if (auto added = files.add(checkBuoyPath, *checkBuoyBytes); !added)
        return added;
    return files.commit();
}

std::expected<GridFileContents, GridFileError> readGridFile(QIODevice& in, const QString& path)
{
    constexpr GridFileKind kind = GridFileKind::SetupFile;
    const auto read = readAllLines(in, kind, path);
    if (!read)
        return std::unexpected(read.error());
    const QStringList& lines = *read;
    if (lines.size() < 2)
        return std::unexpected(shortFileError(kind, path, int(lines.size()), 0, gridFileNumberCount));

    // Line 2 whole: a description may hold commas.
    GridFileContents contents;
    contents.description = lines.at(1);

    std::array<double, gridFileNumberCount> numbers{};
    int count = 0;
    for (qsizetype i = 2; i < lines.size() && count < gridFileNumberCount; ++i) {
        const int lineNumber = int(i) + 1;
        const QStringList fieldsOfLine = lines.at(i).split(QLatin1Char(','));
        const auto fault = [&](const char* what) {
            return std::unexpected(
                makeError(kind, path, lineNumber, lineText(lineNumber) + QLatin1String(what)));
        };
        if (fieldsOfLine.size() == 1 && fieldsOfLine.front().trimmed().isEmpty())
            return fault(" is empty");
        for (const QString& field : fieldsOfLine) {
            if (count == gridFileNumberCount)
                break;
            if (field.trimmed().isEmpty())
                return fault(" has an empty field");
            double value = 0.0;
            if (!ParseNumberField(field, value))
                return fault(fieldsOfLine.size() == 1 ? " is not a number"
                                                      : " has a field that is not a number");
            numbers[std::size_t(count++)] = value;
        }
    }
    if (count < gridFileNumberCount)
        return std::unexpected(
            shortFileError(kind, path, int(lines.size()), count, gridFileNumberCount));

    std::size_t k = 0;
    for (GridCorner& corner : contents.corners) {
        corner.screenX = numbers[k++];
        corner.screenY = numbers[k++];
        corner.surveyX = numbers[k++];
        corner.surveyY = numbers[k++];
    }
    for (double& c : contents.coefficients)
        c = numbers[k++];
    contents.jumpX = numbers[k++];
    contents.jumpY = numbers[k++];
    contents.reservedA = numbers[k++];
    contents.reservedB = numbers[k++];
    contents.gridNumber = numbers[k++];
    return contents;
}

std::expected<GridFileContents, GridFileError> readGridFile(const QString& path)
{
    QFile file(path);
    return readGridFile(file, path);
}

std::expected<CheckBuoyFileContents, GridFileError> readCheckBuoyFile(QIODevice& in,
                                                                       const QString& path)
{
    constexpr GridFileKind kind = GridFileKind::CheckBuoyFile;
    const auto read = readAllLines(in, kind, path);
    if (!read)
        return std::unexpected(read.error());
    const QStringList& lines = *read;

    std::array<double, checkBuoyNumberCount> numbers{};
    for (int i = 0; i < checkBuoyNumberCount; ++i) {
        if (i >= lines.size())
            return std::unexpected(
                shortFileError(kind, path, int(lines.size()), i, checkBuoyNumberCount));
        const int lineNumber = i + 1;
        const auto fault = [&](const char* what) {
            return std::unexpected(
                makeError(kind, path, lineNumber, lineText(lineNumber) + QLatin1String(what)));
        };
        const QString& text = lines.at(i);
        if (text.trimmed().isEmpty())
            return fault(" is empty");
        if (!ParseNumberField(text, numbers[std::size_t(i)]))
            return fault(" is not a number");
    }
    return CheckBuoyFileContents{numbers[0], numbers[1], numbers[2], numbers[3]};
}

std::expected<CheckBuoyFileContents, GridFileError> readCheckBuoyFile(const QString& path)
{
    QFile file(path);
    return readCheckBuoyFile(file, path);
}
