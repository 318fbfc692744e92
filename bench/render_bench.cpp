// The desktop-size edge mask at 3840 x 2160, built once per settings change.
#include <benchmark/benchmark.h>

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

}  // namespace

BENCHMARK_MAIN();
