// The desktop following the displays.
#include "ui/win32/desktop_follower.h"

#include <wtsapi32.h>

#include <array>
#include <string>

#include "base/win32/deferred_import.h"
#include "base/win32/wide_text.h"
#include "render/publish.h"
#include "ui/win32/main_switching.h"

namespace {

// The wallpaper the system shows now.
std::string CurrentWallpaperSetting() {
    std::array<wchar_t, kWallpaperPathBuffer> buffer{};
    if (!SystemParametersInfoW(SPI_GETDESKWALLPAPER, static_cast<UINT>(buffer.size()),
                               buffer.data(), 0)) {
        return {};
    }
    buffer.back() = L'\0';
    return Narrow(buffer.data());
}

// The wallpaper stored in the user profile: the last one set for good, by any program.
std::string StoredWallpaperSetting() {
    std::array<wchar_t, kWallpaperPathBuffer> buffer{};
    DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper", RRF_RT_REG_SZ,
                     nullptr, buffer.data(), &size) != ERROR_SUCCESS) {
        return {};
    }
    return Narrow(buffer.data());
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

void CDesktopFollower::Attach(HWND owner) {
    window = owner;
    // Windows 8 and later; a top-level window hears resume without it on earlier systems.
    using RegisterResume = HPOWERNOTIFY WINAPI(HANDLE, DWORD);
    if (auto* registerResume = DeferredImport<RegisterResume>(
            "user32.dll", "RegisterSuspendResumeNotification", false)) {
        resumeNotification = registerResume(owner, DEVICE_NOTIFY_WINDOW_HANDLE);
    }
    using RegisterSession = BOOL WINAPI(HWND, DWORD);
    if (auto* registerSession =
            DeferredImport<RegisterSession>("wtsapi32.dll", "WTSRegisterSessionNotification")) {
        sessionNotification = registerSession(owner, NOTIFY_FOR_THIS_SESSION) != FALSE;
    }
}

void CDesktopFollower::Detach() {
    if (window == nullptr) {
        return;
    }
    KillTimer(window, kDisplayFollowTimerId);
    using UnregisterResume = BOOL WINAPI(HPOWERNOTIFY);
    if (resumeNotification != nullptr) {
        if (auto* unregisterResume = DeferredImport<UnregisterResume>(
                "user32.dll", "UnregisterSuspendResumeNotification", false)) {
            unregisterResume(static_cast<HPOWERNOTIFY>(resumeNotification));
        }
        resumeNotification = nullptr;
    }
    using UnregisterSession = BOOL WINAPI(HWND);
    if (sessionNotification) {
        if (auto* unregisterSession = DeferredImport<UnregisterSession>(
                "wtsapi32.dll", "WTSUnRegisterSessionNotification", false)) {
            unregisterSession(window);
        }
        sessionNotification = false;
    }
    window = nullptr;
}

void CDesktopFollower::Gather(bool woke) {
    if (window == nullptr) {
        return;
    }
    const DWORD now = GetTickCount();
    follow.Changed(now, woke);
    // Set again at each change of a burst, always for the time left since its first change.
    SetTimer(window, kDisplayFollowTimerId, follow.Wait(now).value_or(0), nullptr);
}

void CDesktopFollower::OnPowerBroadcast(WPARAM event) {
    if (event == PBT_APMRESUMEAUTOMATIC) {
        Gather(true);
    }
}

void CDesktopFollower::OnSessionChange(WPARAM event) {
    if (event == WTS_SESSION_UNLOCK) {
        PublishAgainIfLost();
    }
}

bool CDesktopFollower::OnTimer(UINT_PTR id) {
    if (id != kDisplayFollowTimerId) {
        return false;
    }
    const DWORD now = GetTickCount();
    if (!follow.Fire(now)) {
        if (const std::optional<std::uint32_t> wait = follow.Wait(now)) {
            SetTimer(window, kDisplayFollowTimerId, *wait, nullptr);
        } else {
            KillTimer(window, kDisplayFollowTimerId);
        }
        return false;
    }
    KillTimer(window, kDisplayFollowTimerId);
    const bool woke = follow.TakeWoke();
    switch (DecideFollow(OrderMonitors(desktop.Monitors()), switching.RenderedLayout(), woke)) {
        case FollowStep::Nothing:
            switching.DisplaysUnchanged();
            break;
        case FollowStep::SetAgainIfLost:
            switching.DisplaysUnchanged();
            PublishAgainIfLost();
            break;
        case FollowStep::RenderAgain:
            // Only Velumar's own wallpaper follows: one the user set meanwhile stays as it is.
            if (ShowsVelumarBitmap(CurrentWallpaperSetting(), StoredWallpaperSetting(),
                                   WallpaperFileCandidates(desktop, app.wallpaperFileSuffix)) &&
                !switching.ShowCurrentAgain()) {
                // The settings are being applied: try again shortly.
                follow.Changed(now - kDisplayFollowDelayMs, woke);
                SetTimer(window, kDisplayFollowTimerId, USER_TIMER_MINIMUM * 50, nullptr);
            }
            break;
    }
    return true;
}

int CDesktopFollower::MonitorsCovered() const {
    const std::vector<MonitorRect> monitors = desktop.Monitors();
    if (app.settings.render.monitorMode == 0 || !ComposedBitmapFits(monitors)) {
        return 0;
    }
    return static_cast<int>(monitors.size());
}

void CDesktopFollower::PublishAgainIfLost() {
    const std::string stored = StoredWallpaperSetting();
    if (ShouldPublishAgain(CurrentWallpaperSetting(), stored, FileExists(stored),
                           WallpaperFileCandidates(desktop, app.wallpaperFileSuffix))) {
        desktop.SetWallpaper(stored);
    }
}
