// Start-up and shut-down order of the application object, against a recording platform.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/memory_settings_store.h"
#include "app/settings_table.h"
#include "app/wallpaper_app.h"

namespace {

// A settings store that shares its values with the test and logs every write.
class SharedStore : public SettingsStore {
public:
    SharedStore(MemorySettingsStore& values, std::vector<std::string>& log)
        : values(values), log(log) {}
    int ReadInt(std::string_view section, std::string_view name, int def) const override {
        return values.ReadInt(section, name, def);
    }
    std::string ReadText(std::string_view section, std::string_view name,
                         std::string_view def) const override {
        return values.ReadText(section, name, def);
    }
    void WriteInt(std::string_view section, std::string_view name, int value) override {
        log.push_back("write " + std::string(name));
        values.WriteInt(section, name, value);
    }
    void WriteText(std::string_view section, std::string_view name,
                   std::string_view value) override {
        log.push_back("write " + std::string(name));
        values.WriteText(section, name, value);
    }

private:
    MemorySettingsStore& values;
    std::vector<std::string>& log;
};

class RecordingPlatform : public AppPlatform {
public:
    class Window : public MainWindow {
    public:
        Window(RecordingPlatform& platform, CWallpaperApp& app) : platform(platform), app(app) {}
        ~Window() override { platform.log.push_back("destroy window"); }
        void RunModal() override {
            platform.log.push_back("run window");
            platform.mainWindowDuringRun = app.mainWindow;
            if (platform.changeDuringRun) {
                platform.changeDuringRun(app);
            }
        }

    private:
        RecordingPlatform& platform;
        CWallpaperApp& app;
    };

    unsigned RegisterMessage(std::string_view name) override {
        log.push_back("register " + std::string(name));
        return 0xC123;
    }
    bool OpenInstanceRegion(unsigned size, std::string_view name) override {
        log.push_back("region " + std::to_string(size) + " " + std::string(name));
        return firstCopy;
    }
    void BroadcastMessage(unsigned message) override {
        log.push_back("broadcast " + std::to_string(message));
    }
    int ReadOsVersion() override {
        log.push_back("version");
        return 601;
    }
    std::string ModuleFileName() override { return modulePath; }
    mbcs::LeadBytePredicate LeadByteTest() override { return mbcs::NoLeadBytes; }
    std::unique_ptr<SettingsStore> OpenSettingsStore(std::string_view company,
                                                     std::string_view app) override {
        log.push_back("store " + std::string(company) + "\\" + std::string(app));
        return std::make_unique<SharedStore>(values, log);
    }
    std::string PersonalDocumentsFolder() override {
        log.push_back("documents");
        return "C:\\Users\\u\\Documents";
    }
    std::string LocalAppDataFolder() override { return "C:\\Users\\u\\AppData\\Local"; }
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    bool CanWriteBeside(const std::string&) override { return writable; }
    std::optional<std::string> ReadFile(const std::string& path) override {
        const auto file = files.find(path);
        return file == files.end() ? std::nullopt : std::optional<std::string>(file->second);
    }
    bool SaveFile(const std::string& path, std::string_view contents) override {
        log.push_back("save " + path);
        files[path] = contents;
        return true;
    }
    bool MakeFolder(const std::string& path) override {
        log.push_back("folder " + path);
        return true;
    }
    void ShowNotice(std::string_view text) override {
        log.push_back("notice " + std::string(text));
    }
    MainWindowFactory Factory() {
        return [this](CWallpaperApp& app) {
            log.push_back("create window");
            return std::make_unique<Window>(*this, app);
        };
    }

    bool firstCopy = true;
    std::map<std::string, std::string> files;
    bool writable = true;
    std::string modulePath = "C:\\Program Files\\Velumar\\Velumar.exe";
    MemorySettingsStore values;
    std::vector<std::string> log;
    MainWindow* mainWindowDuringRun = nullptr;
    std::function<void(CWallpaperApp&)> changeDuringRun;
};

std::vector<std::string> WithoutWrites(const std::vector<std::string>& log) {
    std::vector<std::string> kept;
    for (const std::string& entry : log) {
        if (entry.rfind("write ", 0) != 0) {
            kept.push_back(entry);
        }
    }
    return kept;
}

}  // namespace

TEST(StartUp, SecondCopyBroadcastsAndTouchesNothingElse) {
    RecordingPlatform platform;
    platform.firstCopy = false;
    CWallpaperApp app(platform);
    EXPECT_FALSE(app.StartUp(platform.Factory()));
    std::vector<std::string> expected = {
        "register VLOTHERINSTANCENOTIFICATION",
        "region 260 3F1A92D0-5B7C-11d5-9A4E-0040C7A1B2C3",
        "broadcast " + std::to_string(0xC123),
    };
    EXPECT_EQ(platform.log, expected);
    EXPECT_EQ(platform.values.Count(), 0u);
}

