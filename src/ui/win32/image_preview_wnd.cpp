// The thumbnail pane: a frame that shows one image file's thumbnail, loaded on a worker thread
// of its own at the frame's size. Used by the main window and the open dialog's panel.
#include "ui/win32/image_preview_wnd.h"

#include <process.h>
#include <shellapi.h>

#include "imagelib/win32/image_library_api.h"
#include "render/dib_rows.h"
#include "base/win32/exception_barrier.h"

namespace {

constexpr const char* kPreviewClass = "VelumarImagePreview";
constexpr DWORD kSettleMs = 50;
constexpr int kFrameMargin = 8;

// Frees the session however the load ends.
class ScopedSession {
public:
    explicit ScopedSession(ImageLibrary& library) : library(library), id(library.cNewSession()) {}
    ~ScopedSession() {
        if (id != 0) {
            library.cDestroySession(id);
        }
    }
    ScopedSession(const ScopedSession&) = delete;
    ScopedSession& operator=(const ScopedSession&) = delete;
    int Id() const { return id; }

private:
    ImageLibrary& library;
    int id;
};

}  // namespace

CImagePreviewWnd::~CImagePreviewWnd() {
    WaitForLoader();
}

void CImagePreviewWnd::WaitForLoader() {
    // The loader never waits for this thread (it only invalidates), so joining cannot deadlock.
    if (loader) {
        WaitForSingleObject(loader.Get(), INFINITE);
        loader.Reset();
    }
}

bool CImagePreviewWnd::ReplaceControl(HWND dialog, int id) {
    HWND placeholder = GetDlgItem(dialog, id);
    if (placeholder == nullptr ||
        !RegisterClassOnce(instance, kPreviewClass, CS_DBLCLKS, nullptr)) {
        return false;
    }
    RECT rect{};
    GetWindowRect(placeholder, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    DWORD edge = static_cast<DWORD>(GetWindowLongPtrA(placeholder, GWL_EXSTYLE)) &
                 (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE);
    if (!CreateAs(kPreviewClass, edge, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect, dialog,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance)) {
        return false;
    }
    SetWindowPos(Handle(), placeholder, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    DestroyWindow(placeholder);
    return true;
}

void CImagePreviewWnd::ShowImage(const std::string& path) {
    if (loading || Handle() == nullptr) {
        return;
    }
    {
        std::lock_guard<std::mutex> guard(lock);
        if (!bitmap.empty() && lstrcmpiA(imagePath.c_str(), path.c_str()) == 0) {
            return;
        }
    }
    WaitForLoader();
    imagePath = path;
    loading = true;
    auto handle = _beginthreadex(nullptr, 0, LoaderMain, this, 0, nullptr);
    if (handle == 0) {
        loading = false;
        return;
    }
    loader.Reset(reinterpret_cast<HANDLE>(handle));
    SetThreadPriority(loader.Get(), THREAD_PRIORITY_NORMAL);
}

void CImagePreviewWnd::ClearImage() {
    {
        std::lock_guard<std::mutex> guard(lock);
        bitmap.clear();
    }
    if (Handle() != nullptr) {
        InvalidateRect(Handle(), nullptr, TRUE);
    }
}

std::optional<std::intptr_t> CImagePreviewWnd::OpenShownImage() {
    if (loading) {
        return std::nullopt;
    }
    {
        std::lock_guard<std::mutex> guard(lock);
        if (bitmap.empty()) {
            return std::nullopt;
        }
    }
    HINSTANCE result =
        ShellExecuteA(Handle(), "open", imagePath.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<std::intptr_t>(result);
}

unsigned __stdcall CImagePreviewWnd::LoaderMain(void* self) {
    auto* pane = static_cast<CImagePreviewWnd*>(self);
    // The handle is read once: the window may go while the load runs.
    HWND window = pane->Handle();
    CallGuarded("CImagePreviewWnd::LoaderMain", 0, [&] {
        pane->Load(window);
        return 0;
    });
    pane->loading = false;
    return 0;
}

void CImagePreviewWnd::Load(HWND window) {
    // Quick successive selections settle before the library is asked.
    Sleep(kSettleMs);
    RECT client{};
    GetClientRect(window, &client);
    {
        std::lock_guard<std::mutex> guard(lock);
        bitmap.clear();
    }
    InvalidateRect(window, nullptr, TRUE);

    ImageLibrary& library = ProcessImageLibrary();
    ScopedSession session(library);
    if (session.Id() == 0) {
        return;
    }
    const ByteArray* dib = nullptr;
    if (!library.cLoadThumbnail(session.Id(), imagePath.c_str(), client.right - kFrameMargin,
                                client.bottom - kFrameMargin) ||
        !library.cGetDIB(session.Id(), &dib, 0) || dib == nullptr) {
        return;
    }
    {
        std::lock_guard<std::mutex> guard(lock);
        bitmap.assign(dib->begin(), dib->end());
    }
    if (IsWindow(window)) {
        InvalidateRect(window, nullptr, TRUE);
    }
}

bool CImagePreviewWnd::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
    switch (message) {
        case WM_PAINT:
            Paint();
            result = 0;
            return true;
        case WM_SIZE: {
            bool shown = false;
            {
                std::lock_guard<std::mutex> guard(lock);
                shown = !bitmap.empty();
            }
            // The thumbnail is made again for the new size.
            if (shown && !loading) {
                ClearImage();
                ShowImage(imagePath);
            }
            return false;
        }
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
    HGDIOBJ previous = SelectObject(dc, GetStockObject(LTGRAY_BRUSH));
    DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED | DFCS_ADJUSTRECT);
    SelectObject(dc, previous);
    {
        std::lock_guard<std::mutex> guard(lock);
        // Painted only when the header's claims fit in the block.
        if (std::optional<DibRows> rows = ReadDibRows(bitmap)) {
            int x = frame.left + (frame.right - frame.left - rows->width) / 2;
            int y = frame.top + (frame.bottom - frame.top - rows->height) / 2;
            SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(rows->width),
                              static_cast<DWORD>(rows->height), 0, 0, 0,
                              static_cast<UINT>(rows->height), rows->bottomRow,
                              reinterpret_cast<const BITMAPINFO*>(bitmap.data()), DIB_RGB_COLORS);
        }
    }
    EndPaint(Handle(), &paint);
}
