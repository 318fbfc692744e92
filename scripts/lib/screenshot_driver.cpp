// Drives a running Velumar for scripts/screenshots.sh: opens what a shot shows and prints the
// screen rectangle to capture as ImageMagick's crop geometry (WIDTHxHEIGHT+X+Y).
//   screenshot_driver main | command ID | page INDEX | close-sheet | tray | close-menu
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr const char* kMainTitlePrefix = "Velumar by Quorwick - ";
constexpr const char* kSheetTitle = "Velumar Properties";
constexpr int kListView = 1000;
constexpr UINT kTrayCallback = 0x8001;
constexpr UINT kTrayIconId = 1000;

// Polls for up to a minute (a loaded machine starts Wine programs slowly) until the finder
// returns a window.
template <typename Find>
HWND WaitFor(Find find) {
    for (int i = 0; i < 3000; ++i) {
        if (HWND window = find()) {
            return window;
        }
        Sleep(20);
    }
    return nullptr;
}

// A visible top-level window of that class (any when null) whose title starts with the prefix.
HWND TopLevel(const char* className, const char* titlePrefix) {
    struct Search {
        const char* className;
        const char* titlePrefix;
        HWND found;
    } search{className, titlePrefix, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            char name[256] = {};
            char title[256] = {};
            GetClassNameA(window, name, sizeof(name));
            GetWindowTextA(window, title, sizeof(title));
            if (IsWindowVisible(window) &&
                (!s->className || std::strcmp(name, s->className) == 0) &&
                std::strncmp(title, s->titlePrefix, std::strlen(s->titlePrefix)) == 0) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND MainWindow() {
    return WaitFor([] { return TopLevel("#32770", kMainTitlePrefix); });
}
HWND Sheet() {
    return WaitFor([] { return TopLevel("#32770", kSheetTitle); });
}
HWND Menu() {
    return WaitFor([] { return TopLevel("#32768", ""); });
}

void WaitGone(const char* className, const char* titlePrefix) {
    WaitFor([&] { return TopLevel(className, titlePrefix) ? nullptr : GetDesktopWindow(); });
}

int PrintRect(RECT rect) {
    std::printf("%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top, rect.left,
                rect.top);
    return 0;
}

int PrintWindowRect(HWND window) {
    if (!window) {
        std::fprintf(stderr, "screenshot_driver: the window did not come\n");
        return 1;
    }
    RECT rect{};
    GetWindowRect(window, &rect);
    return PrintRect(rect);
}

// Opens the icon's menu with the pointer over the notification area, as a right-click there
// does, and gives the menu's rectangle.
int OpenTrayMenu(HWND main) {
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 60, GetSystemMetrics(SM_CYSCREEN) - 12);
    PostMessageA(main, kTrayCallback, kTrayIconId, WM_RBUTTONUP);
    return PrintWindowRect(Menu());
}

}  // namespace

int main(int argc, char** argv) {
    const std::string verb = argc > 1 ? argv[1] : "";
    const int number = argc > 2 ? std::atoi(argv[2]) : 0;
    HWND main = MainWindow();
    if (!main) {
        std::fprintf(stderr, "screenshot_driver: Velumar's window did not come\n");
        return 1;
    }
    if (verb == "main") {
        SetForegroundWindow(main);
        return PrintWindowRect(main);
    }
    if (verb == "command") {
        PostMessageA(main, WM_COMMAND, static_cast<WPARAM>(number), 0);
        return 0;
    }
    if (verb == "page") {
        HWND sheet = Sheet();
        if (sheet) {
            SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(number), 0);
        }
        return PrintWindowRect(sheet);
    }
    if (verb == "close-sheet") {
        if (HWND sheet = Sheet()) {
            PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
        }
        WaitGone("#32770", kSheetTitle);
        return 0;
    }
    if (verb == "tray") {
        return OpenTrayMenu(main);
    }
    if (verb == "close-menu") {
        if (HWND menu = Menu()) {
            PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        }
        WaitGone("#32768", "");
        return 0;
    }
    std::fprintf(stderr, "screenshot_driver: unknown verb '%s'\n", verb.c_str());
    return 2;
}
