#pragma once

#include <QString>

// The figures of a measured jump as recording rounds them, all from the one
// unrounded distance d in metres.
struct RoundedJump {
    double distance = 0.0;       // d, unrounded
    double metres = 0.0;         // floor(d * 10 + 0.5) / 10: one decimal, halves up
    double feet = 0.0;           // whole feet, or tenths for sit ski and barefoot
    QString preciseDistanceText; // NumberText of d to 4 decimals, halves up
    QString metresText;          // NumberText(metres): the exchange metres text
    QString feetText;            // NumberText(feet): the exchange feet text
};

// Rounds a measured distance for the results. Feet come from the unrounded
// distance (d / 0.3048 to whole feet, or d / 0.03048 to tenths when
// tenthsOfFeet: sit ski and barefoot), never from the rounded metres.
RoundedJump RoundJump(double distance, bool tenthsOfFeet);
