#include "app/configstate.h"
#include "app/settingsstore.h"
#include "common/clock.h"
#include "common/numbertext.h"
#include "common/textfile.h"
#include "grid/calibrationstate.h"
#include "grid/gridcontext.h"
#include "grid/gridfile.h"
#include "grid/gridfileoperations.h"
#include "grid/gridscreeneffects.h"
#include "grid/gridsetupfields.h"
#include "support/scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

using Kind = ScriptedDialogs::Kind;
using Icon = OperatorDialogs::Icon;
using Buttons = OperatorDialogs::Buttons;
using Answer = OperatorDialogs::Answer;

const QString saveFilter
    = QStringLiteral("All Files (*.*)|*.*|Text Files (*.TXT)|*.TXT|Parameter Files (*.IPT)|*.IPT|");
const QString loadFilter
    = QStringLiteral("All Files (*.*)|*.*|Text Files (*.TXT)|*.TXT|Parameter Files (*.ipt)|*.ipt|");
const QString oldFileMessage = QStringLiteral(
    "I cannot find a  check  buoy file for this setup.  That means you are inputting an old set-up "
    "file that does not have a check buoy.  To complete the set up correctly, you must have a check "
    "buoy input to the set up.");

// Records what the operations do to the screens, one line per call.
class RecordingScreens final : public GridScreenEffects {
public:
    QStringList calls;

    void setMainGridPicture(int grid, bool ready) override
    {
        calls << QStringLiteral("main picture %1 %2").arg(grid).arg(ready ? "smiley" : "caution");
    }
    void setMainGridDescription(int grid, const QString& text) override
    {
        calls << QStringLiteral("main description %1 '%2'").arg(grid).arg(text);
    }
    void setSetupStatusPicture(bool ready) override
    {
        calls << (ready ? QStringLiteral("status ready") : QStringLiteral("status not ready"));
    }
    void setAccuracyControlsVisible(bool visible) override
    {
        calls << (visible ? QStringLiteral("accuracy shown") : QStringLiteral("accuracy hidden"));
    }
    void clearAccuracyIndicator() override { calls << QStringLiteral("clear accuracy indicator"); }
    void clearGridLock() override { calls << QStringLiteral("clear grid lock"); }
    void clearDrawing() override { calls << QStringLiteral("clear drawing"); }
    void setupFieldsChanged() override { calls << QStringLiteral("fields changed"); }
    void setMeasureGridDescription(const QString& text) override
    {
        calls << QStringLiteral("measure description '%1'").arg(text);
    }
};

// A grid whose front spans 81% of the default picture width, so the
// front-ratio check stays quiet.
GridFileContents towerGrid(double gridNumber = 1)
{
    GridFileContents g;
    g.description = QStringLiteral("Tower view, left bank");
    g.corners[slotIndex(CornerSlot::UpperRight)] = {9000, 1500, 20.5, 150};
    g.corners[slotIndex(CornerSlot::LowerRight)] = {10500, 6000, 15.25, 60};
    g.corners[slotIndex(CornerSlot::UpperLeft)] = {1500, 1200, -20.5, 150.75};
    g.corners[slotIndex(CornerSlot::LowerLeft)] = {750, 6600, -12.125, 60};
    g.coefficients = {-12.5, 0.0021, 0.0003, 1.2e-6, 3.4e-5, 80, 0.0002, -0.0095};
    g.jumpX = 0.5;
    g.jumpY = -3;
    g.gridNumber = gridNumber;
    return g;
}

