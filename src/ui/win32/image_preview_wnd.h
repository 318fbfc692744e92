// The thumbnail pane: a frame that shows one image file's thumbnail at the frame's size, made by
// a worker thread of its own. Used by the main window and the open dialog's panel.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/thumbnail_worker.h"
#include "ui/win32/window.h"

class CImagePreviewWnd : public CWindow {
public:
    CImagePreviewWnd(HINSTANCE instance, ImageLibrary& library);
    ~CImagePreviewWnd() override;

    // Takes the place of a dialog's frame control: its id, rectangle, edge and tab position.
    bool ReplaceControl(HWND dialog, int id);

    // Shows the thumbnail of path once it is made; the newest path asked for wins.
    void ShowImage(const std::string& path);
    // Drops the thumbnail, cancels its making and repaints the empty frame.
    void ClearImage();
    // Opens the shown image with its program; nothing while none is shown or one loads.
    std::optional<std::intptr_t> OpenShownImage();

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Request(const std::string& path);
    void OnThumbnailReady();
    void Paint();
    void SetName(const std::string& name);

    HINSTANCE instance;
    LibraryThumbnailLoader loader;
    // Lives from the window's creation to its WM_DESTROY, so the window it posts to is there.
    std::unique_ptr<ThumbnailWorker> worker;
    // The thumbnail shown, as a packed bitmap, and its file; only the window's thread uses them.
    std::vector<std::uint8_t> bitmap;
    std::string shownPath;
    // The window text: "Preview of " and the file name asked for, or "Preview" when cleared.
    std::string name;
};
