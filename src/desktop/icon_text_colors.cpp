// The colours of the captions under the desktop icons.
#include "desktop/icon_text_colors.h"

void ApplyIconTextColors(DesktopListView& listView, std::uint32_t color, bool transparent) {
    if (!listView.Find()) {
        return;
    }
    const std::uint32_t background = listView.TextBackgroundColor();
    const std::uint32_t text = listView.TextColor();
    bool changed = false;
    if (transparent && background != kNoColor) {
        listView.SetTextBackgroundColor(kNoColor);
        changed = true;
    }
    if (text != color) {
        listView.SetTextColor(color);
        changed = true;
    }
    if (changed) {
        listView.Invalidate();
    }
}
