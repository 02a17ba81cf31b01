#include "app/configstate.h"
#include "app/settingsstore.h"
#include "common/clock.h"
#include "common/numbertext.h"
#include "common/textfile.h"
#include "common/val.h"
#include "grid/calibrationstate.h"
#include "grid/gridcontext.h"
#include "grid/gridscreeneffects.h"
#include "grid/gridsetupfields.h"
#include "grid/solvegrid.h"
#include "grid/transform.h"
#include "support/scripteddialogs.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

namespace {

using Icon = OperatorDialogs::Icon;

const QString incompleteText = QStringLiteral("Warning - Not all parameters have been set up on grid");
const QString appTitle = QStringLiteral("Rampscope Measurement");

// Every screen effect, in order, as a short text.
class RecordingScreens final : public GridScreenEffects {
public:
    QStringList calls;

    void setMainGridPicture(int grid, bool ready) override
    {
        calls << QStringLiteral("main picture %1 %2").arg(grid).arg(ready ? "smiley" : "caution");
    }
    void setMainGridDescription(int grid, const QString& text) override
    {
        calls << QStringLiteral("main description %1 %2").arg(grid).arg(text);
    }
    void setSetupStatusPicture(bool ready) override
    {
        calls << (ready ? QStringLiteral("status ready") : QStringLiteral("status not ready"));
    }
    void setAccuracyControlsVisible(bool visible) override
    {
        calls << (visible ? QStringLiteral("accuracy shown") : QStringLiteral("accuracy hidden"));
    }
    void clearAccuracyIndicator() override { calls << QStringLiteral("clear accuracy"); }
    void clearGridLock() override { calls << QStringLiteral("clear lock"); }
    void clearDrawing() override { calls << QStringLiteral("clear drawing"); }
    void hideCheckBuoyHint() override { calls << QStringLiteral("hide hint"); }
    void showCheckBuoyHint(ScreenPoint p) override
    {
        calls << QStringLiteral("hint") + NumberText(p.x) + NumberText(p.y);
    }
    void setupFieldsChanged() override { calls << QStringLiteral("fields changed"); }
    void setMeasureGridDescription(const QString& text) override { calls << QStringLiteral("measure ") + text; }
};

// Corners in slot order: UpperRight, LowerRight, UpperLeft, LowerLeft.
// A 640 x 480 frame seen from a shore tower, surveyed with X growing to the
// right.
const Corners towerGrid{GridCorner{7500, 2400, 25, 90}, GridCorner{9000, 6600, 25, 30},
                        GridCorner{2000, 2500, -25, 90}, GridCorner{500, 6500, -25, 30}};

// The same view surveyed with X growing to the left.
Corners mirrored(Corners corners)
{
    for (GridCorner& c : corners)
        c.surveyX = -c.surveyX;
    return corners;
}

// A tower view whose far buoys stand closer together on the frame the larger
// farInset is: the wider the camera's angle.
Corners narrowingGrid(double farInset, double sign)
{
    return {GridCorner{9500 - farInset, 2400, 25 * sign, 90}, GridCorner{9000, 6600, 25 * sign, 30},
            GridCorner{farInset, 2500, -25 * sign, 90}, GridCorner{500, 6500, -25 * sign, 30}};
}

// An overhead view in powers of two: the transform and the check buoy's
// place come out exact, so tolerances can be tested to the last bit.
// X = (x - 4096) / 64, Y = (6144 - y) / 64; survey (0, 32) shows at (4096, 4096).
const Corners exactGrid{GridCorner{7168, 2048, 48, 64}, GridCorner{7168, 6144, 48, 0},
                        GridCorner{1024, 2048, -48, 64}, GridCorner{1024, 6144, -48, 0}};

// Any transform: it must survive a solve that fails.
const Coefficients previous{-12.5, 0.0021, 0.0003, 1.2e-6, 3.4e-5, 80.0, 0.0002, -0.0095};

class SolveGridTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    CalibrationState calibration;
    ConfigState config;
    SettingsStore settings{dir.filePath(QStringLiteral("settings.ini"))};
    GridSetupFields fields;
    ScriptedDialogs dialogs;
    RecordingScreens screens;
    FixedClock clock{QDateTime(QDate(2026, 7, 3), QTime(14, 5, 9))};
    GridContext context{calibration, config, settings, fields, dialogs, screens, clock};

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        config.resultsFilePath = dir.filePath(QStringLiteral("JumpMeasurementResults070326.txt"));
        calibration.pictureWidth = QStringLiteral("9600"); // 640 pixels
        calibration.coefficients = previous;
    }

    // What the set-up screen leaves after the operator placed the four
    // markers and typed the survey values.
    void enterCorners(const Corners& corners)
    {
        calibration.liveCorners = corners;
        const auto put = [](QString& x, QString& y, double vx, double vy) {
            x = NumberDigits(vx);
            y = NumberDigits(vy);
        };
        const GridCorner& ur = corners[slotIndex(CornerSlot::UpperRight)];
        const GridCorner& lr = corners[slotIndex(CornerSlot::LowerRight)];
        const GridCorner& ul = corners[slotIndex(CornerSlot::UpperLeft)];
        const GridCorner& ll = corners[slotIndex(CornerSlot::LowerLeft)];
        put(fields.upper_right_x, fields.upper_right_y, ur.screenX, ur.screenY);
        put(fields.lower_right_x, fields.lower_right_y, lr.screenX, lr.screenY);
        put(fields.upper_left_x, fields.upper_left_y, ul.screenX, ul.screenY);
        put(fields.lower_left_x, fields.lower_left_y, ll.screenX, ll.screenY);
        put(fields.ur_survey_x, fields.ur_survey_y, ur.surveyX, ur.surveyY);
        put(fields.lr_survey_x, fields.lr_survey_y, lr.surveyX, lr.surveyY);
        put(fields.ul_survey_x, fields.ul_survey_y, ul.surveyX, ul.surveyY);
        put(fields.ll_survey_x, fields.ll_survey_y, ll.surveyX, ll.surveyY);
    }

    void enterJump(double x, double y)
    {
        calibration.jumpX = x;
        calibration.jumpY = y;
        fields.jump_x = NumberDigits(x);
        fields.jump_y = NumberDigits(y);
    }

    void enterCheckBuoy(double surveyX, double surveyY, double screenX, double screenY)
    {
        calibration.checkSurveyX = surveyX;
        calibration.checkSurveyY = surveyY;
        fields.txtCheckX = NumberDigits(surveyX);
        fields.txtCheckY = NumberDigits(surveyY);
        calibration.checkScreenX = screenX;
        calibration.checkScreenY = screenY;
        fields.txtCheckXpix = NumberDigits(screenX);
        fields.txtCheckYpix = NumberDigits(screenY);
    }

    // The whole grid, with the check buoy marked on the whole twip nearest
    // to where these corners say it shows.
    void enterGrid(const Corners& corners, double checkX = 0, double checkY = 60)
    {
        enterCorners(corners);
        enterJump(0, 0);
        const auto c = SolveCoefficients(corners);
        ASSERT_TRUE(c);
        const auto at = survey_to_screen(*c, checkX, checkY);
        ASSERT_TRUE(at);
        enterCheckBuoy(checkX, checkY, std::round(at->x), std::round(at->y));
    }

    bool reportWritten() const { return QFile::exists(config.resultsFilePath); }

    QByteArray results() const
    {
        QFile file(config.resultsFilePath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    const QStringList stepFour{QStringLiteral("status not ready"), QStringLiteral("accuracy shown"),
                               QStringLiteral("clear drawing"), QStringLiteral("hide hint")};
};

TEST_F(SolveGridTest, TowerGridBecomesReadyAndIsStored)
{
    enterGrid(towerGrid);
    fields.ipt_file_description_2 = QStringLiteral("North tower");
    calibration.surveyDirection = 1;

    EXPECT_EQ(solve_grid(context), SolveOutcome::Ready);

    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.texts().join(u'|').toStdString();
    EXPECT_EQ(screens.calls, (stepFour + QStringList{QStringLiteral("status ready"),
                                                     QStringLiteral("main picture 1 smiley"),
                                                     QStringLiteral("main description 1 not saved")}));
    EXPECT_TRUE(calibration.isReady(1));
    EXPECT_TRUE(calibration.allGridsReady);
    EXPECT_EQ(calibration.currentGrid, 1);
    EXPECT_EQ(calibration.surveyDirection, -1); // UR survey X 25 is not less than UL's -25

    GridRecord expected;
    expected.corners = towerGrid;
    expected.coefficients = calibration.coefficients;
    expected.jumpX = 0;
    expected.jumpY = 0;
    expected.reservedA = 10;
    expected.reservedB = 2;
    expected.gridNumber = 1;
    expected.checkScreenX = 4665; // (0, 60) shows at (4664.6, 4060.7)
    expected.checkScreenY = 4061;
    expected.checkSurveyX = 0;
    expected.checkSurveyY = 60;
    expected.setupFilePath = QStringLiteral("No File");
    expected.description = QStringLiteral("North tower");
    EXPECT_EQ(calibration.grid(1), expected);
    EXPECT_EQ(calibration.grid(2), GridRecord{});

    // 8500 of 9600 twips across the front, 5500 across the back.
    EXPECT_DOUBLE_EQ(calibration.frontRatio, 8500.0 * 100 / 9600);
    EXPECT_DOUBLE_EQ(calibration.backRatio, 5500.0 * 100 / 9600);

    EXPECT_EQ(results(), QByteArray("07-03-2026 14:05:09 New Set-up now in place\r\n"
                                    "No File\r\n"
                                    "North tower\r\n"
                                    "Grid Number:  1 \r\n"
                                    " \r\n"
                                    "Upper Left X,Y Pixels: 2000  2500\r\n"
                                    "Upper Left X,Y Survey: -25  90\r\n"
                                    " \r\n"
                                    "Lower Left X,Y Pixels: 500  6500\r\n"
                                    "Lower Left X,Y Survey: -25  30\r\n"
                                    " \r\n"
                                    "Upper Right X,Y Pixels: 7500  2400\r\n"
                                    "Upper Right X,Y Survey: 25  90\r\n"
                                    " \r\n"
                                    "Lower Right X,Y Pixels: 9000  6600\r\n"
                                    "Lower Right X,Y Survey: 25  30\r\n"
                                    " \r\n"
                                    "Jump X,Y Survey: 0  0\r\n"
                                    " \r\n"
                                    "Check Buoy X,Y Pixels:  4665    4061 \r\n"
                                    "Check Buoy X,Y Survey:  0    60 \r\n"
                                    " \r\n"));
}

class SolvedGridMapsCornersBack : public SolveGridTest, public ::testing::WithParamInterface<Corners> {};

TEST_P(SolvedGridMapsCornersBack, WithinANanometre)
{
    enterGrid(GetParam());
    calibration.pictureWidth = QStringLiteral("1000"); // keep the ratio warning out
    ASSERT_EQ(solve_grid(context), SolveOutcome::Ready) << dialogs.texts().join(u'|').toStdString();
    for (const GridCorner& corner : GetParam()) {
        const auto p = screen_to_survey(calibration.coefficients, corner.screenX, corner.screenY);
        ASSERT_TRUE(p);
        EXPECT_NEAR(p->x, corner.surveyX, 1e-9);
        EXPECT_NEAR(p->y, corner.surveyY, 1e-9);
    }
}

INSTANTIATE_TEST_SUITE_P(Grids, SolvedGridMapsCornersBack,
                         ::testing::Values(towerGrid, mirrored(towerGrid), exactGrid, narrowingGrid(2600, 1),
                                           // Survey far from the origin, as a
                                           // national grid gives it.
                                           Corners{GridCorner{7493, 2411, 512345.25, 6178790.5},
                                                   GridCorner{9012, 6597, 512349.75, 6178731.0},
                                                   GridCorner{2004, 2489, 512300.5, 6178786.25},
                                                   GridCorner{488, 6512, 512304.0, 6178727.5}}));

TEST_F(SolveGridTest, SurveyDirectionIsPlusOneWhenXGrowsToTheLeft)
{
    enterGrid(mirrored(towerGrid));
    calibration.surveyDirection = -1;
    ASSERT_EQ(solve_grid(context), SolveOutcome::Ready);
    EXPECT_EQ(calibration.surveyDirection, 1);
}

TEST_F(SolveGridTest, AllGridsReadyOnlyOnceEveryConfiguredGridIsSolved)
{
    config.gridCount = 2;
    enterGrid(towerGrid);
    fields.grid_select = QStringLiteral("Grid 2");
    ASSERT_EQ(solve_grid(context), SolveOutcome::Ready);
    EXPECT_TRUE(calibration.isReady(2));
    EXPECT_FALSE(calibration.isReady(1));
    EXPECT_FALSE(calibration.allGridsReady);
    EXPECT_EQ(calibration.currentGrid, 2);
    EXPECT_EQ(calibration.grid(2).gridNumber, 2);
    EXPECT_EQ(calibration.grid(1), GridRecord{});
    EXPECT_TRUE(screens.calls.contains(QStringLiteral("main picture 2 smiley")));
    EXPECT_TRUE(screens.calls.contains(QStringLiteral("main description 2 not saved")));
    EXPECT_TRUE(DecodeLines(results()).contains(QStringLiteral("Grid Number:  2 ")));

    fields.grid_select = QStringLiteral("Grid 1");
    ASSERT_EQ(solve_grid(context), SolveOutcome::Ready);
    EXPECT_TRUE(calibration.allGridsReady);
    EXPECT_EQ(calibration.currentGrid, 1);
}

// --- Incomplete boxes ------------------------------------------------------

struct PlaceholderCase {
    const char* field;
    const char* text;
    QStringList laterMessages; // from the closing grid_check
};

void PrintTo(const PlaceholderCase& c, std::ostream* os)
{
    *os << c.field << " = \"" << c.text << '"';
}

class IncompleteTest : public SolveGridTest, public ::testing::WithParamInterface<PlaceholderCase> {};

TEST_P(IncompleteTest, WarnsReportsAndLeavesTheTransformAlone)
{
    enterGrid(towerGrid);
    QString* box = fields.field(QString::fromLatin1(GetParam().field));
    ASSERT_NE(box, nullptr);
    *box = QString::fromLatin1(GetParam().text);

    EXPECT_EQ(solve_grid(context), SolveOutcome::Incomplete);

    EXPECT_EQ(dialogs.texts(), QStringList{incompleteText} + GetParam().laterMessages);
    EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Error Message"));
    EXPECT_EQ(dialogs.shown()[0].icon, Icon::Warning);
    EXPECT_EQ(screens.calls, QStringList{QStringLiteral("status not ready")});
    EXPECT_EQ(calibration.coefficients, previous);
    EXPECT_FALSE(calibration.isReady(1));
    EXPECT_FALSE(calibration.allGridsReady);
    EXPECT_EQ(calibration.grid(1), GridRecord{});
    const QStringList report = DecodeLines(results());
    ASSERT_EQ(report.size(), 22);
    EXPECT_EQ(report[19], QStringLiteral("Check Buoy X,Y Pixels:  4665    4061 "));
}

const QStringList frontWarning5{QStringLiteral("Front ratio is  5%  Zoom camera in until front is > 85%")};

INSTANTIATE_TEST_SUITE_P(
    EveryPlaceholder, IncompleteTest,
    ::testing::Values(PlaceholderCase{"upper_left_x", "auto", {}}, PlaceholderCase{"upper_left_y", "auto", {}},
                      PlaceholderCase{"upper_right_x", "auto", {}},
                      PlaceholderCase{"upper_right_x", " auto", {}},
                      PlaceholderCase{"upper_right_y", " auto", {}},
                      PlaceholderCase{"lower_left_x", "auto", {}}, PlaceholderCase{"lower_left_y", "auto", {}},
                      // The closing ratio check then reads 500 of 9600 twips.
                      PlaceholderCase{"lower_right_x", "auto", frontWarning5},
                      PlaceholderCase{"lower_right_y", "auto", {}},
                      PlaceholderCase{"ul_survey_x", "input", {}}, PlaceholderCase{"ul_survey_y", "input", {}},
                      PlaceholderCase{"ur_survey_x", "input", {}}, PlaceholderCase{"ur_survey_y", "input", {}},
                      PlaceholderCase{"ll_survey_x", "input", {}}, PlaceholderCase{"ll_survey_y", "input", {}},
                      PlaceholderCase{"lr_survey_x", "input", {}}, PlaceholderCase{"lr_survey_y", "input", {}},
                      PlaceholderCase{"jump_x", "jump x", {}}, PlaceholderCase{"jump_y", "jump y", {}},
                      PlaceholderCase{"txtCheckX", "CheckX", {}}, PlaceholderCase{"txtCheckY", "CheckY", {}}));

struct NotAPlaceholderCase {
    const char* field;
    const char* text;
    SolveOutcome outcome;
};

void PrintTo(const NotAPlaceholderCase& c, std::ostream* os)
{
    *os << c.field << " = \"" << c.text << '"';
}

class NotAPlaceholderTest : public SolveGridTest, public ::testing::WithParamInterface<NotAPlaceholderCase> {};

TEST_P(NotAPlaceholderTest, PlaceholdersMatchExactly)
{
    enterGrid(towerGrid);
    *fields.field(QString::fromLatin1(GetParam().field)) = QString::fromLatin1(GetParam().text);
    EXPECT_EQ(solve_grid(context), GetParam().outcome);
    EXPECT_FALSE(dialogs.texts().contains(incompleteText));
}

INSTANTIATE_TEST_SUITE_P(
    CaseAndBlanks, NotAPlaceholderTest,
    ::testing::Values(NotAPlaceholderCase{"upper_left_x", "Auto", SolveOutcome::Ready},
                      NotAPlaceholderCase{"upper_left_x", "auto ", SolveOutcome::Ready},
                      NotAPlaceholderCase{"upper_left_x", "  auto", SolveOutcome::Ready},
                      NotAPlaceholderCase{"ul_survey_y", "Input", SolveOutcome::Ready},
                      NotAPlaceholderCase{"jump_x", "Jump x", SolveOutcome::Ready},
                      NotAPlaceholderCase{"jump_y", "jump Y", SolveOutcome::Ready},
                      // Read as 0: the buoy is looked for at (0, 60), where it is.
                      NotAPlaceholderCase{"txtCheckX", "checkX", SolveOutcome::Ready},
                      // Read as 0: (0, 0) is far from where the buoy was marked.
                      NotAPlaceholderCase{"txtCheckY", "Checky", SolveOutcome::CheckBuoyFails}));

class CheckBuoyMissingTest : public SolveGridTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(CheckBuoyMissingTest, IsMandatory)
{
    enterGrid(towerGrid);
    fields.txtCheckXpix = QString::fromLatin1(GetParam());

    EXPECT_EQ(solve_grid(context), SolveOutcome::CheckBuoyMissing);

    EXPECT_EQ(dialogs.texts(), (QStringList{QStringLiteral("Setup of Check Buoy is Mandatory"), incompleteText}));
    EXPECT_EQ(dialogs.shown()[0].title, appTitle);
    EXPECT_EQ(dialogs.shown()[1].title, QStringLiteral("Error Message"));
    EXPECT_EQ(screens.calls, QStringList{QStringLiteral("status not ready")});
    EXPECT_EQ(calibration.coefficients, previous);
    EXPECT_FALSE(calibration.isReady(1));
    EXPECT_TRUE(reportWritten());
}

INSTANTIATE_TEST_SUITE_P(ZeroOrNotANumber, CheckBuoyMissingTest,
                         ::testing::Values("", "0", " 0.0", "auto", "-0", "x4665"));

// --- No unique solution ----------------------------------------------------

struct SingularCase {
    const char* name;
    Corners corners;
    QStringList laterMessages;
};

void PrintTo(const SingularCase& c, std::ostream* os)
{
    *os << c.name;
}

class SingularTest : public SolveGridTest, public ::testing::WithParamInterface<SingularCase> {};

TEST_P(SingularTest, NoUniqueSolutionKeepsThePreviousTransform)
{
    enterCorners(GetParam().corners);
    enterJump(0, 0);
    enterCheckBuoy(0, 60, 4665, 4061);

    EXPECT_EQ(solve_grid(context), SolveOutcome::Singular);

    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("No Unique Solution - Re-enter data")}
                                   + GetParam().laterMessages);
    EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Error Message"));
    EXPECT_EQ(dialogs.shown()[0].icon, Icon::Warning);
    EXPECT_EQ(screens.calls, stepFour);
    EXPECT_EQ(calibration.coefficients, previous);
    EXPECT_FALSE(calibration.isReady(1));
    EXPECT_EQ(calibration.grid(1), GridRecord{});
    EXPECT_EQ(DecodeLines(results()).size(), 22);
}

