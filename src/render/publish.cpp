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

std::optional<PreparedFile> SaveBeside(ImageLibrary& library, int session,
                                       const std::vector<std::string>& candidates,
                                       std::string_view suffix, const std::string& appData,
                                       Desktop& desktop) {
    for (const std::string& path : candidates) {
        if (!appData.empty() && path.rfind(appData, 0) == 0) {
            std::string folder = appData;
            for (std::string_view subfolder : kAppDataSubfolders) {
                folder += subfolder;
                desktop.MakeFolder(folder);
            }
        }
        PreparedFile file{path + std::string(suffix), path};
        if (library.cSave(session, file.prepared.c_str(), kSaveBitmap, 0, 0, 0)) {
            return file;
        }
        desktop.RemoveFile(file.prepared);
    }
    return std::nullopt;
}

bool PublishPrepared(const PreparedFile& file, bool tileWallpaper, Desktop& desktop) {
    if (!desktop.MoveFileOver(file.prepared, file.target)) {
        return false;
    }
    // The tiling value first: the desktop reads it when it reloads the wallpaper.
    desktop.WriteTileWallpaper(tileWallpaper);
    return desktop.SetWallpaper(file.target);
}

bool PublishWallpaper(ImageLibrary& library, int session,
                      const std::vector<std::string>& candidates, bool tileWallpaper,
                      Desktop& desktop) {
    // Each place in turn: a place whose temporary file is written but cannot be moved into
    // place, or whose file the system refuses as the wallpaper, gives way to the next.
    const std::string appData = desktop.LocalAppDataFolder();
    for (const std::string& candidate : candidates) {
        std::optional<PreparedFile> file =
            SaveBeside(library, session, {candidate}, kTemporarySuffix, appData, desktop);
        if (file && PublishPrepared(*file, tileWallpaper, desktop)) {
            return true;
        }
        if (file) {
            desktop.RemoveFile(file->prepared);
        }
    }
    return false;
}

void RemoveUnfinishedWallpaperFiles(Desktop& desktop, const std::string& fileSuffix) {
    for (const std::string& place : WallpaperFileCandidates(desktop, fileSuffix)) {
        for (std::string_view suffix : {kTemporarySuffix, kPreparedSuffix}) {
            desktop.RemoveFile(place + std::string(suffix));
        }
    }
}

void RemoveWallpaper(Desktop& desktop) {
    desktop.SetWallpaper(std::string());
}
