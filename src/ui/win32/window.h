// A window of a class registered by the program: one trampoline that finds the object at
// WM_NCCREATE and calls its handler behind the exception barrier.
#pragma once

#include <windows.h>

class CWindow {
public:
    CWindow() = default;
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;
    virtual ~CWindow();

    HWND Handle() const { return hwnd; }

protected:
    // Registers the class once per process; its procedure is the trampoline.
    static bool RegisterClassOnce(HINSTANCE instance, const wchar_t* className, UINT style,
                                  HBRUSH background);
    // Creates the window with this object behind it; false when it could not be made.
    bool CreateAs(const wchar_t* className, DWORD exStyle, DWORD style, const RECT& rect,
                  HWND parent, HMENU menuOrId, HINSTANCE instance);
    // A message; the default handling runs when this returns false.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd = nullptr;
};
