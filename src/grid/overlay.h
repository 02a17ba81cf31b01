#pragma once

#include "grid/gridrecord.h"
#include "grid/transform.h"

#include <QColor>
#include <QPointF>
#include <QString>
#include <QTransform>

#include <array>
#include <expected>

class QPainter;
class QPen;
struct CalibrationState;

// The grid overlay of the set-up and measurement screens, drawn on a QPainter
// whose coordinates are twips of the displayed frame (origin top-left, y
// down).
//
// Setting up the painter in a screen's paintEvent: frames are shown 1:1, so
// one image pixel is 15 twips. Draw the frame picture first (in pixels), then
//
//     QPainter painter(this);
//     painter.drawImage(0, 0, frame);
//     painter.translate(frameTopLeftInWidget);   // if the frame is not at (0, 0)
//     BeginTwipsDrawing(painter);               // scale(1 / 15.0), no antialiasing
//     DrawMeasureOverlay(painter, ...);
//
// PictureCanvas (src/widgets) already hands its overlay callback a painter in
// twips: call the routines there directly, without BeginTwipsDrawing.
//
// Every routine here sets its own pen: a cosmetic pen 2 pixels wide whatever
// the scale, so lines keep the station's 2-pixel width. Routines save and
// restore the painter's state, so calls can follow each other freely.
//
// "Clearing the drawings" is the screen's business: it keeps what it must
// redraw (a transparent QImage of the frame's pixel size serves as the
// drawing surface where marks must stay until the next clear) and paints
// again from scratch.

inline constexpr double twipsPerPixel = 15.0;
inline constexpr double overlayLineWidthPixels = 2.0;
// Setup_Cross_size's maximum: the arm of the old-position mark's cross.
inline constexpr double setupCrossSizeMaximum = 105.0;
// Arm of the white crosses drawn at the five markers when the set-up screen
// hands the grid over to the measurement screen.
inline constexpr double handOverCrossArm = 100.0;

// Twips to frame pixels: scale(1 / 15.0).
QTransform TwipsToPixels();

// Applies TwipsToPixels to the painter's current transform and switches
// antialiasing off, so strokes land on whole pixels as on the old screens.
void BeginTwipsDrawing(QPainter& painter);

// The pen of everything the overlay draws: the colour, 2 pixels wide,
// cosmetic (the width does not scale with the twips transform).
QPen OverlayPen(const QColor& color);

// The pen of the thin edge drawn under a mark: a pixel wider on each side
// than OverlayPen, black under light colours and white under dark ones, so
// a white cross stays visible on a white splash.
QPen OverlayEdgePen(const QColor& color);

enum class BuoyMarkerStyle { Cross, Circle };

// The buoymarker setting: only "cross" gives crosses; anything else
// (normally "circle") gives circles.
BuoyMarkerStyle BuoyMarkerStyleFromSetting(const QString& buoyMarker);

struct OverlayStyle {
    BuoyMarkerStyle marker = BuoyMarkerStyle::Circle;
    QColor labelColor = QColor(255, 255, 255); // LabelColor(labelColorName)
    double crossSize = 90.0; // s in twips: CrossSize or Setup_Cross_size
};

// A buoy marker at a point. Cross: white strokes from (x - s, y) to (x + s, y)
// and from (x, y - s) to (x, y + s), whatever the label colour. Circle: a
// circle of radius 2 s and five points at (x, y), (x, y ± 5), (x ± 5, y), all
// in the label colour.
void DrawBuoyMarker(QPainter& painter, ScreenPoint at, const OverlayStyle& style);

// The drawing of the set-up screen's Show_grid: markers at the upper-left,
// upper-right, lower-left and lower-right corners and at the check buoy, in
// that order. Never fails.
void DrawSetupOverlay(QPainter& painter, const Corners& liveCorners, ScreenPoint checkBuoy,
                      const OverlayStyle& style);

// A label caption with the top-left corner (twips) where the screen places it.
struct PlacedLabel {
    QString caption;
    QPointF topLeft;

    bool operator==(const PlacedLabel&) const = default;
};

