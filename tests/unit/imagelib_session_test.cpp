// The session library over a fake decoder: session lifetime, what each operation does to the
// current image and reports, argument checks, and that no failure escapes as an exception.
#include "imagelib/session_image_library.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <new>
#include <stdexcept>
#include <thread>

#include "imagelib/dib.h"
#include "tests/unit/imagelib_test_images.h"

namespace {

using Buffer = std::vector<std::uint8_t>;

// Pages by path; a path may be set to throw instead.
class FakeDecoder final : public ImageDecoder {
public:
    enum class Throw { Nothing, BadAlloc, RuntimeError, Int };

    void Add(const std::string& path, PixelImage page) { files[path].push_back(std::move(page)); }

    std::optional<DecodedPage> DecodePage(const std::string& path, int page) override {
        ThrowIfAsked();
        const auto it = files.find(path);
        if (it == files.end() || page < 0 || static_cast<std::size_t>(page) >= it->second.size()) {
            return std::nullopt;
        }
        return DecodedPage{it->second[page].Clone(), static_cast<int>(it->second.size())};
    }

    std::optional<DecodedPage> DecodeThumbnail(const std::string& path, std::uint32_t maxWidth,
                                               std::uint32_t maxHeight, std::stop_token) override {
        thumbnailBox = {maxWidth, maxHeight};
        return DecodePage(path, 0);
    }

    std::optional<ImageFileInfo> ReadFileInfo(const std::string& path) override {
        ThrowIfAsked();
        if (!files.contains(path)) {
            return std::nullopt;
        }
        ImageFileInfo info{
            ImageFileFormat::Png, 640, 480, 32, 2, "PNG image", "PNG", "image/png", ".png", 96, 72,
            "PNG Decoder"};
        return info;
    }

    Throw toThrow = Throw::Nothing;
    ImageSize thumbnailBox;

private:
    void ThrowIfAsked() const {
        switch (toThrow) {
            case Throw::BadAlloc:
                throw std::bad_alloc();
            case Throw::RuntimeError:
                throw std::runtime_error("decoder failed");
            case Throw::Int:
                throw 7;
            case Throw::Nothing:
                break;
        }
    }

    std::map<std::string, std::vector<PixelImage>> files;
};

struct Info {
    std::uint32_t width = 0, height = 0;
    std::uint8_t bits = 0;
    int rowBytes = 0, paletteColors = 0, page = 0, outline = 0, gray = 0, pageCount = 0,
        dibBytes = 0;
};

class SessionTest : public testing::Test {
protected:
    SessionTest() {
        decoder.Add("two.tif", PatternImage(60, 40));
        decoder.Add("two.tif", GrayImage(3, 2, {1, 2, 3, 4, 5, 6}));
        decoder.Add("wide.png", PatternImage(400, 200));
    }

    // A session holding the first page of two.tif, 60 x 40 colour.
    int Loaded() {
        const int s = library.cNewSession();
        EXPECT_NE(s, 0);
        EXPECT_EQ(library.cLoadImage(s, "two.tif", 0, 0, 0), 1);
        return s;
    }

    Info InfoOf(int s) {
        Info i;
        EXPECT_EQ(
            library.cGetImageInfo(s, &i.width, &i.height, &i.bits, &i.rowBytes, &i.paletteColors,
                                  &i.page, &i.outline, &i.gray, &i.pageCount, &i.dibBytes),
            1);
        return i;
    }

    ImageSize SizeOf(int s) {
        const Info i = InfoOf(s);
        return {i.width, i.height};
    }

