#include "measure/exchangedirectory.h"

#include "common/datetext.h"
#include "common/paths.h"

#include <QDir>
#include <QFile>

namespace {

QString statusPrefix(ExchangeStatus status)
{
    switch (status) {
    case ExchangeStatus::Fall: return QStringLiteral("Fall, 0, 0,");
    case ExchangeStatus::Pass: return QStringLiteral("Pass, 0, 0,");
    case ExchangeStatus::OK: break;
    }
    return {};
}

bool isFieldBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

} // namespace

ExchangeStatus ExchangeStatusFromComment(const QString& comment)
{
    if (comment == QLatin1String("Fall"))
        return ExchangeStatus::Fall;
    if (comment == QLatin1String("Pass"))
        return ExchangeStatus::Pass;
    return ExchangeStatus::OK;
}

QString QxResultLine(const ExchangeResult& r)
{
    if (r.status != ExchangeStatus::OK)
        return statusPrefix(r.status) + r.jumpNumberText;
    return QStringLiteral("OK, ") + r.metresText + QStringLiteral(", ") + r.feetText + QStringLiteral(", ")
        + r.jumpNumberText;
}

QString QxRawLine(const ExchangeResult& r)
{
    // The raw file is comma-separated: a name with a comma would shift the
    // fields, so only the part before the first comma is handed over.
    const QString skier = r.skierName.section(QLatin1Char(','), 0, 0);
    return TimeText(r.time) + QStringLiteral(" ,") + skier + QLatin1Char(',') + QxResultLine(r);
}

std::optional<QString> FirstInputField(const QByteArray& bytes)
{
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n && (isFieldBlank(bytes.at(i)) || isLineEnd(bytes.at(i))))
        ++i;
    if (i == n)
        return std::nullopt;
    if (bytes.at(i) == '"') {
        const qsizetype close = bytes.indexOf('"', i + 1);
        const qsizetype end = close < 0 ? n : close;
        return QString::fromLatin1(bytes.mid(i + 1, end - i - 1));
    }
    qsizetype end = i;
    while (end < n && bytes.at(end) != ',' && !isLineEnd(bytes.at(end)))
        ++end;
    return QString::fromLatin1(bytes.mid(i, end - i));
}

ExchangeDirectory::ExchangeDirectory(QString directory) : m_directory(std::move(directory)) {}

QString ExchangeDirectory::defaultDirectory([[maybe_unused]] const QString& applicationDirectory)
{
#ifdef Q_OS_WIN
    // The drive of the program ("C:"), whatever folder it is installed in.
    return applicationDirectory.left(2) + QStringLiteral("\\qxio");
#else
    return QStringLiteral("/qxio");
#endif
}

QString ExchangeDirectory::filePath(const QString& name) const
{
    return JoinPath(m_directory, name);
}

std::expected<QString, QString> ExchangeDirectory::readSkierName() const
{
    const QString prefix = QStringLiteral("Error while reading SCORIX name file: ");
    const auto bytes = ReadWholeFile(filePath(QStringLiteral("qxskier.nam")));
    if (!bytes)
        return std::unexpected(prefix + bytes.error().reason);
    auto name = FirstInputField(*bytes);
    if (!name)
        return std::unexpected(prefix + QStringLiteral("the file holds no skier name"));
    return *name;
}

std::expected<void, FileError> ExchangeDirectory::writeResultFiles(const ExchangeResult& result) const
{
    // qxresult.dst always holds just the last jump; replacing it whole means
    // the scoring system never reads half a line.
    auto replaced = ReplaceLines(filePath(QStringLiteral("qxresult.dst")), {QxResultLine(result)});
    if (!replaced)
        return replaced;
    return AppendLines(filePath(QStringLiteral("qxraw.dst")), {QxRawLine(result)});
}

QString ExchangeDirectory::writeFailureMessage(const FileError& error)
{
    return QStringLiteral("Error while writing SCORIX result: ") + error.reason;
}

bool ExchangeDirectory::pollClipboardFlag(const std::function<void()>& takePicture) const
{
    const QString flagPath = filePath(QStringLiteral("clipflag.txt"));
    const auto bytes = ReadWholeFile(flagPath);
    if (!bytes)
        return false;
    const auto field = FirstInputField(*bytes);
    if (!field || *field != QLatin1String("Ready"))
        return false;
    takePicture();
    // Two blanks are anything but "Ready": the next tick leaves the screen
    // alone until the supplier raises the flag again.
    (void)ReplaceLines(flagPath, {QStringLiteral("  ")});
    return true;
}

void ExchangeDirectory::deleteConsumedPictures() const
{
    QDir dir(m_directory);
    if (m_directory.isEmpty() || !dir.exists())
        return;
    const QStringList pictures = dir.entryList({QStringLiteral("*.bmp")}, QDir::Files | QDir::Hidden);
    for (const QString& name : pictures)
        QFile::remove(dir.filePath(name));
}
