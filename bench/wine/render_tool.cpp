// Times, in one Windows process, WIC's decode of an image alone, a whole RenderWallpaper of it to
// a 1920 x 1080 desktop with an edge mask, a switch to it through the renderer unprepared and
// prepared ahead (also cropped to cover, and framed with the picture's colour), the information
// box's GetImageInfo of it, an unprepared switch with the default settings, and a switch with a
// picture per monitor (the image twice) on a 1920 x 1080 and a 1280 x 1024 monitor, unprepared
// and prepared (best of the runs, in milliseconds).
// Usage: render_tool IMAGE OUTPUT-FOLDER RUNS
#include <windows.h>

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/wine/bench_clock.h"
#include "bench/wine/bench_desktop.h"
#include "imagelib/win32/process_image_library.h"
#include "render/masking.h"
#include "render/render_wallpaper.h"
#include "render/wallpaper_renderer.h"
#include "render/win32/win32_desktop.h"
#include "ui/image_info.h"

namespace {

template <typename Work>
double BestOf(int runs, Work work) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        if (!work()) {
            return -1;
        }
        QueryPerformanceCounter(&end);
        best = std::min(best, Milliseconds(start, end));
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: render_tool IMAGE OUTPUT-FOLDER RUNS\n");
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::string image = argv[1];
    const int runs = std::max(1, std::atoi(argv[3]));
    ImageLibrary& library = ProcessImageLibrary();
    BenchDesktop desktop(argv[2], {{0, 0, 1920, 1080, true}, {1920, 0, 3200, 1024}});

    RenderSettings settings;
    settings.resizeMode = 1;
    settings.reductionMethod = 3;
    settings.maskMode = 0;
    settings.maskLeft = settings.maskRight = settings.maskTop = settings.maskBottom = 10;
    DesktopEdgeMask edgeMask;
    edgeMask.Ensure(settings, 1920, 1080);

    // One decode first, so the codec's libraries and the heap are warm for every timing.
    const auto decodeOnce = [&] {
        int session = library.cNewSession();
        bool ok = library.cLoadImage(session, image.c_str(), 0, 0, 0) != 0;
        library.cDestroySession(session);
        return ok;
    };
    decodeOnce();
    double decode = BestOf(runs, decodeOnce);
    double render = BestOf(runs, [&] {
        return RenderWallpaper({image, 0, 0, edgeMask.For(1920, 1080)}, settings,
                               "\\Quorwick Velumar.bmp", library, desktop);
    });
    // A show runs on the renderer's worker: timed from the request to the worker's report.
    std::mutex lock;
    std::condition_variable reported;
    std::map<std::uint64_t, ShowResult> results;
    WallpaperRenderer renderer(library, desktop, Win32FileStamp, "\\Quorwick Velumar.bmp",
                               [&](std::uint64_t ticket, ShowResult result, const std::string&) {
                                   const std::lock_guard guard(lock);
                                   results[ticket] = result;
                                   reported.notify_all();
                               });
    const auto show = [&](const RenderSettings& with) {
        const std::uint64_t ticket = renderer.Show(image, 0, 0, with);
        std::unique_lock guard(lock);
        reported.wait(guard, [&] { return results.contains(ticket); });
        return results[ticket] == ShowResult::Shown;
    };
    const double unprepared = BestOf(runs, [&] { return show(settings); });
    // With the default settings: the reduction picks pixels, no mask.
    const RenderSettings defaults;
    const double plain = BestOf(runs, [&] { return show(defaults); });
    const auto preparedSwitch = [&](const RenderSettings& with) {
        double best = 1e30;
        for (int i = 0; i < runs; ++i) {
            renderer.Prepare(image, 0, 0, with);
            // Time enough for the worker to finish, so only the switch itself is timed.
            Sleep(static_cast<DWORD>(3 * render) + 200);
            best = std::min(best, BestOf(1, [&] { return show(with); }));
        }
        return best;
    };
    const double prepared = preparedSwitch(settings);
    // The covering fits write a display-sized bitmap whatever the picture's shape.
    RenderSettings crop = settings;
    crop.resizeMode = kResizeCrop;
    RenderSettings frame = settings;
    frame.resizeMode = kResizeFrame;
    frame.pictureColor = true;
    const double preparedCrop = preparedSwitch(crop);
    const double preparedFrame = preparedSwitch(frame);
    const double info = BestOf(runs, [&] { return GetImageInfo(library, image).has_value(); });
    RenderSettings perMonitor = settings;
    perMonitor.monitorMode = 2;
    const std::vector<ShowPicture> two = {{image, 0, 0}, {image, 0, 0}};
    const auto showTwo = [&] {
        const std::uint64_t ticket = renderer.Show(two, perMonitor);
        std::unique_lock guard(lock);
        reported.wait(guard, [&] { return results.contains(ticket); });
        return results[ticket] == ShowResult::Shown;
    };
    const double twoUnprepared = BestOf(runs, showTwo);
    double twoPrepared = 1e30;
    for (int i = 0; i < runs; ++i) {
        renderer.Prepare(two, perMonitor);
        Sleep(static_cast<DWORD>(3 * twoUnprepared) + 200);
        twoPrepared = std::min(twoPrepared, BestOf(1, showTwo));
    }
    std::printf(
        "decode %.1f ms, render %.1f ms, unprepared %.1f ms, prepared %.1f ms, info %.2f ms, "
        "defaults %.1f ms, two-monitors %.1f ms, two-prepared %.1f ms, crop-prepared %.1f ms, "
        "frame-prepared %.1f ms\n",
        decode, render, unprepared, prepared, info, plain, twoUnprepared, twoPrepared, preparedCrop,
        preparedFrame);
    CoUninitialize();
    return decode < 0 || render < 0 || unprepared < 0 || prepared < 0 || info < 0 || plain < 0 ||
                   twoUnprepared < 0 || twoPrepared < 0 || preparedCrop < 0 || preparedFrame < 0
               ? 1
               : 0;
}
