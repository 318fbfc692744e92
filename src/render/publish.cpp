// Publishing the prepared image as the desktop wallpaper, and removing the wallpaper.
#include "render/publish.h"

namespace {

constexpr std::string_view kTemporarySuffix = ".new";

}  // namespace

std::vector<std::string> WallpaperFileCandidates(Desktop& desktop, const std::string& fileSuffix) {
    std::vector<std::string> candidates;
    if (std::optional<std::string> path =
            WallpaperFilePath(desktop.WindowsDirectory(), fileSuffix)) {
        candidates.push_back(*path);
    }
    std::string appData = desktop.LocalAppDataFolder();
    if (!appData.empty()) {
        for (std::string_view subfolder : kAppDataSubfolders) {
            appData += subfolder;
        }
        if (std::optional<std::string> path = WallpaperFilePath(appData, fileSuffix)) {
            candidates.push_back(*path);
        }
    }
    return candidates;
}

bool PublishWallpaper(ImageLibrary& library, int session,
                      const std::vector<std::string>& candidates, bool tileWallpaper,
                      Desktop& desktop) {
    std::string appData = desktop.LocalAppDataFolder();
    for (const std::string& path : candidates) {
        if (!appData.empty() && path.rfind(appData, 0) == 0) {
            std::string folder = appData;
            for (std::string_view subfolder : kAppDataSubfolders) {
                folder += subfolder;
                desktop.MakeFolder(folder);
            }
        }
        const std::string temporary = path + std::string(kTemporarySuffix);
        if (!library.cSave(session, temporary.c_str(), kSaveBitmap, 0, 0, 0) ||
            !desktop.MoveFileOver(temporary, path)) {
            desktop.RemoveFile(temporary);
            continue;
        }
        // The tiling value first: the desktop reads it when it reloads the wallpaper.
        desktop.WriteTileWallpaper(tileWallpaper);
        desktop.SetWallpaper(path);
        return true;
    }
    return false;
}

void RemoveWallpaper(Desktop& desktop) {
    desktop.SetWallpaper(std::string());
}
