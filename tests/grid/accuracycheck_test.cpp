#include "grid/accuracycheck.h"

#include "app/configstate.h"
#include "app/settingsstore.h"
#include "common/clock.h"
#include "common/numbertext.h"
#include "common/textfile.h"
#include "grid/calibrationstate.h"
#include "grid/gridcontext.h"
#include "grid/gridscreeneffects.h"
#include "grid/gridsetupfields.h"
#include "support/filebytes.h"
#include "support/scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

QByteArray crlf(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + "\r\n";
    return bytes;
}

// A tower camera looking at a 50 m x 60 m grid: the far buoys stand closer
// together on the frame than the near ones. The coefficients are the exact
// solution for these corners, written to the last bit.
const Coefficients towerCoefficients{-68.72117048234198,     0.01449618300790504,  0.0002713267062224269,
                                     1.5504788379518806e-05, 0.00021240397251199808, 181.49073530381483,
                                     0.0007395833892547939,  -0.016955258543524587};

// The header of a check of the tower grid at 09:05:03 on 7 December 2026.
const QStringList towerHeader{
    "12-07-2026  09:05:03 Accuracy Check",
    "Grid Set-up for accuracy check",
    "C:\\Setups\\tower.ipt",
    "Site A, tower camera",
    "Grid Number:  2 ",
    " ",
    "Front Ratio:  88",
    "Back Ratio:  57",
    "Upper Left X,Y Pixels: 2000  2500",
    "Upper Left X,Y Survey: -25  90",
    " ",
    "Lower Left X,Y Pixels: 500  6500",
    "Lower Left X,Y Survey: -25  30",
    " ",
    "Upper Right X,Y Pixels: 7500  2400",
    "Upper Right X,Y Survey: 25  90",
    " ",
    "Lower Right X,Y Pixels: 9000  6600",
    "Lower Right X,Y Survey: 25  30",
    " ",
    "Jump X,Y Survey: 0  -2.5",
    " ",
    "Check Buoy X,Y Pixels:  4321    3456.5 ",
    "Check Buoy X,Y Survey: 3.5  60.25",
    " ",
};