class GridFileOperations : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("setup")));
        m_setupDir = m_dir.filePath(QStringLiteral("setup"));
        m_settings = std::make_unique<SettingsStore>(m_dir.filePath(QStringLiteral("settings.ini")));
        config.setupFilesDirectory = m_setupDir;
        config.resultsFilePath = m_dir.filePath(QStringLiteral("JumpMeasurementResults070326.txt"));
        config.gridCount = 3;
        m_context = std::make_unique<GridContext>(
            GridContext{calibration, config, *m_settings, fields, dialogs, screens, clock});
    }

    GridContext& context() { return *m_context; }
    SettingsStore& settings() { return *m_settings; }
    QString setupPath(const QString& name) const { return QDir(m_setupDir).filePath(name); }

    // Writes a set-up file and, unless checkBytes is empty, its check-buoy file.
    QString writeFiles(const QString& name, const GridFileContents& g, const QByteArray& checkBytes)
    {
        const QString path = setupPath(name);
        EXPECT_TRUE(writeGridFile(path, g));
        if (!checkBytes.isEmpty()) {
            EXPECT_TRUE(ReplaceFile(CheckBuoyFilePath(path), checkBytes));
        }
        return path;
    }

    // Puts a set-up on the screen as the operator would have it before a save.
    void placeLiveGrid()
    {
        const GridFileContents g = towerGrid();
        calibration.liveCorners = g.corners;
        calibration.coefficients = g.coefficients;
        calibration.jumpX = g.jumpX;
        calibration.jumpY = g.jumpY;
        calibration.checkScreenX = 5250;
        calibration.checkScreenY = 3000;
        calibration.checkSurveyX = 1.5;
        calibration.checkSurveyY = 102.25;
        fields.upper_right_x = QStringLiteral("9000");
        fields.upper_right_y = QStringLiteral("1500");
        fields.lower_right_x = QStringLiteral("10500");
        fields.lower_right_y = QStringLiteral("6000");
        fields.upper_left_x = QStringLiteral("1500");
        fields.upper_left_y = QStringLiteral("1200");
        fields.lower_left_x = QStringLiteral("750");
        fields.lower_left_y = QStringLiteral("6600");
        fields.ur_survey_x = QStringLiteral("20.5");
        fields.ur_survey_y = QStringLiteral("150");
        fields.lr_survey_x = QStringLiteral("15.25");
        fields.lr_survey_y = QStringLiteral("60");
        fields.ul_survey_x = QStringLiteral("-20.5");
        fields.ul_survey_y = QStringLiteral("150.75");
        fields.ll_survey_x = QStringLiteral("-12.125");
        fields.ll_survey_y = QStringLiteral("60");
        fields.jump_x = QStringLiteral(".5");
        fields.jump_y = QStringLiteral("-3");
        fields.txtCheckX = QStringLiteral("1.50");
        fields.txtCheckY = QStringLiteral("102.25");
        fields.txtCheckXpix = QStringLiteral("5250");
        fields.txtCheckYpix = QStringLiteral("3000");
    }

    // Everything a grid operation could change, as comparable text.
    QStringList state()
    {
        QStringList s;
        const auto n = [](double v) { return QString::number(v, 'g', 17); };
        const auto corner = [&](const GridCorner& c) {
            return QStringLiteral(" (%1 %2 %3 %4)").arg(n(c.screenX), n(c.screenY), n(c.surveyX), n(c.surveyY));
        };
        for (int g = 1; g <= 3; ++g) {
            const GridRecord& r = calibration.grid(g);
            QString line = QStringLiteral("grid %1:").arg(g);
            for (const GridCorner& c : r.corners)
                line += corner(c);
            for (double c : r.coefficients)
                line += QLatin1Char(' ') + n(c);
            line += QStringLiteral(" jump %1 %2 res %3 %4 n %5 check %6 %7 %8 %9")
                        .arg(n(r.jumpX), n(r.jumpY), n(r.reservedA), n(r.reservedB), n(r.gridNumber),
                             n(r.checkScreenX), n(r.checkScreenY), n(r.checkSurveyX), n(r.checkSurveyY));
            line += QStringLiteral(" path '%1' desc '%2' ready %3")
                        .arg(r.setupFilePath, r.description)
                        .arg(calibration.isReady(g));
            s << line;
            s << QStringLiteral("setting grid%1File '%2'")
                     .arg(g)
                     .arg(settings().ReadSetting(QStringLiteral("grid%1File").arg(g)));
        }
        QString live = QStringLiteral("live:");
        for (const GridCorner& c : calibration.liveCorners)
            live += corner(c);
        for (double c : calibration.coefficients)
            live += QLatin1Char(' ') + n(c);
        live += QStringLiteral(" jump %1 %2 check %3 %4 %5 %6 current %7 all %8 direction %9")
                    .arg(n(calibration.jumpX), n(calibration.jumpY), n(calibration.checkScreenX),
                         n(calibration.checkScreenY), n(calibration.checkSurveyX),
                         n(calibration.checkSurveyY))
                    .arg(calibration.currentGrid)
                    .arg(calibration.allGridsReady)
                    .arg(calibration.surveyDirection);
        s << live;
        for (const QString& name : GridSetupFields::fieldNames())
            s << name + QStringLiteral(" = '") + *fields.field(name) + QLatin1Char('\'');
        s << QStringLiteral("results file exists %1").arg(QFile::exists(config.resultsFilePath));
        return s;
    }

    QStringList resultsLines() const
    {
        auto lines = ReadLines(config.resultsFilePath);
        return lines ? *lines : QStringList();
    }

    QStringList setupDirEntries() const
    {
        return QDir(m_setupDir).entryList(QDir::Files | QDir::NoDotAndDotDot);
    }

    CalibrationState calibration;
    ConfigState config;
    GridSetupFields fields;
    ScriptedDialogs dialogs;
    RecordingScreens screens;
    FixedClock clock{QDateTime(QDate(2026, 7, 3), QTime(14, 5, 9))};

private:
    QTemporaryDir m_dir;
    QString m_setupDir;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<GridContext> m_context;
};

// ---------------------------------------------------------------- save

TEST_F(GridFileOperations, SaveWritesBothFilesThenTheSettingTheRecordAndTheBoxes)
{
    placeLiveGrid();
    fields.grid_select = QStringLiteral("Grid 2");
    calibration.currentGrid = 2;
    const QString path = setupPath(QStringLiteral("tower.ipt"));
    dialogs.chooseFile(path).type(QStringLiteral("Tower view, left bank")).answer(Answer::Yes);

    ASSERT_TRUE(save_grid_file(context()));

    const auto& shown = dialogs.shown();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].kind, Kind::SaveFile);
    EXPECT_EQ(shown[0].text, saveFilter);
    EXPECT_EQ(shown[0].initial, config.setupFilesDirectory);
    EXPECT_EQ(shown[0].selectedFilter, 3);
    EXPECT_EQ(shown[1].kind, Kind::Input);
    EXPECT_EQ(shown[1].text, QStringLiteral("Enter descriptive line about grid"));
    EXPECT_EQ(shown[1].title, QStringLiteral("Grid Description"));
    EXPECT_EQ(shown[2].kind, Kind::Message);
    EXPECT_EQ(shown[2].text, QStringLiteral("Save Grid 2"));
    EXPECT_EQ(shown[2].title, QStringLiteral("Current Grid"));
    EXPECT_EQ(shown[2].buttons, Buttons::YesNo);

    QByteArray expected = "Initialization Points for file: " + path.toLatin1()
        + "\r\n"
          "Tower view, left bank\r\n"
          " 9000 , 1500 , 20.5 , 150 \r\n"
          " 10500 , 6000 , 15.25 , 60 \r\n"
          " 1500 , 1200 ,-20.5 , 150.75 \r\n"
          " 750 , 6600 ,-12.125 , 60 \r\n"
          "-12.5 \r\n .0021 \r\n .0003 \r\n 1.2E-06 \r\n 3.4E-05 \r\n 80 \r\n .0002 \r\n-.0095 \r\n"
          " .5 \r\n-3 \r\n 10 \r\n 2 \r\n 2 \r\n";
    EXPECT_EQ(ReadWholeFile(path).value_or(QByteArray()), expected);
    EXPECT_EQ(ReadWholeFile(path + QStringLiteral(".cb")).value_or(QByteArray()),
              QByteArray(" 5250 \r\n 3000 \r\n1.50\r\n102.25\r\n"));

    EXPECT_EQ(settings().ReadSetting(QStringLiteral("grid2File")), path);
    const GridRecord& r = calibration.grid(2);
    EXPECT_EQ(r.corners, towerGrid().corners);
    EXPECT_EQ(r.coefficients, towerGrid().coefficients);
    EXPECT_EQ(r.jumpX, 0.5);
    EXPECT_EQ(r.jumpY, -3);
    EXPECT_EQ(r.reservedA, 10);
    EXPECT_EQ(r.reservedB, 2);
    EXPECT_EQ(r.gridNumber, 2);
    EXPECT_EQ(r.checkScreenX, 5250);
    EXPECT_EQ(r.checkScreenY, 3000);
    EXPECT_EQ(r.checkSurveyX, 1.5);
    EXPECT_EQ(r.checkSurveyY, 102.25);
    EXPECT_EQ(r.setupFilePath, path);
    EXPECT_EQ(r.description, QStringLiteral("Tower view, left bank"));
    EXPECT_EQ(fields.ipt_file_description, path);
    EXPECT_EQ(fields.ipt_file_description_2, QStringLiteral("Tower view, left bank"));
    EXPECT_TRUE(screens.calls.contains(QStringLiteral("measure description 'Tower view, left bank'")));
    EXPECT_TRUE(screens.calls.contains(QStringLiteral("main description 2 'Tower view, left bank'")));
    EXPECT_EQ(screens.calls.front(), QStringLiteral("clear grid lock"));

    // Saving neither solves nor validates.
    EXPECT_FALSE(calibration.isReady(2));
    EXPECT_FALSE(calibration.allGridsReady);
    EXPECT_FALSE(QFile::exists(config.resultsFilePath));
}

