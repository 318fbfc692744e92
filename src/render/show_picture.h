// One picture of a show: that page of the file, turned by the rotation. A show has one picture,
// or in the mode with a picture per monitor one for each monitor in OrderMonitors' order.
#pragma once

#include <string>

// How a show ended: its bitmap is the wallpaper; a picture could not be read or rendered; the
// bitmap was rendered but could not be saved or made the wallpaper; it was cancelled; or the
// filters of the switching sequence left a picture out.
enum class ShowResult { Shown, Unreadable, NotSet, Cancelled, Filtered };

struct ShowPicture {
    std::string path;
    int rotation = 0;
    int page = 0;
    bool operator==(const ShowPicture&) const = default;
};
