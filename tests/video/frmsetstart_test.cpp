// The frame selection screen driven as the operator drives it: the real
// widget on the offscreen platform with a real recorded video, every box
// answered by a script, files compared byte for byte and the accepted frame
// read back from the bitmap.
#include "app/configstate.h"
#include "common/clock.h"
#include "grid/calibrationstate.h"
#include "measure/measurementlog.h"
#include "support/filebytes.h"
#include "support/scripteddialogs.h"
#include "testvideos.h"
#include "video/avifile.h"
#include "video/capturehandover.h"
#include "video/frameplayer.h"
#include "video/frameselection.h"
#include "video/frmsetstart.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

using Answer = OperatorDialogs::Answer;
using Icon = OperatorDialogs::Icon;

const QDateTime moment(QDate(2026, 12, 7), QTime(14, 3, 11));

class FrameSelectionScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_videos.isValid() && m_application.isValid());
        config.videoDirectory = m_videos.path();
        config.logFileName = QStringLiteral("JumpMeasurementLog120726.txt");
        config.videoSaveMode = QStringLiteral("Save");
        calibration.allGridsReady = true;
        screen = std::make_unique<frmSetStart>(frmSetStart::Environment{
            config, calibration, screenMode, capture, fileToView, dialogs, clock, m_application.path(),
            [this] { return barefoot; }, [this](const QString&) { return freeBytes; }});
    }

    void TearDown() override { EXPECT_TRUE(dialogs.allAnswersUsed()) << "answers left unused"; }

    // A copy of the 60-frame numbered video (30 fps) in the video directory.
    QString recordedVideo(const QString& name)
    {
        const QString source = TestVideos::Path(TestVideos::Kind::Mjpeg);
        const QString path = m_videos.filePath(name);
        EXPECT_TRUE(QFile::copy(source, path)) << path.toStdString();
        return path;
    }

    // The capture screen hands over a fresh recording.
    void handOverCapture(const QString& path, double rate = 30.0, int64_t length = 60, int64_t hint = 0)
    {
        capture.filePath = path;
        capture.frameRate = rate;
        capture.lengthFrames = length;
        capture.startFrameHint = hint;
        screenMode = QStringLiteral("Capture");
        screen->show();
    }

    template <typename Widget = QWidget>
    Widget* control(const char* name)
    {
        auto* widget = screen->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    void click(const char* name) { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }

    int numberInAcceptedFrame()
    {
        const QImage frame(m_application.filePath(QStringLiteral("currentcapture.bmp")));
        if (frame.isNull())
            return -2;
        return NumberedVideo::ReadNumber(frame);
    }

    QString logPath() const { return m_videos.filePath(config.logFileName); }

    QTemporaryDir m_videos;
    QTemporaryDir m_application;

public:
    ConfigState config;
    CalibrationState calibration;
    QString screenMode;
    CaptureHandover capture;
    QString fileToView;
    ScriptedDialogs dialogs;
    FixedClock clock{moment};
    bool barefoot = false;
    std::optional<uint64_t> freeBytes = 5'000'000'000u;
    std::unique_ptr<frmSetStart> screen;
};

TEST_F(FrameSelectionScreen, ControlsCarryTheirCaptions)
{
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("Rampscope 2005 Frame Selection"));
    const std::pair<const char*, const char*> captions[] = {
        {"Command1", "<"},
        {"Command4", ">"},
        {"Command5", "Play before start -->"},
        {"Command7", "Play before end -->"},
        {"cmdPlayAndPause", "Play to end, pause, continue"},
        {"cmdMarkStart", "Use displayed frame to measure jump"},
        {"btnGoToSetup", "Use displayed frame to set up Grid"},
        {"cmdViewLog", "View Log File"},
        {"cmdGoToCapture", "Go To Record Next Jump Pass"},
        {"cmdGoToSetup", "Go Back To Main Screen"},
    };
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(control<QPushButton>(name)->text(), QString::fromLatin1(caption)) << name;
    EXPECT_EQ(control<QCheckBox>("cbFullScreen")->text(),
              QStringLiteral("Play using Full Screen, ESC returns Click Mouse to repeat Play"));
    EXPECT_EQ(control<QLineEdit>("Text4")->text(), QStringLiteral("2"));
    EXPECT_EQ(control<QLineEdit>("Text7")->text(), QStringLiteral("5"));
    EXPECT_EQ(control<QLineEdit>("txtStartLoop")->text(), QStringLiteral("1"));
    EXPECT_EQ(control<QLineEdit>("txtEndLoop")->text(), QStringLiteral("1"));
    EXPECT_EQ(control<QLabel>("Label5")->text(),
              QStringLiteral("Select Start Position using direction buttons and/or slider"));
    EXPECT_EQ(control<QTimer>("Timer2")->interval(), 100);
    EXPECT_NE(control<FramePlayer>("MediaPlayer1"), nullptr);
}

