// The main window's frame.
#include "ui/win32/main_frame.h"

#include <algorithm>
#include <utility>

#include "base/scoped_flag.h"
#include "base/win32/deferred_import.h"
#include "desktop/tray_icon.h"
#include "desktop/win32/tray_icon.h"
#include "resource.h"
#include "ui/main_window_text.h"
#include "ui/screen_geometry.h"
#include "ui/win32/app_messages.h"

namespace {

LayoutRect ToLayout(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// The dialog manager of Windows 10 (1703 and later) would put the controls back at their
// template places and resize the window at a new DPI; the layout is ours, only the fonts are its.
void KeepOwnLayoutAtNewDpi(HWND window) {
    constexpr int kDisableResize = 2;
    constexpr int kDisableControlRelayout = 4;
    if (auto* setBehavior = DeferredImport<BOOL WINAPI(HWND, int, int)>(
            "user32.dll", "SetDialogDpiChangeBehavior", false)) {
        setBehavior(window, kDisableResize | kDisableControlRelayout,
                    kDisableResize | kDisableControlRelayout);
    }
}

bool IsLaidOut(int id) {
    return std::any_of(kLayoutItems.begin(), kLayoutItems.end(),
                       [id](const LayoutItem& item) { return item.id == id; });
}

WindowRect ToWindowRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

CMainFrame::CMainFrame(HINSTANCE instance, AppSettings& settings, std::function<void()> relaidOut)
    : instance(instance), settings(settings), relaidOut(std::move(relaidOut)) {}

CMainFrame::~CMainFrame() = default;

void CMainFrame::Attach(HWND window) {
    items.Bind(window);
    layoutDpi = WindowDpi(window);
    KeepOwnLayoutAtNewDpi(window);
    LoadIcons();
    for (size_t i = 0; i < kLayoutItems.size(); ++i) {
        RECT r{};
        GetWindowRect(items.Item(kLayoutItems[i].id), &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        controlRects[i] = ToLayout(r);
    }
    // The client size as created from the template; a size change while initialising (the
    // dialog manager's own) is recorded by OnSize as well.
    fixedRects.clear();
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        // The hidden labels that name controls for screen readers take no room.
        const bool shown = (GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) != 0;
        if (shown && !IsLaidOut(GetDlgCtrlID(child))) {
            RECT r{};
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
            fixedRects.push_back(ToLayout(r));
        }
    }
    RECT client{};
    GetClientRect(window, &client);
    referenceClientSize = {client.right, client.bottom};
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO& limits) const {
    // Asked while the window is being made, before its layout is recorded.
    if (referenceClientSize.cx <= 0) {
        return;
    }
    const ClientSize client =
        MinimumClientSize(controlRects, referenceClientSize, fixedRects, layoutDpi);
    // The frame around the client area is the same at any size.
    RECT frame{};
    RECT inside{};
    GetWindowRect(items.Handle(), &frame);
    GetClientRect(items.Handle(), &inside);
    const LONG frameWidth = (frame.right - frame.left) - inside.right;
    const LONG frameHeight = (frame.bottom - frame.top) - inside.bottom;
    limits.ptMinTrackSize.x = std::max<LONG>(limits.ptMinTrackSize.x, client.cx + frameWidth);
    limits.ptMinTrackSize.y = std::max<LONG>(limits.ptMinTrackSize.y, client.cy + frameHeight);
}

void CMainFrame::LoadIcons() {
    UniqueIcon newMain = LoadIconForDpi(instance, IDI_MAINICON, SM_CXICON, SM_CYICON, layoutDpi);
    UniqueIcon newSmall =
        LoadIconForDpi(instance, IDI_MAINICON, SM_CXSMICON, SM_CYSMICON, layoutDpi);
    // The window lets go of the old icons before they are destroyed.
    SendMessageW(items.Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(newMain.Get()));
    SendMessageW(items.Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(newSmall.Get()));
    mainIcon = std::move(newMain);
    smallIcon = std::move(newSmall);
    // The notification area is the taskbar's, at its DPI.
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    const int trayDpi = taskbar != nullptr ? WindowDpi(taskbar) : SystemDpi();
    trayIcon = LoadIconForDpi(instance, IDI_MAINICON, SM_CXSMICON, SM_CYSMICON, trayDpi);
}

void CMainFrame::Show(bool hideAtStartup) {
    placed = true;
    // A first start opens on the primary monitor, where the template put the window, at the
    // DPI it was made at.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    WindowRect stored = StartingWindowRect(settings.windowRect, layoutDpi, ToWindowRect(work));
    RECT candidate{stored.left, stored.top, stored.right, stored.bottom};
    HMONITOR monitor = MonitorFromRect(&candidate, MONITOR_DEFAULTTONULL);
    const bool onAMonitor = monitor != nullptr;
    // A rectangle recorded at another DPI than its monitor's now is resized by the ratio, so the
    // window keeps its proportions to the controls laid out at the monitor's DPI, and kept on
    // the monitor's work area.
    const int monitorDpi = onAMonitor ? MonitorDpi(monitor) : layoutDpi;
    if (onAMonitor && stored == settings.windowRect && settings.windowDpi > 0 &&
        settings.windowDpi != monitorDpi) {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        GetMonitorInfoW(monitor, &info);
        stored = KeepInsideArea(RescaleRectSize(stored, settings.windowDpi, monitorDpi),
                                ToWindowRect(info.rcWork));
    }
    const WindowRect r = PlaceWindowRect(stored, onAMonitor, ToWindowRect(work));
    {
        const ScopedFlag moving(placing);
        MoveWindow(items.Handle(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
    RECT client{};
    GetClientRect(items.Handle(), &client);
    LayOut(client.right, client.bottom);
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
    LayOut(cx, cy);
}

void CMainFrame::LayOut(int cx, int cy) {
    const ControlRects moved =
        LayoutControls(controlRects, referenceClientSize, {cx, cy}, layoutDpi);
    for (size_t i = 0; i < kLayoutItems.size(); ++i) {
        const LayoutRect& r = moved[i];
        MoveWindow(items.Item(kLayoutItems[i].id), r.left, r.top, r.Width(), r.Height(), TRUE);
    }
    // Moved controls and the frames of the bordered ones (the information box) are painted
    // anew; without this, controls moved into a grown area stay unpainted under some systems.
    RedrawWindow(items.Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    relaidOut();
}

void CMainFrame::OnDpiChanged(int dpi, const RECT& suggested) {
    if (dpi <= 0 || dpi == layoutDpi) {
        return;
    }
    controlRects = RescaleLayout(controlRects, layoutDpi, dpi);
    referenceClientSize = {RescaleForDpi(referenceClientSize.cx, layoutDpi, dpi),
                           RescaleForDpi(referenceClientSize.cy, layoutDpi, dpi)};
    for (LayoutRect& r : fixedRects) {
        r = {RescaleForDpi(r.left, layoutDpi, dpi), RescaleForDpi(r.top, layoutDpi, dpi),
             RescaleForDpi(r.right, layoutDpi, dpi), RescaleForDpi(r.bottom, layoutDpi, dpi)};
    }
    // Controls the layout leaves where they are (the preview check box) keep their place.
    HWND window = items.Handle();
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsLaidOut(GetDlgCtrlID(child))) {
            continue;
        }
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        const auto scaled = [this, dpi](LONG v) { return RescaleForDpi(v, layoutDpi, dpi); };
        MoveWindow(child, scaled(r.left), scaled(r.top), scaled(r.right) - scaled(r.left),
                   scaled(r.bottom) - scaled(r.top), TRUE);
    }
    layoutDpi = dpi;
    LoadIcons();
    if (placed) {
        TrayIconNotify(items.Handle(), NIM_MODIFY, kTrayIconId, trayIcon.Get(), TrayTip().c_str());
    }
    // While the window is placed, its rectangle is already sized for the monitor's DPI.
    if (!placing) {
        SetWindowPos(items.Handle(), nullptr, suggested.left, suggested.top,
                     suggested.right - suggested.left, suggested.bottom - suggested.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (placed) {
        RECT client{};
        GetClientRect(items.Handle(), &client);
        LayOut(client.right, client.bottom);
    }
    RememberWindowRect();
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
    settings.windowDpi = layoutDpi;
}

std::string CMainFrame::TrayTip() const {
    return std::string(kTrayTip) + std::string(paused ? kPausedSuffix : std::string_view()) + note +
           (picture.empty() ? std::string() : "\n" + picture);
}

void CMainFrame::AddTrayIcon() {
    TrayIconNotify(items.Handle(), NIM_ADD, kTrayIconId, trayIcon.Get(), TrayTip().c_str());
}

void CMainFrame::ShowStatus(bool pause, const std::string& statusNote,
                            const std::string& pictureName) {
    if (pause == paused && statusNote == note && pictureName == picture) {
        return;
    }
    paused = pause;
    note = statusNote;
    picture = pictureName;
    TrayIconNotify(items.Handle(), NIM_MODIFY, kTrayIconId, trayIcon.Get(), TrayTip().c_str());
}

void CMainFrame::RemoveTrayIcon() {
    TrayIconNotify(items.Handle(), NIM_DELETE, kTrayIconId, nullptr, nullptr);
}

void CMainFrame::OnTrayNotify(UINT mouseMessage, const std::function<void(HMENU popup)>& prepare) {
    const TrayDecision decision = DecideTrayMouse(mouseMessage);
    if (decision.clearHidePending) {
        hidePending = false;
    }
    switch (decision.action) {
        case TrayAction::ShowWindow:
            ShowWindow(items.Handle(), SW_SHOWNORMAL);
            break;
        case TrayAction::ShowMenu:
            ShowTrayMenu(instance, IDR_TRAYMENU, ID_DISPLAY, prepare, kCommandFromTray,
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
