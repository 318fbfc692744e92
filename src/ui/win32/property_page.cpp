// A property page over a dialog resource: one trampoline that finds the page object and calls
// its virtual handlers, with the same exception barrier and typed helpers as CDialog.
#include "ui/win32/property_page.h"

#include <vector>

#include "base/win32/message_box.h"
#include "base/win32/wide_text.h"
#include "ui/win32/help.h"
#include "ui/win32/trampoline.h"

PROPSHEETPAGEW CPropertyPage::Describe() {
    PROPSHEETPAGEW page{};
    page.dwSize = sizeof(page);
    page.dwFlags = PSP_DEFAULT;
    page.hInstance = instance;
    page.pszTemplate = MAKEINTRESOURCEW(templateId);
    page.pfnDlgProc = PageProc;
    page.lParam = reinterpret_cast<LPARAM>(this);
    return page;
}

void CPropertyPage::ShowFieldError(const FieldError& error) const {
    ShowMessageBox(hwnd, error.message, error.exclamation ? MB_ICONEXCLAMATION : 0);
    FocusItem(error.controlId);
}

void CPropertyPage::AddContextHelpToSheet() const {
    HWND sheet = Sheet();
    SetWindowLongPtrW(sheet, GWL_EXSTYLE,
                      GetWindowLongPtrW(sheet, GWL_EXSTYLE) | WS_EX_CONTEXTHELP);
}

INT_PTR CALLBACK CPropertyPage::PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CPropertyPage* created = nullptr;
    if (message == WM_INITDIALOG) {
        const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        created = reinterpret_cast<CPropertyPage*>(page->lParam);
        created->hwnd = hwnd;
    }
    return RouteToObject(
        hwnd, message, DWLP_USER, created, "CPropertyPage::PageProc", INT_PTR{FALSE},
        [&](CPropertyPage& self) { return self.Dispatch(message, wParam, lParam); },
        [](CPropertyPage& self) { self.hwnd = nullptr; }, [] { return INT_PTR{FALSE}; });
}

INT_PTR CPropertyPage::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInit();
            return TRUE;
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))
                       ? TRUE
                       : FALSE;
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            if (header.code == PSN_KILLACTIVE) {
                // TRUE keeps the page: it cannot be left, nor the sheet closed with OK.
                std::optional<FieldError> error = ReadBack();
                if (error) {
                    ShowFieldError(*error);
                }
                return DialogProcResult(hwnd, message, error ? TRUE : FALSE);
            }
            if (header.code == PSN_APPLY) {
                applied = true;
                OnApply();
                return DialogProcResult(hwnd, message, PSNRET_NOERROR);
            }
            break;
        }
        case WM_HELP:
            // Left to the dialog manager's own handling when no pop-up is shown.
            if (ShowContextHelp(*reinterpret_cast<const HELPINFO*>(lParam))) {
                return DialogProcResult(hwnd, message, TRUE);
            }
            return FALSE;
        default:
            break;
    }
    LRESULT messageResult = 0;
    if (!OnMessage(message, wParam, lParam, messageResult)) {
        return FALSE;
    }
    return DialogProcResult(hwnd, message, messageResult);
}

bool RunPropertySheet(HINSTANCE instance, HWND owner, const char* caption, int iconId,
                      std::initializer_list<CPropertyPage*> pages) {
    std::vector<PROPSHEETPAGEW> described;
    for (CPropertyPage* page : pages) {
        described.push_back(page->Describe());
    }
    const std::wstring title = Widen(caption);
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_USEICONID | PSH_NOAPPLYNOW;
    header.hwndParent = owner;
    header.hInstance = instance;
    header.pszIcon = MAKEINTRESOURCEW(iconId);
    header.pszCaption = title.c_str();
    header.nPages = static_cast<UINT>(described.size());
    header.nStartPage = 0;
    header.ppsp = described.data();
    PropertySheetW(&header);
    // Every page that was made gets PSN_APPLY on OK, the first page always exists.
    for (CPropertyPage* page : pages) {
        if (page->WasApplied()) {
            return true;
        }
    }
    return false;
}
