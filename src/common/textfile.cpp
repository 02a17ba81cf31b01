#include "common/textfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// Temporary files carry their target's name and one of these marks, so that
// a later save of the same file recognises what a killed save left behind.
const QString newContentsMark = QStringLiteral(".saving-");
const QString oldContentsMark = QStringLiteral(".previous-");
constexpr int randomLetters = 6;
// A save takes milliseconds; a marked file this old belongs to no running one.
constexpr qint64 strayAfterSeconds = 600;

std::filesystem::path nativePath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(QDir::toNativeSeparators(path).toStdWString());
#else
    const QByteArray bytes = QFile::encodeName(path);
    return std::filesystem::path(std::string(bytes.constData(), std::size_t(bytes.size())));
#endif
}

QString randomName()
{
    static constexpr char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString name;
    for (int i = 0; i < randomLetters; ++i)
        name += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))]);
    return name;
}

// A symbolic link is followed, so the file it points at is replaced and the
// link stays a link.
QString finalTarget(const QString& path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < 32 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? path : info.filePath();
}

// What a save killed between writing and renaming left beside the target.
void removeStrayTemporaries(const QString& target)
{
    const QFileInfo info(target);
    const QString name = info.fileName();
    const QDateTime staleBefore = QDateTime::currentDateTimeUtc().addSecs(-strayAfterSeconds);
    for (const QString& mark : {newContentsMark, oldContentsMark}) {
        const QString pattern = name + mark + QString(randomLetters, QLatin1Char('?'));
        const QFileInfoList found
            = info.absoluteDir().entryInfoList({pattern}, QDir::Files | QDir::Hidden | QDir::System);
        for (const QFileInfo& stray : found) {
            if (stray.fileName().startsWith(name + mark)
                && stray.fileName().size() == name.size() + mark.size() + randomLetters
                && stray.lastModified().toUTC() < staleBefore)
                QFile::remove(stray.filePath());
        }
    }
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Writes the bytes whole to a file opened unbuffered, and makes sure they
// are on the disk. Unbuffered, each write reaches the file system at once and
// says how much it took, so nothing can fail later unseen (a buffered last
// write that failed on close is what used to replace a good set-up file with
// a short one on a full disk). Returns the reason of a failure.
std::expected<void, QString> writeWhole(QFile& file, const QByteArray& bytes)
{
    qint64 written = 0;
    while (written < bytes.size()) {
        // A short write is repeated, so the one that fails gives its reason
        // ("No space left on device", "File too large").
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0)
            return std::unexpected(file.error() != QFileDevice::NoError
                                       ? file.errorString()
                                       : QStringLiteral("only %1 of %2 bytes could be written")
                                             .arg(written)
                                             .arg(bytes.size()));
        written += n;
    }
#ifdef Q_OS_UNIX
    // Data left in the cache can still fail to reach the disk, and a power
    // cut would lose it: a renamed set-up file could come back empty.
    if (::fsync(file.handle()) != 0 && errno != EINVAL)
        return std::unexpected(systemReason(errno));
#endif
    return {};
}

// Writes the bytes whole to a new file beside target, named with mark, and
// makes sure they are on the disk. Returns the file's name; on failure no
// file is left and the error names path (the caller's name of the target).
std::expected<QString, FileError> writeBeside(const QString& path, const QString& target, const QString& mark,
                                              const QByteArray& bytes)
{
    const auto fail = [&path](QFile& file, const QString& reason) {
        file.close();
        file.remove();
        return std::unexpected(FileError{path, reason});
    };
    for (int attempt = 0; attempt < 16; ++attempt) {
        QFile file(target + mark + randomName());
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
            if (file.exists())
                continue; // the name is taken: draw another
            return std::unexpected(FileError{path, file.errorString()});
        }
        if (QFileInfo::exists(target))
            file.setPermissions(QFileInfo(target).permissions());
        if (auto written = writeWhole(file, bytes); !written)
            return fail(file, written.error());
        file.close();
        if (file.error() != QFileDevice::NoError)
            return fail(file, file.errorString());
        return file.fileName();
    }
    return std::unexpected(FileError{path, QStringLiteral("no free name for a temporary file beside it")});
}

std::error_code renameOver(const QString& from, const QString& to)
{
    std::error_code error;
    std::filesystem::rename(nativePath(from), nativePath(to), error);
    return error;
}