TEST_F(GridFileOperations, SaveOfAGridNeverSolvedWritesZerosWithoutComplaint)
{
    config.gridCount = 1;
    const QString path = setupPath(QStringLiteral("blank.ipt"));
    dialogs.chooseFile(path).type(QString()).answer(Answer::Yes);
    ASSERT_TRUE(save_grid_file(context()));
    EXPECT_EQ(dialogs.shown().size(), 3u);

    const auto read = readGridFile(path);
    ASSERT_TRUE(read) << read.error().message().toStdString();
    EXPECT_EQ(read->description, QString());
    EXPECT_EQ(read->coefficients, Coefficients{});
    EXPECT_EQ(read->gridNumber, 1);
    // The placeholders "CheckX"/"CheckY" are written as the numbers they read as.
    EXPECT_EQ(ReadWholeFile(path + QStringLiteral(".cb")).value_or(QByteArray()),
              QByteArray(" 0 \r\n 0 \r\n 0 \r\n 0 \r\n"));
}

TEST_F(GridFileOperations, SaveAsksTheGridNumberUntilItNamesAConfiguredGrid)
{
    placeLiveGrid();
    config.gridCount = 3;
    const QString path = setupPath(QStringLiteral("g3.ipt"));
    dialogs.chooseFile(path)
        .type(QStringLiteral("far camera"))
        .answer(Answer::No)
        .type(QStringLiteral("0"))
        .type(QStringLiteral("4"))
        .type(QStringLiteral("abc"))
        .type(QStringLiteral("2.5"))
        .type(QStringLiteral(" 3"));
    ASSERT_TRUE(save_grid_file(context()));

    const QString which = QStringLiteral("What grid are you saving?");
    EXPECT_EQ(dialogs.texts(), (QStringList{saveFilter, QStringLiteral("Enter descriptive line about grid"),
                                            QStringLiteral("Save Grid 1"), which, which, which, which, which}));
    EXPECT_EQ(dialogs.shown().back().title, QStringLiteral("Grid Number"));
    EXPECT_EQ(calibration.currentGrid, 3);
    EXPECT_EQ(settings().ReadSetting(QStringLiteral("grid3File")), path);
    EXPECT_EQ(settings().ReadSetting(QStringLiteral("grid1File")), QString());
    EXPECT_EQ(calibration.grid(3).gridNumber, 3);
    EXPECT_EQ(readGridFile(path).value().gridNumber, 3);
}

TEST_F(GridFileOperations, SaveAcceptsOnlyGridsUpToTheConfiguredCount)
{
    placeLiveGrid();
    config.gridCount = 2;
    dialogs.chooseFile(setupPath(QStringLiteral("g.ipt")))
        .type(QStringLiteral("d"))
        .answer(Answer::No)
        .type(QStringLiteral("3"))
        .type(QStringLiteral("2"));
    ASSERT_TRUE(save_grid_file(context()));
    EXPECT_EQ(dialogs.shown().size(), 5u);
    EXPECT_EQ(calibration.currentGrid, 2);
}

struct SaveCancelCase {
    const char* name;
    void (*script)(ScriptedDialogs&, const QString& path);
    int boxesShown;
};

class SaveCancel : public GridFileOperations, public testing::WithParamInterface<SaveCancelCase> {};

TEST_P(SaveCancel, WritesNothing)
{
    placeLiveGrid();
    settings().WriteSetting(QStringLiteral("grid1File"), QStringLiteral("/old/grid1.ipt"));
    const QStringList before = state();
    GetParam().script(dialogs, setupPath(QStringLiteral("g.ipt")));

    EXPECT_FALSE(save_grid_file(context()));
    EXPECT_EQ(int(dialogs.shown().size()), GetParam().boxesShown);
    EXPECT_TRUE(dialogs.allAnswersUsed());
    EXPECT_TRUE(setupDirEntries().isEmpty());
    EXPECT_EQ(state(), before);
    EXPECT_EQ(screens.calls, QStringList{QStringLiteral("clear grid lock")});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveCancel,
    testing::Values(
        SaveCancelCase{"FileDialog", [](ScriptedDialogs& d, const QString&) { d.chooseFile(QString()); }, 1},
        SaveCancelCase{"Description",
                       [](ScriptedDialogs& d, const QString& p) { d.chooseFile(p).cancelInput(); }, 2},
        SaveCancelCase{"GridNumber",
                       [](ScriptedDialogs& d, const QString& p) {
                           d.chooseFile(p).type(QStringLiteral("x")).answer(Answer::No);
                           d.type(QStringLiteral("9")).cancelInput();
                       },
                       5}),
    [](const testing::TestParamInfo<SaveCancelCase>& info) { return std::string(info.param.name); });

TEST_F(GridFileOperations, SaveToAMissingSetupDirectoryStopsBeforeTheDialog)
{
    config.setupFilesDirectory = setupPath(QStringLiteral("gone"));
    const QStringList before = state();
    EXPECT_FALSE(save_grid_file(context()));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, QStringLiteral("Invalid path, change in configuration screen"));
    EXPECT_EQ(dialogs.shown()[0].icon, Icon::Warning);
    EXPECT_EQ(state(), before);

    config.setupFilesDirectory.clear();
    dialogs.clear();
    EXPECT_FALSE(save_grid_file(context()));
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Invalid path, change in configuration screen")});
}

