#include "app/config.h"
#include "app/logviewers.h"
#include "app/mainform.h"
#include "app/rampscope.h"
#include "app/settingsstore.h"
#include "common/clock.h"
#include "common/textfile.h"
#include "measure/measure.h"
#include "setup_screen/grid_setup.h"
#include "support/filebytes.h"
#include "support/scripteddialogs.h"
#include "support/towergridfiles.h"
#include "numberedvideo.h"
#include "testvideos.h"
#include "video/frameplayer.h"
#include "video/frmsetstart.h"
#include "video/previewform.h"
#include "widgets/picturecanvas.h"

#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QMainWindow>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class StartUp : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString videoDir = dir.filePath(QStringLiteral("videos"));
    SettingsStore settings{dir.filePath(QStringLiteral("settings.ini"))};
    ScriptedDialogs dialogs;
    FixedClock clock{QDateTime(QDate(2026, 7, 3), QTime(9, 5, 7))};

    StationFolders folders{dir.filePath(QStringLiteral("appdata")), {}};

    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(videoDir));
        ASSERT_TRUE(QDir().mkpath(folders.dataDirectory));
    }

    // The start-up, ended as the operator ends it: the configuration
    // screen left for the main screen.
    static void startAndLeaveConfiguration(Rampscope& app)
    {
        ASSERT_TRUE(app.start());
        app.configScreen().exitAndSave();
    }

    // A start-up on an existing video directory, then grid 1 made ready.
    void startWithReadyGrid(Rampscope& app)
    {
        settings.WriteSetting(QStringLiteral("logpath"), videoDir);
        dialogs.answer(OperatorDialogs::Answer::No);
        startAndLeaveConfiguration(app);
        app.calibration().setReady(1, true);
        app.calibration().updateAllGridsReady(app.config().gridCount);
        dialogs.clear();
    }

    template <typename T>
    T* control(Rampscope& app, const char* name)
    {
        return app.mainForm().findChild<T*>(QString::fromLatin1(name));
    }
};

TEST_F(StartUp, FirstRunAsksForTheVideoDirectoryUntilItExists)
{
    dialogs.answer(OperatorDialogs::Answer::No) // no emergency reset
        .type(QString())
        .type(dir.filePath(QStringLiteral("nowhere")))
        .type(videoDir + QLatin1Char('/'));
    Rampscope app(settings, dialogs, clock, folders);
    ASSERT_TRUE(app.start());
    // The start-up ends on the configuration screen.
    EXPECT_TRUE(app.configScreen().isVisible());
    EXPECT_FALSE(app.mainForm().isVisible());
    app.configScreen().exitAndSave();

    const QString prompt = QStringLiteral(
        "No Correct Save Video Directory has been set.  Please put in the path of the Save Video Directory here.");
    // An empty answer is no directory either.
    const QString invalid = QStringLiteral("You entered an invalid path - try  again");
    EXPECT_EQ(dialogs.texts(), (QStringList{QStringLiteral("Do you want to reset all parameters to install values?"),
                                            prompt, invalid, prompt, invalid, prompt,
                                            QStringLiteral("Please Verify all Setup Parameters")}));
    EXPECT_TRUE(dialogs.allAnswersUsed());

    EXPECT_EQ(app.config().videoDirectory, videoDir);
    EXPECT_EQ(settings.ReadSetting(QStringLiteral("logpath")), videoDir + QLatin1Char('/'));
    EXPECT_EQ(settings.ReadSetting(QStringLiteral("logfile")), QStringLiteral("JumpMeasurementLog070326.txt"));
    EXPECT_EQ(FileBytesOrEmpty(videoDir + QStringLiteral("/JumpMeasurementLog070326.txt")),
              QByteArray("07-03-2026    09:05:07      Rampscope Measurement Session started  \r\n"));
    EXPECT_EQ(app.config().resultsFilePath, videoDir + QStringLiteral("/JumpMeasurementResults070326.txt"));
    EXPECT_EQ(settings.ReadSetting(QStringLiteral("labelcolor")), QStringLiteral("default"));

    MainForm& main = app.mainForm();
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Rampscope 2005"));
    EXPECT_EQ(control<QLineEdit>(app, "txtVideoDir")->text(), videoDir + QLatin1Char('/'));
    EXPECT_EQ(app.config().gridCount, 1);
    EXPECT_TRUE(control<QLabel>(app, "lblGrid1")->isVisible());
    EXPECT_FALSE(control<QLabel>(app, "lblGrid2")->isVisible());
    EXPECT_FALSE(control<QLabel>(app, "ImageGrid3")->isVisible());
    EXPECT_EQ(main.gridPictureName(1), QStringLiteral("SmallCaution.jpg"));
}

