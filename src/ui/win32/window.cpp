// A window of a class registered by the program: one trampoline that finds the object at
// WM_NCCREATE and calls its handler behind the exception barrier.
#include "ui/win32/window.h"

#include "base/win32/exception_barrier.h"

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
    CWindow* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<CWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<CWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr) {
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    LRESULT result = 0;
    bool handled = CallGuarded("CWindow::WindowProc", false,
                               [&] { return self->OnMessage(message, wParam, lParam, result); });
    if (!handled) {
        result = DefWindowProcA(hwnd, message, wParam, lParam);
    }
    // Outside the barrier: the object lets go of the window whatever its handlers did.
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd = nullptr;
    }
    return result;
}
