// Display changes gathered into re-renders, driven by a fake clock as the window's timer drives
// them; and when the wallpaper setting is published again.
#include <gtest/gtest.h>

#include "switching/display_follow.h"

namespace {

// Changes, and when a re-render fires, in milliseconds after the start.
struct BurstCase {
    const char* name;
    std::uint32_t start;
    std::vector<std::uint32_t> changes;
    std::vector<std::uint32_t> fires;
};

TEST(DisplayFollowTest, ABurstOfChangesRendersOnceTwoSecondsAfterItBeganAndNoMoreOften) {
    const BurstCase cases[] = {
        {"none", 0, {}, {}},
        {"one change", 5000, {0}, {2000}},
        {"a short burst", 5000, {0, 300, 900, 1500, 1999}, {2000}},
        {"a long burst", 5000, {0, 500, 1000, 1500, 2000, 2500, 3000, 4500}, {2000, 4500}},
        {"two bursts", 5000, {0, 100, 6000, 6100}, {2000, 8000}},
        {"the tick count wraps", 0xFFFFFC00u, {0, 1500}, {2000}},
    };
    for (const BurstCase& c : cases) {
        DisplayFollow follow;
        std::vector<std::uint32_t> fires;
        // Stepping in 100 ms, as a timer set to Wait after each change would go off.
        for (std::uint32_t at = 0; at <= 12000; at += 100) {
            for (std::uint32_t change : c.changes) {
                if (change / 100 * 100 == at) {
                    follow.Changed(c.start + change);
                }
            }
            if (follow.Fire(c.start + at)) {
                fires.push_back(at);
            }
        }
        EXPECT_EQ(fires, c.fires) << c.name;
    }
    DisplayFollow follow;
    EXPECT_EQ(follow.Wait(100), std::nullopt);
    follow.Changed(100);
    follow.Changed(400);
    EXPECT_EQ(follow.Wait(600), 1500u);
    EXPECT_EQ(follow.Wait(2300), 0u);
}

TEST(DisplayFollowTest, OnlyVelumarsOwnWallpaperFollowsOrIsPublishedAgain) {
    const std::vector<std::string> places = {
        "C:\\windows\\Velumar.bmp", "C:\\users\\u\\AppData\\Local\\Quorwick\\Velumar\\Velumar.bmp"};
    // follows: a display change renders again; publish: a new taskbar or an unlocked session
    // sets the stored wallpaper again.
    struct Case {
        const char* current;
        const char* stored;
        bool exists;
        bool follows;
        bool publish;
    } const cases[] = {
        {"C:\\WINDOWS\\Velumar.bmp", "C:\\windows\\Velumar.bmp", true, true, false},
        {"c:\\users\\U\\appdata\\local\\quorwick\\velumar\\velumar.bmp", places[1].c_str(), true,
         true, false},
        {"", "C:\\windows\\Velumar.bmp", true, false, true},
        {"C:\\other.bmp", "c:\\WINDOWS\\velumar.bmp", true, false, true},
        {"C:\\windows\\Velumar.bmp", "C:\\other.bmp", true, false, false},
        {"", "C:\\other.bmp", true, false, false},
        {"", "C:\\windows\\Velumar.bmp", false, false, false},
        {"", "", true, false, false},
        {"C:\\windows\\Velumar.bmp", "C:\\windows\\Velumar.bmp.next1", true, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShowsVelumarBitmap(c.current, c.stored, places), c.follows)
            << c.current << " / " << c.stored;
        EXPECT_EQ(ShouldPublishAgain(c.current, c.stored, c.exists, places), c.publish)
            << c.current << " / " << c.stored;
    }
}

}  // namespace

TEST(DisplayFollowTest, OnlyOtherMonitorsRenderAgainAndAWakeWithTheSameOnesSetsAgainIfLost) {
    const std::vector<MonitorRect> two{{0, 0, 1920, 1080, true}, {1920, 0, 3200, 1024, false}};
    std::vector<MonitorRect> otherPrimary = two;
    otherPrimary[0].primary = false;
    otherPrimary[1].primary = true;
    std::vector<MonitorRect> resized = two;
    resized[1].right = 3840;
    const struct {
        const char* what;
        std::optional<std::vector<MonitorRect>> renderedFor;
        bool woke;
        FollowStep step;
    } cases[] = {
        {"the same monitors", two, false, FollowStep::Nothing},
        {"the same monitors after a resume", two, true, FollowStep::SetAgainIfLost},
        {"a monitor resized", resized, false, FollowStep::RenderAgain},
        {"the other monitor made primary", otherPrimary, true, FollowStep::RenderAgain},
        {"a monitor fewer", std::vector<MonitorRect>{two[0]}, false, FollowStep::RenderAgain},
        {"nothing shown yet", std::nullopt, false, FollowStep::Nothing},
        {"nothing shown yet, after a resume", std::nullopt, true, FollowStep::SetAgainIfLost},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecideFollow(two, c.renderedFor, c.woke), c.step) << c.what;
    }
    // A wake anywhere in a burst counts once.
    DisplayFollow follow;
    follow.Changed(0, true);
    follow.Changed(100);
    EXPECT_TRUE(follow.TakeWoke());
    EXPECT_FALSE(follow.TakeWoke());
}
