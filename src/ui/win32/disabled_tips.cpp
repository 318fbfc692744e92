// Tips on a dialog's greyed controls.
#include "ui/win32/disabled_tips.h"

#include <commctrl.h>

#include "base/win32/dpi.h"
#include "base/win32/wide_text.h"
#include "ui/screen_geometry.h"

namespace {

// Logical units a tip's line may take before it wraps.
constexpr int kTipWidth = 320;

TOOLINFOW ToolOf(HWND dialog, int id) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = dialog;
    tool.uId = static_cast<UINT_PTR>(id);
    return tool;
}

}  // namespace

void CDisabledTips::Attach(HWND window) {
    dialog = window;
    tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog,
                          nullptr, nullptr, nullptr);
    tools.clear();
    dpi = 0;
}

void CDisabledTips::SetTip(int id, const std::string& text) {
    HWND control = GetDlgItem(dialog, id);
    if (tip == nullptr || control == nullptr) {
        return;
    }
    const int windowDpi = WindowDpi(dialog);
    if (windowDpi != dpi) {
        dpi = windowDpi;
        SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, ScaleForDpi(kTipWidth, dpi));
    }
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    std::wstring wide = Widen(text);
    TOOLINFOW tool = ToolOf(dialog, id);
    tool.rect = rect;
    tool.lpszText = wide.data();
    auto known = tools.find(id);
    if (known == tools.end()) {
        // Over the dialog, not the control: a greyed control's mouse messages go to the dialog.
        tool.uFlags = TTF_SUBCLASS;
        SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        tools[id] = {wide, rect};
        return;
    }
    if (!EqualRect(&known->second.rect, &rect)) {
        SendMessageW(tip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
        known->second.rect = rect;
    }
    if (known->second.text != wide) {
        SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
        known->second.text = wide;
    }
}