TEST_F(FrameSelectionScreen, DiskSpaceIsShownInWholeMegabytesWithTheLowWarning)
{
    freeBytes = 199'999'999u;
    screenMode = QStringLiteral("Setup");
    screen->show();
    EXPECT_EQ(control<QLabel>("lblDiskSpace")->text(), QStringLiteral("199 MB"));
    EXPECT_TRUE(control<QLabel>("Label11")->isVisible());
    EXPECT_TRUE(control<QLabel>("Label10")->text().startsWith(QStringLiteral("Disk Space Available ")));

    screen->hide();
    freeBytes = 200'000'000u;
    screen->show();
    EXPECT_EQ(control<QLabel>("lblDiskSpace")->text(), QStringLiteral("200 MB"));
    EXPECT_FALSE(control<QLabel>("Label11")->isVisible());
}

TEST_F(FrameSelectionScreen, AFreshCaptureIsTakenOverAtTheTappedStart)
{
    const QString video = recordedVideo(QStringLiteral("Annjump2.avi"));
    handOverCapture(video, 30.0, 60, 12);
    EXPECT_EQ(screenMode, QString());
    EXPECT_TRUE(screen->holdsFreshCapture());
    EXPECT_EQ(control<QLineEdit>("Text6")->text(), video);
    EXPECT_EQ(screen->player().fileName(), video);
    EXPECT_EQ(screen->player().position(), 12);
    EXPECT_EQ(NumberedVideo::ReadNumber(screen->player().currentPicture()), 12);
    EXPECT_EQ(screen->markedFrame(), 12);
    EXPECT_EQ(screen->endOffsetFrames(), 599);
    EXPECT_FALSE(control<QPushButton>("Command7")->isVisible());
    EXPECT_FALSE(control<QCheckBox>("cbPlayAfter")->isVisible());
    EXPECT_TRUE(control<QPushButton>("cmdMarkStart")->isVisible());
    EXPECT_FALSE(control<QLabel>("Label9")->isVisible());
}

TEST_F(FrameSelectionScreen, BarefootTimingShowsItsLabelAndEndsFifteenSecondsOn)
{
    barefoot = true;
    handOverCapture(recordedVideo(QStringLiteral("Annjump2.avi")), 30.0, 60);
    EXPECT_TRUE(control<QLabel>("Label9")->isVisible());
    EXPECT_EQ(screen->endOffsetFrames(), 450);
}

TEST_F(FrameSelectionScreen, StepsShowTheFrameAndStopAtOne)
{
    handOverCapture(recordedVideo(QStringLiteral("Annjump2.avi")), 30.0, 60, 2);
    click("Command1");
    EXPECT_EQ(screen->player().position(), 1);
    EXPECT_EQ(control<QLineEdit>("Text9")->text(), QStringLiteral("1"));
    click("Command1"); // not below frame 1
    EXPECT_EQ(screen->player().position(), 1);
    for (int i = 0; i < 3; ++i)
        click("Command4");
    EXPECT_EQ(control<QLineEdit>("Text9")->text(), QStringLiteral("4"));
    EXPECT_EQ(NumberedVideo::ReadNumber(screen->player().currentPicture()), 4);

    // Keypad 4 and 6 on the player step like the buttons.
    QTest::keyClick(&screen->player(), Qt::Key_6, Qt::KeypadModifier);
    EXPECT_EQ(screen->player().position(), 5);
    QTest::keyClick(&screen->player(), Qt::Key_4, Qt::KeypadModifier);
    QTest::keyClick(&screen->player(), Qt::Key_4, Qt::KeypadModifier);
    EXPECT_EQ(screen->player().position(), 3);
    EXPECT_EQ(control<QLineEdit>("Text2")->text(), QStringLiteral("100"));
}

