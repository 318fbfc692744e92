// The main window's switching adapter.
#include "ui/win32/main_switching.h"

#include <utility>

#include "base/scoped_flag.h"
#include "base/win32/ansi_text.h"
#include "render/publish.h"
#include "resource.h"
#include "ui/small_dialog_rules.h"
#include "ui/win32/app_messages.h"
#include "ui/win32/dialog.h"
#include "ui/win32/main_list_panel.h"
#include "ui/win32/welcome_dlg.h"

CSwitchingAdapter::CSwitchingAdapter(HINSTANCE instance, CWallpaperApp& app, ImageLibrary& library,
                                     Desktop& desktop, FileSystem& fileSystem,
                                     ScheduleEnvironment& environment,
                                     DesktopListView& desktopListView, StampOf stampOf)
    : instance(instance),
      app(app),
      desktop(desktop),
      fileSystem(fileSystem),
      desktopListView(desktopListView),
      renderer(library, desktop, std::move(stampOf), app.wallpaperFileSuffix,
               [this](std::uint64_t ticket, ShowResult result, const std::string& why) {
                   if (result == ShowResult::NotSet) {
                       const std::lock_guard guard(reasonsLock);
                       reasons[ticket] = why;
                   }
                   if (HWND target = reportTo.load()) {
                       PostMessageW(target, kMsgWallpaperShown, static_cast<WPARAM>(ticket),
                                    static_cast<LPARAM>(result));
                   }
               }),
      loop(app.settings, random, environment, *this, *this, *this),
      lockScreen(desktop.OutputFolder()),
      lockWorker(library, lockScreen,
                 [this](const std::optional<std::string>& failure) {
                     {
                         const std::lock_guard guard(lockReportLock);
                         lockReport = failure;
                     }
                     if (HWND target = reportTo.load()) {
                         PostMessageW(target, kMsgLockScreenSet, 0, 0);
                     }
                 }),
      // A copy that cannot save keeps what it read and writes nothing of its own.
      writer(fileSystem, [this](const std::string& name) {
          return this->app.places.readOnly ? std::string() : AppDataFile(name, true);
      }) {}

void CSwitchingAdapter::Bind(const CDialog& owner, CListPanel& panel) {
    window = &owner;
    list = &panel;
    items.Bind(owner.Handle());
    reportTo = owner.Handle();
    RemoveUnfinishedWallpaperFiles(desktop, app.wallpaperFileSuffix);
    random.Seed(GetTickCount());
    // Read once at start-up; every later write goes through the writer's thread.
    if (const std::string deckFile = AppDataFile("deck.txt", false); !deckFile.empty()) {
        loop.LoadDeck(fileSystem.ReadFile(deckFile).value_or(std::string()));
    }
    loop.RestoreHistory(LoadHistory(fileSystem, AppDataFile("history.txt", false)));
    const auto marks = [this](std::string_view name) {
        const std::string file = AppDataFile(name, false);
        return PictureMarks::FromText(
            file.empty() ? std::string() : fileSystem.ReadFile(file).value_or(std::string()));
    };
    loop.RestoreMarks(marks("hidden.txt"), marks("favourites.txt"));
}

void CSwitchingAdapter::Start() {
    SetTimer(window->Handle(), kSwitchTimerId, kSwitchTimerPeriodMs, nullptr);
    // Switching starts by itself once the window is set up, as if Start were clicked.
    if (app.settings.startSwitchingAtStartup || app.settings.switchMode == 0) {
        loop.StartStop();
    }
}

void CSwitchingAdapter::Stop() {
    if (window != nullptr) {
        KillTimer(window->Handle(), kSwitchTimerId);
    }
    loop.End();
    reportTo = nullptr;
}

void CSwitchingAdapter::OnSetSelectionAsWallpaper() {
    if (std::optional<CListPanel::Choice> choice = list->SelectedChoice()) {
        loop.ShowEntry(choice->entry, choice->page);
    }
}

void CSwitchingAdapter::OnRemoveWallpaper() {
    // The show under way must not put a wallpaper back: it is dropped, and the wallpaper is
    // removed after anything the worker was publishing.
    loop.CancelShow();
    renderer.RemoveWallpaper();
}

