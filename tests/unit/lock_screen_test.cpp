// The lock screen: which picture of a show it takes, the new file name each time, the render for
// the primary monitor, the order of writing, setting and removing, and what the window is told.
#include <gtest/gtest.h>

#include "render/lock_screen_worker.h"
#include "tests/unit/recording_image_library.h"

namespace {

class FakeLockScreen final : public LockScreen {
public:
    std::vector<std::string> names;
    std::optional<std::string> refusal;
    bool writeFails = false;
    std::vector<std::string> actions;

    bool Available() override { return true; }
    std::string Folder() override { return "C:\\L"; }
    std::vector<std::string> FileNames() override { return names; }
    bool WriteJpeg(const ByteArray&, const std::string& path, int quality) override {
        actions.push_back("write " + path + " " + std::to_string(quality));
        return !writeFails;
    }
    std::optional<std::string> SetImage(const std::string& path, std::chrono::milliseconds limit,
                                        const std::function<bool()>&) override {
        actions.push_back("set " + path + " " + std::to_string(limit.count()));
        return refusal;
    }
    void RemoveFile(const std::string& path) override { actions.push_back("remove " + path); }
};

LockScreenJob Job(const RenderSettings& settings, const DesktopShape& primary) {
    LockScreenJob job;
    job.picture.path = "C:\\a.jpg";
    job.settings = settings;
    job.primary = primary;
    return job;
}

TEST(LockScreenTest, EachPictureGetsANewNameAndTheOldOnesGoOnlyOnceItIsSet) {
    EXPECT_EQ(NextLockScreenNumber({}), 1u);
    EXPECT_EQ(NextLockScreenNumber({"lock-3.jpg", "lock-12.jpg", "other.jpg", "lock-x.jpg",
                                    "lock-.jpg", "lock-20.jpg.tmp", "deck.txt"}),
              13u);
    const struct {
        const char* what;
        std::optional<std::string> refusal;
        bool loadFails, writeFails;
        std::optional<std::string> failure;
        std::vector<std::string> actions;
    } cases[] = {
        {"set",
         std::nullopt,
         false,
         false,
         std::nullopt,
         {"write C:\\L\\lock-4.jpg 95", "set C:\\L\\lock-4.jpg 10000", "remove C:\\L\\lock-1.jpg",
          "remove C:\\L\\lock-3.jpg"}},
        {"refused",
         "Access is denied.",
         false,
         false,
         "Access is denied.",
         {"write C:\\L\\lock-4.jpg 95", "set C:\\L\\lock-4.jpg 10000", "remove C:\\L\\lock-4.jpg"}},
        {"unreadable", std::nullopt, true, false, "The picture could not be prepared.", {}},
        {"not written",
         std::nullopt,
         false,
         true,
         "The picture could not be written to C:\\L.",
         {"write C:\\L\\lock-4.jpg 95", "remove C:\\L\\lock-4.jpg"}},
    };
    for (const auto& c : cases) {
        FakeLockScreen port;
        port.names = {"lock-1.jpg", "lock-3.jpg", "history.txt"};
        port.refusal = c.refusal;
        port.writeFails = c.writeFails;
        RecordingImageLibrary library;
        library.loadFails = c.loadFails;
        const LockScreenJob job = Job(RenderSettings{}, {{1920, 1080}, 32, 0});
        EXPECT_EQ(LockScreenWorker::Run(job, library, port), c.failure) << c.what;
        EXPECT_EQ(port.actions, c.actions) << c.what;
        EXPECT_EQ(library.liveSessions, 0) << c.what;
    }
}

TEST(LockScreenTest, ThePictureIsRenderedForThePrimaryMonitorWholeAndUnmasked) {
    const struct {
        const char* what;
        int resizeMode;
        std::uint32_t width, height;
        std::vector<std::string> middle;  // the calls between cLoadImage and cGetDIB
    } cases[] = {
        {"cropped to cover", 4, 3000, 4000, {"cOpResizeToCover(1920,1080,0)"}},
        {"kept small, on the desktop colour", 0, 800, 600, {"cOpPlaceOnColor(1920,1080,00FF00)"}},
        {"framed", 5, 600, 800, {"cOpResizeFramed(1920,1080,0)"}},
    };
    for (const auto& c : cases) {
        RecordingImageLibrary library;
        library.loadWidth = c.width;
        library.loadHeight = c.height;
        FakeLockScreen port;
        RenderSettings settings;
        settings.resizeMode = c.resizeMode;
        // Masks and tiling are for the desktop only.
        settings.maskMode = 0;
        settings.maskImageOutline = true;
        settings.maskLeft = 20;
        settings.tileWallpaper = true;
        settings.monitorMode = 2;
        const LockScreenJob job = Job(settings, {{1920, 1080}, 8, 0x00FF00});
        EXPECT_EQ(LockScreenWorker::Run(job, library, port), std::nullopt) << c.what;
        std::vector<std::string> expected = {"cNewSession()", "cLoadImage(C:\\a.jpg,0)"};
        expected.insert(expected.end(), c.middle.begin(), c.middle.end());
        expected.insert(expected.end(),
                        {"cOpIncreaseBitsPerPixel(24)", "cGetDIB()", "cDestroySession(7)"});
        EXPECT_EQ(library.calls, expected) << c.what;
    }

    // With a picture per monitor, the primary monitor's picture, in the monitors' order.
    const std::vector<ShowPicture> pictures = {{"left.jpg", 0, 0}, {"right.jpg", 0, 0}};
    const std::vector<MonitorRect> monitors = {{1920, 0, 3200, 1024, true},
                                               {0, 0, 1920, 1080, false}};
    EXPECT_EQ(LockScreenPicture(pictures, monitors, 2).path, "right.jpg");
    EXPECT_EQ(LockScreenPicture(pictures, monitors, 1).path, "left.jpg");
    EXPECT_EQ(LockScreenPicture({pictures[0]}, monitors, 2).path, "left.jpg");
}

TEST(LockScreenTest, AFailureIsToldOnceAndGoesWithASetPictureOrTheOption) {
    LockScreenStatus status;
    EXPECT_FALSE(status.Report(std::nullopt, true));
    EXPECT_TRUE(status.Report("Access is denied.", true));
    EXPECT_FALSE(status.Report("Access is denied.", true));
    EXPECT_EQ(status.Failure(), "Access is denied.");
    EXPECT_TRUE(status.Report(std::nullopt, true));
    EXPECT_EQ(status.Failure(), "");
    // A job that ends after the option was turned off tells nothing.
    EXPECT_FALSE(status.Report("Class not registered", false));
    EXPECT_TRUE(status.Report("Class not registered", true));
    status.TurnedOff();
    EXPECT_EQ(status.Failure(), "");
}

}  // namespace
