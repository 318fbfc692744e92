// The image preparation pipeline and wallpapers prepared ahead, against a recording image
// library and a fake desktop.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "render/masking.h"
#include "render/publish.h"
#include "render/render_wallpaper.h"
#include "render/wallpaper_renderer.h"
#include "tests/unit/exif_orientation.h"
#include "tests/unit/recording_image_library.h"
#include "tests/unit/setting_changes.h"
#include "tests/unit/wait_or_fail.h"

namespace {

class FakeDesktop final : public Desktop {
public:
    ScreenSize size{1024, 768};
    int bits = 32;
    std::string windowsDirectory = "C:\\WINDOWS";
    std::string outputFolder;
    // Files that cannot be replaced, as a folder of that name or a standard user's rights make
    // the Windows directory's bitmap.
    std::vector<std::string> unwritable;
    bool refusesWallpaper = false;
    std::vector<std::string> actions;
    // Actions come from the window's thread and the preparing worker at once.
    std::mutex lock;

    ScreenSize DesktopSize() override { return size; }
    // The primary alone when empty.
    std::vector<MonitorRect> monitors;
    std::vector<MonitorRect> Monitors() override {
        const ScreenSize s = DesktopSize();
        return monitors.empty() ? std::vector<MonitorRect>{{0, 0, s.width, s.height, true}}
                                : monitors;
    }
    int BitsPerPixel() override { return bits; }
    ColorRef BackgroundColor() override { return 0x123456; }
    std::string WindowsDirectory() override { return windowsDirectory; }
    std::string OutputFolder() override { return outputFolder; }
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
    void RemoveFilesMatching(const std::string& pattern) override { Record("remove " + pattern); }
    void WriteTileWallpaper(bool tile) override { Record(tile ? "tile 1" : "tile 0"); }
    std::string style;
    std::string keptStyle;
    std::string ReadWallpaperStyle() override { return style; }
    void WriteWallpaperStyle(const std::string& value) override {
        style = value;
        Record("style " + value);
    }
    std::string KeptWallpaperStyle() override { return keptStyle; }
    void KeepWallpaperStyle(const std::string& value) override { keptStyle = value; }
    bool SetWallpaper(const std::string& path) override {
        Record("wallpaper " + path);
        return !refusesWallpaper;
    }
    void Record(const std::string& action) {
        const std::lock_guard guard(lock);
        actions.push_back(action);
    }
    bool Did(const std::string& action) {
        const std::lock_guard guard(lock);
        return std::find(actions.begin(), actions.end(), action) != actions.end();
    }
};

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
        {"standard 7, added after the first seven",
         2,
         7,
         640,
         480,
         0,
         32,
         {"cOpResize(1280,720,1,1,0)"}},
        {"standard 11", 2, 11, 640, 480, 0, 32, {"cOpResize(3840,2160,1,1,0)"}},
        {"standard 12, past the list", 2, 12, 640, 480, 0, 32, {"cOpResize(800,600,1,1,0)"}},
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
        {"crop", 4, 1, 400, 900, 0, 32, {"cOpResizeToCover(1024,768,0)"}},
        {"crop, exact size", 4, 1, 1024, 768, 0, 32, {}},
        {"crop: turn, then cover",
         4,
         1,
         900,
         400,
         2,
         32,
         {"cOpRotateFine(90.0)", "cOpResizeToCover(1024,768,0)"}},
        {"frame", 5, 1, 400, 900, 0, 32, {"cOpResizeFramed(1024,768,0)"}},
        {"frame: turn, then frame, then reduce",
         5,
         1,
         900,
         400,
         1,
         8,
         {"cOpRotateFine(-90.0)", "cOpResizeFramed(1024,768,0)", "cOpReduceColors(248,8,1)"}},
    };
    for (const PipelineCase& c : cases) {
        RecordingImageLibrary library;
        library.loadWidth = c.width;
        library.loadHeight = c.height;
        FakeDesktop desktop;
        desktop.bits = c.displayBits;
        RenderSettings settings;
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

TEST(RenderWallpaperTest, ThePictureColourFillsWhatThePictureLeavesUncoveredAndTheMasks) {
    const struct {
        const char* what;
        int resizeMode;
        std::uint32_t width, height;
        bool tile;
        bool outlineMask;
        int displayBits;
        std::vector<std::string> middle;  // the calls between cLoadImage and cSave
    } cases[] = {
        {"small picture",
         0,
         800,
         600,
         false,
         false,
         32,
         {"cGetEdgeColor()", "cOpPlaceOnColor(1024,768,123456)"}},
        {"a standard size, masked",
         2,
         400,
         900,
         false,
         true,
         32,
         {"cGetEdgeColor()", "cOpResize(800,600,1,1,0)", "cLoadAlphaMask()",
          "cMergeTransparency(123456)", "cOpPlaceOnColor(1024,768,123456)"}},
        {"a standard size on a palette display",
         2,
         400,
         900,
         false,
         false,
         8,
         {"cGetEdgeColor()", "cOpResize(800,600,1,1,0)", "cOpReduceColors(248,8,1)",
          "cOpPlaceOnColor(1024,768,123456)", "cOpReduceColors(248,8,1)"}},
        {"covering the display", 1, 1024, 768, false, false, 32, {"cGetEdgeColor()"}},
        {"tiled", 0, 800, 600, true, false, 32, {"cGetEdgeColor()"}},
        {"framed",
         5,
         400,
         900,
         false,
         false,
         32,
         {"cGetEdgeColor()", "cOpResizeFramed(1024,768,0)"}},
    };
    for (const auto& c : cases) {
        RecordingImageLibrary library;
        library.loadWidth = c.width;
        library.loadHeight = c.height;
        FakeDesktop desktop;
        desktop.bits = c.displayBits;
        RenderSettings settings;
        settings.pictureColor = true;
        settings.resizeMode = c.resizeMode;
        settings.tileWallpaper = c.tile;
        settings.maskMode = c.outlineMask ? 0 : 2;
        settings.maskImageOutline = c.outlineMask;
        settings.maskLeft = 10;
        ASSERT_TRUE(
            RenderWallpaper({"C:\\a.jpg", 0, 0, nullptr}, settings, "\\x.bmp", library, desktop))
            << c.what;
        std::vector<std::string> expected = {"cNewSession()", "cLoadImage(C:\\a.jpg,0)"};
        expected.insert(expected.end(), c.middle.begin(), c.middle.end());
        expected.push_back("cSave(C:\\WINDOWS\\x.bmp.new,2)");
        expected.push_back("cDestroySession(7)");
        EXPECT_EQ(library.calls, expected) << c.what;
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
        RenderSettings settings;
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
        RenderWallpaper({"x.jpg", 0, 0, nullptr}, RenderSettings{}, "\\V.bmp", noSession, desktop));
    EXPECT_EQ(noSession.calls, std::vector<std::string>{"cNewSession()"});
}

TEST(RenderWallpaperTest, PublishReplacesTheBitmapInOneStepThenWritesTileAndWallpaper) {
    FakeDesktop desktop;
    EXPECT_TRUE(PublishPrepared({"C:\\W\\x.bmp.next", "C:\\W\\x.bmp"}, true, desktop));
    EXPECT_EQ(desktop.actions, (std::vector<std::string>{"move C:\\W\\x.bmp.next to C:\\W\\x.bmp",
                                                         "tile 1", "wallpaper C:\\W\\x.bmp"}));
    RemoveWallpaper(desktop);
    EXPECT_EQ(desktop.actions.back(), "wallpaper ");

    // A wallpaper the system refuses is a failed publish.
    desktop.refusesWallpaper = true;
    EXPECT_FALSE(PublishPrepared({"C:\\W\\x.bmp.next", "C:\\W\\x.bmp"}, true, desktop));
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
        // The bitmap written beside a wallpaper that cannot be replaced moves to the next place.
        {false,
         false,
         {"folder C:\\Users\\u\\AppData\\Local\\Quorwick\\Velumar",
          "move " + windows + ".new to " + appData, "tile 0", "wallpaper " + appData}},
        // Nowhere takes it: the old wallpaper stays, no setting changes.
        {false,
         true,
         {"remove " + windows + ".new", "folder C:\\Users\\u\\AppData\\Local\\Quorwick\\Velumar",
          "remove " + appData + ".new"}},
    };
    for (const Case& c : cases) {
        RecordingImageLibrary library;
        library.saveFails = c.saveFails;
        FakeDesktop desktop;
        desktop.outputFolder = "C:\\Users\\u\\AppData\\Local\\Quorwick\\Velumar";
        if (!c.windowsWritable) {
            desktop.unwritable.push_back(windows);
        }
        EXPECT_EQ(RenderWallpaper({"x.jpg", 0, 0, nullptr}, RenderSettings{}, "\\V.bmp", library,
                                  desktop),
                  !c.saveFails);
        EXPECT_EQ(desktop.actions, c.actions);
    }

    // What a run cut short left in either place goes at the next start.
    FakeDesktop desktop;
    desktop.outputFolder = "C:\\Users\\u\\AppData\\Local\\Quorwick\\Velumar";
    RemoveUnfinishedWallpaperFiles(desktop, "\\V.bmp");
    EXPECT_EQ(desktop.actions, (std::vector<std::string>{
                                   "remove " + windows + ".new", "remove " + windows + ".next*",
                                   "remove " + appData + ".new", "remove " + appData + ".next*"}));
}

