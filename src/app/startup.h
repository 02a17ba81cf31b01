#pragma once

#include "common/textfile.h"

#include <QDate>
#include <QString>

#include <expected>
#include <optional>

class Clock;
class OperatorDialogs;
class SettingsStore;
struct ConfigState;

// The parts of the station's start-up that need no screen: the emergency
// reset of stored parameters, obtaining the save-video directory, today's
// log name and the session-start line of the measurement log. The main
// screen's load runs them in its order, between its own screen steps.

// Asks whether to reset the stored parameters to their install values and,
// after a second confirmation, offers each parameter in turn with its
// stored value. Every box is a Yes/No question with No as the default.
// Declining at any point leaves the remaining keys as they are; no key
// outside the reset list is ever touched.
void EmergencyReset(SettingsStore& settings, OperatorDialogs& dialogs);

// The save-video directory named by a txtVideoDir text: outer blanks
// removed, then one trailing "\" or "/" stripped.
QString VideoDirectoryFromText(const QString& text);

// Obtains an existing save-video directory: the stored logpath when it
// names one, otherwise the operator is asked (typing the path or choosing
// the folder) until an existing directory is given; an empty answer asks
// again. Writes logpath with the text as typed, sets config.videoDirectory
// and returns the text for txtVideoDir. The caller puts that text in the box
// without running the box's change step again: everything it would do is
// done. A cancelled prompt returns nothing and writes nothing: the operator
// is leaving the station, which cannot run without the directory.
std::optional<QString> ObtainVideoDirectory(SettingsStore& settings, OperatorDialogs& dialogs,
                                            ConfigState& config);

// The change step of txtVideoDir: videoDirectory becomes the text with one
// trailing separator stripped (outer blanks stay until the next start-up),
// and logpath is written with the text as typed.
void ApplyVideoDirectoryText(SettingsStore& settings, ConfigState& config, const QString& text);

// Today's measurement log name: "JumpMeasurementLog" + MMDDYY + ".txt".
QString LogFileNameFor(const QDate& date);

// Sets config.logFileName to the log name of the clock's date.
void SetTodaysLogFileName(ConfigState& config, const Clock& clock);

// Appends the session-start line (date, time, "Rampscope Measurement
// Session started  " in print zones) to today's log in the save-video
// directory, creating the log when missing, then writes logfile. Skipped,
// successfully, when videoDirectory is empty. When logFileName has not been
// set yet it is set from the clock's date first. When the log cannot be
// written (the directory has gone) nothing is written, logfile keeps its
// value and the error is returned for the operator.
std::expected<void, FileError> WriteSessionStartLine(ConfigState& config, SettingsStore& settings,
                                                     const Clock& clock);

// What the operator is told when the session-start line could not be
// written.
QString SessionStartFailureMessage(const FileError& error);

// Start-up's last message before the configuration screen is shown.
inline QString VerifySetupParametersMessage()
{
    return QStringLiteral("Please Verify all Setup Parameters");
}

// The lblConfig text for the frame rate typed in EdtRate (its leading
// number): at least 5 "Currently Configured for Normal/C", at least 15
// "Currently Configured for L", at least 25 "Currently Configured for R";
// below 5 the label keeps designText.
QString ConfiguredForText(const QString& rateText, const QString& designText);
