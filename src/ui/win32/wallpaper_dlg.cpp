// The main window: a resizable dialog with the wallpaper list and the switching controls.
#include "ui/win32/wallpaper_dlg.h"

#include <commdlg.h>

#include <utility>
#include <vector>

#include "app/wallpaper_app.h"
#include "base/win32/ansi_text.h"
#include "imagelib/win32/image_library_api.h"
#include "list/list_file.h"
#include "list/path_helpers.h"
#include "render/publish.h"
#include "desktop/icon_text_colors.h"
#include "render/render_wallpaper.h"
#include "resource.h"
#include "ui/main_window_text.h"
#include "ui/rotation_names.h"

namespace {

std::string LoadText(HINSTANCE instance, UINT id) {
    char buffer[512];
    int length = LoadStringA(instance, id, buffer, sizeof(buffer));
    return std::string(buffer, static_cast<size_t>(length > 0 ? length : 0));
}

std::string CurrentDirectory() {
    DWORD length = GetCurrentDirectoryA(0, nullptr);
    std::string folder(length, '\0');
    length = GetCurrentDirectoryA(length, folder.data());
    folder.resize(length < folder.size() ? length : 0);
    return folder;
}

}  // namespace

CWallpaperDlg::CWallpaperDlg(HINSTANCE instance, CWallpaperApp& app)
    : CDialog(instance, IDD_WALLPAPER_DIALOG),
      app(app),
      listCtrl(app.settings, fileSystem),
      switching(app.settings, random, environment, *this, *this) {
    mainIcon =
        static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_MAINICON), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    smallIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_MAINICON), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), 0));
    accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    previewEnabled = app.settings.mainPreview ? 1 : 0;
    controlTexts = {LoadText(instance, IDS_NOT_AN_IMAGE), LoadText(instance, IDS_FOLDER_SELECTED),
                    LoadText(instance, IDS_IMAGE_INFO)};
}

CWallpaperDlg::~CWallpaperDlg() {
    if (mainIcon != nullptr) {
        DestroyIcon(mainIcon);
    }
    if (smallIcon != nullptr) {
        DestroyIcon(smallIcon);
    }
    // Accelerator tables loaded from resources are freed with the module.
}

void CWallpaperDlg::RunModal() {
    CDialog::RunModal(nullptr, accelerators);
}

bool CWallpaperDlg::OnInit() {
    HWND rotation = Item(IDC_ROTATION);
    for (const char* name : kRotationNames) {
        SendMessageA(rotation, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    WriteControls();
    random.Seed(GetTickCount());

    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(mainIcon));
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));

    listCtrl.Attach(Item(IDC_WALLPAPER_LIST));
    UpdateControls();
    LoadList(app.settings.listFile);
    initializing = false;
    MoveToStoredRect();
    SetTimer(Handle(), kSwitchTimerId, kSwitchTimerPeriodMs, nullptr);
    // Switching starts by itself a moment after the window is set up, as if Start were clicked.
    if (app.settings.startSwitchingAtStartup || app.settings.switchMode == 0) {
        Sleep(150);
        switching.StartStop();
    }
    UpdateTitle();
    return true;
}

