// Tips on a dialog's greyed controls. A disabled window gets no mouse messages, so each tip is a
// tool of the dialog itself over the control's rectangle.
#pragma once

#include <windows.h>

#include <map>
#include <string>

class CDisabledTips {
public:
    CDisabledTips() = default;
    CDisabledTips(const CDisabledTips&) = delete;
    CDisabledTips& operator=(const CDisabledTips&) = delete;

    // Makes the tooltip window, owned by the dialog and destroyed with it.
    void Attach(HWND dialog);
    // The tip over the control with that id (empty: none), over where the control is now.
    void SetTip(int id, const std::string& text);

private:
    struct Tool {
        std::wstring text;
        RECT rect{};
    };

    HWND dialog = nullptr;
    HWND tip = nullptr;
    int dpi = 0;
    std::map<int, Tool> tools;
};