TEST_F(StartUp, ConfiguredGridIsReloadedAndShownReady)
{
    const QString ipt = dir.filePath(QStringLiteral("tower.ipt"));
    ASSERT_TRUE(WriteTowerGridFiles(ipt));

    settings.WriteSetting(QStringLiteral("logpath"), videoDir);
    settings.WriteSetting(QStringLiteral("grids"), QStringLiteral("2"));
    settings.WriteSetting(QStringLiteral("grid1File"), ipt);
    settings.WriteSetting(QStringLiteral("grid2File"), dir.filePath(QStringLiteral("gone.ipt")));

    dialogs.answer(OperatorDialogs::Answer::No);
    Rampscope app(settings, dialogs, clock, folders);
    startAndLeaveConfiguration(app);

    EXPECT_EQ(dialogs.texts(), (QStringList{QStringLiteral("Do you want to reset all parameters to install values?"),
                                            QStringLiteral("Please Verify all Setup Parameters")}));
    EXPECT_TRUE(app.calibration().isReady(1));
    EXPECT_FALSE(app.calibration().isReady(2));
    EXPECT_EQ(app.calibration().currentGrid, 1);
    EXPECT_DOUBLE_EQ(app.calibration().coefficients[3], 1.2e-6);
    EXPECT_EQ(app.mainForm().gridPictureName(1), QStringLiteral("SmallSmiley.jpg"));
    EXPECT_EQ(app.mainForm().gridPictureName(2), QStringLiteral("SmallCaution.jpg"));
    EXPECT_EQ(control<QLineEdit>(app, "txtGridDescription_0")->text(), QStringLiteral("Tower camera"));
    EXPECT_TRUE(control<QLabel>(app, "lblGrid2")->isVisible());
    EXPECT_FALSE(control<QLabel>(app, "lblGrid3")->isVisible());
    // The reload leaves its report in today's results file and keeps the
    // setting of the grid whose file is missing.
    EXPECT_TRUE(FileBytesOrEmpty(app.config().resultsFilePath).contains("New Set-up now in place"));
    EXPECT_EQ(settings.ReadSetting(QStringLiteral("grid1File")), ipt);
    EXPECT_EQ(settings.ReadSetting(QStringLiteral("grid2File")), dir.filePath(QStringLiteral("gone.ipt")));
    EXPECT_FALSE(app.config().reportInProgress);

    // Two grids configured and grid 2's file missing:
    // the measurement screen is refused and the set-up screen shown.
    dialogs.clear();
    control<QPushButton>(app, "ccmdGoToMeasure")->click();
    EXPECT_EQ(dialogs.texts(),
              QStringList{QStringLiteral("At least one measurement grid that you have specified has not been set up.  "
                                         "All grids specified must be set up correctly before you can use the "
                                         "measurement screen")});
    EXPECT_EQ(dialogs.shown().at(0).icon, OperatorDialogs::Icon::Critical);
    EXPECT_FALSE(app.mainForm().isVisible());
    EXPECT_TRUE(app.gridSetup().isVisible());
    EXPECT_FALSE(app.measure().isVisible());
}

TEST_F(StartUp, ReadyGridsOpenTheMeasurementScreen)
{
    Rampscope app(settings, dialogs, clock, folders);
    startWithReadyGrid(app);

    control<QPushButton>(app, "ccmdGoToMeasure")->click();
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_FALSE(app.mainForm().isVisible());
    EXPECT_TRUE(app.measure().isVisible());
}

