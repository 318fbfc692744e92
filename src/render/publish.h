// Publishing the prepared image as the desktop wallpaper, and removing the wallpaper.
#pragma once

#include <string>

#include "render/desktop.h"

// "Remove wallpaper now": the desktop shows no wallpaper. The bitmap file and the tiling
// value stay; the next switch sets a wallpaper again.
inline void RemoveWallpaper(Desktop& desktop) {
    desktop.SetWallpaper(std::string());
}
