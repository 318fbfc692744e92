// Benchmarks of the pixel operations on a 24-megapixel photograph (6000 x 4000) and on its
// desktop-size reduction (1920 x 1080).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "bench/synthetic_image.h"
#include "imagelib/alpha_merge.h"
#include "imagelib/color_reduction.h"
#include "imagelib/dib.h"
#include "imagelib/resize.h"
#include "imagelib/rotate.h"

namespace {

constexpr ImageSize kDesktop{1920, 1080};

const PixelImage& Photo() {
    static const PixelImage photo = SyntheticPhoto(6000, 4000);
    return photo;
}

const PixelImage& Wallpaper() {
    static const PixelImage wallpaper =
        *pixelops::Resize(Photo(), kDesktop, ResizeMethod::AverageColors);
    return wallpaper;
}

// An edge fade of 10% on every side, like the masking of a wallpaper.
const std::vector<std::uint8_t>& EdgeMask() {
    static const std::vector<std::uint8_t> mask = [] {
        std::vector<std::uint8_t> m(std::size_t{kDesktop.width} * kDesktop.height, 255);
        const std::uint32_t bandX = kDesktop.width / 10;
        const std::uint32_t bandY = kDesktop.height / 10;
        for (std::uint32_t y = 0; y < kDesktop.height; ++y) {
            for (std::uint32_t x = 0; x < kDesktop.width; ++x) {
                std::uint32_t v = 255;
                if (x < bandX)
                    v = std::min(v, 255 * x / bandX);
                if (y < bandY)
                    v = std::min(v, 255 * y / bandY);
                m[std::size_t{y} * kDesktop.width + x] = static_cast<std::uint8_t>(v);
            }
        }
        return m;
    }();
    return mask;
}

void BM_ReduceToDesktop(benchmark::State& state) {
    const auto method = static_cast<ResizeMethod>(state.range(0));
    const PixelImage& photo = Photo();
    for (auto _ : state) {
        benchmark::DoNotOptimize(pixelops::Resize(photo, kDesktop, method));
    }
}
BENCHMARK(BM_ReduceToDesktop)
    ->ArgName("method")
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_QuarterTurn(benchmark::State& state) {
    const PixelImage& photo = Photo();
    for (auto _ : state) {
        benchmark::DoNotOptimize(pixelops::RotateQuarterTurns(photo, 1));
    }
}
BENCHMARK(BM_QuarterTurn)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_QuarterTurnDesktop(benchmark::State& state) {
    const PixelImage& wallpaper = Wallpaper();
    for (auto _ : state) {
        benchmark::DoNotOptimize(pixelops::RotateQuarterTurns(wallpaper, 3));
    }
}
BENCHMARK(BM_QuarterTurnDesktop)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReduceColorsDesktop(benchmark::State& state) {
    const PixelImage& wallpaper = Wallpaper();
    for (auto _ : state) {
        benchmark::DoNotOptimize(pixelops::ReduceColors(wallpaper, 248));
    }
}
BENCHMARK(BM_ReduceColorsDesktop)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReduceColorsPhoto(benchmark::State& state) {
    const PixelImage& photo = Photo();
    for (auto _ : state) {
        benchmark::DoNotOptimize(pixelops::ReduceColors(photo, 248));
    }
}
BENCHMARK(BM_ReduceColorsPhoto)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MergeTransparencyDesktop(benchmark::State& state) {
    PixelImage image = Wallpaper().Clone();
    for (auto _ : state) {
        pixelops::MergeOverColor(image, EdgeMask().data(), {128, 64, 0});
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MergeTransparencyDesktop)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SaveBitmapDesktop(benchmark::State& state) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "velumar_bench_wallpaper.bmp").string();
    for (auto _ : state) {
        benchmark::DoNotOptimize(dib::SaveBitmapFile(Wallpaper(), path));
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_SaveBitmapDesktop)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PackDibDesktop(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(dib::Pack(Wallpaper()));
    }
}
BENCHMARK(BM_PackDibDesktop)->Unit(benchmark::kMillisecond)->UseRealTime();

// A whole switch after decoding: reduce, mask, write the wallpaper bitmap.
void BM_PrepareWallpaper(benchmark::State& state) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "velumar_bench_switch.bmp").string();
    for (auto _ : state) {
        PixelImage image = *pixelops::Resize(Photo(), kDesktop, ResizeMethod::AverageColors);
        pixelops::MergeOverColor(image, EdgeMask().data(), {128, 64, 0});
        benchmark::DoNotOptimize(dib::SaveBitmapFile(image, path));
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_PrepareWallpaper)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
