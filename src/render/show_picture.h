// One picture of a show: that page of the file, turned by the rotation. A show has one picture,
// or in the mode with a picture per monitor one for each monitor in OrderMonitors' order.
#pragma once

#include <string>

struct ShowPicture {
    std::string path;
    int rotation = 0;
    int page = 0;
    bool operator==(const ShowPicture&) const = default;
};
