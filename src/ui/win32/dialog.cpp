// A dialog window over a dialog resource: one trampoline that finds the object and calls its
// virtual handlers, a modal loop that offers messages to an accelerator table, typed helpers.
#include "ui/win32/dialog.h"

#include <vector>

CDialog::~CDialog() {
    if (hwnd != nullptr) {
        DestroyWindow(hwnd);
    }
}

INT_PTR CDialog::RunModal(HWND owner, HACCEL accelerators) {
    ended = false;
    result = -1;
    if (CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this)) == nullptr) {
        return -1;
    }
    if (owner != nullptr) {
        EnableWindow(owner, FALSE);
    }
    if (!ended) {
        ShowWindow(hwnd, SW_SHOWNORMAL);
    }
    MSG msg;
    while (!ended) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // WM_QUIT: end the dialog and leave the quit message for the caller's loop.
            EndDialog(IDCANCEL);
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) {
            EndDialog(IDCANCEL);
            break;
        }
        if (hwnd != nullptr && accelerators != nullptr &&
            (msg.hwnd == hwnd || IsChild(hwnd, msg.hwnd)) &&
            TranslateAcceleratorA(hwnd, accelerators, &msg)) {
            continue;
        }
        if (hwnd != nullptr && IsDialogMessageA(hwnd, &msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (owner != nullptr) {
        EnableWindow(owner, TRUE);
    }
    return result;
}

void CDialog::EndDialog(INT_PTR dialogResult) {
    if (ended) {
        return;
    }
    ended = true;
    result = dialogResult;
    if (hwnd != nullptr) {
        DestroyWindow(hwnd);
    }
}

std::string CDialog::ItemText(int id) const {
    HWND item = Item(id);
    int length = GetWindowTextLengthA(item);
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    int copied = GetWindowTextA(item, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}

void CDialog::SetItemText(int id, const std::string& text) const {
    SetDlgItemTextA(hwnd, id, text.c_str());
}

void CDialog::EnableItem(int id, bool enable) const {
    EnableWindow(Item(id), enable ? TRUE : FALSE);
}

bool CDialog::IsChecked(int id) const {
    return IsDlgButtonChecked(hwnd, id) == BST_CHECKED;
}

void CDialog::SetChecked(int id, bool checked) const {
    CheckDlgButton(hwnd, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool CDialog::OnCommand(int id, int, HWND) {
    if (id == IDCANCEL) {
        EndDialog(IDCANCEL);
        return true;
    }
    return false;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        self->hwnd = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (self == nullptr) {
        return FALSE;
    }
    // No exception may unwind into USER32.
    try {
        INT_PTR handled = self->Dispatch(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(hwnd, DWLP_USER, 0);
            self->hwnd = nullptr;
            // A window destroyed from outside also ends its modal loop.
            self->ended = true;
        }
        return handled;
    } catch (...) {
        return FALSE;
    }
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInit() ? TRUE : FALSE;
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        case WM_TIMER:
            OnTimer(wParam);
            return TRUE;
        case WM_DESTROY:
            OnDestroy();
            return TRUE;
        default:
            break;
    }
    LRESULT messageResult = 0;
    if (OnMessage(message, wParam, lParam, messageResult)) {
        SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, messageResult);
        return TRUE;
    }
    return FALSE;
}
