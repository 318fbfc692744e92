// The main window's control and menu states.
#include <gtest/gtest.h>

#include "ui/main_window_controls.h"

namespace {

const ControlTexts kTexts{"Not an image?", "Folder selected.",
                          "Image: %d * %d pixels\r\nPages: %d\r\n%s"};

struct Case {
    const char* what;
    int selected;
    bool isFile;
    std::optional<ImageInfo> image;
    bool switching;
    // Expected:
    const char* info;
    int rotationIndex;
    bool rotationEnabled;
    const char* pages;
    bool pagesEnabled;
    bool removeEnabled;
    bool preview;
};

TEST(MainWindowControlsTest, FollowTheSelectionAndTheSwitchingState) {
    const ImageInfo threePages{640, 480, 3, "TIFF, 24 bits"};
    const ImageInfo onePage{800, 600, 1, "JPEG"};
    const Case cases[] = {
        {"two rows", 2, true, onePage, false, "", 5, false, "", false, true, false},
        {"no row", 0, false, std::nullopt, false, "", 5, false, "", false, false, false},
        {"three pages", 1, true, threePages, false,
         "Image: 640 * 480 pixels\r\nPages: 3\r\nTIFF, 24 bits", 0, false, "1 3", true, true, true},
        {"one page", 1, true, onePage, false, "Image: 800 * 600 pixels\r\nPages: 1\r\nJPEG", 2,
         true, "1 3", false, true, true},
        {"one page, switching", 1, true, onePage, true,
         "Image: 800 * 600 pixels\r\nPages: 1\r\nJPEG", 2, false, "1 3", false, false, true},
        {"three pages, switching", 1, true, threePages, true,
         "Image: 640 * 480 pixels\r\nPages: 3\r\nTIFF, 24 bits", 0, false, "1 3", false, false,
         true},
        {"not an image", 1, true, std::nullopt, false, "Not an image?", 0, false, "", false, true,
         false},
        {"folder", 1, false, std::nullopt, false, "Folder selected.", 0, false, "", false, true,
         false},
    };
    WallpaperEntry entry;
    entry.path = "C:\\x.tif";
    entry.rotation = 2;
    entry.pages = "1 3";
    for (const Case& c : cases) {
        ControlInputs in;
        in.selectedCount = c.selected;
        in.entry = c.selected == 1 ? &entry : nullptr;
        in.entryIsExistingFile = c.isFile;
        in.image = c.image;
        in.rotationIndex = 5;
        in.previewEnabled = true;
        in.switchingActive = c.switching;
        in.rowCount = 3;
        in.switchMode = 1;
        ControlStates out = ComputeControlStates(in, kTexts);
        EXPECT_EQ(out.infoText, c.info) << c.what;
        EXPECT_EQ(out.rotationIndex, c.rotationIndex) << c.what;
        EXPECT_EQ(out.rotationEnabled, c.rotationEnabled) << c.what;
        EXPECT_EQ(out.pagesText, c.pages) << c.what;
        EXPECT_EQ(out.pagesEnabled, c.pagesEnabled) << c.what;
        EXPECT_EQ(out.removeEnabled, c.removeEnabled) << c.what;
        EXPECT_EQ(out.previewPath.has_value(), c.preview) << c.what;
        EXPECT_EQ(out.addEnabled, !c.switching) << c.what;
    }
}

TEST(MainWindowControlsTest, NoPreviewWhileInitializingOrWhenTurnedOff) {
    WallpaperEntry entry;
    ControlInputs in;
    in.selectedCount = 1;
    in.entry = &entry;
    in.entryIsExistingFile = true;
    in.image = ImageInfo{1, 1, 1, ""};
    in.previewEnabled = true;
    in.initializing = true;
    EXPECT_FALSE(ComputeControlStates(in, kTexts).previewPath);
    in.initializing = false;
    in.previewEnabled = false;
    EXPECT_FALSE(ComputeControlStates(in, kTexts).previewPath);
}

TEST(MainWindowControlsTest, StartButtonNeedsRowsAndForTimesOfDayATime) {
    const struct {
        int mode;
        int rows;
        size_t times;
        bool switching;
        const char* text;
        std::optional<bool> enabled;
    } cases[] = {
        {0, 5, 1, false, "&Start Switching", false}, {1, 0, 0, false, "&Start Switching", false},
        {1, 1, 0, false, "&Start Switching", true},  {2, 1, 0, false, "&Start Switching", false},
        {2, 0, 1, false, "&Start Switching", false}, {2, 1, 1, false, "&Start Switching", true},
        {1, 1, 0, true, "&Stop", std::nullopt},
    };
    for (const auto& c : cases) {
        ControlInputs in;
        in.switchMode = c.mode;
        in.rowCount = c.rows;
        in.switchTimeCount = c.times;
        in.switchingActive = c.switching;
        ControlStates out = ComputeControlStates(in, kTexts);
        EXPECT_EQ(out.startStopText, c.text) << c.mode << " " << c.rows << " " << c.times;
        EXPECT_EQ(out.startStopEnabled, c.enabled) << c.mode << " " << c.rows << " " << c.times;
    }
}

TEST(MainWindowControlsTest, GreyedControlsSayWhyInTheirTips) {
    const WallpaperEntry entry{};
    const struct {
        int mode;
        int rows;
        size_t times;
        bool switching;
        int selected;
        int pages;  // of the one selected picture; 0: none described
        ControlTips tips;
    } cases[] = {
        // Start Switching: the mode, then the list, then the times.
        {0, 3, 0, false, 0, 0, {kOnlyAtStartupTip, "", "", "", ""}},
        {0, 0, 0, false, 0, 0, {kOnlyAtStartupTip, "", "", "", ""}},
        {1, 0, 0, false, 0, 0, {kEmptyListTip, "", "", "", ""}},
        {2, 0, 0, false, 0, 0, {kEmptyListTip, "", "", "", ""}},
        {2, 3, 0, false, 0, 0, {kNoTimesTip, "", "", "", ""}},
        {1, 3, 0, false, 0, 0, {"", "", "", "", ""}},
        {2, 3, 1, false, 0, 0, {"", "", "", "", ""}},
        // While switching the list controls wait for Stop; nothing selected stays plain.
        {1, 3, 0, true, 0, 0, {"", kStopToEditTip, "", "", ""}},
        {1, 3, 0, true, 1, 1, {"", kStopToEditTip, kStopToEditTip, kStopToEditTip, kStopToEditTip}},
        {1, 3, 0, true, 2, 0, {"", kStopToEditTip, kStopToEditTip, "", ""}},
        // One picture: turning needs one page, pages need several.
        {1, 3, 0, false, 1, 1, {"", "", "", "", kOnePageTip}},
        {1, 3, 0, false, 1, 4, {"", "", "", kManyPagesTip, ""}},
    };
    for (const auto& c : cases) {
        ControlInputs in;
        in.switchMode = c.mode;
        in.rowCount = c.rows;
        in.switchTimeCount = c.times;
        in.switchingActive = c.switching;
        in.selectedCount = c.selected;
        if (c.selected == 1) {
            in.entry = &entry;
            in.entryIsExistingFile = c.pages > 0;
            if (c.pages > 0) {
                in.image = ImageInfo{10, 10, c.pages, ""};
            }
        }
        const ControlTips tips = ComputeControlStates(in, kTexts).tips;
        const std::string at = std::to_string(&c - cases);
        EXPECT_EQ(tips.startStop, c.tips.startStop) << at;
        EXPECT_EQ(tips.add, c.tips.add) << at;
        EXPECT_EQ(tips.remove, c.tips.remove) << at;
        EXPECT_EQ(tips.rotation, c.tips.rotation) << at;
        EXPECT_EQ(tips.pages, c.tips.pages) << at;
    }
}

TEST(MainWindowControlsTest, MenuItemsFollowSelectionAndSwitching) {
    MenuStates idle = ComputeMenuStates(false, 1, true, 4);
    EXPECT_TRUE(idle.setSelectionEnabled);
    EXPECT_TRUE(idle.openListEnabled);
    EXPECT_TRUE(idle.switchNowEnabled);
    EXPECT_FALSE(ComputeMenuStates(false, 2, true, 4).setSelectionEnabled);
    EXPECT_FALSE(ComputeMenuStates(false, 1, false, 4).setSelectionEnabled);
    MenuStates running = ComputeMenuStates(true, 1, true, 4);
    EXPECT_FALSE(running.setSelectionEnabled);
    EXPECT_FALSE(running.openListEnabled);
    EXPECT_TRUE(running.switchNowEnabled);
    EXPECT_FALSE(ComputeMenuStates(false, 0, false, 0).switchNowEnabled);
}

}  // namespace

TEST(MainWindowControlsTest, TheInformationBoxNamesThePictureOnTheDesktopWhenAnotherIsSelected) {
    const ControlTexts texts{"Not an image?", "Folder selected.", "%d x %d"};
    const WallpaperEntry folder{0, 0, "", "C:\\pictures"};
    const struct {
        int selected;
        const WallpaperEntry* entry;
        std::optional<ImageInfo> image;
        std::string desktopPicture;
        std::string info;
    } cases[] = {
        {0, nullptr, std::nullopt, "", ""},
        {0, nullptr, std::nullopt, "b.jpg", "On the desktop: b.jpg"},
        {1, &folder, std::nullopt, "b.jpg", "Folder selected.\r\nOn the desktop: b.jpg"},
        {1, &folder, ImageInfo{640, 480, 1, ""}, "", "640 x 480"},
    };
    for (const auto& c : cases) {
        ControlInputs in;
        in.selectedCount = c.selected;
        in.entry = c.entry;
        in.entryIsExistingFile = c.image.has_value();
        in.image = c.image;
        in.desktopPicture = c.desktopPicture;
        EXPECT_EQ(ComputeControlStates(in, texts).infoText, c.info) << c.desktopPicture;
    }
}