TEST_F(StartUp, ChangeVideoFileDirectory)
{
    settings.WriteSetting(QStringLiteral("logpath"), videoDir);
    dialogs.answer(OperatorDialogs::Answer::No);
    Rampscope app(settings, dialogs, clock, folders);
    startAndLeaveConfiguration(app);
    dialogs.clear();

    const QString other = dir.filePath(QStringLiteral("other"));
    ASSERT_TRUE(QDir().mkpath(other));
    auto* button = control<QPushButton>(app, "btnChangeDirectory");

    dialogs.cancelInput();
    button->click();
    EXPECT_EQ(app.config().videoDirectory, videoDir);

    dialogs.type(dir.filePath(QStringLiteral("nowhere"))).type(other);
    button->click();
    ASSERT_EQ(dialogs.shown().size(), 4u);
    EXPECT_EQ(dialogs.shown()[1].text, QStringLiteral("Please put in the path of the Save Video Directory here."));
    EXPECT_EQ(dialogs.shown()[1].title, QStringLiteral("Input Save Video Files Path"));
    EXPECT_EQ(dialogs.shown()[2].text, QStringLiteral("The folder you entered does not exist"));
    EXPECT_EQ(dialogs.shown()[2].title, QStringLiteral("Jump Measurement Alert"));
    EXPECT_EQ(control<QLineEdit>(app, "txtVideoDir")->text(), other);
    EXPECT_EQ(control<QLabel>(app, "lblVideodir")->text(), other);
    EXPECT_EQ(app.config().videoDirectory, other);
    EXPECT_EQ(settings.ReadSetting(QStringLiteral("logpath")), other);
}

TEST_F(StartUp, RecordedVideosNeedAnExistingVideoDirectory)
{
    settings.WriteSetting(QStringLiteral("logpath"), videoDir);
    dialogs.answer(OperatorDialogs::Answer::No);
    Rampscope app(settings, dialogs, clock, folders);
    startAndLeaveConfiguration(app);
    dialogs.clear();

    control<QLineEdit>(app, "txtVideoDir")->setText(dir.filePath(QStringLiteral("gone")));
    dialogs.answer(OperatorDialogs::Answer::Ok);
    control<QPushButton>(app, "cmdGoTimer")->click();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, QStringLiteral("The Log File Folder you specified does not exist. Please "
                                                      "change it to a Folder that does exist."));
    EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Path Error"));
    EXPECT_EQ(dialogs.shown()[0].icon, OperatorDialogs::Icon::Warning);
    EXPECT_TRUE(app.mainForm().isVisible());

    control<QLineEdit>(app, "txtVideoDir")->setText(videoDir);
    control<QPushButton>(app, "cmdGoTimer")->click();
    EXPECT_EQ(dialogs.shown().size(), 1u);
    EXPECT_FALSE(app.mainForm().isVisible());
    EXPECT_TRUE(app.frameSelection().isVisible());
    EXPECT_EQ(app.screenMode(), QStringLiteral("Setup"));
    EXPECT_TRUE(app.frameSelection().findChild<QPushButton*>(QStringLiteral("cmdGoToCapture"))->isVisible());

    app.frameSelection().findChild<QPushButton*>(QStringLiteral("cmdGoToSetup"))->click();
    EXPECT_TRUE(app.mainForm().isVisible());
    EXPECT_FALSE(app.frameSelection().isVisible());
    EXPECT_EQ(app.screenMode(), QStringLiteral("Timer"));

    // The window's close button goes back to the main screen too.
    control<QPushButton>(app, "cmdGoTimer")->click();
    app.frameSelection().close();
    EXPECT_FALSE(app.frameSelection().isVisible());
    EXPECT_TRUE(app.mainForm().isVisible());
}

