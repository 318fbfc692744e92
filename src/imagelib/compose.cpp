// One image made of pieces of others.
#include "imagelib/compose.h"

#include <algorithm>
#include <cstring>

namespace pixelops {

namespace {

std::int64_t Wrap(std::int64_t value, std::int64_t size) {
    const std::int64_t rest = value % size;
    return rest < 0 ? rest + size : rest;
}

// One source row's pixels from column x on, count of them, as 24-bit pixels.
void CopyRun(const PixelImage& source, std::uint32_t y, std::uint32_t x, std::uint32_t count,
             std::uint8_t* out) {
    const std::uint8_t* row = source.Row(y);
    if (source.Format() == PixelFormat::Bgr24) {
        std::memcpy(out, row + std::size_t{x} * 3, std::size_t{count} * 3);
        return;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        const Bgr color = source.ColorAt(x + i, y);
        out[3 * i] = color.b;
        out[3 * i + 1] = color.g;
        out[3 * i + 2] = color.r;
    }
}

}  // namespace

PixelImage Crop(const PixelImage& image, Area area) {
    PixelImage crop = *PixelImage::Create(area.width, area.height, image.Format());
    crop.SetPalette(image.Palette());
    const std::size_t offset = std::size_t{area.x} * BytesPerPixel(image.Format());
    for (std::uint32_t y = 0; y < area.height; ++y) {
        std::memcpy(crop.Row(y), image.Row(area.y + y) + offset, crop.RowBytes());
    }
    return crop;
}

std::optional<PixelImage> FilledImage(std::uint32_t width, std::uint32_t height, Bgr color) {
    std::optional<PixelImage> image = PixelImage::Create(width, height, PixelFormat::Bgr24);
    if (!image) {
        return std::nullopt;
    }
    std::uint8_t* row = image->Row(0);
    for (std::uint32_t x = 0; x < width; ++x) {
        row[3 * x] = color.b;
        row[3 * x + 1] = color.g;
        row[3 * x + 2] = color.r;
    }
    for (std::uint32_t y = 1; y < height; ++y) {
        std::memcpy(image->Row(y), row, image->RowBytes());
    }
    return image;
}

bool CopyArea(const PixelImage& source, std::int64_t sourceX, std::int64_t sourceY,
              std::int64_t width, std::int64_t height, PixelImage& target, std::int64_t targetX,
              std::int64_t targetY) {
    if (target.Format() != PixelFormat::Bgr24 || source.Width() == 0 || source.Height() == 0 ||
        width < 0 || height < 0 || targetX < 0 || targetY < 0 || targetX + width > target.Width() ||
        targetY + height > target.Height()) {
        return false;
    }
    const std::int64_t sourceWidth = source.Width();
    for (std::int64_t row = 0; row < height; ++row) {
        const auto y = static_cast<std::uint32_t>(Wrap(sourceY + row, source.Height()));
        std::uint8_t* out = target.Row(static_cast<std::uint32_t>(targetY + row)) + targetX * 3;
        // Runs up to the source's right edge, then again from its left edge.
        std::int64_t x = Wrap(sourceX, sourceWidth);
        for (std::int64_t done = 0; done < width;) {
            const std::int64_t count = std::min(width - done, sourceWidth - x);
            CopyRun(source, y, static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(count),
                    out + done * 3);
            done += count;
            x = 0;
        }
    }
    return true;
}

}  // namespace pixelops
