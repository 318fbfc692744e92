// The desktop through the registry and SystemParametersInfo.
#pragma once

#include "render/desktop.h"

#include "render/prepared_wallpaper.h"

// The file's size and last write time; nothing when it cannot be read.
std::optional<FileStamp> Win32FileStamp(const std::string& path);

class Win32Desktop final : public Desktop {
public:
    ScreenSize DesktopSize() override;
    std::vector<MonitorRect> Monitors() override;
    int BitsPerPixel() override;
    ColorRef BackgroundColor() override;
    std::string WindowsDirectory() override;
    std::string LocalAppDataFolder() override;
    bool MakeFolder(const std::string& path) override;
    bool MoveFileOver(const std::string& from, const std::string& to) override;
    void RemoveFile(const std::string& path) override;
    void RemoveFilesMatching(const std::string& pattern) override;
    void WriteTileWallpaper(bool tile) override;
    void WriteWallpaperStyle(int style) override;
    bool SetWallpaper(const std::string& path) override;
};
