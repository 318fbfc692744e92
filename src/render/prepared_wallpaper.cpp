// What a rendered wallpaper depends on.
#include "render/prepared_wallpaper.h"

#include <utility>

RenderInputs MakeRenderInputs(const std::string& path, int page, int rotation,
                              const RenderSettings& settings, const DesktopShape& desktop,
                              const StampOf& stampOf) {
    RenderInputs in;
    in.path = path;
    in.page = page;
    in.rotation = rotation;
    in.file = stampOf(path);
    in.desktop = desktop;
    in.settings = settings.Normalized();
    if (settings.maskMode == 1) {
        in.mask = stampOf(settings.maskFile);
    }
    return in;
}