INSTANTIATE_TEST_SUITE_P(
    Degenerate, SingularTest,
    ::testing::Values(
        // Upper left placed on the upper right's marker.
        SingularCase{"TwoCornersOnOnePoint",
                     {GridCorner{7500, 2400, 25, 90}, GridCorner{9000, 6600, 25, 30},
                      GridCorner{7500, 2400, -25, 90}, GridCorner{500, 6500, -25, 30}},
                     {}},
        // Lower left dragged up onto the line of the far buoys: rounding
        // leaves no exact zero pivot, but the numbers put three corners on
        // the horizon.
        SingularCase{"ThreeInALine",
                     {GridCorner{7500, 2500, 25, 90}, GridCorner{9000, 6600, 25, 30},
                      GridCorner{2000, 2500, -25, 90}, GridCorner{500, 2500, -25, 30}},
                     {}},
        SingularCase{"ThreeInALineExactly",
                     {GridCorner{7168, 2048, 48, 64}, GridCorner{7168, 6144, 48, 0},
                      GridCorner{1024, 2048, -48, 64}, GridCorner{4096, 2048, -48, 0}},
                     {QStringLiteral("Front ratio is  32%  Zoom camera in until front is > 85%")}},
        // Three in a line on the frame and on the water: an exact zero pivot.
        SingularCase{"ThreeInALineOnBothSides",
                     {GridCorner{7168, 2048, 48, 64}, GridCorner{7168, 6144, 48, 0},
                      GridCorner{1024, 2048, -48, 64}, GridCorner{4096, 2048, 0, 64}},
                     {QStringLiteral("Front ratio is  32%  Zoom camera in until front is > 85%")}},
        SingularCase{"NothingPlaced",
                     {},
                     {QStringLiteral("Front ratio is  0%  Zoom camera in until front is > 85%")}}),
    [](const ::testing::TestParamInfo<SingularCase>& info) { return std::string(info.param.name); });