// One line per mesh point, column by column, each column top to bottom
// (worked out independently of the station's code, normal tournament).
const QStringList towerNodeLines{
        "xpix:  2000  ypix:  2500  x: -24.95  y:  89.65  distance:  97.92  v inc:  97.57  h inc:  97.88  delta:  .35",
        "xpix:  1750  ypix:  3166  x: -24.95  y:  75.66  distance:  84.44  v inc:  84.14  h inc:  84.39  delta:  .29",
        "xpix:  1500  ypix:  3833  x: -24.95  y:  63.75  distance:  73.15  v inc:  72.9  h inc:  73.1  delta:  .25",
        "xpix:  1250  ypix:  4500  x: -24.96  y:  53.51  distance:  63.63  v inc:  63.42  h inc:  63.59  delta:  .21",
        "xpix:  1000  ypix:  5166  x: -24.96  y:  44.6  distance:  55.59  v inc:  55.4  h inc:  55.54  delta:  .18",
        "xpix:  750  ypix:  5833  x: -24.96  y:  36.78  distance:  48.8  v inc:  48.64  h inc:  48.74  delta:  .16",
        "xpix:  500  ypix:  6500  x: -24.96  y:  29.85  distance:  43.1  v inc:  42.97  h inc:  43.05  delta:  .14",
        "xpix:  2916  ypix:  2483  x: -16.35  y:  89.66  distance:  96.04  v inc:  95.7  h inc:  96.01  delta:  .34",
        "xpix:  2750  ypix:  3155  x: -16.31  y:  75.62  distance:  82.19  v inc:  81.9  h inc:  82.16  delta:  .29",
        "xpix:  2583  ypix:  3827  x: -16.29  y:  63.7  distance:  70.52  v inc:  70.27  h inc:  70.49  delta:  .25",
        "xpix:  2416  ypix:  4500  x: -16.26  y:  53.46  distance:  60.58  v inc:  60.37  h inc:  60.55  delta:  .21",
        "xpix:  2250  ypix:  5172  x: -16.24  y:  44.56  distance:  52.06  v inc:  51.88  h inc:  52.03  delta:  .18",
        "xpix:  2083  ypix:  5844  x: -16.22  y:  36.75  distance:  44.73  v inc:  44.57  h inc:  44.7  delta:  .16",
        "xpix:  1916  ypix:  6516  x: -16.2  y:  29.86  distance:  38.43  v inc:  38.29  h inc:  38.39  delta:  .14",
        "xpix:  3833  ypix:  2466  x: -7.87  y:  89.66  distance:  94.94  v inc:  94.59  h inc:  94.92  delta:  .34",
        "xpix:  3750  ypix:  3144  x: -7.81  y:  75.58  distance:  80.86  v inc:  80.57  h inc:  80.84  delta:  .29",
        "xpix:  3666  ypix:  3822  x: -7.76  y:  63.65  distance:  68.95  v inc:  68.7  h inc:  68.93  delta:  .24",
        "xpix:  3583  ypix:  4500  x: -7.72  y:  53.41  distance:  58.75  v inc:  58.54  h inc:  58.73  delta:  .21",
        "xpix:  3500  ypix:  5177  x: -7.68  y:  44.52  distance:  49.92  v inc:  49.74  h inc:  49.91  delta:  .18",
        "xpix:  3416  ypix:  5855  x: -7.65  y:  36.73  distance:  42.23  v inc:  42.07  h inc:  42.22  delta:  .16",
        "xpix:  3333  ypix:  6533  x: -7.62  y:  29.86  distance:  35.49  v inc:  35.34  h inc:  35.47  delta:  .14",
        "xpix:  4750  ypix:  2450  x:  .5  y:  89.66  distance:  94.6  v inc:  94.26  h inc:  94.6  delta:  .34",
        "xpix:  4750  ypix:  3133  x:  .57  y:  75.54  distance:  80.43  v inc:  80.14  h inc:  80.43  delta:  .28",
        "xpix:  4750  ypix:  3816  x:  .62  y:  63.6  distance:  68.44  v inc:  68.2  h inc:  68.44  delta:  .24",
        "xpix:  4750  ypix:  4500  x:  .67  y:  53.35  distance:  58.17  v inc:  57.96  h inc:  58.17  delta:  .21",
        "xpix:  4750  ypix:  5183  x:  .71  y:  44.48  distance:  49.27  v inc:  49.08  h inc:  49.27  delta:  .18",
        "xpix:  4750  ypix:  5866  x:  .75  y:  36.71  distance:  41.48  v inc:  41.32  h inc:  41.48  delta:  .16",
        "xpix:  4750  ypix:  6550  x:  .78  y:  29.86  distance:  34.61  v inc:  34.47  h inc:  34.61  delta:  .14",
        "xpix:  5666  ypix:  2433  x:  8.76  y:  89.66  distance:  95.02  v inc:  94.68  h inc:  95.02  delta:  .34",
        "xpix:  5750  ypix:  3122  x:  8.82  y:  75.51  distance:  80.88  v inc:  80.6  h inc:  80.89  delta:  .28",
        "xpix:  5833  ypix:  3811  x:  8.87  y:  63.54  distance:  68.98  v inc:  68.74  h inc:  68.99  delta:  .24",
        "xpix:  5916  ypix:  4500  x:  8.91  y:  53.3  distance:  58.82  v inc:  58.61  h inc:  58.83  delta:  .21",
        "xpix:  6000  ypix:  5188  x:  8.95  y:  44.44  distance:  50.06  v inc:  49.89  h inc:  50.08  delta:  .18",
        "xpix:  6083  ypix:  5877  x:  8.98  y:  36.69  distance:  42.46  v inc:  42.31  h inc:  42.48  delta:  .16",
        "xpix:  6166  ypix:  6566  x:  9.01  y:  29.86  distance:  35.83  v inc:  35.69  h inc:  35.85  delta:  .14",
        "xpix:  6583  ypix:  2416  x:  16.91  y:  89.67  distance:  96.14  v inc:  95.8  h inc:  96.16  delta:  .33",
        "xpix:  6750  ypix:  3111  x:  16.95  y:  75.47  distance:  82.17  v inc:  81.89  h inc:  82.19  delta:  .28",
        "xpix:  6916  ypix:  3805  x:  16.98  y:  63.49  distance:  70.48  v inc:  70.24  h inc:  70.51  delta:  .24",
        "xpix:  7083  ypix:  4500  x:  17.01  y:  53.26  distance:  60.6  v inc:  60.39  h inc:  60.62  delta:  .2",
        "xpix:  7250  ypix:  5194  x:  17.03  y:  44.4  distance:  52.17  v inc:  52  h inc:  52.21  delta:  .18",
        "xpix:  7416  ypix:  5888  x:  17.05  y:  36.67  distance:  44.97  v inc:  44.82  h inc:  45.01  delta:  .15",
        "xpix:  7583  ypix:  6583  x:  17.07  y:  29.86  distance:  38.82  v inc:  38.69  h inc:  38.86  delta:  .13",
        "xpix:  7500  ypix:  2400  x:  24.95  y:  89.67  distance:  97.92  v inc:  97.59  h inc:  97.95  delta:  .33",
        "xpix:  7750  ypix:  3100  x:  24.96  y:  75.43  distance:  84.21  v inc:  83.93  h inc:  84.24  delta:  .28",
        "xpix:  8000  ypix:  3800  x:  24.96  y:  63.44  distance:  72.84  v inc:  72.61  h inc:  72.88  delta:  .23",
        "xpix:  8250  ypix:  4500  x:  24.96  y:  53.21  distance:  63.35  v inc:  63.15  h inc:  63.39  delta:  .2",
        "xpix:  8500  ypix:  5200  x:  24.97  y:  44.37  distance:  55.37  v inc:  55.2  h inc:  55.42  delta:  .17",
        "xpix:  8750  ypix:  5900  x:  24.97  y:  36.65  distance:  48.68  v inc:  48.54  h inc:  48.73  delta:  .15",
        "xpix:  9000  ypix:  6600  x:  24.97  y:  29.86  distance:  43.1  v inc:  42.98  h inc:  43.16  delta:  .13",
};

