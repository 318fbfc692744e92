// The desktop through the registry and SystemParametersInfo.
#pragma once

#include "render/desktop.h"

class Win32Desktop final : public Desktop {
public:
    ScreenSize DesktopSize() override;
    int BitsPerPixel() override;
    ColorRef BackgroundColor() override;
    std::string WindowsDirectory() override;
    std::string LocalAppDataFolder() override;
    bool MakeFolder(const std::string& path) override;
    bool MoveFileOver(const std::string& from, const std::string& to) override;
    void RemoveFile(const std::string& path) override;
    void WriteTileWallpaper(bool tile) override;
    void SetWallpaper(const std::string& path) override;
};
