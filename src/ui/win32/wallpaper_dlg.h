// The main window: a resizable dialog with the wallpaper list and the switching controls. Its
// life cycle and dispatch live in wallpaper_dlg.cpp; the list commands, the switching adapter
// and the window frame (layout, rectangle, tray, hiding) each in a file of their own.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "app/app_platform.h"
#include "list/win32/wallpaper_list_ctrl.h"
#include "list/win32/win32_file_system.h"
#include "render/wallpaper_renderer.h"
#include "render/win32/win32_desktop.h"
#include "desktop/win32/shell_desktop_list_view.h"
#include "switching/switching_loop.h"
#include "switching/switching_sequence.h"
#include "switching/win32/win32_schedule_environment.h"
#include "ui/main_window_controls.h"
#include "ui/main_window_layout.h"
#include "ui/win32/dialog.h"
#include "ui/win32/image_preview_wnd.h"

class CWallpaperApp;

inline constexpr UINT_PTR kSwitchTimerId = 2001;
inline constexpr UINT kSwitchTimerPeriodMs = 1000;

class CWallpaperDlg : public CDialog,
                      public MainWindow,
                      private SwitchRendering,
                      private SwitchingView {
public:
    CWallpaperDlg(HINSTANCE instance, CWallpaperApp& app);
    ~CWallpaperDlg() override;

    void RunModal() override;

    void UpdateTitle();
    // Recomputes every control that depends on the selection and the switching state.
    void UpdateControls() override;
    // Writes all rows to a list file; a failed write leaves the list marked modified.
    bool SaveList(const std::string& path);
    // Saves the rows to the current list file after a command; a change that could not be
    // saved is marked modified, so ending the program tries again.
    void SaveAfterCommand(bool changed);
    // Makes path the current list file and appends its entries to the rows.
    void LoadList(const std::string& path);
    // Moves and sizes the controls for a new client size (pixels).
    void LayoutControls(int cx, int cy);

    // Values exchanged with the controls.
    int rotationIndex = -1;
    std::string pagesText;
    std::string infoText;
    int previewEnabled = 0;

    bool hidePending = false;
    bool welcomeShown = false;
    bool initializing = true;
    bool listModified = false;
    bool bulkUpdate = false;
    bool selectionChanged = false;
    // The current list file exists but could not be read: it is not overwritten.
    bool listUnreadable = false;
    std::string listName;
    ClientSize referenceClientSize;
    ControlRects controlRects{};

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnTimer(UINT_PTR id) override;
    void OnDestroy() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // wallpaper_dlg.cpp: controls, menus and the ending.
    void ReadControls();
    void WriteControls();
    void OnInitMenuPopup();
    void OnPreviewClicked();
    void TakeListChanges();
    // Saves a changed list before the window ends; when that fails, asks whether to try
    // again or to leave without saving.
    void SaveBeforeEnding();
    void OnExit();
    void OnEndSession(bool ending);

    // wallpaper_dlg_list.cpp: the list commands.
    void OnListNotify(const NMHDR& header);
    void NoteRowChange();
    void OnOpenList();
    void OnRemoveSelection();
    void OnRotationChanged();
    void OnPagesChanged();
    void OnAddFiles();
    void OnAddFolder();
    void OpenSelectedFile();

    // wallpaper_dlg_switching.cpp: the switching adapter.
    void OnSwitchNow();
    void OnStartStop();
    void OnSetSelectionAsWallpaper();
    void OnSwitchTimer();
    bool OnSetCursor();
    std::uint64_t BeginShow(const WallpaperEntry& item, int page) override;
    void CancelShow() override;
    void Prepare(const WallpaperEntry& item, int page) override;
    void DropPrepared() override;
    std::vector<WallpaperEntry> BuildSwitchingSequence() override;
    void SetStartStopText(const std::string& text) override;
    void RefreshIconTextColors() override;
    void FinishTick() override;
    void OnItemFailed() override;
    void ShowSourceRow(int row) override;
    void StoreNextIndex(int nextIndex) override;
    void SetBusy(bool busy) override;

    // wallpaper_dlg_dialogs.cpp: the properties sheet, the welcome dialog and About.
    void ShowProperties();
    void ShowWelcomeIfDue();
    void ShowAbout();

    // wallpaper_dlg_frame.cpp: layout, the remembered rectangle, the tray icon and hiding.
    void RecordControlRects();
    void RememberWindowRect();
    void MoveToStoredRect();
    void AddTrayIcon();
    void DeleteTrayIcon();
    void OnTrayNotify(UINT mouseMessage);
    void DisplayWindow();
    void HideWindow();
    void OnOtherInstance();
    bool OnSysCommand(WPARAM command);
    void OnWindowPosChanging(WINDOWPOS& position) const;
    bool OnPaintIconic();
    void OnDoubleClick(POINT clientPoint);

    CWallpaperApp& app;
    Win32FileSystem fileSystem;
    Win32Desktop desktop;
    // The random source of the random order, the renderer with its cached mask and the next
    // wallpaper prepared ahead, and the schedule, which holds the switching state and the
    // sequence.
    SeededRandom random;
    WallpaperRenderer renderer;
    Win32ScheduleEnvironment environment;
    ShellDesktopListView desktopListView;
    CWallpaperListCtrl listCtrl;
    CImagePreviewWnd preview;
    // The window the render worker reports to; cleared when the window goes.
    std::atomic<HWND> reportTo{nullptr};
    SwitchingLoop switching;
    ControlTexts controlTexts;
    bool writingControls = false;
    // A tick of the switching timer is running on this stack.
    bool inTick = false;
    // Settings from the sheet are being applied: no tick runs meanwhile.
    bool applyingSettings = false;
    bool propertiesOpen = false;
    bool aboutOpen = false;
    HICON mainIcon = nullptr;
    HICON smallIcon = nullptr;
    HACCEL accelerators = nullptr;
    // Sent by a new taskbar, after which the tray icon is added again.
    UINT taskbarCreatedMessage = 0;
};
