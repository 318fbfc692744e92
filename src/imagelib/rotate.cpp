// Quarter-turn rotation, copied in square tiles so that reads and writes both stay in cache.
#include "imagelib/rotate.h"

#include <algorithm>
#include <cmath>

namespace pixelops {

namespace {

constexpr std::uint32_t kTile = 64;

// Copies a quarter turn tile by tile. Along a target row the source walks down (or up) one
// column, so a tile reads kTile source rows that stay in cache for the tile's next rows.
template <int C, bool kClockwise>
void QuarterTurn(const PixelImage& src, PixelImage& dst) {
    const std::size_t srcRow = src.RowBytes();
    const std::uint32_t w = src.Width();
    const std::uint32_t h = src.Height();
    for (std::uint32_t ty = 0; ty < dst.Height(); ty += kTile) {
        const std::uint32_t yEnd = std::min(dst.Height(), ty + kTile);
        for (std::uint32_t tx = 0; tx < dst.Width(); tx += kTile) {
            const std::uint32_t xEnd = std::min(dst.Width(), tx + kTile);
            for (std::uint32_t y = ty; y < yEnd; ++y) {
                // Clockwise: target (x, y) is source (y, h - 1 - x); counterclockwise it is
                // source (w - 1 - y, x).
                const std::uint8_t* in = kClockwise ? src.Row(h - 1 - tx) + std::size_t{y} * C
                                                    : src.Row(tx) + std::size_t{w - 1 - y} * C;
                std::uint8_t* out = dst.Row(y) + std::size_t{tx} * C;
                for (std::uint32_t x = tx; x < xEnd; ++x, out += C) {
                    for (int c = 0; c < C; ++c) {
                        out[c] = in[c];
                    }
                    if (kClockwise) {
                        in -= srcRow;
                    } else {
                        in += srcRow;
                    }
                }
            }
        }
    }
}

template <int C>
void Rotate(const PixelImage& src, PixelImage& dst, int quarterTurns) {
    const std::uint32_t w = src.Width();
    const std::uint32_t h = src.Height();
    switch (quarterTurns) {
        case 1:  // clockwise: the left column becomes the top row
            QuarterTurn<C, true>(src, dst);
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
            QuarterTurn<C, false>(src, dst);
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