TEST(SolveCoefficients, AnExactZeroPivotIsNoPivot)
{
    const Corners sameSurveyLine{GridCorner{7168, 2048, 48, 64}, GridCorner{7168, 6144, 48, 0},
                                 GridCorner{1024, 2048, -48, 64}, GridCorner{4096, 2048, 0, 64}};
    const auto c = SolveCoefficients(sameSurveyLine);
    ASSERT_FALSE(c);
    EXPECT_EQ(c.error(), EliminationFailure::NoPivot);
}

TEST(SolveCoefficients, ExactGridGivesExactCoefficients)
{
    const auto c = SolveCoefficients(exactGrid);
    ASSERT_TRUE(c);
    EXPECT_EQ(*c, (Coefficients{-64, 1.0 / 64, 0, 0, 0, 96, 0, -1.0 / 64}));
}

// --- Check buoy ------------------------------------------------------------

struct CheckOffsetCase {
    double dx;
    double dy;
    bool validates;
};

void PrintTo(const CheckOffsetCase& c, std::ostream* os)
{
    *os << "off by (" << c.dx << ", " << c.dy << ")";
}

class CheckBuoyToleranceTest : public SolveGridTest, public ::testing::WithParamInterface<CheckOffsetCase> {};

TEST_P(CheckBuoyToleranceTest, OneAndAHalfPixelsEachWay)
{
    enterCorners(exactGrid);
    enterJump(0, 0);
    calibration.pictureWidth = QStringLiteral("6144");
    enterCheckBuoy(0, 32, 4096 + GetParam().dx, 4096 + GetParam().dy);

    const SolveOutcome outcome = solve_grid(context);

    if (GetParam().validates) {
        EXPECT_EQ(outcome, SolveOutcome::Ready);
        EXPECT_TRUE(dialogs.shown().empty());
        EXPECT_TRUE(calibration.isReady(1));
        return;
    }
    EXPECT_EQ(outcome, SolveOutcome::CheckBuoyFails);
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Check Buoy Does not Validate")});
    EXPECT_EQ(dialogs.shown()[0].title, appTitle);
    EXPECT_EQ(screens.calls, stepFour + QStringList{QStringLiteral("hint 4096 4096")});
    EXPECT_FALSE(calibration.isReady(1));
    EXPECT_FALSE(calibration.allGridsReady);
    EXPECT_EQ(calibration.grid(1), GridRecord{});
    EXPECT_FALSE(reportWritten());
    // The new transform is live: the hint was placed with it.
    EXPECT_EQ(calibration.coefficients, *SolveCoefficients(exactGrid));
}

