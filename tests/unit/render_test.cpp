// Masks and the image preparation pipeline, against a recording image library and a fake
// desktop.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "imagelib/dib.h"
#include "render/masking.h"
#include "render/publish.h"
#include "render/render_wallpaper.h"
#include "render/wallpaper_renderer.h"
#include "tests/unit/recording_image_library.h"

namespace {

class FakeDesktop final : public Desktop {
public:
    ScreenSize size{1024, 768};
    int bits = 32;
    std::string windowsDirectory = "C:\\WINDOWS";
    std::string localAppData;
    // Files that cannot be replaced, as a folder of that name or a standard user's rights make
    // the Windows directory's bitmap.
    std::vector<std::string> unwritable;
    std::vector<std::string> actions;
    // Actions come from the window's thread and the preparing worker at once.
    std::mutex lock;

    ScreenSize DesktopSize() override { return size; }
    int BitsPerPixel() override { return bits; }
    ColorRef BackgroundColor() override { return 0x123456; }
    std::string WindowsDirectory() override { return windowsDirectory; }
    std::string LocalAppDataFolder() override { return localAppData; }
    bool MakeFolder(const std::string& path) override {
        Record("folder " + path);
        return true;
    }
    bool MoveFileOver(const std::string& from, const std::string& to) override {
        if (std::find(unwritable.begin(), unwritable.end(), to) != unwritable.end()) {
            return false;
        }
        Record("move " + from + " to " + to);
        return true;
    }
    void RemoveFile(const std::string& path) override { Record("remove " + path); }
    void WriteTileWallpaper(bool tile) override { Record(tile ? "tile 1" : "tile 0"); }
    void SetWallpaper(const std::string& path) override { Record("wallpaper " + path); }
    void Record(const std::string& action) {
        const std::lock_guard guard(lock);
        actions.push_back(action);
    }
    bool Did(const std::string& action) {
        const std::lock_guard guard(lock);
        return std::find(actions.begin(), actions.end(), action) != actions.end();
    }
};

AppSettings EdgeSettings(int left, int top, int right, int bottom) {
    AppSettings s;
    s.maskMode = 0;
    s.maskLeft = left;
    s.maskTop = top;
    s.maskRight = right;
    s.maskBottom = bottom;
    return s;
}

TEST(MaskingTest, RoundedSqrtIsTheNearestInteger) {
    const int cases[][2] = {{0, 0},  {1, 1},  {2, 1},       {3, 2},        {6, 2},  {7, 3},
                            {12, 3}, {13, 4}, {65025, 255}, {130050, 361}, {99, 10}};
    for (const auto& c : cases) {
        EXPECT_EQ(RoundedSqrt(c[0]), c[1]) << c[0];
    }
}

TEST(MaskingTest, EdgeMaskBandsFollowTheTables) {
    std::optional<OpacityMask> left = BuildEdgeMask(EdgeSettings(10, 0, 0, 0), 100, 50);
    ASSERT_TRUE(left);
    for (int y : {0, 25, 49}) {
        for (auto [x, value] : {std::pair{0, 0}, {1, 26}, {5, 128}, {9, 230}, {10, 255}}) {
            EXPECT_EQ(left->At(x, y), value) << x << "," << y;
        }
    }
    std::optional<OpacityMask> right = BuildEdgeMask(EdgeSettings(0, 0, 10, 0), 100, 50);
    ASSERT_TRUE(right);
    for (auto [x, value] : {std::pair{90, 255}, {91, 230}, {95, 128}, {99, 26}}) {
        EXPECT_EQ(right->At(x, 7), value) << x;
    }
    std::optional<OpacityMask> corner = BuildEdgeMask(EdgeSettings(10, 10, 0, 0), 100, 100);
    ASSERT_TRUE(corner);
    const int points[][3] = {{0, 0, 0}, {5, 5, 75}, {9, 9, 220}, {7, 3, 61}, {10, 0, 0}};
    for (const auto& p : points) {
        EXPECT_EQ(corner->At(p[0], p[1]), p[2]) << p[0] << "," << p[1];
    }
    // Overlapping bands: the top formula wins up to row 98, row 99 is the bottom's.
    std::optional<OpacityMask> overlap = BuildEdgeMask(EdgeSettings(0, 99, 0, 99), 100, 100);
    ASSERT_TRUE(overlap);
    EXPECT_EQ(overlap->At(50, 0), 0);
    EXPECT_EQ(overlap->At(50, 98), 255 - (99 - 98) * 255 / 99);
    EXPECT_EQ(overlap->At(50, 99), 3);
}

TEST(MaskingTest, NoEdgeMaskWhenOffAllZeroOrTiled) {
    EXPECT_FALSE(BuildEdgeMask(EdgeSettings(0, 0, 0, 0), 100, 50));
    AppSettings fileMode = EdgeSettings(10, 0, 0, 0);
    fileMode.maskMode = 1;
    EXPECT_FALSE(BuildEdgeMask(fileMode, 100, 50));
    AppSettings tiled = EdgeSettings(10, 0, 0, 0);
    tiled.tileWallpaper = true;
    EXPECT_FALSE(BuildEdgeMask(tiled, 100, 50));
    EXPECT_FALSE(BuildEdgeMask(EdgeSettings(10, 0, 0, 0), 0, 50));
}

TEST(MaskingTest, CutMaskWindowCentresThePictureAndKeepsOutsidePixelsOpaque) {
    OpacityMask desktop{1024, 768, {}};
    desktop.bytes.resize(1024 * 768);
    for (int y = 0; y < 768; ++y) {
        for (int x = 0; x < 1024; ++x) {
            desktop.bytes[static_cast<size_t>(y * 1024 + x)] = static_cast<std::uint8_t>(x ^ y);
        }
    }
    OpacityMask window = CutMaskWindow(desktop, 800, 600);
    EXPECT_EQ(window.width, 800);
    EXPECT_EQ(window.At(0, 0), desktop.At(112, 84));
    EXPECT_EQ(window.At(799, 599), desktop.At(911, 683));

    OpacityMask small{4, 2, {10, 11, 12, 13, 20, 21, 22, 23}};
    OpacityMask wide = CutMaskWindow(small, 7, 4);  // x0 = -1, y0 = -1
    const std::vector<std::uint8_t> expected = {255, 255, 255, 255, 255, 255, 255,  //
                                                255, 10,  11,  12,  13,  255, 255,  //
                                                255, 20,  21,  22,  23,  255, 255,  //
                                                255, 255, 255, 255, 255, 255, 255};
    EXPECT_EQ(wide.bytes, expected);
}

TEST(MaskingTest, DesktopEdgeMaskIsRebuiltForANewSizeAndDropped) {
    DesktopEdgeMask cache;
    AppSettings settings = EdgeSettings(10, 0, 0, 0);
    cache.Ensure(settings, 200, 100);
    ASSERT_NE(cache.For(200, 100), nullptr);
    EXPECT_EQ(cache.For(300, 100), nullptr);
    cache.Ensure(settings, 300, 100);
    ASSERT_NE(cache.For(300, 100), nullptr);
    EXPECT_EQ(cache.For(300, 100)->At(3, 0), 255 - (30 - 3) * 255 / 30);
    cache.Drop();
    EXPECT_EQ(cache.For(300, 100), nullptr);
    settings.maskImageOutline = true;
    cache.Ensure(settings, 300, 100);
    EXPECT_EQ(cache.For(300, 100), nullptr);
}

// An 8-bit gray DIB, bottom-up, whose top-down row r, column x holds r * 16 + x.
ByteArray GrayDib(int width, int height) {
    const size_t stride = (static_cast<size_t>(width) + 3) / 4 * 4;
    ByteArray bytes(dib::kInfoHeaderBytes + 256 * 4 + stride * static_cast<size_t>(height));
    dib::BitmapInfoHeader header;
    header.width = width;
    header.height = height;
    header.bitCount = 8;
    dib::WriteInfoHeader(header, bytes.data());
    for (int r = 0; r < height; ++r) {
        std::uint8_t* row = bytes.data() + dib::kInfoHeaderBytes + 1024 +
                            static_cast<size_t>(height - 1 - r) * stride;
        for (int x = 0; x < width; ++x) {
            row[x] = static_cast<std::uint8_t>(r * 16 + x);
        }
    }
    return bytes;
}

TEST(MaskingTest, FileMaskIsScaledToTheDesktopAndCutUnderTheImage) {
    RecordingImageLibrary library;
    library.loadWidth = 5;
    library.loadHeight = 5;
    library.dib = GrayDib(16, 8);
    AppSettings settings;
    settings.maskMode = 1;
    settings.maskFile = "C:\\mask.png";
    std::optional<OpacityMask> mask = LoadMaskFile(library, settings.maskFile, 16, 8);
    ASSERT_TRUE(mask);
    EXPECT_EQ(mask->At(3, 0), 3);
    EXPECT_EQ(mask->At(15, 7), 7 * 16 + 15);
    EXPECT_EQ(library.calls, (std::vector<std::string>{
                                 "cNewSession()", "cLoadImage(C:\\mask.png,0)", "cOpGrayScale()",
                                 "cOpResize(16,8,0,1,3)", "cGetDIB()", "cDestroySession(7)"}));

    // A DIB that claims more rows than it holds is no mask.
    library.dib.resize(library.dib.size() - 1);
    EXPECT_FALSE(LoadMaskFile(library, settings.maskFile, 16, 8));
    library.dib = GrayDib(16, 9);
    EXPECT_FALSE(LoadMaskFile(library, settings.maskFile, 16, 8));
    EXPECT_EQ(library.liveSessions, 0);
}

TEST(MaskingTest, MaskStageFollowsModeTileAndOutline) {
    const struct {
        const char* what;
        int mode;
        bool tile;
        bool outline;
        bool desktopMask;
        bool merges;
    } cases[] = {
        {"edge, desktop mask", 0, false, false, true, true},
        {"edge, tiled", 0, true, false, true, false},
        {"edge, no desktop mask, desktop edges", 0, false, false, false, false},
        {"edge, image outline", 0, false, true, false, true},
        {"no masking", 2, false, false, true, false},
        {"unknown mode", 5, false, false, true, false},
        {"file", 1, false, false, false, true},
        {"file, tiled", 1, true, false, false, false},
    };
    for (const auto& c : cases) {
        RecordingImageLibrary library;
        library.dib = GrayDib(16, 8);
        AppSettings settings = EdgeSettings(10, 10, 10, 10);
        settings.maskMode = c.mode;
        settings.tileWallpaper = c.tile;
        settings.maskImageOutline = c.outline;
        settings.maskFile = "m.png";
        OpacityMask desktopMask{16, 8, std::vector<std::uint8_t>(128, 9)};
        library.cLoadImage(1, "image", 0, 0, 0);
        library.cOpResize(1, 8, 4, 0, 1, 0);
        library.calls.clear();
        ApplyMask(library, 1, settings, 8, 4, 16, 8, 0xABCDEF,
                  c.desktopMask ? &desktopMask : nullptr);
        bool merged =
            !library.calls.empty() && library.calls.back() == "cMergeTransparency(ABCDEF)";
        EXPECT_EQ(merged, c.merges) << c.what;
        if (c.mode == 1 && merged) {
            // The desktop-size mask file, cut at column 4, row 2.
            EXPECT_EQ(library.loadedMask[0], 2 * 16 + 4) << c.what;
        }
    }
}

struct PipelineCase {
    const char* what;
    int resizeMode;
    int standardSize;
    std::uint32_t width, height;
    int rotation;
    int displayBits;
    std::vector<std::string> middle;  // the calls between cLoadImage and cSave
};

TEST(RenderWallpaperTest, CallsTheLibraryAsThePolicyRotationAndDisplayAsk) {
    const PipelineCase cases[] = {
        {"reduce large: smaller image", 0, 1, 800, 600, 0, 32, {}},
        {"reduce large: desktop size", 0, 1, 1024, 768, 0, 32, {}},
        {"reduce large: one pixel wider", 0, 1, 1025, 768, 0, 32, {"cOpResize(1024,768,1,1,0)"}},
        {"fill", 1, 1, 800, 600, 0, 32, {"cOpResize(1024,768,1,1,0)"}},
        {"fill, exact size", 1, 1, 1024, 768, 0, 32, {}},
        {"unknown policy fills", 9, 1, 800, 600, 0, 32, {"cOpResize(1024,768,1,1,0)"}},
        {"standard 4", 2, 4, 800, 600, 0, 32, {"cOpResize(1152,882,1,1,0)"}},
        {"standard 7", 2, 7, 640, 480, 0, 32, {"cOpResize(800,600,1,1,0)"}},
        {"standard -1, exact", 2, -1, 800, 600, 0, 32, {}},
        {"custom", 3, 1, 800, 600, 0, 32, {"cOpResize(320,200,1,1,0)"}},
        {"counterclockwise", 1, 1, 1024, 768, 1, 32, {"cOpRotateFine(-90.0)"}},
        {"clockwise", 1, 1, 1024, 768, 2, 32, {"cOpRotateFine(90.0)"}},
        {"half turn", 1, 1, 1024, 768, 3, 32, {"cOpRotateFine(180.0)"}},
        {"rotation 4", 1, 1, 1024, 768, 4, 32, {}},
        {"palette display", 1, 1, 1024, 768, 0, 8, {"cOpReduceColors(248,8,1)"}},
        {"resize then turn then reduce",
         1,
         1,
         10,
         10,
         2,
         4,
         {"cOpResize(1024,768,1,1,0)", "cOpRotateFine(90.0)", "cOpReduceColors(248,8,1)"}},
    };
    for (const PipelineCase& c : cases) {
        RecordingImageLibrary library;
        library.loadWidth = c.width;
        library.loadHeight = c.height;
        FakeDesktop desktop;
        desktop.bits = c.displayBits;
        AppSettings settings;
        settings.maskMode = 2;
        settings.resizeMode = c.resizeMode;
        settings.standardSizeIndex = c.standardSize;
        settings.customWidth = 320;
        settings.customHeight = 200;
        RenderRequest request{"C:\\a.jpg", c.rotation, 3, nullptr};
        ASSERT_TRUE(RenderWallpaper(request, settings, "\\Quorwick Velumar.bmp", library, desktop))
            << c.what;
        std::vector<std::string> expected = {"cNewSession()", "cLoadImage(C:\\a.jpg,3)"};
        expected.insert(expected.end(), c.middle.begin(), c.middle.end());
        expected.push_back("cSave(C:\\WINDOWS\\Quorwick Velumar.bmp.new,2)");
        expected.push_back("cDestroySession(7)");
        EXPECT_EQ(library.calls, expected) << c.what;
        EXPECT_EQ(desktop.actions.back(), "wallpaper C:\\WINDOWS\\Quorwick Velumar.bmp") << c.what;
    }
}

TEST(RenderWallpaperTest, ReductionMethodsAndAngles) {
    EXPECT_EQ(ResizeMethodFor(0), 0);
    EXPECT_EQ(ResizeMethodFor(2), 2);
    EXPECT_EQ(ResizeMethodFor(3), 3);
    EXPECT_EQ(ResizeMethodFor(9), 3);
    EXPECT_EQ(ResizeMethodFor(-1), 3);
}

TEST(RenderWallpaperTest, FailuresGiveFalseAndAlwaysDestroyTheSession) {
    const struct {
        const char* what;
        bool loadFails;
        bool saveFails;
        const char* throwOn;
        bool longWindowsDirectory;
    } cases[] = {
        {"undecodable file", true, false, "", false},
        {"save fails", false, true, "", false},
        {"library throws while resizing", false, false, "cOpResize", false},
        {"library throws while loading", false, false, "cLoadImage", false},
        {"library throws while saving", false, false, "cSave", false},
        {"path too long", false, false, "", true},
    };
    for (const auto& c : cases) {
        RecordingImageLibrary library;
        library.loadWidth = 2000;
        library.loadFails = c.loadFails;
        library.saveFails = c.saveFails;
        library.throwOn = c.throwOn;
        FakeDesktop desktop;
        if (c.longWindowsDirectory) {
            desktop.windowsDirectory = "C:\\" + std::string(250, 'w');
        }
        AppSettings settings;
        settings.tileWallpaper = true;
        EXPECT_FALSE(RenderWallpaper({"x.jpg", 0, 0, nullptr}, settings, "\\Quorwick Velumar.bmp",
                                     library, desktop))
            << c.what;
        EXPECT_EQ(library.liveSessions, 0) << c.what;
        EXPECT_EQ(library.calls.back(), "cDestroySession(7)") << c.what;
        // Nothing but the removal of a temporary file: no setting is touched.
        for (const std::string& action : desktop.actions) {
            EXPECT_EQ(action.rfind("remove ", 0), 0u) << c.what << ": " << action;
        }
    }
    RecordingImageLibrary noSession;
    noSession.newSessionFails = true;
    FakeDesktop desktop;
    EXPECT_FALSE(
        RenderWallpaper({"x.jpg", 0, 0, nullptr}, AppSettings{}, "\\V.bmp", noSession, desktop));
    EXPECT_EQ(noSession.calls, std::vector<std::string>{"cNewSession()"});
}

TEST(RenderWallpaperTest, PublishReplacesTheBitmapInOneStepThenWritesTileAndWallpaper) {
    RecordingImageLibrary library;
    FakeDesktop desktop;
    EXPECT_TRUE(PublishWallpaper(library, 7, {"C:\\W\\x.bmp"}, true, desktop));
    EXPECT_EQ(library.calls.back(), "cSave(C:\\W\\x.bmp.new,2)");
    EXPECT_EQ(desktop.actions, (std::vector<std::string>{"move C:\\W\\x.bmp.new to C:\\W\\x.bmp",
                                                         "tile 1", "wallpaper C:\\W\\x.bmp"}));
    RemoveWallpaper(desktop);
    EXPECT_EQ(desktop.actions.back(), "wallpaper ");
}

TEST(RenderWallpaperTest, CustomSizesAreBoundedByWhatAWallpaperCanUse) {
    const ScreenSize desktop{1024, 768};
    struct Case {
        ScreenSize custom;
        ScreenSize made;
    };
    const Case cases[] = {
        {{800, 600}, {800, 600}},       {{0, 600}, {0, 600}},
        {{2048, 1536}, {2048, 1536}},    // exactly four desktops
        {{268435456, 1}, {16384, 1}},    // one side past the limit
        {{100, 20000}, {81, 16384}},     // the other side past it: both scaled
        {{4096, 3072}, {2048, 1536}},    // sixteen desktops: halved both ways
        {{20000, 20000}, {1773, 1773}},  // both limits: the pixel bound wins
    };
    for (const Case& c : cases) {
        ScreenSize made = ClampCustomSize(c.custom, desktop);
        EXPECT_EQ(made.width, c.made.width) << c.custom.width << "x" << c.custom.height;
        EXPECT_EQ(made.height, c.made.height) << c.custom.width << "x" << c.custom.height;
    }
}

TEST(RenderWallpaperTest, AnUnwritableWindowsDirectoryFallsBackToLocalAppData) {
    struct Case {
        bool windowsWritable;
        bool saveFails;
        std::vector<std::string> actions;
    };
    const std::string windows = "C:\\WINDOWS\\V.bmp";
    const std::string appData = "C:\\Users\\u\\AppData\\Local\\Quorwick\\Velumar\\V.bmp";
    const Case cases[] = {
        {true, false, {"move " + windows + ".new to " + windows, "tile 0", "wallpaper " + windows}},
        {false,
         false,
         {"remove " + windows + ".new", "folder C:\\Users\\u\\AppData\\Local\\Quorwick",
          "folder C:\\Users\\u\\AppData\\Local\\Quorwick\\Velumar",
          "move " + appData + ".new to " + appData, "tile 0", "wallpaper " + appData}},
        // Nowhere takes it: the old wallpaper stays, no setting changes.
        {false,
         true,
         {"remove " + windows + ".new", "folder C:\\Users\\u\\AppData\\Local\\Quorwick",
          "folder C:\\Users\\u\\AppData\\Local\\Quorwick\\Velumar", "remove " + appData + ".new"}},
    };
    for (const Case& c : cases) {
        RecordingImageLibrary library;
        library.saveFails = c.saveFails;
        FakeDesktop desktop;
        desktop.localAppData = "C:\\Users\\u\\AppData\\Local";
        if (!c.windowsWritable) {
            desktop.unwritable.push_back(windows);
        }
        EXPECT_EQ(
            RenderWallpaper({"x.jpg", 0, 0, nullptr}, AppSettings{}, "\\V.bmp", library, desktop),
            !c.saveFails);
        EXPECT_EQ(desktop.actions, c.actions);
    }

    // What a run cut short left in either place goes at the next start.
    FakeDesktop desktop;
    desktop.localAppData = "C:\\Users\\u\\AppData\\Local";
    RemoveUnfinishedWallpaperFiles(desktop, "\\V.bmp");
    EXPECT_EQ(desktop.actions, (std::vector<std::string>{
                                   "remove " + windows + ".new", "remove " + windows + ".next",
                                   "remove " + appData + ".new", "remove " + appData + ".next"}));
}

TEST(RenderWallpaperTest, DesktopEdgeMaskIsCutUnderARotatedImage) {
    RecordingImageLibrary library;
    library.loadWidth = 8;
    library.loadHeight = 4;
    FakeDesktop desktop;
    desktop.size = {8, 8};
    AppSettings settings = EdgeSettings(50, 0, 0, 0);
    DesktopEdgeMask cache;
    cache.Ensure(settings, 8, 8);
    settings.resizeMode = 0;
    ASSERT_TRUE(
        RenderWallpaper({"x.jpg", 2, 0, cache.For(8, 8)}, settings, "\\V.bmp", library, desktop));
    // The turned image is 4 x 8: the window starts at column 2 of the desktop mask.
    ASSERT_EQ(library.loadedMask.size(), 32u);
    EXPECT_EQ(library.loadedMask[0], cache.For(8, 8)->At(2, 0));
    EXPECT_EQ(library.loadedMask[3], cache.For(8, 8)->At(5, 0));
}

}  // namespace

