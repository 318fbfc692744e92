// The desktop as publishing the wallpaper needs it: the Windows directory, the tiling value
// and the wallpaper setting.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class Desktop {
public:
    // The Windows directory without a trailing backslash; empty when it cannot be read.
    virtual std::string WindowsDirectory() = 0;
    // Writes "TileWallpaper" ("1" or "0") under "Control Panel\Desktop"; failures are ignored.
    virtual void WriteTileWallpaper(bool tile) = 0;
    // Makes the file the wallpaper (an empty path removes it), stored in the user profile and
    // announced to every window; the result is not reported.
    virtual void SetWallpaper(const std::string& path) = 0;

protected:
    Desktop() = default;
    ~Desktop() = default;
};

// The longest path the wallpaper setting takes, with its terminating NUL.
inline constexpr size_t kWallpaperPathBuffer = 260;

// The wallpaper file in the Windows directory, or nothing when the path would not fit.
inline std::optional<std::string> WallpaperFilePath(std::string_view windowsDirectory,
                                                    std::string_view fileSuffix) {
    if (windowsDirectory.empty()) {
        return std::nullopt;
    }
    std::string path = std::string(windowsDirectory) + std::string(fileSuffix);
    if (path.size() >= kWallpaperPathBuffer) {
        return std::nullopt;
    }
    return path;
}
