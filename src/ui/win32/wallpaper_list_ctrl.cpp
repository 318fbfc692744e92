// The wallpaper list view (control 1000): a virtual report list that shows the row model.
// The rows live in the model; the control asks for texts as it paints, so a list of any
// length shows at once.
#include "ui/win32/wallpaper_list_ctrl.h"

#include <shellapi.h>
#include <shlwapi.h>
#include <windowsx.h>

#include <algorithm>

#include "base/win32/ansi_text.h"
#include "base/win32/text_case.h"
#include "base/win32/dpi.h"
#include "list/list_columns.h"
#include "list/list_view_rules.h"
#include "ui/screen_geometry.h"
#include "ui/win32/dialog_items.h"
#include "base/win32/exception_barrier.h"
#include "base/win32/wide_text.h"

namespace {

constexpr UINT_PTR kScrollTimerId = 1001;
constexpr UINT kScrollPeriodMs = 300;
constexpr UINT_PTR kSubclassId = 1;

std::optional<CommonControlsVersion> CommonControlsLibraryVersion() {
    HMODULE library = GetModuleHandleW(L"comctl32.dll");
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

const std::string& CellText(const WallpaperRows::Row& row, int column) {
    return column == 0 ? row.name : row.folder;
}

}  // namespace

CWallpaperListCtrl::CWallpaperListCtrl(const AppSettings& settings, FileSystem& fileSystem)
    : rows(settings, fileSystem, PathCase{mbcs::NoLeadBytes, FoldCaseOrdinal}) {}

CWallpaperListCtrl::~CWallpaperListCtrl() {
    rows.SetView(nullptr);
    if (dragImage != nullptr) {
        ImageList_Destroy(dragImage);
    }
}

void CWallpaperListCtrl::Attach(HWND listView) {
    list = listView;
    if (HasFullRowSelect(CommonControlsLibraryVersion())) {
        ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    }
    // A name cut off by its column is shown in full in a tip.
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_LABELTIP, LVS_EX_LABELTIP);
    // The drop highlight is kept by the model; the control asks for it when it paints.
    ListView_SetCallbackMask(list, LVIS_DROPHILITED);
    columnsDpi = WindowDpi(list);
    CreateColumns();
    rows.SetView(this);
    RowsReset();
    SetWindowSubclass(list, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK CWallpaperListCtrl::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    auto* control = reinterpret_cast<CWallpaperListCtrl*>(self);
    LRESULT result = 0;
    if (CallGuarded("CWallpaperListCtrl::SubclassProc", false,
                    [&] { return control->OnListMessage(message, wParam, lParam, result); })) {
        return result;
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, SubclassProc, kSubclassId);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

bool CWallpaperListCtrl::OnListMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                       LRESULT& result) {
    switch (message) {
        case kDpiChangedAfterParent:
            RescaleColumns(WindowDpi(list));
            return false;
        case WM_MOUSEMOVE:
            // The list's own handling always follows.
            if (dragging) {
                TrackDrag({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            }
            return false;
        case WM_LBUTTONUP:
            if (!dragging) {
                return false;
            }
            EndDrag(true);
            result = 0;
            return true;
        case WM_CAPTURECHANGED:
            // Capture taken away (a modal window, another application, a call elsewhere)
            // ends the drag without a drop; the list's own handling follows.
            if (dragging && reinterpret_cast<HWND>(lParam) != list) {
                EndDrag(false);
            }
            return false;
        case WM_TIMER:
            if (wParam != kScrollTimerId) {
                return false;
            }
            if (dragging) {
                AutoScroll();
            }
            result = 0;
            return true;
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            result = 0;
            return true;
        case WM_LBUTTONDBLCLK:
            result = 0;
            return OnDoubleClick();
        default:
            return false;
    }
}

void CWallpaperListCtrl::BeginDrag(const NMLISTVIEW& start) {
    if (!CanStartDrag(rows.SelectedCount())) {
        return;
    }
    scrollTimer = SetTimer(list, kScrollTimerId, kScrollPeriodMs, nullptr);
    dropTarget = -1;
    dragging = true;
    dragSource = start.iItem;
    POINT corner{};
    dragImage = ListView_CreateDragImage(list, dragSource, &corner);
    hotSpot = {start.ptAction.x - corner.x, start.ptAction.y - corner.y};
    if (dragImage != nullptr) {
        POINT itemPosition{};
        POINT origin{};
        ListView_GetItemPosition(list, dragSource, &itemPosition);
        ListView_GetOrigin(list, &origin);
        ImageList_DragShowNolock(TRUE);
        ImageList_SetDragCursorImage(dragImage, 0, start.ptAction.x - itemPosition.x + origin.x,
                                     start.ptAction.y - itemPosition.y + origin.y);
        ImageList_BeginDrag(dragImage, 0, 0, 0);
        POINT at{start.ptAction.x - hotSpot.x, start.ptAction.y - hotSpot.y};
        ImageList_DragEnter(list, at.x, at.y);
        ImageList_DragMove(at.x, at.y);
    }
    SetCapture(list);
}

void CWallpaperListCtrl::HideDragImage() {
    ImageList_DragShowNolock(FALSE);
}

void CWallpaperListCtrl::ShowDragImage(POINT point) {
    ImageList_DragShowNolock(TRUE);
    ImageList_DragMove(point.x - hotSpot.x, point.y - hotSpot.y);
}

void CWallpaperListCtrl::TrackDrag(POINT point) {
    LVHITTESTINFO hit{};
    hit.pt = point;
    int row = ListView_HitTest(list, &hit);
    if (ClassifyDragHit(hit.flags, row) == DragHit::OnRow) {
        HideDragImage();
        UpdateWindow(list);
        if (dropTarget >= 0) {
            rows.SetDropHighlighted(dropTarget, false);
        }
        dropTarget = row;
        rows.SetDropHighlighted(dropTarget, true);
        UpdateWindow(list);
        ShowDragImage(point);
        return;
    }
    if (dropTarget < 0) {
        ImageList_DragMove(point.x - hotSpot.x, point.y - hotSpot.y);
    } else {
        HideDragImage();
        UpdateWindow(list);
        rows.SetDropHighlighted(dropTarget, false);
        UpdateWindow(list);
        ShowDragImage(point);
    }
    dropTarget = -1;
}

void CWallpaperListCtrl::AutoScroll() {
    KillTimer(list, scrollTimer);
    scrollTimer = 0;
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(list, &cursor);
    LVHITTESTINFO hit{};
    hit.pt = cursor;
    DragHit where = ClassifyDragHit(hit.flags, ListView_HitTest(list, &hit));
    if (where == DragHit::Above || where == DragHit::Below) {
        RECT label{};
        ListView_GetItemRect(list, 0, &label, LVIR_LABEL);
        int step = label.bottom - label.top;
        HideDragImage();
        ListView_Scroll(list, 0, where == DragHit::Below ? step : -step);
        UpdateWindow(list);
        ShowDragImage(cursor);
    }
    scrollTimer = SetTimer(list, kScrollTimerId, kScrollPeriodMs, nullptr);
}

void CWallpaperListCtrl::EndDrag(bool drop) {
    KillTimer(list, scrollTimer);
    scrollTimer = 0;
    dragging = false;
    ImageList_DragLeave(list);
    ImageList_EndDrag();
    if (dragImage != nullptr) {
        ImageList_Destroy(dragImage);
        dragImage = nullptr;
    }
    if (drop && FinishDrag(rows, dragSource, dropTarget)) {
        rows.changed = true;
    } else if (!drop && dropTarget >= 0 && dropTarget < rows.Count()) {
        rows.SetDropHighlighted(dropTarget, false);
    }
    dropTarget = -1;
    // Another window of this thread may hold the capture now: it keeps it.
    if (GetCapture() == list) {
        ReleaseCapture();
    }
}

void CWallpaperListCtrl::OnDropFiles(HDROP drop) {
    POINT point{};
    DragQueryPoint(drop, &point);
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    LVHITTESTINFO hit{};
    hit.pt = point;
    int row = ListView_HitTest(list, &hit);
    std::vector<std::string> paths;
    for (UINT i = 0; i < count; ++i) {
        // Read at the path's full length, however long it is.
        UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring wide(length + 1, L'\0');
        UINT copied = DragQueryFileW(drop, i, wide.data(), length + 1);
        std::string path = Narrow(std::wstring_view(wide.data(), std::min(copied, length)));
        if (!path.empty()) {
            paths.push_back(std::move(path));
        }
    }
    DragFinish(drop);
    rows.InsertEntries(ClassifyDragHit(hit.flags, row) == DragHit::OnRow ? row : -1, paths);
    rows.changed = true;
}

bool CWallpaperListCtrl::OnDoubleClick() {
    if (rows.SelectedCount() != 1) {
        return false;
    }
    // Failures are the shell's to show, if any.
    ShellExecuteW(list, L"open", Widen(rows.EntryAt(rows.FirstSelected()).path).c_str(), nullptr,
                  nullptr, SW_SHOWNORMAL);
    return true;
}

void CWallpaperListCtrl::CreateColumns() {
    RECT client{};
    GetClientRect(list, &client);
    ListColumnWidths widths = ColumnWidthsFor(client.right - client.left);
    InsertListColumns(list, {{L"Filename", widths.filename}, {L"Folder", widths.folder}});
}

void CWallpaperListCtrl::RescaleColumns(int dpi) {
    if (dpi == columnsDpi) {
        return;
    }
    for (int i = 0; i < 2; ++i) {
        const int width = ListView_GetColumnWidth(list, i);
        ListView_SetColumnWidth(list, i, RescaleForDpi(width, columnsDpi, dpi));
    }
    columnsDpi = dpi;
}

bool CWallpaperListCtrl::OnNotify(const NMHDR& header, LRESULT& result) {
    switch (header.code) {
        case LVN_GETDISPINFOW:
            result = 0;
            return OnGetDispInfo(*reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header)));
        case LVN_ODFINDITEMW: {
            const auto& find = reinterpret_cast<const NMLVFINDITEMW&>(header);
            bool byText = (find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) != 0;
            result = FindRowByName(byText ? Narrow(find.lvfi.psz) : std::string(), find.lvfi.flags,
                                   find.iStart);
            return true;
        }
        case LVN_BEGINDRAG:
            BeginDrag(reinterpret_cast<const NMLISTVIEW&>(header));
            result = 0;
            return false;
        case LVN_BEGINRDRAG:
            result = 0;
            return false;
        case LVN_COLUMNCLICK:
            // The parent still sees the click: it marks the list modified.
            rows.SortBy(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem,
                        TakeSortDirection(sortAscending));
            return false;
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

bool CWallpaperListCtrl::OnGetDispInfo(NMLVDISPINFOW& info) {
    LVITEMW& item = info.item;
    if (item.iItem < 0 || item.iItem >= rows.Count()) {
        return true;
    }
    const WallpaperRows::Row& row = rows.RowAt(item.iItem);
    if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
        // Cut to the control's buffer, never between the halves of a surrogate pair.
        const std::wstring text = Widen(CellText(row, item.iSubItem));
        size_t length = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
        if (length < text.size() && length > 0 && IS_HIGH_SURROGATE(text[length - 1])) {
            --length;
        }
        text.copy(item.pszText, length);
        item.pszText[length] = L'\0';
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