void CWallpaperDlg::MoveToStoredRect() {
    const WindowRect& r = app.settings.windowRect;
    MoveWindow(Handle(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void CWallpaperDlg::UpdateTitle() {
    SetWindowTextA(Handle(), MainWindowTitle(listName).c_str());
}

void CWallpaperDlg::ReadControls() {
    rotationIndex = static_cast<int>(SendMessageA(Item(IDC_ROTATION), CB_GETCURSEL, 0, 0));
    pagesText = ItemText(IDC_PAGES);
    infoText = ItemText(IDC_INFO);
    previewEnabled = IsChecked(IDC_PREVIEW_CHECK) ? 1 : 0;
}

void CWallpaperDlg::WriteControls() {
    // Setting the edit's text reports a change; that is not the user's edit.
    writingControls = true;
    SendMessageA(Item(IDC_ROTATION), CB_SETCURSEL, static_cast<WPARAM>(rotationIndex), 0);
    SetItemText(IDC_PAGES, pagesText);
    SetItemText(IDC_INFO, infoText);
    SetChecked(IDC_PREVIEW_CHECK, previewEnabled != 0);
    writingControls = false;
}

std::optional<ImageInfo> CWallpaperDlg::QueryImageInfo(const std::string& path) {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int pages = 0;
    LibraryString description;
    if (!ProcessImageLibrary().cGetImageFileInfo(path.c_str(), 0, nullptr, &width, &height, nullptr,
                                                 &pages, &description, nullptr, nullptr, nullptr,
                                                 nullptr, nullptr, nullptr)) {
        return std::nullopt;
    }
    return ImageInfo{static_cast<int>(width), static_cast<int>(height), pages, description};
}

void CWallpaperDlg::UpdateControls() {
    ReadControls();
    const WallpaperRows& rows = listCtrl.rows;
    ControlInputs in;
    in.selectedCount = rows.SelectedCount();
    if (in.selectedCount == 1) {
        in.entry = &rows.EntryAt(rows.FirstSelected());
        in.entryIsExistingFile = IsExistingFile(in.entry->path, fileSystem);
        if (in.entryIsExistingFile) {
            in.image = QueryImageInfo(in.entry->path);
        }
    }
    in.rotationIndex = rotationIndex;
    in.previewEnabled = previewEnabled != 0;
    in.initializing = initializing;
    in.switchingActive = switching.switchingActive;
    in.rowCount = rows.Count();
    in.switchMode = app.settings.switchMode;
    in.switchTimeCount = app.settings.switchTimes.size();
    ControlStates states = ComputeControlStates(in, controlTexts);

    infoText = states.infoText;
    rotationIndex = states.rotationIndex;
    pagesText = states.pagesText;
    EnableItem(IDC_ROTATION, states.rotationEnabled);
    EnableItem(IDC_ROTATE_LABEL, states.rotationEnabled);
    EnableItem(IDC_PAGES, states.pagesEnabled);
    EnableItem(IDC_PAGES_LABEL, states.pagesEnabled);
    EnableItem(IDC_REMOVE, states.removeEnabled);
    SetItemText(IDC_STARTSTOP, states.startStopText);
    if (states.startStopEnabled) {
        EnableItem(IDC_STARTSTOP, *states.startStopEnabled);
    }
    EnableItem(IDC_ADD_FILES, states.addEnabled);
    EnableItem(IDC_ADD_FOLDER, states.addEnabled);
    WriteControls();
}

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

bool CWallpaperDlg::OnCommand(int id, int code, HWND control) {
    switch (id) {
        case ID_APP_EXIT:
            OnExit();
            return true;
        case ID_FILE_OPEN_LIST:
            OnOpenList();
            return true;
        case ID_SWITCH_NOW:
            OnSwitchNow();
            return true;
        case ID_SET_SELECTION:
            OnSetSelectionAsWallpaper();
            return true;
        case ID_REMOVE_WALLPAPER:
            RemoveWallpaper(desktop);
            return true;
        case IDC_STARTSTOP:
            if (code == BN_CLICKED) {
                OnStartStop();
            }
            return true;
        case IDC_REMOVE:
            if (code == BN_CLICKED) {
                OnRemoveSelection();
            }
            return true;
        case IDC_ROTATION:
            if (code == CBN_SELCHANGE && !writingControls) {
                OnRotationChanged();
            }
            return true;
        case IDC_PAGES:
            if (code == EN_CHANGE && !writingControls) {
                OnPagesChanged();
            }
            return true;
        case IDOK:
            // There is no OK button; Enter must not end the program.
            return true;
        default:
            return CDialog::OnCommand(id, code, control);
    }
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

std::vector<WallpaperEntry> CWallpaperDlg::BuildSwitchingSequence() {
    return BuildSequence(listCtrl.rows, app.settings.includeSubfolders, fileSystem, IsAnsiLeadByte);
}

void CWallpaperDlg::SetStartStopText(const std::string& text) {
    SetItemText(IDC_STARTSTOP, text);
}

void CWallpaperDlg::FinishTick() {
    if (std::exchange(listCtrl.rows.changed, false)) {
        listModified = true;
    }
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
    switching.StartStop();
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
    ScreenSize size = desktop.DesktopSize();
    desktopEdgeMask.Ensure(app.settings, size.width, size.height);
    return RenderWallpaper({path, rotation, page, desktopEdgeMask.For(size.width, size.height)},
                           app.settings, app.wallpaperFileSuffix, ProcessImageLibrary(), desktop);
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
}

void CWallpaperDlg::ArmInterval() {
    switching.ArmInterval();
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

void CWallpaperDlg::OnExit() {
    if (listModified) {
        SaveList(app.settings.listFile);
    }
    EndDialog(IDCANCEL);
}

void CWallpaperDlg::OnTimer(UINT_PTR id) {
    if (id == kSwitchTimerId) {
        OnSwitchTimer();
    }
}

void CWallpaperDlg::OnSwitchTimer() {
    // The welcome dialog's step comes first once that dialog is built.
    switching.OnTick();
}

void CWallpaperDlg::OnDestroy() {
    KillTimer(Handle(), kSwitchTimerId);
    if (listModified) {
        SaveList(app.settings.listFile);
    }
    listCtrl.rows.RemoveAll();
    switching.ClearSequence();
}

void CWallpaperDlg::OnInitMenuPopup() {
    const WallpaperRows& rows = listCtrl.rows;
    int selected = rows.SelectedCount();
    bool isFile =
        selected == 1 && IsExistingFile(rows.EntryAt(rows.FirstSelected()).path, fileSystem);
    MenuStates states =
        ComputeMenuStates(switching.switchingActive, selected, isFile, rows.Count());
    HMENU menu = GetMenu(Handle());
    auto enable = [menu](UINT id, bool on) {
        EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    enable(ID_SET_SELECTION, states.setSelectionEnabled);
    enable(ID_FILE_OPEN_SELECTED, states.setSelectionEnabled);
    enable(ID_FILE_OPEN_LIST, states.openListEnabled);
    enable(ID_SWITCH_NOW, states.switchNowEnabled);
}

bool CWallpaperDlg::OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message == WM_INITMENUPOPUP) {
        // After the default handling, which a dialog does not do for menus.
        OnInitMenuPopup();
        return false;
    }
    if (message == WM_NOTIFY) {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.idFrom != IDC_WALLPAPER_LIST) {
            return false;
        }
        // The list answers its own notifications first, then the window sees them too.
        if (listCtrl.OnNotify(header, result)) {
            return true;
        }
        OnListNotify(header);
        return false;
    }
    if (message == app.otherInstanceMessage && message != 0) {
        OnOtherInstance();
        result = 0;
        return true;
    }
    return false;
}

void CWallpaperDlg::OnOtherInstance() {
    hidePending = false;
    ShowWindow(Handle(), SW_SHOWNORMAL);
    SetForegroundWindow(Handle());
}