TEST_F(FrameSelectionScreen, AHeldArrowKeyStepsEveryPoll)
{
    handOverCapture(recordedVideo(QStringLiteral("Annjump2.avi")), 30.0, 60, 10);
    QTest::keyPress(control<QLineEdit>("Text9"), Qt::Key_Right);
    QTRY_VERIFY_WITH_TIMEOUT(screen->player().position() >= 12, 3000);
    QTest::keyRelease(control<QLineEdit>("Text9"), Qt::Key_Right);
    QTest::qWait(250);
    const int64_t stopped = screen->player().position();
    QTest::qWait(250);
    EXPECT_EQ(screen->player().position(), stopped);

    // A disabled step button stops its arrow.
    control<QPushButton>("Command1")->setEnabled(false);
    QTest::keyPress(control<QLineEdit>("Text9"), Qt::Key_Left);
    QTest::qWait(350);
    QTest::keyRelease(control<QLineEdit>("Text9"), Qt::Key_Left);
    EXPECT_EQ(screen->player().position(), stopped);
}

TEST_F(FrameSelectionScreen, AcceptingRecordsTheCaptureAndHandsTheFrameToMeasuring)
{
    const QString video = recordedVideo(QStringLiteral("Annjump2.avi"));
    handOverCapture(video, 30.0, 60, 20);
    click("Command4");
    click("Command4");
    QSignalSpy measure(screen.get(), &frmSetStart::measureRequested);
    click("cmdMarkStart");

    EXPECT_EQ(numberInAcceptedFrame(), 22);
    EXPECT_EQ(screen->markedFrame(), 22);
    EXPECT_EQ(screenMode, QStringLiteral("SelectFrame"));
    EXPECT_EQ(measure.count(), 1);
    EXPECT_FALSE(screen->isVisible());
    EXPECT_FALSE(screen->player().isOpen());
    EXPECT_FALSE(screen->holdsFreshCapture());
    EXPECT_TRUE(dialogs.shown().empty());
    const QString line = ContactFrameLine(moment, {QStringLiteral("Ann"), QStringLiteral("2")}, 22, video);
    EXPECT_EQ(FileBytes(logPath()), (line + QStringLiteral("\r\n")).toLatin1());
    EXPECT_EQ(FileBytes(video + QStringLiteral(".info")), (video + QStringLiteral(", 22\r\n")).toLatin1());
    EXPECT_TRUE(QFile::exists(video));
}

struct SaveModeCase {
    const char* mode;
    std::optional<Answer> answer; // the question's answer, when asked
    bool kept;
};

class FrameSelectionSaveModes : public FrameSelectionScreen,
                                public ::testing::WithParamInterface<SaveModeCase> {};

TEST_P(FrameSelectionSaveModes, TheVideoIsKeptAndLoggedOrRemoved)
{
    const SaveModeCase& c = GetParam();
    config.videoSaveMode = QString::fromLatin1(c.mode);
    const QString video = recordedVideo(QStringLiteral("Annjump3.avi"));
    handOverCapture(video, 30.0, 60, 5);
    if (c.answer)
        dialogs.answer(*c.answer);
    click("cmdMarkStart");

    if (c.answer) {
        ASSERT_EQ(dialogs.shown().size(), 1u);
        EXPECT_EQ(dialogs.shown()[0].text, QStringLiteral("Do you want to save this video capture?"));
        EXPECT_EQ(dialogs.shown()[0].title, OperatorDialogs::applicationTitle());
        EXPECT_EQ(dialogs.shown()[0].buttons, OperatorDialogs::Buttons::YesNo);
    } else {
        EXPECT_TRUE(dialogs.shown().empty());
    }
    EXPECT_EQ(QFile::exists(video), c.kept);
    EXPECT_EQ(QFile::exists(video + QStringLiteral(".info")), c.kept);
    EXPECT_EQ(QFile::exists(logPath()), c.kept);
    EXPECT_EQ(numberInAcceptedFrame(), 5) << "the frame is measured either way";
}

INSTANTIATE_TEST_SUITE_P(Modes, FrameSelectionSaveModes,
                         ::testing::Values(SaveModeCase{"Ask", Answer::Yes, true},
                                           SaveModeCase{"Ask", Answer::No, false},
                                           SaveModeCase{"", Answer::No, false}, SaveModeCase{"Save", {}, true},
                                           SaveModeCase{"NoSave", {}, false}));

