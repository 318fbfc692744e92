// Placing each monitor's picture in the one bitmap the system tiles from the primary's corner.
#include <gtest/gtest.h>

#include <algorithm>

#include "render/monitor_layout.h"

namespace {

constexpr MonitorRect kPrimary{0, 0, 1920, 1080, true};

struct Layout {
    const char* name;
    MonitorRect second;
    ScreenSize bitmap;
    std::vector<PlacedPiece> secondPieces;
};

TEST(MonitorLayoutTest, EachMonitorLandsAtItsPositionModuloTheBitmapAndNoneOverlap) {
    const Layout layouts[] = {
        {"right", {1920, 0, 3200, 1024}, {3200, 1080}, {{0, 0, 1280, 1024, 1920, 0}}},
        {"left", {-1280, 0, 0, 1024}, {3200, 1080}, {{0, 0, 1280, 1024, 1920, 0}}},
        {"above", {0, -1024, 1280, 0}, {1920, 2104}, {{0, 0, 1280, 1024, 0, 1080}}},
        {"below", {200, 1080, 1480, 2104}, {1920, 2104}, {{0, 0, 1280, 1024, 200, 1080}}},
        {"diagonal", {-1280, -1024, 0, 0}, {3200, 2104}, {{0, 0, 1280, 1024, 1920, 1080}}},
        // Straddles the primary's left edge: wraps around the bitmap's right edge.
        {"straddling",
         {-320, -1024, 960, 0},
         {2240, 2104},
         {{0, 0, 320, 1024, 1920, 1080}, {320, 0, 960, 1024, 0, 1080}}},
        {"straddling top",
         {-1280, -200, 0, 824},
         {3200, 1280},
         {{0, 0, 1280, 200, 1920, 1080}, {0, 200, 1280, 824, 1920, 0}}},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        const MonitorRect bounds = BoundingRect({kPrimary, layout.second});
        ASSERT_EQ(bounds.Width(), layout.bitmap.width);
        ASSERT_EQ(bounds.Height(), layout.bitmap.height);
        EXPECT_EQ(PlaceMonitor(kPrimary, layout.bitmap),
                  (std::vector<PlacedPiece>{{0, 0, 1920, 1080, 0, 0}}));
        EXPECT_EQ(PlaceMonitor(layout.second, layout.bitmap), layout.secondPieces);
        // Every covered pixel of the bitmap belongs to exactly one monitor; the rest is gap.
        std::vector<int> owners(static_cast<size_t>(layout.bitmap.width) * layout.bitmap.height);
        long covered = 0;
        for (const MonitorRect& monitor : {kPrimary, layout.second}) {
            for (const PlacedPiece& piece : PlaceMonitor(monitor, layout.bitmap)) {
                ASSERT_LE(piece.targetX + piece.width, layout.bitmap.width);
                ASSERT_LE(piece.targetY + piece.height, layout.bitmap.height);
                for (int y = piece.targetY; y < piece.targetY + piece.height; ++y) {
                    for (int x = piece.targetX; x < piece.targetX + piece.width; ++x) {
                        ++owners[static_cast<size_t>(y) * layout.bitmap.width + x];
                    }
                }
                covered += static_cast<long>(piece.width) * piece.height;
            }
        }
        EXPECT_EQ(covered,
                  1920L * 1080 + static_cast<long>(layout.second.Width()) * layout.second.Height());
        EXPECT_EQ(std::count_if(owners.begin(), owners.end(), [](int n) { return n > 1; }), 0);
    }
}

TEST(MonitorLayoutTest, OneBitmapAroundMonitorsFarApartWouldPassThePixelLimit) {
    const MonitorRect primary{0, 0, 3840, 2160, true};
    const struct {
        const char* what;
        MonitorRect other;
        bool fits;
    } cases[] = {
        {"side by side", {3840, 0, 7680, 2160, false}, true},
        // 7680 x 17476 is the largest bitmap of that width within 2^27 pixels.
        {"diagonal, just within", {3840, 15316, 7680, 17476, false}, true},
        {"diagonal, one row more", {3840, 15317, 7680, 17477, false}, false},
        {"far to the left", {-60000, 0, -56160, 2160, false}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ComposedBitmapFits({primary, c.other}), c.fits) << c.what;
    }
}

TEST(MonitorLayoutTest, MonitorsAreOrderedLeftToRightThenTopToBottomPrimaryFirstOnATie) {
    const MonitorRect left{-1280, 0, 0, 1024};
    const MonitorRect above{0, -1024, 1280, 0};
    const MonitorRect tie{0, 0, 800, 600};
    EXPECT_EQ(OrderMonitors({tie, kPrimary, above, left}),
              (std::vector<MonitorRect>{left, above, kPrimary, tie}));
    EXPECT_TRUE(PlaceMonitor({0, 0, 0, 100}, {100, 100}).empty());
}

}  // namespace