// The homologation levels of the tower grid as they lie on the frame: row r
// top to bottom, column c left to right.
const char* const towerLevels[7][7] = {
    {"NH", "NH", "NH", "NH", "NH", "NH", "NH"}, {"NH", "NH", "NH", "NH", "NH", "NH", "NH"},
    {"NH", "NH", "NH", "NH", "NH", "NH", "NH"}, {"NH", "NH", "NH", "NH", "NH", "NH", "NH"},
    {"C", "C", "C", "C", "C", "C", "C"},        {"C", "C", "C", "C", "C", "C", "L"},
    {"L", "L", "L", "L", "L", "L", "L"},
};

class AccuracyCheckTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    CalibrationState calibration;
    ConfigState config;
    SettingsStore settings{dir.filePath(QStringLiteral("settings.ini"))};
    GridSetupFields fields;
    ScriptedDialogs dialogs;
    GridScreenEffects screens;
    FixedClock clock{QDateTime(QDate(2026, 12, 7), QTime(9, 5, 3))};
    GridContext context{calibration, config, settings, fields, dialogs, screens, clock};

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        config.videoDirectory = dir.path();
    }

    QString accuracyFile() const { return dir.filePath(QStringLiteral("12acc07.txt")); }

    void setCorners(const QString& ulx, const QString& uly, const QString& urx, const QString& ury, const QString& llx,
                    const QString& lly, const QString& lrx, const QString& lry)
    {
        fields.upper_left_x = ulx;
        fields.upper_left_y = uly;
        fields.upper_right_x = urx;
        fields.upper_right_y = ury;
        fields.lower_left_x = llx;
        fields.lower_left_y = lly;
        fields.lower_right_x = lrx;
        fields.lower_right_y = lry;
    }

    void useTowerGrid()
    {
        fields.ipt_file_description = QStringLiteral("C:\\Setups\\tower.ipt");
        fields.ipt_file_description_2 = QStringLiteral("Site A, tower camera");
        setCorners("2000", "2500", "7500", "2400", "500", "6500", "9000", "6600");
        fields.ul_survey_x = QStringLiteral("-25");
        fields.ul_survey_y = QStringLiteral("90");
        fields.ur_survey_x = QStringLiteral("25");
        fields.ur_survey_y = QStringLiteral("90");
        fields.ll_survey_x = QStringLiteral("-25");
        fields.ll_survey_y = QStringLiteral("30");
        fields.lr_survey_x = QStringLiteral("25");
        fields.lr_survey_y = QStringLiteral("30");
        fields.jump_x = QStringLiteral("0");
        fields.jump_y = QStringLiteral("-2.5");
        fields.txtCheckX = QStringLiteral("3.5");
        fields.txtCheckY = QStringLiteral("60.25");
        calibration.coefficients = towerCoefficients;
        calibration.jumpX = 0.0;
        calibration.jumpY = -2.5;
        calibration.currentGrid = 2;
        calibration.checkScreenX = 4321;
        calibration.checkScreenY = 3456.5;
        calibration.frontRatio = 88.54;
        calibration.backRatio = 57.99;
    }

    // A flat grid with no perspective: X = a x, Y = b y, jump point at the
    // origin, barefoot (no allowance), so at the upper-left node (0, 0)
    // d0 = 0, dH = 15 a and dV = 15 b exactly.
    void useFlatGrid(double metresPerPixelAcross, double metresPerPixelDown)
    {
        setCorners("0", "0", "6000", "0", "0", "6000", "6000", "6000");
        calibration.coefficients = {0, perTwip(metresPerPixelAcross), 0, 0, 0, 0, 0, perTwip(metresPerPixelDown)};
        calibration.jumpX = 0;
        calibration.jumpY = 0;
        config.barefootMode = true;
    }

    // The coefficient whose product with 15 is exactly the metres per pixel
    // asked for, so that no rounding moves a value across a threshold.
    static double perTwip(double metresPerPixel)
    {
        double k = metresPerPixel / 15;
        for (int i = 0; i < 100 && k * 15 != metresPerPixel; ++i)
            k = std::nextafter(k, k * 15 < metresPerPixel ? 1.0 : -1.0);
        EXPECT_EQ(k * 15, metresPerPixel);
        return k;
    }
};

