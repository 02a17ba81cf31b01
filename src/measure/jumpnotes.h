#pragma once

#include "measure/measurestate.h"

#include <QDateTime>
#include <QString>

class Clock;
class OperatorDialogs;
struct ConfigState;

// A note line of the results file: date, " ", time, " ", the note.
QString NoteLine(const QDateTime& moment, const QString& note);

// The note options M_Reride, O_reride and Make_comment, as they are
// clicked: selects the option, sets Comment to the note ("Mandatory Reride -
// disregard last jump", "Optional Reride on previous jump", or the answer to
// "What comment would you like to add?"; a cancelled prompt gives an empty
// comment), appends the note line to the results file, then empties Comment
// and deselects the option (M_Reride and O_reride only without a frozen
// frame); the mandatory reride also empties the distance boxes.
//
// Returns whether the line was written. When the results file cannot be
// appended to, the operator is told and the state is left exactly as it was
// before the click. Any other option does nothing and returns false.
bool WriteNoteLine(MeasureState& state, StatusOption option, const ConfigState& config,
                   OperatorDialogs& dialogs, const Clock& clock);