TEST_F(StartUp, ClosingAScreenWindowReturnsToTheMainScreen)
{
    Rampscope app(settings, dialogs, clock, folders);
    startWithReadyGrid(app);
    control<QPushButton>(app, "ccmdGoToMeasure")->click();
    ASSERT_TRUE(app.measure().isVisible());
    app.measure().close();
    EXPECT_FALSE(app.measure().isVisible());
    EXPECT_TRUE(app.mainForm().isVisible());

    control<QPushButton>(app, "cmdSetup")->click();
    ASSERT_TRUE(app.gridSetup().isVisible());
    app.gridSetup().close();
    EXPECT_FALSE(app.gridSetup().isVisible());
    EXPECT_TRUE(app.mainForm().isVisible());
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(StartUp, BarefootTimingAndTheVideoSaveModeComeFromTheSettings)
{
    settings.WriteSetting(QStringLiteral("logpath"), videoDir);
    settings.WriteSetting(QStringLiteral("barefoot"), QStringLiteral("1"));
    settings.WriteSetting(QStringLiteral("VideoSave"), QStringLiteral("NoSave"));
    settings.WriteSetting(QStringLiteral("PictureSave"), QStringLiteral("something else"));
    dialogs.answer(OperatorDialogs::Answer::No);
    Rampscope app(settings, dialogs, clock, folders);
    startAndLeaveConfiguration(app);

    auto* barefoot = control<QCheckBox>(app, "cb15");
    EXPECT_EQ(barefoot->text(), QStringLiteral("Enable Barefoot Timing (15 sec)"));
    EXPECT_TRUE(barefoot->isChecked());
    EXPECT_EQ(app.config().videoSaveMode, QStringLiteral("NoSave"));
    EXPECT_EQ(app.config().pictureSaveMode, QStringLiteral("Ask"));

    barefoot->click();
    EXPECT_EQ(settings.ReadSetting(QStringLiteral("barefoot")), QStringLiteral("0"));
    barefoot->click();
    EXPECT_EQ(settings.ReadSetting(QStringLiteral("barefoot")), QStringLiteral("1"));
}

TEST_F(StartUp, AFrameChosenFromARecordedVideoIsWhatTheNextScreenShows)
{
    Rampscope app(settings, dialogs, clock, folders);
    startWithReadyGrid(app);
    const QString video = videoDir + QStringLiteral("/Annjump1.avi");
    ASSERT_TRUE(QFile::copy(TestVideos::Path(TestVideos::Kind::Mjpeg), video));

    const auto chooseFrame = [&](int frame, const char* accept) {
        control<QPushButton>(app, "cmdGoTimer")->click();
        frmSetStart& frames = app.frameSelection();
        dialogs.chooseFile(video);
        frames.findChild<QPushButton*>(QStringLiteral("Command6"))->click();
        frames.player().setPosition(frame);
        frames.findChild<QPushButton*>(QString::fromLatin1(accept))->click();
        EXPECT_FALSE(frames.isVisible());
    };

    chooseFrame(33, "cmdMarkStart");
    ASSERT_TRUE(app.measure().isVisible());
    EXPECT_EQ(NumberedVideo::ReadNumber(app.measure().findChild<PictureCanvas*>()->picture()), 33);

    app.measure().hide();
    chooseFrame(41, "btnGoToSetup");
    ASSERT_TRUE(app.gridSetup().isVisible());
    EXPECT_EQ(NumberedVideo::ReadNumber(app.gridSetup().findChild<PictureCanvas*>()->picture()), 41);
    EXPECT_TRUE(dialogs.allAnswersUsed());
}

TEST_F(StartUp, TheLogViewersReopenALoggedVideoAndAPicture)
{
    Rampscope app(settings, dialogs, clock, folders);
    startWithReadyGrid(app);
    const QString first = videoDir + QStringLiteral("/Annjump1.avi");
    const QString second = videoDir + QStringLiteral("/Annjump2.avi");
    ASSERT_TRUE(QFile::copy(TestVideos::Path(TestVideos::Kind::Mjpeg), first));
    ASSERT_TRUE(QFile::copy(TestVideos::Path(TestVideos::Kind::Mjpeg), second));
    const QString picture = videoDir + QStringLiteral("/Annjump1.bmp");
    QImage(64, 48, QImage::Format_RGB888).save(picture);
    const QString log = videoDir + QStringLiteral("/") + app.config().logFileName;
    ASSERT_TRUE(AppendLines(log, {QStringLiteral("x  File: ") + first, QStringLiteral("y  File: ") + second,
                                  QStringLiteral("z  File: ") + picture}));

    const auto menu = [&](const char* name) {
        for (QAction* action : app.mainForm().menuBar()->actions()) {
            if (action->objectName() == QLatin1String(name))
                action->trigger();
        }
    };
    // A click on a line, then the view button.
    const auto viewLine = [](LogViewerBase* viewer, const char* listName, const char* button, int row) {
        ASSERT_NE(viewer, nullptr);
        auto* list = viewer->findChild<QListWidget*>(QString::fromLatin1(listName));
        Q_EMIT list->itemClicked(list->item(row));
        viewer->findChild<QPushButton*>(QString::fromLatin1(button))->click();
    };

    // Main screen -> video log -> the first video on the frame selection screen.
    menu("mnuViewLog");
    ASSERT_NE(app.videoLog(), nullptr);
    EXPECT_TRUE(app.mainForm().isVisible()) << "the main screen stays while the log is shown";
    viewLine(app.videoLog(), "lstLog", "cmdView", 0);
    EXPECT_FALSE(app.mainForm().isVisible());
    ASSERT_TRUE(app.frameSelection().isVisible());
    EXPECT_EQ(app.frameSelection().player().fileName(), first) << dialogs.texts().join(u'|').toStdString();
    EXPECT_EQ(app.screenMode(), QStringLiteral("View"));

    // From the frame selection screen's own log button the second video is
    // taken over at once.
    app.frameSelection().findChild<QPushButton*>(QStringLiteral("cmdViewLog"))->click();
    viewLine(app.videoLog(), "lstLog", "cmdView", 1);
    EXPECT_EQ(app.frameSelection().player().fileName(), second);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app.videoLog(), nullptr) << "a closed viewer is gone";

    // Measurement screen -> picture log -> the saved picture.
    app.frameSelection().hide();
    app.measure().show();
    for (QAction* action : app.measure().menuBar()->actions()) {
        if (action->objectName() == QLatin1String("mnuViewLog"))
            action->trigger();
    }
    viewLine(app.pictureLog(), "lstPicLog", "cmdViewPicLog", 0);
    EXPECT_TRUE(app.measure().isVisible());
    EXPECT_EQ(app.measure().findChild<PictureCanvas*>()->picture().size(), QSize(64, 48));
    EXPECT_EQ(app.screenMode(), QStringLiteral("PictureLog"));
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.texts().join(u'|').toStdString();
}

