// Typed helpers over a dialog's controls, shared by dialogs and property pages, and the rule
// by which a dialog procedure hands a message's result back.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

class DialogItems {
public:
    HWND Handle() const { return hwnd; }
    HWND Item(int id) const { return GetDlgItem(hwnd, id); }
    std::string ItemText(int id) const;
    void SetItemText(int id, const std::string& text) const;
    void EnableItem(int id, bool enable) const;
    void ShowItem(int id, bool show) const;
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked) const;
    // The radio group's value: the index of its checked button in dialog order, or -1.
    int CheckedRadio(std::initializer_list<int> group) const;
    void SetCheckedRadio(std::initializer_list<int> group, int index) const;
    // A drop-down list's selected index, or -1.
    int ComboSelection(int id) const;
    void SetComboSelection(int id, int index) const;
    // Moves the focus to a control, as a dialog does, so an edit's text gets selected.
    void FocusItem(int id) const;

protected:
    DialogItems() = default;
    ~DialogItems() = default;

    HWND hwnd = nullptr;
};

// The controls of a window that a part of it handles, bound once the window exists.
class WindowItems final : public DialogItems {
public:
    void Bind(HWND window) { hwnd = window; }
};

// What a dialog procedure returns for a handled message with a result.
INT_PTR DialogProcResult(HWND dialog, UINT message, LRESULT result);

// A report-style list view's column: its header and width in the list's pixels.
struct ListColumn {
    const wchar_t* header;
    int width;
};
// Adds the columns to the list view, left-aligned, in order.
void InsertListColumns(HWND list, std::initializer_list<ListColumn> columns);