TEST(RenderWallpaperTest, DesktopEdgeMaskIsCutUnderARotatedImage) {
    RecordingImageLibrary library;
    library.loadWidth = 8;
    library.loadHeight = 4;
    FakeDesktop desktop;
    desktop.size = {8, 8};
    RenderSettings settings;
    settings.maskMode = 0;
    settings.maskLeft = 50;
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
    RenderSettings edgeMask;
    edgeMask.maskMode = 0;
    edgeMask.maskFile = "m.png";
    const auto inputs = [&](const RenderSettings& settings, const DesktopShape& desktop,
                            Stamps& files) {
        return MakeRenderInputs("a.jpg", 0, 0, settings, desktop, files.Function());
    };
    const RenderInputs before = inputs(edgeMask, shape, stamps);
    const struct {
        const char* what;
        std::function<void(RenderSettings&, DesktopShape&, Stamps&)> change;
        bool invalidates;
    } cases[] = {
        {"the file written", [](auto&, auto&, Stamps& s) { s.files["a.jpg"].writeTime = 2; }, true},
        {"the file gone", [](auto&, auto&, Stamps& s) { s.files.erase("a.jpg"); }, true},
        {"desktop size", [](auto&, DesktopShape& d, auto&) { d.size.width = 800; }, true},
        {"desktop depth", [](auto&, DesktopShape& d, auto&) { d.bitsPerPixel = 8; }, true},
        {"background", [](auto&, DesktopShape& d, auto&) { d.background = 0; }, true},
        {"unused mask file written", [](auto&, auto&, Stamps& s) { s.files["m.png"].size = 6; },
         false},
        {"unused mask file chosen", [](RenderSettings& r, auto&, auto&) { r.maskFile = "n.png"; },
         false},
    };
    for (const auto& c : cases) {
        RenderSettings settings = edgeMask;
        DesktopShape desktop = shape;
        Stamps changed = stamps;
        c.change(settings, desktop, changed);
        EXPECT_EQ(inputs(settings, desktop, changed) != before, c.invalidates) << c.what;
    }

    // With the mask from a file, every render setting counts, and so does writing the file.
    AppSettings fileMask;
    fileMask.render.maskMode = 1;
    fileMask.render.maskFile = "m.png";
    const RenderInputs masked = inputs(fileMask.render, shape, stamps);
    int renderSettings = 0;
    for (const Setting& setting : SettingsTable()) {
        AppSettings changed = fileMask;
        ChangeValue(setting, changed);
        if (changed.render != fileMask.render) {
            ++renderSettings;
            EXPECT_NE(inputs(changed.render, shape, stamps), masked) << setting.name;
        }
    }
    EXPECT_GT(renderSettings, 0);
    stamps.files["m.png"].size = 6;
    EXPECT_NE(inputs(fileMask.render, shape, stamps), masked);
}