TEST_F(GridFileOperations, SaveThatCannotWriteTellsTheOperatorAndChangesNoSetting)
{
    placeLiveGrid();
    settings().WriteSetting(QStringLiteral("grid1File"), QStringLiteral("/old/grid1.ipt"));
    const QStringList before = state();
    const QString path = setupPath(QStringLiteral("no such folder/g.ipt"));
    dialogs.chooseFile(path).type(QStringLiteral("d")).answer(Answer::Yes);

    EXPECT_FALSE(save_grid_file(context()));
    ASSERT_EQ(dialogs.shown().size(), 4u);
    const auto& error = dialogs.shown()[3];
    EXPECT_TRUE(error.text.startsWith(QStringLiteral("Cannot write the set-up file ") + path
                                      + QStringLiteral(": ")))
        << error.text.toStdString();
    EXPECT_EQ(error.title, QStringLiteral("Error Message"));
    EXPECT_EQ(error.icon, Icon::Warning);
    EXPECT_EQ(state(), before);
}

TEST_F(GridFileOperations, SaveWhoseCheckBuoyFileCannotBeWrittenKeepsTheSetupFileAsItWas)
{
    placeLiveGrid();
    GridFileContents old = towerGrid();
    old.description = QStringLiteral("last week's set-up");
    const QString path = writeFiles(QStringLiteral("tower.ipt"), old, {});
    const QByteArray oldBytes = ReadWholeFile(path).value_or(QByteArray());
    ASSERT_TRUE(QDir().mkdir(CheckBuoyFilePath(path)));
    settings().WriteSetting(QStringLiteral("grid1File"), QStringLiteral("/old/grid1.ipt"));
    const QStringList before = state();
    dialogs.chooseFile(path).type(QStringLiteral("new set-up")).answer(Answer::Yes);

    EXPECT_FALSE(save_grid_file(context()));
    ASSERT_EQ(dialogs.shown().size(), 4u);
    EXPECT_EQ(dialogs.shown()[3].text, QStringLiteral("Cannot write the check buoy file ") + CheckBuoyFilePath(path)
                                           + QStringLiteral(": it is a folder. The grid was not saved."));
    EXPECT_EQ(dialogs.shown()[3].icon, Icon::Warning);
    EXPECT_EQ(ReadWholeFile(path).value_or(QByteArray()), oldBytes);
    EXPECT_EQ(setupDirEntries(), QStringList{QStringLiteral("tower.ipt")});
    EXPECT_EQ(state(), before);
}

TEST_F(GridFileOperations, AFileNameOutsideLatin1IsUsedAsChosenNotAsLineOneShowsIt)
{
    placeLiveGrid();
    const QString path = setupPath(QString::fromUtf8("Trib\u00fcne \u041e\u0441\u0442.ipt"));
    dialogs.chooseFile(path).type(QStringLiteral("east tower")).answer(Answer::Yes);
    ASSERT_TRUE(save_grid_file(context()));
    EXPECT_TRUE(ReadWholeFile(path).value_or(QByteArray()).startsWith(
        "Initialization Points for file: " + path.toLatin1() + "\r\n"));
    EXPECT_TRUE(path.toLatin1().contains("Trib\xfcne ???.ipt"));

    config.reportInProgress = true;
    ASSERT_TRUE(load_grid_file_by_path(context(), path, 2));
    EXPECT_EQ(calibration.grid(2).setupFilePath, path);
    EXPECT_EQ(fields.ipt_file_description, path);
    EXPECT_EQ(settings().ReadSetting(QStringLiteral("grid2File")), path);
}

// ---------------------------------------------------------------- load

TEST_F(GridFileOperations, LoadingGridTwoFromAFileThatSaysThreeFillsGridTwo)
{
    config.gridCount = 3;
    calibration.setReady(1, true);
    const QString path = writeFiles(QStringLiteral("tower.ipt"), towerGrid(3),
                                    " 5250 \r\n 3000 \r\n1.50\r\n102.25\r\n");
    const GridRecord gridThree = calibration.grid(3);
    dialogs.answer(Answer::No).type(QStringLiteral("2")).chooseFile(path);

    ASSERT_TRUE(load_grid_file(context()));

    const auto& shown = dialogs.shown();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, QStringLiteral("Load Grid 1"));
    EXPECT_EQ(shown[0].title, QStringLiteral("Current Grid"));
    EXPECT_EQ(shown[0].buttons, Buttons::YesNo);
    EXPECT_EQ(shown[1].text, QStringLiteral("What grid are you loading?"));
    EXPECT_EQ(shown[1].title, QStringLiteral("Grid Number"));
    EXPECT_EQ(shown[2].kind, Kind::OpenFile);
    EXPECT_EQ(shown[2].text, loadFilter);
    EXPECT_EQ(shown[2].selectedFilter, 3);

    const GridRecord& r = calibration.grid(2);
    EXPECT_EQ(r.corners, towerGrid().corners);
    EXPECT_EQ(r.coefficients, towerGrid().coefficients);
    EXPECT_EQ(r.gridNumber, 3); // carried as written
    EXPECT_EQ(r.checkScreenX, 5250);
    EXPECT_EQ(r.checkSurveyY, 102.25);
    EXPECT_EQ(r.setupFilePath, path);
    EXPECT_EQ(r.description, QStringLiteral("Tower view, left bank"));
    EXPECT_EQ(calibration.grid(3), gridThree);
    EXPECT_EQ(calibration.currentGrid, 2);
    EXPECT_EQ(calibration.liveCorners, towerGrid().corners);
    EXPECT_EQ(calibration.coefficients, towerGrid().coefficients);
    EXPECT_EQ(calibration.jumpX, 0.5);
    EXPECT_EQ(calibration.checkScreenY, 3000);
    EXPECT_EQ(calibration.checkSurveyX, 1.5);
    EXPECT_EQ(calibration.surveyDirection, -1); // upper right X 20.5 is not less than upper left -20.5

    EXPECT_EQ(fields.upper_right_x, QStringLiteral(" 9000"));
    EXPECT_EQ(fields.lower_left_y, QStringLiteral(" 6600"));
    EXPECT_EQ(fields.ul_survey_x, QStringLiteral("-20.5"));
    EXPECT_EQ(fields.ll_survey_x, QStringLiteral("-12.125"));
    EXPECT_EQ(fields.jump_x, QStringLiteral(" .5"));
    EXPECT_EQ(fields.jump_y, QStringLiteral("-3"));
    EXPECT_EQ(fields.txtCheckX, QStringLiteral(" 1.5"));
    EXPECT_EQ(fields.txtCheckY, QStringLiteral(" 102.25"));
    EXPECT_EQ(fields.txtCheckXpix, QStringLiteral(" 5250"));
    EXPECT_EQ(fields.txtCheckYpix, QStringLiteral(" 3000"));
    EXPECT_EQ(fields.ipt_file_description, path);
    EXPECT_EQ(fields.ipt_file_description_2, QStringLiteral("Tower view, left bank"));
    EXPECT_EQ(fields.grid_select, QStringLiteral("Grid 2"));

    EXPECT_TRUE(calibration.isReady(2));
    EXPECT_FALSE(calibration.allGridsReady); // grid 3 is not ready
    EXPECT_EQ(settings().ReadSetting(QStringLiteral("grid2File")), path);
    EXPECT_EQ(settings().ReadSetting(QStringLiteral("grid1File")), QString());
    EXPECT_TRUE(screens.calls.contains(QStringLiteral("status ready")));
    EXPECT_TRUE(screens.calls.contains(QStringLiteral("main picture 2 smiley")));
    EXPECT_TRUE(screens.calls.contains(QStringLiteral("main description 2 'Tower view, left bank'")));
    EXPECT_FALSE(screens.calls.contains(QStringLiteral("main picture 2 caution")));

    const QStringList report = resultsLines();
    ASSERT_GE(report.size(), 4);
    EXPECT_EQ(report[0], QStringLiteral("07-03-2026 14:05:09 New Set-up now in place"));
    EXPECT_EQ(report[1], path);
    EXPECT_EQ(report[3], QStringLiteral("Grid Number:  2 "));
    EXPECT_TRUE(report.contains(QStringLiteral("Upper Left X,Y Twips:  1500   1200")));
}

