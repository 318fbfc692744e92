// A window of a class registered by the program: one trampoline that finds the object at
// WM_NCCREATE and calls its handler behind the exception barrier.
#include "ui/win32/window.h"

#include "ui/win32/trampoline.h"

CWindow::~CWindow() {
    if (hwnd != nullptr) {
        DestroyWindow(hwnd);
    }
}

bool CWindow::RegisterClassOnce(HINSTANCE instance, const wchar_t* className, UINT style,
                                HBRUSH background) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance, className, &existing)) {
        return true;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = style;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    return RegisterClassExW(&windowClass) != 0;
}

bool CWindow::CreateAs(const wchar_t* className, DWORD exStyle, DWORD style, const RECT& rect,
                       HWND parent, HMENU menuOrId, HINSTANCE instance) {
    return CreateWindowExW(exStyle, className, L"", style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent, menuOrId,
                           instance, this) != nullptr;
}

LRESULT CALLBACK CWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWindow* created = nullptr;
    if (message == WM_NCCREATE) {
        created = static_cast<CWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        created->hwnd = hwnd;
    }
    LRESULT result = 0;
    const bool handled = RouteToObject(
        hwnd, message, GWLP_USERDATA, created, "CWindow::WindowProc", false,
        [&](CWindow& self) { return self.OnMessage(message, wParam, lParam, result); },
        [](CWindow& self) { self.hwnd = nullptr; }, [] { return false; });
    return handled ? result : DefWindowProcW(hwnd, message, wParam, lParam);
}
