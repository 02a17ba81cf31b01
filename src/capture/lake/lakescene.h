#pragma once

#include "capture/lake/pinholecamera.h"

#include <QRgb>

#include <array>

// The course of the virtual lake, surveyed as a real jump course is, so the
// values below are what an operator types on the grid set-up screen.
//
// Survey metres: X runs along the course in the skier's direction (left to
// right on the picture), Y across the course, growing towards the camera's
// shore. The corner buoys farther from the camera are the upper ones. Heights
// are metres above the water.
struct LakeScene {
    // A camera on a 10 m stand on the shore, looking straight across the
    // course (towards -Y) and 7.5 degrees down, 36 degrees wide: the front
    // buoys fill 83 % of the picture and the grid's field of view reads 31.5
    // degrees, inside the 35 allowed.
    static constexpr CameraPlacement camera{
        .x = 50.0,
        .y = 125.0,
        .height = 10.0,
        .headingDegrees = -90.0,
        .pitchDownDegrees = 7.5,
        .horizontalFieldOfViewDegrees = 36.0,
    };

    struct Buoy {
        const char* name; // as the set-up screen's option button names it
        double x;         // survey metres
        double y;
        QRgb colour;
    };

    // Buoys are drawn as discs of this radius centred on their surveyed point
    // on the water, so the middle of a buoy is the point to click. A dark rim
    // 2 pixels wide keeps each colour apart from the water.
    static constexpr double buoyRadiusMetres = 0.35;
    static constexpr QRgb rimColour = qRgb(16, 16, 16);

    // The four corner buoys in the order the set-up screen places them, then
    // the check buoy.
    static constexpr std::array<Buoy, 5> buoys{{
        {"upper left", 31.0, 30.0, qRgb(230, 25, 25)},   // red
        {"upper right", 73.0, 30.0, qRgb(250, 225, 0)},  // yellow
        {"lower left", 35.0, 63.0, qRgb(225, 0, 215)},   // magenta
        {"lower right", 69.0, 63.0, qRgb(20, 205, 40)},  // green
        {"Check Buoy", 60.0, 37.0, qRgb(255, 135, 0)},   // orange
    }};

    // The jump point: the middle of the ramp's top edge. The ramp rises along
    // the course to it.
    static constexpr double jumpX = 30.0;
    static constexpr double jumpY = 45.0;
    static constexpr double rampLengthMetres = 6.4;
    static constexpr double rampWidthMetres = 4.2;
    static constexpr double rampHeightMetres = 1.8;

    // The skier leaves the ramp's top edge at take-off and the bindings touch
    // the water at the landing point at contact: 38 m from the jump point
    // (40.1 m recorded in a normal tournament with its 2.1 m allowance).
    // Contact falls on a frame boundary at 25, 30, 50 and 60 frames a second
    // (frame 70, 84, 140, 168).
    static constexpr double landingX = 68.0;
    static constexpr double landingY = 45.0;
    static constexpr double landingDistanceMetres = 38.0;
    static constexpr double takeOffSeconds = 1.2;
    static constexpr double contactSeconds = 2.8;

    // The bindings carry a marker of their own colour (with the buoys' dark
    // rim), centred on the point that touches the water.
    static constexpr double bindingRadiusMetres = 0.2;
    static constexpr QRgb bindingColour = qRgb(0, 235, 255); // cyan

    // From this time on the skier has left the picture and the splash has
    // gone: every frame is the empty course.
    static constexpr double settledSeconds = contactSeconds + 3.0;
};
