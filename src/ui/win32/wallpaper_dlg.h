// The main window: a resizable dialog with the wallpaper list and the switching controls.
#pragma once

#include <windows.h>

#include <string>

#include "app/app_platform.h"
#include "ui/win32/dialog.h"

class CWallpaperApp;

inline constexpr UINT_PTR kSwitchTimerId = 2001;
inline constexpr UINT kSwitchTimerPeriodMs = 1000;

class CWallpaperDlg : public CDialog, public MainWindow {
public:
    CWallpaperDlg(HINSTANCE instance, CWallpaperApp& app);
    ~CWallpaperDlg() override;

    void RunModal() override;

    void UpdateTitle();

    // Values exchanged with the controls.
    int rotationIndex = -1;
    std::string pagesText;
    std::string infoText;
    int previewEnabled = 0;

    bool switchingActive = false;
    int stopPhase = 0;
    bool hidePending = false;
    bool welcomeShown = false;
    bool initializing = true;
    bool listModified = false;
    bool bulkUpdate = false;
    bool selectionChanged = false;
    std::string listName;

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnTimer(UINT_PTR id) override;
    void OnDestroy() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnOtherInstance();
    void OnSwitchTimer();
    void OnExit();
    void MoveToStoredRect();

    CWallpaperApp& app;
    HICON mainIcon = nullptr;
    HICON smallIcon = nullptr;
    HACCEL accelerators = nullptr;
};