INSTANTIATE_TEST_SUITE_P(Offsets, CheckBuoyToleranceTest,
                         ::testing::Values(CheckOffsetCase{0, 0, true}, CheckOffsetCase{22.5, 0, true},
                                           CheckOffsetCase{-22.5, 0, true}, CheckOffsetCase{0, 22.5, true},
                                           CheckOffsetCase{0, -22.5, true}, CheckOffsetCase{22.5, -22.5, true},
                                           CheckOffsetCase{22.51, 0, false}, CheckOffsetCase{-22.51, 0, false},
                                           CheckOffsetCase{0, 22.51, false}, CheckOffsetCase{0, -22.51, false},
                                           CheckOffsetCase{300, 300, false}));

// --- Field of view ---------------------------------------------------------

TEST_F(SolveGridTest, WideViewIsRejectedWithItsReportedAngle)
{
    // About 61.6 degrees between the front rays.
    enterGrid(narrowingGrid(3000, -1));

    EXPECT_EQ(solve_grid(context), SolveOutcome::FieldOfViewTooWide);

    EXPECT_EQ(dialogs.texts(),
              QStringList{QStringLiteral(
                  "Setup is not valid, Field of View is  63.1 degrees where the maximum allowed is 35 degrees")});
    EXPECT_EQ(dialogs.shown()[0].title, appTitle);
    EXPECT_EQ(screens.calls, stepFour);
    EXPECT_FALSE(calibration.isReady(1));
    EXPECT_EQ(calibration.grid(1), GridRecord{});
    EXPECT_FALSE(reportWritten());
    EXPECT_EQ(calibration.coefficients, *SolveCoefficients(narrowingGrid(3000, -1)));
}

