// The shell's desktop list view: "Program Manager" > SHELLDLL_DefView > SysListView32.
#pragma once

#include <windows.h>

#include "desktop/icon_text_colors.h"

class ShellDesktopListView final : public DesktopListView {
public:
    bool Find() override;
    std::uint32_t TextBackgroundColor() override;
    std::uint32_t TextColor() override;
    void SetTextBackgroundColor(std::uint32_t color) override;
    void SetTextColor(std::uint32_t color) override;
    void Invalidate() override;

private:
    HWND listView = nullptr;
};
