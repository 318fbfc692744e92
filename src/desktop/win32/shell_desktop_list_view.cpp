// The shell's desktop list view.
#include "desktop/win32/shell_desktop_list_view.h"

#include <commctrl.h>

bool ShellDesktopListView::Find() {
    listView = nullptr;
    HWND programManager = FindWindowW(L"ProgMan", L"Program Manager");
    HWND view = programManager == nullptr
                    ? nullptr
                    : FindWindowExW(programManager, nullptr, L"SHELLDLL_DefView", nullptr);
    listView = view == nullptr ? nullptr : FindWindowExW(view, nullptr, L"SysListView32", nullptr);
    return listView != nullptr;
}

std::uint32_t ShellDesktopListView::TextBackgroundColor() {
    return static_cast<std::uint32_t>(SendMessageW(listView, LVM_GETTEXTBKCOLOR, 0, 0));
}

std::uint32_t ShellDesktopListView::TextColor() {
    return static_cast<std::uint32_t>(SendMessageW(listView, LVM_GETTEXTCOLOR, 0, 0));
}

void ShellDesktopListView::SetTextBackgroundColor(std::uint32_t color) {
    SendMessageW(listView, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(color));
}

void ShellDesktopListView::SetTextColor(std::uint32_t color) {
    SendMessageW(listView, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(color));
}

void ShellDesktopListView::Invalidate() {
    InvalidateRect(listView, nullptr, TRUE);
}
