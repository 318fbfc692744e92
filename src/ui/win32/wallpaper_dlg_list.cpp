// The main window's list commands: loading, saving and opening a list, removing rows, the
// rotation and page edits, and the list view's notifications.
#include <windows.h>

#include <vector>

#include "app/wallpaper_app.h"
#include "base/win32/ansi_text.h"
#include "list/list_file.h"
#include "list/path_helpers.h"
#include "resource.h"
#include "ui/win32/open_file_dialog.h"
#include "ui/win32/wallpaper_dlg.h"

void CWallpaperDlg::SaveList(const std::string& path) {
    if (SaveListFile(path, listCtrl.rows, fileSystem, IsAnsiLeadByte)) {
        listModified = false;
    }
}

void CWallpaperDlg::LoadList(const std::string& path) {
    app.settings.listFile = path;
    LoadListFile(path, listCtrl.rows, fileSystem);
    listModified = false;
    listName = ListNameFromPath(path, IsAnsiLeadByte);
}

void CWallpaperDlg::OnOpenList() {
    static const char kFilter[] = "Velumar Files (*.vlt)\0*.vlt\0All Files (*.*)\0*.*\0";
    std::optional<std::string> path =
        AskForFile(Handle(), kFilter, "vlt", app.settings.lastListDir);
    // Exit may have arrived while the dialog was open.
    if (!path || HasEnded()) {
        return;
    }
    bulkUpdate = true;
    {
        RowsUpdateScope update(listCtrl.rows);
        listCtrl.rows.RemoveAll();
        LoadList(*path);
    }
    bulkUpdate = false;
    UpdateControls();
    UpdateTitle();
}

void CWallpaperDlg::OnRemoveSelection() {
    bulkUpdate = true;
    listCtrl.rows.RemoveSelected();
    bulkUpdate = false;
    UpdateControls();
    SaveList(app.settings.listFile);
}

void CWallpaperDlg::OnRotationChanged() {
    ReadControls();
    int row = listCtrl.rows.FirstSelected();
    if (row >= 0) {
        listCtrl.rows.EntryAt(row).rotation = rotationIndex;
    }
    listModified = true;
}

void CWallpaperDlg::OnPagesChanged() {
    ReadControls();
    int row = listCtrl.rows.FirstSelected();
    if (row >= 0) {
        listCtrl.rows.EntryAt(row).pages = pagesText;
    }
    listModified = true;
}

void CWallpaperDlg::OnListNotify(const NMHDR& header) {
    switch (header.code) {
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            bool toggled = ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) != 0;
            if (toggled && !listCtrl.dragging && !bulkUpdate && !initializing) {
                selectionChanged = true;
            }
            listModified = true;
            break;
        }
        case LVN_ODSTATECHANGED: {
            const auto& change = reinterpret_cast<const NMLVODSTATECHANGE&>(header);
            bool toggled = ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) != 0;
            if (toggled && !listCtrl.dragging && !bulkUpdate && !initializing) {
                selectionChanged = true;
            }
            listModified = true;
            break;
        }
        case LVN_COLUMNCLICK:
            listModified = true;
            break;
        default:
            break;
    }
}
