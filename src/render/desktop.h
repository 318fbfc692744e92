// The display and the desktop as rendering and publishing the wallpaper need them: the screen
// size and depth, the background colour, the Windows directory, the tiling value and the
// wallpaper setting.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/utf8.h"
#include "imagelib/image_library.h"
#include "render/monitor_layout.h"
#include "render/screen_size.h"

class Desktop {
public:
    // The primary display's size in pixels, read afresh at every call.
    virtual ScreenSize DesktopSize() = 0;
    // The monitors in virtual-screen coordinates (the primary's top-left corner is 0,0), read
    // afresh at every call, in the system's order.
    virtual std::vector<MonitorRect> Monitors() = 0;
    // Bits per pixel of the display.
    virtual int BitsPerPixel() = 0;
    // The desktop background colour, which masked parts blend into.
    virtual ColorRef BackgroundColor() = 0;
    // The Windows directory without a trailing backslash; empty when it cannot be read.
    virtual std::string WindowsDirectory() = 0;
    // Where the bitmap goes when the Windows directory cannot be written (below the user's
    // local application data, or a portable copy's data folder), without a trailing backslash;
    // empty when unknown.
    virtual std::string OutputFolder() = 0;
    // Makes a folder and those above it; true when it exists afterwards.
    virtual bool MakeFolder(const std::string& path) = 0;
    // Moves a file over another in one step, so no reader ever sees a half-written file; false
    // leaves both as they were.
    virtual bool MoveFileOver(const std::string& from, const std::string& to) = 0;
    virtual void RemoveFile(const std::string& path) = 0;
    // Removes the files a pattern with a "*" in its last part matches.
    virtual void RemoveFilesMatching(const std::string& pattern) = 0;
    // Writes "TileWallpaper" ("1" or "0") under "Control Panel\Desktop"; failures are ignored.
    virtual void WriteTileWallpaper(bool tile) = 0;
    // "WallpaperStyle" under "Control Panel\Desktop"; empty when it cannot be read.
    virtual std::string ReadWallpaperStyle() = 0;
    // Writes "WallpaperStyle" under "Control Panel\Desktop"; failures are ignored.
    virtual void WriteWallpaperStyle(const std::string& style) = 0;
    // The user's own "WallpaperStyle", kept in the program's settings while the bitmap composed
    // for the monitors needs its own; empty when none is kept. Keeping an empty text forgets it.
    virtual std::string KeptWallpaperStyle() = 0;
    virtual void KeepWallpaperStyle(const std::string& style) = 0;
    // Makes the file the wallpaper (an empty path removes it), stored in the user profile and
    // announced to every window; false when the system refused it.
    virtual bool SetWallpaper(const std::string& path) = 0;
    // The system's message for the last call on this thread that failed; empty when unknown.
    virtual std::string LastErrorText() { return {}; }

protected:
    Desktop() = default;
    ~Desktop() = default;
};

// Why the last call failed, as the title and the tray tip say it: the system's message, or a
// plain one when the system gives none.
inline std::string FailureText(Desktop& desktop) {
    std::string text = desktop.LastErrorText();
    return text.empty() ? std::string("the file could not be written") : text;
}

// The longest path the wallpaper setting takes, in UTF-16 units with its terminating NUL.
inline constexpr size_t kWallpaperPathBuffer = 260;

// The wallpaper file in a folder, or nothing when the folder is unknown or the path would not
// fit the wallpaper setting.
inline std::optional<std::string> WallpaperFilePath(std::string_view folder,
                                                    std::string_view fileSuffix) {
    if (folder.empty()) {
        return std::nullopt;
    }
    std::string path = std::string(folder) + std::string(fileSuffix);
    if (utf8::Utf16Length(path) >= kWallpaperPathBuffer) {
        return std::nullopt;
    }
    return path;
}
