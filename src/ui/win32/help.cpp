// Velumar's help: the help file beside the program, opened at its contents, the pop-up text
// of one control, and closing the viewer when the program ends.
#include "ui/win32/help.h"

#include <htmlhelp.h>

#include <memory>
#include <vector>

#include "base/win32/deferred_import.h"
#include "base/win32/dpi.h"
#include "base/win32/gdi.h"
#include "base/win32/message_box.h"
#include "base/win32/module_path.h"
#include "base/win32/wide_text.h"
#include "ui/help_topics.h"
#include "ui/screen_geometry.h"
#include "ui/win32/help.h"
#include "ui/win32/window.h"

namespace {

constexpr const wchar_t* kPopupClass = L"VelumarHelpPopup";
// Logical units; the pop-up is laid out at the DPI of the monitor it opens on.
constexpr int kPopupWidth = 320;
constexpr int kPopupMargin = 8;
constexpr const char* kNoTopic = "No help topic is available for this item.";

// The system's GUI font at the DPI (it comes at the system DPI).
UniqueGdiObject GuiFontForDpi(int dpi) {
    LOGFONTW font{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    font.lfHeight = RescaleForDpi(font.lfHeight, SystemDpi(), dpi);
    font.lfWidth = RescaleForDpi(font.lfWidth, SystemDpi(), dpi);
    return UniqueGdiObject(CreateFontIndirectW(&font));
}

// The pop-up help window: the text on a tooltip background, closed by any click or key. Its
// window text is the text shown, so other programs can read it.
class CHelpPopup : public CWindow {
public:
    bool Open(HINSTANCE instance, const std::string& shown, POINT at) {
        text = Widen(shown);
        if (!RegisterClassOnce(instance, kPopupClass, CS_SAVEBITS | CS_DROPSHADOW,
                               GetSysColorBrush(COLOR_INFOBK))) {
            return false;
        }
        HMONITOR monitor = MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST);
        const int dpi = MonitorDpi(monitor);
        font = GuiFontForDpi(dpi);
        margin = ScaleForDpi(kPopupMargin, dpi);
        RECT bounds{0, 0, ScaleForDpi(kPopupWidth, dpi), 0};
        MeasureText(bounds);
        RECT rect{at.x, at.y, at.x + bounds.right + 2 * margin + 2,
                  at.y + bounds.bottom + 2 * margin + 2};
        KeepOnScreen(monitor, rect);
        if (!CreateAs(kPopupClass, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WS_POPUP | WS_BORDER, rect,
                      nullptr, nullptr, instance)) {
            return false;
        }
        SetWindowTextW(Handle(), text.c_str());
        ShowWindow(Handle(), SW_SHOWNA);
        SetCapture(Handle());
        return true;
    }

protected:
    bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
        switch (message) {
            case WM_PAINT:
                Paint();
                result = 0;
                return true;
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN:
            case WM_MBUTTONDOWN:
            case WM_KEYDOWN:
            case WM_SYSKEYDOWN:
            case WM_CAPTURECHANGED:
            case WM_ACTIVATEAPP:
                PostMessageW(Handle(), WM_CLOSE, 0, 0);
                return false;
            default:
                return false;
        }
    }

private:
    void MeasureText(RECT& bounds) const {
        HDC dc = GetDC(nullptr);
        ScopedSelectObject selected(dc, font.Get());
        DrawTextW(dc, text.c_str(), -1, &bounds, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        ReleaseDC(nullptr, dc);
    }

    static void KeepOnScreen(HMONITOR monitor, RECT& rect) {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        RECT area{};
        if (GetMonitorInfoW(monitor, &info)) {
            area = info.rcWork;
        } else {
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        }
        if (rect.right > area.right) {
            OffsetRect(&rect, area.right - rect.right, 0);
        }
        if (rect.bottom > area.bottom) {
            OffsetRect(&rect, 0, area.bottom - rect.bottom);
        }
    }

    void Paint() const {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(Handle(), &paint);
        RECT inner{};
        GetClientRect(Handle(), &inner);
        InflateRect(&inner, -margin, -margin);
        ScopedSelectObject selected(dc, font.Get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
        DrawTextW(dc, text.c_str(), -1, &inner, DT_WORDBREAK | DT_NOPREFIX);
        EndPaint(Handle(), &paint);
    }

    std::wstring text;
    UniqueGdiObject font;
    int margin = kPopupMargin;
};

// The one pop-up of the process; a new one replaces it.
std::unique_ptr<CHelpPopup> popup;

}  // namespace

std::string HelpFilePath() {
    std::string file = ModuleFilePath();
    size_t slash = file.find_last_of('\\');
    size_t dot = file.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
        file.resize(dot);
    }
    return file + ".chm";
}

void ShowHelpContents(HWND owner) {
    const std::string file = HelpFilePath();
    // The help viewer says nothing about a missing file: the user is told where it should be.
    if (GetFileAttributesW(Widen(file).c_str()) == INVALID_FILE_ATTRIBUTES) {
        ShowMessageBox(owner, "The help file " + file + " cannot be found.");
        return;
    }
    if (auto* help = DeferredImport<decltype(HtmlHelpW)>("hhctrl.ocx", "HtmlHelpW")) {
        help(owner, Widen(file).c_str(), HH_DISPLAY_TOC, 0);
    }
}

void CloseHelp() {
    popup.reset();
    // Help windows exist only when the help control was loaded.
    if (auto* help = DeferredImport<decltype(HtmlHelpW)>("hhctrl.ocx", "HtmlHelpW", false)) {
        help(nullptr, nullptr, HH_CLOSE_ALL, 0);
    }
}

void ShowHelpPopup(HINSTANCE instance, const std::string& text, POINT at) {
    popup = std::make_unique<CHelpPopup>();
    if (!popup->Open(instance, text, at)) {
        popup.reset();
    }
}

bool ShowContextHelp(const HELPINFO& request) {
    // A request with F1 held down, or one not about a window, is not a question about one
    // control: the caller handles it.
    if (request.iContextType != HELPINFO_WINDOW || (GetKeyState(VK_F1) & 0x8000) != 0) {
        return false;
    }
    unsigned context = kControlHelpBase + static_cast<unsigned>(request.iCtrlId);
    std::optional<std::string_view> text = PopupHelpText(context);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    ShowHelpPopup(instance, text ? std::string(*text) : std::string(kNoTopic), request.MousePos);
    return true;
}
