// The thumbnail pane: a frame that shows one image file's thumbnail at the frame's size, made by
// a worker thread of its own. Used by the main window and the open dialog's panel.
#include "ui/win32/image_preview_wnd.h"

#include <shellapi.h>

#include <utility>

#include "base/win32/wide_text.h"
#include "base/win32/dpi.h"
#include "list/path_helpers.h"
#include "render/dib_rows.h"
#include "ui/screen_geometry.h"
#include "ui/win32/app_messages.h"

namespace {

constexpr const wchar_t* kPreviewClass = L"VelumarImagePreview";
// Logical units between the pane's edge and the thumbnail.
constexpr int kFrameMargin = 8;

}  // namespace

CImagePreviewWnd::CImagePreviewWnd(HINSTANCE instance, ImageLibrary& library)
    : instance(instance), loader(library) {}

// The worker went with the window; this only covers a window never destroyed.
CImagePreviewWnd::~CImagePreviewWnd() = default;

bool CImagePreviewWnd::ReplaceControl(HWND dialog, int id) {
    HWND placeholder = GetDlgItem(dialog, id);
    if (placeholder == nullptr ||
        !RegisterClassOnce(instance, kPreviewClass, CS_DBLCLKS, nullptr)) {
        return false;
    }
    RECT rect{};
    GetWindowRect(placeholder, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    DWORD edge = static_cast<DWORD>(GetWindowLongPtrW(placeholder, GWL_EXSTYLE)) &
                 (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE);
    if (!CreateAs(kPreviewClass, edge, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect, dialog,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance)) {
        return false;
    }
    HWND window = Handle();
    SetName("Preview");
    worker = std::make_unique<ThumbnailWorker>(
        loader, [window] { PostMessageW(window, kThumbnailReadyMessage, 0, 0); });
    SetWindowPos(window, placeholder, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    DestroyWindow(placeholder);
    return true;
}

void CImagePreviewWnd::SetName(const std::string& name) {
    // The window text is not drawn; screen readers read it as the pane's name.
    if (name != this->name && Handle() != nullptr) {
        this->name = name;
        SetWindowTextW(Handle(), Widen(name).c_str());
    }
}

void CImagePreviewWnd::ShowImage(const std::string& path) {
    SetName("Preview of " + SplitPath(path, mbcs::NoLeadBytes).name);
    if (path != shownPath && !bitmap.empty()) {
        // Another file's thumbnail never stands for the one being made.
        bitmap.clear();
        InvalidateRect(Handle(), nullptr, TRUE);
    }
    Request(path);
}

void CImagePreviewWnd::Request(const std::string& path) {
    if (!worker) {
        return;
    }
    RECT client{};
    GetClientRect(Handle(), &client);
    const int margin = ScaleForDpi(kFrameMargin, WindowDpi(Handle()));
    worker->Request({path, client.right - margin, client.bottom - margin});
}

void CImagePreviewWnd::ClearImage() {
    if (worker) {
        worker->Clear();
    }
    bitmap.clear();
    shownPath.clear();
    SetName("Preview");
    if (Handle() != nullptr) {
        InvalidateRect(Handle(), nullptr, TRUE);
    }
}

std::optional<std::intptr_t> CImagePreviewWnd::OpenShownImage() {
    if (bitmap.empty() || (worker && worker->Busy())) {
        return std::nullopt;
    }
    HINSTANCE result =
        ShellExecuteW(Handle(), L"open", Widen(shownPath).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<std::intptr_t>(result);
}

void CImagePreviewWnd::OnThumbnailReady() {
    if (!worker) {
        return;
    }
    if (std::optional<Thumbnail> thumbnail = worker->TakeResult()) {
        bitmap = std::move(thumbnail->dib);
        shownPath = std::move(thumbnail->request.path);
        InvalidateRect(Handle(), nullptr, TRUE);
    }
}

bool CImagePreviewWnd::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
    switch (message) {
        case WM_PAINT:
            Paint();
            result = 0;
            return true;
        case WM_SIZE:
            // The thumbnail is made again for the new size.
            if (!bitmap.empty()) {
                Request(shownPath);
            }
            return false;
        case kThumbnailReadyMessage:
            OnThumbnailReady();
            result = 0;
            return true;
        case WM_DESTROY:
            // Waits at most for a decode that cannot stop; the worker posts, never sends. The
            // object may take the place of another dialog's frame later, which starts empty.
            worker.reset();
            bitmap.clear();
            shownPath.clear();
            name.clear();
            return false;
        case WM_NCHITTEST:
            // Clicks go through to the window behind, as on the frame this pane replaced.
            result = HTTRANSPARENT;
            return true;
        default:
            return false;
    }
}

void CImagePreviewWnd::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    RECT frame{};
    GetClientRect(Handle(), &frame);
    // A sunken frame filled in the button face colour: both follow the system's colours.
    DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED | DFCS_ADJUSTRECT);
    // Painted only when the header's claims fit in the block.
    if (std::optional<DibRows> rows = ReadDibRows(bitmap)) {
        int x = frame.left + (frame.right - frame.left - rows->width) / 2;
        int y = frame.top + (frame.bottom - frame.top - rows->height) / 2;
        SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(rows->width),
                          static_cast<DWORD>(rows->height), 0, 0, 0,
                          static_cast<UINT>(rows->height), rows->bottomRow,
                          reinterpret_cast<const BITMAPINFO*>(bitmap.data()), DIB_RGB_COLORS);
    }
    EndPaint(Handle(), &paint);
}
