#pragma once

#include "app/configstate.h"
#include "app/gridscreenrouter.h"
#include "capture/capturedevice.h"
#include "common/stationfolders.h"
#include "grid/calibrationline.h"
#include "grid/calibrationstate.h"
#include "grid/gridsetupfields.h"
#include "video/capturehandover.h"

#include <QPointer>
#include <QString>

#include <memory>

class Calibrate;

class CapturePanel;
class Clock;
class Config;
class frmManual;
class Grid_Setup;
class LogView;
class PictureLogView;
class QWidget;
class MainForm;
class Measure;
class PreviewForm;
class OperatorDialogs;
class SettingsStore;
class frmSetStart;

// The application object: owns the process-wide state (configuration,
// calibration, screen mode) and every screen, and runs the start-up.
class Rampscope final {
public:
    // The settings, dialogs and clock are owned by the caller, so tests can
    // run a whole start-up on a temporary store with scripted answers; the
    // folders too, so tests never write into the user's data folder.
    // The capture control is the station's own unless a test hands one in.
    Rampscope(SettingsStore& settings, OperatorDialogs& dialogs, const Clock& clock,
              StationFolders folders = StationFolders::standard(), std::unique_ptr<CaptureDevice> capture = {});
    ~Rampscope();

    Rampscope(const Rampscope&) = delete;
    Rampscope& operator=(const Rampscope&) = delete;

    // The start-up: stored-settings problem, emergency reset, video
    // directory, session-start line, the verify message, and the
    // configuration screen shown (its load reads the remaining settings and
    // reloads the configured grids) with the main screen hidden. Returns
    // false, with nothing shown, when the operator cancelled the video
    // directory prompt: the station cannot run without one.
    bool start();

    ConfigState& config() { return m_config; }
    CalibrationState& calibration() { return m_calibration; }
    QString& screenMode() { return m_screenMode; }
    MainForm& mainForm();
    // The capture control and its panel on the main screen.
    CaptureDevice& capture() { return *m_capture; }
    CapturePanel& capturePanel();
    // The configuration screen, built (and its load run) on first use.
    Config& configScreen();
    // The manual viewer, built on first use.
    frmManual& manual();
    const StationFolders& folders() const { return m_folders; }
    // The measurement screen, built (and its load step run) on first use.
    Measure& measure();
    // The grid set-up screen, built (and its load step run) on first use;
    // the configuration load builds it before it reloads the grids, so the
    // reloaded grids show in its boxes.
    Grid_Setup& gridSetup();
    // The calibration line tool, built on first use; it draws on the grid
    // set-up screen.
    Calibrate& calibrate();
    // The capture screen, built (and its load step run) on first use.
    PreviewForm& captureScreen();
    // The frame selection screen, built on first use.
    frmSetStart& frameSelection();
    // The log viewers, made afresh at each opening over `owner` and gone once
    // closed (null then).
    LogView* videoLog() const;
    PictureLogView* pictureLog() const;
    void openVideoLog(QWidget* owner);
    void openPictureLog(QWidget* owner);
    // What the capture screen hands to the frame selection screen.
    CaptureHandover& captureHandover() { return m_captureHandover; }
    // The file the video log viewer hands over for viewing.
    QString& fileToView() { return m_fileToView; }

private:
    // ccmdGoToMeasure: the measurement screen when every configured grid is
    // ready, otherwise the not-ready message and the grid set-up screen.
    void goToMeasure();
    // The configuration load's grid status rows and the reload of every
    // configured grid from its set-up file.
    void reloadGrids();
    void setMagnifierOn(bool on);
    // The capture panel's part of the start-up: filled from the control,
    // the stored frame rate, the device connected, the stored compressor.
    void startCapturePanel();
    static QString exchangeDirectory();
    // The capture screen's first size and place.
    void placeCaptureScreen(PreviewForm& screen);
    // The capture screen shown with the camera's preview on.
    void goToCapture();
    // cmdGoTimer: the frame selection screen without a recording.
    void goToFrameSelection();
    // A recorded video chosen in the video log viewer.
    void viewLoggedVideo(const QString& path);
    // A picture chosen in the picture log viewer (empty: none).
    void viewLoggedPicture(const QString& path);

    SettingsStore& m_settings;
    OperatorDialogs& m_dialogs;
    const Clock& m_clock;
    StationFolders m_folders;
    ConfigState m_config;
    CalibrationState m_calibration;
    // The set-up screen's boxes, shared with the set-up screen.
    GridSetupFields m_setupFields;
    QString m_screenMode;
    // The calibration line drawn last, kept for the whole run.
    ScreenLine m_lastCalibrationLine;
    CaptureHandover m_captureHandover;
    QString m_fileToView;
    GridScreenRouter m_gridScreens;
    std::unique_ptr<CaptureDevice> m_capture;
    std::unique_ptr<MainForm> m_mainForm;
    CapturePanel* m_capturePanel = nullptr; // owned by the main screen
    std::unique_ptr<Config> m_configScreen;
    std::unique_ptr<frmManual> m_manual;
    std::unique_ptr<Measure> m_measure;
    std::unique_ptr<Grid_Setup> m_gridSetup;
    std::unique_ptr<Calibrate> m_calibrate;
    std::unique_ptr<frmSetStart> m_frameSelection;
    std::unique_ptr<PreviewForm> m_captureScreen;
    QPointer<LogView> m_videoLog;
    QPointer<PictureLogView> m_pictureLog;
};
