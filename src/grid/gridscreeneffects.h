#pragma once

#include "grid/transform.h"

#include <QString>

// What the grid operations change on the screens: the main screen's grid
// row, the set-up screen's status picture and controls, the measurement
// screen's grid description. Implemented by the screens; every call has a
// do-nothing default so a headless caller overrides only what it shows.
class GridScreenEffects {
public:
    virtual ~GridScreenEffects() = default;

    // Main screen: ImageGrid1..3 shows SmallSmiley.jpg (ready) or
    // SmallCaution.jpg (not ready).
    virtual void setMainGridPicture(int /*grid*/, bool /*ready*/) {}
    // Main screen: entry grid - 1 of txtGridDescription.
    virtual void setMainGridDescription(int /*grid*/, const QString& /*text*/) {}

    // Set-up screen: grid_state_icon shows face02.ico (ready) or msgbox03.ico;
    // not ready also clears the solve summary.
    virtual void setSetupStatusPicture(bool /*ready*/) {}
    // Set-up screen: what a successful solve says in words beside the
    // status picture.
    virtual void setSolveSummary(const QString& /*text*/) {}
    // Set-up screen: btnAccuracyCheck and fmAccuracyDisplay (and
    // fmAccuracyConfig in the Advanced mode) shown or hidden.
    virtual void setAccuracyControlsVisible(bool /*visible*/) {}
    // Set-up screen: clear_accuracy_indicator.
    virtual void clearAccuracyIndicator() {}
    // Set-up screen: chkboxGridLock cleared, gridLockedLabel hidden.
    virtual void clearGridLock() {}
    // Set-up screen: clear the drawing surface (the picture stays).
    virtual void clearDrawing() {}
    // Set-up screen: lblCB hidden.
    virtual void hideCheckBuoyHint() {}
    // Set-up screen: a failed check buoy; mark where it should be (white
    // point, circle, line) and place lblCB beside it; redraw the overlay.
    virtual void showCheckBuoyHint(ScreenPoint /*predicted*/) {}
    // Set-up screen: the boxes were changed by a grid operation; show the
    // new texts and markers.
    virtual void setupFieldsChanged() {}

    // Measurement screen: grid_description text.
    virtual void setMeasureGridDescription(const QString& /*text*/) {}
};
