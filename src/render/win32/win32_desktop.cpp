// The desktop through the registry and SystemParametersInfo.
#include "render/win32/win32_desktop.h"

#include <windows.h>

#include "base/win32/unique_hkey.h"

ScreenSize Win32Desktop::DesktopSize() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
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
    char buffer[MAX_PATH];
    UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return std::string();
    }
    return std::string(buffer, length);
}

void Win32Desktop::WriteTileWallpaper(bool tile) {
    UniqueHKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_WRITE, key.Put()) !=
        ERROR_SUCCESS) {
        return;
    }
    const char value[2] = {tile ? '1' : '0', '\0'};
    RegSetValueExA(key.Get(), "TileWallpaper", 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   sizeof(value));
}

void Win32Desktop::SetWallpaper(const std::string& path) {
    char buffer[kWallpaperPathBuffer] = {};
    path.copy(buffer, kWallpaperPathBuffer - 1);
    SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, buffer,
                          SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
}