QString errorText(const std::error_code& error)
{
    return QString::fromLocal8Bit(error.message());
}

} // namespace

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
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return std::unexpected(FileError{path, file.errorString()});
    const qint64 sizeBefore = file.size();
    if (auto written = writeWhole(file, EncodeLines(lines)); !written) {
        // Half a line left behind would run into the next line appended: a
        // result line cut in two and joined to another.
        QString reason = written.error();
        if (!file.resize(sizeBefore))
            reason += QStringLiteral("; the part written could not be taken back");
        return std::unexpected(FileError{path, reason});
    }
    file.close();
    if (file.error() != QFileDevice::NoError)
        return std::unexpected(FileError{path, file.errorString()});
    return {};
}

struct FileReplacementSet::Pending {
    QString path;      // as the caller named it, for messages
    QString target;    // the file replaced: symbolic links followed
    QString temporary; // the new contents until they are renamed over target
    QString previous;  // the old contents while the set is being committed
    bool existed = false;
    bool replaced = false;
};

FileReplacementSet::FileReplacementSet() = default;

FileReplacementSet::~FileReplacementSet()
{
    for (const auto& p : m_pending) {
        if (!p->temporary.isEmpty() && !p->replaced)
            QFile::remove(p->temporary);
        if (!p->previous.isEmpty())
            QFile::remove(p->previous);
    }
}

std::expected<void, FileError> FileReplacementSet::add(const QString& path, const QByteArray& bytes)
{
    auto pending = std::make_unique<Pending>();
    pending->path = path;
    pending->target = finalTarget(path);
    const QFileInfo target(pending->target);
    if (!target.absoluteDir().exists())
        return std::unexpected(FileError{path, QStringLiteral("the folder does not exist")});
    if (target.isDir())
        return std::unexpected(FileError{path, QStringLiteral("it is a folder")});
    if (target.exists() && !target.isWritable())
        return std::unexpected(FileError{path, QStringLiteral("the file is read-only")});

    removeStrayTemporaries(pending->target);
    auto written = writeBeside(path, pending->target, newContentsMark, bytes);
    if (!written)
        return std::unexpected(written.error());
    pending->temporary = *written;
    m_pending.push_back(std::move(pending));
    return {};
}

std::expected<void, FileError> FileReplacementSet::commit()
{
    // Every file but the last may have to be put back when a later rename
    // fails, so its old contents are kept first, before anything is renamed.
    for (std::size_t i = 0; i + 1 < m_pending.size(); ++i) {
        Pending& p = *m_pending[i];
        p.existed = QFileInfo::exists(p.target);
        if (!p.existed)
            continue;
        const auto old = ReadWholeFile(p.target);
        if (!old)
            return std::unexpected(FileError{p.path, old.error().reason});
        auto kept = writeBeside(p.path, p.target, oldContentsMark, *old);
        if (!kept)
            return std::unexpected(kept.error());
        p.previous = *kept;
    }

    for (std::size_t i = 0; i < m_pending.size(); ++i) {
        Pending& failed = *m_pending[i];
        const std::error_code error = renameOver(failed.temporary, failed.target);
        if (!error) {
            failed.replaced = true;
            continue;
        }
        QString reason = errorText(error);
        for (std::size_t j = 0; j < i; ++j) {
            Pending& done = *m_pending[j];
            bool restored = false;
            QString why;
            if (done.existed) {
                const std::error_code undo = renameOver(done.previous, done.target);
                restored = !undo;
                if (!restored)
                    why = errorText(undo) + QStringLiteral("; its previous contents are in ") + done.previous;
                // Renamed back, or the only copy left of the old contents:
                // either way not removed with the set.
                done.previous.clear();
            } else {
                QFile file(done.target);
                restored = file.remove();
                why = file.errorString();
            }
            if (!restored)
                reason += QStringLiteral("; ") + done.path
                    + QStringLiteral(" was already replaced and could not be put back as it was (") + why
                    + QLatin1Char(')');
        }
        return std::unexpected(FileError{failed.path, reason});
    }
    return {};
}

std::expected<void, FileError> ReplaceFile(const QString& path, const QByteArray& bytes)
{
    FileReplacementSet set;
    if (auto added = set.add(path, bytes); !added)
        return added;
    return set.commit();
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
