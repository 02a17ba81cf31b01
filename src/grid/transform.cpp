#include "grid/transform.h"

#include "grid/calibrationstate.h"

#include <cmath>

namespace {

const QString divisionByZero = QStringLiteral("division by zero");
const QString overflow = QStringLiteral("overflow");

} // namespace

QString ArithmeticFault::message() const
{
    return QStringLiteral("Calculation error (") + what + QStringLiteral(") while ") + where
        + QStringLiteral(". Nothing was changed.");
}

TournamentType TournamentTypeFromSetting(const QString& value)
{
    if (value == QLatin1String("barefoot"))
        return TournamentType::Barefoot;
    if (value == QLatin1String("sitski"))
        return TournamentType::SitSki;
    return TournamentType::Normal;
}

std::expected<SurveyPoint, ArithmeticFault> screen_to_survey(const Coefficients& c, double x, double y)
{
    const QString where = QStringLiteral("mapping a screen point to the water");
    const double w = 1 + c[3] * x + c[4] * y;
    if (w == 0.0)
        return std::unexpected(ArithmeticFault{where, divisionByZero});
    const SurveyPoint p{(c[0] + c[1] * x + c[2] * y) / w, (c[5] + c[6] * x + c[7] * y) / w};
    if (!std::isfinite(p.x) || !std::isfinite(p.y))
        return std::unexpected(ArithmeticFault{where, overflow});
    return p;
}

std::expected<ScreenPoint, ArithmeticFault> survey_to_screen(const Coefficients& c, double X, double Y)
{
    const QString where = QStringLiteral("mapping a water point to the screen");
    const double c1 = c[0], c2 = c[1], c3 = c[2], c4 = c[3], c5 = c[4], c6 = c[5], c7 = c[6], c8 = c[7];
    const double d = (c7 * c5 - c8 * c4) * X + (c4 * c3 - c5 * c2) * Y + (c2 * c8 - c3 * c7);
    if (d == 0.0)
        return std::unexpected(ArithmeticFault{where, divisionByZero});
    const ScreenPoint p{((c8 - c6 * c5) * X + (c5 * c1 - c3) * Y + c3 * c6 - c1 * c8) / d,
                        ((c6 * c4 - c7) * X + (c2 - c4 * c1) * Y + c1 * c7 - c2 * c6) / d};
    if (!std::isfinite(p.x) || !std::isfinite(p.y))
        return std::unexpected(ArithmeticFault{where, overflow});
    return p;
}

double JumpDistanceFromSurvey(double jumpX, double jumpY, SurveyPoint landing, TournamentType type)
{
    const double d = std::sqrt((jumpX - landing.x) * (jumpX - landing.x) + (jumpY - landing.y) * (jumpY - landing.y));
    if (type == TournamentType::Barefoot)
        return d;
    // The allowance as the rule book writes it: 2.1 m, less 0.2 m for sit ski
    // (s is -1 for sit ski, 0 otherwise).
    const double s = type == TournamentType::SitSki ? -1.0 : 0.0;
    return d + (0.2 * s + 2.1);
}

std::expected<double, ArithmeticFault> distance_calculation(CalibrationState& state, double x, double y,
                                                            TournamentType type)
{
    const auto survey = screen_to_survey(state.coefficients, x, y);
    if (!survey)
        return std::unexpected(survey.error());
    const double distance = JumpDistanceFromSurvey(state.jumpX, state.jumpY, *survey, type);
    if (!std::isfinite(distance))
        return std::unexpected(
            ArithmeticFault{QStringLiteral("computing the jump distance"), overflow});
    state.surveyX = survey->x;
    state.surveyY = survey->y;
    state.distance = distance;
    return distance;
}
