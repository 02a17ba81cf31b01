// The capture device panel against a scripted capture control: the texts,
// keys and device values each control leads to.
#include "app/capturepanel.h"
#include "app/settingsstore.h"
#include "support/scriptedcapture.h"
#include "support/scripteddialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct PanelFixture {
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("settings.ini"))};
    ScriptedDialogs dialogs;
    ScriptedCapture device;
    CapturePanel panel{device, settings, dialogs};
    QString configuredFor = QStringLiteral("unchanged");

    PanelFixture()
    {
        QObject::connect(&panel, &CapturePanel::configuredForChanged,
                         [this](const QString& text) { configuredFor = text; });
    }
    const CapturePanelUi& ui() const { return panel.ui(); }
};

TEST(CapturePanel, FrameRateSetsTheDeviceTheKeyAndTheRateClass)
{
    const struct {
        const char* text;
        int deviceRate;
        const char* caption;
    } cases[] = {
        {"30", 30, "Currently Configured for R"},
        {"20", 20, "Currently Configured for L"},
        {"10", 10, "Currently Configured for Normal/C"},
        {"4", 4, "unchanged"},
        {"24.5", 24, "Currently Configured for L"}, // half to even
        {"25.5", 26, "Currently Configured for R"},
    };
    for (const auto& c : cases) {
        PanelFixture f;
        f.ui().EdtRate->setText(QString::fromLatin1(c.text));
        EXPECT_EQ(f.device.rate, c.deviceRate) << c.text;
        EXPECT_EQ(f.configuredFor, QString::fromLatin1(c.caption)) << c.text;
        EXPECT_EQ(f.settings.ReadSetting(QStringLiteral("framerate")), QString::fromLatin1(c.text));
    }
}

TEST(CapturePanel, SoundFormatsBetweenTheListAndTheDevice)
{
    PanelFixture f;
    f.panel.fillFromDevice();
    f.ui().AudioDevice->setCurrentIndex(1);
    // The device's 22 050 Hz, 16-bit mono is entry 6.
    EXPECT_EQ(f.ui().ComboAttrib->currentText(), QStringLiteral("22.050 Khz, 16 Bit, Mono"));
    f.ui().CaptureType->setCurrentIndex(1);
    f.ui().ComboAttrib->setCurrentIndex(13);
    f.panel.setCaptureValues();
    EXPECT_EQ(f.device.format, (AudioFormat{44100, 2, 8}));
    // A format the list lacks is added and selected.
    f.device.format = {8000, 2, 16};
    f.panel.initAudioSettings();
    EXPECT_EQ(f.ui().ComboAttrib->count(), 17);
    EXPECT_EQ(f.ui().ComboAttrib->currentText(), QStringLiteral("8.000 Khz, 16 bit, Stereo"));
    // Listen only where the device can play its input.
    EXPECT_TRUE(f.ui().Check1->isEnabled());
    f.device.listenOffered = false;
    f.ui().AudioDevice->setCurrentIndex(0);
    f.ui().AudioDevice->setCurrentIndex(1);
    EXPECT_FALSE(f.ui().Check1->isEnabled());
}

TEST(CapturePanel, ConnectTakesTheStoredChoicesTheDeviceStillOffers)
{
    const struct {
        const char* storedResolution;
        int resolution;
        bool keyWritten;
    } cases[] = {
        {nullptr, 1, false}, // nothing stored: the device's current
        {"-1", 1, false},
        {"2", 2, true},
        {"7", 1, false}, // no longer offered
    };
    for (const auto& c : cases) {
        PanelFixture f;
        if (c.storedResolution)
            f.settings.WriteSetting(QStringLiteral("VideoResolution"), QString::fromLatin1(c.storedResolution));
        f.settings.WriteSetting(QStringLiteral("device"), QStringLiteral("1"));
        f.panel.fillFromDevice();
        f.panel.connectOrDisconnect();
        EXPECT_TRUE(f.device.connected);
        EXPECT_EQ(f.device.device, 1);
        EXPECT_EQ(f.device.resolution, c.resolution) << c.storedResolution;
        EXPECT_EQ(f.ui().ResolutionCombo->currentIndex(), c.resolution);
        EXPECT_EQ(f.ui().CmdConnect->text(), QStringLiteral("Disconnect"));
        EXPECT_TRUE(f.ui().CmdPreview->isEnabled());
        EXPECT_FALSE(f.ui().Channel->isEnabled()); // no tuner
        EXPECT_EQ(f.ui().EdtRate->text(), QStringLiteral("25"));
        EXPECT_EQ(f.settings.ReadSetting(QStringLiteral("videoresolution")),
                  c.keyWritten ? QString::number(c.resolution) : QString::fromLatin1(c.storedResolution));
        f.panel.connectOrDisconnect();
        EXPECT_EQ(f.ui().CmdConnect->text(), QStringLiteral("Connect"));
        EXPECT_FALSE(f.ui().ResolutionCombo->isEnabled());
    }
}