void CSwitchingAdapter::OnShown(WPARAM ticket, LPARAM result) {
    const auto outcome = static_cast<ShowResult>(result);
    std::string why;
    {
        const std::lock_guard guard(reasonsLock);
        if (auto found = reasons.find(ticket); found != reasons.end()) {
            why = std::move(found->second);
            reasons.erase(found);
        }
    }
    std::vector<ShowPicture> pictures;
    if (auto found = showPictures.find(ticket); found != showPictures.end()) {
        pictures = std::move(found->second);
        showPictures.erase(found);
    }
    if (auto found = layouts.find(ticket); found != layouts.end()) {
        if (outcome == ShowResult::Shown) {
            shownLayout = std::move(found->second);
            SetLockScreen(pictures, *shownLayout);
        }
        layouts.erase(found);
    }
    loop.ShowFinished(ticket, outcome, why);
}

void CSwitchingAdapter::SetLockScreen(const std::vector<ShowPicture>& pictures,
                                      const std::vector<MonitorRect>& monitors) {
    if (!app.settings.lockScreen || pictures.empty() || !lockScreen.Available()) {
        return;
    }
    // The lock screen shows on the primary monitor, whole.
    DesktopShape primary{desktop.DesktopSize(), 32, desktop.BackgroundColor()};
    for (const MonitorRect& monitor : monitors) {
        if (monitor.primary) {
            primary.size = {monitor.Width(), monitor.Height()};
        }
    }
    lockWorker.Set({LockScreenPicture(pictures, monitors, app.settings.render.monitorMode),
                    app.settings.render, primary});
}

bool CSwitchingAdapter::OnLockScreenSet() {
    std::optional<std::optional<std::string>> report;
    {
        const std::lock_guard guard(lockReportLock);
        report.swap(lockReport);
    }
    return report && lockStatus.Report(*report, app.settings.lockScreen);
}

void CSwitchingAdapter::OnSettingsApplied(const AppSettings& before) {
    if (!app.settings.lockScreen) {
        // Turned off: the last picture stays on the lock screen, and a failure is no news.
        lockStatus.TurnedOff();
    }
    loop.SettingsApplied(before);
}

std::optional<std::vector<MonitorRect>> CSwitchingAdapter::RenderedLayout() const {
    // The newest show begun replaces any older one on the worker, so it is what will be shown.
    if (!layouts.empty()) {
        return layouts.rbegin()->second;
    }
    return shownLayout;
}

std::string CSwitchingAdapter::LayoutNote() {
    if (app.settings.render.monitorMode == 0 || ComposedBitmapFits(desktop.Monitors())) {
        return {};
    }
    return " (the monitors lie too far apart for a picture per monitor: one picture for the whole "
           "desktop)";
}

bool CSwitchingAdapter::ShowCurrentAgain() {
    if (ticksHeld > 0) {
        return false;
    }
    loop.ShowCurrentAgain();
    return true;
}

std::uint64_t CSwitchingAdapter::BeginShow(const std::vector<ShowPicture>& pictures,
                                           bool filtered) {
    const std::uint64_t ticket =
        renderer.Show(pictures, app.settings.render, filtered ? Filter() : PictureFilter{});
    layouts[ticket] = Monitors();
    showPictures[ticket] = pictures;
    return ticket;
}

void CSwitchingAdapter::ReadShapes(const std::vector<ShowPicture>& pictures) {
    // A few small reads of each header, never a decode; on a slow share they may take long.
    writer.Run([this, pictures, upright = app.settings.render.uprightPhotos] {
        std::vector<std::pair<ShowPicture, PictureShape>> read;
        for (const ShowPicture& picture : pictures) {
            read.emplace_back(picture, ReadPictureShape(fileSystem, picture.path, picture.page,
                                                        picture.rotation, upright));
        }
        {
            const std::lock_guard guard(shapesLock);
            shapesRead.insert(shapesRead.end(), read.begin(), read.end());
        }
        if (HWND target = reportTo.load()) {
            PostMessageW(target, kMsgShapesRead, 0, 0);
        }
    });
}

void CSwitchingAdapter::OnShapesRead() {
    std::vector<std::pair<ShowPicture, PictureShape>> read;
    {
        const std::lock_guard guard(shapesLock);
        read.swap(shapesRead);
    }
    if (!read.empty()) {
        loop.ShapesRead(read);
    }
}