// How the worker's shows ended, as its thread reports them.
class ShowResults {
public:
    WallpaperWorker::Finished Callback() {
        return [this](std::uint64_t ticket, ShowResult result, const std::string& why) {
            const std::lock_guard guard(lock);
            results[ticket] = result;
            reasons[ticket] = why;
            arrived.notify_all();
        };
    }
    ShowResult WaitFor(std::uint64_t ticket) {
        std::unique_lock guard(lock);
        WaitOrFail(
            arrived, guard, [&] { return results.contains(ticket); },
            "the end of show " + std::to_string(ticket));
        return results[ticket];
    }

private:
    std::mutex lock;
    std::condition_variable arrived;
    std::map<std::uint64_t, ShowResult> results;

public:
    std::map<std::uint64_t, std::string> reasons;
};

TEST(WallpaperWorkerTest, AShowMovesThePreparedBitmapOnlyWhenItsInputsAreUnchanged) {
    RecordingImageLibrary library;
    FakeDesktop desktop;
    desktop.windowsDirectory = "C:\\W";
    desktop.outputFolder = "C:\\L\\Quorwick\\Velumar";
    Stamps stamps;
    stamps.files = {{"a.jpg", {10, 1}}, {"b.jpg", {10, 1}}};
    RenderSettings settings;
    ShowResults results;
    {
        WallpaperRenderer renderer(library, desktop, stamps.Function(), "\\x.bmp",
                                   results.Callback());
        // Prepared and unchanged: the show decodes nothing more, it moves the bitmap into place.
        renderer.Prepare("a.jpg", 0, 0, settings);
        ASSERT_EQ(results.WaitFor(renderer.Show("a.jpg", 0, 0, settings)), ShowResult::Shown);
        EXPECT_EQ(std::count(library.calls.begin(), library.calls.end(), "cLoadImage(a.jpg,0)"), 1);
        EXPECT_EQ(desktop.actions,
                  (std::vector<std::string>{"move C:\\W\\x.bmp.next1 to C:\\W\\x.bmp", "tile 0",
                                            "wallpaper C:\\W\\x.bmp"}));

        // Not prepared: the show renders it, into a bitmap of its own job's name, and a Windows
        // directory that takes no file gives way to the local application data.
        desktop.unwritable.push_back("C:\\W\\x.bmp");
        ASSERT_EQ(results.WaitFor(renderer.Show("b.jpg", 0, 0, settings)), ShowResult::Shown);
        EXPECT_TRUE(desktop.Did("move C:\\W\\x.bmp.next2 to C:\\L\\Quorwick\\Velumar\\x.bmp"));
        EXPECT_TRUE(desktop.Did("wallpaper C:\\L\\Quorwick\\Velumar\\x.bmp"));
        // No place takes the bitmap: the picture was fine, the wallpaper could not be set.
        desktop.unwritable.push_back("C:\\L\\Quorwick\\Velumar\\x.bmp");
        const std::uint64_t notSet = renderer.Show("a.jpg", 0, 0, settings);
        ASSERT_EQ(results.WaitFor(notSet), ShowResult::NotSet);
        EXPECT_FALSE(results.reasons[notSet].empty());
        // A picture the filters leave out ends its show as filtered, not as one that could not
        // be set; a bitmap prepared without the filters is not taken for a show with them.
        renderer.Prepare("b.jpg", 0, 0, settings);
        EXPECT_EQ(results.WaitFor(renderer.Show({{"b.jpg", 0, 0}}, settings, PictureFilter{0, 2})),
                  ShowResult::Filtered);
        renderer.Prepare("a.jpg", 0, 0, settings);
    }
    EXPECT_EQ(library.liveSessions, 0);
}

