#include "app/capturepanel.h"

#include "app/settingsstore.h"
#include "app/startup.h"
#include "capture/audioformats.h"
#include "common/operatordialogs.h"
#include "common/val.h"
#include "video/filedialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>

#include <cmath>

namespace {

const QString noDevices = QStringLiteral("No Capture Devices");

int StoredIndex(const SettingsStore& settings, const char* key)
{
    return int(Val(settings.ReadSetting(QLatin1String(key), QStringLiteral("-1"))));
}

int RoundedHalfEven(double value)
{
    return int(std::nearbyint(value));
}

} // namespace

CapturePanel::CapturePanel(CaptureDevice& device, SettingsStore& settings, OperatorDialogs& dialogs,
                           QWidget* parent)
    : QWidget(parent), m_device(device), m_settings(settings), m_dialogs(dialogs), m_ui(BuildCapturePanel(this))
{
    setObjectName(QStringLiteral("capturePanelControls"));
    wire();
    onDisconnect();
}

void CapturePanel::wire()
{
    connect(m_ui.CmdConnect, &QPushButton::clicked, this, &CapturePanel::connectOrDisconnect);
    connect(m_ui.CmdPreview, &QPushButton::clicked, this, &CapturePanel::togglePreview);
    auto pickFormat = [this](QComboBox* box, CaptureResult (CaptureDevice::*set)(int), const char* key) {
        connect(box, &QComboBox::currentIndexChanged, this, [this, set, key](int index) {
            if (m_filling || index < 0)
                return;
            if (report((m_device.*set)(index)))
                m_settings.WriteSetting(QLatin1String(key), QString::number(index));
        });
    };
    pickFormat(m_ui.ResolutionCombo, &CaptureDevice::setResolutionIndex, "videoresolution");
    pickFormat(m_ui.ColorFormatCombo, &CaptureDevice::setColourFormatIndex, "ColorFormat");
    pickFormat(m_ui.VideoInput, &CaptureDevice::setInputIndex, "VideoInput");
    connect(m_ui.Channel, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_filling && index >= 0)
            report(m_device.setChannel(m_device.channelMinimum() + index), QStringLiteral("Error code: "));
    });
    connect(m_ui.VideoConfig, &QPushButton::clicked, this, [this] {
        if (!report(m_device.showVideoDialog()))
            return;
        QScopedValueRollback filling(m_filling, true);
        m_ui.ResolutionCombo->setCurrentIndex(m_device.resolutionIndex());
        m_ui.ColorFormatCombo->setCurrentIndex(m_device.colourFormatIndex());
        if (m_device.hasTuner())
            m_ui.Channel->setCurrentIndex(m_device.channel() - m_device.channelMinimum());
        m_ui.VideoInput->setCurrentIndex(m_device.inputIndex());
    });
    connect(m_ui.CompressionCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_filling || index < 0)
            return;
        report(m_device.setVideoCompressor(index));
        enableVideoCompressionConfig();
        m_settings.WriteSetting(QStringLiteral("compression"), QString::number(index));
    });
    connect(m_ui.AudioCompr, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_filling && index >= 0)
            report(m_device.setAudioCompressor(index));
    });
    connect(m_ui.EdtRate, &QLineEdit::textChanged, this, &CapturePanel::frameRateChanged);
    connect(m_ui.AudioDevice, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_filling || index < 0)
            return;
        m_device.setAudioDeviceIndex(index - 1);
        enableAudioConfig();
        initAudioSettings();
    });
    connect(m_ui.ComboAttrib, &QComboBox::activated, this, [this] { initAudioSettings(); });
    connect(m_ui.Effect, &QComboBox::currentIndexChanged, this, &CapturePanel::pickEffect);
    connect(m_ui.Check1, &QCheckBox::toggled, this, [this](bool on) { m_device.setListen(on); });
    connect(m_ui.ChkAutoSave, &QCheckBox::toggled, this, [this] { setCaptureValues(); });
    connect(m_ui.CaptureType, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_ui.CmdCap->setText(index == 0 ? QStringLiteral("Capture Frame") : QStringLiteral("Capture Stream"));
    });
    connect(m_ui.CmdCap, &QPushButton::clicked, this, &CapturePanel::captureFromPanel);
    connect(m_ui.CmdCapFN, &QPushButton::clicked, this, &CapturePanel::chooseCaptureFile);
    connect(&m_device, &CaptureDevice::statusChanged, this, [this](int code, const QString& text) {
        if (code == CaptureDevice::streamEndedStatus) {
            m_ui.CmdCap->setText(QStringLiteral("Capture Stream"));
            refreshStatistics();
        } else if (code == CaptureDevice::statisticsStatus)
            refreshStatistics();
        m_ui.LblStatus->setText(text);
    });
    connect(&m_device, &CaptureDevice::deviceChanged, this, &CapturePanel::deviceChanged);
}

