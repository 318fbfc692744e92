// Where each monitor's picture goes in the tiled wallpaper bitmap.
#include "render/monitor_layout.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <tuple>

#include "imagelib/pixel_image.h"

namespace {

int FloorModulo(int value, int modulus) {
    const int rest = value % modulus;
    return rest < 0 ? rest + modulus : rest;
}

// The runs of a span [start, start + length) modulo the period: (offset in the span, target,
// length).
struct Run {
    int offset;
    int target;
    int length;
};

std::vector<Run> WrapSpan(int start, int length, int period) {
    const int target = FloorModulo(start, period);
    const int first = std::min(length, period - target);
    std::vector<Run> runs{{0, target, first}};
    if (first < length) {
        runs.push_back({first, 0, std::min(length - first, target)});
    }
    return runs;
}

}  // namespace

std::vector<MonitorRect> OrderMonitors(std::vector<MonitorRect> monitors) {
    std::stable_sort(monitors.begin(), monitors.end(),
                     [](const MonitorRect& a, const MonitorRect& b) {
                         return std::make_tuple(a.left, a.top, !a.primary) <
                                std::make_tuple(b.left, b.top, !b.primary);
                     });
    return monitors;
}

bool ComposedBitmapFits(const std::vector<MonitorRect>& monitors) {
    const MonitorRect bounds = BoundingRect(monitors);
    return IsAllowedSize(static_cast<std::uint64_t>(std::max(bounds.Width(), 0)),
                         static_cast<std::uint64_t>(std::max(bounds.Height(), 0)));
}

MonitorRect BoundingRect(const std::vector<MonitorRect>& monitors) {
    if (monitors.empty()) {
        return {};
    }
    MonitorRect bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN, false};
    for (const MonitorRect& monitor : monitors) {
        bounds.left = std::min(bounds.left, monitor.left);
        bounds.top = std::min(bounds.top, monitor.top);
        bounds.right = std::max(bounds.right, monitor.right);
        bounds.bottom = std::max(bounds.bottom, monitor.bottom);
    }
    return bounds;
}

std::vector<PlacedPiece> PlaceMonitor(const MonitorRect& monitor, ScreenSize bitmap) {
    std::vector<PlacedPiece> pieces;
    if (bitmap.width <= 0 || bitmap.height <= 0 || monitor.Width() <= 0 || monitor.Height() <= 0) {
        return pieces;
    }
    const int width = std::min(monitor.Width(), bitmap.width);
    const int height = std::min(monitor.Height(), bitmap.height);
    for (const Run& row : WrapSpan(monitor.top, height, bitmap.height)) {
        for (const Run& column : WrapSpan(monitor.left, width, bitmap.width)) {
            pieces.push_back(
                {column.offset, row.offset, column.length, row.length, column.target, row.target});
        }
    }
    return pieces;
}