TEST_F(FrameSelectionScreen, AVideoNotNamedAsRecordedIsNeitherLoggedNorGivenACompanion)
{
    const QString video = recordedVideo(QStringLiteral("practice.avi"));
    handOverCapture(video, 30.0, 60, 3);
    dialogs.answer(Answer::Ok);
    click("cmdMarkStart");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, QStringLiteral("Warning, this is not a  standard ZPT file so it will not be "
                                                      "saved in the Log for future reference"));
    EXPECT_EQ(dialogs.shown()[0].icon, Icon::Warning);
    EXPECT_FALSE(QFile::exists(logPath()));
    EXPECT_FALSE(QFile::exists(video + QStringLiteral(".info")));
    EXPECT_EQ(numberInAcceptedFrame(), 3);
    EXPECT_EQ(screenMode, QStringLiteral("SelectFrame"));
}

TEST_F(FrameSelectionScreen, GridsNotReadyOrSetUpRequestedGoToGridSetUp)
{
    handOverCapture(recordedVideo(QStringLiteral("Annjump4.avi")), 30.0, 60, 7);
    QSignalSpy setup(screen.get(), &frmSetStart::gridSetupRequested);
    QSignalSpy measure(screen.get(), &frmSetStart::measureRequested);
    click("btnGoToSetup");
    EXPECT_EQ(setup.count(), 1);
    EXPECT_EQ(measure.count(), 0);
    EXPECT_TRUE(dialogs.shown().empty()) << "every grid is ready: no warning";
    EXPECT_EQ(numberInAcceptedFrame(), 7);

    calibration.allGridsReady = false;
    handOverCapture(recordedVideo(QStringLiteral("Annjump5.avi")), 30.0, 60, 9);
    dialogs.answer(Answer::Ok);
    click("cmdMarkStart");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, QStringLiteral("One or more grids are not configured.  You may not use the "
                                                      "Measure Screen until all listed grids are configured"));
    EXPECT_EQ(dialogs.shown()[0].icon, Icon::Warning);
    EXPECT_EQ(setup.count(), 2);
    EXPECT_EQ(measure.count(), 0);
}

TEST_F(FrameSelectionScreen, AFrameThatCannotBeWrittenKeepsTheOperatorHere)
{
    handOverCapture(recordedVideo(QStringLiteral("Annjump2.avi")), 30.0, 60, 4);
    // The application directory is gone: currentcapture.bmp cannot be written.
    QDir(m_application.path()).removeRecursively();
    QSignalSpy measure(screen.get(), &frmSetStart::measureRequested);
    dialogs.answer(Answer::Ok);
    click("cmdMarkStart");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_TRUE(dialogs.shown()[0].text.startsWith(QStringLiteral("The picture could not be written to the file:")));
    EXPECT_EQ(measure.count(), 0);
    EXPECT_TRUE(screen->isVisible());
    EXPECT_TRUE(screen->player().isOpen());
    EXPECT_TRUE(screen->holdsFreshCapture());
    EXPECT_FALSE(QFile::exists(logPath())) << "nothing is logged for a frame that was not taken";
    EXPECT_NE(screenMode, QStringLiteral("SelectFrame"));
}

TEST_F(FrameSelectionScreen, ADamagedFrameIsRefusedAndThePictureBeforeItStays)
{
    const QString video = recordedVideo(QStringLiteral("Annjump2.avi"));
    ASSERT_TRUE(TestVideos::DamageFrame(video, 10));
    handOverCapture(video, 30.0, 60, 9);
    ASSERT_EQ(screen->player().position(), 9);
    dialogs.answer(Answer::Ok);
    click("Command4");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, QStringLiteral("Frame 10 of this recording is damaged"));
    EXPECT_EQ(screen->player().position(), 9);
    EXPECT_EQ(NumberedVideo::ReadNumber(screen->player().currentPicture()), 9);
    screen->player().setPosition(11); // the slider past it
    EXPECT_EQ(NumberedVideo::ReadNumber(screen->player().currentPicture()), 11);
}

