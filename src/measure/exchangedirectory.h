#pragma once

#include "common/textfile.h"

#include <QByteArray>
#include <QString>
#include <QTime>

#include <expected>
#include <functional>
#include <optional>

// The status the scoring system receives with each recorded jump.
enum class ExchangeStatus { OK, Pass, Fall };

// Fall or Pass when the Comment text is exactly "Fall" or "Pass"; OK for
// anything else (a measured jump, an other-grid entry, a comment).
ExchangeStatus ExchangeStatusFromComment(const QString& comment);

// One recording as handed to the scoring system.
struct ExchangeResult {
    ExchangeStatus status = ExchangeStatus::OK;
    QString metresText;     // NumberText of the metres, or the other-grid entry as typed
    QString feetText;       // the feet box before "ft", or the typed feet plus one blank
    QString jumpNumberText; // Jump_no as it stands on the screen
    QString skierName;      // Skier_name as it stands on the screen
    QTime time;
};

// The one line of qxresult.dst: "OK, " + metres + ", " + feet + ", " + jump,
// or "Fall, 0, 0," / "Pass, 0, 0," immediately followed by the jump text.
QString QxResultLine(const ExchangeResult& result);

// The line appended to qxraw.dst: time + " ," + skier name up to its first
// comma + "," + the qxresult.dst line.
QString QxRawLine(const ExchangeResult& result);

// The first comma-separated field of a single-byte text, read the way the
// scoring system's files are read: leading blanks and empty lines skipped; a
// field starting with a double quote runs to the next double quote (quotes
// removed); otherwise it ends at the first comma or line end. Nothing when
// the text holds no field at all (empty or only blanks and line ends).
std::optional<QString> FirstInputField(const QByteArray& bytes);

// The directory through which the station and the scoring system (SCORIX)
// exchange small files. The station never creates it. Its location is
// given by the caller, so tests never touch the real /qxio.
class ExchangeDirectory {
public:
    explicit ExchangeDirectory(QString directory);

    // Where the scoring system expects the directory: "qxio" at the root of
    // the program's drive (drive + "\qxio" on Windows, "/qxio" on POSIX).
    static QString defaultDirectory(const QString& applicationDirectory);

    const QString& directory() const { return m_directory; }
    QString filePath(const QString& name) const;
    QString snapshotPath() const { return filePath(QStringLiteral("snapshot.bmp")); }

    // The skier name from qxskier.nam. On failure (missing directory or
    // file, no field in the file) returns the operator's message
    // "Error while reading SCORIX name file: " + the reason.
    std::expected<QString, QString> readSkierName() const;

    // Replaces qxresult.dst with the result line, then appends the raw line
    // to qxraw.dst. Stops at the first failure (the other file is then not
    // written) and returns it; see writeFailureMessage.
    std::expected<void, FileError> writeResultFiles(const ExchangeResult& result) const;

    // "Error while writing SCORIX result: " + the reason of the failure.
    static QString writeFailureMessage(const FileError& error);

    // One tick of the clipboard-flag poll: when the first field of
    // clipflag.txt is exactly "Ready", runs takePicture and then replaces
    // the flag with one line of two blanks. Returns whether a picture was
    // taken. Every failure (no directory, no flag, unreadable flag, flag not
    // rewritable) ends the tick silently.
    bool pollClipboardFlag(const std::function<void()>& takePicture) const;

    // Deletes every *.bmp in the directory (consumed snapshots). Failures,
    // including a missing directory, are ignored.
    void deleteConsumedPictures() const;

    // Shown when the snapshot directory or file is missing.
    static QString snapshotMissingWarning()
    {
        return QStringLiteral("Warning, snapshot file has not been saved in the \\qxio directory");
    }

private:
    QString m_directory;
};
