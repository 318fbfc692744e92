// The main window's switching adapter: the switching loop with the render worker behind it, the
// one-second tick and its guard, the welcome step, and the loop's ports onto the window.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/wallpaper_app.h"
#include "desktop/icon_text_colors.h"
#include "desktop/win32/win32_lock_screen.h"
#include "imagelib/image_library.h"
#include "list/file_system.h"
#include "render/desktop.h"
#include "render/lock_screen_worker.h"
#include "render/wallpaper_renderer.h"
#include "switching/file_writer.h"
#include "switching/picture_marks.h"
#include "switching/random_source.h"
#include "switching/switching_loop.h"
#include "ui/win32/dialog_items.h"

class CDialog;
class CListPanel;

inline constexpr UINT_PTR kSwitchTimerId = 2001;
inline constexpr UINT kSwitchTimerPeriodMs = 1000;

class CSwitchingAdapter final : private SwitchRendering,
                                private SwitchingView,
                                private SwitchingStore {
public:
    CSwitchingAdapter(HINSTANCE instance, CWallpaperApp& app, ImageLibrary& library,
                      Desktop& desktop, FileSystem& fileSystem, ScheduleEnvironment& environment,
                      DesktopListView& desktopListView, StampOf stampOf);
    CSwitchingAdapter(const CSwitchingAdapter&) = delete;
    CSwitchingAdapter& operator=(const CSwitchingAdapter&) = delete;

    // Binds the window and its list first of all, so that a command another program sends
    // while the window is being set up already finds the loop whole (its results reach the
    // window, the marks are read).
    void Bind(const CDialog& window, CListPanel& list);
    // Starts the tick on the window and, when the settings say so, switching itself.
    void Start();
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
    // The render worker's report (kMsgWallpaperShown): the ticket and the ShowResult.
    void OnShown(WPARAM ticket, LPARAM result);
    // The shapes asked for were read (kMsgShapesRead).
    void OnShapesRead();
    // The properties were applied over these settings.
    void OnSettingsApplied(const AppSettings& before);
    // The displays changed: the current wallpaper is rendered again for them; false, with nothing
    // done, while the settings are being applied.
    bool ShowCurrentAgain();
    // The displays are as the wallpaper on the desktop was rendered for.
    void DisplaysUnchanged() { loop.DropShowAgain(); }
    // The monitors (OrderMonitors' order) that the wallpaper on the desktop, or the show under
    // way, was rendered for; nothing before the first show of the run.
    std::optional<std::vector<MonitorRect>> RenderedLayout() const;
    // Why the last show's bitmap could not be set (empty when it was), and why a picture per
    // monitor is not possible on this layout (empty when it is), for the title and tray tip.
    const std::string& PublishFailure() const { return publishFailure; }
    // The filters left out every picture of the sequence at the last switch.
    bool AllFilteredOut() const { return loop.AllFilteredOut(); }
    // Whether the system lets Velumar set the lock-screen picture, and why the last setting of
    // it failed (empty when it did not), for the General page and the tray tip.
    bool LockScreenAvailable() { return lockScreen.Available(); }
    const std::string& LockScreenFailure() const { return lockStatus.Failure(); }
    // The lock-screen worker's report (kMsgLockScreenSet); true when the failure shown changed.
    bool OnLockScreenSet();
    std::string LayoutNote();
    // The list file changed: what was rendered ahead of it goes.
    void OnListFileChanged() { renderer.Drop(); }
    // The cursor over the window's client area while a show runs; true when it was set.
    bool OnSetCursor(WORD hitTest);

    bool Active() const { return loop.Active(); }
    // The picture on the desktop a command means: with a picture per monitor, the one on the
    // monitor under the mouse pointer (from the tray or a key) or else the main monitor's. An
    // empty path when none is known.
    ShowPicture PictureOnDesktop(bool underPointer);
    // "Never show this picture", "Favourite", and whether the picture meant is a favourite.
    void OnNeverShow(bool underPointer) { loop.Hide(PictureOnDesktop(underPointer)); }
    void OnFavourite(bool underPointer) { loop.ToggleFavourite(PictureOnDesktop(underPointer)); }
    bool IsFavourite(bool underPointer) {
        return loop.Favourites().Contains(PictureOnDesktop(underPointer));
    }
    // The hidden pictures, and those the user shows again.
    const std::vector<MarkedPicture>& HiddenPictures() const { return loop.Hidden().Pictures(); }
    void ShowAgain(const std::vector<MarkedPicture>& pictures) { loop.ShowAgain(pictures); }
    // "Only favourites" found none in the list, so the whole list shows.
    bool NoFavouritesToShow() const { return loop.NoFavouritesToShow(); }
    // Waits until the deck and the history are written (the session ends).
    void FlushFiles() { writer.Flush(); }

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
    // Hands the picture of a show that became the wallpaper to the lock-screen worker, when the
    // option is on and the system offers it.
    void SetLockScreen(const std::vector<ShowPicture>& pictures,
                       const std::vector<MonitorRect>& monitors);
    // A file of that name in the data folder (Quorwick\Velumar of the local application data,
    // or a portable copy's Velumar-data; made when asked), where the deck and the history are
    // kept; empty when that folder is unknown.
    std::string AppDataFile(std::string_view name, bool makeFolders);

    // The size and shape filters of the settings.
    PictureFilter Filter() const { return {app.settings.minSizePercent, app.settings.shapeFilter}; }

    // SwitchRendering
    std::uint64_t BeginShow(const std::vector<ShowPicture>& pictures, bool filtered) override;
    void CancelShow() override { renderer.CancelShow(); }
    void Prepare(const std::vector<ShowPicture>& pictures) override;
    void DropPrepared() override { renderer.Drop(); }
    void ReadShapes(const std::vector<ShowPicture>& pictures) override;
    // SwitchingView
    std::vector<WallpaperEntry> BuildSwitchingSequence() override;
    void ShowSourceRow(int row) override;
    void OnItemFailed() override { RefreshIconTextColors(); }
    void SetPublishFailure(const std::string& why) override { publishFailure = why; }
    void SetBusy(bool busy) override;
    void SetStartStopText(const std::string& text) override;
    void UpdateControls() override;
    // SwitchingStore: the files are written by the writer's thread.
    void StoreNextIndex(int nextIndex) override;
    void SaveDeck(std::string text) override { writer.Save("deck.txt", std::move(text)); }
    void AppendDeck(std::string lines) override { writer.Append("deck.txt", std::move(lines)); }
    void SaveHistory(std::string text) override { writer.Save("history.txt", std::move(text)); }
    void SaveHidden(std::string text) override { writer.Save("hidden.txt", std::move(text)); }
    void SaveFavourites(std::string text) override {
        writer.Save("favourites.txt", std::move(text));
    }
    // The desktop icon caption colours, when the option applies.
    void RefreshIconTextColors();
    std::vector<MonitorRect> Monitors() override { return OrderMonitors(desktop.Monitors()); }

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
    std::string publishFailure;
    // The worker's reasons for shows that could not be set, by ticket, until they are heard.
    std::mutex reasonsLock;
    std::map<std::uint64_t, std::string> reasons;
    // The monitors each show begun was rendered for, by ticket, and those of the last one shown.
    std::map<std::uint64_t, std::vector<MonitorRect>> layouts;
    std::optional<std::vector<MonitorRect>> shownLayout;
    // The pictures of each show begun, by ticket, until it ends: the lock screen takes one.
    std::map<std::uint64_t, std::vector<ShowPicture>> showPictures;
    Win32LockScreen lockScreen;
    LockScreenStatus lockStatus;
    // The lock-screen worker's last report, until the window takes it.
    std::mutex lockReportLock;
    std::optional<std::optional<std::string>> lockReport;
    LockScreenWorker lockWorker;
    // Shapes read on the writer's thread, until the window takes them.
    std::mutex shapesLock;
    std::vector<std::pair<ShowPicture, PictureShape>> shapesRead;
    // Writes the deck and the history; declared after what placing its files uses.
    FileWriter writer;
};
