// A desktop for the benchmark tools: monitors as given, the bitmap written into a folder of the
// bench's own, and nothing set on the real desktop.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "render/desktop.h"

class BenchDesktop final : public Desktop {
public:
    // The desktop is the first monitor's size.
    BenchDesktop(std::string folder, std::vector<MonitorRect> monitors)
        : folder(std::move(folder)), monitors(std::move(monitors)) {}
    ScreenSize DesktopSize() override { return {monitors[0].Width(), monitors[0].Height()}; }
    std::vector<MonitorRect> Monitors() override { return monitors; }
    int BitsPerPixel() override { return 32; }
    ColorRef BackgroundColor() override { return 0x00402010; }
    std::string WindowsDirectory() override { return folder; }
    std::string OutputFolder() override { return {}; }
    bool MakeFolder(const std::string&) override { return true; }
    bool MoveFileOver(const std::string& from, const std::string& to) override {
        return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    }
    void RemoveFile(const std::string& path) override { DeleteFileA(path.c_str()); }
    void RemoveFilesMatching(const std::string&) override {}
    void WriteTileWallpaper(bool) override {}
    std::string ReadWallpaperStyle() override { return {}; }
    void WriteWallpaperStyle(const std::string&) override {}
    std::string KeptWallpaperStyle() override { return {}; }
    void KeepWallpaperStyle(const std::string&) override {}
    bool SetWallpaper(const std::string&) override { return true; }

private:
    std::string folder;
    std::vector<MonitorRect> monitors;
};