TEST_F(SolveGridTest, RaysTurnedTheOtherWayNeverReject)
{
    const auto c = SolveCoefficients(narrowingGrid(3000, 1));
    ASSERT_TRUE(c);
    const auto fov = FieldOfViewDegrees(*c, {500, 6500}, {9000, 6600});
    ASSERT_TRUE(fov);
    EXPECT_LT(*fov, -35.0);

    enterGrid(narrowingGrid(3000, 1));
    EXPECT_EQ(solve_grid(context), SolveOutcome::Ready);
    EXPECT_TRUE(dialogs.shown().empty());
}

// The far inset of narrowingGrid(.., -1) whose field of view is target,
// found by halving: the angle grows with the inset.
double insetForFieldOfView(double target)
{
    double low = 2000, high = 3000;
    for (int i = 0; i < 60; ++i) {
        const double mid = (low + high) / 2;
        const double fov = *FieldOfViewDegrees(*SolveCoefficients(narrowingGrid(mid, -1)), {500, 6500}, {9000, 6600});
        (fov < target ? low : high) = mid;
    }
    return (low + high) / 2;
}

TEST_F(SolveGridTest, ViewOf33Point5IsReportedAs35AndAccepted)
{
    const Corners corners = narrowingGrid(insetForFieldOfView(33.55), -1);
    const double fov = *FieldOfViewDegrees(*SolveCoefficients(corners), {500, 6500}, {9000, 6600});
    ASSERT_GE(fov, 33.5);
    ASSERT_LT(fov, 33.6);

    enterGrid(corners);
    EXPECT_EQ(solve_grid(context), SolveOutcome::Ready);
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(SolveGridTest, ViewOf33Point6IsReportedAs35Point1AndRejected)
{
    const Corners corners = narrowingGrid(insetForFieldOfView(33.65), -1);
    const double fov = *FieldOfViewDegrees(*SolveCoefficients(corners), {500, 6500}, {9000, 6600});
    ASSERT_GE(fov, 33.6);
    ASSERT_LT(fov, 33.7);

    enterGrid(corners);
    EXPECT_EQ(solve_grid(context), SolveOutcome::FieldOfViewTooWide);
    EXPECT_EQ(dialogs.texts(),
              QStringList{QStringLiteral(
                  "Setup is not valid, Field of View is  35.1 degrees where the maximum allowed is 35 degrees")});
}

TEST(ReportedFieldOfView, AddsOneAndAHalfAndCutsToTenths)
{
    const struct {
        double fov;
        double reported;
    } cases[] = {{33.5, 35.0}, {33.6, 35.1}, {33.59, 35.0}, {33.45, 34.9}, {0, 1.5},
                 {-1.5, 0}, {-50, -48.5}, {-50.01, -48.6}, {61.6038, 63.1}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(ReportedFieldOfView(c.fov), c.reported) << c.fov;
}

TEST(FieldOfViewDegrees, OverheadViewHasParallelRays)
{
    const auto fov = FieldOfViewDegrees(*SolveCoefficients(exactGrid), {1024, 6144}, {7168, 6144});
    ASSERT_TRUE(fov);
    EXPECT_EQ(*fov, 0.0);
}

// --- A ready grid survives its file and measures ----------------------------

struct StoredGridCase {
    const char* name;
    double jumpX;
    double jumpY;
    SolveOutcome outcome;
    const char* message; // empty when the grid becomes ready
};

void PrintTo(const StoredGridCase& c, std::ostream* os)
{
    *os << c.name;
}

class StoredGridTest : public SolveGridTest, public ::testing::WithParamInterface<StoredGridCase> {};

// The jump point takes no part in the solution or its checks, so only these
// last checks stand between it and a grid that reads ready but could not be
// loaded again or would overflow at every landing.
TEST_P(StoredGridTest, IsRefusedWhenItCouldNotBeLoadedOrMeasure)
{
    const StoredGridCase& c = GetParam();
    enterGrid(towerGrid);
    enterJump(c.jumpX, c.jumpY);

    EXPECT_EQ(solve_grid(context), c.outcome);

    const bool ready = c.outcome == SolveOutcome::Ready;
    EXPECT_EQ(dialogs.texts(), ready ? QStringList() : QStringList{QString::fromLatin1(c.message)});
    EXPECT_EQ(calibration.isReady(1), ready);
    EXPECT_EQ(reportWritten(), ready);
    if (!ready) {
        EXPECT_EQ(screens.calls, stepFour);
        EXPECT_EQ(calibration.grid(1), GridRecord{});
    }
}

INSTANTIATE_TEST_SUITE_P(
    JumpPoints, StoredGridTest,
    ::testing::Values(
        StoredGridCase{"AboveWhatAFileHolds", 0, std::numeric_limits<double>::max(), SolveOutcome::NotStorable,
                       "Setup is not valid, the jump survey Y is too large to be saved in a set-up file"},
        StoredGridCase{"TypedBeyondEveryNumber", Val(u"1e999"), 0, SolveOutcome::NotStorable,
                       "Setup is not valid, the jump survey X is too large to be saved in a set-up file"},
        StoredGridCase{"SoFarThatEveryDistanceOverflows", 0, 1e300, SolveOutcome::ArithmeticFault,
                       "Calculation error (overflow) while measuring a jump at the check buoy. Nothing was changed."},
        StoredGridCase{"FarButMeasurable", -1e150, 1e150, SolveOutcome::Ready, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Arithmetic faults -----------------------------------------------------

TEST_F(SolveGridTest, OverflowWhileSolvingIsAFaultAndChangesNothing)
{
    Corners corners = towerGrid;
    corners[slotIndex(CornerSlot::UpperRight)].screenX = 1e308;
    enterCorners(corners);
    enterJump(0, 0);
    enterCheckBuoy(0, 60, 4665, 4061);

    EXPECT_EQ(solve_grid(context), SolveOutcome::ArithmeticFault);

    EXPECT_EQ(dialogs.texts(),
              QStringList{QStringLiteral("Calculation error (overflow) while solving the grid. Nothing was changed.")});
    EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Error Message"));
    EXPECT_EQ(dialogs.shown()[0].icon, Icon::Critical);
    EXPECT_EQ(calibration.coefficients, previous);
    EXPECT_FALSE(calibration.isReady(1));
    EXPECT_FALSE(reportWritten());
}

TEST_F(SolveGridTest, RaysAlongTheSurveyXAxisAreADivisionByZero)
{
    // Camera looking along survey X: X = (y - 2048) / 64, Y = (x - 2048) / 128,
    // so a step up the frame changes no survey Y.
    const Corners sideways{GridCorner{6144, 2048, 0, 32}, GridCorner{6144, 6144, 64, 32},
                           GridCorner{2048, 2048, 0, 0}, GridCorner{2048, 6144, 64, 0}};
    enterCorners(sideways);
    enterJump(0, 0);
    enterCheckBuoy(32, 16, 4096, 4096);

    EXPECT_EQ(solve_grid(context), SolveOutcome::ArithmeticFault);

    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Calculation error (division by zero) while measuring "
                                                          "the field of view. Nothing was changed.")});
    EXPECT_EQ(dialogs.shown()[0].icon, Icon::Critical);
    EXPECT_FALSE(calibration.isReady(1));
    EXPECT_EQ(calibration.grid(1), GridRecord{});
    EXPECT_FALSE(reportWritten());
}

TEST_F(SolveGridTest, ZeroPictureWidthAfterASolveLeavesTheGridReady)
{
    enterGrid(towerGrid);
    calibration.pictureWidth = QStringLiteral("0");
    calibration.frontRatio = 7;
    calibration.backRatio = 8;

    EXPECT_EQ(solve_grid(context), SolveOutcome::ArithmeticFault);

    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Calculation error (division by zero) while computing "
                                                          "the front and back ratios. Nothing was changed.")});
    EXPECT_TRUE(calibration.isReady(1));
    EXPECT_TRUE(reportWritten());
    EXPECT_EQ(calibration.frontRatio, 7);
    EXPECT_EQ(calibration.backRatio, 8);
}