TEST(WallpaperWorkerTest, AShowCancelsAnotherPreparationAndEachJobKeepsItsOwnFile) {
    std::mutex lock;
    std::condition_variable changed;
    std::vector<std::string> started;
    std::vector<std::string> cancelledRenders;
    std::set<std::string> released;
    std::vector<std::string> discarded;
    std::vector<std::string> published;
    // Renders block until released or cancelled (or, should neither come, the deadline).
    const auto render = [&](const RenderInputs& in, std::string_view suffix,
                            const pixelops::CancelCheck& cancelled,
                            RenderReport&) -> std::optional<PreparedFile> {
        std::unique_lock guard(lock);
        started.push_back(in.path);
        changed.notify_all();
        const auto deadline = std::chrono::steady_clock::now() + kWaitDeadline;
        while (!released.contains(in.path)) {
            if (cancelled()) {
                cancelledRenders.push_back(in.path);
                break;
            }
            if (std::chrono::steady_clock::now() > deadline) {
                ADD_FAILURE() << "the render of " << in.path
                              << " was neither released nor cancelled";
                break;
            }
            changed.wait_for(guard, std::chrono::milliseconds(5));
        }
        return PreparedFile{in.path + std::string(suffix), in.path};
    };
    const auto waitStarted = [&](std::size_t count) {
        std::unique_lock guard(lock);
        WaitOrFail(
            changed, guard, [&] { return started.size() >= count; },
            std::to_string(count) + " renders started");
    };
    const auto release = [&](const std::string& path) {
        const std::lock_guard guard(lock);
        released.insert(path);
        changed.notify_all();
    };
    RenderInputs a;
    a.path = "a";
    RenderInputs b;
    b.path = "b";
    ShowResults results;
    {
        WallpaperWorker worker(
            render,
            [&](const PreparedFile& file, const RenderInputs&, std::string&) {
                published.push_back(file.prepared);
                return true;
            },
            [&](const std::string& path) { discarded.push_back(path); }, results.Callback());
        worker.Prepare(a);
        waitStarted(1);
        // Another item is to be shown: the preparation of a is cancelled and its own file
        // discarded, never the show's.
        const std::uint64_t showB = worker.Show(b);
        waitStarted(2);
        release("b");
        EXPECT_EQ(results.WaitFor(showB), ShowResult::Shown);
        // A show cancelled while it renders ends as cancelled and publishes nothing.
        const std::uint64_t showA = worker.Show(a);
        waitStarted(3);
        worker.CancelShow();
        EXPECT_EQ(results.WaitFor(showA), ShowResult::Cancelled);
    }
    EXPECT_EQ(cancelledRenders, (std::vector<std::string>{"a", "a"}));
    EXPECT_EQ(published, std::vector<std::string>{"b.next2"});
    EXPECT_EQ(discarded, (std::vector<std::string>{"a.next1", "a.next3"}));
}

