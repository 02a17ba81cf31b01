#pragma once

#include "grid/gridrecord.h"

#include <QString>

#include <array>

// The process-wide calibration: the three stored grids and the live
// transform that every mapping uses. Owned by the application object; all
// screens work on it from the one user-interface thread.
struct CalibrationState {
    static constexpr int maxGrids = 3;

    std::array<GridRecord, maxGrids> grids{}; // grid n at index n - 1
    int currentGrid = 1;

    // The grid being set up or measured on.
    Corners liveCorners{};
    Coefficients coefficients{};
    double jumpX = 0.0;
    double jumpY = 0.0;
    double checkScreenX = 0.0;
    double checkScreenY = 0.0;
    double checkSurveyX = 0.0; // as last typed in txtCheckX (or loaded)
    double checkSurveyY = 0.0;

    std::array<bool, maxGrids> gridReady{};
    bool allGridsReady = false;
    double surveyDirection = -1.0; // +1 when the upper-right buoy's survey X < upper-left's

    // Picture size in twips, as text: "12000" x "9000" until a picture loads.
    QString pictureWidth = QStringLiteral("12000");
    QString pictureHeight = QStringLiteral("9000");

    // Working registers: inputs and results of the last operations.
    double surveyX = 0.0;
    double surveyY = 0.0;
    double distance = 0.0;
    double frontRatio = 0.0;
    double backRatio = 0.0;

    // Grid n (1..3); n outside that range is clamped, so a stray grid number
    // in a file can never index outside the table.
    GridRecord& grid(int n);
    const GridRecord& grid(int n) const;
    bool isReady(int n) const;
    void setReady(int n, bool ready);

    // Copies grid n's record into the live state (corners, coefficients,
    // jump point, check buoy) and makes it the current grid.
    void selectGrid(int n);

    // Sets allGridsReady when every configured grid 1..gridCount is ready;
    // otherwise leaves it as it was.
    void updateAllGridsReady(int gridCount);
};