TEST_F(GridFileOperations, LoadingTheLastMissingGridMakesAllGridsReady)
{
    config.gridCount = 2;
    calibration.setReady(1, true);
    const QString path = writeFiles(QStringLiteral("g2.ipt"), towerGrid(2), " 5250 \r\n 3000 \r\n1\r\n2\r\n");
    dialogs.answer(Answer::No).type(QStringLiteral("2")).chooseFile(path);
    ASSERT_TRUE(load_grid_file(context()));
    EXPECT_TRUE(calibration.allGridsReady);
}

TEST_F(GridFileOperations, WithOneGridLoadNeverAsksWhichGrid)
{
    config.gridCount = 1;
    const QString path = writeFiles(QStringLiteral("g.ipt"), towerGrid(), " 5250 \r\n 3000 \r\n1\r\n2\r\n");
    dialogs.chooseFile(path);
    ASSERT_TRUE(load_grid_file(context()));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].kind, Kind::OpenFile);
    EXPECT_TRUE(calibration.isReady(1));
    EXPECT_TRUE(calibration.allGridsReady);
}

TEST_F(GridFileOperations, LoadAsksTheGridNumberAgainOnZeroFourAndLetters)
{
    config.gridCount = 3;
    const QString path = writeFiles(QStringLiteral("g.ipt"), towerGrid(), " 5250 \r\n 3000 \r\n1\r\n2\r\n");
    dialogs.answer(Answer::No)
        .type(QStringLiteral("0"))
        .type(QStringLiteral("4"))
        .type(QStringLiteral("abc"))
        .type(QStringLiteral("3"))
        .chooseFile(path);
    ASSERT_TRUE(load_grid_file(context()));
    EXPECT_EQ(dialogs.shown().size(), 6u);
    EXPECT_TRUE(calibration.isReady(3));
    EXPECT_EQ(calibration.currentGrid, 3);
}

TEST_F(GridFileOperations, ACheckBuoyAtScreenXZeroLoadsButTheGridIsNotReady)
{
    config.gridCount = 1;
    settings().WriteSetting(QStringLiteral("grid1File"), QStringLiteral("/old/grid1.ipt"));
    calibration.setReady(1, true);
    calibration.allGridsReady = true;
    const QString path = writeFiles(QStringLiteral("g.ipt"), towerGrid(), " 0 \r\n 3000 \r\n1\r\n2\r\n");
    dialogs.chooseFile(path);

    EXPECT_FALSE(load_grid_file(context()));
    EXPECT_EQ(dialogs.shown().size(), 1u); // no message: the file has a check-buoy file
    EXPECT_EQ(calibration.grid(1).corners, towerGrid().corners);
    EXPECT_EQ(fields.txtCheckXpix, QStringLiteral(" 0"));
    EXPECT_FALSE(calibration.isReady(1));
    EXPECT_FALSE(calibration.allGridsReady);
    EXPECT_EQ(settings().ReadSetting(QStringLiteral("grid1File")), QString());
    EXPECT_TRUE(screens.calls.contains(QStringLiteral("status not ready")));
    EXPECT_TRUE(screens.calls.contains(QStringLiteral("accuracy hidden")));
    EXPECT_TRUE(screens.calls.contains(QStringLiteral("main picture 1 caution")));
    EXPECT_FALSE(screens.calls.contains(QStringLiteral("status ready")));

    const QStringList report = resultsLines();
    ASSERT_GE(report.size(), 2);
    EXPECT_EQ(report[report.size() - 2], QStringLiteral("No check buoy for this set up"));
}

TEST_F(GridFileOperations, AnOldFileWithoutCheckBuoyIsLoadedButMustBeSetUpAgain)
{
    config.gridCount = 1;
    settings().WriteSetting(QStringLiteral("grid1File"), QStringLiteral("/old/grid1.ipt"));
    calibration.grid(1).checkScreenX = 4000; // from an earlier set-up
    calibration.checkScreenX = 4000;
    const QString path = writeFiles(QStringLiteral("old.ipt"), towerGrid(), QByteArray());
    dialogs.chooseFile(path);

    EXPECT_FALSE(load_grid_file(context()));
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown()[1].text, oldFileMessage);
    EXPECT_EQ(dialogs.shown()[1].icon, Icon::Critical);
    EXPECT_EQ(calibration.checkScreenX, 0);
    EXPECT_EQ(calibration.grid(1).checkScreenX, 0);
    EXPECT_EQ(fields.txtCheckX, QString());
    EXPECT_EQ(fields.txtCheckY, QString());
    EXPECT_EQ(fields.txtCheckXpix, QStringLiteral("auto"));
    EXPECT_EQ(fields.txtCheckYpix, QStringLiteral("auto"));
    EXPECT_EQ(calibration.grid(1).coefficients, towerGrid().coefficients);
    EXPECT_FALSE(calibration.isReady(1));
    EXPECT_EQ(settings().ReadSetting(QStringLiteral("grid1File")), QString());
    EXPECT_TRUE(resultsLines().contains(QStringLiteral("No check buoy for this set up")));
}