TEST_F(AccuracyCheckTest, KnownGridWritesTheDailyFileByteForByte)
{
    useTowerGrid();
    const auto result = accuracy_check(context, AccuracyMode::Advanced, AccuracyLabelKind::HomologationLevel);
    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_EQ(result->filePath, accuracyFile());
    EXPECT_EQ(FileBytesOrEmpty(accuracyFile()),
              crlf(towerHeader + towerNodeLines + QStringList{"Accuracy Check Complete", ""}));
    EXPECT_EQ(result->nodesMeasured, 49);
    EXPECT_FALSE(result->fault.has_value());
}

TEST_F(AccuracyCheckTest, LabelsHangBelowTheirNodesInTheLabelColour)
{
    useTowerGrid();
    config.labelColorName = QStringLiteral("yellow");
    const auto result = accuracy_check(context, AccuracyMode::Advanced, AccuracyLabelKind::HomologationLevel);
    ASSERT_TRUE(result.has_value());
    for (int r = 0; r < 7; ++r) {
        for (int c = 0; c < 7; ++c) {
            const AccuracyLabel& item = result->items[AccuracyItem(c, r)];
            EXPECT_EQ(item.caption, QString::fromLatin1(towerLevels[r][c])) << "c " << c << " r " << r;
            EXPECT_TRUE(item.visible);
            const ScreenPoint node = result->mesh[AccuracyItem(c, r)];
            EXPECT_EQ(item.topLeft, QPointF(node.x, node.y + 75));
        }
    }
    // Corners of the mesh are the buoys; the middle of the left edge is cut
    // on the screen, not on the water.
    EXPECT_EQ(result->items[0].topLeft, QPointF(2000, 2575));
    EXPECT_EQ(result->items[48].topLeft, QPointF(9000, 6675));
    EXPECT_EQ(result->items[3].topLeft, QPointF(1250, 4575));
    EXPECT_EQ(result->labelColor, QColor(255, 255, 0));
}

