// The main window's list commands: loading, saving and opening a list, removing rows, the
// rotation and page edits, and the list view's notifications.
#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "app/wallpaper_app.h"
#include "base/win32/ansi_text.h"
#include "list/list_file.h"
#include "list/path_helpers.h"
#include "resource.h"
#include "ui/win32/wallpaper_dlg.h"

namespace {

std::string CurrentDirectory() {
    DWORD length = GetCurrentDirectoryA(0, nullptr);
    std::string folder(length, '\0');
    length = GetCurrentDirectoryA(length, folder.data());
    folder.resize(length < folder.size() ? length : 0);
    return folder;
}

}  // namespace

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
    const std::string& lastFolder = app.settings.lastListDir;
    if (!lastFolder.empty()) {
        SetCurrentDirectoryA(lastFolder.c_str());
    }
    std::vector<char> file(32768, '\0');
    static const char kFilter[] = "Velumar Files (*.vlt)\0*.vlt\0All Files (*.*)\0*.*\0";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = Handle();
    ofn.lpstrFilter = kFilter;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = "vlt";
    ofn.lpstrInitialDir =
        !lastFolder.empty() && lastFolder.size() < MAX_PATH ? lastFolder.c_str() : nullptr;
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    if (!GetOpenFileNameA(&ofn)) {
        return;
    }
    bulkUpdate = true;
    {
        RowsUpdateScope update(listCtrl.rows);
        listCtrl.rows.RemoveAll();
        LoadList(file.data());
    }
    bulkUpdate = false;
    UpdateControls();
    UpdateTitle();
    // Windows makes the chosen file's folder current; Wine does not always, so do it here.
    std::string chosenFolder(file.data(), ofn.nFileOffset);
    if (chosenFolder.size() > 3 && chosenFolder.back() == '\\') {
        chosenFolder.pop_back();
    }
    SetCurrentDirectoryA(chosenFolder.c_str());
    app.settings.lastListDir = CurrentDirectory();
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
