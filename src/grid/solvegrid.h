#pragma once

#include "grid/gridrecord.h"
#include "grid/transform.h"

#include <expected>

struct GridContext;

// How a solve of the grid on the set-up screen ended.
enum class SolveOutcome {
    Incomplete,         // a box still holds its placeholder
    CheckBuoyMissing,   // txtCheckXpix is 0 or not a number
    Singular,           // no non-zero pivot: "No Unique Solution"
    CheckBuoyFails,     // check buoy off by more than 22.5 twips
    FieldOfViewTooWide, // reported field of view above 35 degrees
    NotStorable,        // a value its set-up file could not hold and read back
    ArithmeticFault,    // division by zero or overflow while solving or
                        // validating (also a jump measured at the check buoy
                        // or a corner that overflows); also a fault in the
                        // closing grid_check of a grid that was already
                        // stored and stays ready
    Ready,              // solved, validated, stored: the grid is ready
};

// Solves the eight coefficients of the grid named by grid_select from the
// live corners, validates them against the check buoy and the field of view,
// stores the grid record and appends the set-up report. Every message goes to
// the operator through the context's dialogs, in order. A failed elimination
// leaves the live coefficients as they were.
// The words a successful solve of grid n shows beside the status picture:
// the check buoy's residual is the distance in metres between its surveyed
// position and the water point its clicked screen position maps to.
QString SolveSummaryText(int grid, double checkResidualMetres);

SolveOutcome solve_grid(GridContext& context);

// Front and back ratios of the corner boxes against the picture width; warns
// when the front ratio is below 80. Stores both in the working registers.
// A picture width of 0 is reported as a calculation error and changes nothing.
void grid_check(GridContext& context);

// Why the eight coefficients could not be had from the four corners.
enum class EliminationFailure {
    NoPivot,   // a column with no non-zero entry left: no unique solution
    NotFinite, // the elimination overflowed
    Degenerate, // the result does not carry the corners to their survey points
};

// c1..c8 from the four corners by Gauss-Jordan elimination of the 8 x 9
// system, the first non-zero entry of a column taken as its pivot (no
// tolerance: a tiny pivot is used as it comes). Three corners in a line on the
// frame rarely leave an exact zero pivot; rounding then yields numbers that
// put those corners on the horizon, so the result must map every corner back
// to its survey point within a millimetre or it is Degenerate.
std::expected<Coefficients, EliminationFailure> SolveCoefficients(const Corners& corners);

// Signed angle in degrees between the water rays under the lower-left and the
// lower-right buoy (each ray is where 45 twips straight up the frame leads on
// the water). Fails on a zero denominator or overflow.
std::expected<double, ArithmeticFault> FieldOfViewDegrees(const Coefficients& c, ScreenPoint lowerLeft,
                                                          ScreenPoint lowerRight);

// The field of view as reported and judged against the maximum: 1.5 degrees
// added, then cut (not rounded) to one decimal, so 33.5 reads 35 and 33.6
// reads 35.1.
double ReportedFieldOfView(double fovDegrees);

// The largest reported field of view a grid may have, in degrees.
inline constexpr double maxFieldOfViewDegrees = 35.0;
