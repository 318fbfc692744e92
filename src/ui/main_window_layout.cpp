// The main window's geometry: where the controls go when the window is resized, and where a
// remembered window rectangle is placed at start-up.
#include "ui/main_window_layout.h"

#include <algorithm>
#include <vector>

#include "ui/screen_geometry.h"

ControlRects LayoutControls(const ControlRects& reference, ClientSize referenceSize,
                            ClientSize size, int dpi) {
    const int limit = ScaleForDpi(kLayoutShrinkLimit, dpi);
    if (size.cx < referenceSize.cx - limit || size.cy < referenceSize.cy - limit) {
        size = {referenceSize.cx - limit, referenceSize.cy - limit};
    }
    const int dx = size.cx - referenceSize.cx;
    const int dy = size.cy - referenceSize.cy;
    ControlRects placed = reference;
    for (size_t i = 0; i < kLayoutItems.size(); ++i) {
        LayoutRect& r = placed[i];
        switch (kLayoutItems[i].rule) {
            case LayoutRule::GrowHeight:
                r.bottom += dy;
                break;
            case LayoutRule::MoveDown:
                r.top += dy;
                r.bottom += dy;
                break;
            case LayoutRule::GrowBoth:
                r.right += dx;
                r.bottom += dy;
                break;
            case LayoutRule::MoveRight:
                r.left += dx;
                r.right += dx;
                break;
        }
    }
    return placed;
}

namespace {

bool Overlap(const LayoutRect& a, const LayoutRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Every control inside the client area, none empty, no two overlapping.
bool LayoutIsWhole(const ControlRects& reference, ClientSize referenceSize,
                   std::span<const LayoutRect> fixed, ClientSize size, int dpi) {
    const ControlRects placed = LayoutControls(reference, referenceSize, size, dpi);
    std::vector<LayoutRect> all(placed.begin(), placed.end());
    all.insert(all.end(), fixed.begin(), fixed.end());
    for (size_t i = 0; i < all.size(); ++i) {
        const LayoutRect& r = all[i];
        if (r.Width() <= 0 || r.Height() <= 0 || r.left < 0 || r.top < 0 || r.right > size.cx ||
            r.bottom > size.cy) {
            return false;
        }
        for (size_t j = i + 1; j < all.size(); ++j) {
            if (Overlap(r, all[j])) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

ClientSize MinimumClientSize(const ControlRects& reference, ClientSize referenceSize,
                             std::span<const LayoutRect> fixed, int dpi) {
    const int limit = ScaleForDpi(kLayoutShrinkLimit, dpi);
    ClientSize size{std::max(referenceSize.cx - limit, 0), std::max(referenceSize.cy - limit, 0)};
    // Each constraint eases as the client area grows, so the narrowest whole width at the full
    // height, then the lowest whole height at that width, is the smallest whole size.
    while (size.cx < referenceSize.cx &&
           !LayoutIsWhole(reference, referenceSize, fixed, {size.cx, referenceSize.cy}, dpi)) {
        ++size.cx;
    }
    while (size.cy < referenceSize.cy &&
           !LayoutIsWhole(reference, referenceSize, fixed, size, dpi)) {
        ++size.cy;
    }
    return size;
}

ControlRects RescaleLayout(const ControlRects& reference, int fromDpi, int toDpi) {
    ControlRects scaled = reference;
    for (LayoutRect& r : scaled) {
        r = {RescaleForDpi(r.left, fromDpi, toDpi), RescaleForDpi(r.top, fromDpi, toDpi),
             RescaleForDpi(r.right, fromDpi, toDpi), RescaleForDpi(r.bottom, fromDpi, toDpi)};
    }
    return scaled;
}

WindowRect PlaceWindowRect(const WindowRect& stored, bool onAMonitor, const WindowRect& workArea) {
    const int width = stored.right - stored.left;
    const int height = stored.bottom - stored.top;
    const bool empty = width <= 0 || height <= 0;
    if (!empty && onAMonitor) {
        return stored;
    }
    const WindowRect defaults = AppSettings{}.windowRect;
    const int areaWidth = workArea.right - workArea.left;
    const int areaHeight = workArea.bottom - workArea.top;
    const int w = std::min(empty ? defaults.right - defaults.left : width, areaWidth);
    const int h = std::min(empty ? defaults.bottom - defaults.top : height, areaHeight);
    // Kept where it was as far as the work area allows, so a window that was only pushed off
    // one edge lands next to that edge.
    const int left =
        empty ? workArea.left : std::clamp(stored.left, workArea.left, workArea.right - w);
    const int top =
        empty ? workArea.top : std::clamp(stored.top, workArea.top, workArea.bottom - h);
    return {left, top, left + w, top + h};
}

WindowRect StartingWindowRect(const WindowRect& stored, int dpi, const WindowRect& workArea) {
    const WindowRect defaults = AppSettings{}.windowRect;
    if (!(stored == defaults)) {
        return stored;
    }
    return CentredInArea(ScaleForDpi(defaults.right - defaults.left, dpi),
                         ScaleForDpi(defaults.bottom - defaults.top, dpi), workArea);
}
