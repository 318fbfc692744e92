// The main window's list panel.
#include "ui/win32/main_list_panel.h"

#include <shellapi.h>

#include <utility>
#include <vector>

#include "base/scoped_flag.h"
#include "base/win32/ansi_text.h"
#include "base/win32/current_directory.h"
#include "base/win32/message_box.h"
#include "base/win32/wide_text.h"
#include "list/add_entries.h"
#include "list/list_file.h"
#include "list/path_helpers.h"
#include "list/win32/win32_code_page.h"
#include "list/win32/win32_file_system.h"
#include "resource.h"
#include "switching/switching_sequence.h"
#include "ui/image_info.h"
#include "ui/rotation_names.h"
#include "ui/shell_open.h"
#include "ui/win32/dialog.h"
#include "base/win32/system_error.h"
#include "ui/win32/open_file_dialog.h"
#include "ui/win32/preview_file_dialog.h"
#include "ui/win32/resource_text.h"
#include "ui/win32/shell_commands.h"

namespace {

// Characters of the "Add Files..." buffer: thousands of names fit.
constexpr size_t kAddFilesBufferChars = 1 << 20;

bool SelectionToggled(UINT oldState, UINT newState) {
    return ((oldState ^ newState) & LVIS_SELECTED) != 0;
}

}  // namespace

CListPanel::CListPanel(HINSTANCE instance, AppSettings& settings, FileSystem& fileSystem,
                       ImageLibrary& library)
    : instance(instance),
      settings(settings),
      fileSystem(fileSystem),
      library(library),
      listCtrl(settings, fileSystem),
      preview(instance, library) {
    previewEnabled = settings.mainPreview ? 1 : 0;
    controlTexts = {LoadResourceText(instance, IDS_NOT_AN_IMAGE),
                    LoadResourceText(instance, IDS_FOLDER_SELECTED),
                    LoadResourceText(instance, IDS_IMAGE_INFO)};
}

void CListPanel::Attach(const CDialog& owner, ListPanelHost& panelHost) {
    window = &owner;
    host = &panelHost;
    items.Bind(owner.Handle());
    HWND rotation = items.Item(IDC_ROTATION);
    for (const char* name : kRotationNames) {
        SendMessageW(rotation, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(name).c_str()));
    }
    WriteControls();
    listCtrl.Attach(items.Item(IDC_WALLPAPER_LIST));
    preview.ReplaceControl(owner.Handle(), IDC_PREVIEW_FRAME);
    tips.Attach(owner.Handle());
    Refresh();
    LoadList(settings.listFile);
    attached = true;
}

bool CListPanel::Ended() const {
    return window == nullptr || window->HasEnded();
}

void CListPanel::ReadControls() {
    rotationIndex = static_cast<int>(SendMessageW(items.Item(IDC_ROTATION), CB_GETCURSEL, 0, 0));
    pagesText = items.ItemText(IDC_PAGES);
    infoText = items.ItemText(IDC_INFO);
    previewEnabled = items.IsChecked(IDC_PREVIEW_CHECK) ? 1 : 0;
    shown = {rotationIndex, pagesText, infoText, previewEnabled};
}

void CListPanel::WriteControls() {
    // Setting the edit's text reports a change; that is not the user's edit.
    const ScopedFlag writing(writingControls);
    // Only what differs from the controls is written: each write costs a redraw, and under
    // Wine a round trip to its server.
    if (rotationIndex != shown.rotationIndex) {
        SendMessageW(items.Item(IDC_ROTATION), CB_SETCURSEL, static_cast<WPARAM>(rotationIndex), 0);
    }
    if (pagesText != shown.pagesText) {
        items.SetItemText(IDC_PAGES, pagesText);
    }
    if (infoText != shown.infoText) {
        items.SetItemText(IDC_INFO, infoText);
    }
    if (previewEnabled != shown.previewEnabled) {
        items.SetChecked(IDC_PREVIEW_CHECK, previewEnabled != 0);
    }
    shown = {rotationIndex, pagesText, infoText, previewEnabled};
}