TEST_F(SolveGridTest, AnIncompleteGridStaysIncompleteWhenItsRatiosFail)
{
    enterGrid(towerGrid);
    fields.jump_x = QStringLiteral("jump x");
    calibration.pictureWidth = QStringLiteral("0");

    EXPECT_EQ(solve_grid(context), SolveOutcome::Incomplete);
    EXPECT_EQ(dialogs.texts(), (QStringList{incompleteText,
                                            QStringLiteral("Calculation error (division by zero) while computing "
                                                           "the front and back ratios. Nothing was changed.")}));
}

TEST_F(SolveGridTest, UnwritableResultsFileIsToldButTheGridIsReady)
{
    enterGrid(towerGrid);
    config.resultsFilePath = dir.filePath(QStringLiteral("gone/JumpMeasurementResults070326.txt"));

    EXPECT_EQ(solve_grid(context), SolveOutcome::Ready);

    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_TRUE(dialogs.shown()[0].text.startsWith(QStringLiteral("Cannot write the set-up report to ")
                                                   + config.resultsFilePath + QStringLiteral(": ")));
    EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Error Message"));
    EXPECT_EQ(dialogs.shown()[0].icon, Icon::Warning);
    EXPECT_TRUE(calibration.isReady(1));
}

// --- grid_check ------------------------------------------------------------

