// The main window's part that keeps the desktop following the displays: a display change, a
// resume from sleep or a new taskbar renders the current wallpaper again when the monitors
// differ from those it was rendered for (after the burst of changes has settled); with the same
// monitors, a resume, a new taskbar or an unlocked session sets Velumar's wallpaper again only
// when the desktop lost it. DPI and work-area changes alone never touch the wallpaper.
#pragma once

#include <windows.h>

#include "app/wallpaper_app.h"
#include "render/desktop.h"
#include "switching/display_follow.h"

class CSwitchingAdapter;

inline constexpr UINT_PTR kDisplayFollowTimerId = 2002;

class CDesktopFollower {
public:
    CDesktopFollower(CWallpaperApp& app, Desktop& desktop, CSwitchingAdapter& switching)
        : app(app), desktop(desktop), switching(switching) {}
    CDesktopFollower(const CDesktopFollower&) = delete;
    CDesktopFollower& operator=(const CDesktopFollower&) = delete;

    // Asks for resume and session notifications where the system offers them.
    void Attach(HWND window);
    // Stops those notifications and the timer.
    void Detach();

    // The display layout changed (WM_DISPLAYCHANGE).
    void OnDisplayChanged() { Gather(false); }
    void OnPowerBroadcast(WPARAM event);
    void OnSessionChange(WPARAM event);
    // Explorer started again (the "TaskbarCreated" message).
    void OnTaskbarCreated() { Gather(true); }
    // True when the timer was the follower's: the layout changes were taken in.
    bool OnTimer(UINT_PTR id);

    // How many monitors the wallpaper covers in the modes that render for each monitor or span
    // them all; 0 in the mode with one image for the whole desktop.
    int MonitorsCovered() const;

private:
    // A change to look at once the burst has settled; woke for a resume or a new taskbar.
    void Gather(bool woke);
    // Sets the wallpaper setting again when Velumar set it last and the desktop no longer
    // names it (see ShouldPublishAgain); never renders.
    void PublishAgainIfLost();

    CWallpaperApp& app;
    Desktop& desktop;
    CSwitchingAdapter& switching;
    HWND window = nullptr;
    DisplayFollow follow;
    // The suspend/resume registration (Windows 8 and later); null when there is none.
    void* resumeNotification = nullptr;
    bool sessionNotification = false;
};
