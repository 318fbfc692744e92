// The desktop-size edge mask at 3840 x 2160, built once per settings change; and the resize
// step of the three fits side by side, a 3000 x 4000 portrait photo to a wide display at
// 1920 x 1080 and 3840 x 2160: the plain fit, the crop around what matters and the blurred frame.
#include <benchmark/benchmark.h>

#include "bench/one_picture_decoder.h"
#include "bench/synthetic_image.h"
#include "imagelib/session_image_library.h"
#include "render/masking.h"

namespace {

void EdgeMask4K(benchmark::State& state) {
    RenderSettings settings;
    settings.maskMode = 0;
    settings.maskLeft = settings.maskRight = settings.maskTop = settings.maskBottom = 20;
    for (auto _ : state) {
        std::optional<OpacityMask> mask = BuildEdgeMask(settings, 3840, 2160);
        benchmark::DoNotOptimize(mask->bytes.data());
    }
}
BENCHMARK(EdgeMask4K)->Unit(benchmark::kMillisecond)->UseRealTime();

enum Fit { kPlainFit, kCrop, kFrame };

void Fits(benchmark::State& state) {
    static OnePictureDecoder decoder(SyntheticPhoto(3000, 4000));
    SessionImageLibrary library(decoder);
    const auto fit = static_cast<Fit>(state.range(0));
    const int width = static_cast<int>(state.range(1));
    const int height = width * 9 / 16;
    const int session = library.cNewSession();
    for (auto _ : state) {
        state.PauseTiming();
        library.cLoadImage(session, "photo", 0, 0, 0);
        state.ResumeTiming();
        switch (fit) {
            case kPlainFit:
                library.cOpResize(session, width, height, 1, 1, kResizeAverageColors);
                break;
            case kCrop:
                library.cOpResizeToCover(session, width, height, kResizeAverageColors);
                break;
            case kFrame:
                library.cOpResizeFramed(session, width, height, kResizeAverageColors);
                break;
        }
    }
    library.cDestroySession(session);
}
BENCHMARK(Fits)
    ->ArgNames({"fit", "width"})
    ->ArgsProduct({{kPlainFit, kCrop, kFrame}, {1920, 3840}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