TEST_F(GridFileOperations, FillingTheBoxesFromAFileDoesNotForgetAnotherGrid)
{
    // The button still names grid 1 while grid 3 is loaded: grid 1 keeps
    // its file.
    config.gridCount = 3;
    settings().WriteSetting(QStringLiteral("grid1File"), QStringLiteral("/keep/grid1.ipt"));
    const QString path = writeFiles(QStringLiteral("g.ipt"), towerGrid(), QByteArray());
    dialogs.answer(Answer::No).type(QStringLiteral("3")).chooseFile(path);
    EXPECT_FALSE(load_grid_file(context()));
    EXPECT_EQ(settings().ReadSetting(QStringLiteral("grid1File")), QStringLiteral("/keep/grid1.ipt"));
    EXPECT_FALSE(screens.calls.contains(QStringLiteral("main picture 1 caution")));
    EXPECT_TRUE(screens.calls.contains(QStringLiteral("main picture 3 caution")));
    // The screen shows grid 3 now; a "Complete" must store into grid 3.
    EXPECT_EQ(fields.grid_select, QStringLiteral("Grid 3"));
    EXPECT_EQ(calibration.currentGrid, 3);
}

struct BadFileCase {
    const char* name;
    QByteArray setupBytes; // empty: a sound set-up file
    QByteArray checkBytes;
    const char* fileName;  // the file the message names
    const char* reason;
};

QByteArray soundSetupBytes()
{
    return EncodeLines(GridFileLines(QStringLiteral("x"), towerGrid()));
}

QByteArray setupBytesWithLine(int line, const QByteArray& text)
{
    QStringList lines = GridFileLines(QStringLiteral("x"), towerGrid());
    lines[line - 1] = QString::fromLatin1(text);
    return EncodeLines(lines);
}

class LoadBadFile : public GridFileOperations, public testing::WithParamInterface<BadFileCase> {
protected:
    QString prepare()
    {
        const BadFileCase& c = GetParam();
        const QString path = setupPath(QStringLiteral("bad.ipt"));
        EXPECT_TRUE(ReplaceFile(path, c.setupBytes.isEmpty() ? soundSetupBytes() : c.setupBytes));
        EXPECT_TRUE(ReplaceFile(CheckBuoyFilePath(path), c.checkBytes));
        return path;
    }
    QString expectedMessage(const QString& path) const
    {
        const BadFileCase& c = GetParam();
        const bool checkFile = QByteArray(c.fileName).endsWith(".cb");
        return (checkFile ? QStringLiteral("The check buoy file ") : QStringLiteral("The set-up file "))
            + (checkFile ? CheckBuoyFilePath(path) : path) + QStringLiteral(" cannot be loaded: ")
            + QString::fromLatin1(c.reason) + QStringLiteral(". Nothing was changed.");
    }
    void placeEarlierGrid()
    {
        placeLiveGrid();
        calibration.grid(1).description = QStringLiteral("earlier");
        calibration.setReady(1, true);
        calibration.allGridsReady = true;
        fields.ipt_file_description = QStringLiteral("/earlier/grid1.ipt");
        settings().WriteSetting(QStringLiteral("grid1File"), QStringLiteral("/earlier/grid1.ipt"));
    }
};

TEST_P(LoadBadFile, LoadGridFileTellsFileAndLineAndChangesNothing)
{
    config.gridCount = 1;
    placeEarlierGrid();
    const QString path = prepare();
    const QStringList before = state();
    dialogs.chooseFile(path);

    EXPECT_FALSE(load_grid_file(context()));
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown()[1].text, expectedMessage(path));
    EXPECT_EQ(dialogs.shown()[1].title, QStringLiteral("Error Message"));
    EXPECT_EQ(dialogs.shown()[1].icon, Icon::Warning);
    EXPECT_EQ(state(), before);
    EXPECT_EQ(screens.calls, QStringList{QStringLiteral("clear grid lock")});
}