bool CapturePanel::report(const CaptureResult& result, const QString& prefix)
{
    if (result)
        return true;
    m_dialogs.message(prefix + QString::number(result.error().code, 16).toUpper() + QLatin1Char(' ')
                          + result.error().description,
                      QStringLiteral("Error"), OperatorDialogs::Icon::Critical);
    return false;
}

void CapturePanel::fillFromDevice()
{
    QScopedValueRollback filling(m_filling, true);
    m_ui.CmdPreview->setText(m_device.preview() ? QStringLiteral("Preview Off") : QStringLiteral("Preview On"));
    m_ui.Combo1->clear();
    const QStringList devices = m_device.videoDevices();
    m_ui.Combo1->addItems(devices.isEmpty() ? QStringList{noDevices} : devices);
    const int stored = StoredIndex(m_settings, "device");
    m_ui.Combo1->setCurrentIndex(stored >= 0 && stored < m_ui.Combo1->count() ? stored : 0);
    m_ui.AudioDevice->clear();
    m_ui.AudioDevice->addItem(QStringLiteral("None"));
    m_ui.AudioDevice->addItems(m_device.audioDevices());
    m_ui.AudioDevice->setCurrentIndex(std::clamp(m_device.audioDeviceIndex() + 1, 0, m_ui.AudioDevice->count() - 1));
    m_ui.CompressionCombo->clear();
    m_ui.CompressionCombo->addItems(m_device.videoCompressors());
    m_ui.AudioCompr->clear();
    m_ui.AudioCompr->addItems(m_device.audioCompressors());
    m_ui.Effect->clear();
    m_ui.Effect->addItem(QStringLiteral("none"));
    m_ui.Effect->addItems(m_device.effects());
    m_ui.EdtLimit->setText(QString::number(m_device.timeLimit()));
    enableAudioConfig();
    enableVideoCompressionConfig();
    m_ui.Effect->setEnabled(m_ui.Effect->count() > 1);
}

void CapturePanel::showStoredFrameRate()
{
    const QString stored = m_settings.ReadSetting(QStringLiteral("framerate"), QStringLiteral("0"));
    const QString text = Val(stored) < 1 ? QString::number(m_device.frameRate()) : stored;
    if (m_ui.EdtRate->text() == text)
        frameRateChanged(text); // the box's change step runs even when the text is already there
    else
        m_ui.EdtRate->setText(text);
}

void CapturePanel::selectStoredCompression()
{
    const int stored = StoredIndex(m_settings, "compression");
    const int index = stored >= 0 && stored < m_ui.CompressionCombo->count() ? stored : 0;
    if (m_ui.CompressionCombo->currentIndex() == index) {
        report(m_device.setVideoCompressor(index));
        enableVideoCompressionConfig();
    } else
        m_ui.CompressionCombo->setCurrentIndex(index);
}

void CapturePanel::frameRateChanged(const QString& text)
{
    m_settings.WriteSetting(QStringLiteral("framerate"), text);
    m_device.setFrameRate(RoundedHalfEven(Val(text)));
    // Below 5 frames per second the caption stays as it was.
    if (const QString caption = ConfiguredForText(text, QString()); !caption.isEmpty())
        Q_EMIT configuredForChanged(caption);
}

void CapturePanel::connectOrDisconnect()
{
    if (m_device.isConnected()) {
        m_device.disconnectDevice();
        onDisconnect();
        return;
    }
    if (m_device.videoDevices().isEmpty()) {
        m_dialogs.message(QStringLiteral("No MCI capture devices are installed on this system"));
        return;
    }
    const int index = m_ui.Combo1->currentIndex();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const CaptureResult connected = m_device.connectDevice(index);
    QApplication::restoreOverrideCursor();
    if (!report(connected))
        return;
    m_settings.WriteSetting(QStringLiteral("device"), QString::number(index));
    m_ui.CmdPreview->setEnabled(true);
    afterConnect();
}

void CapturePanel::fillFormatBox(QComboBox* box, QLabel* label, const QStringList& names, int current,
                                 const char* key)
{
    {
        QScopedValueRollback filling(m_filling, true);
        box->clear();
        box->addItems(names);
        box->setCurrentIndex(current);
    }
    box->setEnabled(!names.isEmpty());
    label->setEnabled(!names.isEmpty());
    // A stored choice the device still offers replaces its current one.
    const int stored = StoredIndex(m_settings, key);
    if (stored >= 0 && stored < names.size() && stored != current)
        box->setCurrentIndex(stored);
}