// On a 1366 x 768 laptop screen every control of the measurement, set-up and
// frame selection screens lies inside the window, beside a 1080p or a 4K
// frame (the labels lying on the frame excepted: the frame is theirs).
TEST_F(StartUp, EveryControlFitsA1366By768Window)
{
    Rampscope app(settings, dialogs, clock, folders);
    startWithReadyGrid(app);
    const QSize window(1366, 768);
    for (const QSize frame : {QSize(1920, 1080), QSize(3840, 2160)}) {
        QImage picture(frame, QImage::Format_RGB32);
        picture.fill(QColor(30, 70, 90));
        const QString video = dir.filePath(QStringLiteral("frame%1.avi").arg(frame.width()));
        NumberedVideo::Recipe recipe;
        recipe.size = frame;
        recipe.frames = 2;
        ASSERT_EQ(NumberedVideo::Make(recipe, video), std::nullopt);
        ASSERT_TRUE(app.frameSelection().player().setFileName(video));

        QMainWindow* screens[] = {&app.measure(), &app.gridSetup(), &app.frameSelection()};
        for (QMainWindow* screen : screens) {
            if (auto* canvas = screen->findChild<PictureCanvas*>(QStringLiteral("picture")))
                canvas->setPicture(picture);
            screen->showNormal();
            screen->resize(window);
            QCoreApplication::processEvents();
            ASSERT_EQ(screen->size(), window) << qPrintable(screen->objectName()) << " cannot be that small";
            const QRect inside(QPoint(), window);
            for (QWidget* control : screen->findChildren<QWidget*>()) {
                const bool onFrame = control->parentWidget() && qobject_cast<PictureCanvas*>(control->parentWidget());
                const bool operated = qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control)
                    || qobject_cast<QComboBox*>(control) || qobject_cast<QAbstractSlider*>(control)
                    || qobject_cast<QLabel*>(control) || qobject_cast<QListWidget*>(control)
                    || qobject_cast<FramePlayer*>(control) || qobject_cast<PictureCanvas*>(control);
                if (!operated || onFrame || !control->isVisibleTo(screen) || control->objectName().isEmpty())
                    continue;
                const QRect at(control->mapTo(screen, QPoint()), control->size());
                EXPECT_TRUE(inside.contains(at)) << qPrintable(screen->objectName()) << ": "
                                                  << qPrintable(control->objectName()) << " at " << at.x() << ","
                                                  << at.y() << " " << at.width() << "x" << at.height() << " with a "
                                                  << frame.width() << " frame";
            }
            screen->hide();
        }
    }
}

} // namespace

