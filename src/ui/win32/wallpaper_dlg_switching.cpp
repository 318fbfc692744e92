// The main window's switching adapter: the ports of the switching loop, the switch commands,
// the render worker's reports and the one-second tick.
#include <utility>

#include "app/wallpaper_app.h"
#include "base/win32/ansi_text.h"
#include "desktop/icon_text_colors.h"
#include "resource.h"
#include "ui/win32/app_messages.h"
#include "ui/win32/wallpaper_dlg.h"

std::vector<WallpaperEntry> CWallpaperDlg::BuildSwitchingSequence() {
    return BuildSequence(listCtrl.rows, app.settings.includeSubfolders, fileSystem, IsAnsiLeadByte);
}

void CWallpaperDlg::SetStartStopText(const std::string& text) {
    SetItemText(IDC_STARTSTOP, text);
}

void CWallpaperDlg::FinishTick() {
    TakeListChanges();
    if (std::exchange(selectionChanged, false)) {
        UpdateControls();
    }
}

void CWallpaperDlg::OnSwitchNow() {
    switching.SwitchNow();
}

void CWallpaperDlg::SetBusy(bool) {
    // The cursor over the window follows at once, not at the next mouse move.
    POINT at{};
    GetCursorPos(&at);
    SetCursorPos(at.x, at.y);
}

bool CWallpaperDlg::OnSetCursor() {
    if (!switching.Busy()) {
        return false;
    }
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
    return true;
}

void CWallpaperDlg::OnStartStop() {
    switching.StartStop();
}

void CWallpaperDlg::OnSetSelectionAsWallpaper() {
    int row = listCtrl.rows.FirstSelected();
    if (row < 0) {
        return;
    }
    ReadControls();
    WallpaperEntry entry = listCtrl.rows.EntryAt(row);
    entry.rotation = rotationIndex;
    switching.ShowEntry(entry, ParsePageList(pagesText).front());
}

std::uint64_t CWallpaperDlg::BeginShow(const WallpaperEntry& item, int page) {
    return renderer.Show(item.path, item.rotation, page, app.settings);
}

void CWallpaperDlg::CancelShow() {
    renderer.CancelShow();
}

void CWallpaperDlg::Prepare(const WallpaperEntry& item, int page) {
    renderer.Prepare(item.path, item.rotation, page, app.settings);
}

void CWallpaperDlg::DropPrepared() {
    renderer.Drop();
}

void CWallpaperDlg::OnItemFailed() {
    RefreshIconTextColors();
}

void CWallpaperDlg::RefreshIconTextColors() {
    if (IconTextColorsApply(app.osVersion, app.settings)) {
        ApplyIconTextColors(desktopListView, app.settings.iconTextColor,
                            app.settings.iconTextTransparent);
    }
}

void CWallpaperDlg::ShowSourceRow(int row) {
    WallpaperRows& rows = listCtrl.rows;
    rows.SelectOnly(row);
    if (row >= 0 && row < rows.Count()) {
        rows.ShowRow(row);
    }
}

void CWallpaperDlg::StoreNextIndex(int) {
    app.SaveNextIndex();
}

void CWallpaperDlg::OnTimer(UINT_PTR id) {
    if (id == kSwitchTimerId) {
        OnSwitchTimer();
    }
}

void CWallpaperDlg::OnSwitchTimer() {
    if (applyingSettings) {
        return;
    }
    // The welcome dialog's own loop keeps ticking, and switching goes on under it.
    ShowWelcomeIfDue();
    // A modal loop opened inside a tick dispatches the timer again: that tick is skipped.
    if (inTick || HasEnded()) {
        return;
    }
    inTick = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{inTick};
    switching.OnTick();
}