TEST(WallpaperWorkerTest, APreparationThatFailedIsRenderedAgainWhenAskedAgain) {
    std::mutex lock;
    std::condition_variable changed;
    std::vector<std::string> renders;
    ShowResults results;
    RenderInputs a;
    a.path = "a";
    WallpaperWorker worker(
        [&](const RenderInputs& in, std::string_view suffix, const pixelops::CancelCheck&,
            RenderReport&) -> std::optional<PreparedFile> {
            const std::lock_guard guard(lock);
            renders.push_back(in.path);
            changed.notify_all();
            // The first preparation fails, as a file being written meanwhile does.
            if (renders.size() == 1) {
                return std::nullopt;
            }
            return PreparedFile{in.path + std::string(suffix), in.path};
        },
        [](const PreparedFile&, const RenderInputs&, std::string&) { return true; },
        [](const std::string&) {}, results.Callback());
    const auto waitRenders = [&](std::size_t count) {
        std::unique_lock guard(lock);
        WaitOrFail(
            changed, guard, [&] { return renders.size() >= count; },
            std::to_string(count) + " renders");
    };
    worker.Prepare(a);
    waitRenders(1);
    // The worker takes one job at a time: once a is shown (rendered anew), its preparation has
    // failed.
    ASSERT_EQ(results.WaitFor(worker.Show(a)), ShowResult::Shown);
    worker.Prepare(a);
    waitRenders(3);
}

