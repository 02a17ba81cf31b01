#pragma once

#include "common/textfile.h"
#include "grid/transform.h"

#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QLineF>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <array>
#include <expected>
#include <optional>

class OperatorDialogs;
struct CalibrationState;
struct ConfigState;
struct GridContext;
struct GridSetupFields;

// The accuracy check lays a 7 x 7 mesh over the screen quadrilateral of the
// four corner buoys and measures, at every node, how many metres of jump
// distance one pixel of mouse movement is worth there.
//
// Nodes and labels are numbered column by column: item i = 7 c + r, column c
// 0..6 left to right, row r 0..6 top to bottom. Item 0 is the upper-left
// buoy, 6 the lower-left, 42 the upper-right, 48 the lower-right.
inline constexpr int accuracyMeshSide = 7;
inline constexpr int accuracyItemCount = accuracyMeshSide * accuracyMeshSide;

constexpr int AccuracyItem(int column, int row)
{
    return accuracyMeshSide * column + row;
}

// optStandardAccuracy / optAdvancedAccuracy.
enum class AccuracyMode {
    Standard, // one skier path line, labelled with homologation levels
    Advanced, // all 49 labels
};

// What each label says: optHomolgationLevel ("R", "L", "C", "NH"),
// optDisplayDistance (jump distance to a tenth) or optDetailMeasurement
// (metres per pixel to a hundredth).
enum class AccuracyLabelKind { HomologationLevel, Distance, Detail };

// Screen points of the nodes, item 7 c + r.
using AccuracyMesh = std::array<ScreenPoint, accuracyItemCount>;

// The bilinear mesh of the screen quadrilateral (linear in screen twips, not
// on the water): the left edge from upper-left to lower-left and the right
// edge from upper-right to lower-right cut in six, then every row cut in six
// between its two edge nodes. Corner nodes are the buoys themselves.
AccuracyMesh BuildAccuracyMesh(ScreenPoint upperLeft, ScreenPoint upperRight, ScreenPoint lowerLeft,
                               ScreenPoint lowerRight);

// The mesh of the corner boxes of the set-up screen (upper_left_x ...
// lower_right_y), read leniently: text that is not a number reads as 0.
AccuracyMesh AccuracyMeshFromFields(const GridSetupFields& fields);

// Metres of jump distance per pixel at a node: the larger of the changes one
// pixel to the right (dH) and one pixel down (dV) make. A tie takes the
// horizontal change (the value is the same).
double AccuracyDelta(double d0, double dH, double dV);

// Homologation level of a node, thresholds strict: delta <= 0.1 "R",
// <= 0.15 "L", <= 0.2 "C", above "NH".
QString HomologationLevel(double delta);

// A label's caption: the level letter, NumberText(floor(d0 * 10 + 0.5) / 10)
// or NumberText(floor(delta * 100 + 0.5) / 100).
QString AccuracyLabelText(AccuracyLabelKind kind, double d0, double delta);

// The three distances of one node and what follows from them.
struct AccuracyNode {
    ScreenPoint at;
    double d0 = 0.0; // jump distance at the node
    double dH = 0.0; // one pixel to the right
    double dV = 0.0; // one pixel down
    double delta = 0.0;
    SurveyPoint below; // survey point of the node one pixel down, as the report prints it
};

// d0, dH and dV with distance_calculation, in that order, so the working
// registers end with the survey point one pixel below the node. Fails on a
// zero denominator or on a value too large to print to the hundredth; the
// registers then hold whatever the evaluations before the fault left.
std::expected<AccuracyNode, ArithmeticFault> MeasureAccuracyNode(CalibrationState& calibration, ScreenPoint at,
                                                                 TournamentType type);

// One report line of a node: "xpix: ", "  ypix: ", "  x: ", "  y: ",
// "  distance: ", "  v inc: ", "  h inc: ", "  delta: " each followed by its
// number (pixels cut to whole twips, the rest to hundredths, halves up).
// "v inc" and "h inc" are the distances one pixel down and right, not their
// differences from the node's distance.
QString AccuracyReportLine(const AccuracyNode& node);

// The 25 header lines of a check: date and time, the set-up file and
// description, grid number, the front and back ratios of the last
// grid_check, the corner and jump lines as the solve report writes them,
// the check buoy's screen position and its survey boxes.
QStringList AccuracyHeaderLines(const GridSetupFields& fields, const CalibrationState& calibration,
                                const QDateTime& now);