TEST_F(FrameSelectionScreen, OpeningAFileListsItsInformationAndWarnsWhenMeasured)
{
    screenMode = QStringLiteral("Setup");
    screen->show();
    const QString video = recordedVideo(QStringLiteral("Bobjump1.avi"));
    ASSERT_TRUE(WriteInfoCompanion(video, 137));
    dialogs.chooseFile(video).answer(Answer::Ok);
    click("Command6");

    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown()[0].kind, ScriptedDialogs::Kind::OpenFile);
    EXPECT_EQ(dialogs.shown()[0].initial, config.videoDirectory);
    EXPECT_EQ(dialogs.shown()[1].text, QStringLiteral("File already measured - start frame is 137"));
    EXPECT_EQ(dialogs.shown()[1].title, QStringLiteral("Start Already Measured Warning"));
    EXPECT_EQ(control<QLineEdit>("Text6")->text(), video);
    EXPECT_EQ(screen->frameRate(), 30.0);
    EXPECT_EQ(screen->lengthFrames(), 60);
    QStringList listed;
    for (int i = 0; i < control<QListWidget>("lstFileInfo")->count(); ++i)
        listed << control<QListWidget>("lstFileInfo")->item(i)->text();
    ASSERT_EQ(listed.size(), 17);
    EXPECT_EQ(listed[0], QStringLiteral("Filename: ") + video);
    EXPECT_EQ(listed[4], QStringLiteral("Length: 60 frames"));
    EXPECT_EQ(listed[5], QStringLiteral("Rate: 30fps"));
    EXPECT_EQ(screen->player().fileName(), video);
    EXPECT_FALSE(screen->holdsFreshCapture());

    // Accepting a frame of an opened file records nothing.
    click("cmdMarkStart");
    EXPECT_FALSE(QFile::exists(logPath()));
    EXPECT_EQ(FileBytes(video + QStringLiteral(".info")), (video + QStringLiteral(", 137\r\n")).toLatin1());
}

TEST_F(FrameSelectionScreen, AFileOpenedAfterAFreshCaptureIsNeverDeleted)
{
    config.videoSaveMode = QStringLiteral("NoSave");
    const QString fresh = recordedVideo(QStringLiteral("Annjump3.avi"));
    handOverCapture(fresh, 30.0, 60, 5);
    const QString older = recordedVideo(QStringLiteral("Bobjump1.avi"));
    dialogs.chooseFile(older);
    click("Command6");
    click("cmdMarkStart");
    EXPECT_TRUE(QFile::exists(older));
    EXPECT_TRUE(QFile::exists(fresh)) << "the recording is left as it was";
    EXPECT_FALSE(QFile::exists(logPath()));
    EXPECT_EQ(numberInAcceptedFrame(), 0);
}