namespace {

// Stamps of pretend files, by path.
struct Stamps {
    std::map<std::string, FileStamp> files;
    StampOf Function() {
        return [this](const std::string& path) -> std::optional<FileStamp> {
            const auto it = files.find(path);
            return it == files.end() ? std::nullopt : std::optional<FileStamp>(it->second);
        };
    }
};

}  // namespace

TEST(PreparedWallpaperTest, EveryInputThatShapesThePixelsInvalidatesIt) {
    Stamps stamps;
    stamps.files = {{"a.jpg", {10, 1}}, {"m.png", {5, 1}}};
    const DesktopShape shape{{1024, 768}, 32, 0x123456};
    AppSettings base;
    base.maskFile = "m.png";
    const RenderInputs before = MakeRenderInputs("a.jpg", 0, 0, base, shape, stamps.Function());
    const struct {
        const char* what;
        std::function<void(AppSettings&, DesktopShape&, Stamps&)> change;
        bool invalidates;
    } cases[] = {
        {"the file written", [](auto&, auto&, Stamps& s) { s.files["a.jpg"].writeTime = 2; }, true},
        {"the file gone", [](auto&, auto&, Stamps& s) { s.files.erase("a.jpg"); }, true},
        {"desktop size", [](auto&, DesktopShape& d, auto&) { d.size.width = 800; }, true},
        {"desktop depth", [](auto&, DesktopShape& d, auto&) { d.bitsPerPixel = 8; }, true},
        {"background", [](auto&, DesktopShape& d, auto&) { d.background = 0; }, true},
        {"resize mode", [](AppSettings& a, auto&, auto&) { a.resizeMode = 1; }, true},
        {"custom size", [](AppSettings& a, auto&, auto&) { a.customWidth = 1; }, true},
        {"aspect", [](AppSettings& a, auto&, auto&) { a.retainAspectRatio = false; }, true},
        {"reduction", [](AppSettings& a, auto&, auto&) { a.reductionMethod = 2; }, true},
        {"edge band", [](AppSettings& a, auto&, auto&) { a.maskTop = 5; }, true},
        {"outline", [](AppSettings& a, auto&, auto&) { a.maskImageOutline = true; }, true},
        {"tiling", [](AppSettings& a, auto&, auto&) { a.tileWallpaper = true; }, true},
        {"mask mode", [](AppSettings& a, auto&, auto&) { a.maskMode = 1; }, true},
        {"unused mask file written", [](auto&, auto&, Stamps& s) { s.files["m.png"].size = 6; },
         false},
        {"next index", [](AppSettings& a, auto&, auto&) { a.nextIndex = 9; }, false},
        {"random order", [](AppSettings& a, auto&, auto&) { a.randomOrder = true; }, false},
        {"window moved", [](AppSettings& a, auto&, auto&) { a.windowRect.left = 9; }, false},
        {"interval", [](AppSettings& a, auto&, auto&) { a.switchPeriod = "1:00"; }, false},
    };
    for (const auto& c : cases) {
        AppSettings settings = base;
        DesktopShape desktop = shape;
        Stamps changed = stamps;
        c.change(settings, desktop, changed);
        const RenderInputs after =
            MakeRenderInputs("a.jpg", 0, 0, settings, desktop, changed.Function());
        EXPECT_EQ(after != before, c.invalidates) << c.what;
    }
    // With the mask from a file, writing that file invalidates too.
    base.maskMode = 1;
    const RenderInputs masked = MakeRenderInputs("a.jpg", 0, 0, base, shape, stamps.Function());
    stamps.files["m.png"].size = 6;
    EXPECT_NE(masked, MakeRenderInputs("a.jpg", 0, 0, base, shape, stamps.Function()));
}