TEST_F(AccuracyCheckTest, DistanceAndDetailLabelTexts)
{
    useTowerGrid();
    auto result = accuracy_check(context, AccuracyMode::Advanced, AccuracyLabelKind::Distance);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->labelKind, AccuracyLabelKind::Distance);
    // Upper-left 97.92 m to a tenth; item 7 is 96.04 -> 96 without a point.
    EXPECT_EQ(result->items[0].caption, " 97.9");
    EXPECT_EQ(result->items[7].caption, " 96");
    EXPECT_EQ(result->items[48].caption, " 43.1");

    result = accuracy_check(context, AccuracyMode::Advanced, AccuracyLabelKind::Detail);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->items[0].caption, " .35");
    EXPECT_EQ(result->items[AccuracyItem(5, 3)].caption, " .2");
    EXPECT_EQ(result->items[48].caption, " .13");
}

TEST_F(AccuracyCheckTest, ReportPrintsTheSurveyPointOnePixelBelowTheNode)
{
    useTowerGrid();
    ASSERT_TRUE(accuracy_check(context, AccuracyMode::Advanced, AccuracyLabelKind::HomologationLevel));
    const QStringList lines = DecodeLines(FileBytesOrEmpty(accuracyFile()));
    ASSERT_GE(lines.size(), 26);
    const QString upperLeft = lines.at(25);
    const auto below = screen_to_survey(towerCoefficients, 2000, 2515);
    const auto at = screen_to_survey(towerCoefficients, 2000, 2500);
    ASSERT_TRUE(below && at);
    const QString printed = QStringLiteral("  x: ") + NumberText(RoundHalfUp(below->x, 100)) + QStringLiteral("  y: ")
        + NumberText(RoundHalfUp(below->y, 100)) + QStringLiteral("  distance: ");
    EXPECT_TRUE(upperLeft.contains(printed)) << upperLeft.toStdString();
    // The node's own survey point would print differently.
    EXPECT_NE(RoundHalfUp(at->y, 100), RoundHalfUp(below->y, 100));
    // The working registers keep the last point evaluated: one pixel below
    // the lower-right buoy.
    const auto last = screen_to_survey(towerCoefficients, 9000, 6615);
    EXPECT_EQ(calibration.surveyX, last->x);
    EXPECT_EQ(calibration.surveyY, last->y);
}

TEST_F(AccuracyCheckTest, IncrementsPrintDistancesNotDifferences)
{
    useTowerGrid();
    ASSERT_TRUE(accuracy_check(context, AccuracyMode::Advanced, AccuracyLabelKind::HomologationLevel));
    const QStringList lines = DecodeLines(FileBytesOrEmpty(accuracyFile()));
    ASSERT_GE(lines.size(), 26);
    // d0 97.92, one pixel down 97.57, one pixel right 97.88: the larger
    // change (.35) is the delta.
    EXPECT_TRUE(lines.at(25).endsWith("distance:  97.92  v inc:  97.57  h inc:  97.88  delta:  .35"))
        << lines.at(25).toStdString();
}

TEST_F(AccuracyCheckTest, SecondCheckOfTheDayAppendsASecondBlock)
{
    useTowerGrid();
    ASSERT_TRUE(accuracy_check(context, AccuracyMode::Advanced, AccuracyLabelKind::HomologationLevel));
    clock.set(QDateTime(QDate(2026, 12, 7), QTime(17, 40, 0)));
    ASSERT_TRUE(accuracy_check(context, AccuracyMode::Advanced, AccuracyLabelKind::Detail));
    QStringList second = towerHeader;
    second[0] = "12-07-2026  17:40:00 Accuracy Check";
    const QStringList closing{"Accuracy Check Complete", ""};
    EXPECT_EQ(FileBytesOrEmpty(accuracyFile()), crlf(towerHeader + towerNodeLines + closing + second + towerNodeLines + closing));
}

TEST_F(AccuracyCheckTest, DailyFileNameIsMonthAccDay)
{
    EXPECT_EQ(AccuracyFileName(QDate(2026, 12, 7)), "12acc07.txt");
    EXPECT_EQ(AccuracyFileName(QDate(2027, 3, 1)), "03acc01.txt");
    EXPECT_EQ(AccuracyFileName(QDate(2026, 10, 31)), "10acc31.txt");
}

