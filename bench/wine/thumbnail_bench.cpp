// Times, with the real program, how long the open dialog's preview takes to show the thumbnail
// of a large image after it is selected, and how long the window makes a message wait
// meanwhile. Usage: thumbnail_bench <folder holding photo.jpg and nothing else> <runs>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/wine/bench_clock.h"
#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"

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
    std::printf("thumbnail shown %.1f ms, longest wait for an answer %.1f ms\n", best, worstWait);
    return 0;
}
