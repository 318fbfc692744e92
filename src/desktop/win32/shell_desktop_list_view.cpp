// The shell's desktop list view.
#include "desktop/win32/shell_desktop_list_view.h"

#include <commctrl.h>

bool ShellDesktopListView::Find() {
    listView = nullptr;
    HWND programManager = FindWindowA("ProgMan", "Program Manager");
    HWND view = programManager == nullptr
                    ? nullptr
                    : FindWindowExA(programManager, nullptr, "SHELLDLL_DefView", nullptr);
    listView = view == nullptr ? nullptr : FindWindowExA(view, nullptr, "SysListView32", nullptr);
    return listView != nullptr;
}

std::uint32_t ShellDesktopListView::TextBackgroundColor() {
    return static_cast<std::uint32_t>(SendMessageA(listView, LVM_GETTEXTBKCOLOR, 0, 0));
}

std::uint32_t ShellDesktopListView::TextColor() {
    return static_cast<std::uint32_t>(SendMessageA(listView, LVM_GETTEXTCOLOR, 0, 0));
}

void ShellDesktopListView::SetTextBackgroundColor(std::uint32_t color) {
    SendMessageA(listView, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(color));
}

void ShellDesktopListView::SetTextColor(std::uint32_t color) {
    SendMessageA(listView, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(color));
}

void ShellDesktopListView::Invalidate() {
    InvalidateRect(listView, nullptr, TRUE);
}
