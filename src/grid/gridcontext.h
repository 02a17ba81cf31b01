#pragma once

class Clock;
class GridScreenEffects;
class OperatorDialogs;
class SettingsStore;
struct CalibrationState;
struct ConfigState;
struct GridSetupFields;

#include <QString>

// Everything a grid operation (solve, save, load, forget) works on: the
// process-wide state, the set-up screen's box texts, and the seams to the
// operator and the screens.
struct GridContext {
    CalibrationState& calibration;
    ConfigState& config;
    SettingsStore& settings;
    GridSetupFields& fields;
    OperatorDialogs& dialogs;
    GridScreenEffects& screens;
    const Clock& clock;
};