TEST_P(LoadBadFile, LoadByPathTellsFileAndLineAndChangesNothing)
{
    config.reportInProgress = true;
    placeEarlierGrid();
    const QString path = prepare();
    const QStringList before = state();

    EXPECT_FALSE(load_grid_file_by_path(context(), path, 1));
    EXPECT_EQ(dialogs.texts(), QStringList{expectedMessage(path)});
    EXPECT_EQ(state(), before);
    EXPECT_TRUE(screens.calls.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadBadFile,
    testing::Values(
        BadFileCase{"LetterInLine9", setupBytesWithLine(9, " .0003x "), " 5250 \r\n 3000 \r\n1\r\n2\r\n",
                    "bad.ipt", "line 9 is not a number"},
        BadFileCase{"EmptyLine3", setupBytesWithLine(3, ""), " 5250 \r\n 3000 \r\n1\r\n2\r\n", "bad.ipt",
                    "line 3 is empty"},
        BadFileCase{"MissingCommaField", setupBytesWithLine(4, " 10500 , 6000 , 15.25 "),
                    " 5250 \r\n 3000 \r\n1\r\n2\r\n", "bad.ipt",
                    "it ends after line 19 with 28 of the 29 numbers it needs"},
        BadFileCase{"CheckBuoyFileShort", QByteArray(), " 5250 \r\n 3000 \r\n1\r\n", "bad.ipt.cb",
                    "it ends after line 3 with 3 of the 4 numbers it needs"},
        BadFileCase{"CheckBuoyLetter", QByteArray(), " 5250 \r\n 3000 \r\n1\r\nCheckY\r\n", "bad.ipt.cb",
                    "line 4 is not a number"}),
    [](const testing::TestParamInfo<BadFileCase>& info) { return std::string(info.param.name); });

TEST_F(GridFileOperations, AnEmptySetupFileChangesNothing)
{
    config.gridCount = 1;
    placeLiveGrid();
    const QString path = setupPath(QStringLiteral("empty.ipt"));
    ASSERT_TRUE(ReplaceFile(path, QByteArray()));
    const QStringList before = state();
    dialogs.chooseFile(path);
    EXPECT_FALSE(load_grid_file(context()));
    EXPECT_EQ(dialogs.texts().back(), QStringLiteral("The set-up file ") + path
                                          + QStringLiteral(" cannot be loaded: it is empty. Nothing was changed."));
    EXPECT_EQ(state(), before);
}

TEST_F(GridFileOperations, LoadCancelledAtTheDialogChangesOnlyTheGridNumber)
{
    config.gridCount = 3;
    dialogs.answer(Answer::No).type(QStringLiteral("2")).chooseFile(QString());
    EXPECT_FALSE(load_grid_file(context()));
    EXPECT_EQ(calibration.currentGrid, 2);
    EXPECT_FALSE(QFile::exists(config.resultsFilePath));
    EXPECT_EQ(screens.calls, QStringList{QStringLiteral("clear grid lock")});

    dialogs.clear();
    calibration.currentGrid = 1;
    dialogs.answer(Answer::No).cancelInput();
    EXPECT_FALSE(load_grid_file(context()));
    EXPECT_EQ(calibration.currentGrid, 1);
    EXPECT_EQ(dialogs.shown().size(), 2u);
}

TEST_F(GridFileOperations, LoadFromAMissingSetupDirectoryShowsTheInvalidPathMessage)
{
    config.gridCount = 1;
    config.setupFilesDirectory = setupPath(QStringLiteral("gone"));
    EXPECT_FALSE(load_grid_file(context()));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, QStringLiteral("Invalid path, change in configuration screen"));
    EXPECT_EQ(dialogs.shown()[0].icon, Icon::Warning);
}

// ------------------------------------------------- reload at the next start

TEST_F(GridFileOperations, SavedGridReloadsReadyAtTheNextStart)
{
    placeLiveGrid();
    config.gridCount = 1;
    const QString path = setupPath(QStringLiteral("tower.ipt"));
    dialogs.chooseFile(path).type(QStringLiteral("Tower, left bank; 2nd try")).answer(Answer::Yes);
    ASSERT_TRUE(save_grid_file(context()));
    const GridRecord saved = calibration.grid(1);

    // A new session: fresh state, only the settings and the files remain.
    calibration = CalibrationState{};
    fields = GridSetupFields{};
    dialogs.clear();
    screens.calls.clear();
    config.reportInProgress = true;
    const QString configured = settings().ReadSetting(QStringLiteral("grid1File"));
    ASSERT_EQ(configured, path);

    ASSERT_TRUE(load_grid_file_by_path(context(), configured, 1));
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_EQ(calibration.grid(1), saved);
    EXPECT_TRUE(calibration.isReady(1));
    EXPECT_TRUE(calibration.allGridsReady);
    EXPECT_EQ(calibration.currentGrid, 1);
    EXPECT_EQ(calibration.liveCorners, towerGrid().corners);
    EXPECT_EQ(calibration.checkScreenX, 5250);
    EXPECT_EQ(fields.txtCheckX, QStringLiteral(" 1.5"));
    EXPECT_EQ(fields.ipt_file_description_2, QStringLiteral("Tower, left bank; 2nd try"));
    EXPECT_EQ(settings().ReadSetting(QStringLiteral("grid1File")), path);
    EXPECT_TRUE(screens.calls.contains(QStringLiteral("main picture 1 smiley")));
    EXPECT_TRUE(screens.calls.contains(QStringLiteral("status ready")));
    // The description reaches the main screen at once, before the report.
    EXPECT_EQ(screens.calls.indexOf(QStringLiteral("main description 1 'Tower, left bank; 2nd try'")),
              screens.calls.indexOf(QStringLiteral("clear accuracy indicator")) + 1);
    EXPECT_FALSE(screens.calls.contains(QStringLiteral("main picture 1 caution")));

    const QStringList report = resultsLines();
    ASSERT_FALSE(report.isEmpty());
    EXPECT_EQ(report[0], QStringLiteral("07-03-2026 14:05:09 New Set-up now in place"));
    EXPECT_EQ(report[1], path);
    EXPECT_EQ(report[2], QStringLiteral("Tower, left bank; 2nd try"));
    EXPECT_TRUE(report.contains(QStringLiteral("Check Buoy X,Y Twips:  5250   3000")));
    EXPECT_TRUE(report.contains(QStringLiteral("Check Buoy X,Y Survey:  1.5   102.25")));
}

TEST_F(GridFileOperations, ReloadTrustsAnyCheckBuoyFile)
{
    config.reportInProgress = true;
    const QString path = writeFiles(QStringLiteral("g.ipt"), towerGrid(), " 0 \r\n 0 \r\n0\r\n0\r\n");
    EXPECT_TRUE(load_grid_file_by_path(context(), path, 2));
    EXPECT_TRUE(calibration.isReady(2));
    EXPECT_EQ(settings().ReadSetting(QStringLiteral("grid2File")), path);
}

TEST_F(GridFileOperations, ReloadWithoutCheckBuoyFileChangesNothing)
{
    config.reportInProgress = true;
    placeLiveGrid();
    settings().WriteSetting(QStringLiteral("grid2File"), QStringLiteral("/x/old.ipt"));
    const QString path = writeFiles(QStringLiteral("old.ipt"), towerGrid(), QByteArray());
    calibration.liveCorners[0].screenX = 1234; // so a change of the live state would show
    const QStringList before = state();

    EXPECT_FALSE(load_grid_file_by_path(context(), path, 2));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text,
              QStringLiteral("Error in load - no check buoy found - setup grid again"));
    EXPECT_EQ(dialogs.shown()[0].buttons, Buttons::Ok);
    EXPECT_EQ(state(), before);
    EXPECT_TRUE(screens.calls.isEmpty());
}

// ---------------------------------------------------------- forget and edits

