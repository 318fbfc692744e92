// The desktop through the registry and SystemParametersInfo.
#pragma once

#include "render/desktop.h"

class Win32Desktop final : public Desktop {
public:
    ScreenSize DesktopSize() override;
    int BitsPerPixel() override;
    ColorRef BackgroundColor() override;
    std::string WindowsDirectory() override;
    void WriteTileWallpaper(bool tile) override;
    void SetWallpaper(const std::string& path) override;
};
