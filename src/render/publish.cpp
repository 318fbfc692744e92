// Publishing the prepared image as the desktop wallpaper, and removing the wallpaper.
#include "render/publish.h"

bool PublishWallpaper(ImageLibrary& library, int session, const std::string& path,
                      bool tileWallpaper, Desktop& desktop) {
    if (!library.cSave(session, path.c_str(), kSaveBitmap, 0, 0, 0)) {
        return false;
    }
    // The tiling value first: the desktop reads it when it reloads the wallpaper.
    desktop.WriteTileWallpaper(tileWallpaper);
    desktop.SetWallpaper(path);
    return true;
}

void RemoveWallpaper(Desktop& desktop) {
    desktop.SetWallpaper(std::string());
}
