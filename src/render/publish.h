// Publishing the prepared image as the desktop wallpaper, and removing the wallpaper.
#pragma once

#include <string>
#include <vector>

#include "imagelib/image_library.h"
#include "render/desktop.h"
#include "render/prepared_wallpaper.h"

// Where the wallpaper bitmap may go, best first: the Windows directory, then the folder
// Quorwick\Velumar of the user's local application data (a standard user cannot write into
// the Windows directory). Folders whose path would be too long are left out.
std::vector<std::string> WallpaperFileCandidates(Desktop& desktop, const std::string& fileSuffix);

// Where a rendered wallpaper bitmap waits beside the wallpaper file: this suffix and the number
// of its job.
inline constexpr std::string_view kPreparedSuffix = ".next";
// Where a bitmap rendered and published at once waits beside the wallpaper file.
inline constexpr std::string_view kTemporarySuffix = ".new";

// Writes the session's image beside the first of the candidates that takes it (the candidate's
// path followed by the suffix), making the output folder when a
// candidate is in it; nothing when none takes it, and then failure (when given) says
// why.
std::optional<PreparedFile> SaveBeside(ImageLibrary& library, int session,
                                       const std::vector<std::string>& candidates,
                                       std::string_view suffix, const std::string& outputFolder,
                                       Desktop& desktop, std::string* failure = nullptr);

// Moves a prepared bitmap over the wallpaper file, then writes the tiling value and makes the
// file the wallpaper. False, with nothing else touched, when it cannot be moved; false also
// when the system refuses the file as the wallpaper.
bool PublishPrepared(const PreparedFile& file, bool tileWallpaper, Desktop& desktop);

// Moves a bitmap rendered for the inputs over the wallpaper file it was rendered beside, or over
// the next of the inputs' places when that one cannot be replaced (a standard user's Windows
// directory), then writes the tiling value and makes the file the wallpaper.
bool PublishRendered(const PreparedFile& file, const RenderInputs& inputs, Desktop& desktop);

// Removes the temporary and prepared bitmaps that a run cut short (killed, or the machine
// switched off) may have left beside the wallpaper file's places.
void RemoveUnfinishedWallpaperFiles(Desktop& desktop, const std::string& fileSuffix);

// "Remove wallpaper now": the desktop shows no wallpaper. The bitmap file and the tiling
// value stay; the next switch sets a wallpaper again.
void RemoveWallpaper(Desktop& desktop);