TEST_F(GridFileOperations, ForgetEmptiesTheSettingOfTheSelectedGrid)
{
    settings().WriteSetting(QStringLiteral("grid2File"), QStringLiteral("/s/g2.ipt"));
    settings().WriteSetting(QStringLiteral("grid1File"), QStringLiteral("/s/g1.ipt"));
    fields.grid_select = QStringLiteral("Grid 2");

    config.reportInProgress = true;
    forget_grid_file(context());
    EXPECT_EQ(settings().ReadSetting(QStringLiteral("grid2File")), QStringLiteral("/s/g2.ipt"));
    EXPECT_TRUE(screens.calls.isEmpty());

    config.reportInProgress = false;
    forget_grid_file(context());
    EXPECT_EQ(settings().ReadSetting(QStringLiteral("grid2File")), QString());
    EXPECT_EQ(settings().ReadSetting(QStringLiteral("grid1File")), QStringLiteral("/s/g1.ipt"));
    EXPECT_EQ(screens.calls,
              (QStringList{QStringLiteral("main picture 2 caution"), QStringLiteral("main description 2 ''")}));
}

struct EditCase {
    const char* field;
    const char* text;
    double CalibrationState::*member; // nullptr: a corner survey value or nothing
    int cornerSlot;                   // -1: none
    bool surveyX;
    double expected;
};

class GridInputEdited : public GridFileOperations, public testing::WithParamInterface<EditCase> {};

TEST_P(GridInputEdited, UpdatesTheLiveValueAndMarksTheGridNotReady)
{
    const EditCase& c = GetParam();
    placeLiveGrid();
    fields.grid_select = QStringLiteral("Grid 3");
    calibration.setReady(3, true);
    calibration.allGridsReady = true;
    settings().WriteSetting(QStringLiteral("grid3File"), QStringLiteral("/s/g3.ipt"));
    CalibrationState expected = calibration;
    if (c.member)
        expected.*(c.member) = c.expected;
    if (c.cornerSlot >= 0) {
        GridCorner& corner = expected.liveCorners[std::size_t(c.cornerSlot)];
        (c.surveyX ? corner.surveyX : corner.surveyY) = c.expected;
    }

    *fields.field(QString::fromLatin1(c.field)) = QString::fromLatin1(c.text);
    grid_input_edited(context(), QString::fromLatin1(c.field));

    EXPECT_EQ(calibration.liveCorners, expected.liveCorners);
    EXPECT_EQ(calibration.jumpX, expected.jumpX);
    EXPECT_EQ(calibration.jumpY, expected.jumpY);
    EXPECT_EQ(calibration.checkSurveyX, expected.checkSurveyX);
    EXPECT_EQ(calibration.checkSurveyY, expected.checkSurveyY);
    EXPECT_EQ(calibration.checkScreenX, expected.checkScreenX);
    EXPECT_EQ(calibration.grids, expected.grids);
    EXPECT_FALSE(calibration.allGridsReady);
    EXPECT_EQ(settings().ReadSetting(QStringLiteral("grid3File")), QString());
    EXPECT_EQ(screens.calls,
              (QStringList{QStringLiteral("status not ready"), QStringLiteral("main picture 3 caution"),
                           QStringLiteral("main description 3 ''"), QStringLiteral("accuracy hidden"),
                           QStringLiteral("clear accuracy indicator")}));
}

constexpr int ur = int(slotIndex(CornerSlot::UpperRight));
constexpr int lr = int(slotIndex(CornerSlot::LowerRight));
constexpr int ul = int(slotIndex(CornerSlot::UpperLeft));
constexpr int ll = int(slotIndex(CornerSlot::LowerLeft));

INSTANTIATE_TEST_SUITE_P(
    Cases, GridInputEdited,
    testing::Values(EditCase{"ul_survey_x", "-21.5", nullptr, ul, true, -21.5},
                    EditCase{"ul_survey_y", "151", nullptr, ul, false, 151},
                    EditCase{"ur_survey_x", "19.75m", nullptr, ur, true, 19.75},
                    EditCase{"ur_survey_y", "abc", nullptr, ur, false, 0},
                    EditCase{"ll_survey_x", "-13", nullptr, ll, true, -13},
                    EditCase{"ll_survey_y", "61.5", nullptr, ll, false, 61.5},
                    EditCase{"lr_survey_x", "16", nullptr, lr, true, 16},
                    EditCase{"lr_survey_y", "59", nullptr, lr, false, 59},
                    EditCase{"jump_x", "0.75", &CalibrationState::jumpX, -1, false, 0.75},
                    EditCase{"jump_y", "-2.5", &CalibrationState::jumpY, -1, false, -2.5},
                    EditCase{"txtCheckX", "2", &CalibrationState::checkSurveyX, -1, false, 2},
                    EditCase{"txtCheckY", "", &CalibrationState::checkSurveyY, -1, false, 0},
                    EditCase{"upper_left_x", "1515", nullptr, -1, false, 0},
                    EditCase{"lower_right_y", "6015", nullptr, -1, false, 0},
                    EditCase{"txtCheckXpix", "5265", nullptr, -1, false, 0},
                    EditCase{"txtCheckYpix", "3015", nullptr, -1, false, 0}),
    [](const testing::TestParamInfo<EditCase>& info) { return std::string(info.param.field); });

TEST_F(GridFileOperations, EditsDuringTheReloadForgetNothing)
{
    config.reportInProgress = true;
    calibration.allGridsReady = true;
    settings().WriteSetting(QStringLiteral("grid1File"), QStringLiteral("/s/g1.ipt"));
    fields.jump_x = QStringLiteral("4");
    grid_input_edited(context(), QStringLiteral("jump_x"));
    EXPECT_EQ(calibration.jumpX, 4);
    EXPECT_FALSE(calibration.allGridsReady);
    EXPECT_EQ(settings().ReadSetting(QStringLiteral("grid1File")), QStringLiteral("/s/g1.ipt"));
    EXPECT_FALSE(screens.calls.contains(QStringLiteral("main picture 1 caution")));
}

TEST_F(GridFileOperations, EditsOfBoxesThatDoNotDescribeTheGridChangeNothing)
{
    calibration.allGridsReady = true;
    fields.ipt_file_description_2 = QStringLiteral("new words");
    grid_input_edited(context(), QStringLiteral("ipt_file_description_2"));
    grid_input_edited(context(), QStringLiteral("no_such_box"));
    EXPECT_TRUE(calibration.allGridsReady);
    EXPECT_TRUE(screens.calls.isEmpty());
}

} // namespace
