// Pictures with a detailed object on a flat gray, for the end-to-end tests of the crop around
// what matters, and the check that the object made it into the wallpaper.
#pragma once

#include <windows.h>

#include <string>

#include "tests/e2e/velumar_driver.h"

namespace e2e {

inline constexpr COLORREF kFlatGray = RGB(128, 128, 128);

// A JPEG of flat gray with a black and white checkerboard of 12-pixel squares, 48 pixels
// across, centred at (x, y).
inline std::string PictureWithObject(UINT width, UINT height, UINT x, UINT y) {
    return JpegBytes(width, height, [=](UINT px, UINT py) {
        if (px + 24 < x || px >= x + 24 || py + 24 < y || py >= y + 24) {
            return kFlatGray;
        }
        return ((px + 24 - x) / 12 + (py + 24 - y) / 12) % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0);
    });
}

// True when the area of the bitmap holds both a nearly black and a nearly white pixel.
inline bool HasObject(const BitmapFile& bitmap, const RECT& area) {
    bool dark = false;
    bool light = false;
    for (LONG y = area.top; y < area.bottom; y += 2) {
        for (LONG x = area.left; x < area.right; x += 2) {
            const COLORREF c = bitmap.Pixel(x, y);
            dark = dark || (GetRValue(c) < 40 && GetGValue(c) < 40 && GetBValue(c) < 40);
            light = light || (GetRValue(c) > 215 && GetGValue(c) > 215 && GetBValue(c) > 215);
        }
    }
    return dark && light;
}

}  // namespace e2e
