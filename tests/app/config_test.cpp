#include "app/config.h"
#include "app/configstate.h"
#include "app/frmmanual.h"
#include "app/frmselectskier.h"
#include "app/mainform.h"
#include "app/rampscope.h"
#include "app/settingsstore.h"
#include "common/clock.h"
#include "measure/measure.h"
#include "setup_screen/grid_setup.h"
#include "support/filebytes.h"
#include "support/scripteddialogs.h"
#include "support/towergridfiles.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Answer = OperatorDialogs::Answer;

class ConfigScreen : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString videoDir = dir.filePath(QStringLiteral("videos"));
    QString setupDir = dir.filePath(QStringLiteral("setups"));
    StationFolders folders{dir.filePath(QStringLiteral("appdata")), {}};
    SettingsStore settings{dir.filePath(QStringLiteral("settings.ini"))};
    ScriptedDialogs dialogs;
    FixedClock clock{QDateTime(QDate(2026, 7, 3), QTime(21, 5, 9))};
    std::unique_ptr<Rampscope> app;

    void SetUp() override
    {
        for (const QString& path : {videoDir, setupDir, folders.dataDirectory})
            ASSERT_TRUE(QDir().mkpath(path));
        settings.WriteSetting(QStringLiteral("logpath"), videoDir);
        start();
    }

    // A start-up as at the lake: no emergency reset, ended on the
    // configuration screen.
    void start()
    {
        app.reset();
        app = std::make_unique<Rampscope>(settings, dialogs, clock, folders);
        dialogs.answer(Answer::No);
        ASSERT_TRUE(app->start());
        dialogs.clear();
    }

    template <typename T>
    T* configControl(const char* name)
    {
        T* control = app->configScreen().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    void click(const char* name) { configControl<QAbstractButton>(name)->click(); }
    void exitAndSave() { configControl<QAction>("mnuExit")->trigger(); }
    QString setting(const char* key) { return settings.ReadSetting(QString::fromLatin1(key), QStringLiteral("<unset>")); }
    QWidget* measureControl(const char* name)
    {
        return app->measure().findChild<QWidget*>(QString::fromLatin1(name));
    }
};

TEST_F(ConfigScreen, PrerollSecondsWrittenAtOnceAndReadAtTheLoad)
{
    EXPECT_EQ(configControl<QSpinBox>("prerollSeconds")->value(), 0);
    EXPECT_EQ(app->capture().prerollSeconds(), 0);
    configControl<QSpinBox>("prerollSeconds")->setValue(2);
    EXPECT_EQ(setting("prerollSeconds"), QStringLiteral("2"));
    EXPECT_EQ(app->capture().prerollSeconds(), 2);

    const struct {
        const char* stored; // nullptr: what the box wrote above
        int loaded;
    } cases[] = {{nullptr, 2}, {"7", 3}, {"abc", 0}, {"-1", 0}};
    for (const auto& c : cases) {
        if (c.stored)
            settings.WriteSetting(QStringLiteral("prerollSeconds"), QString::fromLatin1(c.stored));
        start();
        EXPECT_EQ(configControl<QSpinBox>("prerollSeconds")->value(), c.loaded) << c.stored;
        EXPECT_EQ(app->config().prerollSeconds, c.loaded);
        EXPECT_EQ(app->capture().prerollSeconds(), c.loaded);
    }
}

