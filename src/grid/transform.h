#pragma once

#include "grid/gridrecord.h"

#include <QString>

#include <expected>

struct CalibrationState;

struct SurveyPoint {
    double x = 0.0; // metres
    double y = 0.0;
};

struct ScreenPoint {
    double x = 0.0; // twips
    double y = 0.0;
};

// A division by zero or a result that is not a finite number. The operation
// that met it stops; what it would have stored is not stored.
struct ArithmeticFault {
    QString where; // e.g. "mapping the landing point to the water"
    QString what;  // "division by zero" or "overflow"

    // One sentence for the operator.
    QString message() const;
};

enum class TournamentType { Normal, SitSki, Barefoot };

// "barefoot" and "sitski" name their types; anything else is a normal
// tournament.
TournamentType TournamentTypeFromSetting(const QString& value);

// Forward transform of a screen point to the water. Fails when w = 0 or the
// result is not finite.
std::expected<SurveyPoint, ArithmeticFault> screen_to_survey(const Coefficients& c, double x, double y);

// Exact inverse of screen_to_survey. Fails when D = 0 or the result is not
// finite.
std::expected<ScreenPoint, ArithmeticFault> survey_to_screen(const Coefficients& c, double surveyX,
                                                             double surveyY);

// Jump distance in metres of a landing point given in survey metres: the
// straight distance from the jump point plus 2.1 m (normal), 1.9 m (sit ski)
// or nothing (barefoot).
double JumpDistanceFromSurvey(double jumpX, double jumpY, SurveyPoint landing, TournamentType type);

// Screen point to jump distance with the live coefficients and jump point of
// the calibration. Leaves the survey point and the distance in the working
// registers; on a fault the registers keep their previous values.
std::expected<double, ArithmeticFault> distance_calculation(CalibrationState& state, double x, double y,
                                                            TournamentType type);
