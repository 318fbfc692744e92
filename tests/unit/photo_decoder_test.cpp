// The photo decoder's choices: which decoder a file goes to, the DCT scale, the recorded
// orientation applied (or not) to pixels and reported sizes, and the system's decoder as the
// fallback. JPEG files are made here with libjpeg's encoder.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "imagelib/codecs/codecs.h"
#include "imagelib/photo_decoder.h"
#include "tests/unit/exif_orientation.h"

namespace {

// A stand-in for the system's decoder: counts what it is asked and answers with a 1 x 1 image.
class SystemDecoder final : public ImageDecoder {
public:
    int asked = 0;
    std::optional<DecodedPage> DecodePage(const std::string&, int) override { return Answer(); }
    std::optional<DecodedPage> DecodePageAtLeast(const std::string&, int, ImageSize) override {
        return Answer();
    }
    std::optional<DecodedPage> DecodeThumbnail(const std::string&, std::uint32_t, std::uint32_t,
                                               std::stop_token) override {
        return Answer();
    }
    std::optional<ImageFileInfo> ReadFileInfo(const std::string&) override {
        ++asked;
        return ImageFileInfo{};
    }

private:
    std::optional<DecodedPage> Answer() {
        ++asked;
        return DecodedPage{*PixelImage::Create(1, 1, PixelFormat::Gray8), 1};
    }
};

constexpr Bgr kRed{0, 0, 255};
constexpr Bgr kGreen{0, 255, 0};
constexpr Bgr kBlue{255, 0, 0};
constexpr Bgr kWhite{255, 255, 255};

// A 32 x 16 JPEG whose quadrants are red, green (top), blue, white (bottom).
std::string QuadrantJpeg(int orientation) {
    constexpr int kWidth = 32;
    constexpr int kHeight = 16;
    std::vector<std::uint8_t> rows(kWidth * kHeight * 3);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const Bgr c = y < kHeight / 2 ? (x < kWidth / 2 ? kRed : kGreen)
                                          : (x < kWidth / 2 ? kBlue : kWhite);
            std::uint8_t* p = &rows[(y * kWidth + x) * 3];
            p[0] = c.b;
            p[1] = c.g;
            p[2] = c.r;
        }
    }
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = kWidth;
    info.image_height = kHeight;
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = &rows[info.next_scanline * kWidth * 3];
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    const std::string bytes(reinterpret_cast<char*>(out), size);
    jpeg_destroy_compress(&info);
    std::free(out);
    return orientation == 0 ? bytes : WithExifOrientation(bytes, orientation);
}

// A 16 x 16 JPEG of one colour given as Adobe's inverted CMYK.
std::string AdobeCmykJpeg(const std::uint8_t (&inverted)[4]) {
    std::vector<std::uint8_t> rows(16 * 16 * 4);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = inverted[i % 4];
    }
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = 16;
    info.image_height = 16;
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    info.write_Adobe_marker = TRUE;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = &rows[info.next_scanline * 16 * 4];
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::string bytes(reinterpret_cast<char*>(out), size);
    jpeg_destroy_compress(&info);
    std::free(out);
    return bytes;
}

bool Near(Bgr a, Bgr b) {
    const auto close = [](int x, int y) { return x - y < 12 && y - x < 12; };
    return close(a.b, b.b) && close(a.g, b.g) && close(a.r, b.r);
}

class PhotoDecoderTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes) {
        const std::filesystem::path path = folder / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::filesystem::path folder = [] {
        const auto path =
            std::filesystem::temp_directory_path() /
            ("velumar-photo-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(path);
        return path;
    }();
    SystemDecoder system;
    PhotoDecoder decoder{system};
};

TEST(JpegScaleTest, SmallestEighthsStillAtLeastTheTarget) {
    struct Row {
        ImageSize stored;
        ImageSize atLeast;
        int eighths;
    };
    const Row rows[] = {
        {{6000, 4000}, {1024, 768}, 2},  // 1/4 is 1500 x 1000; 1/8 would be 750 high
        {{6000, 4000}, {750, 500}, 1},   // exactly 1/8
        {{6000, 4000}, {751, 500}, 2},   // one pixel more than 1/8 gives
        {{6000, 4000}, {3001, 10}, 8},   // more than half: full size
        {{6000, 4000}, {UINT32_MAX, UINT32_MAX}, 8},
        {{33, 17}, {5, 3}, 1},  // libjpeg rounds up: 5 x 3
        {{33, 17}, {9, 5}, 2},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(JpegScaleEighths(row.stored, row.atLeast), row.eighths)
            << row.stored.width << "x" << row.stored.height << " to " << row.atLeast.width;
    }
}

TEST_F(PhotoDecoderTest, TurnsPicturesAsRecordedAndReportsUprightSizes) {
    struct Row {
        int orientation;
        bool upright;
        ImageSize size;
        Bgr topLeft;
        Bgr topRight;
    };
    const Row rows[] = {
        {0, true, {32, 16}, kRed, kGreen},   {1, true, {32, 16}, kRed, kGreen},
        {3, true, {32, 16}, kWhite, kBlue},  {6, true, {16, 32}, kBlue, kRed},
        {8, true, {16, 32}, kGreen, kWhite}, {6, false, {32, 16}, kRed, kGreen},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << "orientation " << row.orientation << " upright " << row.upright);
        decoder.SetUpright(row.upright);
        const std::string path = Write("photo.jpg", QuadrantJpeg(row.orientation));
        const std::optional<DecodedPage> page = decoder.DecodePage(path, 0);
        ASSERT_TRUE(page);
        const PixelImage& image = page->image;
        EXPECT_EQ((ImageSize{image.Width(), image.Height()}), row.size);
        EXPECT_TRUE(Near(image.ColorAt(1, 1), row.topLeft));
        EXPECT_TRUE(Near(image.ColorAt(image.Width() - 2, 1), row.topRight));

        const std::optional<ImageFileInfo> info = decoder.ReadFileInfo(path);
        ASSERT_TRUE(info);
        EXPECT_EQ((ImageSize{info->width, info->height}), row.size);
        EXPECT_EQ(info->description, "JPEG image, 24-bit colour, 1 page");
    }
    EXPECT_EQ(system.asked, 0);
}

TEST_F(PhotoDecoderTest, ScalesInTheDctForTheUprightTarget) {
    // Tagged 6: the upright 16 x 32 asked for at least 4 x 8 is the stored 32 x 16 at 1/4.
    const std::string path = Write("photo.jpg", QuadrantJpeg(6));
    const std::optional<DecodedPage> page = decoder.DecodePageAtLeast(path, 0, {4, 8});
    ASSERT_TRUE(page);
    EXPECT_EQ((ImageSize{page->image.Width(), page->image.Height()}), (ImageSize{4, 8}));
    const std::optional<DecodedPage> thumbnail = decoder.DecodeThumbnail(path, 8, 8, {});
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ((ImageSize{thumbnail->image.Width(), thumbnail->image.Height()}), (ImageSize{4, 8}));
}

TEST_F(PhotoDecoderTest, ConvertsAdobeCmykToColour) {
    // Red as ink is no cyan, full magenta and yellow, no black; Adobe stores it inverted.
    const std::optional<DecodedPage> page =
        decoder.DecodePage(Write("cmyk.jpg", AdobeCmykJpeg({255, 0, 0, 255})), 0);
    ASSERT_TRUE(page);
    EXPECT_TRUE(Near(page->image.ColorAt(8, 8), kRed));
}

TEST_F(PhotoDecoderTest, LeavesOtherFilesAndFailuresToTheSystem) {
    const std::string jpeg = QuadrantJpeg(1);
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"png-named.jpg", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(40, '\0')},
        {"cut-short.jpg", jpeg.substr(0, jpeg.size() / 2)},
        {"unknown.jpg", "not a picture at all"},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        const int before = system.asked;
        EXPECT_TRUE(decoder.DecodePage(Write(file.name, file.bytes), 0));
        EXPECT_EQ(system.asked, before + 1);
    }
}

}  // namespace
