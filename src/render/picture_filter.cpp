// Which pictures the switching sequence leaves out.
#include "render/picture_filter.h"

#include <algorithm>

bool FilteredOut(const PictureFilter& filter, std::uint32_t width, std::uint32_t height,
                 ScreenSize target) {
    if ((filter.shape == 1 && height > width) || (filter.shape == 2 && width > height)) {
        return true;
    }
    // In 64 bits: a side of 2^32 pixels times 100 still fits.
    const std::uint64_t percent =
        static_cast<std::uint64_t>(std::clamp(filter.minSizePercent, 0, 100));
    const auto below = [percent](std::uint32_t side, int targetSide) {
        return std::uint64_t{side} * 100 <
               percent * static_cast<std::uint64_t>(std::max(targetSide, 0));
    };
    return below(width, target.width) && below(height, target.height);
}
