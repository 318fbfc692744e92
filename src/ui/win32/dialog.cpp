// A dialog window over a dialog resource: one trampoline that finds the object and calls its
// virtual handlers, the main window's loop with accelerators, true modal dialogs, typed helpers.
#include "ui/win32/dialog.h"

#include "ui/win32/trampoline.h"

CDialog::~CDialog() {
    if (hwnd != nullptr) {
        DestroyWindow(hwnd);
    }
}

INT_PTR CDialog::RunModal(HWND ownerWindow, HACCEL accelerators) {
    ended = false;
    result = -1;
    owner = ownerWindow;
    mode = Mode::Loop;
    if (CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this)) == nullptr) {
        mode = Mode::None;
        return -1;
    }
    if (owner != nullptr && !ended) {
        EnableWindow(owner, FALSE);
    }
    if (!ended) {
        ShowWindow(hwnd, SW_SHOWNORMAL);
    }
    MSG msg;
    // The flag is tested before every wait: a dialog ended inside a sent message, or inside a
    // nested modal loop, leaves this loop without another posted message.
    while (!ended) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
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
            TranslateAcceleratorW(hwnd, accelerators, &msg)) {
            continue;
        }
        if (hwnd != nullptr && IsDialogMessageW(hwnd, &msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    mode = Mode::None;
    return result;
}

INT_PTR CDialog::DoModal(HWND ownerWindow) {
    ended = false;
    result = -1;
    owner = ownerWindow;
    mode = Mode::System;
    INT_PTR returned = DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), owner, DialogProc,
                                       reinterpret_cast<LPARAM>(this));
    mode = Mode::None;
    return returned == -1 ? -1 : result;
}

void CDialog::EndDialog(INT_PTR dialogResult) {
    if (ended) {
        return;
    }
    ended = true;
    result = dialogResult;
    if (hwnd == nullptr) {
        return;
    }
    if (mode == Mode::System) {
        // The system's loop re-enables the owner, then destroys the dialog.
        ::EndDialog(hwnd, dialogResult);
        return;
    }
    // The owner first, so that activation goes back to it and not to another program.
    if (owner != nullptr) {
        EnableWindow(owner, TRUE);
    }
    DestroyWindow(hwnd);
    WakeLoop();
}

void CDialog::WakeLoop() {
    // A message sent from another process, or a nested modal loop, ends the dialog without
    // GetMessage returning; a posted thread message makes the loop look at its flag.
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

void CDialog::OnFinalMessage() {
    hwnd = nullptr;
    if (!ended) {
        // A window destroyed from outside also ends its loop.
        ended = true;
        if (owner != nullptr && mode == Mode::Loop) {
            EnableWindow(owner, TRUE);
        }
        WakeLoop();
    }
}

bool CDialog::OnCommand(int id, int, HWND) {
    if (id == IDCANCEL) {
        EndDialog(IDCANCEL);
        return true;
    }
    return false;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* created = nullptr;
    if (message == WM_INITDIALOG) {
        created = reinterpret_cast<CDialog*>(lParam);
        created->hwnd = hwnd;
    }
    return RouteToObject(
        hwnd, message, DWLP_USER, created, "CDialog::DialogProc", INT_PTR{FALSE},
        [&](CDialog& self) { return self.Dispatch(message, wParam, lParam); },
        [](CDialog& self) { self.OnFinalMessage(); }, [] { return INT_PTR{FALSE}; });
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
    if (!OnMessage(message, wParam, lParam, messageResult)) {
        return FALSE;
    }
    return DialogProcResult(hwnd, message, messageResult);
}
