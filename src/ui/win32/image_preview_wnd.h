// The thumbnail pane: a frame that shows one image file's thumbnail, loaded on a worker thread
// of its own at the frame's size. Used by the main window and the open dialog's panel.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "base/win32/unique_handle.h"
#include "ui/win32/window.h"

class CImagePreviewWnd : public CWindow {
public:
    explicit CImagePreviewWnd(HINSTANCE instance) : instance(instance) {}
    // Waits for a running load before the window and the thumbnail go.
    ~CImagePreviewWnd() override;

    // Takes the place of a dialog's frame control: its id, rectangle, edge and tab position.
    bool ReplaceControl(HWND dialog, int id);

    // Starts loading the thumbnail of path, unless a load runs or that path is shown already.
    void ShowImage(const std::string& path);
    // Drops the thumbnail and repaints the empty frame.
    void ClearImage();
    // Opens the shown image with its program; nothing while none is shown or one loads.
    std::optional<std::intptr_t> OpenShownImage();

    bool IsLoading() const { return loading; }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    static unsigned __stdcall LoaderMain(void* self);
    void Load(HWND window);
    void Paint();
    void WaitForLoader();

    HINSTANCE instance;
    // Guards bitmap between the window's thread and the loader.
    mutable std::mutex lock;
    // The thumbnail as a packed bitmap (header, colour table, rows); empty when there is none.
    std::vector<std::uint8_t> bitmap;
    // Changed only while no loader runs.
    std::string imagePath;
    std::atomic<bool> loading{false};
    UniqueHandle loader;
};
