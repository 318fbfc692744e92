// Times, with the real program, how long the open dialog's preview takes to show the thumbnail
// of a large image after it is selected, and how long the window makes a message wait
// meanwhile; beside it, in this process, WIC's decode of the same file alone and the image
// library's thumbnail of it to the pane's box (best of the runs, in milliseconds).
// Usage: thumbnail_bench <folder holding photo.jpg and nothing else> <runs>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/wine/bench_clock.h"
#include "imagelib/win32/process_image_library.h"
#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"

namespace {

// The pane's frame inside the panel is about 100 x 90 pixels; the thumbnail fits 8 less.
constexpr int kPaneBoxWidth = 92;
constexpr int kPaneBoxHeight = 84;

// Best time of runs of one library load into a fresh session; negative when a load fails.
template <typename Load>
double BestLoad(int runs, Load load) {
    ImageLibrary& library = ProcessImageLibrary();
    double best = 1e30;
    for (int run = 0; run < runs; ++run) {
        const int session = library.cNewSession();
        LARGE_INTEGER start = Now();
        const bool ok = load(library, session);
        LARGE_INTEGER end = Now();
        library.cDestroySession(session);
        if (!ok) {
            return -1;
        }
        best = std::min(best, Milliseconds(start, end));
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace e2e;
    if (argc != 3) {
        std::fprintf(stderr, "usage: thumbnail_bench FOLDER RUNS\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int runs = std::max(1, std::atoi(argv[2]));
    DeleteTree(kCompanyKey);
    WriteDword(kSettingsKey, "SW", 0);
    WriteDword(kSettingsKey, "SA", 0);
    WriteDword(kSettingsKey, "WH", 1);
    WriteText(kSettingsKey, "PD", folder);
    WriteText(kSettingsKey, "CF", folder + "\\bench.vlt");

    VelumarProcess velumar;
    if (!velumar.Start() || velumar.WaitForMainWindow() == nullptr) {
        std::fprintf(stderr, "Velumar did not start\n");
        return 1;
    }
    double best = 1e30;
    double worstWait = 0;
    for (int run = 0; run < runs; ++run) {
        velumar.PostCommand(kAddFilesButton);
        HWND dialog = WaitForWindow(velumar.ProcessId(), "Select File(s)");
        HWND view = nullptr;
        WaitUntil([&] {
            view = FindWindowExA(FindWindowExA(dialog, nullptr, "SHELLDLL_DefView", nullptr),
                                 nullptr, "SysListView32", nullptr);
            return view != nullptr && SendMessageA(view, LVM_GETITEMCOUNT, 0, 0) >= 1;
        });
        HWND pane = FindDescendant(dialog, 1049);
        if (dialog == nullptr || view == nullptr || pane == nullptr) {
            std::fprintf(stderr, "the open dialog did not come up\n");
            return 1;
        }
        const COLORREF empty = ScreenPixel(CenterOf(pane));
        LARGE_INTEGER start = Now();
        SetListRowSelected(velumar.ProcessId(), view, 0, true);
        double shown = -1;
        while (Milliseconds(start, Now()) < 10000) {
            // The dialog's window must keep answering while the thumbnail loads.
            LARGE_INTEGER asked = Now();
            DWORD_PTR ignored = 0;
            SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
            worstWait = std::max(worstWait, Milliseconds(asked, Now()));
            if (ScreenPixel(CenterOf(pane)) != empty) {
                shown = Milliseconds(start, Now());
                break;
            }
            Sleep(5);
        }
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        WaitUntil([&] { return !IsWindow(dialog); });
        if (shown < 0) {
            std::fprintf(stderr, "no thumbnail appeared\n");
            return 1;
        }
        best = std::min(best, shown);
    }
    velumar.Exit();

    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::string photo = folder + "\\photo.jpg";
    const double decode = BestLoad(runs, [&](ImageLibrary& library, int session) {
        return library.cLoadImage(session, photo.c_str(), 0, 0, 0) != 0;
    });
    const double thumbnail = BestLoad(runs, [&](ImageLibrary& library, int session) {
        const ByteArray* dib = nullptr;
        return library.cLoadThumbnail(session, photo.c_str(), kPaneBoxWidth, kPaneBoxHeight) &&
               library.cGetDIB(session, &dib, 0) && dib != nullptr;
    });
    CoUninitialize();
    std::printf(
        "thumbnail shown %.1f ms, longest wait for an answer %.1f ms, WIC decode alone %.1f ms, "
        "library thumbnail %.1f ms\n",
        best, worstWait, decode, thumbnail);
    return decode < 0 || thumbnail < 0 ? 1 : 0;
}