TEST_F(FrameSelectionScreen, ANonAviFileIsRefusedAndTheFileOnScreenStays)
{
    const QString video = recordedVideo(QStringLiteral("Annjump2.avi"));
    handOverCapture(video, 30.0, 60, 8);
    const QString text = m_videos.filePath(QStringLiteral("notes.avi"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("these are not the frames you are looking for");
    f.close();
    dialogs.chooseFile(text).answer(Answer::Ok).chooseFile(QString());
    click("Command6");
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown()[1].text, QStringLiteral("Not a valid avi file"));
    EXPECT_EQ(dialogs.shown()[1].icon, Icon::Warning);
    EXPECT_EQ(control<QLineEdit>("Text6")->text(), video);
    EXPECT_EQ(screen->player().position(), 8);

    click("Command6"); // cancelled: nothing changes
    EXPECT_EQ(dialogs.shown().size(), 3u);
    EXPECT_EQ(screen->player().fileName(), video);
}

TEST_F(FrameSelectionScreen, PlayBeforeStartReplaysTheSecondsBeforeThePosition)
{
    handOverCapture(recordedVideo(QStringLiteral("Annjump2.avi")), 30.0, 60, 40);
    control<QLineEdit>("Text4")->setText(QStringLiteral("0"));
    click("Command5");
    EXPECT_EQ(control<QLineEdit>("Text4")->text(), QStringLiteral("1")) << "held within 1 to 5";
    EXPECT_EQ(control<QLineEdit>("Text5")->text(), QStringLiteral("1300"));
    EXPECT_EQ(control<QTimer>("Timer1")->interval(), 1300);
    EXPECT_TRUE(control<QTimer>("Timer1")->isActive());
    EXPECT_EQ(screen->player().selectionStart(), 10);
    EXPECT_EQ(screen->player().selectionEnd(), 40);
    EXPECT_TRUE(screen->replayLoop().startLoopActive);
    EXPECT_TRUE(screen->startTaken());
    EXPECT_TRUE(control<QPushButton>("Command7")->isVisible()) << "the way to the end of the run opens";

    // A second press while the loop runs is ignored.
    screen->player().setPosition(50);
    click("Command5");
    EXPECT_EQ(screen->player().selectionEnd(), 40);

    screen->runReplayTick();
    EXPECT_FALSE(screen->replayLoop().startLoopActive);
    EXPECT_FALSE(control<QTimer>("Timer1")->isActive());
}

TEST_F(FrameSelectionScreen, FullScreenReplaysReturnToTheScreenWhenTheLoopEnds)
{
    handOverCapture(recordedVideo(QStringLiteral("Annjump2.avi")), 2.0, 60, 10);
    // The player's size in the screen: the room the window gives it, never
    // below the form's 385 x 361.
    const QSize inScreen = screen->player().size();
    EXPECT_GE(inScreen.width(), 385);
    EXPECT_GE(inScreen.height(), 361);
    control<QCheckBox>("cbFullScreen")->setChecked(true);
    click("Command5");
    EXPECT_EQ(screen->player().displaySize(), PlayerDisplaySize::fullScreen);
    EXPECT_TRUE(screen->player().isWindow());
    screen->runReplayTick();
    EXPECT_EQ(screen->player().displaySize(), PlayerDisplaySize::normal);
    EXPECT_FALSE(screen->player().isWindow());
    EXPECT_EQ(screen->player().size(), inScreen);

    click("Command7");
    EXPECT_EQ(screen->player().displaySize(), PlayerDisplaySize::fullScreen);
    screen->runReplayTick();
    EXPECT_EQ(screen->player().displaySize(), PlayerDisplaySize::afterEndLoop);
    EXPECT_FALSE(screen->player().isWindow());
    EXPECT_EQ(screen->player().size(), inScreen);
}

TEST_F(FrameSelectionScreen, PlayBeforeEndRefusesARunBeyondTheFile)
{
    handOverCapture(recordedVideo(QStringLiteral("Annjump2.avi")), 30.0, 60, 10);
    click("Command5");
    screen->runReplayTick();
    dialogs.answer(Answer::Ok);
    click("Command7");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, FileTooShortMessage(60, 609, false));
    EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Captured File too short Warning"));
    EXPECT_TRUE(screen->startMarked());
    EXPECT_FALSE(screen->replayLoop().endLoopActive);
    EXPECT_TRUE(control<QPushButton>("cmdMarkStart")->isVisible()) << "another frame can still be chosen";
}

TEST_F(FrameSelectionScreen, PlayToEndPausesContinuesAndComesBackToTheEnd)
{
    // Recorded at 2 frames per second, the run ends 40 frames after its start.
    handOverCapture(recordedVideo(QStringLiteral("Annjump2.avi")), 2.0, 60, 10);
    click("Command5");
    screen->runReplayTick();
    click("cmdPlayAndPause");
    EXPECT_TRUE(screen->replayLoop().endLoopActive);
    EXPECT_EQ(screen->player().selectionStart(), 40); // 50 - 5 s x 2
    EXPECT_EQ(screen->player().selectionEnd(), 50);
    EXPECT_EQ(control<QTimer>("Timer1")->interval(), 5300);
    EXPECT_FALSE(control<QPushButton>("cmdMarkStart")->isVisible()) << "no accepting during the replay";

    screen->runReplayTick();
    EXPECT_FALSE(control<QCheckBox>("cbPlayAfter")->isChecked());
    EXPECT_EQ(screen->player().selectionStart(), 50);
    EXPECT_EQ(screen->player().selectionEnd(), 54);
    EXPECT_EQ(control<QTimer>("Timer1")->interval(), 2100);

    screen->runReplayTick();
    EXPECT_FALSE(screen->replayLoop().endLoopActive);
    EXPECT_EQ(screen->player().selectionStart(), 40);
    EXPECT_EQ(screen->player().selectionEnd(), 50);
    EXPECT_TRUE(control<QPushButton>("cmdMarkStart")->isVisible());
}

