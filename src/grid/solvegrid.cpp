#include "grid/solvegrid.h"

#include "app/configstate.h"
#include "common/numbertext.h"
#include "common/operatordialogs.h"
#include "common/val.h"
#include "grid/calibrationstate.h"
#include "grid/gridcontext.h"
#include "grid/gridfile.h"
#include "grid/gridscreeneffects.h"
#include "grid/gridsetupfields.h"
#include "grid/setupreport.h"

#include <QList>

#include <cmath>
#include <numbers>
#include <utility>

namespace {

using Icon = OperatorDialogs::Icon;
using Buttons = OperatorDialogs::Buttons;

const QString errorTitle = QStringLiteral("Error Message");

// How far the marked check buoy may stand from where the transform puts it,
// in x and in y: 1.5 pixels of 15 twips.
constexpr double checkBuoyToleranceTwips = 22.5;
// How far a solved transform may put a corner from its surveyed point: far
// above rounding (about 1e-12 m), far below what a pixel is worth on the water.
constexpr double cornerToleranceMetres = 0.001;
// The step up the frame whose water direction gives a buoy's ray: 3 pixels.
constexpr double rayStepTwips = 45.0;

// A corner's screen box still shows what the screen put there before a buoy
// was placed; the form writes one of them with a leading blank.
bool holdsAuto(const QString& text)
{
    return text == QLatin1String("auto") || text == QLatin1String(" auto");
}

// True while any box still holds its placeholder: a corner not yet placed or
// a survey, jump or check-buoy value not yet typed.
bool anyPlaceholderLeft(const GridSetupFields& f)
{
    for (const QString* box : {&f.upper_left_x, &f.upper_left_y, &f.upper_right_x, &f.upper_right_y,
                               &f.lower_left_x, &f.lower_left_y, &f.lower_right_x, &f.lower_right_y}) {
        if (holdsAuto(*box))
            return true;
    }
    for (const QString* box : {&f.ul_survey_x, &f.ul_survey_y, &f.ur_survey_x, &f.ur_survey_y,
                               &f.ll_survey_x, &f.ll_survey_y, &f.lr_survey_x, &f.lr_survey_y}) {
        if (*box == QLatin1String("input"))
            return true;
    }
    return f.jump_x == QLatin1String("jump x") || f.jump_y == QLatin1String("jump y")
        || f.txtCheckX == QLatin1String("CheckX") || f.txtCheckY == QLatin1String("CheckY");
}

void showFault(GridContext& context, const ArithmeticFault& fault)
{
    context.dialogs.message(fault.message(), errorTitle, Icon::Critical, Buttons::Ok);
}

void showIncomplete(GridContext& context)
{
    context.dialogs.message(QStringLiteral("Warning - Not all parameters have been set up on grid"), errorTitle,
                            Icon::Warning, Buttons::Ok);
}

// Ratios of the corner boxes to the picture width. Returns false (after
// telling the operator) when they cannot be computed; the registers then keep
// their previous values.
bool checkRatios(GridContext& context)
{
    const GridSetupFields& f = context.fields;
    const double width = Val(context.calibration.pictureWidth);
    const QString where = QStringLiteral("computing the front and back ratios");
    if (width == 0.0) {
        showFault(context, ArithmeticFault{where, QStringLiteral("division by zero")});
        return false;
    }
    const double front = std::abs(Val(f.lower_right_x) - Val(f.lower_left_x)) * 100 / width;
    const double back = std::abs(Val(f.upper_right_x) - Val(f.upper_left_x)) * 100 / width;
    if (!std::isfinite(front) || !std::isfinite(back)) {
        showFault(context, ArithmeticFault{where, QStringLiteral("overflow")});
        return false;
    }
    context.calibration.frontRatio = front;
    context.calibration.backRatio = back;

    // The operator is told to aim for 85; only below 80 is the view too wide
    // to measure well.
    if (front < 80) {
        context.dialogs.message(QStringLiteral("Front ratio is ") + NumberText(std::floor(front))
                                    + QStringLiteral("%  Zoom camera in until front is > 85%"),
                                {}, Icon::None, Buttons::Ok);
    }
    return true;
}

// Closing step of every solve that gets past the first screen checks: the
// report into the day's results file, then the ratios. Returns false when the
// ratios could not be computed.
bool reportAndCheck(GridContext& context)
{
    AppendSetupReport(SetupReportWriter::SolveGrid, context);
    return checkRatios(context);
}

// Angle in degrees of the water ray under the screen point (x, y).
std::expected<double, ArithmeticFault> rayAngleDegrees(const Coefficients& c, double x, double y)
{
    const auto near = screen_to_survey(c, x, y);
    if (!near)
        return std::unexpected(near.error());
    const auto far = screen_to_survey(c, x, y - rayStepTwips);
    if (!far)
        return std::unexpected(far.error());
    const QString where = QStringLiteral("measuring the field of view");
    const double dY = far->y - near->y;
    if (dY == 0.0)
        return std::unexpected(ArithmeticFault{where, QStringLiteral("division by zero")});
    const double slope = (far->x - near->x) / dY;
    if (!std::isfinite(slope))
        return std::unexpected(ArithmeticFault{where, QStringLiteral("overflow")});
    return std::atan(slope) * 180 / std::numbers::pi;
}

// The corners as the operator names them, in slot order.
const char* const cornerNames[] = {"upper right", "lower right", "upper left", "lower left"};

// The values a ready grid is saved with, named as the operator knows them,
// in the order of the set-up file and then its check-buoy file.
QList<std::pair<QString, double>> storedValues(const CalibrationState& c)
{
    QList<std::pair<QString, double>> values;
    for (std::size_t i = 0; i < c.liveCorners.size(); ++i) {
        const QString name = QStringLiteral("the ") + QLatin1String(cornerNames[i]);
        const GridCorner& corner = c.liveCorners[i];
        values.append({name + QStringLiteral(" screen x"), corner.screenX});
        values.append({name + QStringLiteral(" screen y"), corner.screenY});
        values.append({name + QStringLiteral(" survey X"), corner.surveyX});
        values.append({name + QStringLiteral(" survey Y"), corner.surveyY});
    }
    for (std::size_t i = 0; i < c.coefficients.size(); ++i)
        values.append({QStringLiteral("coefficient c") + QString::number(i + 1), c.coefficients[i]});
    values.append({QStringLiteral("the jump survey X"), c.jumpX});
    values.append({QStringLiteral("the jump survey Y"), c.jumpY});
    values.append({QStringLiteral("the check buoy screen x"), c.checkScreenX});
    values.append({QStringLiteral("the check buoy screen y"), c.checkScreenY});
    values.append({QStringLiteral("the check buoy survey X"), c.checkSurveyX});
    values.append({QStringLiteral("the check buoy survey Y"), c.checkSurveyY});
    return values;
}

// A jump measured at the check buoy and at each corner, with the figures a
// result line scales it to (survey point x 1000, distance x 10000) finite.
// A grid that cannot measure at its own buoys measures nowhere on the
// picture, although it would look ready.
std::expected<void, ArithmeticFault> measuresAtItsBuoys(const CalibrationState& c, TournamentType type)
{
    QList<std::pair<QString, ScreenPoint>> points{
        {QStringLiteral("the check buoy"), {c.checkScreenX, c.checkScreenY}}};
    for (std::size_t i = 0; i < c.liveCorners.size(); ++i)
        points.append({QStringLiteral("the ") + QLatin1String(cornerNames[i]) + QStringLiteral(" buoy"),
                       {c.liveCorners[i].screenX, c.liveCorners[i].screenY}});
    for (const auto& [name, at] : points) {
        const QString where = QStringLiteral("measuring a jump at ") + name;
        const auto survey = screen_to_survey(c.coefficients, at.x, at.y);
        if (!survey)
            return std::unexpected(ArithmeticFault{where, survey.error().what});
        const double d = JumpDistanceFromSurvey(c.jumpX, c.jumpY, *survey, type);
        if (!std::isfinite(d * 10000) || !std::isfinite(survey->x * 1000) || !std::isfinite(survey->y * 1000))
            return std::unexpected(ArithmeticFault{where, QStringLiteral("overflow")});
    }
    return {};
}

} // namespace