TEST(CapturePanel, FailuresAndMissingEffectsAreTold)
{
    PanelFixture f;
    f.panel.fillFromDevice();
    f.device.failure = CaptureFailure{0x104, QStringLiteral("The camera has no tuner")};
    f.panel.connectOrDisconnect();
    f.device.failure.reset();
    f.ui().Effect->setCurrentIndex(1);
    EXPECT_EQ(f.ui().Effect->currentIndex(), 0);
    ASSERT_EQ(f.dialogs.shown().size(), 2u);
    EXPECT_EQ(f.dialogs.shown()[0].text, QStringLiteral("Eror code: 104 The camera has no tuner"));
    EXPECT_EQ(f.dialogs.shown()[0].title, QStringLiteral("Error"));
    EXPECT_EQ(f.dialogs.shown()[1].text, QStringLiteral("Cannot find Mirror effect"));
    EXPECT_EQ(f.ui().CmdConnect->text(), QStringLiteral("Connect"));
}

TEST(CapturePanel, StreamCaptureFromThePanelShowsItsFigures)
{
    PanelFixture f;
    f.panel.fillFromDevice();
    f.panel.connectOrDisconnect();
    f.ui().CaptureType->setCurrentIndex(1);
    f.ui().EdtLimit->setText(QStringLiteral("6"));
    f.ui().CmdCap->click();
    EXPECT_EQ(f.device.streamFile, QStringLiteral("testvid.avi"));
    EXPECT_EQ(f.device.limit, 6);
    EXPECT_EQ(f.ui().CmdCap->text(), QStringLiteral("End Capture"));
    // The recording ended by itself (time limit).
    Q_EMIT f.device.statusChanged(CaptureDevice::streamEndedStatus, QStringLiteral("Recording ended"));
    EXPECT_EQ(f.ui().CmdCap->text(), QStringLiteral("Capture Stream"));
    EXPECT_EQ(f.ui().LblFrames->text(), QStringLiteral("180"));
    EXPECT_EQ(f.ui().LblFrmDrop->text(), QStringLiteral("2"));
    EXPECT_EQ(f.ui().LblTime->text(), QStringLiteral("6000"));
    EXPECT_EQ(f.ui().LblStatus->text(), QStringLiteral("Recording ended"));
}

TEST(CapturePanel, CamerasPluggedInAndPulledOut)
{
    PanelFixture f;
    f.device.devices.clear();
    f.panel.fillFromDevice();
    EXPECT_EQ(f.ui().Combo1->itemText(0), QStringLiteral("No Capture Devices"));
    // The first camera takes the place of "No Capture Devices" without a question.
    f.device.devices = {QStringLiteral("Cam A")};
    f.device.announce(CaptureDevice::Category::Video, CaptureDevice::Change::Added, 0, QStringLiteral("Cam A"));
    EXPECT_EQ(f.ui().Combo1->count(), 1);
    EXPECT_EQ(f.ui().Combo1->currentText(), QStringLiteral("Cam A"));
    // A second is offered.
    f.dialogs.answer(OperatorDialogs::Answer::Yes);
    f.device.devices.append(QStringLiteral("Cam B"));
    f.device.announce(CaptureDevice::Category::Video, CaptureDevice::Change::Added, 1, QStringLiteral("Cam B"));
    EXPECT_EQ(f.dialogs.texts().value(0), QStringLiteral("Cam B is plugged into your computer. Do you want to use it?"));
    EXPECT_EQ(f.device.device, 1);
    // The connected one is pulled out: the panel goes back to "Connect".
    f.panel.connectOrDisconnect();
    f.device.connected = false;
    f.device.devices.removeLast();
    f.device.announce(CaptureDevice::Category::Video, CaptureDevice::Change::Removed, 1, QStringLiteral("Cam B"));
    EXPECT_EQ(f.ui().Combo1->count(), 1);
    EXPECT_EQ(f.ui().CmdConnect->text(), QStringLiteral("Connect"));
    EXPECT_FALSE(f.ui().CmdPreview->isEnabled());
}

} // namespace
