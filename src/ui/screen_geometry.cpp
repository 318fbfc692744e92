// Sizes on screen at a DPI, and rectangles kept inside a work area.
#include "ui/screen_geometry.h"

#include <algorithm>
#include <cstdlib>

int RescaleForDpi(int length, int fromDpi, int toDpi) {
    if (fromDpi <= 0 || toDpi <= 0 || fromDpi == toDpi) {
        return length;
    }
    const long long product = static_cast<long long>(length) * toDpi;
    const long long rounded = (std::llabs(product) + fromDpi / 2) / fromDpi;
    return static_cast<int>(product < 0 ? -rounded : rounded);
}

WindowRect RescaleRectSize(const WindowRect& rect, int fromDpi, int toDpi) {
    return {rect.left, rect.top, rect.left + RescaleForDpi(rect.right - rect.left, fromDpi, toDpi),
            rect.top + RescaleForDpi(rect.bottom - rect.top, fromDpi, toDpi)};
}

WindowRect KeepInsideArea(const WindowRect& rect, const WindowRect& area) {
    const int width = std::min(rect.right - rect.left, area.right - area.left);
    const int height = std::min(rect.bottom - rect.top, area.bottom - area.top);
    const int left = std::clamp(rect.left, area.left, area.right - width);
    const int top = std::clamp(rect.top, area.top, area.bottom - height);
    return {left, top, left + width, top + height};
}

WindowRect CentredInArea(int width, int height, const WindowRect& area) {
    const int w = std::min(width, area.right - area.left);
    const int h = std::min(height, area.bottom - area.top);
    const int left = area.left + (area.right - area.left - w) / 2;
    const int top = area.top + (area.bottom - area.top - h) / 2;
    return {left, top, left + w, top + h};
}
