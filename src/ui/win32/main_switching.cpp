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
               [this](std::uint64_t ticket, ShowResult result) {
                   if (HWND target = reportTo.load()) {
                       PostMessageW(target, kMsgWallpaperShown, static_cast<WPARAM>(ticket),
                                    result == ShowResult::Shown ? 1 : 0);
                   }
               }),
      loop(app.settings, random, environment, *this, *this) {}

void CSwitchingAdapter::Start(const CDialog& owner, CListPanel& panel) {
    window = &owner;
    list = &panel;
    items.Bind(owner.Handle());
    reportTo = owner.Handle();
    RemoveUnfinishedWallpaperFiles(desktop, app.wallpaperFileSuffix);
    random.Seed(GetTickCount());
    if (const std::string deckFile = AppDataFile("deck.txt", false); !deckFile.empty()) {
        loop.LoadDeck(fileSystem.ReadFile(deckFile).value_or(std::string()));
    }
    loop.RestoreHistory(LoadHistory(fileSystem, AppDataFile("history.txt", false)));
    SetTimer(owner.Handle(), kSwitchTimerId, kSwitchTimerPeriodMs, nullptr);
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
    RemoveWallpaper(desktop);
}

bool CSwitchingAdapter::ShowCurrentAgain() {
    if (ticksHeld > 0) {
        return false;
    }
    loop.ShowCurrentAgain();
    return true;
}

std::uint64_t CSwitchingAdapter::BeginShow(const std::vector<ShowPicture>& pictures) {
    return renderer.Show(pictures, app.settings.render);
}

void CSwitchingAdapter::Prepare(const std::vector<ShowPicture>& pictures) {
    renderer.Prepare(pictures, app.settings.render);
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

void CSwitchingAdapter::StoreDeck(const std::string& text) {
    if (const std::string deckFile = AppDataFile("deck.txt", true); !deckFile.empty()) {
        fileSystem.SaveFile(deckFile, text);
    }
}

std::string CSwitchingAdapter::AppDataFile(std::string_view name, bool makeFolders) {
    std::string folder = desktop.LocalAppDataFolder();
    if (folder.empty()) {
        return folder;
    }
    for (std::string_view subfolder : kAppDataSubfolders) {
        folder += subfolder;
        if (makeFolders) {
            desktop.MakeFolder(folder);
        }
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

void CSwitchingAdapter::FinishTick() {
    list->FinishTick();
}

void CSwitchingAdapter::StoreHistory(const WallpaperHistory& history) {
    if (const std::string historyFile = AppDataFile("history.txt", true); !historyFile.empty()) {
        fileSystem.SaveFile(historyFile, history.ToText());
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
    loop.OnTick();
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
