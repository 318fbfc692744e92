// The main window's frame: the control layout on resize, the remembered window rectangle, the
// notification-area icon, hiding and showing, the system commands and the iconic paint.
#include "app/wallpaper_app.h"
#include "desktop/tray_icon.h"
#include "desktop/win32/tray_icon.h"
#include "ui/win32/wallpaper_dlg.h"

namespace {

LayoutRect ToLayout(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

void CWallpaperDlg::RecordControlRects() {
    for (size_t i = 0; i < kLayoutItems.size(); ++i) {
        RECT r{};
        HWND control = Item(kLayoutItems[i].id);
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
        controlRects[i] = ToLayout(r);
    }
    // The client size as created from the template; a size change while initialising (the
    // dialog manager's own) is recorded by LayoutControls as well.
    RECT client{};
    GetClientRect(Handle(), &client);
    referenceClientSize = {client.right, client.bottom};
}

void CWallpaperDlg::LayoutControls(int cx, int cy) {
    if (initializing) {
        referenceClientSize = {cx, cy};
        return;
    }
    RememberWindowRect();
    ControlRects placed = ::LayoutControls(controlRects, referenceClientSize, {cx, cy});
    for (size_t i = 0; i < kLayoutItems.size(); ++i) {
        const LayoutRect& r = placed[i];
        MoveWindow(Item(kLayoutItems[i].id), r.left, r.top, r.Width(), r.Height(), TRUE);
    }
    UpdateControls();
}

void CWallpaperDlg::RememberWindowRect() {
    if (initializing || IsIconic(Handle())) {
        return;
    }
    RECT r{};
    GetWindowRect(Handle(), &r);
    app.settings.windowRect = {r.left, r.top, r.right, r.bottom};
}

void CWallpaperDlg::MoveToStoredRect() {
    const WindowRect& stored = app.settings.windowRect;
    RECT candidate{stored.left, stored.top, stored.right, stored.bottom};
    bool onAMonitor = MonitorFromRect(&candidate, MONITOR_DEFAULTTONULL) != nullptr;
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    WindowRect r =
        PlaceWindowRect(stored, onAMonitor, {work.left, work.top, work.right, work.bottom});
    MoveWindow(Handle(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void CWallpaperDlg::AddTrayIcon() {
    TrayIconNotify(Handle(), NIM_ADD, kTrayIconId, mainIcon, kTrayTip);
}

void CWallpaperDlg::DeleteTrayIcon() {
    TrayIconNotify(Handle(), NIM_DELETE, kTrayIconId, nullptr, nullptr);
}

void CWallpaperDlg::OnTrayNotify(UINT mouseMessage) {
    TrayDecision decision = DecideTrayMouse(mouseMessage);
    if (decision.clearHidePending) {
        hidePending = false;
    }
    switch (decision.action) {
        case TrayAction::ShowWindow:
            ShowWindow(Handle(), SW_SHOWNORMAL);
            break;
        case TrayAction::ShowMenu:
            ShowTrayMenu(instance, Handle());
            break;
        case TrayAction::None:
            break;
    }
}

void CWallpaperDlg::DisplayWindow() {
    ShowWindow(Handle(), SW_SHOWNORMAL);
}

void CWallpaperDlg::HideWindow() {
    ShowWindow(Handle(), SW_HIDE);
}

void CWallpaperDlg::OnOtherInstance() {
    // A second start always shows the running copy, also one hidden at start-up.
    hidePending = false;
    ShowWindow(Handle(), SW_SHOWNORMAL);
    SetForegroundWindow(Handle());
}

bool CWallpaperDlg::OnSysCommand(WPARAM command) {
    switch (command & 0xFFF0) {
        case SC_MINIMIZE:
            HideWindow();
            return true;
        case SC_MAXIMIZE:
            return true;
        default:
            return false;
    }
}

void CWallpaperDlg::OnWindowPosChanging(WINDOWPOS& position) const {
    position.flags = FilterPositionChange(position.flags, hidePending);
}

bool CWallpaperDlg::OnPaintIconic() {
    if (!IsIconic(Handle())) {
        return false;
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    SendMessageA(Handle(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    GetClientRect(Handle(), &client);
    int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, mainIcon);
    EndPaint(Handle(), &paint);
    return true;
}

void CWallpaperDlg::OnDoubleClick(POINT clientPoint) {
    POINT screen = clientPoint;
    ClientToScreen(Handle(), &screen);
    RECT pane{};
    GetWindowRect(preview.Handle(), &pane);
    if (PtInRect(&pane, screen)) {
        preview.OpenShownImage();
    }
}
