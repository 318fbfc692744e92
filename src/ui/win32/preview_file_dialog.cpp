// The open dialog with an image preview panel below its standard controls: the "Preview"
// check box, the thumbnail pane and the image information.
#include "ui/win32/preview_file_dialog.h"

#include <commdlg.h>

#include "base/win32/deferred_import.h"
#include "base/win32/current_directory.h"
#include "base/win32/wide_text.h"
#include "list/path_helpers.h"
#include "imagelib/win32/wic_decoder.h"
#include "list/win32/win32_file_system.h"
#include "resource.h"
#include "ui/image_info.h"
#include "ui/preview_panel.h"
#include "ui/screen_geometry.h"
#include "ui/win32/help.h"
#include "ui/win32/trampoline.h"

namespace {

void CenterOver(HWND window, HWND owner) {
    RECT w{};
    RECT o{};
    GetWindowRect(window, &w);
    if (owner == nullptr || !IsWindowVisible(owner) || !GetWindowRect(owner, &o)) {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &o, 0);
    }
    int x = o.left + ((o.right - o.left) - (w.right - w.left)) / 2;
    int y = o.top + ((o.bottom - o.top) - (w.bottom - w.top)) / 2;
    // Kept inside the work area of the monitor it opens on, also when the owner is at an edge.
    RECT centred{x, y, x + (w.right - w.left), y + (w.bottom - w.top)};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoW(MonitorFromRect(&centred, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        const WindowRect inside =
            KeepInsideArea({centred.left, centred.top, centred.right, centred.bottom},
                           {work.left, work.top, work.right, work.bottom});
        x = inside.left;
        y = inside.top;
    }
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A text the open dialog gives on request (CDM_GETSPEC, CDM_GETFILEPATH), at its full length.
// Asked with no buffer, the dialog tells the length, with the NUL on some systems and without
// it on others: one more character serves both.
std::string OpenDialogText(HWND openDialog, UINT message) {
    LRESULT length = SendMessageW(openDialog, message, 0, 0);
    if (length <= 0) {
        return {};
    }
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(openDialog, message, static_cast<WPARAM>(text.size()),
                 reinterpret_cast<LPARAM>(text.data()));
    return Narrow(text.data());
}

}  // namespace

CPreviewFileDialog::CPreviewFileDialog(HINSTANCE instance, int& previewSetting,
                                       const ControlTexts& texts, ImageLibrary& library)
    : instance(instance),
      previewSetting(previewSetting),
      texts(texts),
      library(library),
      preview(instance, library) {}

BOOL CPreviewFileDialog::SelectFiles(std::vector<wchar_t>& buffer, DWORD extraOptions,
                                     const std::string& initialFolder, HWND owner) {
    // "Image Files" first, chosen by default, then every file.
    const std::wstring patterns = Widen(ImageFilePatterns(WicDecoderExtensions()));
    std::wstring filter = L"Image Files (" + patterns + L")";
    filter += L'\0' + patterns + L'\0' + L"All Files" + L'\0' + L"*.*" + L'\0';
    std::fill(buffer.begin(), buffer.end(), L'\0');
    const std::wstring folder = Widen(initialFolder);
    ofn = OPENFILENAMEW{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.hInstance = instance;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = L"Select File(s)";
    ofn.Flags =
        extraOptions | OFN_EXPLORER | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK | OFN_HIDEREADONLY;
    ofn.lpTemplateName = MAKEINTRESOURCEW(IDD_PREVIEW_PANEL);
    ofn.lpfnHook = HookProc;
    ofn.lCustData = reinterpret_cast<LPARAM>(this);
    auto* open = DeferredImport<decltype(GetOpenFileNameW)>("comdlg32.dll", "GetOpenFileNameW");
    return open != nullptr && open(&ofn);
}

UINT_PTR CALLBACK CPreviewFileDialog::HookProc(HWND panel, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    // The panel's first message carries the dialog's structure, and in it this object.
    CPreviewFileDialog* created = nullptr;
    if (message == WM_INITDIALOG) {
        created = reinterpret_cast<CPreviewFileDialog*>(
            reinterpret_cast<const OPENFILENAMEW*>(lParam)->lCustData);
    }
    return RouteToObject(
        panel, message, DWLP_USER, created, "CPreviewFileDialog::HookProc", UINT_PTR{0},
        [&](CPreviewFileDialog& self) {
            return self.OnHookMessage(panel, message, wParam, lParam);
        },
        [](CPreviewFileDialog&) {}, [] { return UINT_PTR{0}; });
}

UINT_PTR CPreviewFileDialog::OnHookMessage(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            CenterOver(GetParent(panel), ofn.hwndOwner);
            preview.ReplaceControl(panel, IDC_PANEL_PREVIEW_FRAME);
            CheckDlgButton(panel, IDC_PANEL_PREVIEW_CHECK,
                           previewSetting != 0 ? BST_CHECKED : BST_UNCHECKED);
            return TRUE;
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const OFNOTIFYW*>(lParam);
            if (header.hdr.code == CDN_SELCHANGE) {
                UpdatePanel(panel);
                return TRUE;
            }
            return FALSE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_PANEL_PREVIEW_CHECK) {
                previewSetting = previewSetting == 0 ? 1 : 0;
                UpdatePanel(panel);
            }
            return FALSE;
        case WM_HELP: {
            BOOL answered = ShowContextHelp(*reinterpret_cast<const HELPINFO*>(lParam));
            SetWindowLongPtrW(panel, DWLP_MSGRESULT, answered);
            return answered;
        }
        default:
            return FALSE;
    }
}

void CPreviewFileDialog::UpdatePanel(HWND panel) {
    HWND openDialog = GetParent(panel);
    std::string nameText = OpenDialogText(openDialog, CDM_GETSPEC);
    SetDlgItemTextW(panel, IDC_PANEL_INFO, L"");
    if (ClassifyFileNameText(nameText) == PanelSelection::None) {
        preview.ClearImage();
        return;
    }
    std::string path = OpenDialogText(openDialog, CDM_GETFILEPATH);
    Win32FileSystem fileSystem;
    if (!IsExistingFile(path, fileSystem)) {
        preview.ClearImage();
        return;
    }
    std::optional<ImageInfo> image = GetImageInfo(library, path);
    std::string info = image ? FormatImageInfo(texts.imageInfoFormat, *image) : texts.notAnImage;
    SetDlgItemTextW(panel, IDC_PANEL_INFO, Widen(info).c_str());
    if (previewSetting == 1) {
        preview.ShowImage(path);
    } else {
        preview.ClearImage();
    }
}
