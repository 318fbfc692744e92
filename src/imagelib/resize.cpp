// Resizing: separable fixed-point filters for averaging and interpolation, index tables for the
// methods that choose a source pixel.
#include "imagelib/resize.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "imagelib/pixel_convert.h"
#include "imagelib/row_bands.h"

namespace pixelops {

namespace {

// Filter weights are 14-bit fixed point. The vertical pass keeps 8 fraction bits in 16-bit
// values (at most 255 * 256), so the horizontal sums stay below 2^32.
constexpr int kWeightBits = 14;
constexpr std::uint32_t kWeightOne = 1u << kWeightBits;
constexpr int kMidShift = kWeightBits - 8;
constexpr int kOutShift = kWeightBits + 8;

// For each target pixel along one axis: the first source pixel it reads and the weights of it
// and the following ones, which sum to exactly kWeightOne.
struct FilterTable {
    std::vector<std::uint32_t> first;
    std::vector<std::uint32_t> offset{0};
    std::vector<std::uint16_t> weights;

    std::uint32_t Count(std::uint32_t j) const { return offset[j + 1] - offset[j]; }
    const std::uint16_t* Weights(std::uint32_t j) const { return &weights[offset[j]]; }

    // Scales raw weights summing to total; the rounding remainder goes to the largest.
    void Add(std::uint32_t firstSource, const std::vector<std::uint64_t>& raw,
             std::uint64_t total) {
        first.push_back(firstSource);
        const std::size_t base = weights.size();
        std::uint32_t sum = 0;
        std::size_t largest = 0;
        for (std::size_t k = 0; k < raw.size(); ++k) {
            const auto w = static_cast<std::uint32_t>(raw[k] * kWeightOne / total);
            weights.push_back(static_cast<std::uint16_t>(w));
            sum += w;
            if (raw[k] > raw[largest]) {
                largest = k;
            }
        }
        weights[base + largest] =
            static_cast<std::uint16_t>(weights[base + largest] + (kWeightOne - sum));
        offset.push_back(static_cast<std::uint32_t>(weights.size()));
    }
};

// Area averaging for target < source: target pixel j covers [j*S/T, (j+1)*S/T) of the source;
// in units of 1/T of a source pixel every overlap is an integer.
FilterTable BoxTable(std::uint32_t source, std::uint32_t target) {
    FilterTable table;
    std::vector<std::uint64_t> raw;
    for (std::uint64_t j = 0; j < target; ++j) {
        const std::uint64_t start = j * source;
        const std::uint64_t end = start + source;
        const std::uint64_t i0 = start / target;
        const std::uint64_t i1 = (end - 1) / target;
        raw.clear();
        for (std::uint64_t i = i0; i <= i1; ++i) {
            raw.push_back(std::min(end, (i + 1) * target) - std::max(start, i * target));
        }
        table.Add(static_cast<std::uint32_t>(i0), raw, source);
    }
    return table;
}

// Linear interpolation between the two source pixels nearest to the target pixel's centre,
// (2j+1)*S/(2T) - 1/2 in source pixels; the edges repeat the outermost pixel.
FilterTable LinearTable(std::uint32_t source, std::uint32_t target) {
    FilterTable table;
    std::vector<std::uint64_t> raw;
    const std::int64_t den = std::int64_t{2} * target;
    for (std::int64_t j = 0; j < target; ++j) {
        const std::int64_t num = (2 * j + 1) * std::int64_t{source} - target;
        std::int64_t i0 = num > 0 ? num / den : 0;
        const std::int64_t frac = num > 0 ? num % den : 0;
        raw.clear();
        if (i0 >= std::int64_t{source} - 1 || frac == 0) {
            i0 = std::min<std::int64_t>(i0, source - 1);
            raw.push_back(1);
            table.Add(static_cast<std::uint32_t>(i0), raw, 1);
        } else {
            raw.push_back(static_cast<std::uint64_t>(den - frac));
            raw.push_back(static_cast<std::uint64_t>(frac));
            table.Add(static_cast<std::uint32_t>(i0), raw, static_cast<std::uint64_t>(den));
        }
    }
    return table;
}

FilterTable WeightTable(std::uint32_t source, std::uint32_t target, bool average) {
    if (target < source && average) {
        return BoxTable(source, target);
    }
    // Equal sizes give single taps of full weight.
    return LinearTable(source, target);
}

// Vertical pass into 16-bit rows, then horizontal pass; one source-width row of temporaries.
template <int C>
void FilterResize(const PixelImage& src, PixelImage& dst, const FilterTable& xt,
                  const FilterTable& yt) {
    const std::size_t n = src.RowBytes();
    const std::uint64_t cost = std::uint64_t{n} * src.Height() + dst.SizeBytes();
    ForRowBands(dst.Height(), cost, [&](std::uint32_t yBegin, std::uint32_t yEnd) {
        std::vector<std::uint32_t> accBuffer(n);
        std::vector<std::uint16_t> midBuffer(n);
        std::uint32_t* __restrict acc = accBuffer.data();
        std::uint16_t* __restrict mid = midBuffer.data();
        for (std::uint32_t y = yBegin; y < yEnd; ++y) {
            const std::uint32_t y0 = yt.first[y];
            const std::uint16_t* wy = yt.Weights(y);
            {
                const std::uint8_t* __restrict row = src.Row(y0);
                const std::uint32_t w = wy[0];
                for (std::size_t i = 0; i < n; ++i) {
                    acc[i] = w * row[i];
                }
            }
            for (std::uint32_t k = 1; k < yt.Count(y); ++k) {
                const std::uint8_t* __restrict row = src.Row(y0 + k);
                const std::uint32_t w = wy[k];
                for (std::size_t i = 0; i < n; ++i) {
                    acc[i] += w * row[i];
                }
            }
            for (std::size_t i = 0; i < n; ++i) {
                mid[i] =
                    static_cast<std::uint16_t>((acc[i] + (1u << (kMidShift - 1))) >> kMidShift);
            }
            std::uint8_t* out = dst.Row(y);
            for (std::uint32_t x = 0; x < dst.Width(); ++x, out += C) {
                const std::uint16_t* wx = xt.Weights(x);
                const std::uint16_t* p = mid + std::size_t{xt.first[x]} * C;
                const std::uint32_t count = xt.Count(x);
                std::array<std::uint32_t, C> sum;
                sum.fill(1u << (kOutShift - 1));
                for (std::uint32_t k = 0; k < count; ++k, p += C) {
                    const std::uint32_t w = wx[k];
                    for (int c = 0; c < C; ++c) {
                        sum[c] += w * p[c];
                    }
                }
                for (int c = 0; c < C; ++c) {
                    out[c] = static_cast<std::uint8_t>(sum[c] >> kOutShift);
                }
            }
        }
    });
}

std::optional<PixelImage> FilterResize(const PixelImage& src, ImageSize size, bool average) {
    std::optional<PixelImage> dst = PixelImage::Create(size.width, size.height, src.Format());
    if (!dst) {
        return std::nullopt;
    }
    const FilterTable xt = WeightTable(src.Width(), size.width, average);
    const FilterTable yt = WeightTable(src.Height(), size.height, average);
    if (src.Format() == PixelFormat::Bgr24) {
        FilterResize<3>(src, *dst, xt, yt);
    } else {
        FilterResize<1>(src, *dst, xt, yt);
    }
    return dst;
}

// The source pixels [first, last] that target pixel j covers, for target <= source.
struct CoveredRange {
    std::uint32_t first;
    std::uint32_t last;
};

std::vector<CoveredRange> CoveredRanges(std::uint32_t source, std::uint32_t target) {
    std::vector<CoveredRange> ranges(target);
    for (std::uint64_t j = 0; j < target; ++j) {
        ranges[j] = {static_cast<std::uint32_t>(j * source / target),
                     static_cast<std::uint32_t>(((j + 1) * source - 1) / target)};
    }
    return ranges;
}

// The source pixel under the centre of each target pixel.
std::vector<std::uint32_t> CentreIndices(std::uint32_t source, std::uint32_t target) {
    std::vector<std::uint32_t> indices(target);
    for (std::uint64_t j = 0; j < target; ++j) {
        indices[j] = static_cast<std::uint32_t>((2 * j + 1) * source / (2 * std::uint64_t{target}));
    }
    return indices;
}

template <int C>
void EliminateResize(const PixelImage& src, PixelImage& dst) {
    const std::vector<std::uint32_t> xs = CentreIndices(src.Width(), dst.Width());
    const std::vector<std::uint32_t> ys = CentreIndices(src.Height(), dst.Height());
    // A reduction reads about every cache line of each picked source row.
    const std::uint64_t cost = std::uint64_t{dst.Height()} * std::max(src.Width(), dst.Width());
    ForRowBands(dst.Height(), cost, [&](std::uint32_t yBegin, std::uint32_t yEnd) {
        for (std::uint32_t y = yBegin; y < yEnd; ++y) {
            const std::uint8_t* in = src.Row(ys[y]);
            std::uint8_t* out = dst.Row(y);
            for (std::uint32_t x = 0; x < dst.Width(); ++x, out += C) {
                const std::uint8_t* p = in + std::size_t{xs[x]} * C;
                for (int c = 0; c < C; ++c) {
                    out[c] = p[c];
                }
            }
        }
    });
}

// A pixel with its brightness above it, so that comparing two of these compares brightness
// first (with GrayLevel's weights, unrounded) and the colour bytes only on a tie. Choosing the
// darkest or lightest pixel is then a plain minimum or maximum, without branches.
struct ColorRank {
    std::uint64_t operator()(const std::uint8_t* p) const {
        const std::uint64_t key = 7471u * p[0] + 38470u * p[1] + 19595u * p[2];
        return key << 24 | std::uint64_t{p[2]} << 16 | std::uint64_t{p[1]} << 8 | p[0];
    }
};

struct ByteRank {
    const std::array<std::uint64_t, 256>* ranks;
    std::uint64_t operator()(const std::uint8_t* p) const { return (*ranks)[*p]; }
};

// Keeps, for each target pixel, the darkest (or lightest) covered source pixel. The choice is
// separable: first down the covered rows of each column, then across the covered columns.
template <int C, bool kDarkest, typename Rank>
void FavorResize(const PixelImage& src, PixelImage& dst, Rank rank) {
    const auto pick = [](std::uint64_t a, std::uint64_t b) {
        return kDarkest ? std::min(a, b) : std::max(a, b);
    };
    const std::vector<CoveredRange> xs = CoveredRanges(src.Width(), dst.Width());
    const std::vector<CoveredRange> ys = CoveredRanges(src.Height(), dst.Height());
    const std::uint32_t width = src.Width();
    const std::uint64_t cost = std::uint64_t{width} * src.Height() * 2;
    ForRowBands(dst.Height(), cost, [&](std::uint32_t yBegin, std::uint32_t yEnd) {
        std::vector<std::uint64_t> bestBuffer(width);
        std::uint64_t* __restrict best = bestBuffer.data();
        for (std::uint32_t y = yBegin; y < yEnd; ++y) {
            const std::uint8_t* first = src.Row(ys[y].first);
            for (std::uint32_t x = 0; x < width; ++x) {
                best[x] = rank(first + std::size_t{x} * C);
            }
            for (std::uint32_t r = ys[y].first + 1; r <= ys[y].last; ++r) {
                const std::uint8_t* row = src.Row(r);
                for (std::uint32_t x = 0; x < width; ++x) {
                    best[x] = pick(best[x], rank(row + std::size_t{x} * C));
                }
            }
            std::uint8_t* out = dst.Row(y);
            for (std::uint32_t x = 0; x < dst.Width(); ++x, out += C) {
                std::uint64_t chosen = best[xs[x].first];
                for (std::uint32_t i = xs[x].first + 1; i <= xs[x].last; ++i) {
                    chosen = pick(chosen, best[i]);
                }
                for (int c = 0; c < C; ++c) {
                    out[c] = static_cast<std::uint8_t>(chosen >> (8 * c));
                }
            }
        }
    });
}

template <bool kDarkest>
void FavorResize(const PixelImage& src, PixelImage& dst) {
    if (src.Format() == PixelFormat::Bgr24) {
        FavorResize<3, kDarkest>(src, dst, ColorRank{});
        return;
    }
    // One-byte pixels rank by the brightness of their colour, the byte itself below it.
    std::array<std::uint64_t, 256> ranks{};
    for (int i = 0; i < 256; ++i) {
        Bgr c{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i),
              static_cast<std::uint8_t>(i)};
        if (src.Format() == PixelFormat::Indexed8) {
            c = static_cast<std::size_t>(i) < src.Palette().size() ? src.Palette()[i] : Bgr{};
        }
        const std::uint8_t bytes[3] = {c.b, c.g, c.r};
        ranks[i] = (ColorRank{}(bytes) >> 24) << 8 | static_cast<std::uint64_t>(i);
    }
    FavorResize<1, kDarkest>(src, dst, ByteRank{&ranks});
}

// Shrinks both axes (target <= source) by choosing source pixels.
PixelImage ChooseResize(const PixelImage& src, ImageSize size, ResizeMethod method) {
    PixelImage dst = *PixelImage::Create(size.width, size.height, src.Format());
    dst.SetPalette(src.Palette());
    const bool oneByte = src.Format() != PixelFormat::Bgr24;
    switch (method) {
        case ResizeMethod::FavorBlack:
            FavorResize<true>(src, dst);
            break;
        case ResizeMethod::FavorWhite:
            FavorResize<false>(src, dst);
            break;
        default:
            if (oneByte) {
                EliminateResize<1>(src, dst);
            } else {
                EliminateResize<3>(src, dst);
            }
            break;
    }
    return dst;
}

}  // namespace

