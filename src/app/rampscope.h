#pragma once

#include "app/configstate.h"
#include "grid/calibrationstate.h"
#include "grid/gridsetupfields.h"

#include <QString>

#include <memory>

class Clock;
class MainForm;
class Measure;
class OperatorDialogs;
class SettingsStore;

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

private:
    void loadConfiguration();

    SettingsStore& m_settings;
    OperatorDialogs& m_dialogs;
    const Clock& m_clock;
    ConfigState m_config;
    CalibrationState m_calibration;
    // The set-up screen's boxes; the set-up screen takes them over when it
    // is built.
    GridSetupFields m_setupFields;
    QString m_screenMode;
    std::unique_ptr<MainForm> m_mainForm;
    std::unique_ptr<Measure> m_measure;
};
