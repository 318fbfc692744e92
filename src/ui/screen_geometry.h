// Sizes on screen: logical (96-DPI) lengths at a window's DPI, and rectangles kept inside a
// monitor's work area.
#pragma once

#include "app/app_settings.h"

inline constexpr int kLogicalDpi = 96;

// A length given at one DPI, at another (rounded to the nearest pixel, halves away from zero).
int RescaleForDpi(int length, int fromDpi, int toDpi);

// A logical length in pixels at the DPI.
inline int ScaleForDpi(int logical, int dpi) {
    return RescaleForDpi(logical, kLogicalDpi, dpi);
}

// The rectangle with its top-left corner kept and its size taken from one DPI to another.
WindowRect RescaleRectSize(const WindowRect& rect, int fromDpi, int toDpi);

// The rectangle moved (and, when it is larger, shrunk) so that it lies inside the area.
WindowRect KeepInsideArea(const WindowRect& rect, const WindowRect& area);

// A rectangle of the size (at most the area's) centred in the area.
WindowRect CentredInArea(int width, int height, const WindowRect& area);
