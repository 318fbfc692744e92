// The main window's part that keeps the desktop following the displays: display, work-area and
// DPI changes and resume from sleep render the current wallpaper again for the new layout (after
// the burst of changes has settled); a new taskbar or an unlocked session sets Velumar's
// wallpaper again when the desktop lost it.
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

    // The display layout, the work area or the window's DPI changed.
    void OnDisplayChanged();
    void OnSettingChange(WPARAM action);
    void OnPowerBroadcast(WPARAM event);
    void OnSessionChange(WPARAM event);
    // Explorer started again (the "TaskbarCreated" message).
    void OnTaskbarCreated() { PublishAgainIfLost(); }
    // True when the timer was the follower's: the layout changes were taken in.
    bool OnTimer(UINT_PTR id);

    // How many monitors the wallpaper covers in the modes that render for each monitor or span
    // them all; 0 in the mode with one image for the whole desktop.
    int MonitorsCovered() const;

private:
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