void CListPanel::Refresh() {
    ReadControls();
    const WallpaperRows& rows = listCtrl.rows;
    ControlInputs in;
    in.selectedCount = rows.SelectedCount();
    if (in.selectedCount == 1) {
        in.entry = &rows.EntryAt(rows.FirstSelected());
        in.entryIsExistingFile = IsExistingFile(in.entry->path, fileSystem);
        if (in.entryIsExistingFile) {
            in.image = GetImageInfo(library, in.entry->path);
        }
    }
    in.rotationIndex = rotationIndex;
    in.previewEnabled = previewEnabled != 0;
    in.initializing = !attached;
    in.switchingActive = host != nullptr && host->SwitchingActive();
    in.rowCount = rows.Count();
    in.switchMode = settings.switchMode;
    in.switchTimeCount = settings.switchTimes.size();
    if (host != nullptr) {
        const std::string onDesktop = host->PictureOnDesktop();
        if (!onDesktop.empty() && (in.entry == nullptr || !SamePath(in.entry->path, onDesktop))) {
            in.desktopPicture = SplitPath(onDesktop, mbcs::NoLeadBytes).name;
        }
    }
    ControlStates states = ComputeControlStates(in, controlTexts);

    infoText = states.infoText;
    rotationIndex = states.rotationIndex;
    pagesText = states.pagesText;
    items.EnableItem(IDC_ROTATION, states.rotationEnabled);
    items.EnableItem(IDC_ROTATE_LABEL, states.rotationEnabled);
    items.EnableItem(IDC_PAGES, states.pagesEnabled);
    items.EnableItem(IDC_PAGES_LABEL, states.pagesEnabled);
    items.EnableItem(IDC_REMOVE, states.removeEnabled);
    items.SetItemText(IDC_STARTSTOP, states.startStopText);
    if (states.startStopEnabled) {
        items.EnableItem(IDC_STARTSTOP, *states.startStopEnabled);
    }
    items.EnableItem(IDC_ADD_FILES, states.addEnabled);
    items.EnableItem(IDC_ADD_FOLDER, states.addEnabled);
    // Also after each relayout, which refreshes: the tips follow the controls.
    tips.SetTip(IDC_STARTSTOP, states.tips.startStop);
    tips.SetTip(IDC_ADD_FILES, states.tips.add);
    tips.SetTip(IDC_ADD_FOLDER, states.tips.add);
    tips.SetTip(IDC_REMOVE, states.tips.remove);
    tips.SetTip(IDC_ROTATION, states.tips.rotation);
    tips.SetTip(IDC_PAGES, states.tips.pages);
    if (states.previewPath) {
        preview.ShowImage(*states.previewPath);
    } else {
        preview.ClearImage();
    }
    WriteControls();
}

MenuStates CListPanel::Menu() const {
    const WallpaperRows& rows = listCtrl.rows;
    const int selected = rows.SelectedCount();
    const bool isFile =
        selected == 1 && IsExistingFile(rows.EntryAt(rows.FirstSelected()).path, fileSystem);
    return ComputeMenuStates(host != nullptr && host->SwitchingActive(), selected, isFile,
                             rows.Count());
}

std::optional<CListPanel::Choice> CListPanel::SelectedChoice() {
    const int row = listCtrl.rows.FirstSelected();
    if (row < 0) {
        return std::nullopt;
    }
    ReadControls();
    Choice choice{listCtrl.rows.EntryAt(row), ParsePageList(pagesText).front()};
    choice.entry.rotation = rotationIndex;
    return choice;
}

void CListPanel::ShowSourceRow(int row) {
    WallpaperRows& rows = listCtrl.rows;
    rows.SelectOnly(row);
    if (row >= 0 && row < rows.Count()) {
        rows.ShowRow(row);
    }
}

void CListPanel::OnPreviewClicked() {
    ReadControls();
    // Stored with all settings at exit.
    settings.mainPreview = previewEnabled != 0;
    Refresh();
}

void CListPanel::TakeListChanges() {
    // A drag or a drop since the last tick counts too, so ending right after it loses nothing.
    if (std::exchange(listCtrl.rows.changed, false)) {
        listModified = true;
    }
}

void CListPanel::FinishTick() {
    TakeListChanges();
    if (std::exchange(selectionChanged, false)) {
        Refresh();
    }
}

