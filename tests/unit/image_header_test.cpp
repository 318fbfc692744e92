// The size an image file claims in its header, read before any decoder is made.
#include <gtest/gtest.h>

#include <string>

#include "imagelib/image_header.h"

namespace {

std::string Be32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

std::string Png(std::uint32_t w, std::uint32_t h) {
    return std::string("\x89PNG\r\n\x1a\n", 8) + Be32(13) + "IHDR" + Be32(w) + Be32(h) +
           std::string("\x08\x02\x00\x00\x00", 5);
}

// Start of image, an APP0 segment, then a baseline frame header.
std::string Jpeg(std::uint16_t w, std::uint16_t h) {
    std::string app0("\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 18);
    std::string sof("\xFF\xC0\x00\x11\x08", 5);
    sof += {static_cast<char>(h >> 8), static_cast<char>(h), static_cast<char>(w >> 8),
            static_cast<char>(w)};
    return std::string("\xFF\xD8", 2) + app0 + sof + std::string(10, '\x01');
}

std::string Le(std::uint32_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>(v >> (8 * i));
    }
    return out;
}

std::string Bmp(std::int32_t w, std::int32_t h) {
    return "BM" + Le(0, 4) + Le(0, 4) + Le(54, 4) + Le(40, 4) +
           Le(static_cast<std::uint32_t>(w), 4) + Le(static_cast<std::uint32_t>(h), 4) + Le(1, 2) +
           Le(24, 2);
}

}  // namespace

TEST(ImageHeader, ClaimedSizesOfTheCommonFormats) {
    struct Case {
        const char* what;
        std::string head;
        std::optional<ImageSize> size;
    };
    const Case cases[] = {
        {"png", Png(640, 480), ImageSize{640, 480}},
        {"jpeg", Jpeg(6000, 4000), ImageSize{6000, 4000}},
        {"gif", "GIF89a" + Le(300, 2) + Le(200, 2), ImageSize{300, 200}},
        {"bmp", Bmp(40, 30), ImageSize{40, 30}},
        {"top-down bmp", Bmp(40, -30), ImageSize{40, 30}},
        {"png cut short", Png(640, 480).substr(0, 20), std::nullopt},
        {"jpeg cut before its frame", Jpeg(10, 10).substr(0, 22), std::nullopt},
        {"jpeg with a broken marker", std::string("\xFF\xD8\xFF\xE0\x00\x01", 6), std::nullopt},
        {"unknown", "hello world, no image", std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const Case& c : cases) {
        std::optional<ImageSize> size = ReadClaimedSize(c.head);
        EXPECT_EQ(size.has_value(), c.size.has_value()) << c.what;
        if (size && c.size) {
            EXPECT_EQ(*size, *c.size) << c.what;
        }
    }
}

TEST(ImageHeader, HugeClaimsAreRefusedBeforeDecoding) {
    EXPECT_FALSE(ClaimedSizeIsAllowed(Png(16384, 16384)));
    EXPECT_FALSE(ClaimedSizeIsAllowed(Bmp(16384, -16384)));
    EXPECT_FALSE(ClaimedSizeIsAllowed(Jpeg(65535, 65535)));
    EXPECT_TRUE(ClaimedSizeIsAllowed(Jpeg(6000, 4000)));
    EXPECT_TRUE(ClaimedSizeIsAllowed("not an image header"));
}
