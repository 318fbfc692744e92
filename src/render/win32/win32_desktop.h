// The desktop through the registry and SystemParametersInfo.
#pragma once

#include <string>
#include <utility>

#include "app/settings_store.h"
#include "render/desktop.h"

#include "render/prepared_wallpaper.h"

// The file's size and last write time; nothing when it cannot be read.
std::optional<FileStamp> Win32FileStamp(const std::string& path);

class Win32Desktop final : public Desktop {
public:
    // The user's wallpaper style is kept in the store's settings section (none without a store).
    explicit Win32Desktop(SettingsStore* settings = nullptr, std::string outputFolder = {})
        : settings(settings), outputFolder(std::move(outputFolder)) {}

    ScreenSize DesktopSize() override;
    std::vector<MonitorRect> Monitors() override;
    int BitsPerPixel() override;
    ColorRef BackgroundColor() override;
    std::string WindowsDirectory() override;
    std::string OutputFolder() override { return outputFolder; }
    bool MakeFolder(const std::string& path) override;
    bool MoveFileOver(const std::string& from, const std::string& to) override;
    void RemoveFile(const std::string& path) override;
    void RemoveFilesMatching(const std::string& pattern) override;
    void WriteTileWallpaper(bool tile) override;
    std::string ReadWallpaperStyle() override;
    void WriteWallpaperStyle(const std::string& style) override;
    std::string KeptWallpaperStyle() override;
    void KeepWallpaperStyle(const std::string& style) override;
    bool SetWallpaper(const std::string& path) override;
    std::string LastErrorText() override;

private:
    SettingsStore* settings;
    std::string outputFolder;
};
