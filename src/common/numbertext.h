#pragma once

#include <QString>

// The one number-to-text rule of the station, used for every number written
// into a box, a label or a file: at most 15 significant digits, no trailing
// zeros and no trailing point, no zero before the point below magnitude 1
// (0.5 gives ".5"), E+nn / E-nn for very large or very small magnitudes, and
// a leading blank for zero or a positive value (a minus sign otherwise).
//
// Not-a-number and infinities have no printed form in the station's files;
// callers must not pass them (they print as " NaN" / " Inf" / "-Inf" so a
// fault is visible rather than silently rounded).
QString NumberText(double value);

// The same digits without the leading blank of a zero or positive value.
QString NumberDigits(double value);

// The file print form of set-up files: NumberText followed by one blank.
QString FilePrintNumber(double value);

// floor(value * scale + 0.5) / scale: the station's "halves up" rounding, as
// used for metres to one decimal (scale 10) or survey points to three (1000).
double RoundHalfUp(double value, double scale);
