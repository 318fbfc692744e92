// The wallpaper list view (control 1000): a virtual report list that shows the row model.
// The rows live in the model; the control asks for texts as it paints, so a list of any
// length shows at once.
#include "list/win32/wallpaper_list_ctrl.h"

#include <shlwapi.h>

#include <algorithm>

#include "base/win32/ansi_text.h"
#include "list/list_columns.h"

namespace {

std::optional<CommonControlsVersion> CommonControlsLibraryVersion() {
    HMODULE library = GetModuleHandleA("comctl32.dll");
    auto getVersion = library == nullptr
                          ? nullptr
                          : reinterpret_cast<DLLGETVERSIONPROC>(
                                reinterpret_cast<void*>(GetProcAddress(library, "DllGetVersion")));
    if (getVersion == nullptr) {
        return std::nullopt;
    }
    DLLVERSIONINFO info{};
    info.cbSize = sizeof(info);
    if (FAILED(getVersion(&info))) {
        return std::nullopt;
    }
    return CommonControlsVersion{info.dwMajorVersion, info.dwMinorVersion};
}

std::string Narrow(const wchar_t* text) {
    if (text == nullptr) {
        return std::string();
    }
    int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(std::max(length, 1)), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), length, nullptr, nullptr);
    narrow.resize(narrow.size() - 1);
    return narrow;
}

const std::string& CellText(const WallpaperRows::Row& row, int column) {
    return column == 0 ? row.name : row.folder;
}

}  // namespace

CWallpaperListCtrl::CWallpaperListCtrl(const AppSettings& settings, FileSystem& fileSystem)
    : rows(settings, fileSystem, PathCase{IsAnsiLeadByte, AnsiLower}) {}

CWallpaperListCtrl::~CWallpaperListCtrl() {
    rows.SetView(nullptr);
}

void CWallpaperListCtrl::Attach(HWND listView) {
    list = listView;
    if (HasFullRowSelect(CommonControlsLibraryVersion())) {
        ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    }
    // The drop highlight is kept by the model; the control asks for it when it paints.
    ListView_SetCallbackMask(list, LVIS_DROPHILITED);
    CreateColumns();
    rows.SetView(this);
    RowsReset();
}

void CWallpaperListCtrl::CreateColumns() {
    RECT client{};
    GetClientRect(list, &client);
    ListColumnWidths widths = ColumnWidthsFor(client.right - client.left);
    const struct {
        const char* header;
        int width;
    } columns[] = {{"Filename", widths.filename}, {"Folder", widths.folder}};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = columns[i].width;
        column.pszText = const_cast<char*>(columns[i].header);
        column.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&column));
    }
}

bool CWallpaperListCtrl::OnNotify(const NMHDR& header, LRESULT& result) {
    switch (header.code) {
        case LVN_GETDISPINFOA:
            result = 0;
            return OnGetDispInfo(*reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(&header)));
        case LVN_GETDISPINFOW:
            result = 0;
            return OnGetDispInfo(*reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header)));
        case LVN_ODFINDITEMA: {
            const auto& find = reinterpret_cast<const NMLVFINDITEMA&>(header);
            bool byText = (find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) != 0;
            result = FindRowByName(byText && find.lvfi.psz != nullptr ? find.lvfi.psz : "",
                                   find.lvfi.flags, find.iStart);
            return true;
        }
        case LVN_ODFINDITEMW: {
            const auto& find = reinterpret_cast<const NMLVFINDITEMW&>(header);
            bool byText = (find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) != 0;
            result = FindRowByName(byText ? Narrow(find.lvfi.psz) : std::string(), find.lvfi.flags,
                                   find.iStart);
            return true;
        }
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if (!pushing && (change.uChanged & LVIF_STATE) != 0 &&
                ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) != 0) {
                rows.NoteSelectionFromView(change.iItem, (change.uNewState & LVIS_SELECTED) != 0);
            }
            return false;
        }
        case LVN_ODSTATECHANGED: {
            const auto& change = reinterpret_cast<const NMLVODSTATECHANGE&>(header);
            if (!pushing && ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) != 0) {
                for (int row = change.iFrom; row <= change.iTo; ++row) {
                    rows.NoteSelectionFromView(row, (change.uNewState & LVIS_SELECTED) != 0);
                }
            }
            return false;
        }
        default:
            return false;
    }
}

bool CWallpaperListCtrl::OnGetDispInfo(NMLVDISPINFOA& info) {
    LVITEMA& item = info.item;
    if (item.iItem < 0 || item.iItem >= rows.Count()) {
        return true;
    }
    const WallpaperRows::Row& row = rows.RowAt(item.iItem);
    if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
        const std::string& text = CellText(row, item.iSubItem);
        size_t length = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
        text.copy(item.pszText, length);
        item.pszText[length] = '\0';
    }
    if ((item.mask & LVIF_STATE) != 0) {
        item.state =
            (item.state & ~LVIS_DROPHILITED) | (row.dropHighlighted ? LVIS_DROPHILITED : 0);
    }
    return true;
}

bool CWallpaperListCtrl::OnGetDispInfo(NMLVDISPINFOW& info) {
    LVITEMW& item = info.item;
    if (item.iItem < 0 || item.iItem >= rows.Count()) {
        return true;
    }
    const WallpaperRows::Row& row = rows.RowAt(item.iItem);
    if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
        const std::string& text = CellText(row, item.iSubItem);
        int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         item.pszText, item.cchTextMax - 1);
        item.pszText[std::max(length, 0)] = L'\0';
    }
    if ((item.mask & LVIF_STATE) != 0) {
        item.state =
            (item.state & ~LVIS_DROPHILITED) | (row.dropHighlighted ? LVIS_DROPHILITED : 0);
    }
    return true;
}

// Typing in the list jumps to the next row whose name starts with the typed text.
int CWallpaperListCtrl::FindRowByName(const std::string& text, UINT flags, int startRow) const {
    return rows.FindByName(text, (flags & LVFI_PARTIAL) != 0, (flags & LVFI_WRAP) != 0, startRow);
}

void CWallpaperListCtrl::RowsReset() {
    if (list == nullptr) {
        return;
    }
    ListView_SetItemCountEx(list, rows.Count(), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    PushSelection();
    InvalidateRect(list, nullptr, FALSE);
}

void CWallpaperListCtrl::RowsUpdated(int first, int last) {
    if (list != nullptr) {
        ListView_RedrawItems(list, first, last);
    }
}

void CWallpaperListCtrl::RowStateChanged(int row) {
    if (list == nullptr) {
        return;
    }
    if (row < 0) {
        PushSelection();
        InvalidateRect(list, nullptr, FALSE);
        return;
    }
    pushing = true;
    ListView_SetItemState(list, row, rows.IsSelected(row) ? LVIS_SELECTED : 0, LVIS_SELECTED);
    pushing = false;
    ListView_RedrawItems(list, row, row);
}

void CWallpaperListCtrl::EnsureVisible(int row) {
    if (list != nullptr) {
        ListView_EnsureVisible(list, row, FALSE);
    }
}

// The control keeps its own selection for a virtual list; it is made equal to the model's.
void CWallpaperListCtrl::PushSelection() {
    pushing = true;
    int count = rows.Count();
    int selected = rows.SelectedCount();
    if (count > 0 && selected == count) {
        ListView_SetItemState(list, -1, LVIS_SELECTED, LVIS_SELECTED);
    } else {
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
        for (int row = 0; row < count && selected > 0; ++row) {
            if (rows.IsSelected(row)) {
                ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
                --selected;
            }
        }
    }
    pushing = false;
}
