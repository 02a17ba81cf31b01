#include "video/replayloop.h"


ReplayStep ReplayLoopTick(ReplayLoopState& state, const ReplayTickInputs& inputs, int currentIntervalMs)
{
    ReplayStep step;
    const ReplayWindow beforeEnd = BeforeEndWindow(inputs.endFrame, inputs.beforeEndSeconds, inputs.frameRate);
    bool playAfter = inputs.playAfterChecked;

    if (state.startLoopActive) {
        state.loopsLeft -= 1;
        if (state.loopsLeft < 1) {
            state.startLoopActive = false;
            state.endLoopActive = false;
            step.displaySize = PlayerDisplaySize::normal;
            step.restorePlayerSize = true;
            step.focus = ReplayFocus::PlayBeforeStart;
        } else {
            step.play = true;
            step.restartTimerMs = currentIntervalMs;
        }
    }

    if (state.endLoopActive && state.afterPlaying) {
        state.loopsLeft -= 1;
        if (state.loopsLeft < 1) {
            step.selection = beforeEnd;
            state.startLoopActive = false;
            state.endLoopActive = false;
            state.afterPlaying = false;
            step.displaySize = PlayerDisplaySize::normal;
            step.restorePlayerSize = true;
            step.focus = ReplayFocus::PlayAndPause;
        } else {
            state.afterPlaying = false;
            step.selection = beforeEnd;
            step.restartTimerMs = beforeEnd.timerIntervalMs;
        }
    }

    if (state.endLoopActive && !state.afterPlaying) {
        if (playAfter) {
            playAfter = false;
            step.uncheckPlayAfter = true;
            const ReplayWindow after = AfterEndWindow(inputs.endFrame, inputs.frameRate);
            step.selection = after;
            // The continuation follows the pause on the end frame at once.
            step.play = true;
            state.afterPlaying = true;
            step.restartTimerMs = after.timerIntervalMs;
        } else {
            state.loopsLeft -= 1;
            if (state.loopsLeft < 1) {
                state.startLoopActive = false;
                state.endLoopActive = false;
                step.displaySize = PlayerDisplaySize::afterEndLoop;
                step.restorePlayerSize = true;
                step.focus = ReplayFocus::PlayBeforeEnd;
            } else {
                step.play = true;
                if (!step.restartTimerMs)
                    step.restartTimerMs = currentIntervalMs;
            }
        }
    }
    return step;
}