TEST_F(FrameSelectionScreen, AReplayPlaysToTheEndFrame)
{
    handOverCapture(recordedVideo(QStringLiteral("Annjump2.avi")), 30.0, 60, 15);
    control<QLineEdit>("Text4")->setText(QStringLiteral("0.2")); // held at 1 s: frames 0..15
    click("Command5");
    QTRY_VERIFY_WITH_TIMEOUT(!screen->player().isPlaying(), 5000);
    EXPECT_EQ(screen->player().position(), 15);
    EXPECT_EQ(control<QLineEdit>("Text9")->text(), QStringLiteral("15"));
    EXPECT_EQ(NumberedVideo::ReadNumber(screen->player().currentPicture()), 15);
}

TEST_F(FrameSelectionScreen, ViewingALoggedFileWarnsOnceThatItWasMeasured)
{
    fileToView = recordedVideo(QStringLiteral("Annjump6.avi"));
    ASSERT_TRUE(WriteInfoCompanion(fileToView, 57));
    screenMode = QStringLiteral("View");
    dialogs.answer(Answer::Ok);
    screen->show();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, QStringLiteral("File already measured - contact frame is 57"));
    EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Start Already Measured Warning"));
    EXPECT_EQ(control<QLabel>("Label5")->text(),
              QStringLiteral("Select First Contact by using direction buttons and/or slider"));
    EXPECT_FALSE(control<QPushButton>("Command7")->isEnabled());
    EXPECT_EQ(screen->frameRate(), 30.0);
    EXPECT_EQ(screen->lengthFrames(), 60);
    EXPECT_EQ(screen->player().fileName(), fileToView);

    // Shown again without leaving: the file is not taken over twice.
    screen->hide();
    screen->show();
    EXPECT_EQ(dialogs.shown().size(), 1u);
}

TEST_F(FrameSelectionScreen, TheSkierNameFixRenamesTheFreshRecording)
{
    const QString recorded = recordedVideo(QStringLiteral("XAnnjump1.avi"));
    capture.nameChangedWarningVisible = true;
    capture.skierName = QStringLiteral("XAnn");
    capture.passNumber = QStringLiteral("1");
    dialogs.type(QStringLiteral("Ann"));
    handOverCapture(recorded, 30.0, 60, 6);

    const QString renamed = m_videos.filePath(QStringLiteral("Annjump1.avi"));
    EXPECT_FALSE(capture.nameChangedWarningVisible);
    EXPECT_EQ(control<QLineEdit>("Text6")->text(), renamed);
    EXPECT_EQ(capture.skierName, QStringLiteral("Ann"));
    EXPECT_EQ(capture.passNumber, QStringLiteral("2"));
    EXPECT_TRUE(QFile::exists(renamed));
    EXPECT_FALSE(QFile::exists(recorded));
    EXPECT_EQ(screen->player().fileName(), renamed);
    EXPECT_EQ(screen->player().position(), 6);
}

TEST_F(FrameSelectionScreen, LeavingHandsBackAndStopsAnyReplay)
{
    handOverCapture(recordedVideo(QStringLiteral("Annjump2.avi")), 30.0, 60, 40);
    click("Command5");
    QSignalSpy main(screen.get(), &frmSetStart::mainScreenRequested);
    click("cmdGoToSetup");
    EXPECT_EQ(main.count(), 1);
    EXPECT_FALSE(screen->isVisible());
    EXPECT_EQ(screenMode, QStringLiteral("Timer"));
    EXPECT_FALSE(control<QTimer>("Timer1")->isActive());
    EXPECT_FALSE(screen->replayLoop().startLoopActive) << "the play buttons work when the screen is back";

    screenMode = QStringLiteral("Setup");
    screen->show();
    EXPECT_EQ(control<QLineEdit>("Text6")->text(), QString());
}

TEST_F(FrameSelectionScreen, AcceptingWithoutAVideoSaysSo)
{
    screenMode = QStringLiteral("Setup");
    screen->show();
    dialogs.answer(Answer::Ok);
    QSignalSpy measure(screen.get(), &frmSetStart::measureRequested);
    click("cmdMarkStart");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text,
              QStringLiteral("There is no video on screen. Open a recorded jump before choosing a frame."));
    EXPECT_EQ(measure.count(), 0);
    EXPECT_TRUE(screen->isVisible());
}

} // namespace
