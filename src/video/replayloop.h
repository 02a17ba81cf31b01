#pragma once

#include "video/frameselection.h"

#include <cstdint>
#include <optional>

// The replay loops of the frame selection screen: the seconds before the
// start of the run, or before its end (optionally followed by two seconds
// after it), played a chosen number of times. The screen's replay timer
// calls Tick when a replay should have finished; Tick says what the screen
// does next.
struct ReplayLoopState {
    bool startLoopActive = false;
    bool endLoopActive = false;
    bool afterPlaying = false; // the two seconds after the end are playing
    int64_t loopsLeft = 0;
};

// Where the screen puts the focus when a loop ends.
enum class ReplayFocus { None, PlayBeforeStart, PlayAndPause, PlayBeforeEnd };

struct ReplayTickInputs {
    int64_t endFrame = 0;          // start frame + end offset
    double beforeEndSeconds = 0;   // the before-end box, already held in range
    double frameRate = 0;
    bool playAfterChecked = false; // "and then continue"
};

struct ReplayStep {
    std::optional<ReplayWindow> selection; // new selection for the player
    bool play = false;                     // play the (new) selection
    std::optional<int> restartTimerMs;     // switch the timer on again with this interval
    std::optional<int> displaySize;        // the player's display size
    bool restorePlayerSize = false;
    bool uncheckPlayAfter = false;
    ReplayFocus focus = ReplayFocus::None;
};

// One tick of the replay timer (the timer is already off). The checks run in
// order within the tick: the before-start loop, then the end loop after its
// continuation, then the end loop itself. A replay that is played again
// switches the timer on again with `currentIntervalMs`, so every replay is
// timed and the loop ends when its count is used up.
ReplayStep ReplayLoopTick(ReplayLoopState& state, const ReplayTickInputs& inputs, int currentIntervalMs);
