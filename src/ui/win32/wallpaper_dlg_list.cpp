// The main window's list commands: loading, saving and opening a list, removing rows, the
// rotation and page edits, and the list view's notifications.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "app/wallpaper_app.h"
#include "base/win32/ansi_text.h"
#include "base/win32/com_ptr.h"
#include "base/win32/message_box.h"
#include "list/add_entries.h"
#include "list/list_file.h"
#include "base/win32/current_directory.h"
#include "list/path_helpers.h"
#include "resource.h"
#include "ui/shell_open.h"
#include "ui/win32/open_file_dialog.h"
#include "ui/win32/preview_file_dialog.h"
#include "ui/win32/resource_text.h"
#include "ui/win32/wallpaper_dlg.h"

namespace {

// Characters of the "Add Files..." buffer: thousands of names fit.
constexpr size_t kAddFilesBufferChars = 1 << 20;

}  // namespace

bool CWallpaperDlg::SaveList(const std::string& path) {
    // A list file that exists but could not be read holds the user's list: it is never
    // replaced by what this run shows, until a list has been loaded.
    if (listUnreadable && path == app.settings.listFile) {
        return false;
    }
    if (!SaveListFile(path, listCtrl.rows, fileSystem, IsAnsiLeadByte)) {
        return false;
    }
    listModified = false;
    return true;
}

void CWallpaperDlg::SaveAfterCommand(bool changed) {
    if (!SaveList(app.settings.listFile) && changed) {
        listModified = true;
    }
}

void CWallpaperDlg::LoadList(const std::string& path) {
    app.settings.listFile = path;
    renderer.Drop();
    fileSystem.RemoveUnfinishedSave(path);
    // A missing file is an empty list; one that is there but cannot be read (locked by a
    // sync client or a virus scanner) is protected.
    listUnreadable =
        !LoadListFile(path, listCtrl.rows, fileSystem) && fileSystem.Attributes(path).has_value();
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
    const int before = listCtrl.rows.Count();
    bulkUpdate = true;
    listCtrl.rows.RemoveSelected();
    bulkUpdate = false;
    UpdateControls();
    // Nothing removed, nothing to save.
    if (listCtrl.rows.Count() != before) {
        SaveAfterCommand(true);
    }
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

void CWallpaperDlg::NoteRowChange() {
    // Loading a list shows its stored selection; that is no change of the user's.
    if (!bulkUpdate && !initializing) {
        listModified = true;
    }
}

void CWallpaperDlg::OnListNotify(const NMHDR& header) {
    switch (header.code) {
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            bool toggled = ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) != 0;
            if (toggled && !listCtrl.dragging && !bulkUpdate && !initializing) {
                selectionChanged = true;
            }
            NoteRowChange();
            break;
        }
        case LVN_ODSTATECHANGED: {
            const auto& change = reinterpret_cast<const NMLVODSTATECHANGE&>(header);
            bool toggled = ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) != 0;
            if (toggled && !listCtrl.dragging && !bulkUpdate && !initializing) {
                selectionChanged = true;
            }
            NoteRowChange();
            break;
        }
        case LVN_COLUMNCLICK:
            listModified = true;
            break;
        default:
            break;
    }
}

void CWallpaperDlg::OnAddFiles() {
    if (!app.settings.lastAddFilesDir.empty()) {
        SetCurrentDirectoryA(app.settings.lastAddFilesDir.c_str());
    }
    // Room for thousands of names: a selection that does not fit fails the whole dialog.
    std::vector<char> buffer(kAddFilesBufferChars, '\0');
    int preview = app.settings.openDialogPreview ? 1 : 0;
    BOOL chosen = FALSE;
    {
        CPreviewFileDialog dialog(instance, preview, controlTexts);
        chosen = dialog.SelectFiles(
            buffer, OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, nullptr, Handle());
    }
    app.settings.openDialogPreview = preview != 0;
    if (!chosen || HasEnded()) {
        return;
    }
    const int before = listCtrl.rows.Count();
    bulkUpdate = true;
    {
        RowsUpdateScope update(listCtrl.rows);
        AddPaths(SplitSelection(std::string_view(buffer.data(), buffer.size()), IsAnsiLeadByte),
                 listCtrl.rows);
    }
    // Saved even when every file was refused.
    SaveAfterCommand(listCtrl.rows.Count() != before);
    bulkUpdate = false;
    UpdateControls();
    app.settings.lastAddFilesDir = CurrentDirectory();
}

namespace {

int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM lParam, LPARAM) {
    if (message == BFFM_INITIALIZED) {
        std::string folder = CurrentDirectory();
        if (!folder.empty()) {
            SendMessageA(browser, BFFM_SETSELECTIONA, TRUE,
                         reinterpret_cast<LPARAM>(folder.c_str()));
        }
    } else if (message == BFFM_SELCHANGED) {
        char path[MAX_PATH] = {};
        if (SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lParam), path)) {
            SendMessageA(browser, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
        }
    }
    return 0;
}

}  // namespace

void CWallpaperDlg::OnAddFolder() {
    if (!app.settings.lastAddFolderDir.empty()) {
        SetCurrentDirectoryA(app.settings.lastAddFolderDir.c_str());
    }
    ComPtr<IMalloc> allocator;
    if (FAILED(SHGetMalloc(allocator.Put()))) {
        return;
    }
    char displayName[MAX_PATH] = {};
    BROWSEINFOA browse{};
    browse.hwndOwner = Handle();
    browse.pszDisplayName = displayName;
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    browse.lpfn = BrowseCallback;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&browse);
    if (chosen == nullptr) {
        return;
    }
    char path[MAX_PATH] = {};
    if (SHGetPathFromIDListA(chosen, path) && !HasEnded()) {
        bulkUpdate = true;
        const bool added = !listCtrl.rows.Contains(path);
        if (added) {
            listCtrl.rows.AddEntry(path);
        }
        SetCurrentDirectoryA(path);
        SaveAfterCommand(added);
        bulkUpdate = false;
        UpdateControls();
        // The next browse starts at the parent of the folder added last.
        app.settings.lastAddFolderDir = SplitPath(path, IsAnsiLeadByte).folder;
    }
    allocator.Get()->Free(chosen);
}

void CWallpaperDlg::OpenSelectedFile() {
    int row = listCtrl.rows.FirstSelected();
    if (row < 0) {
        return;
    }
    const std::string& path = listCtrl.rows.EntryAt(row).path;
    HINSTANCE opened =
        ShellExecuteA(Handle(), "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    auto result = reinterpret_cast<std::intptr_t>(opened);
    std::optional<OpenFailureMessage> failure = OpenFailureFor(result);
    if (!failure) {
        return;
    }
    std::string text = LoadResourceText(instance, static_cast<UINT>(failure->stringId));
    if (failure->showsResult) {
        size_t at = text.find("%d");
        if (at != std::string::npos) {
            text.replace(at, 2, std::to_string(result));
        }
    }
    MSGBOXPARAMSA box{};
    box.cbSize = sizeof(box);
    box.hwndOwner = Handle();
    box.hInstance = instance;
    box.lpszText = text.c_str();
    box.lpszCaption = kMessageBoxCaption;
    box.dwStyle = MB_OK;
    box.dwContextHelpId = static_cast<DWORD_PTR>(failure->stringId);
    MessageBoxIndirectA(&box);
}
