#pragma once

#include "grid/transform.h"

#include <QColor>
#include <QString>

#include <expected>
#include <vector>

// The calibration line tool: the operator types two points either on the
// water (survey metres, "Actual") or on the frame (twips, "Screen"); the tool
// converts each into the other system with the live calibration and draws the
// straight line between them on every screen that shows the frame, so a
// known survey line (a shore edge, a row of buoys) can be compared with the
// picture.

// A straight line on the frame, end points in twips.
struct ScreenLine {
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;

    bool operator==(const ScreenLine&) const = default;
};

// A screen that can show the calibration line over its frame: the
// measurement screen and the grid set-up screen implement it.
class LineDrawingSurface {
public:
    virtual ~LineDrawingSurface() = default;

    // Draw a line from (x1, y1) to (x2, y2), twips of the displayed frame, in
    // the colour. The line stays until the screen clears its drawings.
    virtual void drawLineTwips(double x1, double y1, double x2, double y2, const QColor& color) = 0;
};

// The old line is painted over in magenta before the new one goes on in white.
inline const QColor calibrationEraseColor = QColor(255, 0, 255);
inline const QColor calibrationLineColor = QColor(255, 255, 255);

// The captions of CalibrationLineUnitsSelect: which boxes are the input.
inline const QString calibrationUnitsActual = QStringLiteral("Actual");
inline const QString calibrationUnitsScreen = QStringLiteral("Screen");

// The units button's click: "Actual" becomes "Screen", anything else
// "Actual".
QString NextCalibrationUnits(const QString& caption);

// The eight coordinate boxes of the Calibrate form, as texts.
struct CalibrationLineBoxes {
    QString CalibrationLineXActual;
    QString CalibrationLineYActual;
    QString CalibrationLineXActual2;
    QString CalibrationLineYActual2;
    QString CalibrationLineXTwips;
    QString CalibrationLineYTwips;
    QString CalibrationLineXTwips2;
    QString CalibrationLineYTwips2;

    bool operator==(const CalibrationLineBoxes&) const = default;
};

// A screen box's text for a mapped point: whole twips, halves up
// (1234.5 -> " 1235", -0.5 -> " 0").
QString CalibrationTwipsText(double twips);

// A survey box's text for a mapped point: metres to the centimetre, halves up
// (12.346 -> " 12.35", 12.344 -> " 12.34").
QString CalibrationMetresText(double metres);

// Draw's first half: with units "Actual" the two survey pairs are mapped to
// the frame and the screen boxes rewritten; otherwise ("Screen") the two
// screen pairs are mapped to the water and the survey boxes rewritten.
// Boxes are read leniently (a non-number reads as 0). Returns the new line,
// read back from the four screen boxes. When either point cannot be mapped
// (zero denominator or overflow) no box changes.
std::expected<ScreenLine, ArithmeticFault> ConvertCalibrationLine(CalibrationLineBoxes& boxes,
                                                                 const QString& unitsCaption,
                                                                 const Coefficients& coefficients);

// Draw: converts the boxes, then on each surface in turn paints lastLine in
// magenta and the new line in white, and makes the new line lastLine. On a
// fault nothing is drawn and lastLine is kept. Surfaces are drawn in the
// order given (the measurement screen first, then the grid set-up screen).
std::expected<ScreenLine, ArithmeticFault> DrawCalibrationLine(CalibrationLineBoxes& boxes,
                                                              const QString& unitsCaption,
                                                              const Coefficients& coefficients,
                                                              ScreenLine& lastLine,
                                                              const std::vector<LineDrawingSurface*>& surfaces);

// Erase: paints lastLine in magenta on each surface; lastLine is kept, so a
// second Erase paints the same line again.
void EraseCalibrationLine(const ScreenLine& lastLine, const std::vector<LineDrawingSurface*>& surfaces);