std::expected<Coefficients, EliminationFailure> SolveCoefficients(const Corners& corners)
{
    constexpr int n = 8;
    double a[n][n + 1] = {};
    for (int k = 0; k < 4; ++k) {
        const GridCorner& corner = corners[static_cast<std::size_t>(k)];
        const double x = corner.screenX, y = corner.screenY, sx = corner.surveyX, sy = corner.surveyY;
        double* xRow = a[k];
        xRow[0] = 1;
        xRow[1] = x;
        xRow[2] = y;
        xRow[3] = -x * sx;
        xRow[4] = -y * sx;
        xRow[8] = sx;
        double* yRow = a[k + 4];
        yRow[3] = -x * sy;
        yRow[4] = -y * sy;
        yRow[5] = 1;
        yRow[6] = x;
        yRow[7] = y;
        yRow[8] = sy;
    }

    for (int k = 0; k < n; ++k) {
        // The first usable row, not the largest: grids solved before must
        // give the same coefficients to the last digit.
        int pivot = k;
        while (pivot < n && a[pivot][k] == 0.0)
            ++pivot;
        if (pivot == n)
            return std::unexpected(EliminationFailure::NoPivot);
        if (pivot != k) {
            for (int j = 0; j <= n; ++j)
                std::swap(a[k][j], a[pivot][j]);
        }
        const double reciprocal = 1 / a[k][k];
        for (int j = 0; j <= n; ++j)
            a[k][j] = a[k][j] * reciprocal;
        for (int i = 0; i < n; ++i) {
            if (i == k)
                continue;
            const double m = -a[i][k];
            for (int j = 0; j <= n; ++j)
                a[i][j] = a[k][j] * m + a[i][j];
        }
    }

    Coefficients c{};
    for (int j = 0; j < n; ++j) {
        c[static_cast<std::size_t>(j)] = a[j][n];
        if (!std::isfinite(a[j][n]))
            return std::unexpected(EliminationFailure::NotFinite);
    }
    for (const GridCorner& corner : corners) {
        const auto back = screen_to_survey(c, corner.screenX, corner.screenY);
        if (!back || !(std::abs(back->x - corner.surveyX) <= cornerToleranceMetres)
            || !(std::abs(back->y - corner.surveyY) <= cornerToleranceMetres))
            return std::unexpected(EliminationFailure::Degenerate);
    }
    return c;
}

