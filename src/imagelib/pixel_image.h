// A decoded image in memory: rows from the top, tightly packed, in one of three pixel forms.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

enum class PixelFormat : std::uint8_t {
    Gray8,     // one byte per pixel, the value is the gray level
    Indexed8,  // one byte per pixel, an index into the palette
    Bgr24,     // blue, green, red
};

struct Bgr {
    std::uint8_t b = 0;
    std::uint8_t g = 0;
    std::uint8_t r = 0;
    bool operator==(const Bgr&) const = default;
};

struct ImageSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool operator==(const ImageSize&) const = default;
};

// Images of more pixels are refused before anything is allocated: 2^27 pixels are 384 MiB at
// 24 bits and 512 MiB as the 32-bit pixels a decoder may pass through, and an operation may
// hold its source and its result at once.
inline constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 27;

// True when width x height is nonzero and within kMaxPixels.
inline bool IsAllowedSize(std::uint64_t width, std::uint64_t height) {
    return width > 0 && height > 0 && width <= kMaxPixels && height <= kMaxPixels &&
           width * height <= kMaxPixels;
}

inline int BytesPerPixel(PixelFormat format) {
    return format == PixelFormat::Bgr24 ? 3 : 1;
}

inline int BitsPerPixel(PixelFormat format) {
    return BytesPerPixel(format) * 8;
}

// The gray level of a colour, with weights that sum to 65536 so that gray stays exact.
inline std::uint8_t GrayLevel(Bgr c) {
    return static_cast<std::uint8_t>((19595u * c.r + 38470u * c.g + 7471u * c.b + 32768u) >> 16);
}

class PixelImage {
public:
    // An image of that size with unset pixels, or empty when the size is not allowed.
    // Throws std::bad_alloc when memory runs out.
    static std::optional<PixelImage> Create(std::uint32_t width, std::uint32_t height,
                                            PixelFormat format);

    PixelImage(PixelImage&&) noexcept = default;
    PixelImage& operator=(PixelImage&&) noexcept = default;
    PixelImage(const PixelImage&) = delete;
    PixelImage& operator=(const PixelImage&) = delete;
    ~PixelImage() = default;

    PixelImage Clone() const;

    std::uint32_t Width() const { return width; }
    std::uint32_t Height() const { return height; }
    PixelFormat Format() const { return format; }
    std::size_t RowBytes() const { return std::size_t{width} * BytesPerPixel(format); }
    std::size_t SizeBytes() const { return RowBytes() * height; }

    std::uint8_t* Data() { return pixels.get(); }
    const std::uint8_t* Data() const { return pixels.get(); }
    std::uint8_t* Row(std::uint32_t y) { return pixels.get() + RowBytes() * y; }
    const std::uint8_t* Row(std::uint32_t y) const { return pixels.get() + RowBytes() * y; }

    // The colours of an Indexed8 image; empty for the other forms.
    const std::vector<Bgr>& Palette() const { return palette; }
    void SetPalette(std::vector<Bgr> colors) { palette = std::move(colors); }

    // The colour of one pixel, whatever the form.
    Bgr ColorAt(std::uint32_t x, std::uint32_t y) const;

private:
    PixelImage(std::uint32_t width, std::uint32_t height, PixelFormat format);

    std::uint32_t width = 0;
    std::uint32_t height = 0;
    PixelFormat format = PixelFormat::Bgr24;
    std::unique_ptr<std::uint8_t[]> pixels;
    std::vector<Bgr> palette;
};
