// Quarter-turn rotation, copied in square tiles so that reads and writes both stay in cache.
#include "imagelib/rotate.h"

#include <algorithm>
#include <cmath>

namespace pixelops {

namespace {

constexpr std::uint32_t kTile = 64;

// Writes dst(x, y) = src(SourceX(x, y), SourceY(x, y)) tile by tile; the source of a quarter
// turn walks a column, so within a tile the source rows touched stay few.
template <int C, typename Source>
void TiledCopy(const PixelImage& src, PixelImage& dst, Source source) {
    for (std::uint32_t ty = 0; ty < dst.Height(); ty += kTile) {
        const std::uint32_t yEnd = std::min(dst.Height(), ty + kTile);
        for (std::uint32_t tx = 0; tx < dst.Width(); tx += kTile) {
            const std::uint32_t xEnd = std::min(dst.Width(), tx + kTile);
            for (std::uint32_t y = ty; y < yEnd; ++y) {
                std::uint8_t* out = dst.Row(y) + std::size_t{tx} * C;
                for (std::uint32_t x = tx; x < xEnd; ++x, out += C) {
                    const auto [sx, sy] = source(x, y);
                    const std::uint8_t* in = src.Row(sy) + std::size_t{sx} * C;
                    for (int c = 0; c < C; ++c) {
                        out[c] = in[c];
                    }
                }
            }
        }
    }
}

struct Point {
    std::uint32_t x;
    std::uint32_t y;
};

template <int C>
void Rotate(const PixelImage& src, PixelImage& dst, int quarterTurns) {
    const std::uint32_t w = src.Width();
    const std::uint32_t h = src.Height();
    switch (quarterTurns) {
        case 1:  // clockwise: the left column becomes the top row
            TiledCopy<C>(src, dst, [h](std::uint32_t x, std::uint32_t y) {
                return Point{y, h - 1 - x};
            });
            break;
        case 2:
            for (std::uint32_t y = 0; y < h; ++y) {
                const std::uint8_t* in = src.Row(h - 1 - y) + std::size_t{w - 1} * C;
                std::uint8_t* out = dst.Row(y);
                for (std::uint32_t x = 0; x < w; ++x, out += C, in -= C) {
                    for (int c = 0; c < C; ++c) {
                        out[c] = in[c];
                    }
                }
            }
            break;
        default:  // counterclockwise: the top row becomes the left column
            TiledCopy<C>(src, dst, [w](std::uint32_t x, std::uint32_t y) {
                return Point{w - 1 - y, x};
            });
            break;
    }
}

}  // namespace

std::optional<int> QuarterTurns(double degrees) {
    if (!std::isfinite(degrees)) {
        return std::nullopt;
    }
    const double turns = degrees / 90.0;
    const double whole = std::round(turns);
    if (std::fabs(turns - whole) > 1e-9 || std::fabs(whole) > 1e9) {
        return std::nullopt;
    }
    const auto n = static_cast<long long>(whole) % 4;
    return static_cast<int>((n + 4) % 4);
}

PixelImage RotateQuarterTurns(const PixelImage& image, int quarterTurns) {
    quarterTurns = ((quarterTurns % 4) + 4) % 4;
    if (quarterTurns == 0) {
        return image.Clone();
    }
    const bool swap = quarterTurns != 2;
    PixelImage out = *PixelImage::Create(swap ? image.Height() : image.Width(),
                                         swap ? image.Width() : image.Height(), image.Format());
    out.SetPalette(image.Palette());
    if (image.Format() == PixelFormat::Bgr24) {
        Rotate<3>(image, out, quarterTurns);
    } else {
        Rotate<1>(image, out, quarterTurns);
    }
    return out;
}

}  // namespace pixelops