TEST_F(AccuracyCheckTest, MissingVideoDirectoryTellsTheOperatorAndWritesNothing)
{
    useTowerGrid();
    config.videoDirectory = dir.filePath(QStringLiteral("gone"));
    const auto result = accuracy_check(context, AccuracyMode::Advanced, AccuracyLabelKind::HomologationLevel);
    EXPECT_FALSE(result.has_value());
    const QString expectedPath = dir.filePath(QStringLiteral("gone/12acc07.txt"));
    EXPECT_EQ(dialogs.texts(),
              QStringList{"Cannot write the accuracy check to " + expectedPath + ": the video directory does not exist"});
    EXPECT_FALSE(QFile::exists(expectedPath));
    EXPECT_TRUE(QDir(dir.path()).entryList({"*acc*"}).isEmpty());
}

TEST_F(AccuracyCheckTest, EmptyVideoDirectoryIsNotTheCurrentDirectory)
{
    useTowerGrid();
    config.videoDirectory.clear();
    EXPECT_FALSE(accuracy_check(context, AccuracyMode::Advanced, AccuracyLabelKind::HomologationLevel).has_value());
    ASSERT_EQ(dialogs.texts().size(), 1);
    EXPECT_TRUE(dialogs.texts().at(0).startsWith("Cannot write the accuracy check to 12acc07.txt: "));
    EXPECT_FALSE(QFile::exists(QStringLiteral("12acc07.txt")));
}

TEST_F(AccuracyCheckTest, FileThatCannotBeOpenedTellsTheOperatorAndWritesNothing)
{
    useTowerGrid();
    // A folder squatting on the day's file name.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("12acc07.txt")));
    EXPECT_FALSE(accuracy_check(context, AccuracyMode::Advanced, AccuracyLabelKind::HomologationLevel).has_value());
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_TRUE(dialogs.texts().at(0).startsWith("Cannot write the accuracy check to " + accuracyFile() + ": "));
    EXPECT_EQ(dialogs.shown().at(0).title, "Error Message");
}

// The letters at and around their thresholds, with the larger change taken
// across or down.
struct ThresholdCase {
    double across; // metres per pixel to the right
    double down;   // metres per pixel downwards
    const char* level;
    const char* detail;
};

class AccuracyThresholdTest : public AccuracyCheckTest, public ::testing::WithParamInterface<ThresholdCase> {};

TEST_P(AccuracyThresholdTest, LetterOfTheUpperLeftNode)
{
    const ThresholdCase& t = GetParam();
    useFlatGrid(t.across, t.down);
    auto result = RunAccuracyCheck(calibration, fields, config, AccuracyMode::Advanced,
                                   AccuracyLabelKind::HomologationLevel, clock.now());
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->items[0].caption, QString::fromLatin1(t.level));
    result = RunAccuracyCheck(calibration, fields, config, AccuracyMode::Advanced, AccuracyLabelKind::Detail,
                              clock.now());
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->items[0].caption, QString::fromLatin1(t.detail));
}

INSTANTIATE_TEST_SUITE_P(Levels, AccuracyThresholdTest,
                         ::testing::Values(ThresholdCase{0.1, 0.05, "R", " .1"},
                                           ThresholdCase{std::nextafter(0.1, 1.0), 0.05, "L", " .1"},
                                           ThresholdCase{0.05, 0.1, "R", " .1"},
                                           ThresholdCase{0.05, std::nextafter(0.1, 1.0), "L", " .1"},
                                           ThresholdCase{0.15, 0.15, "L", " .15"},
                                           ThresholdCase{0.12, std::nextafter(0.15, 1.0), "C", " .15"},
                                           ThresholdCase{0.2, 0.1, "C", " .2"},
                                           ThresholdCase{0.1, 0.2, "C", " .2"},
                                           ThresholdCase{std::nextafter(0.2, 1.0), 0.1, "NH", " .2"},
                                           ThresholdCase{0.125, 0.3, "NH", " .3"}));

