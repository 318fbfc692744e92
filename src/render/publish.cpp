// Publishing the prepared image as the desktop wallpaper, and removing the wallpaper.
#include "render/publish.h"

#include <algorithm>

namespace {

constexpr std::string_view kUnstretchedStyle = "0";

// Makes the output folder when a place is in it.
void MakeFoldersFor(const std::string& place, const std::string& outputFolder, Desktop& desktop) {
    if (!outputFolder.empty() && place.rfind(outputFolder, 0) == 0) {
        desktop.MakeFolder(outputFolder);
    }
}

// The tiling value first: the desktop reads it when it reloads the wallpaper.
bool MakeWallpaper(const std::string& path, bool tileWallpaper, Desktop& desktop) {
    desktop.WriteTileWallpaper(tileWallpaper);
    return desktop.SetWallpaper(path);
}

// A bitmap composed for the monitors covers the virtual screen when the system tiles it from
// the primary monitor's top-left corner; the style "0" keeps it unstretched. The user's own
// style is kept meanwhile and given back with the first single picture afterwards, unless the
// user has chosen another since.
bool MakeRenderedWallpaper(const std::string& path, const RenderInputs& inputs, Desktop& desktop) {
    const std::string style = desktop.ReadWallpaperStyle();
    if (inputs.monitors.empty()) {
        const std::string kept = desktop.KeptWallpaperStyle();
        if (!kept.empty()) {
            if (style == kUnstretchedStyle) {
                desktop.WriteWallpaperStyle(kept);
            }
            desktop.KeepWallpaperStyle({});
        }
        return MakeWallpaper(path, inputs.settings.tileWallpaper, desktop);
    }
    if (!style.empty() && style != kUnstretchedStyle) {
        desktop.KeepWallpaperStyle(style);
    }
    desktop.WriteWallpaperStyle(std::string(kUnstretchedStyle));
    return MakeWallpaper(path, true, desktop);
}

}  // namespace

std::vector<std::string> WallpaperFileCandidates(Desktop& desktop, const std::string& fileSuffix) {
    std::vector<std::string> candidates;
    if (std::optional<std::string> path =
            WallpaperFilePath(desktop.WindowsDirectory(), fileSuffix)) {
        candidates.push_back(*path);
    }
    if (std::optional<std::string> path = WallpaperFilePath(desktop.OutputFolder(), fileSuffix)) {
        candidates.push_back(*path);
    }
    return candidates;
}

std::optional<PreparedFile> SaveBeside(ImageLibrary& library, int session,
                                       const std::vector<std::string>& candidates,
                                       std::string_view suffix, const std::string& outputFolder,
                                       Desktop& desktop, std::string* failure) {
    for (const std::string& path : candidates) {
        MakeFoldersFor(path, outputFolder, desktop);
        PreparedFile file{path + std::string(suffix), path};
        if (library.cSave(session, file.prepared.c_str(), kSaveBitmap, 0, 0, 0)) {
            return file;
        }
        if (failure != nullptr) {
            *failure = FailureText(desktop);
        }
        desktop.RemoveFile(file.prepared);
    }
    if (failure != nullptr && failure->empty()) {
        *failure = FailureText(desktop);
    }
    return std::nullopt;
}

bool PublishPrepared(const PreparedFile& file, bool tileWallpaper, Desktop& desktop) {
    if (!desktop.MoveFileOver(file.prepared, file.target)) {
        return false;
    }
    return MakeWallpaper(file.target, tileWallpaper, desktop);
}

bool PublishRendered(const PreparedFile& file, const RenderInputs& inputs, Desktop& desktop) {
    auto place = std::find(inputs.places.begin(), inputs.places.end(), file.target);
    if (place == inputs.places.end()) {
        return desktop.MoveFileOver(file.prepared, file.target) &&
               MakeRenderedWallpaper(file.target, inputs, desktop);
    }
    for (; place != inputs.places.end(); ++place) {
        MakeFoldersFor(*place, inputs.outputFolder, desktop);
        if (desktop.MoveFileOver(file.prepared, *place)) {
            return MakeRenderedWallpaper(*place, inputs, desktop);
        }
    }
    return false;
}

void RemoveUnfinishedWallpaperFiles(Desktop& desktop, const std::string& fileSuffix) {
    for (const std::string& place : WallpaperFileCandidates(desktop, fileSuffix)) {
        desktop.RemoveFile(place + std::string(kTemporarySuffix));
        desktop.RemoveFilesMatching(place + std::string(kPreparedSuffix) + "*");
    }
}

void RemoveWallpaper(Desktop& desktop) {
    desktop.SetWallpaper(std::string());
}
