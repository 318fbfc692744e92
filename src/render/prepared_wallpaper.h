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
#include "render/monitor_layout.h"
#include "render/opacity_mask.h"
#include "render/picture_filter.h"
#include "render/show_picture.h"

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

// A picture of a show and its file's stamp.
struct PictureInputs {
    ShowPicture picture;
    std::optional<FileStamp> file;
    bool operator==(const PictureInputs&) const = default;
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
    // With a monitor mode other than 0: the monitors in OrderMonitors' order, and in the mode
    // with a picture per monitor the show's pictures after the first.
    std::vector<MonitorRect> monitors;
    std::vector<PictureInputs> morePictures;
    // Where the bitmap may go, best first, and the output folder (made when used).
    std::vector<std::string> places;
    std::string outputFolder;
    // The pictures left out (the shows and preparations of the switching sequence only): a
    // picture it filters out is given up before it is decoded.
    PictureFilter filter;
    bool operator==(const RenderInputs&) const = default;
};

using StampOf = std::function<std::optional<FileStamp>(const std::string& path)>;

// The inputs of a render of that page of the file; the mask file's stamp only when the mask
// comes from a file.
RenderInputs MakeRenderInputs(const std::string& path, int page, int rotation,
                              const RenderSettings& settings, const DesktopShape& desktop,
                              const StampOf& stampOf);
// The inputs of a show of one or more pictures (not empty) on these monitors: the first
// picture's as above, and with a monitor mode the monitors and the further pictures.
RenderInputs MakeShowInputs(const std::vector<ShowPicture>& pictures,
                            const RenderSettings& settings, const DesktopShape& desktop,
                            const std::vector<MonitorRect>& monitors, const StampOf& stampOf);
// Reads the stamps of the inputs' files again (the pictures and the mask file).
void StampInputs(RenderInputs& inputs, const StampOf& stampOf);
// The picture of the i-th monitor: a shorter show repeats from its start.
ShowPicture PictureForMonitor(const RenderInputs& inputs, std::size_t index);

// A bitmap written beside the wallpaper file's place, ready to be moved over it.
struct PreparedFile {
    std::string prepared;
    std::string target;
};

// Why a render made no bitmap, when it was not that a picture could not be read: the picture
// rendered but no place took the bitmap (the system's reason), or the filter left a picture out.
struct RenderReport {
    std::string saveFailure;
    bool filtered = false;
};
