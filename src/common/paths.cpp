#include "common/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool PathExistsByKind(const QString& path, int kind)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    switch (kind) {
    case 0:
        return info.exists() && !info.isDir();
    case 1:
        return info.exists() && info.isDir();
    case 2: {
        // "C:" names a drive on Windows; on POSIX the root is the one drive.
        QString root = path;
        if (root.size() == 2 && root.at(1) == QLatin1Char(':'))
            root += QLatin1Char('/');
        const QFileInfo rootInfo(root);
        return rootInfo.exists() && rootInfo.isDir() && QDir(root).isRoot();
    }
    default:
        return false;
    }
}

bool FileIsPresent(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

bool IsPathSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

QString StripOneTrailingSeparator(const QString& path)
{
    if (!path.isEmpty() && IsPathSeparator(path.back()))
        return path.left(path.size() - 1);
    return path;
}

QString JoinPath(const QString& directory, const QString& name)
{
    if (directory.isEmpty())
        return name;
    if (IsPathSeparator(directory.back()))
        return directory + name;
    return directory + QLatin1Char('/') + name;
}
