// The main window's switching adapter: the host ports of the schedule and the sequence, the
// switch commands and the one-second tick.
#include <utility>

#include "app/wallpaper_app.h"
#include "base/win32/ansi_text.h"
#include "desktop/icon_text_colors.h"
#include "imagelib/win32/image_library_api.h"
#include "resource.h"
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

void CWallpaperDlg::ShowWaitCursor(bool wait) {
    if (wait) {
        cursorBeforeWait = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    } else {
        SetCursor(cursorBeforeWait);
    }
}

void CWallpaperDlg::OnStartStop() {
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    const bool wasActive = switching.switchingActive;
    switching.StartStop();
    if (switching.switchingActive) {
        PrepareNextItem();
    } else if (wasActive) {
        renderer.Drop();
    }
    SetCursor(previous);
}

void CWallpaperDlg::OnSetSelectionAsWallpaper() {
    int row = listCtrl.rows.FirstSelected();
    if (row < 0) {
        return;
    }
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    ReadControls();
    RenderEntry(listCtrl.rows.EntryAt(row).path, rotationIndex, ParsePageList(pagesText).front());
    OnItemFailed();
    SetCursor(previous);
}

bool CWallpaperDlg::RenderEntry(const std::string& path, int rotation, int page) {
    return renderer.Show(path, rotation, page, app.settings.render);
}

void CWallpaperDlg::PrepareNextItem() {
    const std::vector<WallpaperEntry>& sequence = switching.sequence;
    const int next = app.settings.nextIndex;
    if (next >= 0 && next < static_cast<int>(sequence.size())) {
        const WallpaperEntry& item = sequence[static_cast<std::size_t>(next)];
        renderer.Prepare(item.path, item.rotation, ParsePageList(item.pages).front(),
                         app.settings.render);
    }
}

bool CWallpaperDlg::RenderItem(const WallpaperEntry& item, int page) {
    return RenderEntry(item.path, item.rotation, page);
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
    PrepareNextItem();
}

void CWallpaperDlg::ArmInterval() {
    switching.ArmInterval();
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
