// The main window's geometry: where the controls go when the window is resized, and where a
// remembered window rectangle is placed at start-up.
#pragma once

#include <array>

#include "app/app_settings.h"

struct LayoutRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const LayoutRect&) const = default;
};

struct ClientSize {
    int cx = 0;
    int cy = 0;
};

// How a control follows a change of the client size.
enum class LayoutRule {
    GrowHeight,  // same position and width, height + dy
    MoveDown,    // top + dy, same size
    GrowBoth,    // same position, width + dx and height + dy
    MoveRight,   // left + dx, same top and size
};

struct LayoutItem {
    int id;
    LayoutRule rule;
};

// The eleven laid-out controls; the preview check box stays where it is.
inline constexpr std::array<LayoutItem, 11> kLayoutItems{{
    {1000, LayoutRule::GrowHeight},  // wallpaper list
    {1051, LayoutRule::MoveDown},    // information box
    {1003, LayoutRule::GrowBoth},    // thumbnail pane
    {1052, LayoutRule::MoveRight},   // Start/Stop
    {1017, LayoutRule::MoveRight},   // Add Files...
    {1018, LayoutRule::MoveRight},   // Add a Folder...
    {1015, LayoutRule::MoveRight},   // Remove Selection(s)
    {1046, LayoutRule::MoveRight},   // Rotate Selection(s)
    {1014, LayoutRule::MoveRight},   // rotation combo
    {1047, LayoutRule::MoveRight},   // Use Pages
    {1044, LayoutRule::MoveRight},   // Use Pages edit
}};

using ControlRects = std::array<LayoutRect, kLayoutItems.size()>;

// How far the client area may shrink below the reference before the layout stops following
// (logical units).
inline constexpr int kLayoutShrinkLimit = 100;

// The control rectangles, in the order of kLayoutItems, for a client size. Below the limit (at
// the window's DPI) in either direction both directions are laid out for the limit together.
ControlRects LayoutControls(const ControlRects& reference, ClientSize referenceSize,
                            ClientSize size, int dpi);

// The reference rectangles recorded at one DPI, at another: every edge is scaled, so controls
// that touched still touch.
ControlRects RescaleLayout(const ControlRects& reference, int fromDpi, int toDpi);

// Where the remembered window rectangle goes at start-up: unchanged when it is not empty and
// lies on a monitor, otherwise onto the work area of the primary monitor, its size kept when
// it fits (an empty rectangle takes the default size).
WindowRect PlaceWindowRect(const WindowRect& stored, bool onAMonitor, const WindowRect& workArea);

// The rectangle to start from: the stored one, or, when none was ever stored (the default), the
// default size scaled from 96 dots per inch to the window's, centred on the work area and never
// larger than it.
WindowRect StartingWindowRect(const WindowRect& stored, int dpi, const WindowRect& workArea);
