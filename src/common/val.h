#pragma once

#include <QStringView>

// Leading numeric value of a text, the way every number typed by the operator
// is read: leading blanks skipped, then a sign, digits, a point and an
// exponent (E or D) taken as far as they form a number. A text without a
// leading number reads as 0. A number too large for a double reads as an
// infinity, which the arithmetic that uses it reports as a fault.
double Val(QStringView text);

// Strict reading of one number field of a stored file: blanks (spaces and
// tabs, as Val skips them) around it are allowed, anything else is not.
// Returns false when the field is not wholly a number (empty, letters, two
// numbers).
bool ParseNumberField(QStringView field, double& value);
