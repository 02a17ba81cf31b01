#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <expected>
#include <memory>
#include <vector>

class QIODevice;

// Why a file could not be read or written, in words the operator can act on.
struct FileError {
    QString path;
    QString reason;

    // "Cannot write <path>: <reason>" style text for a message box.
    QString describe(const QString& action) const;
};

// The station's text files are single-byte (Latin-1) with CR LF line ends.
// Characters outside Latin-1 are written as '?'.
QByteArray EncodeLines(const QStringList& lines);

// Splits single-byte text into lines at CR LF, LF or CR. A final line end
// does not start another (empty) line.
QStringList DecodeLines(const QByteArray& bytes);

// Opens the file for appending (creating it when missing), writes the lines
// through to the disk and closes. Fails when the directory is missing or the
// file cannot be written; nothing is written then (lines cut short by a full
// disk are taken back, so the file still ends with a whole line).
std::expected<void, FileError> AppendLines(const QString& path, const QStringList& lines);

// Replaces the file whole through a temporary file beside it, so an
// interrupted write never leaves half a file behind. Every byte is checked on
// its way to the disk: a full disk or a file-size limit fails the call and
// leaves the old file as it was (and no temporary file behind).
std::expected<void, FileError> ReplaceFile(const QString& path, const QByteArray& bytes);
std::expected<void, FileError> ReplaceLines(const QString& path, const QStringList& lines);

// Files that belong together (a set-up file and its check-buoy file) replaced
// as one unit: add() checks the target and writes the new contents whole to
// a temporary file beside it; commit() then renames every temporary file over
// its target, back to back, in the order added. When a rename fails, the
// files already replaced get their previous contents back. Whatever was not
// committed is removed when the set is destroyed.
//
// What no program can close: a kill or a power cut between two renames
// leaves the first files new and the rest old.
class FileReplacementSet {
public:
    FileReplacementSet();
    ~FileReplacementSet();
    FileReplacementSet(const FileReplacementSet&) = delete;
    FileReplacementSet& operator=(const FileReplacementSet&) = delete;

    // Fails, writing nothing that stays, when the target is a folder, a
    // read-only file, in a missing folder, or the temporary file cannot be
    // written whole.
    std::expected<void, FileError> add(const QString& path, const QByteArray& bytes);

    // On failure the error names the file that could not be replaced; the
    // files are then as they were before, unless putting one back failed
    // too, which the reason says.
    std::expected<void, FileError> commit();

private:
    struct Pending;
    std::vector<std::unique_ptr<Pending>> m_pending;
};

// Reads the whole file, or reports why it cannot.
std::expected<QByteArray, FileError> ReadWholeFile(const QString& path);
std::expected<QStringList, FileError> ReadLines(const QString& path);