TEST(RenderWallpaperTest, LargeImagesMayDecodeAtAReducedScaleTheResizeWouldReachAnyway) {
    const ScreenSize desktop{1024, 768};
    const auto settingsWith = [](int mode, bool keepAspect, int method) {
        RenderSettings s;
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
        // Covering: the overflowing side keeps the shape; framing fits whatever "RR" says.
        {{6000, 4000}, 4, false, 0, ImageSize{1152, 768}},
        {{4000, 6000}, 4, true, 3, ImageSize{1024, 1536}},
        {{1200, 700}, 4, true, 3, std::nullopt},
        {{6000, 4000}, 5, false, 3, ImageSize{1024, 683}},
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
    RenderWallpaper({path, 0, 0, nullptr}, RenderSettings{}, "\\x.bmp", library, desktopPort);
    // Covering after a quarter turn: the turned 4000 x 6000 covers at 1024 x 1536.
    RenderSettings crop;
    crop.resizeMode = kResizeCrop;
    RecordingImageLibrary turnedLibrary;
    RenderWallpaper({path, 1, 0, nullptr}, crop, "\\x.bmp", turnedLibrary, desktopPort);
    std::filesystem::remove(path);
    EXPECT_EQ(library.calls.at(1), "cLoadImageAtLeast(" + path + ",0,1024,683)");
    EXPECT_EQ(turnedLibrary.calls.at(1), "cLoadImageAtLeast(" + path + ",0,1536,1024)");
}

TEST(PublishTest, TheUsersWallpaperStyleIsKeptWhileAComposedBitmapNeedsItsOwn) {
    const struct {
        const char* what;
        int mode;
        const char* style;
        const char* kept;
        const char* styleAfter;
        const char* keptAfter;
        bool writesStyle;
    } cases[] = {
        {"a composed bitmap keeps the user's style", 2, "10", "", "0", "10", true},
        {"the next composed bitmap keeps what is kept", 3, "0", "10", "0", "10", true},
        {"nothing to keep", 1, "", "", "0", "", true},
        {"a single picture gives the style back", 0, "0", "10", "10", "", true},
        {"unless the user chose another meanwhile", 0, "6", "10", "6", "", false},
        {"a single picture leaves the style alone otherwise", 0, "2", "", "2", "", false},
    };
    for (const auto& c : cases) {
        FakeDesktop desktop;
        desktop.monitors = {{0, 0, 1920, 1080, true}, {1920, 0, 3200, 1024}};
        desktop.style = c.style;
        desktop.keptStyle = c.kept;
        RenderSettings settings;
        settings.monitorMode = c.mode;
        RenderInputs inputs = MakeShowInputs({{"a.jpg", 0, 0}}, settings, ReadDesktopShape(desktop),
                                             desktop.Monitors(), Stamps{}.Function());
        inputs.places = {"C:\\WINDOWS\\V.bmp"};
        ASSERT_TRUE(
            PublishRendered({"C:\\WINDOWS\\V.bmp.next1", "C:\\WINDOWS\\V.bmp"}, inputs, desktop))
            << c.what;
        EXPECT_EQ(desktop.style, c.styleAfter) << c.what;
        EXPECT_EQ(desktop.keptStyle, c.keptAfter) << c.what;
        EXPECT_EQ(std::any_of(desktop.actions.begin(), desktop.actions.end(),
                              [](const std::string& a) { return a.rfind("style", 0) == 0; }),
                  c.writesStyle)
            << c.what;
    }
}

TEST(RenderWallpaperTest, MonitorModesComposeOneTiledBitmapOfEveryMonitorsPicture) {
    // A 1920 x 1080 primary; a 1280 x 1024 monitor left of it or right of it.
    const MonitorRect primary{0, 0, 1920, 1080, true};
    const MonitorRect left{-1280, 0, 0, 1024};
    const MonitorRect right{1920, 0, 3200, 1024};
    const std::vector<std::string> oneDesktop = {"cLoadImage(a.jpg,0)",
                                                 "cOpResize(1024,768,1,1,0)"};
    const struct {
        const char* what;
        int mode;
        int resizeMode;
        std::vector<MonitorRect> monitors;
        std::vector<std::string> pictures;
        bool loadFails;
        // The library's loads, resizes, new images and pastes, in order; empty when it fails.
        std::vector<std::string> calls;
    } cases[] = {
        {"mode 0 as before", 0, 1, {primary, right}, {"a.jpg", "b.jpg"}, false, oneDesktop},
        {"the same small picture centred on each monitor, the gaps in the desktop colour",
         1,
         0,
         {right, primary},
         {"a.jpg", "b.jpg"},
         false,
         {"cNewImage(3200,1080,123456)", "cLoadImage(a.jpg,0)",
          "cPasteImage(7,8,0,0,800,600,560,240)", "cLoadImage(a.jpg,0)",
          "cPasteImage(7,9,0,0,800,600,2160,212)"}},
        {"a picture per monitor from left to right, repeated, the left one wrapped",
         2,
         1,
         {primary, right, left},
         {"a.jpg", "b.jpg"},
         false,
         {"cNewImage(4480,1080,123456)", "cLoadImage(a.jpg,0)", "cOpResize(1280,1024,1,1,0)",
          "cPasteImage(7,8,0,0,1280,1024,3200,0)", "cLoadImage(b.jpg,0)",
          "cOpResize(1920,1080,1,1,0)", "cPasteImage(7,9,0,0,1920,1080,0,0)", "cLoadImage(a.jpg,0)",
          "cOpResize(1280,1024,1,1,0)", "cPasteImage(7,10,0,0,1280,1024,1920,0)"}},
        {"one picture spanning both, split where the primary starts",
         3,
         1,
         {primary, left},
         {"a.jpg"},
         false,
         {"cNewImage(3200,1080,123456)", "cLoadImage(a.jpg,0)", "cOpResize(3200,1080,1,1,0)",
          "cPasteImage(7,8,0,0,1280,1080,1920,0)", "cPasteImage(7,8,1280,0,1920,1080,0,0)"}},
        {"a picture that fails fails the show", 2, 1, {primary, right}, {"a.jpg"}, true, {}},
    };
    for (const auto& c : cases) {
        RecordingImageLibrary library;
        library.loadFails = c.loadFails;
        FakeDesktop desktop;
        desktop.monitors = c.monitors;
        RenderSettings settings;
        settings.resizeMode = c.resizeMode;
        settings.monitorMode = c.mode;
        std::vector<ShowPicture> pictures;
        for (const std::string& path : c.pictures) {
            pictures.push_back({path, 0, 0});
        }
        RenderInputs inputs = MakeShowInputs(pictures, settings, ReadDesktopShape(desktop),
                                             desktop.Monitors(), Stamps{}.Function());
        inputs.places = {"C:\\WINDOWS\\V.bmp"};
        const std::optional<PreparedFile> file =
            RenderPreparedFile(inputs, ".next1", library, desktop, [] { return false; });
        // Monitors' pictures may be rendered side by side: each paste is listed after the
        // loads and resizes of its picture's session.
        std::vector<std::string> calls;
        std::set<int> listed;
        for (const std::string& call : library.calls) {
            int target = 0;
            int source = 0;
            if (call.rfind("cNewImage", 0) == 0) {
                calls.push_back(call);
            } else if (std::sscanf(call.c_str(), "cPasteImage(%d,%d", &target, &source) == 2) {
                if (listed.insert(source).second) {
                    const std::vector<std::string>& own = library.sessionCalls[source];
                    calls.insert(calls.end(), own.begin(), own.end());
                }
                calls.push_back(call);
            }
        }
        if (c.mode == 0) {
            calls = library.sessionCalls.begin()->second;
        }
        EXPECT_EQ(library.liveSessions, 0) << c.what;
        if (c.calls.empty()) {
            EXPECT_FALSE(file) << c.what;
            continue;
        }
        EXPECT_EQ(calls, c.calls) << c.what;
        ASSERT_TRUE(file) << c.what;
        ASSERT_TRUE(PublishRendered(*file, inputs, desktop)) << c.what;
        const std::vector<std::string> published =
            c.mode == 0 ? std::vector<std::string>{"tile 0"}
                        : std::vector<std::string>{"style 0", "tile 1"};
        std::vector<std::string> expected = {"move C:\\WINDOWS\\V.bmp.next1 to C:\\WINDOWS\\V.bmp"};
        expected.insert(expected.end(), published.begin(), published.end());
        expected.push_back("wallpaper C:\\WINDOWS\\V.bmp");
        EXPECT_EQ(desktop.actions, expected) << c.what;
    }
}

TEST(PictureFilterTest, TooSmallInBothSidesOrTheWrongShapeIsLeftOut) {
    constexpr std::uint32_t kHuge = 0xFFFFFFFF;
    constexpr int kIntMax = 0x7FFFFFFF;
    const struct {
        PictureFilter filter;
        std::uint32_t width, height;
        ScreenSize target;
        bool out;
    } cases[] = {
        {{0, 0}, 1, 1, {1024, 768}, false},
        {{50, 0}, 512, 384, {1024, 768}, false},  // exactly half is not below it
        {{50, 0}, 511, 383, {1024, 768}, true},
        {{50, 0}, 511, 384, {1024, 768}, false},  // below in one side only
        {{50, 0}, 2000, 383, {1024, 768}, false},
        {{100, 0}, 1024, 768, {1024, 768}, false},
        {{100, 0}, 1023, 767, {1024, 768}, true},
        {{33, 0}, 330, 330, {1000, 1000}, false},  // 0.33 * 1000 in floating point is above 330
        {{33, 0}, 329, 329, {1000, 1000}, true},
        {{1, 0}, 0, 0, {0, 0}, false},  // no target size: nothing is below it
        {{100, 0}, kHuge, kHuge, {kIntMax, kIntMax}, false},
        {{100, 0}, 1, 1, {kIntMax, kIntMax}, true},
        {{0, 1}, 500, 500, {1024, 768}, false},  // a square is both shapes
        {{0, 2}, 500, 500, {1024, 768}, false},
        {{0, 1}, 500, 501, {1024, 768}, true},
        {{0, 1}, 501, 500, {1024, 768}, false},
        {{0, 2}, 501, 500, {1024, 768}, true},
        {{0, 2}, 500, 501, {1024, 768}, false},
        {{0, 2}, kHuge, 1, {1024, 768}, true},
        {{50, 1}, 4000, 3000, {1024, 768}, false},
        {{50, 1}, 300, 200, {1024, 768}, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FilteredOut(c.filter, c.width, c.height, c.target), c.out)
            << c.filter.minSizePercent << "% shape " << c.filter.shape << ": " << c.width << " x "
            << c.height << " for " << c.target.width << " x " << c.target.height;
    }
}

namespace {

std::string BigEndian(std::uint32_t value, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return out;
}

// The first bytes of a PNG and of a baseline JPEG of that size: enough for their headers.
std::string PngStart(std::uint32_t w, std::uint32_t h) {
    return std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16) + BigEndian(w, 4) + BigEndian(h, 4) +
           std::string("\x08\x02\0\0\0", 5);
}

std::string JpegStart(std::uint32_t w, std::uint32_t h) {
    return std::string("\xFF\xD8\xFF\xC0", 4) + BigEndian(17, 2) + '\x08' + BigEndian(h, 2) +
           BigEndian(w, 2) + '\x03' + std::string(9, '\x01') + std::string("\xFF\xDA", 2) +
           BigEndian(6, 2) + "scan" + std::string("\x12\xFF\x00\x34\xFF\xD9", 6);
}

}  // namespace

