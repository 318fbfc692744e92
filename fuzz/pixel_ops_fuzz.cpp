// Fuzzes the pixel operations with arbitrary small images, sizes and parameters: every result
// has the size asked for and nothing is read or written outside an image.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "imagelib/alpha_merge.h"
#include "imagelib/attention.h"
#include "imagelib/color_reduction.h"
#include "imagelib/frame.h"
#include "imagelib/pixel_convert.h"
#include "imagelib/resize.h"
#include "imagelib/rotate.h"

namespace {

// Takes bytes from the front of the input; zeros once it is used up.
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}
    std::uint8_t Next() { return at < size ? data[at++] : 0; }
    void Fill(std::uint8_t* out, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            out[i] = Next();
        }
    }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pixelops;
    Bytes in(data, size);
    const std::uint32_t width = 1 + in.Next() % 48;
    const std::uint32_t height = 1 + in.Next() % 48;
    const auto format = static_cast<PixelFormat>(in.Next() % 3);
    std::optional<PixelImage> image = PixelImage::Create(width, height, format);
    if (!image) {
        return 0;
    }
    in.Fill(image->Data(), image->SizeBytes());
    if (format == PixelFormat::Indexed8) {
        std::vector<Bgr> palette(1 + in.Next());
        for (Bgr& c : palette) {
            c = {in.Next(), in.Next(), in.Next()};
        }
        image->SetPalette(palette);
    }
    const ImageSize target{1u + in.Next() % 96, 1u + in.Next() % 96};
    const auto method = static_cast<ResizeMethod>(in.Next() % 4);
    if (std::optional<PixelImage> resized = Resize(*image, target, method)) {
        if (resized->Width() != target.width || resized->Height() != target.height) {
            __builtin_trap();
        }
    }
    // The covering fits: a window of the target's shape inside the image, a framed image of
    // exactly the target's size.
    const Area window = InterestWindow(*image, target);
    if (window.width == 0 || window.height == 0 || window.x + window.width > width ||
        window.y + window.height > height) {
        __builtin_trap();
    }
    EdgeColor(*image);
    if (std::optional<PixelImage> framed = BlurredFrame(*image, target)) {
        if (framed->Width() != target.width || framed->Height() != target.height) {
            __builtin_trap();
        }
    }
    CentreOnColor(*image, target, {in.Next(), in.Next(), in.Next()});
    PixelImage turned = RotateQuarterTurns(*image, in.Next() % 4);
    PixelImage reduced = ReduceColors(ToBgr24(turned), 1 + in.Next());
    PixelImage gray = ToGray8(reduced);
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(turned.Width()) * turned.Height());
    in.Fill(mask.data(), mask.size());
    // The blend takes colour images (and gray ones over a gray), as the session gives it.
    PixelImage color = ToBgr24(turned);
    MergeOverColor(color, mask.data(), {in.Next(), in.Next(), in.Next()});
    return gray.Width() == reduced.Width() ? 0 : (__builtin_trap(), 0);
}
