// The capture screen with a scripted capture control: the recording's file
// name, the recording length setting, the countdown, "Contact", ESC and the
// hand-over to the frame selection screen.
#include "app/capturepanel.h"
#include "app/configstate.h"
#include "app/settingsstore.h"
#include "support/scriptedcapture.h"
#include "support/scripteddialogs.h"
#include "video/capturehandover.h"
#include "video/previewform.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct CaptureScreen {
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("settings.ini"))};
    ScriptedDialogs dialogs;
    ScriptedCapture device;
    CapturePanel panel{device, settings, dialogs};
    ConfigState config;
    QString screenMode;
    CaptureHandover handover;
    QStringList measureTexts;
    bool frameSelectionShown = false;
    std::unique_ptr<PreviewForm> screen;

    explicit CaptureScreen(const QString& storedTime = {})
    {
        QDir(dir.path()).mkdir(QStringLiteral("videos"));
        config.videoDirectory = dir.filePath(QStringLiteral("videos")) + QLatin1Char('/');
        if (!storedTime.isNull())
            settings.WriteSetting(QStringLiteral("captureTime"), storedTime);
        screen = std::make_unique<PreviewForm>(PreviewForm::Environment{
            device, panel, settings, config, screenMode, handover, dialogs, dir.filePath(QStringLiteral("SkierNames.txt")),
            [] { return std::expected<QString, QString>(QStringLiteral("Scored Skier")); },
            [this](const QString& name, const QString& jump) { measureTexts = {name, jump}; }});
        QObject::connect(screen.get(), &PreviewForm::frameSelectionRequested, [this] { frameSelectionShown = true; });
    }
    const PreviewFormUi& ui() const { return screen->ui(); }
    void recordingExists(const char* name)
    {
        QFile file(dir.filePath(QStringLiteral("videos/")) + QString::fromLatin1(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
};

TEST(CaptureScreen, RecordingLengthFromTheStoredSetting)
{
    const struct {
        const char* stored;
        const char* selected;
        const char* storedAfter;
    } cases[] = {{nullptr, "5.0", "5"}, {"0", "5.0", "5"}, {"abc", "5.0", "5"}, {"6.0", "6.0", "6.0"}, {"3", "3.0", "3"}};
    for (const auto& c : cases) {
        CaptureScreen s(c.stored ? QString::fromLatin1(c.stored) : QString());
        EXPECT_EQ(s.ui().captureTimeValue->currentText(), QString::fromLatin1(c.selected)) << c.stored;
        EXPECT_EQ(s.settings.ReadSetting(QStringLiteral("captureTime")), QString::fromLatin1(c.storedAfter));
    }
}

TEST(CaptureScreen, StartingNeverOverwritesARecording)
{
    CaptureScreen s;
    s.recordingExists("Skier1jump1.avi");
    s.recordingExists("XSkier1jump1.avi");
    s.ui().txtSkierName->setText(QStringLiteral("Skier1"));
    s.ui().cmdStartCapture->click();
    EXPECT_EQ(s.device.streamFile, s.dir.filePath(QStringLiteral("videos/XXSkier1jump1.avi")));
    EXPECT_EQ(s.ui().Label4->text(),
              QStringLiteral("WARNING! Skier Name has been changed to XXSkier1 to prevent duplicate files"));
    EXPECT_EQ(s.measureTexts, (QStringList{QStringLiteral("XXSkier1"), QStringLiteral("1")}));
    EXPECT_FALSE(s.ui().cmdGoSetup->isEnabled());
    EXPECT_TRUE(s.ui().cmdStartTimer->isEnabled());

    // A comma is refused and the jump number starts again at 1.
    CaptureScreen t;
    t.dialogs.answer(OperatorDialogs::Answer::Ok);
    t.ui().txtPass->setText(QStringLiteral("3"));
    t.ui().txtSkierName->setText(QStringLiteral("Doe, Jo"));
    EXPECT_EQ(t.ui().txtSkierName->text(), QStringLiteral("Doe  Jo"));
    EXPECT_EQ(t.ui().txtPass->text(), QStringLiteral("1"));
    EXPECT_EQ(t.dialogs.texts(), QStringList{QStringLiteral("Sorry, you cannot use the \",\" character in this box")});
}

TEST(CaptureScreen, TheRecordingEndsAndIsHandedOver)
{
    const struct {
        const char* name;
        int ticks;          // countdown seconds before the end
        bool escape;        // ended by ESC rather than by the countdown
        int contactFrames;  // frames of the file at "Contact"; -1: none
        int64_t prerollFrames;
        int64_t hint;
    } cases[] = {
        {"ESC after 2 s", 2, true, -1, 0, 90},
        {"countdown", 6, false, -1, 0, 90},
        {"contact", 3, true, 47, 0, 47},
        // The middle of the seconds since Start, behind the pre-roll.
        {"ESC after 2 s behind a pre-roll", 2, true, -1, 30, 120},
        // The file's count holds the pre-roll already: not added twice.
        {"contact behind a pre-roll", 3, true, 77, 30, 77},
    };
    for (const auto& c : cases) {
        CaptureScreen s(QStringLiteral("6.0"));
        s.panel.ui().CaptureType->setCurrentIndex(1);
        s.panel.ui().EdtRate->setText(QStringLiteral("30"));
        s.ui().txtSkierName->setText(QStringLiteral("Skier1"));
        s.ui().cmdStartCapture->click();
        s.device.prerollFramesNow = c.prerollFrames;
        if (c.contactFrames >= 0) {
            s.device.framesCapturedNow = c.contactFrames - 2; // and 2 dropped
            s.ui().cmdStartTimer->click();
            EXPECT_EQ(s.ui().lblStartFrame->text(), QString::number(c.contactFrames));
            s.device.framesCapturedNow = 180;
        } else {
            EXPECT_EQ(s.ui().lblStartFrame->text(), QStringLiteral(" "));
        }
        for (int i = 0; i < c.ticks; ++i)
            s.screen->countdownTick();
        if (c.escape)
            QTest::keyClick(s.screen.get(), Qt::Key_Escape);
        EXPECT_TRUE(s.frameSelectionShown) << c.name;
        EXPECT_EQ(s.handover.startFrameHint, c.hint) << c.name;
        EXPECT_EQ(s.handover.filePath, s.dir.filePath(QStringLiteral("videos/Skier1jump1.avi")));
        EXPECT_EQ(s.handover.frameRate, 30);
        EXPECT_EQ(s.handover.lengthFrames, 182); // captured and dropped: every frame of the file
        EXPECT_EQ(s.screenMode, QStringLiteral("Capture"));
        EXPECT_EQ(s.ui().txtPass->text(), QStringLiteral("2"));
        EXPECT_EQ(s.panel.ui().LblFrames->text(), QStringLiteral("180"));
        EXPECT_TRUE(s.ui().cmdStartCapture->isEnabled());
    }
}

} // namespace
