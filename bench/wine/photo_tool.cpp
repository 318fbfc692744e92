// Times, in one Windows process, what the bundled decoders change for a photo: WIC's full decode
// of it, an unprepared switch to it fitting a 1024 x 768 desktop (through the bundled decoder, as
// Velumar does, or through WIC alone, as before), the information box's reading of it and the
// library's thumbnail for the open dialog's preview; and the peak memory of one such switch.
// Usage:
//   photo_tool time IMAGE FOLDER RUNS      -> "wic-decode A ms, switch B ms, wic-switch C ms,
//                                              info D ms, thumbnail E ms"
//   photo_tool memory IMAGE FOLDER ours|wic -> "peak F MiB" (one switch in a fresh process)
//   photo_tool decode IMAGE RUNS           -> "decode G ms" (the bundled decoder, full size)
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "bench/wine/bench_clock.h"
#include "bench/wine/bench_desktop.h"
#include "imagelib/photo_decoder.h"
#include "imagelib/session_image_library.h"
#include "imagelib/win32/wic_decoder.h"
#include "render/wallpaper_renderer.h"
#include "render/win32/win32_desktop.h"
#include "ui/image_info.h"

namespace {

template <typename Work>
double BestOf(int runs, Work work) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const LARGE_INTEGER start = Now();
        if (!work()) {
            return -1;
        }
        best = std::min(best, Milliseconds(start, Now()));
    }
    return best;
}

// Unprepared switches to the image, fitted to a 1024 x 768 desktop by Average Colors.
class Switcher {
public:
    Switcher(ImageLibrary& library, const std::string& folder)
        : desktop(folder, {{0, 0, 1024, 768, true}}),
          renderer(library, desktop, Win32FileStamp, "\\Quorwick Velumar.bmp",
                   [this](std::uint64_t ticket, ShowResult result, const std::string&) {
                       const std::lock_guard guard(lock);
                       results[ticket] = result;
                       reported.notify_all();
                   }) {
        settings.resizeMode = 1;
        settings.reductionMethod = 3;
    }

    bool Show(const std::string& image) {
        const std::uint64_t ticket = renderer.Show(image, 0, 0, settings);
        std::unique_lock guard(lock);
        reported.wait(guard, [&] { return results.contains(ticket); });
        return results[ticket] == ShowResult::Shown;
    }

private:
    RenderSettings settings;
    BenchDesktop desktop;
    std::mutex lock;
    std::condition_variable reported;
    std::map<std::uint64_t, ShowResult> results;
    WallpaperRenderer renderer;
};

}  // namespace

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    WicDecoder wic;
    PhotoDecoder photos(wic);
    SessionImageLibrary ours(photos);
    SessionImageLibrary wicOnly(wic);
    const auto decode = [](ImageDecoder& decoder, const std::string& image) {
        return decoder.DecodePage(image, 0).has_value();
    };

    if (argc == 5 && std::strcmp(argv[1], "time") == 0) {
        const std::string image = argv[2];
        const int runs = std::max(1, std::atoi(argv[4]));
        // One of each first, so libraries and the heap are warm for every timing.
        decode(wic, image);
        decode(photos, image);
        const double wicDecode = BestOf(runs, [&] { return decode(wic, image); });
        Switcher switcher(ours, argv[3]);
        Switcher wicSwitcher(wicOnly, argv[3]);
        const double ourSwitch = BestOf(runs, [&] { return switcher.Show(image); });
        const double wicSwitch = BestOf(runs, [&] { return wicSwitcher.Show(image); });
        const double info = BestOf(runs, [&] { return GetImageInfo(ours, image).has_value(); });
        const double thumbnail = BestOf(runs, [&] {
            const int session = ours.cNewSession();
            const bool ok = ours.cLoadThumbnail(session, image.c_str(), 92, 84) != 0;
            ours.cDestroySession(session);
            return ok;
        });
        std::printf(
            "wic-decode %.1f ms, switch %.1f ms, wic-switch %.1f ms, info %.2f ms, "
            "thumbnail %.1f ms\n",
            wicDecode, ourSwitch, wicSwitch, info, thumbnail);
        return wicDecode < 0 || ourSwitch < 0 || wicSwitch < 0 || info < 0 || thumbnail < 0;
    }
    if (argc == 5 && std::strcmp(argv[1], "memory") == 0) {
        Switcher switcher(std::strcmp(argv[4], "wic") == 0 ? wicOnly : ours, argv[3]);
        const bool shown = switcher.Show(argv[2]);
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof(counters);
        GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
        std::printf("peak %.1f MiB\n", static_cast<double>(counters.PeakWorkingSetSize) / 1048576);
        return shown ? 0 : 1;
    }
    if (argc == 4 && std::strcmp(argv[1], "decode") == 0) {
        const std::string image = argv[2];
        decode(photos, image);
        const double ms =
            BestOf(std::max(1, std::atoi(argv[3])), [&] { return decode(photos, image); });
        std::printf("decode %.1f ms\n", ms);
        return ms < 0;
    }
    std::fprintf(stderr, "usage: photo_tool time|memory|decode ...\n");
    return 2;
}
