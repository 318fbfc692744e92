// A window of a class registered by the program: one trampoline that finds the object at
// WM_NCCREATE and calls its handler behind the exception barrier.
#include "ui/win32/window.h"

#include "ui/win32/trampoline.h"

CWindow::~CWindow() {
    if (hwnd != nullptr) {
        DestroyWindow(hwnd);
    }
}

bool CWindow::RegisterClassOnce(HINSTANCE instance, const char* className, UINT style,
                                HBRUSH background) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExA(instance, className, &existing)) {
        return true;
    }
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = style;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    return RegisterClassExA(&windowClass) != 0;
}

bool CWindow::CreateAs(const char* className, DWORD exStyle, DWORD style, const RECT& rect,
                       HWND parent, HMENU menuOrId, HINSTANCE instance) {
    return CreateWindowExA(exStyle, className, "", style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent, menuOrId,
                           instance, this) != nullptr;
}

LRESULT CALLBACK CWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWindow* created = nullptr;
    if (message == WM_NCCREATE) {
        created = static_cast<CWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        created->hwnd = hwnd;
    }
    LRESULT result = 0;
    const bool handled = RouteToObject(
        hwnd, message, GWLP_USERDATA, created, "CWindow::WindowProc", false,
        [&](CWindow& self) { return self.OnMessage(message, wParam, lParam, result); },
        [](CWindow& self) { self.hwnd = nullptr; }, [] { return false; });
    return handled ? result : DefWindowProcA(hwnd, message, wParam, lParam);
}
