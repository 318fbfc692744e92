// A dialog window over a dialog resource: one trampoline that finds the object and calls its
// virtual handlers, the main window's loop with accelerators, true modal dialogs, typed helpers.
#pragma once

#include <windows.h>

#include <string>

#include "ui/win32/dialog_items.h"
#include "base/win32/exception_barrier.h"

class CDialog : public DialogItems {
public:
    CDialog(HINSTANCE instance, int templateId) : instance(instance), templateId(templateId) {}
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;
    virtual ~CDialog();

    // The main window's loop: creates the dialog, shows it and dispatches messages until the
    // dialog ends, every message for the dialog first offered to the accelerator table. The
    // loop ends however the dialog ends: a sent or posted command, a close, or a window
    // destroyed from outside. Returns the result given to EndDialog, or -1 when the dialog
    // could not be created.
    INT_PTR RunModal(HWND owner, HACCEL accelerators = nullptr);
    // A nested modal dialog in the system's own modal loop: the owner is re-enabled before
    // the dialog is destroyed, so activation returns to it. Returns as RunModal does.
    INT_PTR DoModal(HWND owner);
    // Ends the dialog with a result and destroys the window.
    void EndDialog(INT_PTR result);
    bool HasEnded() const { return ended; }

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
    enum class Mode { None, Loop, System };

    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void OnFinalMessage();
    static void WakeLoop();

    int templateId;
    HWND owner = nullptr;
    Mode mode = Mode::None;
    bool ended = false;
    INT_PTR result = -1;
};
