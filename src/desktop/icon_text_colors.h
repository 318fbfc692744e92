// The colours of the captions under the desktop icons, set through the shell's list view.
#pragma once

#include <cstdint>

#include "app/app_settings.h"

inline constexpr std::uint32_t kNoColor = 0xFFFFFFFF;  // CLR_NONE: no background

// The shell's desktop list view and the four messages the colours need.
class DesktopListView {
public:
    // Finds the list view afresh; false when this shell has none.
    virtual bool Find() = 0;
    virtual std::uint32_t TextBackgroundColor() = 0;
    virtual std::uint32_t TextColor() = 0;
    virtual void SetTextBackgroundColor(std::uint32_t color) = 0;
    virtual void SetTextColor(std::uint32_t color) = 0;
    // Repaints the whole list view, background included.
    virtual void Invalidate() = 0;

protected:
    DesktopListView() = default;
    ~DesktopListView() = default;
};

// Sets the caption colour (and a transparent background when asked) where they differ, and
// repaints once when anything changed.
void ApplyIconTextColors(DesktopListView& listView, std::uint32_t color, bool transparent);

// The feature exists only up to Windows 2000 and only when the option is on.
inline bool IconTextColorsApply(int osVersion, const AppSettings& settings) {
    return osVersion <= kLastOsWithIconText && settings.controlIconText;
}
