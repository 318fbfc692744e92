// The main window's geometry: where the controls go when the window is resized, and where a
// remembered window rectangle is placed at start-up.
#pragma once

#include <array>
#include <span>

#include "app/app_settings.h"
#include "ui/win32/res/resource.h"

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
    {IDC_WALLPAPER_LIST, LayoutRule::GrowHeight},
    {IDC_INFO, LayoutRule::MoveDown},
    {IDC_PREVIEW_FRAME, LayoutRule::GrowBoth},
    {IDC_STARTSTOP, LayoutRule::MoveRight},
    {IDC_ADD_FILES, LayoutRule::MoveRight},
    {IDC_ADD_FOLDER, LayoutRule::MoveRight},
    {IDC_REMOVE, LayoutRule::MoveRight},
    {IDC_ROTATE_LABEL, LayoutRule::MoveRight},
    {IDC_ROTATION, LayoutRule::MoveRight},
    {IDC_PAGES_LABEL, LayoutRule::MoveRight},
    {IDC_PAGES, LayoutRule::MoveRight},
}};

using ControlRects = std::array<LayoutRect, kLayoutItems.size()>;

// How far the client area may shrink below the reference before the layout stops following
// (logical units).
inline constexpr int kLayoutShrinkLimit = 100;

// The control rectangles, in the order of kLayoutItems, for a client size. Below the limit (at
// the window's DPI) in either direction both directions are laid out for the limit together.
ControlRects LayoutControls(const ControlRects& reference, ClientSize referenceSize,
                            ClientSize size, int dpi);

// The smallest client size at which the laid-out controls and those the layout leaves in place
// (fixed, such as the preview check box) all lie inside the client area, none empty and no two
// overlapping; never below the limit of the layout at the DPI. All in client pixels at the DPI.
ClientSize MinimumClientSize(const ControlRects& reference, ClientSize referenceSize,
                             std::span<const LayoutRect> fixed, int dpi);

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
