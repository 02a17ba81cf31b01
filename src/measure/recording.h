#pragma once

#include "grid/gridrecord.h"
#include "grid/transform.h"
#include "measure/jumpresult.h"

#include <QDateTime>
#include <QString>

#include <expected>

class Clock;
class ExchangeDirectory;
class OperatorDialogs;
struct CalibrationState;
struct ConfigState;
struct FileError;
struct MeasureState;

// A landing mark measured on a grid: where it lies on the screen and on the
// water, and the distance rounded as the results are.
struct MeasuredJump {
    ScreenPoint landingScreen;
    SurveyPoint landingSurvey;
    RoundedJump rounded;
};

// Maps the mark to the water with the grid's coefficients, measures from the
// jump point, adds the tournament's allowance and rounds (feet in tenths
// when tenthsOfFeet: barefoot and sit ski). Fails on a zero denominator or
// any value that is not a finite number; nothing is measured then.
std::expected<MeasuredJump, ArithmeticFault> MeasureJump(const Coefficients& coefficients, double jumpX,
                                                         double jumpY, double markX, double markY,
                                                         TournamentType type, bool tenthsOfFeet);

// Puts a measured jump into the state as recording shows it: the landing
// point, preciseDistanceText, distance = metres + "m", distance_ft = feet +
// "ft".
void ApplyMeasuredJump(MeasureState& state, const MeasuredJump& jump);

// The result line of the results file for the state as it stands (without
// the line end): date, time, skier and jump, distances, " BAREFOOT " when
// barefootMode, the verify-mode note, Comment, and, unless Other_Grid is
// selected, the landing point on the water, on the screen and the precise
// distance.
QString ResultLine(const MeasureState& state, bool barefootMode, const QDateTime& moment);

// What the recording needs from the rest of the station.
struct RecordingContext {
    const CalibrationState& calibration; // the selected grid's live transform and jump point
    const ConfigState& config;           // tournament type, results file
    bool scoringLinkOn;                  // the configuration's SCORIX box
    const ExchangeDirectory& exchange;
    OperatorDialogs& dialogs;
    const Clock& clock;
};

struct RecordingOutcome {
    // The result line was appended and the state moved on. When false the
    // state is exactly as it was before the click.
    bool recorded = false;
    // A measured jump on a frozen frame: the screen offers the frozen
    // picture for saving (see PicturePath for the proposed name).
    bool offerFrozenPictureSave = false;
    QString resultLine; // as appended, without the line end
};

// The Record button. Settles a pass or fall, asks for the other grid's
// distances (checking metres against feet within 2 ft, asking again until
// they agree or the operator answers No), or measures the landing mark;
// appends the result line; hands the result to the scoring system when the
// link is on; then hides Comment, advances the jump number where the rules
// say so, deselects Other_Grid (and Pass/Fall without a frozen frame),
// empties Comment and deletes the consumed *.bmp of the exchange directory.
//
// Failures: a jump to measure with no landing point placed on the picture
// shown (NoLandingPointMessage), an arithmetic fault while measuring, or a
// results file that cannot be appended to, shows a message and abandons the
// recording with the state untouched. A failure to write the exchange files shows
// "Error while writing SCORIX result: ..." and the recording completes.
RecordingOutcome RecordJump(MeasureState& state, const RecordingContext& context);

// What the operator reads when Record is pressed before the landing point
// has been clicked on the picture shown.
QString NoLandingPointMessage();

// What the operator reads when the result line could not be written.
QString ResultsFileFailureMessage(const FileError& error);