// The four far-buoy distance labels of the measurement screen.
struct FarBuoyLabels {
    PlacedLabel maxbuoy;  // upper-left buoy, feet
    PlacedLabel minbuoy;  // upper-right buoy, feet
    PlacedLabel maxbuoym; // upper-left buoy, metres
    PlacedLabel minbuoym; // upper-right buoy, metres
};

// Why the overlay was not drawn; message is one sentence for the operator.
struct OverlayFault {
    QString message;
};

// The far-buoy labels: straight survey distances D from the jump point to the
// upper-left buoy (maxbuoy, maxbuoym) and the upper-right buoy (minbuoy,
// minbuoym), no tournament allowance. Feet: NumberText(floor(D * 3.28 + 0.5))
// + " feet", at (screen x - 100, screen y - 400). Metres:
// NumberText(floor(D * 10 + 0.5) / 10) + " meters", at (x - 100, y - 600).
// Used by show_the_grid and by the set-up screen's exit hand-over. Fails when
// a distance or a position is not a finite number.
std::expected<FarBuoyLabels, OverlayFault> ComputeFarBuoyLabels(const GridCorner& upperLeft,
                                                                const GridCorner& upperRight,
                                                                double jumpX, double jumpY);

// What show_the_grid draws from: the selected grid's corners (screen and
// survey), its jump point, which grid it is and the descriptions of grids 1..3.
struct MeasureOverlay {
    Corners corners{};
    double jumpX = 0.0;
    double jumpY = 0.0;
    int currentGrid = 1;
    std::array<QString, 3> descriptions{}; // grid n at index n - 1
    bool boxLineOff = false;
};

// The measurement screen's overlay input from the live calibration (the
// corners and jump point Set_grid copied in) and the boxlineoff setting.
MeasureOverlay MeasureOverlayFrom(const CalibrationState& calibration, bool boxLineOff);

// The texts show_the_grid hands to the screen.
struct MeasureOverlayTexts {
    FarBuoyLabels labels;
    QString gridDescription; // grid_description's text; the screen makes it visible
};

// The labels and grid description of show_the_grid, without drawing. Fails
// when currentGrid is not 1..3 or a distance is not finite.
std::expected<MeasureOverlayTexts, OverlayFault> ComputeMeasureOverlayTexts(const MeasureOverlay& overlay);

// The drawing of the measurement screen's show_the_grid: markers at the
// upper-left, upper-right, lower-left and lower-right corners (no check buoy),
// then, unless boxLineOff, white side lines lower-right to upper-right and
// lower-left to upper-left. Returns the texts for the screen to show. On a
// fault nothing at all is drawn and the screen should report the message and
// leave its labels alone.
std::expected<MeasureOverlayTexts, OverlayFault> DrawMeasureOverlay(QPainter& painter,
                                                                    const MeasureOverlay& overlay,
                                                                    const OverlayStyle& style);

// A cross of arm a: (x - a, y) to (x + a, y) and (x, y - a) to (x, y + a).
void DrawCross(QPainter& painter, ScreenPoint at, double arm, const QColor& color);

// Set-up screen: where a buoy was before it moved. A magenta circle of radius
// markerCircleRadius and a magenta cross of arm setupCrossSizeMaximum.
void DrawOldPositionMark(QPainter& painter, ScreenPoint at, double markerCircleRadius);

// Set-up screen: where a buoy now is. A white cross of arm crossSize
// (Setup_Cross_size's value).
void DrawNewPositionMark(QPainter& painter, ScreenPoint at, double crossSize);

// Set-up screen's exit with all grids ready: a white cross of arm 100 at one
// marker (the screen calls it for each of the five).
void DrawHandOverMark(QPainter& painter, ScreenPoint at);

// A check buoy that failed validation: at (px, py), where the survey says it
// should appear, a white point, a white circle of radius 4 × crossSize and a
// line from (px, py) to (px + 100, py) in the screen's current drawing colour.
void DrawCheckBuoyHint(QPainter& painter, ScreenPoint shouldBeAt, double crossSize,
                       const QColor& drawingColor);

// Top-left of lblCB ("<-Check Buoy Should Be Here") beside the hint:
// (px + 15, py - 105).
QPointF CheckBuoyHintLabelTopLeft(ScreenPoint shouldBeAt);