TEST(HomologationLevel, StrictThresholds)
{
    EXPECT_EQ(HomologationLevel(0.0), "R");
    EXPECT_EQ(HomologationLevel(0.1), "R");
    EXPECT_EQ(HomologationLevel(std::nextafter(0.1, 1.0)), "L");
    EXPECT_EQ(HomologationLevel(0.15), "L");
    EXPECT_EQ(HomologationLevel(std::nextafter(0.15, 1.0)), "C");
    EXPECT_EQ(HomologationLevel(0.2), "C");
    EXPECT_EQ(HomologationLevel(std::nextafter(0.2, 1.0)), "NH");
}

TEST(AccuracyDelta, LargerOfTheTwoChanges)
{
    EXPECT_EQ(AccuracyDelta(50.0, 50.25, 49.5), 0.5);
    EXPECT_EQ(AccuracyDelta(50.0, 49.25, 50.5), 0.75);
    EXPECT_EQ(AccuracyDelta(50.0, 50.5, 49.5), 0.5);
}

TEST_F(AccuracyCheckTest, CornerBoxesAreReadLeniently)
{
    setCorners("1500abc", " 300", "auto", "", "-15", "x", "9000", "6600");
    const AccuracyMesh mesh = AccuracyMeshFromFields(fields);
    EXPECT_EQ(mesh[AccuracyItem(0, 0)].x, 1500);
    EXPECT_EQ(mesh[AccuracyItem(0, 0)].y, 300);
    EXPECT_EQ(mesh[AccuracyItem(6, 0)].x, 0);
    EXPECT_EQ(mesh[AccuracyItem(6, 0)].y, 0);
    EXPECT_EQ(mesh[AccuracyItem(0, 6)].x, -15);
    EXPECT_EQ(mesh[AccuracyItem(0, 6)].y, 0);
    EXPECT_EQ(mesh[AccuracyItem(6, 6)].x, 9000);
    // Row 3, column 3 lies halfway along the middle row on the screen.
    const ScreenPoint left = mesh[AccuracyItem(0, 3)];
    const ScreenPoint right = mesh[AccuracyItem(6, 3)];
    EXPECT_EQ(left.x, 1500 + (-15 - 1500) * 3 / 6.0);
    EXPECT_EQ(right.y, 0 + (6600 - 0) * 3 / 6.0);
    EXPECT_EQ(mesh[AccuracyItem(3, 3)].x, left.x + (right.x - left.x) * 3 / 6);
}

TEST_F(AccuracyCheckTest, ArithmeticFaultEndsTheCheckAtThatNode)
{
    // w = 1 - x / 4096 is zero at x = 4096: the top node of column 1.
    setCorners("0", "0", "24576", "0", "0", "6000", "24576", "6000");
    calibration.coefficients = {0, 0.01, 0, -1.0 / 4096, 0, 0, 0, 0.01};
    config.barefootMode = true;
    fields.ipt_file_description = QStringLiteral("No File");
    const auto result = accuracy_check(context, AccuracyMode::Advanced, AccuracyLabelKind::HomologationLevel);
    ASSERT_TRUE(result.has_value());
    ASSERT_TRUE(result->fault.has_value());
    EXPECT_EQ(result->nodesMeasured, 7);
    EXPECT_EQ(dialogs.texts(),
              QStringList{"Calculation error (division by zero) while checking the accuracy at xpix 4096, ypix 0. "
                          "The check stopped there; the lines before it are in "
                          + accuracyFile() + "."});
    // The header and the seven lines of column 0 stay in the file, with no
    // closing line.
    const QStringList lines = DecodeLines(FileBytesOrEmpty(accuracyFile()));
    ASSERT_EQ(lines.size(), 25 + 7);
    EXPECT_TRUE(lines.last().startsWith("xpix:  0  ypix:  6000  x: ")) << lines.last().toStdString();
    EXPECT_FALSE(lines.contains("Accuracy Check Complete"));
    // Column 0 is labelled; the fault's node and everything after it is
    // hidden and empty, so nothing of an earlier check is left standing.
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(result->items[i].visible) << i;
    for (int i = 7; i < 49; ++i) {
        EXPECT_FALSE(result->items[i].visible) << i;
        EXPECT_TRUE(result->items[i].caption.isEmpty()) << i;
    }
}

