#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <expected>

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

// Opens the file for appending (creating it when missing), writes the lines,
// flushes and closes. Fails when the directory is missing or the file cannot
// be written; nothing is written then.
std::expected<void, FileError> AppendLines(const QString& path, const QStringList& lines);

// Replaces the file whole through a temporary file, so an interrupted write
// never leaves half a file behind.
std::expected<void, FileError> ReplaceFile(const QString& path, const QByteArray& bytes);
std::expected<void, FileError> ReplaceLines(const QString& path, const QStringList& lines);

// Reads the whole file, or reports why it cannot.
std::expected<QByteArray, FileError> ReadWholeFile(const QString& path);
std::expected<QStringList, FileError> ReadLines(const QString& path);
