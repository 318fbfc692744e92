// Masks that fade the wallpaper into the desktop background colour.
#include "render/masking.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "render/dib_rows.h"
#include "render/image_session.h"

namespace {

constexpr int kMaxBand = 255;
// u and v are at most 255 each.
constexpr int kMaxSquareSum = 2 * kMaxBand * kMaxBand;

// RoundedSqrt of every sum of two squares of band values, computed once: the edge mask needs
// one square root per pixel.
const std::array<std::uint8_t, kMaxSquareSum + 1>& MaskByteTable() {
    static const auto table = [] {
        std::array<std::uint8_t, kMaxSquareSum + 1> bytes{};
        for (int n = 0; n <= kMaxSquareSum; ++n) {
            int d = RoundedSqrt(n) * 255 / RoundedSqrt(255 * 255);
            bytes[static_cast<size_t>(n)] = static_cast<std::uint8_t>(d >= 255 ? 0 : 255 - d);
        }
        return bytes;
    }();
    return table;
}

// The band value of position p in a dimension of size with bands of near and far pixels:
// the near band is tested first.
int BandValue(int p, int size, int near, int far) {
    if (p < near) {
        return (near - p) * 255 / near;
    }
    if (p > size - far) {
        return (p - (size - far)) * 255 / far;
    }
    return 0;
}

int Band(int percent, int size) {
    return static_cast<int>(static_cast<long long>(percent) * size / 100);
}

bool EdgeMaskWanted(const RenderSettings& s) {
    return s.maskMode == 0 && s.maskTop + s.maskBottom + s.maskLeft + s.maskRight != 0 &&
           !s.tileWallpaper;
}

}  // namespace

int RoundedSqrt(int n) {
    if (n <= 0) {
        return 0;
    }
    // The nearest integer: floor(sqrt(n)) rounded up when n lies above s * s + s.
    int s = static_cast<int>(std::sqrt(static_cast<double>(n)));
    while (static_cast<long long>(s) * s > n) {
        --s;
    }
    while (static_cast<long long>(s + 1) * (s + 1) <= n) {
        ++s;
    }
    return n > static_cast<long long>(s) * s + s ? s + 1 : s;
}