void CapturePanel::afterConnect()
{
    fillFormatBox(m_ui.ResolutionCombo, m_ui.ResolLabel, m_device.resolutions(), m_device.resolutionIndex(),
                  "VideoResolution");
    fillFormatBox(m_ui.ColorFormatCombo, m_ui.ColorLabel, m_device.colourFormats(), m_device.colourFormatIndex(),
                  "ColorFormat");
    fillFormatBox(m_ui.VideoInput, m_ui.InputLabel, m_device.inputs(), m_device.inputIndex(), "VideoInput");
    const bool tuner = m_device.hasTuner();
    {
        QScopedValueRollback filling(m_filling, true);
        m_ui.Channel->clear();
        if (tuner) {
            for (int channel = m_device.channelMinimum(); channel <= m_device.channelMaximum(); ++channel)
                m_ui.Channel->addItem(QString::number(channel));
            m_ui.Channel->setCurrentIndex(m_device.channel() - m_device.channelMinimum());
        }
    }
    m_ui.Channel->setEnabled(tuner);
    m_ui.ChannelLabel->setEnabled(tuner);
    m_ui.EdtRate->setText(QString::number(m_device.frameRate()));
    m_ui.EdtLimit->setText(QString::number(m_device.timeLimit()));
    m_ui.CmdConnect->setText(QStringLiteral("Disconnect"));
    m_ui.VideoConfig->setEnabled(m_device.hasVideoDialog());
    m_ui.CmdPreview->setEnabled(true);
    if (m_ui.CmdPreview->text() == QLatin1String("Preview Off") && report(m_device.setPreview(true)))
        Q_EMIT captureScreenWanted(true);
    if (m_ui.CaptureType->currentIndex() == 1) {
        enableAudioConfig();
        enableVideoCompressionConfig();
    }
}

void CapturePanel::onDisconnect()
{
    m_ui.CmdConnect->setText(QStringLiteral("Connect"));
    for (QWidget* control : {static_cast<QWidget*>(m_ui.CmdPreview), static_cast<QWidget*>(m_ui.ResolutionCombo),
                             static_cast<QWidget*>(m_ui.ResolLabel), static_cast<QWidget*>(m_ui.ColorFormatCombo),
                             static_cast<QWidget*>(m_ui.ColorLabel), static_cast<QWidget*>(m_ui.VideoInput),
                             static_cast<QWidget*>(m_ui.InputLabel), static_cast<QWidget*>(m_ui.Channel),
                             static_cast<QWidget*>(m_ui.ChannelLabel), static_cast<QWidget*>(m_ui.VideoConfig)})
        control->setEnabled(false);
}

void CapturePanel::enableAudioConfig()
{
    const bool sound = m_device.audioDeviceIndex() >= 0;
    m_ui.AudioConfig->setEnabled(false); // no sound device here has a dialog of its own
    m_ui.AudioCompr->setEnabled(sound && m_ui.AudioCompr->count() > 0);
    m_ui.AudioCompLabel->setEnabled(m_ui.AudioCompr->isEnabled());
    m_ui.ComboAttrib->setEnabled(sound);
    m_ui.AttribLabel->setEnabled(sound);
    m_ui.Check1->setEnabled(sound && m_device.canListen());
}

void CapturePanel::enableVideoCompressionConfig()
{
    m_ui.ComprConfig->setEnabled(m_device.videoCompressorHasDialog());
}

void CapturePanel::initAudioSettings()
{
    const QString text = AudioFormatText(m_device.audioFormat());
    for (int i = 0; i < m_ui.ComboAttrib->count(); ++i)
        if (m_ui.ComboAttrib->itemText(i).compare(text, Qt::CaseInsensitive) == 0) {
            m_ui.ComboAttrib->setCurrentIndex(i);
            return;
        }
    m_ui.ComboAttrib->addItem(text);
    m_ui.ComboAttrib->setCurrentIndex(m_ui.ComboAttrib->count() - 1);
}

void CapturePanel::pickEffect(int index)
{
    if (m_filling || index < 0)
        return;
    if (index == 0) {
        m_device.removeEffect();
        return;
    }
    const QString name = m_ui.Effect->itemText(index);
    const int effect = m_device.addEffect(name, QStringLiteral("Video Effect 1"));
    if (effect < 0) {
        m_dialogs.message(QStringLiteral("Cannot find ") + name + QStringLiteral(" effect"));
        m_ui.Effect->setCurrentIndex(0);
        return;
    }
    report(m_device.setEffect(effect));
}

void CapturePanel::togglePreview()
{
    if (m_device.preview()) {
        report(m_device.setPreview(false));
        m_ui.CmdPreview->setText(QStringLiteral("Preview On"));
        Q_EMIT captureScreenWanted(false);
        return;
    }
    Q_EMIT captureScreenWanted(true);
    if (report(m_device.setPreview(true)))
        m_ui.CmdPreview->setText(QStringLiteral("Preview Off"));
}

