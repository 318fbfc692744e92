// The full-screen rule: what the shell says first, then the foreground window's style and place.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "switching/fullscreen_rule.h"

namespace {

constexpr ScreenRect kMonitor{0, 0, 1920, 1080};

// A borderless window that covers its monitor exactly, changed by each case.
ForegroundWindowFacts Borderless(const std::function<void(ForegroundWindowFacts&)>& change = {}) {
    ForegroundWindowFacts facts{true, true, false, false, false, false, false, kMonitor, kMonitor};
    if (change) {
        change(facts);
    }
    return facts;
}

TEST(FullscreenRule, TheShellsBusyStatesHoldAndOtherAnswersLeaveItToTheWindow) {
    const ForegroundWindowFacts maximised = Borderless([](ForegroundWindowFacts& f) {
        // A maximised window on a monitor without a taskbar: its invisible borders lie outside.
        f.hasCaption = f.hasSizingBorder = true;
        f.window = {-8, -8, 1928, 1088};
    });
    const ForegroundWindowFacts nothing{};
    const struct {
        const char* name;
        std::optional<int> shellState;
        ForegroundWindowFacts front;
        bool holds;
    } cases[] = {
        {"borderless, exactly its monitor", shell_state::kAcceptsNotifications, Borderless(), true},
        {"the same on a monitor right of the primary", std::nullopt,
         Borderless([](ForegroundWindowFacts& f) {
             f.window = f.monitor = {1920, 0, 3840, 1080};
         }),
         true},
        {"maximised with a caption, borders outside the monitor",
         shell_state::kAcceptsNotifications, maximised, false},
        {"maximised with a caption, frame bounds equal to the monitor", std::nullopt,
         Borderless([](ForegroundWindowFacts& f) { f.hasCaption = f.hasSizingBorder = true; }),
         false},
        {"a caption alone", std::nullopt,
         Borderless([](ForegroundWindowFacts& f) { f.hasCaption = true; }), false},
        {"a sizing border alone", std::nullopt,
         Borderless([](ForegroundWindowFacts& f) { f.hasSizingBorder = true; }), false},
        {"borderless, larger than its monitor", std::nullopt,
         Borderless([](ForegroundWindowFacts& f) {
             f.window = {-1, 0, 1920, 1080};
         }),
         false},
        {"borderless, one pixel short of it", std::nullopt,
         Borderless([](ForegroundWindowFacts& f) { f.window.bottom = 1079; }), false},
        {"cloaked", std::nullopt, Borderless([](ForegroundWindowFacts& f) { f.cloaked = true; }),
         false},
        {"the shell's or the desktop's window", std::nullopt,
         Borderless([](ForegroundWindowFacts& f) { f.shellOrDesktop = true; }), false},
        {"minimised", std::nullopt,
         Borderless([](ForegroundWindowFacts& f) { f.minimised = true; }), false},
        {"invisible", std::nullopt, Borderless([](ForegroundWindowFacts& f) { f.visible = false; }),
         false},
        {"no foreground window", std::nullopt, nothing, false},
        {"shell busy", shell_state::kBusy, nothing, true},
        {"shell: Direct3D full-screen", shell_state::kFullScreenDirect3D, maximised, true},
        {"shell: presentation mode", shell_state::kPresentation, nothing, true},
        {"shell: not present, borderless", 1, Borderless(), true},
        {"shell: not present, maximised", 1, maximised, false},
        {"shell: accepts notifications, nothing in front", shell_state::kAcceptsNotifications,
         nothing, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsFullscreen(c.shellState, c.front), c.holds) << c.name;
    }
}

}  // namespace
