#include "measure/recording.h"

#include "app/configstate.h"
#include "common/clock.h"
#include "common/datetext.h"
#include "common/numbertext.h"
#include "common/operatordialogs.h"
#include "common/textfile.h"
#include "common/val.h"
#include "grid/calibrationstate.h"
#include "measure/exchangedirectory.h"
#include "measure/measurestate.h"

#include <cmath>

namespace {

const QString otherGridTitle = QStringLiteral("Other Grid Measurement");

// The texts the scoring system receives for the metres and the feet.
struct ExchangeTexts {
    QString metres;
    QString feet;
};

bool isPassOrFall(StatusOption option)
{
    return option == StatusOption::Pass || option == StatusOption::Fall;
}

void deselectPassAndFall(MeasureState& state)
{
    if (isPassOrFall(state.selectedOption))
        state.selectedOption = StatusOption::None;
}

// The other grid's distances as the operator reads them off its screen,
// asked until metres and feet agree within 2 ft or the answer is No. A
// cancelled prompt counts as an empty answer.
ExchangeTexts askOtherGridDistances(MeasureState& state, OperatorDialogs& dialogs)
{
    for (;;) {
        const auto answer = dialogs.message(QStringLiteral("Is there a distance to be recorded in the other grid?"),
                                            QStringLiteral("Message"), OperatorDialogs::Icon::None,
                                            OperatorDialogs::Buttons::YesNo);
        if (answer != OperatorDialogs::Answer::Yes) {
            state.Comment = QStringLiteral("Other Grid - no distance recorded");
            state.distance.clear();
            state.distance_ft.clear();
            return {};
        }
        const QString metres
            = dialogs.input(QStringLiteral("Enter distance in meters from other screen"), otherGridTitle)
                  .value_or(QString());
        const QString feet
            = dialogs.input(QStringLiteral("Enter distance in feet from other screen"), otherGridTitle)
                  .value_or(QString())
            + QLatin1Char(' ');
        state.distance = metres + QLatin1Char('m');
        state.distance_ft = feet + QStringLiteral("ft");
        const double m = Val(state.distance);
        const double f = Val(state.distance_ft);
        if (m * 3.2808 + 2 < f || m * 3.2808 - 2 > f) {
            dialogs.message(QStringLiteral("The meter distance and the foot distance you entered did not match, "
                                           "please enter them again"));
            continue;
        }
        return {metres, feet};
    }
}

} // namespace

std::expected<MeasuredJump, ArithmeticFault> MeasureJump(const Coefficients& coefficients, double jumpX,
                                                         double jumpY, double markX, double markY,
                                                         TournamentType type, bool tenthsOfFeet)
{
    const auto survey = screen_to_survey(coefficients, markX, markY);
    if (!survey)
        return std::unexpected(survey.error());
    const double d = JumpDistanceFromSurvey(jumpX, jumpY, *survey, type);
    // Every figure of the line is scaled up before rounding (the survey point
    // by 1000, the distance by 10000): those products must stay finite too.
    if (!std::isfinite(d) || !std::isfinite(d * 10000) || !std::isfinite(survey->x * 1000)
        || !std::isfinite(survey->y * 1000) || !std::isfinite(markX) || !std::isfinite(markY))
        return std::unexpected(ArithmeticFault{QStringLiteral("computing the jump distance"),
                                               QStringLiteral("overflow")});
    return MeasuredJump{{markX, markY}, *survey, RoundJump(d, tenthsOfFeet)};
}

void ApplyMeasuredJump(MeasureState& state, const MeasuredJump& jump)
{
    state.landingScreenX = jump.landingScreen.x;
    state.landingScreenY = jump.landingScreen.y;
    state.landingSurveyX = jump.landingSurvey.x;
    state.landingSurveyY = jump.landingSurvey.y;
    state.preciseDistanceText = jump.rounded.preciseDistanceText;
    state.distance = jump.rounded.metresText + QLatin1Char('m');
    state.distance_ft = jump.rounded.feetText + QStringLiteral("ft");
}