void CapturePanel::switchPreviewOn()
{
    if (m_device.preview() || !m_device.isConnected())
        return;
    if (report(m_device.setPreview(true)))
        m_ui.CmdPreview->setText(QStringLiteral("Preview Off"));
}

void CapturePanel::setCaptureValues()
{
    if (m_ui.CaptureType->currentIndex() == 0) {
        m_frameOptions.progressive = m_ui.ChkProg->isChecked();
        m_frameOptions.autoIncrement = m_ui.ChkAutoInc->isChecked();
        m_frameOptions.quality = int(Val(m_ui.EdtLum->text()));
        m_frameOptions.caption = m_ui.EdtCaption->text();
        m_frameOptions.captionLeft = int(Val(m_ui.EdtCapLeft->text()));
        m_frameOptions.captionTop = int(Val(m_ui.EdtCapTop->text()));
        m_frameOptions.fileName = m_ui.EdtFile->text();
        return;
    }
    m_device.setFrameRate(RoundedHalfEven(Val(m_ui.EdtRate->text())));
    m_device.setTimeLimit(int(Val(m_ui.EdtLimit->text())));
    if (m_ui.AudioDevice->currentIndex() > 0) {
        const int entry = m_ui.ComboAttrib->currentIndex();
        m_device.setAudioFormat(AudioFormatOfEntry(m_ui.ComboAttrib->itemText(entry), entry));
    }
}

void CapturePanel::captureFromPanel()
{
    if (m_ui.CaptureType->currentIndex() == 0) {
        setCaptureValues();
        report(m_device.captureFrame(m_frameOptions));
        return;
    }
    if (m_ui.CmdCap->text() == QLatin1String("Capture Stream")) {
        setCaptureValues();
        if (report(m_device.startStream(m_ui.EdtFile->text())))
            m_ui.CmdCap->setText(QStringLiteral("End Capture"));
        return;
    }
    m_device.stopStream();
    refreshStatistics();
    m_ui.CmdCap->setText(QStringLiteral("Capture Stream"));
}

void CapturePanel::refreshStatistics()
{
    const CaptureStatistics s = m_device.statistics();
    m_ui.LblFrames->setText(QString::number(s.framesCaptured));
    m_ui.LblFrmDrop->setText(QString::number(s.framesDropped));
    m_ui.LblSamples->setText(QString::number(s.samples));
    m_ui.LblTime->setText(QString::number(s.timeMs));
}

void CapturePanel::chooseCaptureFile()
{
    // A recording is offered the video files, a single picture the pictures.
    const auto kind = m_ui.CaptureType->currentIndex() == 1 ? FileDialogKind::Avi : FileDialogKind::Pictures;
    m_ui.EdtFile->setText(ShowSaveFileDialog(m_dialogs, m_ui.EdtFile->text(), int(kind)));
}

void CapturePanel::deviceChanged(CaptureDevice::Category category, CaptureDevice::Change change, int index,
                                 const QString& name)
{
    const bool video = category == CaptureDevice::Category::Video;
    QComboBox* list = video ? m_ui.Combo1 : m_ui.AudioDevice;
    const int offset = video ? 0 : 1; // the sound list starts with "None"
    const QString none = video ? noDevices : QString();
    QScopedValueRollback filling(m_filling, true);
    if (change == CaptureDevice::Change::Added) {
        if (video && list->count() > 0 && list->itemText(0) == none && index == 0) {
            list->setItemText(0, name);
            list->setCurrentIndex(0);
            m_device.setVideoDeviceIndex(0);
        } else {
            list->insertItem(index + offset, name);
            const int current = video ? m_device.videoDeviceIndex() : m_device.audioDeviceIndex();
            if (current != index && !m_device.isConnected()
                && m_dialogs.message(name + QStringLiteral(" is plugged into your computer. Do you want to use it?"),
                                     {}, OperatorDialogs::Icon::Question, OperatorDialogs::Buttons::YesNo)
                       == OperatorDialogs::Answer::Yes) {
                if (video) {
                    m_device.setVideoDeviceIndex(index);
                    list->setCurrentIndex(index);
                } else {
                    m_device.setAudioDeviceIndex(index);
                    list->setCurrentIndex(index + offset);
                }
            }
        }
    } else {
        list->removeItem(index + offset);
        if (video && m_device.videoDevices().isEmpty())
            list->addItem(noDevices);
    }
    if (m_ui.CmdConnect->text() == QLatin1String("Disconnect") && !m_device.isConnected())
        onDisconnect();
}