ImageSize FitInside(ImageSize image, ImageSize box) {
    const std::uint64_t w = image.width;
    const std::uint64_t h = image.height;
    if (w * box.height >= h * box.width) {
        const std::uint64_t height = (2 * h * box.width + w) / (2 * w);
        return {box.width, static_cast<std::uint32_t>(std::max<std::uint64_t>(height, 1))};
    }
    const std::uint64_t width = (2 * w * box.height + h) / (2 * h);
    return {static_cast<std::uint32_t>(std::max<std::uint64_t>(width, 1)), box.height};
}

std::optional<PixelImage> Resize(const PixelImage& image, ImageSize size, ResizeMethod method) {
    if (!IsAllowedSize(size.width, size.height)) {
        return std::nullopt;
    }
    if (size == ImageSize{image.Width(), image.Height()}) {
        return image.Clone();
    }
    if (method == ResizeMethod::AverageColors) {
        if (image.Format() == PixelFormat::Indexed8) {
            return FilterResize(ToBgr24(image), size, true);
        }
        return FilterResize(image, size, true);
    }
    const ImageSize chosen{std::min(size.width, image.Width()),
                           std::min(size.height, image.Height())};
    if (chosen == size) {
        return ChooseResize(image, size, method);
    }
    // Some axis grows: shrink the others by choosing first, then interpolate.
    std::optional<PixelImage> shrunk;
    if (chosen != ImageSize{image.Width(), image.Height()}) {
        shrunk = ChooseResize(image, chosen, method);
    }
    const PixelImage& source = shrunk ? *shrunk : image;
    if (source.Format() == PixelFormat::Indexed8) {
        return FilterResize(ToBgr24(source), size, false);
    }
    return FilterResize(source, size, false);
}

}  // namespace pixelops