TEST_F(ConfigScreen, EveryControlWritesItsSettingAtOnce)
{
    struct Step {
        const char* control;
        const char* key;
        const char* value;
    };
    const Step steps[] = {
        {"Opt2grid", "grids", "2"},         {"Opt3grid", "grids", "3"},
        {"Opt1Grid", "grids", "1"},         {"right_to_left_button", "right2left", "True"},
        {"left_to_right_button", "right2left", "False"},
        {"OptCross", "buoymarker", "cross"}, {"OptCircle", "buoymarker", "circle"},
        {"yellow_color", "labelcolor", "yellow"}, {"black_color", "labelcolor", "black"},
        {"line_control_check", "boxlineoff", "True"}, {"line_control_check", "boxlineoff", "False"},
        {"SCORIX", "SCORIX", "1"},          {"chkLoupe", "Loupe", "1"},
        {"Barefoot_box", "tournamentType", "barefoot"}, {"SitSki_box", "tournamentType", "sitski"},
        {"SitSki_box", "tournamentType", "normal"},
        {"OptPictureNoSave", "PictureSave", "NoSave"}, {"OptVideoSave", "VideoSave", "Save"},
    };
    for (const Step& step : steps) {
        click(step.control);
        EXPECT_EQ(setting(step.key), QString::fromLatin1(step.value)) << step.control;
    }
    // The save choices take effect at the next start.
    EXPECT_EQ(app->config().pictureSaveMode, QStringLiteral("Ask"));
    EXPECT_EQ(app->config().videoSaveMode, QStringLiteral("Ask"));

    configControl<QLineEdit>("SetupFilesPathName")->setText(setupDir);
    EXPECT_EQ(setting("SetupFiles"), setupDir);
    EXPECT_TRUE(dialogs.shown().empty());

    // Read back at the next start, into the boxes and the configuration.
    start();
    EXPECT_EQ(app->config().gridCount, 1);
    EXPECT_TRUE(configControl<QCheckBox>("SCORIX")->isChecked());
    EXPECT_TRUE(configControl<QLabel>("QXIOLabel")->isVisibleTo(&app->configScreen()));
    EXPECT_TRUE(configControl<QAbstractButton>("black_color")->isChecked());
    EXPECT_TRUE(configControl<QAbstractButton>("OptVideoSave")->isChecked());
    EXPECT_EQ(app->config().pictureSaveMode, QStringLiteral("NoSave"));
    EXPECT_EQ(app->config().setupFilesDirectory, setupDir);
    EXPECT_TRUE(app->measure().findChild<QCheckBox*>(QStringLiteral("chkMagnifier"))->isChecked());
    EXPECT_TRUE(app->gridSetup().findChild<QCheckBox*>(QStringLiteral("chkMagnifier"))->isChecked());
}

TEST_F(ConfigScreen, TournamentTypesExcludeEachOtherAndShowOnTheMeasurementScreen)
{
    auto* barefoot = configControl<QCheckBox>("Barefoot_box");
    auto* sitSki = configControl<QCheckBox>("SitSki_box");
    auto* indicator = qobject_cast<QLineEdit*>(measureControl("barefoot_indicator"));
    ASSERT_NE(indicator, nullptr);

    sitSki->click();
    barefoot->click();
    EXPECT_FALSE(sitSki->isChecked());
    EXPECT_EQ(setting("tournamentType"), QStringLiteral("barefoot"));
    EXPECT_TRUE(indicator->isVisibleTo(&app->measure()));
    EXPECT_EQ(indicator->text(), QStringLiteral("Barefoot Jump"));
    EXPECT_EQ(app->config().tournamentType(), TournamentType::Barefoot);

    sitSki->click();
    EXPECT_FALSE(barefoot->isChecked());
    EXPECT_EQ(indicator->text(), QStringLiteral("Sit Ski Jump"));
    EXPECT_EQ(app->config().tournamentType(), TournamentType::SitSki);

    sitSki->click();
    EXPECT_EQ(setting("tournamentType"), QStringLiteral("normal"));
    EXPECT_FALSE(indicator->isVisibleTo(&app->measure()));
    EXPECT_EQ(app->config().tournamentType(), TournamentType::Normal);
}

