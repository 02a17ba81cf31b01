#pragma once

#include <QString>

class ExchangeDirectory;

// The status options beside the Record button (one group: at most one is
// selected). None is the state after recording deselected Pass, Fall or
// Other_Grid and before anything else is chosen.
enum class StatusOption { None, optJumpOK, Pass, Fall, Other_Grid, M_Reride, O_reride, Make_comment };

// What the measurement screen shows and keeps for the jump in hand. The
// Measure screen copies its controls from here after every operation;
// the operations below never touch a widget.
struct MeasureState {
    // Texts of the boxes, as they stand (initial texts of the screen).
    QString distance = QStringLiteral("M");
    QString distance_ft = QStringLiteral("FT");
    QString Jump_no = QStringLiteral("Jump");
    QString Skier_name = QStringLiteral("Skier Name");
    QString Comment;
    bool commentVisible = true; // hidden after each recording

    StatusOption selectedOption = StatusOption::optJumpOK;

    // A clipboard or snapshot picture is frozen on the screen: recording
    // then leaves the options and the jump number for Unfreeze to reset.
    bool frameFrozen = false;

    // Verify mode: the verify readouts and "UNOFFICIAL JUMP" are shown,
    // the verify button reads "Verify off" and results carry a note.
    bool verifyMode = false;

    // The landing mark (twips of the displayed frame).
    double markX = 0.0;
    double markY = 0.0;
    // The operator has clicked the landing point on the picture shown; a
    // new picture or the end of the jump takes it back, so a jump is never
    // measured at a point nobody clicked.
    bool markPlaced = false;

    // The mark and its water position taken at the last measured jump; a
    // pass or fall repeats them in its result line.
    double landingScreenX = 0.0;
    double landingScreenY = 0.0;
    double landingSurveyX = 0.0; // metres
    double landingSurveyY = 0.0;
    QString preciseDistanceText; // last measured distance to 4 decimals

    // "Barefoot Jump" / "Sit Ski Jump" shown: feet are recorded in tenths.
    bool barefootIndicatorVisible = false;

    bool operator==(const MeasureState&) const = default;
};

// Option clicks of optJumpOK, Pass, Fall and Other_Grid: selects the option
// and sets Comment to "Pass", "Fall" or "Distance from other grid"
// (optJumpOK leaves Comment as it is). The note options M_Reride, O_reride
// and Make_comment write a line as they are clicked: see WriteNoteLine.
// Does nothing for those or for None.
void ClickStatusOption(MeasureState& state, StatusOption option);

// A new skier (Skier_name changed or clicked): the jump number restarts at
// "1" and the distance boxes are emptied.
void SkierNameChanged(MeasureState& state, const QString& skierName);

// The verify button: switches verify mode and returns the new caption.
QString ToggleVerifyMode(MeasureState& state);

// "Verify" while verify mode is off, "Verify off" while it is on.
QString VerifyCaption(const MeasureState& state);

// The end of a jump (Unfreeze, caption "Clear", and leaving the screen):
// distance boxes "m" and "ft", the jump number advanced by one, optJumpOK
// selected, Comment emptied, the frame no longer frozen, no landing point
// placed; then every *.bmp
// of the exchange directory is deleted (failures ignored). The screen
// itself hides the impact lines, FrozenSign, gif_file_name and the
// fine-adjustment controls, removes the picture and redraws the overlay.
void EndJump(MeasureState& state, const ExchangeDirectory& exchange);

// NumberText(Val(text) + 1): "Jump" gives " 1", "1" gives " 2".
QString NextJumpNumber(const QString& jumpNumberText);
