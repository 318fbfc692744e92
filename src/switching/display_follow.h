// The desktop following the displays: changes of the display layout come in bursts (a dock
// connecting sends several), so they are gathered into at most one look per two seconds, which
// renders again only when the monitors differ from those the wallpaper was rendered for; and
// whether the desktop's wallpaper setting still is, or should again be, Velumar's bitmap.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "render/monitor_layout.h"

// How long a burst of display changes is gathered before the wallpaper is rendered again.
inline constexpr std::uint32_t kDisplayFollowDelayMs = 2000;

class DisplayFollow {
public:
    // A display change arrived at that tick count (milliseconds, wrapping at 32 bits); woke
    // when it is a resume from sleep or a new taskbar, after which the desktop may have lost
    // the wallpaper.
    void Changed(std::uint32_t now, bool woke = false);
    // Whether a resume or a new taskbar was among the changes gathered; asked once per burst.
    bool TakeWoke() { return std::exchange(woke, false); }
    // Milliseconds until a re-render is due; nothing when no change waits.
    std::optional<std::uint32_t> Wait(std::uint32_t now) const;
    // True once, when a re-render is due: the first change waiting came two seconds ago. Changes
    // after that start the next gathering.
    bool Fire(std::uint32_t now);

private:
    // When the first change not yet rendered for arrived.
    std::optional<std::uint32_t> firstChange;
    bool woke = false;
};

// What a gathered burst of display changes leads to.
enum class FollowStep {
    Nothing,
    // The same monitors: the bitmap on the desktop fits; after a resume or a new taskbar it is
    // set again if the desktop lost it, never rendered.
    SetAgainIfLost,
    // Other monitors (rectangles or primary) than the wallpaper was rendered for.
    RenderAgain,
};

// The step for the monitors now (OrderMonitors' order) against those the wallpaper on the
// desktop, or the show under way, was rendered for (nothing before the first show of the run).
FollowStep DecideFollow(const std::vector<MonitorRect>& now,
                        const std::optional<std::vector<MonitorRect>>& renderedFor, bool woke);

// Whether a wallpaper setting names one of the places Velumar writes its bitmap to (paths are
// compared without regard to ASCII case, as Windows does).
bool NamesVelumarBitmap(std::string_view setting, const std::vector<std::string>& places);

// Whether the desktop shows Velumar's bitmap, so that a display change renders it again: both the
// system's current setting (SPI_GETDESKWALLPAPER) and the one stored in the user profile name
// it. Wine keeps the current setting per process, so only the stored one tells there that
// another program set a wallpaper.
bool ShowsVelumarBitmap(std::string_view current, std::string_view stored,
                        const std::vector<std::string>& places);

// Explorer restarted or the session was unlocked: the wallpaper is set again only when Velumar
// set it last and the desktop lost it. Velumar set it last when the wallpaper stored in the
// user profile ("Wallpaper" under Control Panel\Desktop, which every program that sets a
// wallpaper for good writes) names Velumar's bitmap and that file still exists; the desktop lost
// it when the system's current setting (SPI_GETDESKWALLPAPER) names anything else. A wallpaper
// the user chose elsewhere is stored in the profile, so it is never replaced.
bool ShouldPublishAgain(std::string_view current, std::string_view stored, bool storedFileExists,
                        const std::vector<std::string>& places);
