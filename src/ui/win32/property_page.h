// A property page over a dialog resource: one trampoline that finds the page object and calls
// its virtual handlers, with the same exception barrier and typed helpers as CDialog. Leaving
// the page and the sheet's OK both ask the page to read its controls back; a refused field
// keeps the page open with the focus on that field.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <optional>

#include "ui/dialog_data.h"
#include "ui/win32/dialog_items.h"

class CPropertyPage : public DialogItems {
public:
    CPropertyPage(HINSTANCE instance, int templateId)
        : instance(instance), templateId(templateId) {}
    CPropertyPage(const CPropertyPage&) = delete;
    CPropertyPage& operator=(const CPropertyPage&) = delete;
    virtual ~CPropertyPage() = default;

    // The page for PropertySheet; the window is made when the page is first shown.
    PROPSHEETPAGEW Describe();
    // The sheet window the page lives in.
    HWND Sheet() const { return GetParent(hwnd); }
    // Whether the sheet ended with OK while this page existed.
    bool WasApplied() const { return applied; }

protected:
    // After the controls exist; the values go into them here.
    virtual void OnInit() {}
    virtual bool OnCommand(int, int, HWND) { return false; }
    // Reads the controls back; a refused field is returned and shown by the base.
    virtual std::optional<FieldError> ReadBack() { return std::nullopt; }
    // The sheet ended with OK; every page that was made gets this.
    virtual void OnApply() {}
    virtual bool OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

    // Shows a refused field's message and gives the field the focus again.
    void ShowFieldError(const FieldError& error) const;
    // Gives the sheet the caption's question-mark button.
    void AddContextHelpToSheet() const;

    HINSTANCE instance;

private:
    static INT_PTR CALLBACK PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    int templateId;
    bool applied = false;
};

// Runs a modal sheet of pages owned by the window; true when it ended with OK.
bool RunPropertySheet(HINSTANCE instance, HWND owner, const char* caption, int iconId,
                      std::initializer_list<CPropertyPage*> pages);
