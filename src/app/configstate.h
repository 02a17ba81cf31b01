#pragma once

#include "grid/transform.h"

#include <QString>

// The process-wide configuration that mirrors the settings, filled by the
// start-up (video directory, log file name) and the configuration load
// (everything else). Owned by the application object.
struct ConfigState {
    QString videoDirectory;     // without a trailing separator (key logpath)
    QString logFileName;        // today's log name, without directory
    QString resultsFilePath;    // full path of today's results file
    QString capturesDirectory;  // saved pictures; ends in a separator once configured
    QString setupFilesDirectory; // key SetupFiles
    int gridCount = 1;          // 1, 2 or 3 (key grids)
    bool rightToLeft = false;   // key right2left
    bool boxLineOff = false;    // key boxlineoff
    QString buoyMarker = QStringLiteral("circle"); // "circle" or "cross"
    QString pictureSaveMode = QStringLiteral("Ask"); // "Ask", "Save" or "NoSave"
    QString videoSaveMode = QStringLiteral("Ask");
    QString captureSourceType;  // "Generic" after the configuration load
    QString pictureExtension = QStringLiteral(".bmp");
    QString pictureFormatCode = QStringLiteral("1");
    bool reportInProgress = false; // true while the configuration load reloads the grids
    QString tournamentName;
    bool barefootMode = false;
    bool sitSkiMode = false;
    // "white", "black", "yellow" or "default"; the colour itself comes from
    // LabelColor() in grid/labelcolor.h.
    QString labelColorName = QStringLiteral("default");
    // Seconds of the camera's pictures before Start that a recording keeps
    // (key prerollSeconds, 0 to 3).
    int prerollSeconds = 0;

    TournamentType tournamentType() const
    {
        if (barefootMode)
            return TournamentType::Barefoot;
        if (sitSkiMode)
            return TournamentType::SitSki;
        return TournamentType::Normal;
    }
};
