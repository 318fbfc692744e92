// Shows an item as the wallpaper and prepares the next one, both on the render worker: the
// window's thread only gathers the inputs and hears, through Finished, how a show ended.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/render_settings.h"
#include "imagelib/image_library.h"
#include "render/desktop.h"
#include "render/prepared_wallpaper.h"
#include "render/show_picture.h"
#include "render/wallpaper_worker.h"

class WallpaperRenderer {
public:
    // finished is called on the worker's thread (or on the caller's, for a show cancelled before
    // it started).
    WallpaperRenderer(ImageLibrary& library, Desktop& desktop, StampOf stampOf,
                      std::string wallpaperFileSuffix, WallpaperWorker::Finished finished);

    // Starts making that page of the file the wallpaper: the bitmap prepared for exactly these
    // inputs when there is one, else rendered now. The ticket Finished reports.
    std::uint64_t Show(const std::string& path, int rotation, int page,
                       const RenderSettings& settings);
    // The same for a show of one or more pictures (see ShowPicture; never empty): with a monitor
    // mode, one bitmap for all monitors, each picture rendered for its monitor. A picture the
    // filter leaves out ends the show as Filtered.
    std::uint64_t Show(const std::vector<ShowPicture>& pictures, const RenderSettings& settings,
                       const PictureFilter& filter = {});
    void Prepare(const std::vector<ShowPicture>& pictures, const RenderSettings& settings,
                 const PictureFilter& filter = {});
    // Cancels a show not finished.
    void CancelShow() { worker.CancelShow(); }
    // Cancels a show not finished, then takes the wallpaper off the desktop, after a publish
    // under way, so no show can put it back.
    void RemoveWallpaper() { worker.RemoveWallpaper(); }
    // Starts rendering that page of the file ahead.
    void Prepare(const std::string& path, int rotation, int page, const RenderSettings& settings);
    // Drops what was prepared (the settings or the list changed, switching stopped).
    void Drop() { worker.Drop(); }

private:
    RenderInputs InputsFor(const std::vector<ShowPicture>& pictures, const RenderSettings& settings,
                           const PictureFilter& filter);

    ImageLibrary& library;
    Desktop& desktop;
    StampOf stampOf;
    std::string wallpaperFileSuffix;
    // Last: its thread uses the members above until it is joined.
    WallpaperWorker worker;
};
