#pragma once

#include <QString>

#include <array>

// The four corner buoys always stand in this order, in memory and in the
// set-up file. "Upper" buoys are the far ones (back of the grid).
enum class CornerSlot { UpperRight = 0, LowerRight = 1, UpperLeft = 2, LowerLeft = 3 };

constexpr std::size_t slotIndex(CornerSlot slot)
{
    return static_cast<std::size_t>(slot);
}

// A corner buoy: where it appears on the frame (twips) and where it lies on
// the water (metres).
struct GridCorner {
    double screenX = 0.0;
    double screenY = 0.0;
    double surveyX = 0.0;
    double surveyY = 0.0;

    bool operator==(const GridCorner&) const = default;
};

using Corners = std::array<GridCorner, 4>;

// c1..c8 of the plane projective transform, at indices 0..7:
//   w = 1 + c4 x + c5 y,  X = (c1 + c2 x + c3 y) / w,  Y = (c6 + c7 x + c8 y) / w
using Coefficients = std::array<double, 8>;

// One grid's stored set-up (grid numbers 1..3).
struct GridRecord {
    Corners corners{};
    Coefficients coefficients{};
    double jumpX = 0.0;
    double jumpY = 0.0;
    double reservedA = 0.0; // written as 10; carried, no other use
    double reservedB = 0.0; // written as 2; carried, no other use
    double gridNumber = 0.0; // as written in the set-up file
    double checkScreenX = 0.0; // 0 when the grid has no check buoy
    double checkScreenY = 0.0;
    double checkSurveyX = 0.0;
    double checkSurveyY = 0.0;
    QString setupFilePath;
    QString description;

    bool operator==(const GridRecord&) const = default;
};
