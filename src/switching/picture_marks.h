// The pictures the user marked: those never to be shown again (hidden.txt) and the favourites
// (favourites.txt). A picture is a file and one of its pages; a file found in a folder is page 0.
// Paths compare as Windows compares them, without regard to the case of ASCII letters.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "render/monitor_layout.h"
#include "render/show_picture.h"

struct MarkedPicture {
    std::string path;
    int page = 0;
    bool operator==(const MarkedPicture&) const = default;
};

class PictureMarks {
public:
    bool Contains(std::string_view path, int page) const;
    bool Contains(const ShowPicture& picture) const { return Contains(picture.path, picture.page); }
    // False when it was marked already.
    bool Add(const MarkedPicture& picture);
    // False when it was not marked.
    bool Remove(const MarkedPicture& picture);
    bool Empty() const { return pictures.empty(); }
    // In the order they were marked.
    const std::vector<MarkedPicture>& Pictures() const { return pictures; }

    // One picture a line: the page, a tab, the path (UTF-8), lines ending in CR LF.
    std::string ToText() const;
    // Reads what ToText wrote; lines that do not read (no tab, a page that is not a number, no
    // path) are left out, and a picture listed twice counts once.
    static PictureMarks FromText(std::string_view text);

private:
    static std::string KeyOf(std::string_view path, int page);

    std::vector<MarkedPicture> pictures;
    std::unordered_set<std::string> keys;
};

// The picture a command means among those on the desktop (one, or one per monitor in the order
// of the monitors given): the one on the monitor holding the point when there is a point and a
// monitor holds it, else the primary monitor's. Empty when nothing is on the desktop.
ShowPicture PictureMeant(const std::vector<ShowPicture>& onDesktop,
                         const std::vector<MonitorRect>& monitors,
                         std::optional<std::pair<int, int>> point = std::nullopt);
