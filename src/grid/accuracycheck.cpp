#include "grid/accuracycheck.h"

#include "app/configstate.h"
#include "common/clock.h"
#include "common/datetext.h"
#include "common/numbertext.h"
#include "common/operatordialogs.h"
#include "common/paths.h"
#include "common/val.h"
#include "grid/calibrationstate.h"
#include "grid/gridcontext.h"
#include "grid/gridsetupfields.h"
#include "grid/labelcolor.h"
#include "grid/setupreport.h"

#include <cmath>

namespace {

// One pixel of the displayed frame.
constexpr double pixelTwips = 15.0;
constexpr int divisions = accuracyMeshSide - 1;

// The labels hang just below their node.
constexpr double labelDropTwips = 75.0;
// Line numbers stand to the right of, and above, the row's right end.
constexpr double lineLabelRightTwips = 30.0;
constexpr double lineLabelRaiseTwips = 90.0;

const QString blankLine = QStringLiteral(" ");

ScreenPoint between(ScreenPoint from, ScreenPoint to, int step)
{
    // (to - from) * step / 6, x and y separately, as the mesh was always cut.
    return {from.x + (to.x - from.x) * step / divisions, from.y + (to.y - from.y) * step / divisions};
}

double hundredths(double value)
{
    return RoundHalfUp(value, 100);
}

} // namespace

AccuracyMesh BuildAccuracyMesh(ScreenPoint upperLeft, ScreenPoint upperRight, ScreenPoint lowerLeft,
                               ScreenPoint lowerRight)
{
    std::array<ScreenPoint, accuracyMeshSide> left{};
    std::array<ScreenPoint, accuracyMeshSide> right{};
    left[0] = upperLeft;
    left[divisions] = lowerLeft;
    right[0] = upperRight;
    right[divisions] = lowerRight;
    for (int r = 1; r < divisions; ++r) {
        left[r] = between(upperLeft, lowerLeft, r);
        right[r] = between(upperRight, lowerRight, r);
    }

    AccuracyMesh mesh{};
    for (int r = 0; r < accuracyMeshSide; ++r) {
        mesh[AccuracyItem(0, r)] = left[r];
        mesh[AccuracyItem(divisions, r)] = right[r];
        for (int c = 1; c < divisions; ++c)
            mesh[AccuracyItem(c, r)] = between(left[r], right[r], c);
    }
    return mesh;
}

AccuracyMesh AccuracyMeshFromFields(const GridSetupFields& f)
{
    return BuildAccuracyMesh({Val(f.upper_left_x), Val(f.upper_left_y)}, {Val(f.upper_right_x), Val(f.upper_right_y)},
                             {Val(f.lower_left_x), Val(f.lower_left_y)},
                             {Val(f.lower_right_x), Val(f.lower_right_y)});
}

double AccuracyDelta(double d0, double dH, double dV)
{
    const double horizontal = std::abs(dH - d0);
    const double vertical = std::abs(dV - d0);
    return vertical > horizontal ? vertical : horizontal;
}

QString HomologationLevel(double delta)
{
    if (delta <= 0.1)
        return QStringLiteral("R");
    if (delta <= 0.15)
        return QStringLiteral("L");
    if (delta <= 0.2)
        return QStringLiteral("C");
    return QStringLiteral("NH");
}

QString AccuracyLabelText(AccuracyLabelKind kind, double d0, double delta)
{
    switch (kind) {
    case AccuracyLabelKind::HomologationLevel:
        return HomologationLevel(delta);
    case AccuracyLabelKind::Distance:
        return NumberText(RoundHalfUp(d0, 10));
    case AccuracyLabelKind::Detail:
        break;
    }
    return NumberText(hundredths(delta));
}

