// Where a picture's interest lies, and the colour of its edges.
#include "imagelib/attention.h"

#include <algorithm>
#include <cmath>

#include "imagelib/pixel_convert.h"
#include "imagelib/resize.h"

namespace pixelops {

namespace {

// Weights of the three measures and the detail each colour measure needs, as attention crops
// use them: a skin tone counts most, but only where there is detail (a face, not a beige wall).
constexpr float kDetailWeight = 0.2f;
constexpr float kSkinWeight = 1.8f;
constexpr float kSkinBias = 0.01f;
constexpr float kSaturationWeight = 0.1f;
constexpr float kSaturationBias = 0.2f;
// A skin tone, as a direction in RGB space, and how close a colour must come to count.
constexpr float kSkinR = 0.78f;
constexpr float kSkinG = 0.57f;
constexpr float kSkinB = 0.44f;
constexpr float kSkinThreshold = 0.8f;
constexpr float kSaturationThreshold = 0.4f;
// A window off the middle keeps this share less of its interest at the far end.
constexpr double kPullToMiddle = 0.1;

float Skin(float r, float g, float b, float light) {
    const float magnitude = std::sqrt(r * r + g * g + b * b);
    const float skinMagnitude = std::sqrt(kSkinR * kSkinR + kSkinG * kSkinG + kSkinB * kSkinB);
    if (magnitude <= 0 || light < 0.2f) {
        return 0;
    }
    const float dr = r / magnitude - kSkinR / skinMagnitude;
    const float dg = g / magnitude - kSkinG / skinMagnitude;
    const float db = b / magnitude - kSkinB / skinMagnitude;
    const float closeness = 1 - std::sqrt(dr * dr + dg * dg + db * db);
    return closeness > kSkinThreshold ? (closeness - kSkinThreshold) / (1 - kSkinThreshold) : 0;
}

// The saturation of the colour as HSL measures it, above the threshold, for colours neither
// nearly black nor nearly white.
float Saturation(float r, float g, float b) {
    const float high = std::max({r, g, b});
    const float low = std::min({r, g, b});
    const float light = (high + low) / 2;
    if (high == low || light < 0.05f || light > 0.9f) {
        return 0;
    }
    const float saturation =
        light > 0.5f ? (high - low) / (2 - high - low) : (high - low) / (high + low);
    return saturation > kSaturationThreshold
               ? (saturation - kSaturationThreshold) / (1 - kSaturationThreshold)
               : 0;
}

}  // namespace

PixelImage SmallCopy(const PixelImage& image, std::uint32_t longSide) {
    const ImageSize size{image.Width(), image.Height()};
    if (std::max(size.width, size.height) <= longSide) {
        return image.Format() == PixelFormat::Bgr24 ? image.Clone() : ToBgr24(image);
    }
    PixelImage small =
        *Resize(image, FitInside(size, {longSide, longSide}), ResizeMethod::AverageColors);
    return small.Format() == PixelFormat::Bgr24 ? std::move(small) : ToBgr24(small);
}

std::vector<float> InterestMap(const PixelImage& image) {
    const std::uint32_t width = image.Width();
    const std::uint32_t height = image.Height();
    const std::size_t count = std::size_t{width} * height;
    std::vector<float> light(count);
    std::vector<float> colorful(count);
    std::vector<float> skin(count);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const Bgr c = image.ColorAt(x, y);
            const float r = c.r / 255.0f;
            const float g = c.g / 255.0f;
            const float b = c.b / 255.0f;
            const std::size_t i = std::size_t{y} * width + x;
            light[i] = GrayLevel(c) / 255.0f;
            colorful[i] = Saturation(r, g, b);
            skin[i] = Skin(r, g, b, light[i]);
        }
    }
    std::vector<float> interest(count);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::size_t i = std::size_t{y} * width + x;
            // The Laplacian of the lightness; the outermost pixels repeat at the edges.
            const float up = light[i - (y > 0 ? width : 0)];
            const float down = light[i + (y + 1 < height ? width : 0)];
            const float left = light[i - (x > 0 ? 1 : 0)];
            const float right = light[i + (x + 1 < width ? 1 : 0)];
            const float detail = std::min(1.0f, std::fabs(4 * light[i] - up - down - left - right));
            interest[i] = kDetailWeight * detail + kSkinWeight * skin[i] * (detail + kSkinBias) +
                          kSaturationWeight * colorful[i] * (detail + kSaturationBias);
        }
    }
    return interest;
}

