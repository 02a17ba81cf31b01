#include "grid/calibrationstate.h"

#include <algorithm>

namespace {
std::size_t indexOf(int n)
{
    return static_cast<std::size_t>(std::clamp(n, 1, CalibrationState::maxGrids) - 1);
}
} // namespace

GridRecord& CalibrationState::grid(int n)
{
    return grids[indexOf(n)];
}

const GridRecord& CalibrationState::grid(int n) const
{
    return grids[indexOf(n)];
}

bool CalibrationState::isReady(int n) const
{
    return gridReady[indexOf(n)];
}

void CalibrationState::setReady(int n, bool ready)
{
    gridReady[indexOf(n)] = ready;
}

void CalibrationState::selectGrid(int n)
{
    const GridRecord& record = grid(n);
    currentGrid = std::clamp(n, 1, maxGrids);
    liveCorners = record.corners;
    coefficients = record.coefficients;
    jumpX = record.jumpX;
    jumpY = record.jumpY;
    checkScreenX = record.checkScreenX;
    checkScreenY = record.checkScreenY;
    checkSurveyX = record.checkSurveyX;
    checkSurveyY = record.checkSurveyY;
}

void CalibrationState::updateAllGridsReady(int gridCount)
{
    const bool ready = (gridCount == 3 && gridReady[0] && gridReady[1] && gridReady[2])
        || (gridCount == 2 && gridReady[0] && gridReady[1]) || (gridCount == 1 && gridReady[0]);
    if (ready)
        allGridsReady = true;
}
