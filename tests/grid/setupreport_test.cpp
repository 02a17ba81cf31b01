#include "app/configstate.h"
#include "app/settingsstore.h"
#include "common/clock.h"
#include "common/textfile.h"
#include "grid/calibrationstate.h"
#include "grid/gridcontext.h"
#include "grid/gridscreeneffects.h"
#include "grid/gridsetupfields.h"
#include "grid/setupreport.h"
#include "support/filebytes.h"
#include "support/scripteddialogs.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

namespace {

// A grid as the operator left it on the set-up screen, with a check buoy.
class SetupReportTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    CalibrationState calibration;
    ConfigState config;
    SettingsStore settings{dir.filePath(QStringLiteral("settings.ini"))};
    GridSetupFields fields;
    ScriptedDialogs dialogs;
    GridScreenEffects screens;
    FixedClock clock{QDateTime(QDate(2026, 7, 3), QTime(14, 5, 9))};
    GridContext context{calibration, config, settings, fields, dialogs, screens, clock};

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        config.resultsFilePath = dir.filePath(QStringLiteral("JumpMeasurementResults070326.txt"));

        fields.ipt_file_description = QStringLiteral("C:\\Setups\\north.ipt");
        fields.ipt_file_description_2 = QStringLiteral("North tower, calm water");
        fields.upper_left_x = QStringLiteral("2000");
        fields.upper_left_y = QStringLiteral("2500");
        fields.upper_right_x = QStringLiteral("7500");
        fields.upper_right_y = QStringLiteral("2400");
        fields.lower_left_x = QStringLiteral("500");
        fields.lower_left_y = QStringLiteral("6500");
        fields.lower_right_x = QStringLiteral("9000");
        fields.lower_right_y = QStringLiteral("6600.5");
        fields.ul_survey_x = QStringLiteral("-25");
        fields.ul_survey_y = QStringLiteral("90");
        fields.ur_survey_x = QStringLiteral("25");
        fields.ur_survey_y = QStringLiteral("90.125");
        fields.ll_survey_x = QStringLiteral("-25");
        fields.ll_survey_y = QStringLiteral("30");
        fields.lr_survey_x = QStringLiteral("25");
        fields.lr_survey_y = QStringLiteral("30");
        fields.jump_x = QStringLiteral("0");
        fields.jump_y = QStringLiteral("-.5");
        fields.txtCheckX = QStringLiteral("-0.5");
        fields.txtCheckY = QStringLiteral("60.25");
        fields.txtCheckXpix = QStringLiteral("4665");
        fields.txtCheckYpix = QStringLiteral("4061");

        calibration.currentGrid = 2;
        calibration.checkScreenX = 4665;
        calibration.checkScreenY = 4061;
        calibration.checkSurveyX = -0.5;
        calibration.checkSurveyY = 60.25;
    }
};

// Lines 1..19, common to the three forms but for the corner labels.
QByteArray head(const char* unit)
{
    const QByteArray u(unit);
    return "07-03-2026 14:05:09 New Set-up now in place\r\n"
           "C:\\Setups\\north.ipt\r\n"
           "North tower, calm water\r\n"
           "Grid Number:  2 \r\n"
           " \r\n"
           "Upper Left X,Y " + u + ": 2000  2500\r\n"
           "Upper Left X,Y Survey: -25  90\r\n"
           " \r\n"
           "Lower Left X,Y " + u + ": 500  6500\r\n"
           "Lower Left X,Y Survey: -25  30\r\n"
           " \r\n"
           "Upper Right X,Y " + u + ": 7500  2400\r\n"
           "Upper Right X,Y Survey: 25  90.125\r\n"
           " \r\n"
           "Lower Right X,Y " + u + ": 9000  6600.5\r\n"
           "Lower Right X,Y Survey: 25  30\r\n"
           " \r\n"
           "Jump X,Y Survey: 0  -.5\r\n"
           " \r\n";
}

struct FormCase {
    const char* name;
    SetupReportWriter writer;
    double checkScreenX; // live check buoy screen x
    QByteArray expected;
};

void PrintTo(const FormCase& c, std::ostream* os)
{
    *os << c.name;
}

class SetupReportFormTest : public SetupReportTest, public ::testing::WithParamInterface<FormCase> {};