namespace {

// A jump from the virtual camera: the capture screen records it, the frame
// selection screen takes the recording over, and "Go Back To Main Screen"
// and the capture buttons of the other screens lead where they say.
TEST_F(StartUp, AJumpFromTheCameraReachesTheFrameSelectionScreen)
{
    settings.WriteSetting(QStringLiteral("logpath"), videoDir);
    settings.WriteSetting(QStringLiteral("VideoResolution"), QStringLiteral("0")); // 640 x 480: quick
    dialogs.answer(OperatorDialogs::Answer::No);
    Rampscope app(settings, dialogs, clock, folders);
    startAndLeaveConfiguration(app);
    dialogs.clear();
    EXPECT_EQ(control<QLabel>(app, "lblConfig")->text(), QStringLiteral("Currently Configured for R"));
    EXPECT_EQ(control<QPushButton>(app, "CmdConnect")->text(), QStringLiteral("Disconnect"));

    control<QPushButton>(app, "cmdGoCapture")->click();
    PreviewForm& capture = app.captureScreen();
    EXPECT_TRUE(capture.isVisible());
    EXPECT_FALSE(app.mainForm().isVisible());
    EXPECT_TRUE(app.capture().preview());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&capture));
    QCoreApplication::processEvents(); // the first paint's jump-number check
    capture.ui().txtSkierName->setText(QStringLiteral("Ann Lee"));
    capture.ui().cmdStartCapture->click();
    ASSERT_TRUE(app.capture().isRecording());
    QTest::qWait(700);
    capture.ui().cmdEndCapture->click();

    frmSetStart& frames = app.frameSelection();
    EXPECT_TRUE(frames.isVisible());
    EXPECT_FALSE(capture.isVisible());
    const QString recorded = QDir(videoDir).filePath(QStringLiteral("Ann Leejump1.avi"));
    EXPECT_EQ(frames.findChild<QLineEdit*>(QStringLiteral("Text6"))->text(), recorded);
    EXPECT_TRUE(frames.holdsFreshCapture());
    EXPECT_EQ(frames.frameRate(), 30);
    EXPECT_GE(frames.lengthFrames(), 10);
    EXPECT_EQ(frames.player().frameCount(), frames.lengthFrames());
    EXPECT_EQ(capture.ui().txtPass->text(), QStringLiteral("2"));

    // Back to capture from the frame selection screen, then to the main screen.
    frames.findChild<QPushButton*>(QStringLiteral("cmdGoToCapture"))->click();
    EXPECT_TRUE(capture.isVisible());
    capture.ui().cmdGoSetup->click();
    EXPECT_TRUE(app.mainForm().isVisible());
    EXPECT_EQ(app.screenMode(), QStringLiteral("Capture"));
}

} // namespace
