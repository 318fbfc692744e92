// Typed helpers over a dialog's controls, shared by dialogs and property pages, and the rule
// by which a dialog procedure hands a message's result back.
#include "ui/win32/dialog_items.h"

#include <commctrl.h>

#include <vector>

#include "base/win32/wide_text.h"

std::string DialogItems::ItemText(int id) const {
    HWND item = Item(id);
    int length = GetWindowTextLengthW(item);
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    int copied = GetWindowTextW(item, buffer.data(), static_cast<int>(buffer.size()));
    return Narrow(std::wstring_view(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0)));
}

void DialogItems::SetItemText(int id, const std::string& text) const {
    SetDlgItemTextW(hwnd, id, Widen(text).c_str());
}

void DialogItems::EnableItem(int id, bool enable) const {
    EnableWindow(Item(id), enable ? TRUE : FALSE);
}

void DialogItems::ShowItem(int id, bool show) const {
    ShowWindow(Item(id), show ? SW_SHOW : SW_HIDE);
}

bool DialogItems::IsChecked(int id) const {
    return IsDlgButtonChecked(hwnd, id) == BST_CHECKED;
}

void DialogItems::SetChecked(int id, bool checked) const {
    CheckDlgButton(hwnd, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

int DialogItems::CheckedRadio(std::initializer_list<int> group) const {
    int index = 0;
    for (int id : group) {
        if (IsChecked(id)) {
            return index;
        }
        ++index;
    }
    return -1;
}

void DialogItems::SetCheckedRadio(std::initializer_list<int> group, int index) const {
    int i = 0;
    for (int id : group) {
        SetChecked(id, i == index);
        ++i;
    }
}

int DialogItems::ComboSelection(int id) const {
    return static_cast<int>(SendMessageW(Item(id), CB_GETCURSEL, 0, 0));
}

void DialogItems::SetComboSelection(int id, int index) const {
    SendMessageW(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DialogItems::FocusItem(int id) const {
    SendMessageW(hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
}

INT_PTR DialogProcResult(HWND dialog, UINT message, LRESULT result) {
    switch (message) {
        // These return their result from the dialog procedure itself.
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_QUERYDRAGICON:
            return static_cast<INT_PTR>(result);
        default:
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
            return TRUE;
    }
}

void InsertListColumns(HWND list, std::initializer_list<ListColumn> columns) {
    int index = 0;
    for (const ListColumn& wanted : columns) {
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = wanted.width;
        column.pszText = const_cast<wchar_t*>(wanted.header);
        column.iSubItem = index;
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&column));
        ++index;
    }
}
