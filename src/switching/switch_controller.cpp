// Start/Stop and the one-second tick.
#include "switching/switch_controller.h"

void SwitchController::StartStop() {
    if (switchingActive) {
        switchingActive = false;
        sequence.clear();
        window.UpdateControls();
        return;
    }
    sequence = window.BuildSwitchingSequence();
    if (sequence.empty()) {
        window.UpdateControls();
        return;
    }
    SwitchState state = State();
    PrepareNextIndex(state, true);
    stopPhase = 1;
    switchingActive = settings.switchMode != 0;
    if (settings.switchMode == 2) {
        if (settings.switchTimes.empty()) {
            switchingActive = false;
            sequence.clear();
        } else {
            schedule.BuildTimeTable(settings.switchTimes);
        }
    } else {
        // The first change comes at once; in mode 0 it is the only one.
        SwitchToNext(state);
    }
    window.UpdateControls();
}

void SwitchController::OnTick() {
    if (environment.IsScreenSaverRunning()) {
        return;
    }
    if (switchingActive) {
        window.SetStartStopText(StopButtonText(stopPhase));
        stopPhase = (stopPhase + 1) % 4;
        // Due first: a due time of day is marked fired even when the pause holds it back.
        if (schedule.IsSwitchDue(settings.switchMode, environment.TickCount(),
                                 environment.LocalNow()) &&
            !environment.IsPauseRequested() && !sequence.empty()) {
            SwitchState state = State();
            SwitchToNext(state);
        }
    }
    window.RefreshIconTextColors();
    window.FinishTick();
}

void SwitchController::SwitchNow() {
    SwitchState state = State();
    ::SwitchNow(state, [this] { return window.BuildSwitchingSequence(); });
}
