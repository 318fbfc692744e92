// Whether the program in front runs full-screen, decided from what the shell says and plain facts
// about the foreground window.
#pragma once

#include <optional>

// The shell's answer about the user's state (SHQueryUserNotificationState's values).
namespace shell_state {
inline constexpr int kBusy = 2;
inline constexpr int kFullScreenDirect3D = 3;
inline constexpr int kPresentation = 4;
inline constexpr int kAcceptsNotifications = 5;
}  // namespace shell_state

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const ScreenRect&) const = default;
};

struct ForegroundWindowFacts {
    bool exists = false;
    bool visible = false;
    bool minimised = false;
    bool cloaked = false;          // hidden by the compositor, as a suspended Store app
    bool shellOrDesktop = false;   // the desktop, the shell's window or its WorkerW / Progman
    bool hasCaption = false;       // WS_CAPTION
    bool hasSizingBorder = false;  // WS_THICKFRAME
    ScreenRect window;             // the visible frame where the compositor tells it
    ScreenRect monitor;            // the rectangle of the monitor the window is on
};

// Busy, Direct3D full-screen and presentation mode hold whatever the window is; any other
// answer, or none, leaves it to the window: shown, not the shell's, without caption or sizing
// border and exactly covering its monitor. A maximised window keeps its caption and never holds.
bool IsFullscreen(std::optional<int> shellState, const ForegroundWindowFacts& front);