TEST(PreparedWallpaperTest, ASwitchMovesThePreparedBitmapOnlyWhenItsInputsAreUnchanged) {
    RecordingImageLibrary library;
    FakeDesktop desktop;
    desktop.windowsDirectory = "C:\\W";
    Stamps stamps;
    stamps.files = {{"a.jpg", {10, 1}}, {"b.jpg", {10, 1}}};
    AppSettings settings;
    {
        WallpaperRenderer renderer(library, desktop, stamps.Function(), "\\x.bmp");
        // Prepared and unchanged: the switch decodes nothing, it moves the bitmap into place.
        renderer.Prepare("a.jpg", 0, 0, settings);
        ASSERT_TRUE(renderer.Show("a.jpg", 0, 0, settings));
        EXPECT_EQ(std::count(library.calls.begin(), library.calls.end(), "cLoadImage(a.jpg,0)"), 1);
        EXPECT_EQ(library.calls.back().rfind("cDestroySession(", 0), 0u);
        EXPECT_EQ(desktop.actions,
                  (std::vector<std::string>{"move C:\\W\\x.bmp.next to C:\\W\\x.bmp", "tile 0",
                                            "wallpaper C:\\W\\x.bmp"}));

        // The file was written after it was prepared, or another item was prepared: the
        // switch renders now and publishes through its own temporary file.
        for (const char* next : {"b.jpg", "a.jpg"}) {
            renderer.Prepare(next, 0, 0, settings);
            stamps.files["b.jpg"].writeTime += 1;
            ASSERT_TRUE(renderer.Show("b.jpg", 0, 0, settings));
            EXPECT_TRUE(desktop.Did("move C:\\W\\x.bmp.new to C:\\W\\x.bmp")) << next;
        }
        renderer.Prepare("a.jpg", 0, 0, settings);
    }
    EXPECT_EQ(library.liveSessions, 0);
}

