#pragma once

#include "grid/gridrecord.h"
#include "setup_screen/grid_setup.h"

#include <QString>

#include <array>
#include <cstddef>
#include <utility>

// The five buoys of the set-up screen and the boxes and corner slots each
// one stands for.

using SetupBuoy = Grid_Setup::Buoy;

// The order every click and nudge visits the buoys in.
inline constexpr std::array<SetupBuoy, Grid_Setup::buoyCount> buoyOrder = {
    SetupBuoy::UpperLeft, SetupBuoy::UpperRight, SetupBuoy::LowerLeft, SetupBuoy::LowerRight, SetupBuoy::Check};

inline std::size_t indexOf(SetupBuoy buoy)
{
    return static_cast<std::size_t>(buoy);
}

// A corner buoy's slot (the check buoy has none: upper left is returned).
CornerSlot slotOf(SetupBuoy buoy);

// The two boxes showing a buoy's screen position.
std::pair<QString, QString> positionBoxes(SetupBuoy buoy);

// The two boxes showing a buoy's surveyed position.
std::pair<QString, QString> surveyBoxes(SetupBuoy buoy);

// A corner's screen box before its buoy was placed; the form writes the
// upper-right one with a leading blank.
bool holdsAuto(const QString& text);
