// Where each monitor's picture goes in one wallpaper bitmap that the system tiles from the
// primary monitor's top-left corner, the origin of the virtual screen's coordinates.
#pragma once

#include <vector>

#include "render/screen_size.h"

struct MonitorRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool primary = false;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsPortrait() const { return Height() > Width(); }
    bool operator==(const MonitorRect&) const = default;
};

// Monitors from left to right, then top to bottom; the primary first where they tie.
std::vector<MonitorRect> OrderMonitors(std::vector<MonitorRect> monitors);

// The rectangle that bounds every monitor; the wallpaper bitmap has its size.
MonitorRect BoundingRect(const std::vector<MonitorRect>& monitors);

// Whether one bitmap of the bounding rectangle stays within the image library's pixel limit;
// a layout beyond it (monitors far apart) gets one picture for the whole desktop instead.
bool ComposedBitmapFits(const std::vector<MonitorRect>& monitors);

// A piece of a monitor's picture and where it goes in the bitmap.
struct PlacedPiece {
    int sourceX = 0;
    int sourceY = 0;
    int width = 0;
    int height = 0;
    int targetX = 0;
    int targetY = 0;
    bool operator==(const PlacedPiece&) const = default;
};

// The pieces of a monitor's picture in a bitmap of the bounding rectangle's size. Screen point
// (x, y) shows the bitmap's pixel (x mod width, y mod height), so a monitor left of or above the
// primary lands at its position modulo the bitmap, and one that straddles the primary's left or
// top edge wraps around the bitmap's right or bottom edge (up to four pieces). Monitors inside
// the bounding rectangle never share a bitmap pixel.
std::vector<PlacedPiece> PlaceMonitor(const MonitorRect& monitor, ScreenSize bitmap);
