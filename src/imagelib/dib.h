// The packed device-independent bitmap and the Windows bitmap file, laid out byte for byte as
// Windows defines them (little-endian, no padding), so no Windows header is needed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "imagelib/pixel_image.h"

namespace dib {

inline constexpr std::size_t kFileHeaderBytes = 14;
inline constexpr std::size_t kInfoHeaderBytes = 40;
inline constexpr std::uint16_t kBitmapFileType = 0x4D42;  // "BM"
inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::uint32_t kBiBitfields = 3;

struct BitmapInfoHeader {
    std::uint32_t size = kInfoHeaderBytes;
    std::int32_t width = 0;
    std::int32_t height = 0;  // positive: rows run bottom-up
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
};

struct BitmapFileHeader {
    std::uint16_t type = kBitmapFileType;
    std::uint32_t size = 0;
    std::uint16_t reserved1 = 0;
    std::uint16_t reserved2 = 0;
    std::uint32_t offBits = 0;
};

inline void PutLe16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

inline void PutLe32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

inline std::uint16_t GetLe16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t GetLe32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

void WriteInfoHeader(const BitmapInfoHeader& header, std::uint8_t* out);
BitmapInfoHeader ReadInfoHeader(const std::uint8_t* in);
void WriteFileHeader(const BitmapFileHeader& header, std::uint8_t* out);
BitmapFileHeader ReadFileHeader(const std::uint8_t* in);

// Bytes of one stored row: whole 32-bit words.
inline std::uint64_t StoredRowBytes(std::uint64_t width, unsigned bitCount) {
    return (width * bitCount + 31) / 32 * 4;
}

// The info header describing the image: 8 bits with its palette (Gray8 has the 256 grays,
// with clrUsed 0) or 24 bits without one.
BitmapInfoHeader HeaderFor(const PixelImage& image);

// Total bytes of the packed bitmap: header, colour table, rows.
std::size_t PackedSize(const PixelImage& image);

// The packed bitmap: info header, clrUsed colour entries (256 when 0 at 8 bits), then the rows
// bottom-up, each padded to 4 bytes. Throws std::bad_alloc when memory runs out.
std::vector<std::uint8_t> Pack(const PixelImage& image);

// Writes a Windows bitmap file (file header, then the packed bitmap). False when the file
// cannot be written completely; a partial file is removed.
bool SaveBitmapFile(const PixelImage& image, const std::string& path);

}  // namespace dib
