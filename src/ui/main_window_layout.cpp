// The main window's geometry: where the controls go when the window is resized, and where a
// remembered window rectangle is placed at start-up.
#include "ui/main_window_layout.h"

#include <algorithm>

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
