#include "measure/landingmark.h"

#include "app/configstate.h"
#include "common/numbertext.h"
#include "grid/calibrationstate.h"
#include "grid/overlay.h"

#include <QPainter>

#include <cmath>

namespace {

// Live readouts use 3.28 ft per metre and whole feet, unlike recorded results.
constexpr double feetPerMetre = 3.28;

} // namespace

double LandingAllowance(TournamentType type)
{
    if (type == TournamentType::Barefoot)
        return 0.0;
    const double t = type == TournamentType::SitSki ? -1.0 : 0.0;
    return 2.1 + 0.2 * t;
}

ImpactMarkSettings ImpactMarkSettingsFrom(const CalibrationState& calibration, const ConfigState& config,
                                          double crossSize)
{
    return {calibration.coefficients, calibration.surveyDirection, config.tournamentType(), config.rightToLeft,
            crossSize};
}

std::expected<ImpactMark, ArithmeticFault> ImpactMarkAt(ScreenPoint mark, const ImpactMarkSettings& settings)
{
    const auto water = screen_to_survey(settings.coefficients, mark.x, mark.y);
    if (!water)
        return std::unexpected(water.error());

    // The splash lies the allowance away from the mark along survey X; which
    // way depends on the jump direction on screen and on how survey X runs
    // across the picture (surveyDirection).
    const double shift = LandingAllowance(settings.tournament) * settings.surveyDirection;
    const double splashX = settings.rightToLeft ? water->x + shift : water->x - shift;
    const auto splash = survey_to_screen(settings.coefficients, splashX, water->y);
    if (!splash)
        return std::unexpected(splash.error());

    const double s = settings.crossSize;
    const double armEnd = settings.rightToLeft ? mark.x + s : mark.x - s;
    return ImpactMark{
        mark,
        *splash,
        QLineF(mark.x, mark.y, armEnd, mark.y),
        QLineF(mark.x, mark.y - s, mark.x, mark.y + s),
        QLineF(splash->x, splash->y, splash->x, splash->y - splashIndicatorTwips),
    };
}

ScreenPoint MovedMark(ScreenPoint savedMark, MarkMove move)
{
    switch (move) {
    case MarkMove::Left:
        return {savedMark.x - markStepTwips, savedMark.y};
    case MarkMove::Right:
        return {savedMark.x + markStepTwips, savedMark.y};
    case MarkMove::Up:
        return {savedMark.x, savedMark.y - markStepTwips};
    case MarkMove::Down:
        return {savedMark.x, savedMark.y + markStepTwips};
    }
    return savedMark;
}

std::expected<LiveReadouts, ArithmeticFault> LiveReadoutsAt(double x, double y, const Coefficients& coefficients,
                                                            double jumpX, double jumpY, TournamentType tournament)
{
    const auto water = screen_to_survey(coefficients, x, y);
    if (!water)
        return std::unexpected(water.error());
    const double d = JumpDistanceFromSurvey(jumpX, jumpY, *water, tournament);
    const double metres = RoundHalfUp(d, 10);
    const double feet = std::floor(d * feetPerMetre + 0.5);
    const double px = std::floor(x);
    const double py = std::floor(y);
    const double surveyX = RoundHalfUp(water->x, 100);
    const double surveyY = RoundHalfUp(water->y, 100);
    if (!std::isfinite(metres) || !std::isfinite(feet) || !std::isfinite(px) || !std::isfinite(py)
        || !std::isfinite(surveyX) || !std::isfinite(surveyY))
        return std::unexpected(
            ArithmeticFault{QStringLiteral("computing the distance under the pointer"), QStringLiteral("overflow")});
    return LiveReadouts{
        NumberText(px),
        NumberText(py),
        NumberText(surveyX),
        NumberText(surveyY),
        NumberText(metres) + QStringLiteral("m ") + NumberText(feet) + QStringLiteral("ft"),
    };
}

std::optional<QString> GridStatusReadout(const CalibrationState& calibration, TournamentType tournament, double x,
                                         double y)
{
    if (!calibration.isReady(calibration.currentGrid))
        return std::nullopt;
    const auto readouts
        = LiveReadoutsAt(x, y, calibration.coefficients, calibration.jumpX, calibration.jumpY, tournament);
    if (!readouts)
        return std::nullopt;
    return QStringLiteral("Survey %1, %2   Distance %3")
        .arg(readouts->xposition.trimmed(), readouts->yposition.trimmed(), readouts->VerifyDistance.trimmed());
}

void DrawImpactMarkLines(QPainter& painter, const ImpactMark& mark, const QColor& labelColor)
{
    painter.save();
    // The edge first, so the cross stays visible on spray of its own colour.
    for (const QPen& pen : {OverlayEdgePen(labelColor), OverlayPen(labelColor)}) {
        painter.setPen(pen);
        painter.drawLine(mark.horizontal);
        painter.drawLine(mark.vertical);
        painter.drawLine(mark.splashIndicator);
    }
    painter.restore();
}
