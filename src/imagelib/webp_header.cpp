// The header of a WebP file: the size from its first image chunk (lossy, lossless or the
// extended canvas), the orientation from its EXIF chunk.
#include <algorithm>

#include "imagelib/header_reader.h"

namespace headers {

namespace {

constexpr int kMaxChunks = 4096;

struct WebPImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool alpha = false;
    bool exif = false;  // an EXIF chunk follows, which only the extended form announces
};

// The first chunk's image, or empty when it is none of the three or does not hold together.
std::optional<WebPImage> ReadFirstChunk(Reader& r, const std::string& type, std::uint64_t data,
                                        std::uint32_t size) {
    WebPImage image;
    if (type == "VP8 ") {
        // A key frame (bit 0 of the frame tag clear), the start code, then 14-bit sides with
        // two bits of upscaling above them.
        if (size < 10 || (r.U8(data) & 1) != 0 || r.Text(data + 3, 3) != "\x9D\x01\x2A") {
            return std::nullopt;
        }
        image.width = r.U16(data + 6, kLittle) & 0x3FFF;
        image.height = r.U16(data + 8, kLittle) & 0x3FFF;
    } else if (type == "VP8L") {
        const std::uint32_t bits = r.U32(data + 1, kLittle);
        if (size < 5 || r.U8(data) != 0x2F || (bits >> 29) != 0) {
            return std::nullopt;
        }
        image.width = (bits & 0x3FFF) + 1;
        image.height = ((bits >> 14) & 0x3FFF) + 1;
        image.alpha = (bits >> 28 & 1) != 0;
    } else if (type == "VP8X") {
        if (size < 10) {
            return std::nullopt;
        }
        image.alpha = (r.U8(data) & 0x10) != 0;
        image.exif = (r.U8(data) & 0x08) != 0;
        image.width = r.U24(data + 4, kLittle) + 1;
        image.height = r.U24(data + 7, kLittle) + 1;
    } else {
        return std::nullopt;
    }
    if (!r.Ok() || image.width == 0 || image.height == 0) {
        return std::nullopt;
    }
    return image;
}

}  // namespace

std::optional<ImageHeader> ReadWebP(Reader& r) {
    // The chunks end where the RIFF size says, or at the end of the data when it is cut.
    const std::uint64_t end =
        std::min<std::uint64_t>(r.Size(), std::uint64_t{r.U32(4, kLittle)} + 8);
    std::optional<WebPImage> image;
    int orientation = 1;
    std::uint64_t at = 12;
    for (int chunk = 0; chunk < kMaxChunks && at + 8 <= end; ++chunk) {
        const std::string type = r.Text(at, 4);
        const std::uint32_t size = r.U32(at + 4, kLittle);
        const std::uint64_t data = at + 8;
        if (!r.Ok() || size > end - data) {
            break;
        }
        if (chunk == 0) {
            image = ReadFirstChunk(r, type, data, size);
            if (!image) {
                return std::nullopt;
            }
            if (!image->exif) {
                break;  // the frames of a long animation are not walked for nothing
            }
        } else if (type == "EXIF") {
            orientation = ExifOrientation(r, data, size);
            break;
        }
        at = data + size + (size & 1);
    }
    if (!image || !r.Ok()) {
        return std::nullopt;
    }
    // An animation shows its first frame; its canvas is the size.
    ImageHeader h = Page(ImageFileFormat::WebP, image->width, image->height, image->alpha ? 32 : 24,
                         ColorKind::Color);
    h.orientation = orientation;
    return h;
}

}  // namespace headers