std::expected<AccuracyNode, ArithmeticFault> MeasureAccuracyNode(CalibrationState& calibration, ScreenPoint at,
                                                                 TournamentType type)
{
    AccuracyNode node;
    node.at = at;
    // The order matters: the last evaluation leaves its survey point in the
    // working registers, and the report prints that one.
    const auto d0 = distance_calculation(calibration, at.x, at.y, type);
    if (!d0)
        return std::unexpected(d0.error());
    const auto dH = distance_calculation(calibration, at.x + pixelTwips, at.y, type);
    if (!dH)
        return std::unexpected(dH.error());
    const auto dV = distance_calculation(calibration, at.x, at.y + pixelTwips, type);
    if (!dV)
        return std::unexpected(dV.error());
    node.d0 = *d0;
    node.dH = *dH;
    node.dV = *dV;
    node.delta = AccuracyDelta(node.d0, node.dH, node.dV);
    node.below = {calibration.surveyX, calibration.surveyY};

    // A value this large has no hundredths to print; better stop than write
    // "Inf" into the report.
    for (double v : {node.below.x, node.below.y, node.d0, node.dH, node.dV, node.delta}) {
        if (!std::isfinite(hundredths(v)))
            return std::unexpected(ArithmeticFault{QStringLiteral("checking the accuracy"), QStringLiteral("overflow")});
    }
    return node;
}

QString AccuracyReportLine(const AccuracyNode& n)
{
    return QStringLiteral("xpix: ") + NumberText(std::floor(n.at.x)) + QStringLiteral("  ypix: ")
        + NumberText(std::floor(n.at.y)) + QStringLiteral("  x: ") + NumberText(hundredths(n.below.x))
        + QStringLiteral("  y: ") + NumberText(hundredths(n.below.y)) + QStringLiteral("  distance: ")
        + NumberText(hundredths(n.d0)) + QStringLiteral("  v inc: ") + NumberText(hundredths(n.dV))
        + QStringLiteral("  h inc: ") + NumberText(hundredths(n.dH)) + QStringLiteral("  delta: ")
        + NumberText(hundredths(n.delta));
}

QStringList AccuracyHeaderLines(const GridSetupFields& fields, const CalibrationState& calibration,
                                const QDateTime& now)
{
    QStringList lines{
        DateText(now.date()) + QStringLiteral("  ") + TimeText(now.time()) + QStringLiteral(" Accuracy Check"),
        QStringLiteral("Grid Set-up for accuracy check"),
        fields.ipt_file_description,
        fields.ipt_file_description_2,
        QStringLiteral("Grid Number: ") + FilePrintNumber(calibration.currentGrid),
        blankLine,
        QStringLiteral("Front Ratio: ") + NumberText(std::floor(calibration.frontRatio)),
        QStringLiteral("Back Ratio: ") + NumberText(std::floor(calibration.backRatio)),
    };
    lines += SetupReportCornerLines(SetupReportWriter::SolveGrid, fields);
    lines << CheckBuoyPixelsLine(calibration.checkScreenX, calibration.checkScreenY)
          << QStringLiteral("Check Buoy X,Y Survey: ") + fields.txtCheckX + QStringLiteral("  ") + fields.txtCheckY
          << blankLine;
    return lines;
}

QStringList AccuracyFooterLines()
{
    return {QStringLiteral("Accuracy Check Complete"), QString()};
}

