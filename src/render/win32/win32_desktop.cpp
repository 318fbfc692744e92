// The desktop through the wide registry API and SystemParametersInfoW; paths are UTF-8.
#include "render/win32/win32_desktop.h"

#include <windows.h>
#include <shlobj.h>

#include "base/win32/shell_folder.h"
#include "base/win32/system_error.h"
#include "base/win32/unique_hkey.h"
#include "base/win32/wide_text.h"

ScreenSize Win32Desktop::DesktopSize() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

std::vector<MonitorRect> Win32Desktop::Monitors() {
    std::vector<MonitorRect> monitors;
    auto collect = [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (GetMonitorInfoW(monitor, &info)) {
            const RECT& r = info.rcMonitor;
            reinterpret_cast<std::vector<MonitorRect>*>(data)->push_back(
                {r.left, r.top, r.right, r.bottom, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
        }
        return TRUE;
    };
    EnumDisplayMonitors(nullptr, nullptr, collect, reinterpret_cast<LPARAM>(&monitors));
    if (monitors.empty()) {
        const ScreenSize size = DesktopSize();
        monitors.push_back({0, 0, size.width, size.height, true});
    }
    return monitors;
}

int Win32Desktop::BitsPerPixel() {
    // The screen's device context: every window of the primary display has the same depth.
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return 32;
    }
    int bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    return bits;
}

ColorRef Win32Desktop::BackgroundColor() {
    return GetSysColor(COLOR_BACKGROUND);
}

std::string Win32Desktop::WindowsDirectory() {
    UINT size = GetWindowsDirectoryW(nullptr, 0);
    std::wstring folder(size, L'\0');
    UINT length = size == 0 ? 0 : GetWindowsDirectoryW(folder.data(), size);
    folder.resize(length < size ? length : 0);
    return Narrow(folder);
}

bool Win32Desktop::MakeFolder(const std::string& path) {
    return MakeFolders(path);
}

bool Win32Desktop::MoveFileOver(const std::string& from, const std::string& to) {
    // Another program reading the wallpaper at that moment (the shell itself, a viewer, a
    // backup) holds it without letting it be replaced; it lets go within moments. This runs on
    // the render worker, never on the window's thread.
    constexpr int kTries = 10;
    constexpr DWORD kPauseMs = 50;
    const std::wstring wideFrom = Widen(from);
    const std::wstring wideTo = Widen(to);
    const DWORD target = GetFileAttributesW(wideTo.c_str());
    if (target != INVALID_FILE_ATTRIBUTES && (target & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        SetLastError(ERROR_ACCESS_DENIED);  // as the move itself would say
        return false;                       // a folder in the file's place never lets go
    }
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(wideFrom.c_str(), wideTo.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        const DWORD error = GetLastError();
        if (attempt == kTries || (error != ERROR_SHARING_VIOLATION &&
                                  error != ERROR_LOCK_VIOLATION && error != ERROR_ACCESS_DENIED)) {
            return false;
        }
        Sleep(kPauseMs);
    }
}

void Win32Desktop::RemoveFile(const std::string& path) {
    DeleteFileW(Widen(path).c_str());
}

void Win32Desktop::RemoveFilesMatching(const std::string& pattern) {
    const std::size_t slash = pattern.find_last_of('\\');
    const std::wstring folder =
        Widen(pattern.substr(0, slash == std::string::npos ? 0 : slash + 1));
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(Widen(pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            DeleteFileW((folder + found.cFileName).c_str());
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

namespace {

// The value of the settings section that keeps the user's wallpaper style.
constexpr std::string_view kKeptStyleValue = "WS";

void WriteDesktopText(const wchar_t* name, const std::wstring& value) {
    UniqueHKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_WRITE, key.Put()) !=
        ERROR_SUCCESS) {
        return;
    }
    RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

void Win32Desktop::WriteTileWallpaper(bool tile) {
    WriteDesktopText(L"TileWallpaper", tile ? L"1" : L"0");
}

std::string Win32Desktop::ReadWallpaperStyle() {
    // A style is a short number; anything longer is not one to keep.
    wchar_t style[32] = {};
    DWORD size = sizeof(style);
    if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"WallpaperStyle", RRF_RT_REG_SZ,
                     nullptr, style, &size) != ERROR_SUCCESS) {
        return {};
    }
    return Narrow(style);
}

void Win32Desktop::WriteWallpaperStyle(const std::string& style) {
    WriteDesktopText(L"WallpaperStyle", Widen(style));
}

std::string Win32Desktop::KeptWallpaperStyle() {
    return settings != nullptr ? settings->ReadText(kSettingsSection, kKeptStyleValue, "") : "";
}

void Win32Desktop::KeepWallpaperStyle(const std::string& style) {
    if (settings != nullptr) {
        settings->WriteText(kSettingsSection, kKeptStyleValue, style);
    }
}

bool Win32Desktop::SetWallpaper(const std::string& path) {
    // The wide API writes the path into the profile as it is, and takes any name.
    std::wstring buffer = Widen(path);
    if (buffer.size() >= kWallpaperPathBuffer) {
        return false;
    }
    return SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, buffer.data(),
                                 SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE) != FALSE;
}

std::string Win32Desktop::LastErrorText() {
    const DWORD error = GetLastError();
    return error == ERROR_SUCCESS ? std::string() : SystemErrorText(error);
}

std::optional<FileStamp> Win32FileStamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    return FileStamp{std::uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow,
                     std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32 |
                         data.ftLastWriteTime.dwLowDateTime};
}
