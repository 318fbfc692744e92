// The hidden pictures dialog: the pictures never to be shown again, and "Show again" for the
// selected ones.
#include "ui/win32/hidden_pictures_dlg.h"

#include <commctrl.h>

#include "base/win32/dpi.h"
#include "base/win32/wide_text.h"
#include "resource.h"
#include "ui/small_dialog_rules.h"
#include "ui/win32/dialog.h"
#include "ui/win32/help.h"

namespace {

class CHiddenPicturesDlg : public CDialog {
public:
    CHiddenPicturesDlg(HINSTANCE instance, const std::vector<MarkedPicture>& hidden,
                       std::vector<MarkedPicture>& chosen)
        : CDialog(instance, IDD_HIDDEN_PICTURES), rows(hidden), chosen(chosen) {}

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void AddColumns() const;
    void AddRow(int index, const MarkedPicture& picture) const;
    void ShowAgain();
    void UpdateShowAgain() const;

    // The pictures still listed, in the list view's order.
    std::vector<MarkedPicture> rows;
    std::vector<MarkedPicture>& chosen;
};

bool CHiddenPicturesDlg::OnInit() {
    HWND list = Item(IDC_HIDDEN_LIST);
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP,
                                        LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
    AddColumns();
    for (size_t i = 0; i < rows.size(); ++i) {
        AddRow(static_cast<int>(i), rows[i]);
    }
    UpdateShowAgain();
    return true;
}

void CHiddenPicturesDlg::AddColumns() const {
    HWND list = Item(IDC_HIDDEN_LIST);
    // The client width is in the dialog's pixels, so the columns follow its DPI.
    RECT client{};
    GetClientRect(list, &client);
    const int width =
        client.right - client.left - SystemMetricForDpi(SM_CXVSCROLL, WindowDpi(list));
    InsertListColumns(list, {{L"Name", width * 2 / 5}, {L"Folder", width - width * 2 / 5}});
}

void CHiddenPicturesDlg::AddRow(int index, const MarkedPicture& picture) const {
    HWND list = Item(IDC_HIDDEN_LIST);
    const HiddenPictureRow row = HiddenPictureRowOf(picture.path, picture.page);
    std::wstring name = Widen(row.name);
    std::wstring folder = Widen(row.folder);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = name.data();
    const int added =
        static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    item.iItem = added;
    item.iSubItem = 1;
    item.pszText = folder.data();
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(added),
                 reinterpret_cast<LPARAM>(&item));
}

void CHiddenPicturesDlg::ShowAgain() {
    HWND list = Item(IDC_HIDDEN_LIST);
    std::vector<MarkedPicture> kept;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (ListView_GetItemState(list, static_cast<int>(i), LVIS_SELECTED) != 0) {
            chosen.push_back(rows[i]);
        } else {
            kept.push_back(rows[i]);
        }
    }
    // From the last row up, so the indexes of the rows still to go stay right.
    for (int i = static_cast<int>(rows.size()) - 1; i >= 0; --i) {
        if (ListView_GetItemState(list, i, LVIS_SELECTED) != 0) {
            ListView_DeleteItem(list, i);
        }
    }
    rows = std::move(kept);
    // The button goes grey with no selection left; the list keeps the keyboard.
    SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
    UpdateShowAgain();
}

void CHiddenPicturesDlg::UpdateShowAgain() const {
    EnableItem(IDC_SHOW_AGAIN, ListView_GetSelectedCount(Item(IDC_HIDDEN_LIST)) > 0);
}

bool CHiddenPicturesDlg::OnCommand(int id, int code, HWND control) {
    if (id == IDC_SHOW_AGAIN) {
        if (code == BN_CLICKED) {
            ShowAgain();
        }
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

bool CHiddenPicturesDlg::OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message == WM_NOTIFY) {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.idFrom == IDC_HIDDEN_LIST && header.code == LVN_ITEMCHANGED) {
            UpdateShowAgain();
            result = 0;
            return true;
        }
        return false;
    }
    if (message == WM_HELP && ShowContextHelp(*reinterpret_cast<const HELPINFO*>(lParam))) {
        result = TRUE;
        return true;
    }
    return false;
}

}  // namespace

bool RunHiddenPicturesDialog(HWND owner, const std::vector<MarkedPicture>& hidden,
                             std::vector<MarkedPicture>& chosen) {
    // The rows are copied before the dialog's loop runs: the list may change meanwhile.
    CHiddenPicturesDlg dialog(GetModuleHandleW(nullptr), hidden, chosen);
    dialog.DoModal(owner);
    return !chosen.empty();
}
