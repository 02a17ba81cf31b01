#pragma once

#include "video/previewformui.h"

#include <QMainWindow>
#include <QTimer>

#include <cstdint>
#include <expected>
#include <functional>

class CaptureDevice;
class CapturePanel;
class OperatorDialogs;
class SettingsStore;
struct CaptureHandover;
struct ConfigState;

// The capture screen, "Rampscope 2005 Capture Screen": the camera's live
// picture; the jump's file named after the skier and the jump number, never
// over an existing file; a recording of the chosen length with "Contact" to
// mark the moment the skis touch the water; then the frame selection screen
// takes the recording over.
class PreviewForm final : public QMainWindow {
    Q_OBJECT

public:
    struct Environment {
        CaptureDevice& device;
        CapturePanel& panel; // SetCaptureValues, the frame rate box, the statistics
        SettingsStore& settings;
        ConfigState& config; // videoDirectory
        QString& screenMode;
        CaptureHandover& handover;
        OperatorDialogs& dialogs;
        QString skierListPath; // SkierNames.txt
        // The scoring system's skier name, or the operator's message.
        std::function<std::expected<QString, QString>()> readScoringName;
        // The measurement screen's skier name and jump number boxes.
        std::function<void(const QString& skierName, const QString& jumpText)> setMeasureTexts;
    };

    // The screen's load: the recording length from "captureTime", the skier
    // from the first line of the skier list.
    explicit PreviewForm(Environment environment, QWidget* parent = nullptr);
    ~PreviewForm() override;

    const PreviewFormUi& ui() const { return m_ui; }
    double captureSeconds() const { return m_captureSeconds; }
    bool recording() const;

    // One tick of Timer40, as its timeout runs it.
    void countdownTick();

Q_SIGNALS:
    void frameSelectionRequested();
    void mainScreenRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void wire();
    void firstPaint();
    void pickLength(int index);
    void skierNameEdited(const QString& text);
    void openSkierPicker();
    void readScoringName();
    void startRecording();
    void contact();
    void endByTime();
    void stopRecording();
    void setRecordingButtons(bool recording);
    int64_t framesSoFar() const;

    Environment m_env;
    PreviewFormUi m_ui;
    QTimer m_timer; // Timer40
    double m_captureSeconds = 5;
    QString m_captureFilePath;
    bool m_nameWasChanged = false;
    bool m_firstPaintDone = false;
    bool m_contactTapped = false;
    int64_t m_startFrameHint = 0;
};
