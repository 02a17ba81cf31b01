#pragma once

#include <QString>

// Existence check by kind: 0 a file, 1 a directory, 2 a drive (on POSIX, a
// file-system root). Any other kind, or an empty path, gives false.
bool PathExistsByKind(const QString& path, int kind);

// True when the file's length can be read; false for a missing file, a
// directory or anything unreadable.
bool FileIsPresent(const QString& path);

// True for '/' and '\': paths typed by the operator may use either.
bool IsPathSeparator(QChar c);

// The text with one trailing separator removed (only one, as typed paths
// such as "C:\Videos\" are stored without it).
QString StripOneTrailingSeparator(const QString& path);

// directory + separator + name, without doubling a separator the directory
// already ends with.
QString JoinPath(const QString& directory, const QString& name);