TEST(PreparedWallpaperTest, ATakeWaitsForTheWorkerAndADropCancelsIt) {
    std::mutex lock;
    std::condition_variable released;
    bool release = false;
    int renders = 0;
    bool sawCancel = false;
    std::vector<std::string> discarded;
    const auto render = [&](const RenderInputs& in,
                            const std::function<bool()>& cancelled) -> std::optional<PreparedFile> {
        std::unique_lock guard(lock);
        ++renders;
        released.notify_all();
        released.wait(guard, [&] { return release; });
        sawCancel = sawCancel || cancelled();
        return PreparedFile{in.path + ".next", in.path};
    };
    RenderInputs a;
    a.path = "a";
    RenderInputs b;
    b.path = "b";
    {
        WallpaperPreparer preparer(render, [&](const std::string& p) { discarded.push_back(p); });
        preparer.Prepare(a);
        std::thread releaser([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            const std::lock_guard guard(lock);
            release = true;
            released.notify_all();
        });
        const std::optional<PreparedFile> taken = preparer.Take(a);
        releaser.join();
        ASSERT_TRUE(taken.has_value());
        EXPECT_EQ(taken->prepared, "a.next");
        EXPECT_EQ(renders, 1);
        EXPECT_FALSE(sawCancel);

        // Dropped while it renders: the render is told, and its bitmap removed.
        release = false;
        preparer.Prepare(b);
        preparer.Prepare(b);  // already under way: not rendered twice
        {
            std::unique_lock guard(lock);
            released.wait(guard, [&] { return renders == 2; });
        }
        preparer.Drop();
        {
            const std::lock_guard guard(lock);
            release = true;
            released.notify_all();
        }
        EXPECT_FALSE(preparer.Take(b).has_value());
    }
    EXPECT_EQ(renders, 2);
    EXPECT_TRUE(sawCancel) << "the render under way was told it is no longer wanted";
    EXPECT_EQ(discarded, std::vector<std::string>{"b.next"});
}

