// What a rendered wallpaper depends on.
#include "render/prepared_wallpaper.h"

#include <utility>

AppSettings RenderSettingsOf(const AppSettings& from) {
    AppSettings settings;
    settings.resizeMode = from.resizeMode;
    settings.standardSizeIndex = from.standardSizeIndex;
    settings.customWidth = from.customWidth;
    settings.customHeight = from.customHeight;
    settings.retainAspectRatio = from.retainAspectRatio;
    settings.reductionMethod = from.reductionMethod;
    settings.maskMode = from.maskMode;
    settings.maskLeft = from.maskLeft;
    settings.maskTop = from.maskTop;
    settings.maskRight = from.maskRight;
    settings.maskBottom = from.maskBottom;
    settings.maskImageOutline = from.maskImageOutline;
    settings.tileWallpaper = from.tileWallpaper;
    if (from.maskMode == 1) {
        settings.maskFile = from.maskFile;
    }
    return settings;
}

RenderInputs MakeRenderInputs(const std::string& path, int page, int rotation,
                              const AppSettings& settings, const DesktopShape& desktop,
                              const StampOf& stampOf) {
    RenderInputs in;
    in.path = path;
    in.page = page;
    in.rotation = rotation;
    in.file = stampOf(path);
    in.desktop = desktop;
    in.settings = RenderSettingsOf(settings);
    if (settings.maskMode == 1) {
        in.mask = stampOf(settings.maskFile);
    }
    return in;
}