struct RatioCase {
    const char* left;
    const char* right;
    const char* width;
    double front;
    QStringList messages;
};

void PrintTo(const RatioCase& c, std::ostream* os)
{
    *os << "lower left " << c.left << ", lower right " << c.right << ", width " << c.width;
}

class GridCheckTest : public SolveGridTest, public ::testing::WithParamInterface<RatioCase> {};

TEST_P(GridCheckTest, WarnsBelowEighty)
{
    fields.lower_left_x = QString::fromLatin1(GetParam().left);
    fields.lower_right_x = QString::fromLatin1(GetParam().right);
    fields.upper_left_x = QStringLiteral("2000");
    fields.upper_right_x = QStringLiteral("7000");
    calibration.pictureWidth = QString::fromLatin1(GetParam().width);

    grid_check(context);

    EXPECT_EQ(dialogs.texts(), GetParam().messages);
    for (const auto& box : dialogs.shown())
        EXPECT_EQ(box.title, appTitle);
    EXPECT_DOUBLE_EQ(calibration.frontRatio, GetParam().front);
    EXPECT_DOUBLE_EQ(calibration.backRatio, 5000 * 100 / Val(calibration.pictureWidth));
}

QStringList frontWarning(const char* number)
{
    return {QStringLiteral("Front ratio is ") + QString::fromLatin1(number)
            + QStringLiteral("%  Zoom camera in until front is > 85%")};
}