std::expected<double, ArithmeticFault> FieldOfViewDegrees(const Coefficients& c, ScreenPoint lowerLeft,
                                                          ScreenPoint lowerRight)
{
    const auto left = rayAngleDegrees(c, lowerLeft.x, lowerLeft.y);
    if (!left)
        return left;
    const auto right = rayAngleDegrees(c, lowerRight.x, lowerRight.y);
    if (!right)
        return right;
    // Signed on purpose: rays turned the other way give a negative angle,
    // which never counts as too wide.
    return *left - *right;
}

double ReportedFieldOfView(double fovDegrees)
{
    return std::floor(fovDegrees * 10 + 15) / 10;
}

SolveOutcome solve_grid(GridContext& context)
{
    GridSetupFields& fields = context.fields;
    CalibrationState& calibration = context.calibration;
    // A solve that already failed keeps naming its first failure; a ready
    // grid whose ratios could not be computed reports the fault.
    const auto finish = [&context](SolveOutcome outcome) {
        const bool ratiosDone = reportAndCheck(context);
        return ratiosDone || outcome != SolveOutcome::Ready ? outcome : SolveOutcome::ArithmeticFault;
    };

    context.screens.setSetupStatusPicture(false);

    if (anyPlaceholderLeft(fields)) {
        showIncomplete(context);
        return finish(SolveOutcome::Incomplete);
    }
    if (Val(fields.txtCheckXpix) == 0.0) {
        context.dialogs.message(QStringLiteral("Setup of Check Buoy is Mandatory"), {}, Icon::None, Buttons::Ok);
        showIncomplete(context);
        return finish(SolveOutcome::CheckBuoyMissing);
    }

    context.screens.setAccuracyControlsVisible(true);
    context.screens.clearDrawing();
    context.screens.hideCheckBuoyHint();

    // The elimination works on its own copy: a grid that cannot be solved
    // keeps the transform it had, rather than half-eliminated numbers that
    // every later mapping would use.
    const auto solved = SolveCoefficients(calibration.liveCorners);
    if (!solved && solved.error() != EliminationFailure::NotFinite) {
        context.dialogs.message(QStringLiteral("No Unique Solution - Re-enter data"), errorTitle, Icon::Warning,
                                Buttons::Ok);
        return finish(SolveOutcome::Singular);
    }
    if (!solved) {
        showFault(context, ArithmeticFault{QStringLiteral("solving the grid"), QStringLiteral("overflow")});
        return SolveOutcome::ArithmeticFault;
    }
    calibration.coefficients = *solved;

    // The check buoy was not used in the solution, so it shows whether the
    // corners were placed and surveyed consistently.
    const auto predicted = survey_to_screen(calibration.coefficients, Val(fields.txtCheckX), Val(fields.txtCheckY));
    if (!predicted) {
        showFault(context, predicted.error());
        return SolveOutcome::ArithmeticFault;
    }
    const double offX = std::abs(Val(fields.txtCheckXpix) - predicted->x);
    const double offY = std::abs(Val(fields.txtCheckYpix) - predicted->y);
    if (!(offX <= checkBuoyToleranceTwips && offY <= checkBuoyToleranceTwips)) {
        context.dialogs.message(QStringLiteral("Check Buoy Does not Validate"), {}, Icon::None, Buttons::Ok);
        context.screens.showCheckBuoyHint(*predicted);
        return SolveOutcome::CheckBuoyFails;
    }

    const auto fov = FieldOfViewDegrees(calibration.coefficients,
                                        {Val(fields.lower_left_x), Val(fields.lower_left_y)},
                                        {Val(fields.lower_right_x), Val(fields.lower_right_y)});
    if (!fov) {
        showFault(context, fov.error());
        return SolveOutcome::ArithmeticFault;
    }
    const double reported = ReportedFieldOfView(*fov);
    if (reported > maxFieldOfViewDegrees) {
        context.dialogs.message(QStringLiteral("Setup is not valid, Field of View is ") + NumberText(reported)
                                    + QStringLiteral(" degrees where the maximum allowed is 35 degrees"),
                                {}, Icon::None, Buttons::Ok);
        return SolveOutcome::FieldOfViewTooWide;
    }

    // A grid reported ready must come back from its own set-up file: a
    // value the file cannot hold would make the saved grid unloadable.
    for (const auto& [name, value] : storedValues(calibration)) {
        if (!FilePrintReadsBack(value)) {
            context.dialogs.message(QStringLiteral("Setup is not valid, ") + name
                                        + QStringLiteral(" is too large to be saved in a set-up file"),
                                    {}, Icon::None, Buttons::Ok);
            return SolveOutcome::NotStorable;
        }
    }
    if (const auto measured = measuresAtItsBuoys(calibration, context.config.tournamentType()); !measured) {
        showFault(context, measured.error());
        return SolveOutcome::ArithmeticFault;
    }

    const int n = fields.selectedGrid();
    context.screens.setSetupStatusPicture(true);
    calibration.setReady(n, true);
    calibration.currentGrid = n;
    context.screens.setMainGridPicture(n, true);
    context.screens.setMainGridDescription(n, QStringLiteral("not saved"));

    GridRecord& record = calibration.grid(n);
    record.setupFilePath = fields.ipt_file_description;
    record.description = fields.ipt_file_description_2;
    record.corners = calibration.liveCorners;
    record.coefficients = calibration.coefficients;
    record.jumpX = calibration.jumpX;
    record.jumpY = calibration.jumpY;
    record.reservedA = 10;
    record.reservedB = 2;
    record.gridNumber = n;
    record.checkScreenX = calibration.checkScreenX;
    record.checkScreenY = calibration.checkScreenY;
    record.checkSurveyX = calibration.checkSurveyX;
    record.checkSurveyY = calibration.checkSurveyY;

    calibration.updateAllGridsReady(context.config.gridCount);
    calibration.surveyDirection = Val(fields.ur_survey_x) < Val(fields.ul_survey_x) ? 1.0 : -1.0;

    // How far the check buoy's click lands from its survey point, in metres:
    // the operator's measure of how well the corners were placed.
    if (const auto clicked = screen_to_survey(calibration.coefficients, Val(fields.txtCheckXpix),
                                              Val(fields.txtCheckYpix))) {
        const double residual
            = std::hypot(clicked->x - Val(fields.txtCheckX), clicked->y - Val(fields.txtCheckY));
        if (std::isfinite(residual))
            context.screens.setSolveSummary(SolveSummaryText(n, residual));
    }
    return finish(SolveOutcome::Ready);
}

QString SolveSummaryText(int grid, double checkResidualMetres)
{
    return QStringLiteral("Grid %1 is ready. The check buoy lies %2 m from its surveyed position.")
        .arg(grid)
        .arg(checkResidualMetres, 0, 'f', 2);
}

void grid_check(GridContext& context)
{
    checkRatios(context);
}
