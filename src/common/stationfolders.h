#pragma once

#include <QString>

// Where the station's own files live. An installed program cannot write
// beside itself, so the files the station writes for itself
// (currentcapture.bmp, SkierNames.txt) go to a writable data folder, while
// the files shipped with the program (the manual and its pictures) are read
// from the program's data folder.
struct StationFolders {
    QString dataDirectory;    // writable; currentcapture.bmp, SkierNames.txt
    QString shippedDirectory; // read-only; the manual

    // The per-user data folder (created when missing) and the shipped data
    // beside the program: <prefix>/share/rampscope for an installed program,
    // the "data" folder beside the program in the build tree. shippedDirectory
    // is empty when neither exists.
    static StationFolders standard();

    // Makes the data folder the current directory, where the station's own
    // relative file names resolve; nothing when there is none.
    void enterDataDirectory() const;

    // A file of the per-user data folder.
    QString dataFile(const QString& name) const;
    // A shipped file, empty when the program was shipped without it.
    QString shippedFile(const QString& name) const;
};

// Names of the station's own files.
inline QString SkierListFileName()
{
    return QStringLiteral("SkierNames.txt");
}
inline QString ManualFileName()
{
    return QStringLiteral("QX05Manual.md");
}
