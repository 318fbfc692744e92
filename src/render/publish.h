// Publishing the prepared image as the desktop wallpaper, and removing the wallpaper.
#pragma once

#include <string>

#include "imagelib/image_library.h"
#include "render/desktop.h"

// Writes the session's image as the bitmap file at path, then the tiling value, then makes
// the file the wallpaper. False, with nothing else touched, when the file is not written.
bool PublishWallpaper(ImageLibrary& library, int session, const std::string& path,
                      bool tileWallpaper, Desktop& desktop);

// "Remove wallpaper now": the desktop shows no wallpaper. The bitmap file and the tiling
// value stay; the next switch sets a wallpaper again.
void RemoveWallpaper(Desktop& desktop);
