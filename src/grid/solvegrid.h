#pragma once

struct GridContext;

// How a solve of the grid on the set-up screen ended.
enum class SolveOutcome {
    Incomplete,         // a box still holds its placeholder
    CheckBuoyMissing,   // txtCheckXpix is 0 or not a number
    Singular,           // no non-zero pivot: "No Unique Solution"
    CheckBuoyFails,     // check buoy off by more than 22.5 twips
    FieldOfViewTooWide, // reported field of view above 35 degrees
    ArithmeticFault,    // division by zero or overflow while validating
    Ready,              // solved, validated, stored: the grid is ready
};

// Solves the eight coefficients of the grid named by grid_select from the
// live corners, validates them against the check buoy and the field of view,
// stores the grid record and appends the set-up report. Every message goes to
// the operator through the context's dialogs, in order. A failed elimination
// leaves the live coefficients as they were.
SolveOutcome solve_grid(GridContext& context);

// Front and back ratios of the corner boxes against the picture width; warns
// when the front ratio is below 80. Stores both in the working registers.
// A picture width of 0 is reported as a calculation error and changes nothing.
void grid_check(GridContext& context);
