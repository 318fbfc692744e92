// What a rendered wallpaper depends on, so that a bitmap rendered ahead is used only when every
// input that shapes its pixels is unchanged, and where a rendered bitmap waits.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/render_settings.h"
#include "render/desktop.h"
#include "render/opacity_mask.h"

// A file's size and last write time; two stamps differ when the file was changed.
struct FileStamp {
    std::uint64_t size = 0;
    std::uint64_t writeTime = 0;
    bool operator==(const FileStamp&) const = default;
};

// The display as a render sees it.
struct DesktopShape {
    ScreenSize size;
    int bitsPerPixel = 0;
    ColorRef background = 0;
    bool operator==(const DesktopShape& other) const {
        return size.width == other.size.width && size.height == other.size.height &&
               bitsPerPixel == other.bitsPerPixel && background == other.background;
    }
};

// Everything the pixels of a rendered wallpaper depend on.
struct RenderInputs {
    std::string path;
    int page = 0;
    int rotation = 0;
    std::optional<FileStamp> file;
    DesktopShape desktop;
    // Normalized, so a mask file that is not used does not count.
    RenderSettings settings;
    std::optional<FileStamp> mask;
    // Where the bitmap may go, best first, and the local application-data folder.
    std::vector<std::string> places;
    std::string appData;
    bool operator==(const RenderInputs&) const = default;
};

using StampOf = std::function<std::optional<FileStamp>(const std::string& path)>;

// The inputs of a render of that page of the file; the mask file's stamp only when the mask
// comes from a file.
RenderInputs MakeRenderInputs(const std::string& path, int page, int rotation,
                              const RenderSettings& settings, const DesktopShape& desktop,
                              const StampOf& stampOf);

// A bitmap written beside the wallpaper file's place, ready to be moved over it.
struct PreparedFile {
    std::string prepared;
    std::string target;
};