TEST(StartUp, FirstCopyLoadsRunsTheWindowThenSavesBeforeDestroyingIt) {
    RecordingPlatform platform;
    CWallpaperApp app(platform);
    EXPECT_FALSE(app.StartUp(platform.Factory()));
    std::vector<std::string> expected = {
        "register VLOTHERINSTANCENOTIFICATION",
        "region 260 3F1A92D0-5B7C-11d5-9A4E-0040C7A1B2C3",
        "version",
        "store Quorwick\\Velumar",
        "documents",
        "create window",
        "run window",
        "destroy window",
    };
    EXPECT_EQ(WithoutWrites(platform.log), expected);
    // Every write lies between the end of the window's loop and its destruction.
    auto run = std::find(platform.log.begin(), platform.log.end(), "run window");
    auto destroy = std::find(platform.log.begin(), platform.log.end(), "destroy window");
    auto firstWrite = std::find_if(platform.log.begin(), platform.log.end(),
                                   [](const std::string& e) { return e.rfind("write ", 0) == 0; });
    EXPECT_GT(firstWrite, run);
    EXPECT_LT(firstWrite, destroy);
    EXPECT_EQ(
        std::count_if(run, destroy, [](const std::string& e) { return e.rfind("write ", 0) == 0; }),
        static_cast<long>(SettingsTable().size()) - 3);  // but "CI", "IC" and "IT" after 500
    EXPECT_EQ(app.osVersion, 601);
    EXPECT_EQ(app.otherInstanceMessage, 0xC123u);
    EXPECT_NE(platform.mainWindowDuringRun, nullptr);
    EXPECT_EQ(app.mainWindow, nullptr);
}

TEST(StartUp, ChangesMadeWhileTheWindowRunsAreStored) {
    RecordingPlatform platform;
    platform.changeDuringRun = [](CWallpaperApp& app) {
        app.settings.switchPeriod = "1:00:00";
        app.settings.mainPreview = false;
    };
    CWallpaperApp app(platform);
    app.StartUp(platform.Factory());
    EXPECT_EQ(platform.values.TextValue(kSettingsSection, "PE"), "1:00:00");
    EXPECT_EQ(platform.values.IntValue(kSettingsSection, "PRV"), 0);
    EXPECT_EQ(platform.values.TextValue(kSettingsSection, "CF"),
              "C:\\Users\\u\\Documents\\Velumar.vlt");
}

TEST(StartUp, SettingsFollowTheExecutableNameButExePathDoesNot) {
    RecordingPlatform platform;
    platform.modulePath = "D:\\Tools\\Wallpapers Two.exe";
    CWallpaperApp app(platform);
    app.StartUp(platform.Factory());
    EXPECT_NE(std::find(platform.log.begin(), platform.log.end(), "store Quorwick\\Wallpapers Two"),
              platform.log.end());
    EXPECT_EQ(app.exePath, "D:\\Tools\\Velumar.exe");
}

TEST(StartUp, AnIniFileBesideTheProgramKeepsEverythingBesideIt) {
    const std::string ini = "E:\\Velumar\\Velumar.ini";
    struct Case {
        bool iniPresent;
        bool writable;
    };
    for (const Case c : {Case{false, true}, Case{true, true}, Case{true, false}}) {
        RecordingPlatform platform;
        platform.modulePath = "E:\\Velumar\\Velumar.exe";
        platform.writable = c.writable;
        if (c.iniPresent) {
            platform.files[ini] = "[Settings]\r\nPE=2:00\r\n";
        }
        platform.changeDuringRun = [](CWallpaperApp& app) { app.settings.mainPreview = false; };
        CWallpaperApp app(platform);
        app.StartUp(platform.Factory());
        const auto logged = [&](const std::string& entry) {
            return std::count(platform.log.begin(), platform.log.end(), entry);
        };
        const auto noticed =
            std::count_if(platform.log.begin(), platform.log.end(),
                          [](const std::string& e) { return e.rfind("notice ", 0) == 0; });
        EXPECT_EQ(app.places.portable, c.iniPresent);
        EXPECT_EQ(logged("store Quorwick\\Velumar"), c.iniPresent ? 0 : 1);
        EXPECT_EQ(noticed, c.iniPresent && !c.writable ? 1 : 0);
        if (!c.iniPresent) {
            EXPECT_EQ(app.places.dataFolder, "C:\\Users\\u\\AppData\\Local\\Quorwick\\Velumar");
            EXPECT_EQ(platform.values.IntValue(kSettingsSection, "PRV"), 0);
            continue;
        }
        EXPECT_EQ(platform.values.Count(), 0u);
        EXPECT_EQ(app.places.dataFolder, "E:\\Velumar\\Velumar-data");
        EXPECT_EQ(app.settings.switchPeriod, "2:00");
        // The default list is kept with the copy, named relative to it in the file.
        EXPECT_EQ(app.settings.listFile, "E:\\Velumar\\Velumar-data\\Velumar.vlt");
        EXPECT_EQ(logged("documents"), 0);
        if (c.writable) {
            EXPECT_EQ(logged("folder E:\\Velumar\\Velumar-data"), 1);
            // All settings at Exit go to the file in one write.
            EXPECT_EQ(logged("save " + ini), 1);
            EXPECT_NE(platform.files[ini].find("PRV=0\r\n"), std::string::npos);
            EXPECT_NE(platform.files[ini].find("CF=.\\Velumar-data\\Velumar.vlt\r\n"),
                      std::string::npos);
        } else {
            EXPECT_EQ(app.places.outputFolder, "C:\\Users\\u\\AppData\\Local\\Quorwick\\Velumar");
            EXPECT_EQ(logged("save " + ini), 0);
            EXPECT_EQ(logged("folder E:\\Velumar\\Velumar-data"), 0);
            EXPECT_EQ(platform.files[ini], "[Settings]\r\nPE=2:00\r\n");
        }
    }
}
