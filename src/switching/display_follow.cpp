// Gathering display changes, and whose wallpaper the desktop shows.
#include "switching/display_follow.h"

#include <algorithm>

void DisplayFollow::Changed(std::uint32_t now, bool wokeNow) {
    if (!firstChange) {
        firstChange = now;
    }
    woke = woke || wokeNow;
}

FollowStep DecideFollow(const std::vector<MonitorRect>& now,
                        const std::optional<std::vector<MonitorRect>>& renderedFor, bool woke) {
    if (renderedFor && *renderedFor != now) {
        return FollowStep::RenderAgain;
    }
    return woke ? FollowStep::SetAgainIfLost : FollowStep::Nothing;
}

std::optional<std::uint32_t> DisplayFollow::Wait(std::uint32_t now) const {
    if (!firstChange) {
        return std::nullopt;
    }
    const std::uint32_t waited = now - *firstChange;
    return waited >= kDisplayFollowDelayMs ? 0 : kDisplayFollowDelayMs - waited;
}

bool DisplayFollow::Fire(std::uint32_t now) {
    if (Wait(now) != std::optional<std::uint32_t>(0)) {
        return false;
    }
    firstChange.reset();
    return true;
}

namespace {

bool SamePath(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

bool NamesVelumarBitmap(std::string_view setting, const std::vector<std::string>& places) {
    return !setting.empty() && std::ranges::any_of(places, [&](const std::string& place) {
        return SamePath(setting, place);
    });
}

bool ShowsVelumarBitmap(std::string_view current, std::string_view stored,
                        const std::vector<std::string>& places) {
    return NamesVelumarBitmap(current, places) && NamesVelumarBitmap(stored, places);
}

bool ShouldPublishAgain(std::string_view current, std::string_view stored, bool storedFileExists,
                        const std::vector<std::string>& places) {
    return storedFileExists && NamesVelumarBitmap(stored, places) && !SamePath(current, stored);
}