QString ResultLine(const MeasureState& s, bool barefootMode, const QDateTime& moment)
{
    QString line = DateText(moment.date()) + QLatin1Char(' ') + TimeText(moment.time()) + QLatin1Char(' ');
    line += s.Skier_name + QStringLiteral("  jump ") + s.Jump_no + QStringLiteral(" - ");
    line += s.distance + QStringLiteral("  (IWSF)");
    line += s.distance_ft + QStringLiteral("  (AWSA)");
    if (barefootMode)
        line += QStringLiteral(" BAREFOOT ");
    if (s.verifyMode)
        line += QStringLiteral(" UNOFFICIAL JUMP - verify mode ");
    line += s.Comment;
    if (s.selectedOption != StatusOption::Other_Grid) {
        line += QStringLiteral(" (") + NumberText(RoundHalfUp(s.landingSurveyX, 1000)) + QLatin1Char('/')
            + NumberText(RoundHalfUp(s.landingSurveyY, 1000)) + QLatin1Char(')');
        line += QStringLiteral(" (") + NumberText(std::floor(s.landingScreenX)) + QLatin1Char('/')
            + NumberText(std::floor(s.landingScreenY)) + QLatin1Char(')');
        line += QStringLiteral(" (") + s.preciseDistanceText + QLatin1Char(')');
    }
    return line;
}

QString ResultsFileFailureMessage(const FileError& error)
{
    return QStringLiteral("The jump was not recorded: the results file %1 could not be written (%2). "
                          "Check the Save Video Directory in the configuration screen.")
        .arg(error.path, error.reason);
}

RecordingOutcome RecordJump(MeasureState& state, const RecordingContext& context)
{
    // Everything is worked out on a copy; the screen's state changes only
    // once the result line is safely in the results file.
    MeasureState next = state;
    bool advanceJumpNumber = false;
    bool passOrFall = false;
    ExchangeTexts exchangeTexts;

    if (isPassOrFall(next.selectedOption)) {
        next.distance.clear();
        next.distance_ft.clear();
        if (!next.frameFrozen) {
            advanceJumpNumber = true;
            deselectPassAndFall(next);
        }
        passOrFall = true;
    }

    if (next.selectedOption == StatusOption::Other_Grid) {
        exchangeTexts = askOtherGridDistances(next, context.dialogs);
        if (!next.frameFrozen)
            advanceJumpNumber = true;
    }

    if (next.selectedOption != StatusOption::Other_Grid && !passOrFall) {
        // Without a click the mark is wherever the last picture left it, or
        // the corner of the screen: a believable distance nobody measured.
        if (!next.markPlaced) {
            context.dialogs.message(NoLandingPointMessage(), {}, OperatorDialogs::Icon::Warning);
            return {};
        }
        const auto measured = MeasureJump(context.calibration.coefficients, context.calibration.jumpX,
                                          context.calibration.jumpY, next.markX, next.markY,
                                          context.config.tournamentType(), next.barefootIndicatorVisible);
        if (!measured) {
            context.dialogs.message(measured.error().message(), {}, OperatorDialogs::Icon::Critical);
            return {};
        }
        ApplyMeasuredJump(next, *measured);
        exchangeTexts = {measured->rounded.metresText, measured->rounded.feetText};
    }

    const QDateTime now = context.clock.now();
    const QString line = ResultLine(next, context.config.barefootMode, now);
    if (auto appended = AppendLines(context.config.resultsFilePath, {line}); !appended) {
        context.dialogs.message(ResultsFileFailureMessage(appended.error()), {}, OperatorDialogs::Icon::Critical);
        return {};
    }

    if (context.scoringLinkOn) {
        const ExchangeResult result{ExchangeStatusFromComment(next.Comment), exchangeTexts.metres,
                                    exchangeTexts.feet, next.Jump_no, next.Skier_name, now.time()};
        if (auto written = context.exchange.writeResultFiles(result); !written)
            context.dialogs.message(ExchangeDirectory::writeFailureMessage(written.error()));
    }

    next.commentVisible = false;
    if (advanceJumpNumber)
        next.Jump_no = NextJumpNumber(next.Jump_no);

    RecordingOutcome outcome;
    outcome.recorded = true;
    outcome.resultLine = line;
    outcome.offerFrozenPictureSave = next.frameFrozen && next.selectedOption != StatusOption::Other_Grid
        && !isPassOrFall(next.selectedOption);

    if (next.selectedOption == StatusOption::Other_Grid)
        next.selectedOption = StatusOption::None;
    next.Comment.clear();
    context.exchange.deleteConsumedPictures();

    state = next;
    return outcome;
}

QString NoLandingPointMessage()
{
    return QStringLiteral("No landing point has been clicked on this picture. Click where the skis first touch "
                          "the water, then press Record Jump. Nothing was recorded.");
}