bool CListPanel::SaveList(const std::string& path) {
    // A list file that exists but could not be read holds the user's list: it is never
    // replaced by what this run shows, until a list has been loaded.
    if (listUnreadable && path == settings.listFile) {
        return false;
    }
    if (!SaveListFile(path, listCtrl.rows, fileSystem, SystemAnsiCodePage())) {
        return false;
    }
    listModified = false;
    return true;
}

void CListPanel::SaveAfterCommand(bool changed) {
    if (!SaveList(settings.listFile) && changed) {
        listModified = true;
    }
}

void CListPanel::SaveIfModified() {
    TakeListChanges();
    if (!listModified) {
        return;
    }
    if (listUnreadable) {
        // Beside the unread file, which stays as it is.
        SaveListFile(UnsavedListPath(settings.listFile, mbcs::NoLeadBytes), listCtrl.rows,
                     fileSystem, SystemAnsiCodePage());
        listModified = false;
        return;
    }
    SaveList(settings.listFile);
}

void CListPanel::Close() {
    SaveIfModified();
    listCtrl.rows.RemoveAll();
}

void CListPanel::SaveBeforeEnding() {
    TakeListChanges();
    if (listModified && listUnreadable) {
        const std::string beside = UnsavedListPath(settings.listFile, mbcs::NoLeadBytes);
        const bool saved = SaveListFile(beside, listCtrl.rows, fileSystem, SystemAnsiCodePage());
        listModified = false;
        std::string text =
            "The wallpaper list\n" + settings.listFile +
            "\ncould not be read when it was loaded, so Velumar did not save over it.";
        text += saved ? "\n\nThe list shown was saved beside it as\n" + beside
                      : "\n\nThe list shown could not be saved beside it as\n" + beside;
        ShowMessageBox(items.Handle(), text, MB_ICONEXCLAMATION);
        return;
    }
    while (listModified && !Ended()) {
        if (SaveList(settings.listFile)) {
            return;
        }
        // Read before anything else can set it.
        const DWORD error = GetLastError();
        std::string text = "The wallpaper list could not be saved to\n" + settings.listFile +
                           "\n\n" + SystemErrorText(error) +
                           "\n\nRetry to try again, or Cancel to leave without saving it.";
        if (AskMessageBox(items.Handle(), text, MB_RETRYCANCEL | MB_ICONEXCLAMATION) != IDRETRY) {
            // The user leaves without saving: the destroy step does not try again.
            listModified = false;
        }
    }
}

void CListPanel::LoadList(const std::string& path) {
    settings.listFile = path;
    Win32FileSystem().RemoveUnfinishedSave(path);
    // A missing file is an empty list; one that is there but cannot be read (locked by a
    // sync client or a virus scanner) is protected.
    listUnreadable = !LoadListFile(path, listCtrl.rows, fileSystem, SystemAnsiCodePage()) &&
                     fileSystem.Attributes(path).has_value();
    listModified = false;
    listName = ListNameFromPath(path, mbcs::NoLeadBytes);
}

void CListPanel::OnOpenList() {
    static const wchar_t kFilter[] = L"Velumar Files (*.vlt)\0*.vlt\0All Files (*.*)\0*.*\0";
    std::optional<std::string> path =
        AskForFile(items.Handle(), kFilter, L"vlt", settings.lastListDir);
    // Exit may have arrived while the dialog was open.
    if (!path || Ended()) {
        return;
    }
    {
        const ScopedFlag rebuilding(rebuildingRows);
        RowsUpdateScope update(listCtrl.rows);
        listCtrl.rows.RemoveAll();
        LoadList(*path);
    }
    host->ListFileChanged();
    Refresh();
}

void CListPanel::OnRemoveSelection() {
    const int before = listCtrl.rows.Count();
    {
        const ScopedFlag rebuilding(rebuildingRows);
        listCtrl.rows.RemoveSelected();
    }
    Refresh();
    // Nothing removed, nothing to save.
    if (listCtrl.rows.Count() != before) {
        SaveAfterCommand(true);
    }
}

