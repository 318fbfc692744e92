// Shows an item as the wallpaper, from the bitmap prepared ahead for it when its inputs are
// unchanged, and prepares the next item on a worker thread.
#pragma once

#include <optional>
#include <string>

#include "app/render_settings.h"
#include "imagelib/image_library.h"
#include "render/desktop.h"
#include "render/masking.h"
#include "render/prepared_wallpaper.h"

class WallpaperRenderer {
public:
    WallpaperRenderer(ImageLibrary& library, Desktop& desktop, StampOf stampOf,
                      std::string wallpaperFileSuffix);

    // Makes that page of the file the wallpaper: the bitmap prepared for exactly these inputs
    // when there is one (waiting while the worker is still preparing it), else rendered now.
    bool Show(const std::string& path, int rotation, int page, const RenderSettings& settings);
    // Starts rendering that page of the file ahead.
    void Prepare(const std::string& path, int rotation, int page, const RenderSettings& settings);
    // Drops what was prepared and the cached edge mask (the settings or the list changed,
    // switching stopped).
    void Drop();

private:
    RenderInputs InputsFor(const std::string& path, int rotation, int page,
                           const RenderSettings& settings);

    ImageLibrary& library;
    Desktop& desktop;
    StampOf stampOf;
    std::string wallpaperFileSuffix;
    DesktopEdgeMask edgeMask;
    // Last: its worker uses the members above until it is joined.
    WallpaperPreparer preparer;
};
