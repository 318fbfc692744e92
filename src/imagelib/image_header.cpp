// The size an image file claims in its header, read from its first bytes without decoding.
#include "imagelib/image_header.h"

#include <algorithm>

namespace {

std::uint32_t Be16(std::string_view b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at]) << 8 |
                                      static_cast<unsigned char>(b[at + 1]));
}

std::uint32_t Be32(std::string_view b, std::size_t at) {
    return Be16(b, at) << 16 | Be16(b, at + 2);
}

std::uint32_t Le16(std::string_view b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at]) |
                                      static_cast<unsigned char>(b[at + 1]) << 8);
}

std::uint32_t Le32(std::string_view b, std::size_t at) {
    return Le16(b, at) | Le16(b, at + 2) << 16;
}

std::optional<ImageSize> PngSize(std::string_view b) {
    // Signature, then the IHDR chunk: length, type, width, height.
    if (b.size() < 24 || b.substr(12, 4) != "IHDR") {
        return std::nullopt;
    }
    return ImageSize{Be32(b, 16), Be32(b, 20)};
}

std::optional<ImageSize> JpegSize(std::string_view b) {
    std::size_t at = 2;
    while (at + 4 <= b.size()) {
        if (static_cast<unsigned char>(b[at]) != 0xFF) {
            return std::nullopt;
        }
        const unsigned marker = static_cast<unsigned char>(b[at + 1]);
        if (marker == 0xFF) {
            ++at;  // fill byte
            continue;
        }
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;  // markers without a length
            continue;
        }
        const std::size_t length = Be16(b, at + 2);
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 > b.size() || length < 7) {
                return std::nullopt;
            }
            return ImageSize{Be16(b, at + 7), Be16(b, at + 5)};
        }
        if (length < 2 || marker == 0xD9 || marker == 0xDA) {
            return std::nullopt;
        }
        at += 2 + length;
    }
    return std::nullopt;
}

}  // namespace

std::optional<ImageSize> ReadClaimedSize(std::string_view b) {
    if (b.size() >= 8 && b.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8)) {
        return PngSize(b);
    }
    if (b.size() >= 3 && static_cast<unsigned char>(b[0]) == 0xFF &&
        static_cast<unsigned char>(b[1]) == 0xD8 && static_cast<unsigned char>(b[2]) == 0xFF) {
        return JpegSize(b);
    }
    if (b.size() >= 10 && (b.substr(0, 6) == "GIF87a" || b.substr(0, 6) == "GIF89a")) {
        return ImageSize{Le16(b, 6), Le16(b, 8)};
    }
    if (b.size() >= 26 && b.substr(0, 2) == "BM" && Le32(b, 14) >= 40) {
        const auto height = static_cast<std::int32_t>(Le32(b, 22));
        const std::int64_t rows = height < 0 ? -std::int64_t{height} : height;
        return ImageSize{Le32(b, 18),
                         static_cast<std::uint32_t>(std::min<std::int64_t>(rows, UINT32_MAX))};
    }
    return std::nullopt;
}

bool ClaimedSizeIsAllowed(std::string_view head) {
    std::optional<ImageSize> size = ReadClaimedSize(head);
    return !size || static_cast<std::uint64_t>(size->width) * size->height <= kMaxPixels;
}
