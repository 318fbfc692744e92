// The checked reader the header parsers share, and the parsers of the newer photo formats
// (kept in files of their own) that the header reader dispatches to.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "imagelib/image_header.h"

namespace headers {

// Reads through a source with every read checked: a read that cannot be done whole marks the
// reader failed and gives zeros, so parsers test Ok() once after a group of reads.
class Reader {
public:
    explicit Reader(ByteSource& source) : source(source) {}

    bool Ok() const { return ok; }
    void Fail() { ok = false; }
    std::uint64_t Size() const { return source.Size(); }

    bool Has(std::uint64_t offset, std::uint64_t count) const {
        return offset <= source.Size() && count <= source.Size() - offset;
    }
    std::uint8_t U8(std::uint64_t at) {
        std::uint8_t b = 0;
        Read(at, &b, 1);
        return b;
    }
    std::uint32_t U16(std::uint64_t at, bool bigEndian) {
        std::array<std::uint8_t, 2> b{};
        Read(at, b.data(), b.size());
        return bigEndian ? static_cast<std::uint32_t>(b[0] << 8 | b[1])
                         : static_cast<std::uint32_t>(b[1] << 8 | b[0]);
    }
    std::uint32_t U24(std::uint64_t at, bool bigEndian) {
        const std::uint32_t first = U8(at);
        const std::uint32_t rest = U16(at + 1, bigEndian);
        return bigEndian ? first << 16 | rest : rest << 8 | first;
    }
    std::uint32_t U32(std::uint64_t at, bool bigEndian) {
        const std::uint32_t first = U16(at, bigEndian);
        const std::uint32_t second = U16(at + 2, bigEndian);
        return bigEndian ? first << 16 | second : second << 16 | first;
    }
    std::uint64_t U64(std::uint64_t at, bool bigEndian) {
        const std::uint64_t first = U32(at, bigEndian);
        const std::uint64_t second = U32(at + 4, bigEndian);
        return bigEndian ? first << 32 | second : second << 32 | first;
    }
    std::string Text(std::uint64_t at, std::size_t count) {
        std::string text(count, '\0');
        Read(at, text.data(), count);
        return text;
    }

private:
    void Read(std::uint64_t at, void* out, std::size_t count) {
        if (!ok || !Has(at, count) || source.ReadAt(at, out, count) != count) {
            ok = false;
            std::memset(out, 0, count);
        }
    }

    ByteSource& source;
    bool ok = true;
};

constexpr bool kBig = true;
constexpr bool kLittle = false;

inline ImageHeader Page(ImageFileFormat format, std::uint32_t width, std::uint32_t height, int bits,
                        ColorKind kind) {
    ImageHeader h;
    h.format = format;
    h.width = width;
    h.height = height;
    h.bitsPerPixel = static_cast<std::uint8_t>(bits);
    h.kind = kind;
    h.largestPixels = std::uint64_t{width} * height;
    return h;
}

// The orientation tag of the first IFD of the TIFF structure in the length bytes at at (which
// may start with "Exif\0\0"); 1 when it is missing, malformed or outside 1 to 8.
int ExifOrientation(Reader& r, std::uint64_t at, std::uint64_t length);

std::optional<ImageHeader> ReadWebP(Reader& r);

// AVIF and HEIF: the format comes from the brands, the rest from the primary item's boxes.
std::optional<ImageHeader> ReadIsobmff(Reader& r, ImageFileFormat format);

std::optional<ImageHeader> ReadJxl(Reader& r);

}  // namespace headers