TEST(RenderWallpaperTest, APictureTheFiltersLeaveOutIsGivenUpBeforeItIsDecoded) {
    const auto write = [](const char* name, const std::string& bytes) {
        const std::string path = (std::filesystem::temp_directory_path() / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    };
    const std::string big = write("velumar_filter_640.png", PngStart(640, 480));
    const std::string small = write("velumar_filter_320.png", PngStart(320, 240));
    // Stored 640 x 480, standing upright (EXIF orientation 6).
    const std::string upright =
        write("velumar_filter_upright.jpg", WithExifOrientation(JpegStart(640, 480), 6));
    const MonitorRect primary{0, 0, 1920, 1080, true};
    const MonitorRect left{-1280, 0, 0, 1024};
    enum Expect { Rendered, Filtered, FilteredOnceDecoded };
    const PictureFilter half{50, 0};
    const PictureFilter portrait{0, 2};
    const struct {
        const char* what;
        std::vector<std::string> pictures;
        int rotation;
        int page;
        PictureFilter filter;
        int monitorMode;
        Expect expect;
        bool uprightPhotos = true;
    } cases[] = {
        {"large enough for the desktop", {big}, 0, 0, half, 0, Rendered},
        {"too small for the desktop", {small}, 0, 0, half, 0, Filtered},
        {"filters off", {small}, 0, 0, {}, 0, Rendered},
        {"wide where portrait is asked", {big}, 0, 0, portrait, 0, Filtered},
        {"turned a quarter by the entry", {big}, 1, 0, portrait, 0, Rendered},
        {"upright as its file records", {upright}, 0, 0, portrait, 0, Rendered},
        {"as stored when photos are not turned upright",
         {upright},
         0,
         0,
         portrait,
         0,
         Filtered,
         false},
        {"a later page, whose size only its decode tells",
         {small},
         0,
         1,
         half,
         0,
         FilteredOnceDecoded},
        // The monitors in order: left (1280 x 1024), then the primary (1920 x 1080).
        {"a picture per monitor: the small one on the primary fails the set",
         {big, small},
         0,
         0,
         half,
         2,
         Filtered},
        {"the same picture on every monitor, judged against the first",
         {big},
         0,
         0,
         half,
         1,
         Rendered},
        {"spanning: judged against the whole rectangle", {big}, 0, 0, half, 3, Filtered},
    };
    for (const auto& c : cases) {
        RecordingImageLibrary library;
        library.loadWidth = 320;
        library.loadHeight = 240;
        FakeDesktop desktop;
        desktop.monitors = {primary, left};
        RenderSettings settings;
        settings.monitorMode = c.monitorMode;
        settings.uprightPhotos = c.uprightPhotos;
        std::vector<ShowPicture> pictures;
        for (const std::string& path : c.pictures) {
            pictures.push_back({path, c.rotation, c.page});
        }
        RenderInputs inputs = MakeShowInputs(pictures, settings, ReadDesktopShape(desktop),
                                             desktop.Monitors(), Stamps{}.Function());
        inputs.places = {"C:\\WINDOWS\\V.bmp"};
        inputs.filter = c.filter;
        RenderReport report;
        const std::optional<PreparedFile> file = RenderPreparedFile(
            inputs, ".next1", library, desktop, [] { return false; }, &report);
        EXPECT_EQ(file.has_value(), c.expect == Rendered) << c.what;
        EXPECT_EQ(report.filtered, c.expect != Rendered) << c.what;
        EXPECT_EQ(library.liveSessions, 0) << c.what;
        const std::string& leftOut = c.pictures.back();
        const bool decoded =
            std::any_of(library.calls.begin(), library.calls.end(), [&](const std::string& call) {
                return call.rfind("cLoadImage", 0) == 0 && call.find(leftOut) != std::string::npos;
            });
        EXPECT_EQ(decoded, c.expect != Filtered) << c.what;
    }
    for (const std::string& path : {big, small, upright}) {
        std::filesystem::remove(path);
    }
}
