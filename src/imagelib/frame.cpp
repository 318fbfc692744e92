// Pictures placed on a screen-sized image.
#include "imagelib/frame.h"

#include <algorithm>
#include <vector>

#include "imagelib/compose.h"
#include "imagelib/resize.h"

namespace pixelops {

namespace {

// The blur is made on a copy this many times smaller than the target.
constexpr std::uint32_t kFrameReduction = 8;
// Each channel of the frame keeps three quarters of its light.
constexpr std::uint32_t kFrameLight = 3;
constexpr std::uint32_t kFrameLightOf = 4;

// One box blur of a line of count pixels, step bytes apart, three channels each, through the
// scratch line: every pixel becomes the average of the 2 * radius + 1 pixels around it.
void BlurLine(std::uint8_t* line, std::size_t step, std::uint32_t count, std::uint32_t radius,
              std::vector<std::uint8_t>& scratch) {
    scratch.resize(std::size_t{count} * 3);
    for (std::uint32_t i = 0; i < count; ++i) {
        for (int k = 0; k < 3; ++k) {
            scratch[std::size_t{i} * 3 + k] = line[i * step + k];
        }
    }
    const auto at = [&](std::int64_t i, int k) {
        const auto clamped = static_cast<std::size_t>(std::clamp<std::int64_t>(i, 0, count - 1));
        return std::uint32_t{scratch[clamped * 3 + k]};
    };
    const std::uint32_t span = 2 * radius + 1;
    for (int k = 0; k < 3; ++k) {
        std::uint32_t sum = 0;
        for (std::int64_t i = -std::int64_t{radius}; i <= radius; ++i) {
            sum += at(i, k);
        }
        for (std::uint32_t i = 0; i < count; ++i) {
            line[i * step + k] = static_cast<std::uint8_t>((sum + span / 2) / span);
            sum += at(std::int64_t{i} + radius + 1, k);
            sum -= at(std::int64_t{i} - radius, k);
        }
    }
}

}  // namespace

void BoxBlur(PixelImage& image, std::uint32_t radius) {
    if (image.Format() != PixelFormat::Bgr24 || radius == 0 || image.Width() == 0) {
        return;
    }
    std::vector<std::uint8_t> scratch;
    for (int pass = 0; pass < 3; ++pass) {
        for (std::uint32_t y = 0; y < image.Height(); ++y) {
            BlurLine(image.Row(y), 3, image.Width(), radius, scratch);
        }
        for (std::uint32_t x = 0; x < image.Width(); ++x) {
            BlurLine(image.Row(0) + std::size_t{x} * 3, image.RowBytes(), image.Height(), radius,
                     scratch);
        }
    }
}

std::optional<PixelImage> CentreOnColor(const PixelImage& picture, ImageSize target, Bgr color) {
    std::optional<PixelImage> canvas = FilledImage(target.width, target.height, color);
    if (!canvas) {
        return std::nullopt;
    }
    // Where the picture's left and top edges fall, and the part of it the canvas holds.
    const std::int64_t left = (std::int64_t{target.width} - picture.Width()) / 2;
    const std::int64_t top = (std::int64_t{target.height} - picture.Height()) / 2;
    const std::int64_t x0 = std::max<std::int64_t>(0, left);
    const std::int64_t y0 = std::max<std::int64_t>(0, top);
    const std::int64_t x1 = std::min<std::int64_t>(target.width, left + picture.Width());
    const std::int64_t y1 = std::min<std::int64_t>(target.height, top + picture.Height());
    if (x0 < x1 && y0 < y1) {
        CopyArea(picture, x0 - left, y0 - top, x1 - x0, y1 - y0, *canvas, x0, y0);
    }
    return canvas;
}

std::optional<PixelImage> BlurredFrame(const PixelImage& fitted, ImageSize target) {
    if (!IsAllowedSize(target.width, target.height) || fitted.Width() == 0 ||
        fitted.Height() == 0) {
        return std::nullopt;
    }
    // The middle of the picture with the target's shape, as a covering scale would show it.
    const ImageSize picture{fitted.Width(), fitted.Height()};
    const ImageSize shape = FitInside(target, picture);
    std::optional<PixelImage> middle =
        PixelImage::Create(shape.width, shape.height, PixelFormat::Bgr24);
    if (!middle ||
        !CopyArea(fitted, (picture.width - shape.width) / 2, (picture.height - shape.height) / 2,
                  shape.width, shape.height, *middle, 0, 0)) {
        return std::nullopt;
    }
    const ImageSize reduced{std::max(1u, target.width / kFrameReduction),
                            std::max(1u, target.height / kFrameReduction)};
    std::optional<PixelImage> frame = Resize(*middle, reduced, ResizeMethod::AverageColors);
    if (!frame) {
        return std::nullopt;
    }
    BoxBlur(*frame, std::max(1u, (reduced.width + 10) / 20));
    for (std::size_t i = 0; i < frame->SizeBytes(); ++i) {
        frame->Data()[i] =
            static_cast<std::uint8_t>(frame->Data()[i] * kFrameLight / kFrameLightOf);
    }
    std::optional<PixelImage> framed = Resize(*frame, target, ResizeMethod::AverageColors);
    if (!framed) {
        return std::nullopt;
    }
    CopyArea(fitted, 0, 0, picture.width, picture.height, *framed,
             (std::int64_t{target.width} - picture.width) / 2,
             (std::int64_t{target.height} - picture.height) / 2);
    return framed;
}

}  // namespace pixelops