// The last two lines of a complete check: "Accuracy Check Complete" and an
// empty line.
QStringList AccuracyFooterLines();

// The day's accuracy file name: month + "acc" + day + ".txt" (12acc07.txt on
// 7 December).
QString AccuracyFileName(const QDate& date);

// One AccuracyIndicator or LineLabel label of the set-up screen.
struct AccuracyLabel {
    QString caption;
    QPointF topLeft; // twips on the frame
    bool visible = false;

    bool operator==(const AccuracyLabel&) const = default;
};

// What one accuracy check produced.
struct AccuracyCheckResult {
    // The label option the labels were made with: the Standard mode always
    // uses the homologation level, and the screen selects
    // optHomolgationLevel to match.
    AccuracyLabelKind labelKind = AccuracyLabelKind::HomologationLevel;
    AccuracyMode mode = AccuracyMode::Advanced;
    AccuracyMesh mesh{};
    // Item 7 c + r: caption, top y + 75, left x of its node. Visible in the
    // Advanced mode; in the Standard mode hidden until a line is chosen
    // (ShowSkierPathLine). Items after a fault keep no caption and are
    // hidden, so no label of an earlier check is left standing among them.
    std::array<AccuracyLabel, accuracyItemCount> items{};
    QColor labelColor;  // the configured label colour
    QString filePath;   // the accuracy file appended to
    QStringList lines;  // exactly what was appended to it
    int nodesMeasured = 0; // 49 unless a fault ended the check
    std::optional<ArithmeticFault> fault; // the fault that ended the check
    ScreenPoint faultAt; // the node of the fault
};

// Builds the mesh from the corner boxes, measures every node column by column
// (top to bottom within a column), and appends the header, one line per node
// and the closing lines to the day's accuracy file in the video directory.
// Does not talk to the operator.
//
// Fails, writing nothing, when the video directory is missing or the file
// cannot be opened or written. An arithmetic fault at a node ends the check
// there: the header and the lines of the nodes before it are still appended
// (without the closing lines), and the result names the fault.
std::expected<AccuracyCheckResult, FileError> RunAccuracyCheck(CalibrationState& calibration,
                                                               const GridSetupFields& fields,
                                                               const ConfigState& config, AccuracyMode mode,
                                                               AccuracyLabelKind labelKind, const QDateTime& now);

// The check behind btnAccuracyCheck: RunAccuracyCheck with the context's
// state and clock, and the operator told of a failure. When the file cannot
// be written the operator is told which file and why and nothing is
// returned: no label should change. When a fault ended the check the
// operator is told where, and the result (with its fault) is returned so the
// screen shows the labels that were measured.
std::optional<AccuracyCheckResult> accuracy_check(GridContext& context, AccuracyMode mode,
                                                  AccuracyLabelKind labelKind);

// The operator's text for a fault that ended a check at a node.
QString AccuracyFaultMessage(const AccuracyCheckResult& result);

// Where that fault happened: "xpix 4665, ypix 4061", or, for a node whose
// screen position overflowed (corners too far apart), its row and column in
// the mesh.
QString AccuracyFaultPlace(const AccuracyCheckResult& result);

// The Standard mode's drawing before the question: for each row r a line from
// node (0, r) to node (6, r), and LineLabel item r (caption r + 1) at left =
// x of node (6, r) + 30, top = y of node (6, r) - 90, visible. Both in the
// label colour.
struct SkierPathLines {
    std::array<QLineF, accuracyMeshSide> rows{};
    std::array<AccuracyLabel, accuracyMeshSide> lineLabels{};
};
SkierPathLines StandardModeLines(const AccuracyMesh& mesh);

// "Pick the line number that best represents where the skier will land"
// (title "Input the skier path line", at 100, 100), asked until the answer
// reads as one of 1..7; cancelling asks again. Returns the line.
int AskSkierPathLine(OperatorDialogs& dialogs);

// The AccuracyIndicator items of line 1..7 (row line - 1), left to right:
// line - 1, line + 6, ..., line + 41.
std::array<int, accuracyMeshSide> AccuracyItemsOfLine(int line);

// Makes the labels of the chosen line visible and hides the others.
void ShowSkierPathLine(AccuracyCheckResult& result, int line);