void CListPanel::OnRotationCommand(int code) {
    if (code != CBN_SELCHANGE || writingControls) {
        return;
    }
    ReadControls();
    const int row = listCtrl.rows.FirstSelected();
    if (row >= 0) {
        listCtrl.rows.EntryAt(row).rotation = rotationIndex;
    }
    listModified = true;
}

void CListPanel::OnPagesCommand(int code) {
    if (code != EN_CHANGE || writingControls) {
        return;
    }
    ReadControls();
    const int row = listCtrl.rows.FirstSelected();
    if (row >= 0) {
        listCtrl.rows.EntryAt(row).pages = pagesText;
    }
    listModified = true;
}

void CListPanel::NoteRowChange() {
    // Loading a list shows its stored selection; that is no change of the user's.
    if (!rebuildingRows && attached) {
        listModified = true;
    }
}

bool CListPanel::OnNotify(const NMHDR& header, LRESULT& result) {
    // The list answers its own notifications first, then the panel sees them too.
    if (listCtrl.OnNotify(header, result)) {
        return true;
    }
    const bool userChange = !listCtrl.dragging && !rebuildingRows && attached;
    switch (header.code) {
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if (userChange && SelectionToggled(change.uOldState, change.uNewState)) {
                selectionChanged = true;
            }
            NoteRowChange();
            break;
        }
        case LVN_ODSTATECHANGED: {
            const auto& change = reinterpret_cast<const NMLVODSTATECHANGE&>(header);
            if (userChange && SelectionToggled(change.uOldState, change.uNewState)) {
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
    return false;
}

void CListPanel::OnAddFiles() {
    // Room for thousands of names: a selection that does not fit fails the whole dialog.
    std::vector<wchar_t> names(kAddFilesBufferChars, L'\0');
    int preview = settings.openDialogPreview ? 1 : 0;
    BOOL chosen = FALSE;
    {
        // The dialog may move the current directory; a folder held current could not be
        // removed (a USB stick ejected) while Velumar runs.
        const CurrentDirectoryScope keep;
        CPreviewFileDialog dialog(instance, preview, controlTexts, library);
        chosen =
            dialog.SelectFiles(names, OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                               settings.lastAddFilesDir, items.Handle());
    }
    settings.openDialogPreview = preview != 0;
    if (!chosen || Ended()) {
        return;
    }
    // The dialog's buffer in UTF-8, up to its closing empty part.
    const std::wstring_view wide(names.data(), names.size());
    const size_t end = wide.find(std::wstring_view(L"\0\0", 2));
    const std::string buffer =
        Narrow(wide.substr(0, end == std::wstring_view::npos ? wide.size() : end + 1));
    const std::vector<std::string> paths =
        SplitSelection(std::string_view(buffer.data(), buffer.size()), mbcs::NoLeadBytes);
    const int before = listCtrl.rows.Count();
    {
        const ScopedFlag rebuilding(rebuildingRows);
        {
            RowsUpdateScope update(listCtrl.rows);
            AddPaths(paths, listCtrl.rows);
        }
        // Saved even when every file was refused.
        SaveAfterCommand(listCtrl.rows.Count() != before);
    }
    Refresh();
    if (!paths.empty()) {
        settings.lastAddFilesDir = SplitPath(paths.front(), mbcs::NoLeadBytes).folder;
    }
}

void CListPanel::OnAddFolder() {
    const std::optional<std::string> chosen =
        AskForFolder(items.Handle(), settings.lastAddFolderDir);
    // Exit may have arrived while the browser was open.
    if (!chosen || Ended()) {
        return;
    }
    const std::string& path = *chosen;
    {
        const ScopedFlag rebuilding(rebuildingRows);
        const bool added = !listCtrl.rows.Contains(path);
        if (added) {
            listCtrl.rows.AddEntry(path);
        }
        SaveAfterCommand(added);
    }
    Refresh();
    // The next browse starts at the parent of the folder added last.
    settings.lastAddFolderDir = SplitPath(path, mbcs::NoLeadBytes).folder;
}

void CListPanel::OpenSelectedFile() {
    const int row = listCtrl.rows.FirstSelected();
    if (row < 0) {
        return;
    }
    OpenWithShell(instance, items.Handle(), listCtrl.rows.EntryAt(row).path);
}
