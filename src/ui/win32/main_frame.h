// The main window's frame: its icons, the layout of its controls on resize, the remembered
// window rectangle, the notification-area icon, hiding and showing, and the system commands.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/app_settings.h"
#include "base/win32/dpi.h"
#include "ui/main_window_layout.h"
#include "ui/win32/dialog_items.h"

class CMainFrame {
public:
    // relaidOut runs after the controls moved (the thumbnail pane redraws at its new size).
    CMainFrame(HINSTANCE instance, AppSettings& settings, std::function<void()> relaidOut);
    ~CMainFrame();
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // Sets the window's icons and records the controls' places as the template made them.
    void Attach(HWND window);
    // Puts the window at its remembered rectangle and adds the tray icon; from then on moves
    // and sizes are remembered.
    void Show(bool hideAtStartup);
    void RemoveTrayIcon();

    void OnSize(WPARAM kind, int cx, int cy);
    // The window moved to a monitor of another DPI: the layout, the limits and the icons follow,
    // and the window takes the rectangle Windows suggests (not while it is being placed).
    void OnDpiChanged(int dpi, const RECT& suggested);
    void OnMove();
    // The tray icon's mouse message; prepare checks and greys the items of its menu.
    void OnTrayNotify(UINT mouseMessage, const std::function<void(HMENU popup)>& prepare);
    // The tray tip says whether switching is paused, followed by a note (why the wallpaper could
    // not be set, or why it is one picture for the whole desktop), and on a second line the
    // name of the picture on the desktop (none when empty).
    void ShowStatus(bool paused, const std::string& note, const std::string& picture = {});
    void OnTaskbarCreated() { AddTrayIcon(); }
    void Display();
    void Hide();
    void OnOtherInstance();
    bool OnSysCommand(WPARAM command);
    void OnWindowPosChanging(WINDOWPOS& position) const;
    // The window is never made smaller than the size at which every control is inside the
    // client area and none overlaps another.
    void OnGetMinMaxInfo(MINMAXINFO& limits) const;
    // A double-click on the thumbnail pane opens the image it shows.
    bool IsOnPane(POINT clientPoint, HWND pane) const;
    HICON MainIcon() const { return mainIcon.Get(); }

private:
    void RememberWindowRect();
    void LayOut(int cx, int cy);
    // The window's icons at its DPI, and the tray icon at the primary monitor's.
    void LoadIcons();
    void AddTrayIcon();
    std::string TrayTip() const;

    HINSTANCE instance;
    AppSettings& settings;
    std::function<void()> relaidOut;
    WindowItems items;
    UniqueIcon mainIcon;
    UniqueIcon smallIcon;
    UniqueIcon trayIcon;
    // The client size and control places the layout scales from, at layoutDpi.
    ClientSize referenceClientSize;
    ControlRects controlRects{};
    // The controls the layout leaves in place (the preview check box), at layoutDpi.
    std::vector<LayoutRect> fixedRects;
    int layoutDpi = 96;
    // Until the window is placed, sizes are the dialog manager's own and are not remembered.
    bool placed = false;
    // While the window moves to its remembered rectangle, that rectangle stands at any DPI.
    bool placing = false;
    // The first showing of a window hidden at start-up is held back.
    bool hidePending = false;
    bool paused = false;
    std::string note;
    std::string picture;
};