TEST_F(AccuracyCheckTest, StandardModeUsesLevelsAndHidesLabelsUntilALineIsChosen)
{
    useTowerGrid();
    auto result = accuracy_check(context, AccuracyMode::Standard, AccuracyLabelKind::Distance);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->labelKind, AccuracyLabelKind::HomologationLevel);
    EXPECT_EQ(result->items[0].caption, "NH");
    for (const AccuracyLabel& item : result->items)
        EXPECT_FALSE(item.visible);
    // The file is the same as in the Advanced mode.
    EXPECT_EQ(FileBytesOrEmpty(accuracyFile()),
              crlf(towerHeader + towerNodeLines + QStringList{"Accuracy Check Complete", ""}));
}

TEST_F(AccuracyCheckTest, StandardModeRowLinesAndLineNumbers)
{
    useTowerGrid();
    const auto result = accuracy_check(context, AccuracyMode::Standard, AccuracyLabelKind::HomologationLevel);
    ASSERT_TRUE(result.has_value());
    const SkierPathLines lines = StandardModeLines(result->mesh);
    EXPECT_EQ(lines.rows[0], QLineF(2000, 2500, 7500, 2400));
    EXPECT_EQ(lines.rows[6], QLineF(500, 6500, 9000, 6600));
    EXPECT_EQ(lines.lineLabels[0], (AccuracyLabel{"1", QPointF(7530, 2310), true}));
    EXPECT_EQ(lines.lineLabels[6], (AccuracyLabel{"7", QPointF(9030, 6510), true}));
    const ScreenPoint right3 = result->mesh[AccuracyItem(6, 3)];
    EXPECT_EQ(lines.lineLabels[3], (AccuracyLabel{"4", QPointF(right3.x + 30, right3.y - 90), true}));
}

struct LineChoice {
    int line;
    std::array<int, 7> items;
    const char* level; // every label of that line on the tower grid
};

class SkierPathLineTest : public AccuracyCheckTest, public ::testing::WithParamInterface<LineChoice> {};

TEST_P(SkierPathLineTest, ChosenLineShowsItsRowOfLabels)
{
    const LineChoice& choice = GetParam();
    useTowerGrid();
    auto result = accuracy_check(context, AccuracyMode::Standard, AccuracyLabelKind::HomologationLevel);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(AccuracyItemsOfLine(choice.line), choice.items);
    ShowSkierPathLine(*result, choice.line);
    for (int i = 0; i < 49; ++i) {
        const bool onLine = std::find(choice.items.begin(), choice.items.end(), i) != choice.items.end();
        EXPECT_EQ(result->items[i].visible, onLine) << i;
        if (onLine) {
            EXPECT_EQ(result->items[i].caption, QString::fromLatin1(choice.level)) << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, SkierPathLineTest,
                         ::testing::Values(LineChoice{1, {0, 7, 14, 21, 28, 35, 42}, "NH"},
                                           LineChoice{7, {6, 13, 20, 27, 34, 41, 48}, "L"}));

TEST(AskSkierPathLine, AsksUntilTheAnswerIsOneToSeven)
{
    ScriptedDialogs dialogs;
    dialogs.type("0").type("8").cancelInput().type("").type("3.5").type("1");
    EXPECT_EQ(AskSkierPathLine(dialogs), 1);
    ASSERT_EQ(dialogs.shown().size(), 6u);
    for (const auto& shown : dialogs.shown()) {
        EXPECT_EQ(shown.kind, ScriptedDialogs::Kind::Input);
        EXPECT_EQ(shown.text, "Pick the line number that best represents where the skier will land");
        EXPECT_EQ(shown.title, "Input the skier path line");
        EXPECT_EQ(shown.at, QPoint(100, 100));
    }
    EXPECT_TRUE(dialogs.allAnswersUsed());
}

TEST(AskSkierPathLine, SevenAndLeadingNumbersAreTaken)
{
    ScriptedDialogs dialogs;
    dialogs.type(" 7");
    EXPECT_EQ(AskSkierPathLine(dialogs), 7);
    dialogs.type("2nd line");
    EXPECT_EQ(AskSkierPathLine(dialogs), 2);
    EXPECT_EQ(dialogs.shown().size(), 2u);
}

} // namespace
