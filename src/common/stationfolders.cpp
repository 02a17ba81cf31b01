#include "common/stationfolders.h"

#include "common/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

StationFolders StationFolders::standard()
{
    StationFolders folders;
    folders.dataDirectory = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (!folders.dataDirectory.isEmpty())
        QDir().mkpath(folders.dataDirectory);

    const QString programDirectory = QCoreApplication::applicationDirPath();
    for (const QString& candidate : {programDirectory + QStringLiteral("/../share/rampscope"),
                                     programDirectory + QStringLiteral("/data")}) {
        if (QFileInfo(candidate).isDir()) {
            folders.shippedDirectory = QDir::cleanPath(candidate);
            break;
        }
    }
    return folders;
}

void StationFolders::enterDataDirectory() const
{
    if (!dataDirectory.isEmpty())
        QDir::setCurrent(dataDirectory);
}

QString StationFolders::dataFile(const QString& name) const
{
    return JoinPath(dataDirectory, name);
}

QString StationFolders::shippedFile(const QString& name) const
{
    if (shippedDirectory.isEmpty())
        return {};
    const QString path = JoinPath(shippedDirectory, name);
    return QFileInfo::exists(path) ? path : QString();
}
