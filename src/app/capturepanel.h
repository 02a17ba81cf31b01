#pragma once

#include "app/capturepanelui.h"
#include "capture/capturedevice.h"

#include <QWidget>

class OperatorDialogs;
class SettingsStore;

// The capture device panel of the main screen: the camera, its formats,
// frame rate, time limit, compression, sound, preview, captures from the
// panel itself and the figures of the last recording. Every device operation
// goes to the capture control; the chosen indices go to the settings.
class CapturePanel final : public QWidget {
    Q_OBJECT

public:
    CapturePanel(CaptureDevice& device, SettingsStore& settings, OperatorDialogs& dialogs, QWidget* parent = nullptr);

    const CapturePanelUi& ui() const { return m_ui; }

    // Start-up: the device list, the sound devices and the preview caption
    // from the control; the entry of the stored "device" is selected.
    void fillFromDevice();
    // Start-up: the stored "framerate", or the control's rate when none is
    // stored, through the box's change step.
    void showStoredFrameRate();
    // Start-up: the stored "compression" entry.
    void selectStoredCompression();
    // CmdConnect: connects the chosen device, or disconnects the connected one.
    void connectOrDisconnect();
    // The preview switched on (its button then offers "Preview Off"), as
    // the capture screen is shown.
    void switchPreviewOn();
    // Pushes the panel's values into the control before a recording.
    void setCaptureValues();
    // Selects the attribute entry of the control's current sound format.
    void initAudioSettings();
    // The figures of the last recording into the statistics labels.
    void showStatistics() { refreshStatistics(); }

Q_SIGNALS:
    // lblConfig of the main screen follows the frame rate.
    void configuredForChanged(const QString& text);
    // The capture screen is to be shown (preview on) or hidden (preview off).
    void captureScreenWanted(bool show);

private:
    void wire();
    void afterConnect();
    void onDisconnect();
    void refreshStatistics();
    void frameRateChanged(const QString& text);
    void togglePreview();
    void captureFromPanel();
    void chooseCaptureFile();
    void pickEffect(int index);
    void deviceChanged(CaptureDevice::Category category, CaptureDevice::Change change, int index,
                       const QString& name);
    void enableAudioConfig();
    void enableVideoCompressionConfig();
    // Fills a format box from the control and selects the stored entry.
    void fillFormatBox(QComboBox* box, QLabel* label, const QStringList& names, int current, const char* key);
    bool report(const CaptureResult& result, const QString& prefix = QStringLiteral("Eror code: "));

    CaptureDevice& m_device;
    SettingsStore& m_settings;
    OperatorDialogs& m_dialogs;
    CapturePanelUi m_ui;
    FrameCaptureOptions m_frameOptions;
    bool m_filling = false;
};
