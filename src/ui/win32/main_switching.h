// The main window's switching adapter: the switching loop with the render worker behind it, the
// one-second tick and its guard, the welcome step, and the loop's ports onto the window.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/wallpaper_app.h"
#include "desktop/icon_text_colors.h"
#include "imagelib/image_library.h"
#include "list/file_system.h"
#include "render/desktop.h"
#include "render/wallpaper_renderer.h"
#include "switching/random_source.h"
#include "switching/switching_loop.h"
#include "ui/win32/dialog_items.h"

class CDialog;
class CListPanel;

inline constexpr UINT_PTR kSwitchTimerId = 2001;
inline constexpr UINT kSwitchTimerPeriodMs = 1000;

class CSwitchingAdapter final : private SwitchRendering, private SwitchingView {
public:
    CSwitchingAdapter(HINSTANCE instance, CWallpaperApp& app, ImageLibrary& library,
                      Desktop& desktop, FileSystem& fileSystem, ScheduleEnvironment& environment,
                      DesktopListView& desktopListView, StampOf stampOf);
    CSwitchingAdapter(const CSwitchingAdapter&) = delete;
    CSwitchingAdapter& operator=(const CSwitchingAdapter&) = delete;

    // Starts the tick on the window and, when the settings say so, switching itself.
    void Start(const CDialog& window, CListPanel& list);
    // Stops the tick and cancels whatever runs.
    void Stop();

    void OnStartStop() { loop.StartStop(); }
    void OnSwitchNow() { loop.SwitchNow(); }
    // "Previous wallpaper".
    void OnPreviousWallpaper() { loop.ShowPrevious(); }
    bool HasPrevious() const { return loop.HasPrevious(); }
    // "Pause switching": pauses or resumes.
    void OnPauseSwitching() { loop.SetPaused(!loop.Paused()); }
    bool Paused() const { return loop.Paused(); }
    void OnSetSelectionAsWallpaper();
    // "Remove wallpaper now".
    void OnRemoveWallpaper();
    void OnTimer(UINT_PTR id);
    // The render worker's report (kMsgWallpaperShown).
    void OnShown(WPARAM ticket, LPARAM shown) { loop.ShowFinished(ticket, shown != 0); }
    // The settings that shape a render were changed.
    void OnRenderSettingsChanged() { loop.RenderSettingsChanged(); }
    // The displays changed: the current wallpaper is rendered again for them; false, with nothing
    // done, while the settings are being applied.
    bool ShowCurrentAgain();
    // The list file changed: what was rendered ahead of it goes.
    void OnListFileChanged() { renderer.Drop(); }
    // The cursor over the window's client area while a show runs; true when it was set.
    bool OnSetCursor(WORD hitTest);

    bool Active() const { return loop.Active(); }

    // No tick switches while the scope lives (the settings are being applied).
    class HoldTicks {
    public:
        explicit HoldTicks(CSwitchingAdapter& adapter) : held(adapter.ticksHeld) { ++held; }
        ~HoldTicks() { --held; }
        HoldTicks(const HoldTicks&) = delete;
        HoldTicks& operator=(const HoldTicks&) = delete;

    private:
        int& held;
    };

private:
    void ShowWelcomeIfDue();
    // A file of that name in Quorwick\Velumar of the local application data (those folders
    // made when asked), where the deck and the history are kept; empty when that folder is
    // unknown.
    std::string AppDataFile(std::string_view name, bool makeFolders);

    // SwitchRendering
    std::uint64_t BeginShow(const std::vector<ShowPicture>& pictures) override;
    void CancelShow() override { renderer.CancelShow(); }
    void Prepare(const std::vector<ShowPicture>& pictures) override;
    void DropPrepared() override { renderer.Drop(); }
    // SwitchingView
    std::vector<WallpaperEntry> BuildSwitchingSequence() override;
    void ShowSourceRow(int row) override;
    void StoreNextIndex(int nextIndex) override;
    void OnItemFailed() override { RefreshIconTextColors(); }
    void StoreDeck(const std::string& text) override;
    void SetBusy(bool busy) override;
    void SetStartStopText(const std::string& text) override;
    void UpdateControls() override;
    void RefreshIconTextColors() override;
    void FinishTick() override;
    void StoreHistory(const WallpaperHistory& history) override;
    std::vector<MonitorRect> Monitors() override { return OrderMonitors(desktop.Monitors()); }
    // A few small reads of the file's header on the window's thread, beside the file stamps the
    // renderer reads there for the same show; never a decode.
    PictureShape ShapeOf(const WallpaperEntry& item, int page) override {
        return ReadPictureShape(fileSystem, item.path, page, item.rotation);
    }

    HINSTANCE instance;
    CWallpaperApp& app;
    Desktop& desktop;
    FileSystem& fileSystem;
    DesktopListView& desktopListView;
    const CDialog* window = nullptr;
    CListPanel* list = nullptr;
    WindowItems items;
    // The window the render worker reports to; cleared before the window goes.
    std::atomic<HWND> reportTo{nullptr};
    SeededRandom random;
    WallpaperRenderer renderer;
    SwitchingLoop loop;
    int ticksHeld = 0;
    // A tick runs on this stack: a modal loop inside it dispatches the timer again.
    bool inTick = false;
    bool welcomeShown = false;
    // The history file's path, below the local application data folder; empty when that folder
    // is unknown.
};