Area InterestWindow(const PixelImage& image, ImageSize target) {
    const std::uint64_t width = image.Width();
    const std::uint64_t height = image.Height();
    const Area whole{0, 0, image.Width(), image.Height()};
    if (width == 0 || height == 0 || target.width == 0 || target.height == 0) {
        return whole;
    }
    // The image overflows across when it is wider than the target's shape, else downwards.
    const bool across = width * target.height > height * target.width;
    const std::uint64_t full = across ? width : height;
    const std::uint64_t kept = std::clamp<std::uint64_t>(
        across ? (2 * height * target.width + target.height) / (2 * std::uint64_t{target.height})
               : (2 * width * target.height + target.width) / (2 * std::uint64_t{target.width}),
        1, full);
    if (kept == full) {
        return whole;
    }

    const PixelImage small = SmallCopy(image, kSmallCopySide);
    const std::vector<float> interest = InterestMap(small);
    const std::uint32_t n = across ? small.Width() : small.Height();
    std::vector<double> profile(n);
    for (std::uint32_t y = 0; y < small.Height(); ++y) {
        for (std::uint32_t x = 0; x < small.Width(); ++x) {
            profile[across ? x : y] += interest[std::size_t{y} * small.Width() + x];
        }
    }
    // The window on the small copy; what lies near its middle counts up to twice what lies at
    // its ends, so the interest ends up inside the window rather than at its edge.
    const auto length = static_cast<std::uint32_t>(
        std::clamp<std::uint64_t>((2 * kept * n + full) / (2 * full), 1, n));
    std::vector<double> weight(length);
    for (std::uint32_t j = 0; j < length; ++j) {
        weight[j] = 1 - 0.5 * std::fabs(2 * (j + 0.5) / length - 1);
    }
    const double middle = (n - length) / 2.0;
    double bestScore = -1;
    double bestDistance = 0;
    std::uint32_t best = 0;
    for (std::uint32_t position = 0; position + length <= n; ++position) {
        double sum = 0;
        for (std::uint32_t j = 0; j < length; ++j) {
            sum += profile[position + j] * weight[j];
        }
        const double distance = std::fabs(position - middle);
        const double score = sum * (middle > 0 ? 1 - kPullToMiddle * distance / middle : 1);
        if (score > bestScore || (score == bestScore && distance < bestDistance)) {
            bestScore = score;
            bestDistance = distance;
            best = position;
        }
    }
    // The window in the image's pixels: exactly in the middle when it is there on the copy.
    std::uint64_t start = (full - kept) / 2;
    if (bestDistance > 0.5) {
        const double centre = (best + length / 2.0) * static_cast<double>(full) / n;
        start = static_cast<std::uint64_t>(std::clamp(std::llround(centre - kept / 2.0), 0LL,
                                                      static_cast<long long>(full - kept)));
    }
    Area window = whole;
    if (across) {
        window.x = static_cast<std::uint32_t>(start);
        window.width = static_cast<std::uint32_t>(kept);
    } else {
        window.y = static_cast<std::uint32_t>(start);
        window.height = static_cast<std::uint32_t>(kept);
    }
    return window;
}

Bgr EdgeColor(const PixelImage& image) {
    if (image.Width() == 0 || image.Height() == 0) {
        return {};
    }
    const PixelImage small = SmallCopy(image, kSmallCopySide);
    const std::uint32_t width = small.Width();
    const std::uint32_t height = small.Height();
    std::uint64_t sum[3] = {};
    std::uint64_t count = 0;
    const auto add = [&](std::uint32_t x, std::uint32_t y) {
        const std::uint8_t* pixel = small.Row(y) + std::size_t{x} * 3;
        for (int k = 0; k < 3; ++k) {
            sum[k] += pixel[k];
        }
        ++count;
    };
    // Each pixel of the outermost rows and columns once.
    for (std::uint32_t x = 0; x < width; ++x) {
        add(x, 0);
        if (height > 1) {
            add(x, height - 1);
        }
    }
    for (std::uint32_t y = 1; y + 1 < height; ++y) {
        add(0, y);
        if (width > 1) {
            add(width - 1, y);
        }
    }
    const auto average = [&](int k) {
        return static_cast<std::uint8_t>((sum[k] + count / 2) / count);
    };
    return {average(0), average(1), average(2)};
}

}  // namespace pixelops
