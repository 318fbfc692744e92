// The open dialog with an image preview panel below its standard controls: the "Preview"
// check box, the thumbnail pane and the image information.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/main_window_controls.h"
#include "ui/win32/image_preview_wnd.h"

class CPreviewFileDialog {
public:
    // previewSetting is "OP", toggled by the panel's check box; texts fill the information.
    CPreviewFileDialog(HINSTANCE instance, int& previewSetting, const ControlTexts& texts,
                       ImageLibrary& library);
    virtual ~CPreviewFileDialog() = default;
    CPreviewFileDialog(const CPreviewFileDialog&) = delete;
    CPreviewFileDialog& operator=(const CPreviewFileDialog&) = delete;

    // Runs the dialog in a folder; the chosen names are left in buffer in the open dialog's
    // format. Non-zero on OK; a selection that does not fit the buffer fails.
    BOOL SelectFiles(std::vector<wchar_t>& buffer, DWORD extraOptions,
                     const std::string& initialFolder, HWND owner);

private:
    static UINT_PTR CALLBACK HookProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);
    UINT_PTR OnHookMessage(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);
    void UpdatePanel(HWND panel);

    HINSTANCE instance;
    int& previewSetting;
    const ControlTexts& texts;
    ImageLibrary& library;
    CImagePreviewWnd preview;
    OPENFILENAMEW ofn{};
};
