#pragma once

#include "grid/transform.h"

#include <QColor>
#include <QLineF>
#include <QString>

#include <array>
#include <expected>
#include <optional>

class QPainter;
struct CalibrationState;
struct ConfigState;

// The landing mark of the measurement screen: where the operator clicked the
// first contact of the skis, and the splash indicator where the tournament
// allowance puts the measured point. All screen values are twips.

// One arrow press moves the mark one pixel.
inline constexpr double markStepTwips = 15.0;
// The splash indicator rises this far above the splash point.
inline constexpr double splashIndicatorTwips = 1000.0;

// The tournament allowance A in metres: 0 barefoot, otherwise 2.1 + 0.2 t
// with t = -1 for sit ski and 0 otherwise (2.1 m normal, 1.9 m sit ski).
double LandingAllowance(TournamentType type);

// What the mark's drawing depends on besides the mark itself.
struct ImpactMarkSettings {
    Coefficients coefficients{}; // the selected grid's transform
    double surveyDirection = -1.0; // +1 or -1
    TournamentType tournament = TournamentType::Normal;
    bool rightToLeft = false; // jump direction on screen
    double crossSize = 0.0;   // s: CrossSize's value, twips
};

// The settings from the live calibration, the configuration and CrossSize.
ImpactMarkSettings ImpactMarkSettingsFrom(const CalibrationState& calibration, const ConfigState& config,
                                          double crossSize);

// A drawn landing mark: the mark and splash points the arrows and the
// recording work from, and the three lines (lineHorizontalImpact,
// lineVerticalImpact, lineSplashIndicator).
struct ImpactMark {
    ScreenPoint mark;
    ScreenPoint splash;
    QLineF horizontal; // (x, y) to (x + s, y) right to left, (x - s, y) otherwise
    QLineF vertical;   // (x, y - s) to (x, y + s)
    QLineF splashIndicator; // (sx, sy) to (sx, sy - 1000)
};

// The geometry of DrawImpactMark for a mark at (markX, markY): the survey
// point (X, Y) of the mark, X' = X - A × surveyDirection (left to right) or
// X + A × surveyDirection (right to left), and (X', Y) mapped back to the
// screen as the splash point. Fails, with nothing to draw, when either mapping
// meets a zero denominator or a non-finite value; the screen then keeps its
// previous mark and saved mark.
std::expected<ImpactMark, ArithmeticFault> ImpactMarkAt(ScreenPoint mark, const ImpactMarkSettings& settings);

// The four arrows, and the order in which keyTimer polls the arrow keys.
enum class MarkMove { Left, Up, Right, Down };
inline constexpr std::array<MarkMove, 4> arrowKeyPollOrder{MarkMove::Left, MarkMove::Up, MarkMove::Right,
                                                           MarkMove::Down};

// Where an arrow move puts the mark: one step (15 twips) from the saved mark
// of the last drawing, not from a mark whose drawing failed.
ScreenPoint MovedMark(ScreenPoint savedMark, MarkMove move);

// The verify readouts for the pointer at (x, y).
struct LiveReadouts {
    QString xtwips;
    QString ytwips;
    QString xposition;
    QString yposition;
    QString VerifyDistance;

    bool operator==(const LiveReadouts&) const = default;
};

// xtwips, ytwips: NumberText(floor(x)), NumberText(floor(y)); xposition,
// yposition: the survey point to hundredths, halves up; VerifyDistance:
// NumberText(floor(d × 10 + 0.5) / 10) + "m " + NumberText(floor(d × 3.28 +
// 0.5)) + "ft", d being the straight distance from the jump point plus the
// allowance. Fails when the mapping or the distance has no finite value; the
// screen then leaves the readouts as they were (no message: the pointer
// moves on).
std::expected<LiveReadouts, ArithmeticFault> LiveReadoutsAt(double x, double y, const Coefficients& coefficients,
                                                            double jumpX, double jumpY, TournamentType tournament);

// The status line's grid part for the pointer at (x, y): "Survey " + the
// survey point as xposition and yposition give it + "   Distance " +
// VerifyDistance. Nothing while the grid on display is not solved, or
// where the mapping has no finite value.
std::optional<QString> GridStatusReadout(const CalibrationState& calibration, TournamentType tournament, double x,
                                         double y);

// Draws the three lines of a landing mark in the label colour, 2 pixels wide,
// on a painter set up for twips (BeginTwipsDrawing).
void DrawImpactMarkLines(QPainter& painter, const ImpactMark& mark, const QColor& labelColor);