QString AccuracyFileName(const QDate& date)
{
    return QStringLiteral("%1acc%2.txt")
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

std::expected<AccuracyCheckResult, FileError> RunAccuracyCheck(CalibrationState& calibration,
                                                               const GridSetupFields& fields,
                                                               const ConfigState& config, AccuracyMode mode,
                                                               AccuracyLabelKind labelKind, const QDateTime& now)
{
    AccuracyCheckResult result;
    result.mode = mode;
    result.labelKind = mode == AccuracyMode::Standard ? AccuracyLabelKind::HomologationLevel : labelKind;
    result.labelColor = LabelColor(config.labelColorName);
    result.filePath = JoinPath(config.videoDirectory, AccuracyFileName(now.date()));

    // An empty or vanished video directory would put the file wherever the
    // current directory happens to be.
    if (!PathExistsByKind(config.videoDirectory, 1))
        return std::unexpected(FileError{result.filePath, QStringLiteral("the video directory does not exist")});

    result.mesh = AccuracyMeshFromFields(fields);
    result.lines = AccuracyHeaderLines(fields, calibration, now);
    const TournamentType type = config.tournamentType();
    const bool showAll = mode == AccuracyMode::Advanced;

    for (int i = 0; i < accuracyItemCount; ++i) {
        const ScreenPoint at = result.mesh[i];
        const auto node = MeasureAccuracyNode(calibration, at, type);
        if (!node) {
            result.fault = node.error();
            result.faultAt = at;
            break;
        }
        result.lines << AccuracyReportLine(*node);
        result.items[i] = AccuracyLabel{AccuracyLabelText(result.labelKind, node->d0, node->delta),
                                        QPointF(at.x, at.y + labelDropTwips), showAll};
        ++result.nodesMeasured;
    }
    if (!result.fault)
        result.lines += AccuracyFooterLines();

    if (auto written = AppendLines(result.filePath, result.lines); !written)
        return std::unexpected(written.error());
    return result;
}

QString AccuracyFaultPlace(const AccuracyCheckResult& result)
{
    const ScreenPoint at = result.faultAt;
    if (std::isfinite(at.x) && std::isfinite(at.y))
        return QStringLiteral("xpix") + NumberText(std::floor(at.x)) + QStringLiteral(", ypix")
            + NumberText(std::floor(at.y));
    // "ypix-Inf" says nothing to the operator; the node's place in the mesh
    // does. The check stopped at the node after the last one measured.
    const int node = result.nodesMeasured;
    return QStringLiteral("the mesh point in row %1, column %2, whose screen position is out of range")
        .arg(node % accuracyMeshSide + 1)
        .arg(node / accuracyMeshSide + 1);
}

QString AccuracyFaultMessage(const AccuracyCheckResult& result)
{
    if (!result.fault)
        return {};
    return QStringLiteral("Calculation error (") + result.fault->what
        + QStringLiteral(") while checking the accuracy at ") + AccuracyFaultPlace(result)
        + QStringLiteral(". The check stopped there; the lines before it are in ") + result.filePath
        + QStringLiteral(".");
}

std::optional<AccuracyCheckResult> accuracy_check(GridContext& context, AccuracyMode mode, AccuracyLabelKind labelKind)
{
    auto result = RunAccuracyCheck(context.calibration, context.fields, context.config, mode, labelKind,
                                   context.clock.now());
    if (!result) {
        context.dialogs.message(result.error().describe(QStringLiteral("Cannot write the accuracy check to")),
                                QStringLiteral("Error Message"), OperatorDialogs::Icon::Warning);
        return std::nullopt;
    }
    if (result->fault) {
        context.dialogs.message(AccuracyFaultMessage(*result), QStringLiteral("Error Message"),
                                OperatorDialogs::Icon::Warning);
    }
    return std::move(*result);
}

SkierPathLines StandardModeLines(const AccuracyMesh& mesh)
{
    SkierPathLines lines;
    for (int r = 0; r < accuracyMeshSide; ++r) {
        const ScreenPoint from = mesh[AccuracyItem(0, r)];
        const ScreenPoint to = mesh[AccuracyItem(divisions, r)];
        lines.rows[r] = QLineF(from.x, from.y, to.x, to.y);
        lines.lineLabels[r] = AccuracyLabel{QString::number(r + 1),
                                            QPointF(to.x + lineLabelRightTwips, to.y - lineLabelRaiseTwips), true};
    }
    return lines;
}

int AskSkierPathLine(OperatorDialogs& dialogs)
{
    for (;;) {
        const std::optional<QString> answer
            = dialogs.input(QStringLiteral("Pick the line number that best represents where the skier will land"),
                            QStringLiteral("Input the skier path line"), QString(), QPoint(100, 100));
        if (!answer)
            continue; // cancelling is no answer: ask again
        const double line = Val(*answer);
        for (int candidate = 1; candidate <= accuracyMeshSide; ++candidate) {
            if (line == candidate)
                return candidate;
        }
    }
}

std::array<int, accuracyMeshSide> AccuracyItemsOfLine(int line)
{
    std::array<int, accuracyMeshSide> items{};
    for (int c = 0; c < accuracyMeshSide; ++c)
        items[c] = AccuracyItem(c, line - 1);
    return items;
}

void ShowSkierPathLine(AccuracyCheckResult& result, int line)
{
    for (AccuracyLabel& item : result.items)
        item.visible = false;
    if (line < 1 || line > accuracyMeshSide)
        return;
    for (int i : AccuracyItemsOfLine(line)) {
        // A node the check never reached has no label to show.
        if (i < result.nodesMeasured)
            result.items[i].visible = true;
    }
}
