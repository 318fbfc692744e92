// What an image file holds, read from its headers without decoding a pixel: the format, the
// size and pixel form of its first page, its page count, and whether its data is all there.
// Decoders are only given files whose headers claim no more pixels than the library takes and
// whose data is complete (some decoders allocate, or decode everything, as soon as they are
// made, and some show data that ends early as garbage). These are parsers of untrusted files:
// they never read past the data and refuse what does not hold together.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "imagelib/image_decoder.h"

// Random access to a file's bytes.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Copies up to count bytes from offset; the number copied (fewer at the end).
    virtual std::size_t ReadAt(std::uint64_t offset, void* out, std::size_t count) = 0;

protected:
    ByteSource() = default;
    ByteSource(const ByteSource&) = default;
    ByteSource& operator=(const ByteSource&) = default;
};

class MemoryBytes final : public ByteSource {
public:
    explicit MemoryBytes(std::string_view bytes) : bytes(bytes) {}
    std::uint64_t Size() const override { return bytes.size(); }
    std::size_t ReadAt(std::uint64_t offset, void* out, std::size_t count) override;

private:
    std::string_view bytes;
};

// A file read through a window of recent bytes, so many small reads cost few system calls.
class FileBytes final : public ByteSource {
public:
    // A file that cannot be opened reads as empty.
    explicit FileBytes(const std::string& path);
    bool IsOpen() const { return file != nullptr; }
    std::uint64_t Size() const override { return size; }
    std::size_t ReadAt(std::uint64_t offset, void* out, std::size_t count) override;

private:
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file;
    std::uint64_t size = 0;
    std::vector<char> window;
    std::uint64_t windowStart = 0;
};

struct ImageHeader {
    ImageFileFormat format = ImageFileFormat::Other;
    // The first page.
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // Bits per pixel and colour kind of the pixel form WIC's decoder gives the first page; 0
    // when only the decoder can tell (forms that decoders report differently).
    std::uint8_t bitsPerPixel = 0;
    ColorKind kind = ColorKind::Color;
    int pageCount = 1;
    // The most pixels any page, or a GIF's canvas, claims.
    std::uint64_t largestPixels = 0;
    // How the stored pixels are to be turned to stand upright, as the EXIF orientation values
    // 1 to 8 (1: as stored); from EXIF data, HEIF/AVIF irot and imir, or the JPEG XL header.
    int orientation = 1;
};

// The format a file's first bytes announce (at least 16 of them where the file has them);
// Other when none is known.
ImageFileFormat SniffFormat(std::string_view firstBytes);

// The header of a PNG, JPEG, GIF, BMP, TIFF, ICO, WebP, AVIF, HEIF or JPEG XL file; nothing for
// other formats, and for a header that is cut short or malformed.
std::optional<ImageHeader> ReadImageHeader(ByteSource& file);

// Whether the data the header announces is all there: a JPEG reaches its end marker after its
// scan, a PNG its IEND chunk, a GIF the end of its last frame, an uncompressed BMP its last row.
// TIFF, ICO, WebP, AVIF, HEIF and JPEG XL files are left to the decoder.
bool DataIsComplete(ByteSource& file, const ImageHeader& header);

// The description the user is shown; only for a header that knows its pixel form.
std::string DescribeHeader(const ImageHeader& header);

// Whether a decoder may be given the file: true for formats the reader does not know (the
// decoder tells what is wrong with them); otherwise the header must hold together, claim no
// more pixels than the library takes and, when the pixels are wanted, the data be complete.
bool MayDecode(ByteSource& file, bool pixelsWanted);