INSTANTIATE_TEST_SUITE_P(
    Ratios, GridCheckTest,
    ::testing::Values(RatioCase{"1000", "9000", "10000", 80, {}},
                      RatioCase{"9000", "1000", "10000", 80, {}}, // order of the buoys does not matter
                      RatioCase{"1000", "8990", "10000", 79.9, frontWarning(" 79")},
                      RatioCase{"1000", "9900", "10000", 89, {}},
                      RatioCase{"auto", "auto", "12000", 0, frontWarning(" 0")},
                      RatioCase{"500", "9000", "9600 twips", 8500.0 * 100 / 9600, {}}));

TEST_F(SolveGridTest, GridCheckWithoutAPictureWidthChangesNothing)
{
    fields.lower_left_x = QStringLiteral("500");
    fields.lower_right_x = QStringLiteral("900");
    calibration.frontRatio = 91;
    calibration.backRatio = 92;
    for (const char* width : {"0", "", "none"}) {
        dialogs.clear();
        calibration.pictureWidth = QString::fromLatin1(width);
        grid_check(context);
        ASSERT_EQ(dialogs.shown().size(), 1u) << width;
        EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Error Message"));
        EXPECT_EQ(dialogs.shown()[0].icon, Icon::Critical);
        EXPECT_EQ(calibration.frontRatio, 91);
        EXPECT_EQ(calibration.backRatio, 92);
    }
}

} // namespace