TEST(RenderWallpaperTest, LargeImagesMayDecodeAtAReducedScaleTheResizeWouldReachAnyway) {
    const ScreenSize desktop{1024, 768};
    const auto settingsWith = [](int mode, bool keepAspect, int method) {
        AppSettings s;
        s.resizeMode = mode;
        s.retainAspectRatio = keepAspect;
        s.reductionMethod = method;
        s.standardSizeIndex = 0;  // 640 x 480
        s.customWidth = 300;
        s.customHeight = 100;
        return s;
    };
    const struct {
        ImageSize full;
        int mode;
        bool keepAspect;
        int method;
        std::optional<ImageSize> atLeast;
    } cases[] = {
        {{6000, 4000}, 0, true, 0, ImageSize{1024, 683}},
        {{6000, 4000}, 1, false, 3, ImageSize{1024, 768}},
        {{6000, 4000}, 2, true, 0, ImageSize{640, 427}},
        {{6000, 4000}, 3, false, 3, ImageSize{300, 100}},
        {{800, 600}, 0, true, 0, std::nullopt},     // kept as it is
        {{800, 600}, 1, true, 0, std::nullopt},     // enlarged
        {{2000, 500}, 1, false, 0, std::nullopt},   // stretched taller than it is
        {{6000, 4000}, 1, false, 1, std::nullopt},  // "Favor Black" needs every pixel
        {{6000, 4000}, 1, false, 2, std::nullopt},  // "Favor White" too
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeSizeFor(c.full, settingsWith(c.mode, c.keepAspect, c.method), desktop),
                  c.atLeast)
            << c.full.width << " mode " << c.mode << " method " << c.method;
    }

    // A render of a file whose header tells its size asks the library for the reduced scale.
    const std::string path =
        (std::filesystem::temp_directory_path() / "velumar_render_test.png").string();
    std::ofstream(path, std::ios::binary)
        << std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x17\x70\0\0\x0f\xa0\x08\x02\0\0\0", 29);
    RecordingImageLibrary library;
    FakeDesktop desktopPort;
    RenderWallpaper({path, 0, 0, nullptr}, AppSettings{}, "\\x.bmp", library, desktopPort);
    std::filesystem::remove(path);
    EXPECT_EQ(library.calls.at(1), "cLoadImageAtLeast(" + path + ",0,1024,683)");
}