    FakeDecoder decoder;
    SessionImageLibrary library{decoder};
};

TEST_F(SessionTest, SessionsAreDistinctAndDestroyedOnce) {
    const int a = library.cNewSession();
    const int b = library.cNewSession();
    EXPECT_NE(a, 0);
    EXPECT_NE(b, 0);
    EXPECT_NE(a, b);
    EXPECT_EQ(library.SessionCount(), 2u);
    EXPECT_EQ(library.cDestroySession(a), 1);
    EXPECT_EQ(library.cDestroySession(a), 0);
    EXPECT_EQ(library.cDestroySession(12345), 0);
    EXPECT_EQ(library.SessionCount(), 1u);
    EXPECT_EQ(library.cLoadImage(a, "two.tif", 0, 0, 0), 0);
    EXPECT_EQ(library.cOpGrayScale(a), 0);
    EXPECT_EQ(library.cDestroySession(b), 1);
}

TEST_F(SessionTest, LoadSelectsThePageAndAMissingPageLeavesNoImage) {
    const int s = Loaded();
    Info i = InfoOf(s);
    EXPECT_EQ((ImageSize{i.width, i.height}), (ImageSize{60, 40}));
    EXPECT_EQ(i.bits, 24);
    EXPECT_EQ(i.rowBytes, 180);
    EXPECT_EQ(i.paletteColors, 0);
    EXPECT_EQ(i.page, 0);
    EXPECT_EQ(i.outline, 1);
    EXPECT_EQ(i.gray, 0);
    EXPECT_EQ(i.pageCount, 2);
    EXPECT_EQ(i.dibBytes, 40 + 180 * 40);

    ASSERT_EQ(library.cLoadImage(s, "two.tif", 1, 0, 0), 1);
    i = InfoOf(s);
    EXPECT_EQ((ImageSize{i.width, i.height}), (ImageSize{3, 2}));
    EXPECT_EQ(i.bits, 8);
    EXPECT_EQ(i.gray, 1);
    EXPECT_EQ(i.page, 1);
    EXPECT_EQ(i.rowBytes, 4);

    for (const int page : {2, -1}) {
        EXPECT_EQ(library.cLoadImage(s, "two.tif", page, 0, 0), 0);
        EXPECT_EQ(library.cGetImageInfo(s, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                        nullptr, nullptr, nullptr, nullptr),
                  0);
    }
    EXPECT_EQ(library.cLoadImage(s, "absent.png", 0, 0, 0), 0);
    EXPECT_EQ(library.cLoadImage(s, nullptr, 0, 0, 0), 0);
    library.cDestroySession(s);
}

TEST_F(SessionTest, ResizeGivesExactOrFittedSizes) {
    const struct {
        int width, height, keepAspect;
        ImageSize expected;
    } cases[] = {
        {30, 30, 0, {30, 30}},   {30, 30, 1, {30, 20}}, {100, 100, 1, {100, 67}},
        {6, 1000, 1, {6, 4}},    {1000, 4, 1, {6, 4}},  {61, 40, 0, {61, 40}},
        {120, 80, 1, {120, 80}}, {1, 1, 1, {1, 1}},
    };
    for (const auto& c : cases) {
        for (int method = 0; method <= 3; ++method) {
            const int s = Loaded();
            EXPECT_EQ(library.cOpResize(s, c.width, c.height, c.keepAspect, 1, method), 1);
            EXPECT_EQ(SizeOf(s), c.expected) << c.width << "x" << c.height << " " << method;
            library.cDestroySession(s);
        }
    }
}

TEST_F(SessionTest, FitsThatCoverTheTargetKeepThePlainFitsPixels) {
    const auto pixels = [&](int s) {
        const ByteArray* dib = nullptr;
        EXPECT_EQ(library.cGetDIB(s, &dib, 0), 1);
        return dib;
    };
    for (int method = 0; method <= 3; ++method) {
        const int cover = Loaded();
        EXPECT_EQ(library.cOpResizeToCover(cover, 50, 90, method), 1);
        EXPECT_EQ(SizeOf(cover), (ImageSize{50, 90})) << method;
        // The plain fit is 120 x 80 on a 160 x 80 bitmap (after the 40-byte header, rows of
        // 480 bytes from the bottom up): its rows lie at byte 20 * 3 of each framed row.
        const int framed = Loaded();
        const int plain = Loaded();
        EXPECT_EQ(library.cOpResizeFramed(framed, 160, 80, method), 1);
        EXPECT_EQ(library.cOpResize(plain, 160, 80, 1, 1, method), 1);
        ASSERT_EQ(SizeOf(framed), (ImageSize{160, 80}));
        ASSERT_EQ(SizeOf(plain), (ImageSize{120, 80}));
        const ByteArray& a = *pixels(framed);
        const ByteArray& b = *pixels(plain);
        for (std::size_t row = 0; row < 80; ++row) {
            EXPECT_TRUE(std::equal(b.begin() + 40 + row * 360, b.begin() + 40 + row * 360 + 360,
                                   a.begin() + 40 + row * 480 + 60))
                << "method " << method << " row " << row;
        }
        for (const int s : {cover, framed, plain}) {
            library.cDestroySession(s);
        }
    }
    // The edge colour as a COLORREF: red in the low byte.
    const int s = library.cNewSession();
    ASSERT_EQ(library.cNewImage(s, 4, 4, 0x0080FF), 1);
    ColorRef edge = 0;
    EXPECT_EQ(library.cGetEdgeColor(s, &edge), 1);
    EXPECT_EQ(edge, 0x0080FFu);
    EXPECT_EQ(library.cOpPlaceOnColor(s, 6, 5, 0x00FF00), 1);
    EXPECT_EQ(SizeOf(s), (ImageSize{6, 5}));
    library.cDestroySession(s);
}

TEST_F(SessionTest, RefusedOperationsLeaveTheImageAsItWas) {
    const int s = Loaded();
    EXPECT_EQ(library.cOpResize(s, 0, 10, 0, 1, 3), 0);
    EXPECT_EQ(library.cOpResize(s, 10, -1, 0, 1, 3), 0);
    EXPECT_EQ(library.cOpResize(s, 10, 10, 0, 1, 4), 0);
    EXPECT_EQ(library.cOpResize(s, 10, 10, 0, 1, -1), 0);
    EXPECT_EQ(library.cOpResize(s, 100000, 100000, 0, 1, 3), 0);
    EXPECT_EQ(library.cOpResizeToCover(s, 0, 10, 3), 0);
    EXPECT_EQ(library.cOpResizeFramed(s, 10, 10, 4), 0);
    EXPECT_EQ(library.cOpPlaceOnColor(s, 10, 0, 0), 0);
    EXPECT_EQ(library.cOpRotateFine(s, 45.0), 0);
    EXPECT_EQ(library.cOpReduceColors(s, 248, 4, 1), 0);
    EXPECT_EQ(library.cOpReduceColors(s, 0, 8, 1), 0);
    EXPECT_EQ(library.cOpReduceColors(s, 257, 8, 1), 0);
    EXPECT_EQ(library.cOpIncreaseBitsPerPixel(s, 32), 0);
    EXPECT_EQ(library.cSave(s, "x.jpg", 1, 0, 0, 0), 0);
    EXPECT_EQ(library.cSave(s, nullptr, 2, 0, 0, 0), 0);
    EXPECT_EQ(library.cGetDIB(s, nullptr, 0), 0);
    EXPECT_EQ(library.cLoadAlphaMask(s, nullptr), 0);
    const Info i = InfoOf(s);
    EXPECT_EQ((ImageSize{i.width, i.height}), (ImageSize{60, 40}));
    EXPECT_EQ(i.bits, 24);
    library.cDestroySession(s);
}

TEST_F(SessionTest, InfoFollowsEveryOperation) {
    const int s = Loaded();
    ASSERT_EQ(library.cOpRotateFine(s, 90.0), 1);
    EXPECT_EQ(SizeOf(s), (ImageSize{40, 60}));
    ASSERT_EQ(library.cOpRotateFine(s, -90.0), 1);
    ASSERT_EQ(library.cOpRotateFine(s, 180.0), 1);
    EXPECT_EQ(SizeOf(s), (ImageSize{60, 40}));

    ASSERT_EQ(library.cOpReduceColors(s, 248, 8, 1), 1);
    Info i = InfoOf(s);
    EXPECT_EQ(i.bits, 8);
    EXPECT_GT(i.paletteColors, 0);
    EXPECT_LE(i.paletteColors, 248);
    EXPECT_EQ(i.gray, 0);
    EXPECT_EQ(i.dibBytes, 40 + 4 * i.paletteColors + 60 * 40);

    ASSERT_EQ(library.cOpIncreaseBitsPerPixel(s, 8), 1);
    EXPECT_EQ(InfoOf(s).bits, 8);
    ASSERT_EQ(library.cOpGrayScale(s), 1);
    i = InfoOf(s);
    EXPECT_EQ(i.bits, 8);
    EXPECT_EQ(i.gray, 1);
    EXPECT_EQ(i.paletteColors, 0);
    ASSERT_EQ(library.cOpIncreaseBitsPerPixel(s, 24), 1);
    EXPECT_EQ(InfoOf(s).bits, 24);
    EXPECT_EQ(InfoOf(s).gray, 0);
    library.cDestroySession(s);
}

TEST_F(SessionTest, MergeBlendsByTheLoadedMaskOnlyOnce) {
    const int s = library.cNewSession();
    ASSERT_EQ(library.cLoadImage(s, "two.tif", 1, 0, 0), 1);  // gray 3 x 2
    EXPECT_EQ(library.cMergeTransparency(s, 0), 0);           // no mask yet
    const std::uint8_t mask[] = {255, 0, 255, 0, 255, 0};
    ASSERT_EQ(library.cLoadAlphaMask(s, mask), 1);
    ASSERT_EQ(library.cMergeTransparency(s, 0x00FF0000), 1);  // blue
    const ByteArray* dibBytes = nullptr;
    ASSERT_EQ(library.cGetDIB(s, &dibBytes, 0), 1);
    // Gray over blue becomes colour; stored rows bottom-up: blue 5 blue / 1 blue 3.
    const Buffer rows(dibBytes->begin() + 40, dibBytes->end());
    EXPECT_EQ(rows, (Buffer{255, 0, 0, 5,   5, 5, 255, 0, 0, 0, 0, 0,  //
                            1,   1, 1, 255, 0, 0, 3,   3, 3, 0, 0, 0}));
    EXPECT_EQ(library.cMergeTransparency(s, 0), 0);  // the mask was used up

    // A mask loaded before a resize no longer fits the image.
    ASSERT_EQ(library.cLoadAlphaMask(s, mask), 1);
    ASSERT_EQ(library.cOpResize(s, 2, 2, 0, 1, 0), 1);
    EXPECT_EQ(library.cMergeTransparency(s, 0), 0);
    library.cDestroySession(s);
}

TEST_F(SessionTest, MergeKeepsAPaletteImageAtEightBits) {
    const int s = Loaded();
    ASSERT_EQ(library.cOpReduceColors(s, 248, 8, 1), 1);
    std::vector<std::uint8_t> mask(60 * 40);
    for (std::size_t i = 0; i < mask.size(); ++i) {
        mask[i] = static_cast<std::uint8_t>(i * 13);
    }
    ASSERT_EQ(library.cLoadAlphaMask(s, mask.data()), 1);
    ASSERT_EQ(library.cMergeTransparency(s, 0x00123456), 1);
    const Info i = InfoOf(s);
    EXPECT_EQ(i.bits, 8);
    EXPECT_LE(i.paletteColors, 248);
    library.cDestroySession(s);
}

TEST_F(SessionTest, ArraysStayValidUntilTheSessionIsDestroyed) {
    const int s = Loaded();
    const ByteArray* first = nullptr;
    const ByteArray* second = nullptr;
    ASSERT_EQ(library.cGetDIB(s, &first, 0), 1);
    ASSERT_EQ(library.cOpGrayScale(s), 1);
    ASSERT_EQ(library.cGetDIB(s, &second, 0), 1);
    EXPECT_EQ(first->size(), 40u + 180 * 40);
    EXPECT_EQ(second->size(), 40u + 1024 + 60 * 40);
    EXPECT_EQ(dib::ReadInfoHeader(first->data()).bitCount, 24);
    library.cDestroySession(s);
}

TEST_F(SessionTest, ThumbnailsFitTheBoxAndSmallImagesKeepTheirSize) {
    const int s = library.cNewSession();
    ASSERT_EQ(library.cLoadThumbnail(s, "wide.png", 100, 100), 1);
    EXPECT_EQ(SizeOf(s), (ImageSize{100, 50}));
    EXPECT_EQ(decoder.thumbnailBox, (ImageSize{100, 100}));
    ASSERT_EQ(library.cLoadThumbnail(s, "wide.png", 1000, 1000), 1);
    EXPECT_EQ(SizeOf(s), (ImageSize{400, 200}));
    EXPECT_EQ(library.cLoadThumbnail(s, "wide.png", 0, 100), 0);
    EXPECT_EQ(library.cLoadThumbnail(s, "absent.png", 100, 100), 0);
    std::stop_source cancelled;
    cancelled.request_stop();
    EXPECT_EQ(library.cLoadThumbnailCancellable(s, "wide.png", 100, 100, cancelled.get_token()), 0);
    library.cDestroySession(s);
}

TEST_F(SessionTest, FileInfoNeedsADecodableFileAndAcceptsNullPointers) {
    int pages = 0;
    LibraryString description;
    ASSERT_EQ(library.cGetImageFileInfo("two.tif", 0, nullptr, nullptr, nullptr, nullptr, &pages,
                                        &description, nullptr, nullptr, nullptr, nullptr, nullptr,
                                        nullptr),
              1);
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(description, "PNG image");
    EXPECT_EQ(
        library.cGetImageFileInfo("absent.png", 0, nullptr, nullptr, nullptr, nullptr, &pages,
                                  nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
        0);
}

TEST_F(SessionTest, DecoderExceptionsBecomeFailures) {
    const int s = library.cNewSession();
    for (const auto kind : {FakeDecoder::Throw::BadAlloc, FakeDecoder::Throw::RuntimeError,
                            FakeDecoder::Throw::Int}) {
        decoder.toThrow = kind;
        EXPECT_NO_THROW({
            EXPECT_EQ(library.cLoadImage(s, "two.tif", 0, 0, 0), 0);
            EXPECT_EQ(library.cLoadThumbnail(s, "two.tif", 10, 10), 0);
            EXPECT_EQ(library.cGetImageFileInfo("two.tif", 0, nullptr, nullptr, nullptr, nullptr,
                                                nullptr, nullptr, nullptr, nullptr, nullptr,
                                                nullptr, nullptr, nullptr),
                      0);
        });
    }
    decoder.toThrow = FakeDecoder::Throw::Nothing;
    EXPECT_EQ(library.cLoadImage(s, "two.tif", 0, 0, 0), 1);
    library.cDestroySession(s);
}

TEST_F(SessionTest, SessionsWorkOnTwoThreadsAtOnce) {
    const auto work = [this](int* failures) {
        for (int i = 0; i < 40; ++i) {
            const int s = library.cNewSession();
            const bool ok = s != 0 && library.cLoadImage(s, "wide.png", 0, 0, 0) == 1 &&
                            library.cOpResize(s, 50 + i, 30, 1, 1, i % 4) == 1 &&
                            library.cOpRotateFine(s, 90) == 1 && library.cDestroySession(s) == 1;
            *failures += ok ? 0 : 1;
        }
    };
    int failuresA = 0;
    int failuresB = 0;
    std::thread a(work, &failuresA);
    std::thread b(work, &failuresB);
    a.join();
    b.join();
    EXPECT_EQ(failuresA + failuresB, 0);
    EXPECT_EQ(library.SessionCount(), 0u);
}

}  // namespace