std::optional<OpacityMask> BuildEdgeMask(const RenderSettings& settings, int width, int height) {
    if (!EdgeMaskWanted(settings) || width <= 0 || height <= 0) {
        return std::nullopt;
    }
    const int left = Band(settings.maskLeft, width);
    const int right = Band(settings.maskRight, width);
    const int top = Band(settings.maskTop, height);
    const int bottom = Band(settings.maskBottom, height);
    const auto& table = MaskByteTable();
    try {
        OpacityMask mask{width, height, {}};
        mask.bytes.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
        std::vector<int> columnSquares(static_cast<size_t>(width));
        for (int x = 0; x < width; ++x) {
            int u = BandValue(x, width, left, right);
            columnSquares[static_cast<size_t>(x)] = u * u;
        }
        // Rows with the same band value are equal; the interior rows are copies of one row.
        std::vector<std::uint8_t> interior(static_cast<size_t>(width));
        for (int x = 0; x < width; ++x) {
            interior[static_cast<size_t>(x)] = table[static_cast<size_t>(columnSquares[x])];
        }
        for (int y = 0; y < height; ++y) {
            std::uint8_t* row = mask.bytes.data() + static_cast<size_t>(y) * width;
            int v = BandValue(y, height, top, bottom);
            if (v == 0) {
                std::memcpy(row, interior.data(), interior.size());
                continue;
            }
            int vv = v * v;
            for (int x = 0; x < width; ++x) {
                row[x] = table[static_cast<size_t>(columnSquares[static_cast<size_t>(x)] + vv)];
            }
        }
        return mask;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

std::optional<OpacityMask> LoadMaskFile(ImageLibrary& library, const std::string& maskFile,
                                        int width, int height) {
    if (maskFile.empty() || width <= 0 || height <= 0) {
        return std::nullopt;
    }
    ImageSession session(library);
    if (!session || !library.cLoadImage(session.Handle(), maskFile.c_str(), 0, 0, 0)) {
        return std::nullopt;
    }
    std::uint32_t w = 0;
    std::uint32_t h = 0;
    std::uint8_t bits = 0;
    int gray = 0;
    library.cGetImageInfo(session.Handle(), &w, &h, &bits, nullptr, nullptr, nullptr, nullptr,
                          &gray, nullptr, nullptr);
    if (bits < 8) {
        library.cOpIncreaseBitsPerPixel(session.Handle(), 8);
    }
    if (gray == 0) {
        library.cOpGrayScale(session.Handle());
    }
    if (w != static_cast<std::uint32_t>(width) || h != static_cast<std::uint32_t>(height)) {
        library.cOpResize(session.Handle(), width, height, 0, 1, kResizeAverageColors);
    }
    const ByteArray* dib = nullptr;
    if (!library.cGetDIB(session.Handle(), &dib, 0) || dib == nullptr) {
        return std::nullopt;
    }
    std::optional<DibRows> rows = ReadDibRows(*dib);
    // Only an 8-bit bitmap of exactly the asked size can be read as the mask.
    if (!rows || rows->width != width || rows->height != height || rows->bitsPerPixel != 8) {
        return std::nullopt;
    }
    try {
        OpacityMask mask{width, height, {}};
        mask.bytes.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
        for (int r = 0; r < height; ++r) {
            std::memcpy(mask.bytes.data() + static_cast<size_t>(r) * width, rows->TopDownRow(r),
                        static_cast<size_t>(width));
        }
        return mask;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

OpacityMask CutMaskWindow(const OpacityMask& mask, int width, int height) {
    OpacityMask window{width, height, {}};
    window.bytes.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 255);
    const int x0 = (mask.width - width) / 2;
    const int y0 = (mask.height - height) / 2;
    // Only the columns and rows that lie on the mask are copied; the rest stays opaque.
    const int firstColumn = std::max(0, -x0);
    const int lastColumn = std::min(width, mask.width - x0);
    for (int r = 0; r < height; ++r) {
        int y = y0 + r;
        if (y < 0 || y >= mask.height || firstColumn >= lastColumn) {
            continue;
        }
        std::memcpy(window.bytes.data() + static_cast<size_t>(r) * width + firstColumn,
                    mask.bytes.data() + static_cast<size_t>(y) * mask.width + x0 + firstColumn,
                    static_cast<size_t>(lastColumn - firstColumn));
    }
    return window;
}

void DesktopEdgeMask::Ensure(const RenderSettings& settings, int desktopWidth, int desktopHeight) {
    if (mask && (mask->width != desktopWidth || mask->height != desktopHeight)) {
        mask.reset();
    }
    if (!mask && EdgeMaskWanted(settings) && !settings.maskImageOutline) {
        mask = BuildEdgeMask(settings, desktopWidth, desktopHeight);
    }
}

const OpacityMask* DesktopEdgeMask::For(int desktopWidth, int desktopHeight) const {
    if (!mask || mask->width != desktopWidth || mask->height != desktopHeight) {
        return nullptr;
    }
    return &*mask;
}

void ApplyMask(ImageLibrary& library, int session, const RenderSettings& settings, int width,
               int height, int desktopWidth, int desktopHeight, ColorRef background,
               const OpacityMask* desktopEdgeMask) {
    if (settings.tileWallpaper || width <= 0 || height <= 0) {
        return;
    }
    std::optional<OpacityMask> window;
    if (settings.maskMode == 0) {
        if (desktopEdgeMask != nullptr) {
            window = CutMaskWindow(*desktopEdgeMask, width, height);
        } else if (settings.maskImageOutline) {
            window = BuildEdgeMask(settings, width, height);
        }
    } else if (settings.maskMode == 1) {
        int outline = 0;
        library.cGetImageInfo(session, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                              &outline, nullptr, nullptr, nullptr);
        bool imageGeometry = settings.maskImageOutline && outline == 1;
        int maskWidth = imageGeometry ? width : desktopWidth;
        int maskHeight = imageGeometry ? height : desktopHeight;
        if (std::optional<OpacityMask> fileMask =
                LoadMaskFile(library, settings.maskFile, maskWidth, maskHeight)) {
            window = CutMaskWindow(*fileMask, width, height);
        }
    }
    if (!window) {
        return;
    }
    library.cLoadAlphaMask(session, window->bytes.data());
    library.cMergeTransparency(session, background);
}
