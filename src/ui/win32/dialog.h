// A dialog window over a dialog resource: one trampoline that finds the object and calls its
// virtual handlers, a modal loop that offers messages to an accelerator table, typed helpers.
#pragma once

#include <windows.h>

#include <string>

class CDialog {
public:
    CDialog(HINSTANCE instance, int templateId) : instance(instance), templateId(templateId) {}
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;
    virtual ~CDialog();

    // Creates the dialog, shows it and runs its own message loop until EndDialog; every
    // message for the dialog is first offered to the accelerator table when there is one.
    // Returns the result given to EndDialog, or -1 when the dialog could not be created.
    INT_PTR RunModal(HWND owner, HACCEL accelerators = nullptr);
    // Ends the modal loop with a result and destroys the window.
    void EndDialog(INT_PTR result);

    HWND Handle() const { return hwnd; }
    HWND Item(int id) const { return GetDlgItem(hwnd, id); }
    std::string ItemText(int id) const;
    void SetItemText(int id, const std::string& text) const;
    void EnableItem(int id, bool enable) const;
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked) const;

protected:
    // Handlers return true when they handled the message; result goes to the sender.
    virtual bool OnInit() { return true; }
    virtual bool OnCommand(int id, int code, HWND control);
    virtual void OnTimer(UINT_PTR) {}
    virtual void OnDestroy() {}
    // Any other message; return true and set result when handled.
    virtual bool OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

    HINSTANCE instance;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    int templateId;
    HWND hwnd = nullptr;
    bool ended = false;
    INT_PTR result = -1;
};
