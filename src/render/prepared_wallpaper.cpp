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

RenderInputs MakeShowInputs(const std::vector<ShowPicture>& pictures,
                            const RenderSettings& settings, const DesktopShape& desktop,
                            const std::vector<MonitorRect>& monitors, const StampOf& stampOf) {
    const ShowPicture& first = pictures.front();
    RenderInputs in =
        MakeRenderInputs(first.path, first.page, first.rotation, settings, desktop, stampOf);
    if (settings.monitorMode == 0) {
        return in;
    }
    in.monitors = OrderMonitors(monitors);
    if (settings.monitorMode == 2) {
        for (std::size_t i = 1; i < pictures.size(); ++i) {
            in.morePictures.push_back({pictures[i], stampOf(pictures[i].path)});
        }
    }
    return in;
}

void StampInputs(RenderInputs& inputs, const StampOf& stampOf) {
    inputs.file = stampOf(inputs.path);
    if (inputs.settings.maskMode == 1) {
        inputs.mask = stampOf(inputs.settings.maskFile);
    }
    for (PictureInputs& more : inputs.morePictures) {
        more.file = stampOf(more.picture.path);
    }
}

ShowPicture PictureForMonitor(const RenderInputs& inputs, std::size_t index) {
    const std::size_t turn = index % (inputs.morePictures.size() + 1);
    if (turn == 0) {
        return {inputs.path, inputs.rotation, inputs.page};
    }
    return inputs.morePictures[turn - 1].picture;
}