TEST_P(SetupReportFormTest, AppendsTheBlockByteForByte)
{
    calibration.checkScreenX = GetParam().checkScreenX;
    ASSERT_TRUE(AppendSetupReport(GetParam().writer, context));
    EXPECT_EQ(FileBytesOrEmpty(config.resultsFilePath), GetParam().expected);
    EXPECT_TRUE(dialogs.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Writers, SetupReportFormTest,
    ::testing::Values(
        // Numbers keep their own blanks and the two-blank separator stands
        // between them.
        FormCase{"SolveGrid", SetupReportWriter::SolveGrid, 4665,
                 head("Pixels") + "Check Buoy X,Y Pixels:  4665    4061 \r\n"
                                  "Check Buoy X,Y Survey: -.5    60.25 \r\n"
                                  " \r\n"},
        FormCase{"LoadGridFile", SetupReportWriter::LoadGridFile, 4665,
                 head("Twips") + "Check Buoy X,Y Twips:  4665    4061 \r\n"
                                 "Check Buoyt X,Y Survey: -.5    60.25 \r\n"
                                 " \r\n"},
        FormCase{"LoadGridFileWithoutCheckBuoy", SetupReportWriter::LoadGridFile, 0,
                 head("Twips") + "No check buoy for this set up\r\n"
                                 " \r\n"},
        FormCase{"LoadGridFileNegativeCheckBuoy", SetupReportWriter::LoadGridFile, -15,
                 head("Twips") + "No check buoy for this set up\r\n"
                                 " \r\n"},
        // The by-path form copies the boxes as they stand, typed "-0.5" too.
        FormCase{"LoadGridFileByPath", SetupReportWriter::LoadGridFileByPath, 4665,
                 head("Twips") + "Check Buoy X,Y Twips: 4665  4061\r\n"
                                 "Check Buoy X,Y Survey: -0.5  60.25\r\n"
                                 " \r\n"}),
    [](const ::testing::TestParamInfo<FormCase>& info) { return std::string(info.param.name); });

TEST_F(SetupReportTest, SolveFormPrintsSmallAndLargeCheckNumbersInTheFileForm)
{
    calibration.currentGrid = 3;
    calibration.checkScreenX = 0.25;
    calibration.checkScreenY = 1e16;
    calibration.checkSurveyX = -1234.5;
    calibration.checkSurveyY = 0;
    const QStringList lines = SetupReportLines(SetupReportWriter::SolveGrid, context);
    ASSERT_EQ(lines.size(), 22);
    EXPECT_EQ(lines[3], QStringLiteral("Grid Number:  3 "));
    EXPECT_EQ(lines[19], QStringLiteral("Check Buoy X,Y Pixels:  .25    1E+16 "));
    EXPECT_EQ(lines[20], QStringLiteral("Check Buoy X,Y Survey: -1234.5    0 "));
}

TEST_F(SetupReportTest, PlaceholdersAndEmptyBoxesAreWrittenAsTheyStand)
{
    const GridSetupFields untouched;
    fields = untouched;
    const QStringList lines = SetupReportLines(SetupReportWriter::LoadGridFileByPath, context);
    ASSERT_EQ(lines.size(), 22);
    EXPECT_EQ(lines[1], QStringLiteral("No File"));
    EXPECT_EQ(lines[2], QString());
    EXPECT_EQ(lines[5], QStringLiteral("Upper Left X,Y Twips: auto  auto"));
    EXPECT_EQ(lines[11], QStringLiteral("Upper Right X,Y Twips:  auto  auto"));
    EXPECT_EQ(lines[12], QStringLiteral("Upper Right X,Y Survey: input  input"));
    EXPECT_EQ(lines[17], QStringLiteral("Jump X,Y Survey: jump x  jump y"));
    EXPECT_EQ(lines[19], QStringLiteral("Check Buoy X,Y Twips:   "));
    EXPECT_EQ(lines[20], QStringLiteral("Check Buoy X,Y Survey: CheckX  CheckY"));
}

TEST_F(SetupReportTest, TheDayFileKeepsWhatItHadAndGrowsByEachReport)
{
    QFile file(config.resultsFilePath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Jump 1: 41.2\r\n");
    file.close();

    ASSERT_TRUE(AppendSetupReport(SetupReportWriter::SolveGrid, context));
    clock.set(QDateTime(QDate(2026, 7, 3), QTime(9, 0, 1)));
    ASSERT_TRUE(AppendSetupReport(SetupReportWriter::LoadGridFile, context));

    const QStringList lines = DecodeLines(FileBytesOrEmpty(config.resultsFilePath));
    ASSERT_EQ(lines.size(), 1 + 22 + 22);
    EXPECT_EQ(lines[0], QStringLiteral("Jump 1: 41.2"));
    EXPECT_EQ(lines[1], QStringLiteral("07-03-2026 14:05:09 New Set-up now in place"));
    EXPECT_EQ(lines[23], QStringLiteral("07-03-2026 09:00:01 New Set-up now in place"));
}

TEST_F(SetupReportTest, MissingResultsDirectoryTellsTheOperatorAndWritesNothing)
{
    config.resultsFilePath = dir.filePath(QStringLiteral("gone/JumpMeasurementResults070326.txt"));
    EXPECT_FALSE(AppendSetupReport(SetupReportWriter::SolveGrid, context));

    ASSERT_EQ(dialogs.shown().size(), 1u);
    const auto& box = dialogs.shown()[0];
    EXPECT_TRUE(box.text.startsWith(QStringLiteral("Cannot write the set-up report to ") + config.resultsFilePath
                                    + QStringLiteral(": ")))
        << box.text.toStdString();
    EXPECT_EQ(box.title, QStringLiteral("Error Message"));
    EXPECT_EQ(box.icon, OperatorDialogs::Icon::Warning);
    EXPECT_FALSE(QFile::exists(config.resultsFilePath));
}

TEST_F(SetupReportTest, NoResultsFileConfiguredIsAFailureNotACrash)
{
    config.resultsFilePath.clear();
    EXPECT_FALSE(AppendSetupReport(SetupReportWriter::LoadGridFile, context));
    EXPECT_EQ(dialogs.shown().size(), 1u);
}

TEST(SetupReportCornerLines, SolveFormUsesPixelsTheLoadFormsTwips)
{
    GridSetupFields fields;
    fields.lower_right_x = QStringLiteral("9000");
    fields.lower_right_y = QStringLiteral("6600");
    const QStringList solve = SetupReportCornerLines(SetupReportWriter::SolveGrid, fields);
    const QStringList load = SetupReportCornerLines(SetupReportWriter::LoadGridFileByPath, fields);
    ASSERT_EQ(solve.size(), 14);
    ASSERT_EQ(load.size(), 14);
    EXPECT_EQ(solve[9], QStringLiteral("Lower Right X,Y Pixels: 9000  6600"));
    EXPECT_EQ(load[9], QStringLiteral("Lower Right X,Y Twips: 9000  6600"));
    EXPECT_EQ(CheckBuoyPixelsLine(-15, 30.5), QStringLiteral("Check Buoy X,Y Pixels: -15    30.5 "));
}

} // namespace
