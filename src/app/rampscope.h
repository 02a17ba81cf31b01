#pragma once

#include "app/configstate.h"
#include "app/gridscreenrouter.h"
#include "grid/calibrationline.h"
#include "grid/calibrationstate.h"
#include "grid/gridsetupfields.h"
#include "video/capturehandover.h"

#include <QPointer>
#include <QString>

#include <memory>

class Calibrate;
class Clock;
class Grid_Setup;
class LogView;
class PictureLogView;
class QWidget;
class MainForm;
class Measure;
class OperatorDialogs;
class SettingsStore;
class frmSetStart;

// The application object: owns the process-wide state (configuration,
// calibration, screen mode) and every screen, and runs the start-up.
class Rampscope final {
public:
    // The settings, dialogs and clock are owned by the caller, so tests can
    // run a whole start-up on a temporary store with scripted answers.
    Rampscope(SettingsStore& settings, OperatorDialogs& dialogs, const Clock& clock);
    ~Rampscope();

    Rampscope(const Rampscope&) = delete;
    Rampscope& operator=(const Rampscope&) = delete;

    // The start-up: stored-settings problem, emergency reset, video
    // directory, session-start line, the verify message, the configuration
    // load (results file, grid count, the configured grids reloaded), and
    // the main screen shown.
    void start();

    ConfigState& config() { return m_config; }
    CalibrationState& calibration() { return m_calibration; }
    QString& screenMode() { return m_screenMode; }
    MainForm& mainForm();
    // The measurement screen, built (and its load step run) on first use.
    Measure& measure();
    // The grid set-up screen, built (and its load step run) on first use;
    // the configuration load builds it before it reloads the grids, so the
    // reloaded grids show in its boxes.
    Grid_Setup& gridSetup();
    // The calibration line tool, built on first use; it draws on the grid
    // set-up screen.
    Calibrate& calibrate();
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
    void loadConfiguration();
    // cmdGoTimer: the frame selection screen without a recording.
    void goToFrameSelection();
    // A recorded video chosen in the video log viewer.
    void viewLoggedVideo(const QString& path);
    // A picture chosen in the picture log viewer (empty: none).
    void viewLoggedPicture(const QString& path);

    SettingsStore& m_settings;
    OperatorDialogs& m_dialogs;
    const Clock& m_clock;
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
    std::unique_ptr<MainForm> m_mainForm;
    std::unique_ptr<Measure> m_measure;
    std::unique_ptr<Grid_Setup> m_gridSetup;
    std::unique_ptr<Calibrate> m_calibrate;
    std::unique_ptr<frmSetStart> m_frameSelection;
    QPointer<LogView> m_videoLog;
    QPointer<PictureLogView> m_pictureLog;
};