TEST_F(ConfigScreen, LabelColoursReachTheMeasurementScreen)
{
    const auto colour = [&](const char* name) { return measureControl(name)->palette().color(QPalette::WindowText); };
    click("yellow_color");
    for (const char* name : {"Fall", "M_Reride", "FrozenSign", "AWSAlabel", "minbuoym"})
        EXPECT_EQ(colour(name), QColor(255, 255, 0)) << name;
    click("default_color");
    EXPECT_EQ(colour("Fall"), QColor(0, 0, 0));
    EXPECT_EQ(colour("M_Reride"), QColor(255, 0, 0));
    EXPECT_EQ(colour("O_reride"), QColor(255, 255, 0));
    EXPECT_EQ(colour("FrozenSign"), QColor(255, 255, 255));
}

TEST_F(ConfigScreen, ExitStoresReportsLoadsTheSkierNamesAndShowsTheMainScreen)
{
    const QString names = dir.filePath(QStringLiteral("names.txt"));
    ASSERT_TRUE(WriteFileBytes(names, "Ann, Bob\r\nCy\r\n"));
    configControl<QLineEdit>("TournamentName")->setText(QStringLiteral("Moomba Open"));
    configControl<QLineEdit>("CapturesPathName")->setText(videoDir);
    dialogs.chooseFile(names);
    click("btnFindNames");
    EXPECT_EQ(dialogs.shown().at(0).initial, folders.dataDirectory);
    EXPECT_EQ(dialogs.shown().at(0).selectedFilter, 2);
    click("white_color");
    exitAndSave();

    EXPECT_EQ(setting("TournamentName"), QStringLiteral("Moomba Open"));
    EXPECT_EQ(setting("labelcolor"), QStringLiteral("white"));
    EXPECT_EQ(app->config().capturesDirectory, videoDir + QDir::separator());
    EXPECT_EQ(FileBytes(videoDir + QStringLiteral("/JumpMeasurementResults070326.txt")),
              QByteArray("New Configuration: 07-03-2026  21:05:09 Moomba Open\r\n"));
    auto* skiers = qobject_cast<QComboBox*>(measureControl("Skier_name"));
    ASSERT_EQ(skiers->count(), 3);
    EXPECT_EQ(skiers->itemText(1), QStringLiteral("Bob"));
    EXPECT_EQ(skiers->itemText(2), QStringLiteral("Cy"));
    EXPECT_FALSE(app->configScreen().isVisible());
    EXPECT_TRUE(app->mainForm().isVisible());
    EXPECT_EQ(dialogs.shown().size(), 1u);

    // A name file gone since: told, and the list is emptied.
    QFile::remove(names);
    app->configScreen().show();
    exitAndSave();
    EXPECT_EQ(dialogs.texts().last(), QStringLiteral("Names not loaded, check file name and path"));
    EXPECT_EQ(skiers->count(), 0);
    EXPECT_TRUE(app->mainForm().isVisible());
}

TEST_F(ConfigScreen, EmptyResultsPathIsToldOnceTheOperatorLeavesTheBox)
{
    auto* results = configControl<QLineEdit>("ResultsPathName");
    results->clear();
    EXPECT_TRUE(dialogs.shown().empty()) << "not at every keystroke";
    Q_EMIT results->editingFinished();
    exitAndSave();
    const QString message = QStringLiteral("Enter valid path and filename for results file");
    EXPECT_EQ(dialogs.texts(), (QStringList{message, message}));
    EXPECT_TRUE(app->mainForm().isVisible());
}

TEST_F(ConfigScreen, GridSavedThroughTheScreensIsReloadedAtTheNextStart)
{
    const QString tower = dir.filePath(QStringLiteral("tower.ipt"));
    ASSERT_TRUE(WriteTowerGridFiles(tower));
    configControl<QLineEdit>("SetupFilesPathName")->setText(setupDir);
    exitAndSave();

    app->mainForm().findChild<QPushButton*>(QStringLiteral("cmdSetup"))->click();
    Grid_Setup& setup = app->gridSetup();
    ASSERT_TRUE(setup.isVisible());
    const auto trigger = [&](const char* name) { setup.findChild<QAction*>(QString::fromLatin1(name))->trigger(); };
    dialogs.chooseFile(tower);
    trigger("gridLoad");
    ASSERT_TRUE(app->calibration().isReady(1));
    const QString saved = setupDir + QStringLiteral("/tower-copy.ipt");
    dialogs.chooseFile(saved).type(QStringLiteral("Tower camera")).answer(Answer::Yes);
    trigger("gridSave");
    ASSERT_TRUE(QFile::exists(saved));

    start();
    EXPECT_TRUE(app->calibration().isReady(1));
    EXPECT_EQ(app->mainForm().gridPictureName(1), QStringLiteral("SmallSmiley.jpg"));
    EXPECT_EQ(settings.ReadSetting(QStringLiteral("grid1File")), saved);
}

