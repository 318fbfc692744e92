// Colour reduction: an exact palette when the colours are few, else median cut over a histogram
// of 6 bits per channel (exact levels for one-byte images) with nearest-colour mapping.
#include "imagelib/color_reduction.h"
#include "imagelib/pixel_convert.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <vector>

namespace pixelops {

namespace {

std::uint32_t Pack(Bgr c) {
    return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
}

// Distinct colours in order of first appearance, each with its palette index; gives up as soon
// as there are more than the limit.
class ExactPalette {
public:
    explicit ExactPalette(int limit) : limit(limit) { slots.fill(kEmpty); }

    // The colour's index, or -1 when it would exceed the limit.
    int IndexOf(Bgr c) {
        const std::uint32_t key = Pack(c);
        std::uint32_t slot = (key * 2654435761u) >> (32 - kSlotBits);
        while (slots[slot] != kEmpty) {
            if (keys[slot] == key) {
                return slots[slot];
            }
            slot = (slot + 1) & (kSlots - 1);
        }
        if (static_cast<int>(colors.size()) == limit) {
            return -1;
        }
        keys[slot] = key;
        slots[slot] = static_cast<std::int16_t>(colors.size());
        colors.push_back(c);
        return slots[slot];
    }

    std::vector<Bgr> colors;

private:
    static constexpr int kSlotBits = 10;
    static constexpr std::uint32_t kSlots = 1u << kSlotBits;
    static constexpr std::int16_t kEmpty = -1;
    int limit;
    std::array<std::uint32_t, kSlots> keys{};
    std::array<std::int16_t, kSlots> slots{};
};

std::optional<PixelImage> ReduceExactly(const PixelImage& image, int maxColors) {
    PixelImage out = *PixelImage::Create(image.Width(), image.Height(), PixelFormat::Indexed8);
    ExactPalette palette(maxColors);
    const std::size_t count = std::size_t{image.Width()} * image.Height();
    const std::uint8_t* src = image.Data();
    std::uint8_t* dst = out.Data();
    if (image.Format() == PixelFormat::Bgr24) {
        std::uint32_t lastKey = 0xFFFFFFFFu;
        int lastIndex = 0;
        for (std::size_t i = 0; i < count; ++i, src += 3) {
            const Bgr c{src[0], src[1], src[2]};
            if (Pack(c) != lastKey) {
                lastIndex = palette.IndexOf(c);
                if (lastIndex < 0) {
                    return std::nullopt;
                }
                lastKey = Pack(c);
            }
            dst[i] = static_cast<std::uint8_t>(lastIndex);
        }
    } else {
        const std::array<Bgr, 256> colors = ByteColors(image);
        std::array<int, 256> map;
        map.fill(-1);
        for (std::size_t i = 0; i < count; ++i) {
            int& index = map[src[i]];
            if (index < 0) {
                index = palette.IndexOf(colors[src[i]]);
                if (index < 0) {
                    return std::nullopt;
                }
            }
            dst[i] = static_cast<std::uint8_t>(index);
        }
    }
    out.SetPalette(std::move(palette.colors));
    return out;
}

// One histogram cell: how many pixels fell into it and their mean colour.
struct Cell {
    std::uint32_t bin;
    double count;
    std::array<double, 3> mean;  // blue, green, red
};

// A box of median cut: a range of cells with its statistics.
struct Box {
    std::size_t begin;
    std::size_t end;
    double count = 0;
    std::array<double, 3> mean{};
    double error = 0;  // sum of squared distances of the pixels to the mean
    int axis = 0;      // the channel of the largest spread
};

Box MakeBox(const std::vector<Cell>& cells, std::size_t begin, std::size_t end) {
    Box box{begin, end};
    std::array<double, 3> sum{};
    std::array<double, 3> squares{};
    for (std::size_t i = begin; i < end; ++i) {
        const Cell& cell = cells[i];
        box.count += cell.count;
        for (int c = 0; c < 3; ++c) {
            sum[c] += cell.count * cell.mean[c];
            squares[c] += cell.count * cell.mean[c] * cell.mean[c];
        }
    }
    double widest = -1;
    for (int c = 0; c < 3; ++c) {
        box.mean[c] = sum[c] / box.count;
        const double spread = squares[c] - sum[c] * box.mean[c];
        box.error += spread;
        if (spread > widest) {
            widest = spread;
            box.axis = c;
        }
    }
    return box;
}

// Median cut: splits the box of the largest error at the pixel median of its widest channel
// until there are maxColors boxes or none can be split.
std::vector<Bgr> MedianCut(std::vector<Cell>& cells, int maxColors) {
    std::vector<Box> boxes{MakeBox(cells, 0, cells.size())};
    while (static_cast<int>(boxes.size()) < maxColors) {
        std::size_t pick = boxes.size();
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const Box& b = boxes[i];
            if (b.end - b.begin > 1 && b.error > 0 &&
                (pick == boxes.size() || b.error > boxes[pick].error)) {
                pick = i;
            }
        }
        if (pick == boxes.size()) {
            break;
        }
        const Box box = boxes[pick];
        const int axis = box.axis;
        std::sort(cells.begin() + box.begin, cells.begin() + box.end,
                  [axis](const Cell& a, const Cell& b) {
                      return a.mean[axis] != b.mean[axis] ? a.mean[axis] < b.mean[axis]
                                                          : a.bin < b.bin;
                  });
        double below = 0;
        std::size_t split = box.begin + 1;
        for (std::size_t i = box.begin; i + 1 < box.end; ++i) {
            below += cells[i].count;
            split = i + 1;
            if (below * 2 >= box.count) {
                break;
            }
        }
        boxes[pick] = MakeBox(cells, box.begin, split);
        boxes.push_back(MakeBox(cells, split, box.end));
    }
    std::vector<Bgr> palette;
    for (const Box& box : boxes) {
        const auto channel = [&box](int c) {
            return static_cast<std::uint8_t>(std::clamp(box.mean[c] + 0.5, 0.0, 255.0));
        };
        palette.push_back({channel(0), channel(1), channel(2)});
    }
    return palette;
}

std::uint8_t Nearest(const std::vector<Bgr>& palette, const std::array<double, 3>& color) {
    std::size_t best = 0;
    double bestDistance = 1e30;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const double db = palette[i].b - color[0];
        const double dg = palette[i].g - color[1];
        const double dr = palette[i].r - color[2];
        const double d = db * db + dg * dg + dr * dr;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return static_cast<std::uint8_t>(best);
}

constexpr std::uint32_t Bin6(const std::uint8_t* p) {
    return ((std::uint32_t{p[2]} >> 2) << 12) | ((std::uint32_t{p[1]} >> 2) << 6) |
           (std::uint32_t{p[0]} >> 2);
}

// A cell from the sums of its pixels' channels.
Cell MakeCell(std::uint32_t bin, std::uint32_t count, const std::array<std::uint64_t, 3>& sums) {
    const double n = count;
    return {bin, n, {sums[0] / n, sums[1] / n, sums[2] / n}};
}

// The palette index of every pixel, from the cells of the bins the pixels fall into. Large
// images count their pixels in a table of every bin; small ones sort their pixels by bin, which
// gives the same cells without touching the whole table.
PixelImage ReduceColorImage(const PixelImage& image, int maxColors) {
    constexpr std::size_t kBins = std::size_t{1} << 18;
    const std::size_t count = std::size_t{image.Width()} * image.Height();
    const std::uint8_t* const pixels = image.Data();
    PixelImage out = *PixelImage::Create(image.Width(), image.Height(), PixelFormat::Indexed8);
    std::uint8_t* dst = out.Data();
    std::vector<Cell> cells;
    if (count * 16 < kBins) {
        std::vector<std::pair<std::uint32_t, std::uint32_t>> order(count);  // bin, pixel
        for (std::size_t i = 0; i < count; ++i) {
            order[i] = {Bin6(pixels + 3 * i), static_cast<std::uint32_t>(i)};
        }
        std::sort(order.begin(), order.end());
        // Each run of one bin: its bin and where it starts; the median cut reorders the cells.
        std::vector<std::uint32_t> runBins;
        std::vector<std::size_t> runStarts;
        for (std::size_t i = 0; i < count;) {
            std::size_t end = i;
            std::array<std::uint64_t, 3> sums{};
            for (; end < count && order[end].first == order[i].first; ++end) {
                for (int c = 0; c < 3; ++c) {
                    sums[c] += pixels[3 * std::size_t{order[end].second} + c];
                }
            }
            runBins.push_back(order[i].first);
            runStarts.push_back(i);
            cells.push_back(MakeCell(order[i].first, static_cast<std::uint32_t>(end - i), sums));
            i = end;
        }
        std::vector<Bgr> palette = MedianCut(cells, maxColors);
        for (const Cell& cell : cells) {
            const std::uint8_t index = Nearest(palette, cell.mean);
            const auto k = static_cast<std::size_t>(
                std::lower_bound(runBins.begin(), runBins.end(), cell.bin) - runBins.begin());
            const std::size_t end = k + 1 < runStarts.size() ? runStarts[k + 1] : count;
            for (std::size_t i = runStarts[k]; i < end; ++i) {
                dst[order[i].second] = index;
            }
        }
        out.SetPalette(std::move(palette));
        return out;
    }
    std::vector<std::uint32_t> counts(kBins);
    std::vector<std::array<std::uint64_t, 3>> sums(kBins);
    const std::uint8_t* src = pixels;
    for (std::size_t i = 0; i < count; ++i, src += 3) {
        const std::uint32_t bin = Bin6(src);
        ++counts[bin];
        for (int c = 0; c < 3; ++c) {
            sums[bin][c] += src[c];
        }
    }
    for (std::uint32_t bin = 0; bin < kBins; ++bin) {
        if (counts[bin] != 0) {
            cells.push_back(MakeCell(bin, counts[bin], sums[bin]));
        }
    }
    sums = {};
    std::vector<Bgr> palette = MedianCut(cells, maxColors);
    std::vector<std::uint8_t> lookup(kBins);
    for (const Cell& cell : cells) {
        lookup[cell.bin] = Nearest(palette, cell.mean);
    }
    src = pixels;
    for (std::size_t i = 0; i < count; ++i, src += 3) {
        dst[i] = lookup[Bin6(src)];
    }
    out.SetPalette(std::move(palette));
    return out;
}

PixelImage ReduceByteImage(const PixelImage& image, int maxColors) {
    const std::size_t count = std::size_t{image.Width()} * image.Height();
    std::array<std::uint64_t, 256> histogram{};
    const std::uint8_t* src = image.Data();
    for (std::size_t i = 0; i < count; ++i) {
        ++histogram[src[i]];
    }
    const std::array<Bgr, 256> colors = ByteColors(image);
    std::vector<Cell> cells;
    for (std::uint32_t v = 0; v < 256; ++v) {
        if (histogram[v] != 0) {
            const Bgr c = colors[v];
            cells.push_back(
                {v,
                 static_cast<double>(histogram[v]),
                 {static_cast<double>(c.b), static_cast<double>(c.g), static_cast<double>(c.r)}});
        }
    }
    std::vector<Bgr> palette = MedianCut(cells, maxColors);
    std::array<std::uint8_t, 256> lookup{};
    for (const Cell& cell : cells) {
        lookup[cell.bin] = Nearest(palette, cell.mean);
    }
    PixelImage out = *PixelImage::Create(image.Width(), image.Height(), PixelFormat::Indexed8);
    std::uint8_t* dst = out.Data();
    for (std::size_t i = 0; i < count; ++i) {
        dst[i] = lookup[src[i]];
    }
    out.SetPalette(std::move(palette));
    return out;
}

}  // namespace

PixelImage ReduceColors(const PixelImage& image, int maxColors) {
    maxColors = std::clamp(maxColors, 1, 256);
    if (std::optional<PixelImage> exact = ReduceExactly(image, maxColors)) {
        return std::move(*exact);
    }
    if (image.Format() == PixelFormat::Bgr24) {
        return ReduceColorImage(image, maxColors);
    }
    return ReduceByteImage(image, maxColors);
}

}  // namespace pixelops
