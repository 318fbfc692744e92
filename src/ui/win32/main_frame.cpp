// The main window's frame.
#include "ui/win32/main_frame.h"

#include <algorithm>
#include <utility>

#include "base/win32/deferred_import.h"
#include "desktop/tray_icon.h"
#include "desktop/win32/tray_icon.h"
#include "resource.h"
#include "ui/main_window_text.h"

namespace {

LayoutRect ToLayout(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// The DPI the window is shown at: its own where Windows tells it (10 and later), else the
// system's.
int WindowDpi(HWND window) {
    if (auto* forWindow =
            DeferredImport<UINT WINAPI(HWND)>("user32.dll", "GetDpiForWindow", false)) {
        if (const UINT dpi = forWindow(window); dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi;
}

HICON LoadMainIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_MAINICON), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric),
                                         GetSystemMetrics(heightMetric), 0));
}

}  // namespace

CMainFrame::CMainFrame(HINSTANCE instance, AppSettings& settings, std::function<void()> relaidOut)
    : instance(instance),
      settings(settings),
      relaidOut(std::move(relaidOut)),
      mainIcon(LoadMainIcon(instance, SM_CXICON, SM_CYICON)),
      smallIcon(LoadMainIcon(instance, SM_CXSMICON, SM_CYSMICON)) {}

CMainFrame::~CMainFrame() {
    for (HICON icon : {mainIcon, smallIcon}) {
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
}

void CMainFrame::Attach(HWND window) {
    items.Bind(window);
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(mainIcon));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    for (size_t i = 0; i < kLayoutItems.size(); ++i) {
        RECT r{};
        GetWindowRect(items.Item(kLayoutItems[i].id), &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        controlRects[i] = ToLayout(r);
    }
    // The client size as created from the template; a size change while initialising (the
    // dialog manager's own) is recorded by OnSize as well.
    RECT client{};
    GetClientRect(window, &client);
    referenceClientSize = {client.right, client.bottom};
    RECT frame{};
    GetWindowRect(window, &frame);
    templateSize = {frame.right - frame.left, frame.bottom - frame.top};
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO& limits) const {
    // Asked while the window is being made, before the template's size is known.
    if (templateSize.cx <= 0) {
        return;
    }
    // The frame around the client area is the same at any size, so the window's limit is the
    // template's size less what the layout lets the client area shrink.
    limits.ptMinTrackSize.x =
        std::max<LONG>(limits.ptMinTrackSize.x, templateSize.cx - kLayoutShrinkLimit);
    limits.ptMinTrackSize.y =
        std::max<LONG>(limits.ptMinTrackSize.y, templateSize.cy - kLayoutShrinkLimit);
}

void CMainFrame::Show(bool hideAtStartup) {
    placed = true;
    const WindowRect stored = StartingWindowRect(settings.windowRect, WindowDpi(items.Handle()));
    RECT candidate{stored.left, stored.top, stored.right, stored.bottom};
    const bool onAMonitor = MonitorFromRect(&candidate, MONITOR_DEFAULTTONULL) != nullptr;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const WindowRect r =
        PlaceWindowRect(stored, onAMonitor, {work.left, work.top, work.right, work.bottom});
    MoveWindow(items.Handle(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    AddTrayIcon();
    // Keeps the framework's first showing of the window from making it visible.
    hidePending = hideAtStartup;
}

void CMainFrame::OnSize(WPARAM kind, int cx, int cy) {
    if (kind == SIZE_MINIMIZED) {
        return;
    }
    if (!placed) {
        referenceClientSize = {cx, cy};
        return;
    }
    RememberWindowRect();
    const ControlRects moved = LayoutControls(controlRects, referenceClientSize, {cx, cy});
    for (size_t i = 0; i < kLayoutItems.size(); ++i) {
        const LayoutRect& r = moved[i];
        MoveWindow(items.Item(kLayoutItems[i].id), r.left, r.top, r.Width(), r.Height(), TRUE);
    }
    relaidOut();
}

void CMainFrame::OnMove() {
    RememberWindowRect();
}

void CMainFrame::RememberWindowRect() {
    if (!placed || IsIconic(items.Handle())) {
        return;
    }
    RECT r{};
    GetWindowRect(items.Handle(), &r);
    settings.windowRect = {r.left, r.top, r.right, r.bottom};
}

std::string CMainFrame::TrayTip() const {
    return std::string(kTrayTip) + std::string(paused ? kPausedSuffix : std::string_view());
}

void CMainFrame::AddTrayIcon() {
    TrayIconNotify(items.Handle(), NIM_ADD, kTrayIconId, mainIcon, TrayTip().c_str());
}

void CMainFrame::ShowPaused(bool pause) {
    paused = pause;
    TrayIconNotify(items.Handle(), NIM_MODIFY, kTrayIconId, mainIcon, TrayTip().c_str());
}

void CMainFrame::RemoveTrayIcon() {
    TrayIconNotify(items.Handle(), NIM_DELETE, kTrayIconId, nullptr, nullptr);
}

void CMainFrame::OnTrayNotify(UINT mouseMessage, bool pausedNow) {
    const TrayDecision decision = DecideTrayMouse(mouseMessage);
    if (decision.clearHidePending) {
        hidePending = false;
    }
    switch (decision.action) {
        case TrayAction::ShowWindow:
            ShowWindow(items.Handle(), SW_SHOWNORMAL);
            break;
        case TrayAction::ShowMenu:
            ShowTrayMenu(instance, IDR_TRAYMENU, ID_DISPLAY, pausedNow ? ID_PAUSE_SWITCHING : 0u,
                         items.Handle());
            break;
        case TrayAction::None:
            break;
    }
}

void CMainFrame::Display() {
    ShowWindow(items.Handle(), SW_SHOWNORMAL);
}

void CMainFrame::Hide() {
    ShowWindow(items.Handle(), SW_HIDE);
}

void CMainFrame::OnOtherInstance() {
    // A second start always shows the running copy, also one hidden at start-up.
    hidePending = false;
    ShowWindow(items.Handle(), SW_SHOWNORMAL);
    SetForegroundWindow(items.Handle());
}

bool CMainFrame::OnSysCommand(WPARAM command) {
    switch (command & 0xFFF0) {
        case SC_MINIMIZE:
            Hide();
            return true;
        case SC_MAXIMIZE:
            return true;
        default:
            return false;
    }
}

void CMainFrame::OnWindowPosChanging(WINDOWPOS& position) const {
    position.flags = FilterPositionChange(position.flags, hidePending);
}

bool CMainFrame::IsOnPane(POINT clientPoint, HWND pane) const {
    POINT screen = clientPoint;
    ClientToScreen(items.Handle(), &screen);
    RECT rect{};
    GetWindowRect(pane, &rect);
    return PtInRect(&rect, screen) != FALSE;
}