TEST_F(ConfigScreen, MainScreenImportsASkierListAndOpensTheConfigurationAndManual)
{
    exitAndSave();
    MainForm& main = app->mainForm();
    const QString list = folders.dataFile(QStringLiteral("SkierNames.txt"));
    const QString rtf = dir.filePath(QStringLiteral("skiers.rtf"));
    ASSERT_TRUE(WriteFileBytes(rtf, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Lee,Kim\\par Bo\\par}"));
    dialogs.chooseFile(rtf);
    main.findChild<QPushButton*>(QStringLiteral("cmdImport"))->click();
    EXPECT_EQ(FileBytes(list), QByteArray("Lee,Kim\r\nBo\r\n"));

    // A cancelled choice changes nothing; a damaged file is told and
    // changes nothing.
    dialogs.chooseFile(QString());
    main.findChild<QPushButton*>(QStringLiteral("cmdImport"))->click();
    QFile::resize(rtf, 20);
    dialogs.chooseFile(rtf);
    main.findChild<QPushButton*>(QStringLiteral("cmdImport"))->click();
    EXPECT_TRUE(dialogs.texts().last().startsWith(
        QStringLiteral("Skier names not imported, the skier list is unchanged. Cannot use ") + rtf));
    EXPECT_EQ(FileBytes(list), QByteArray("Lee,Kim\r\nBo\r\n"));

    // A repaint of the main screen clears the reason a screen is shown for.
    app->screenMode() = QStringLiteral("Measure");
    main.grab();
    EXPECT_EQ(app->screenMode(), QString());

    main.findChild<QPushButton*>(QStringLiteral("cmdConfigure"))->click();
    EXPECT_TRUE(app->configScreen().isVisible());
    EXPECT_FALSE(main.isVisible());
    exitAndSave();
    main.findChild<QAction*>(QStringLiteral("munManual"))->trigger();
    EXPECT_TRUE(app->manual().isVisible());
    EXPECT_FALSE(main.isVisible());
    app->manual().findChild<QPushButton*>(QStringLiteral("cmdDone"))->click();
    EXPECT_TRUE(main.isVisible());
}

} // namespace

namespace {

TEST(SkierPicker, ListsTheSkierListAndHandsOverTheDoubleClickedName)
{
    QTemporaryDir dir;
    const QString list = dir.filePath(QStringLiteral("SkierNames.txt"));
    ASSERT_TRUE(WriteFileBytes(list, "Smith,Ann\r\n\r\nCy\r\n"));
    ScriptedDialogs dialogs;
    frmSelectSkier picker(list, dialogs);
    picker.show();
    QString chosen;
    QObject::connect(&picker, &frmSelectSkier::skierChosen, &picker, [&](const QString& name) { chosen = name; });
    ASSERT_EQ(picker.skiers()->count(), 2);
    Q_EMIT picker.skiers()->itemDoubleClicked(picker.skiers()->item(0));
    EXPECT_EQ(chosen, QStringLiteral("Smith Ann"));
    EXPECT_FALSE(picker.isVisible());

    frmSelectSkier empty(dir.filePath(QStringLiteral("none.txt")), dialogs);
    EXPECT_EQ(empty.skiers()->count(), 0);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_TRUE(dialogs.shown()[0].text.startsWith(QStringLiteral("There is no skier list to choose from")));
}

} // namespace