void CSwitchingAdapter::Prepare(const std::vector<ShowPicture>& pictures) {
    renderer.Prepare(pictures, app.settings.render, Filter());
}

std::vector<WallpaperEntry> CSwitchingAdapter::BuildSwitchingSequence() {
    return BuildSequence(list->Rows(), app.settings.includeSubfolders, fileSystem,
                         mbcs::NoLeadBytes);
}

void CSwitchingAdapter::ShowSourceRow(int row) {
    list->ShowSourceRow(row);
}

void CSwitchingAdapter::StoreNextIndex(int) {
    app.SaveNextIndex();
}

std::string CSwitchingAdapter::AppDataFile(std::string_view name, bool makeFolders) {
    const std::string& folder = app.places.dataFolder;
    if (folder.empty()) {
        return folder;
    }
    if (makeFolders) {
        desktop.MakeFolder(folder);
    }
    return folder + "\\" + std::string(name);
}

void CSwitchingAdapter::SetBusy(bool) {
    // The cursor over the window follows at once, not at the next mouse move: the window under
    // the pointer is asked for its cursor as a move would ask it. The pointer itself is never
    // moved, so no other program sees a mouse move; over another window nothing changes.
    POINT at{};
    if (!GetCursorPos(&at)) {
        return;
    }
    HWND window = items.Handle();
    HWND under = WindowFromPoint(at);
    if (under == nullptr || (under != window && !IsChild(window, under))) {
        return;
    }
    const LPARAM point = MAKELPARAM(static_cast<SHORT>(at.x), static_cast<SHORT>(at.y));
    const auto hitTest = static_cast<WORD>(SendMessageW(under, WM_NCHITTEST, 0, point));
    SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                 MAKELPARAM(hitTest, WM_MOUSEMOVE));
}

bool CSwitchingAdapter::OnSetCursor(WORD hitTest) {
    // The frame keeps its own cursors (a border still shows where to size).
    if (!loop.Busy() || hitTest != HTCLIENT) {
        return false;
    }
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
    return true;
}

void CSwitchingAdapter::SetStartStopText(const std::string& text) {
    items.SetItemText(IDC_STARTSTOP, text);
}

void CSwitchingAdapter::UpdateControls() {
    list->Refresh();
}

void CSwitchingAdapter::RefreshIconTextColors() {
    if (IconTextColorsApply(app.osVersion, app.settings)) {
        ApplyIconTextColors(desktopListView, app.settings.iconTextColor,
                            app.settings.iconTextTransparent);
    }
}

void CSwitchingAdapter::OnTimer(UINT_PTR id) {
    if (id != kSwitchTimerId || ticksHeld > 0) {
        return;
    }
    // The welcome dialog's own loop keeps ticking, and switching goes on under it.
    ShowWelcomeIfDue();
    // A modal loop opened inside a tick dispatches the timer again: that tick is skipped.
    if (inTick || window->HasEnded()) {
        return;
    }
    const ScopedFlag ticking(inTick);
    if (loop.OnTick()) {
        // The tick's list chores: the icon captions, the list's changed flag and the deferred
        // selection refresh.
        RefreshIconTextColors();
        list->FinishTick();
    }
}

void CSwitchingAdapter::ShowWelcomeIfDue() {
    if (!WelcomeDue(welcomeShown, app.settings.showWelcome)) {
        return;
    }
    welcomeShown = true;
    CWelcomeDlg welcome(instance);
    const bool closed = welcome.DoModal(window->Handle()) == IDOK;
    app.settings.showWelcome = ShowWelcomeAfter(closed, welcome.dontShowAgain);
}

ShowPicture CSwitchingAdapter::PictureOnDesktop(bool underPointer) {
    const std::vector<ShowPicture> onDesktop = loop.PicturesOnDesktop();
    if (onDesktop.size() < 2) {
        return onDesktop.empty() ? ShowPicture{} : onDesktop.front();
    }
    std::optional<std::pair<int, int>> point;
    if (POINT at{}; underPointer && GetCursorPos(&at)) {
        point.emplace(at.x, at.y);
    }
    return PictureMeant(onDesktop, Monitors(), point);
}
