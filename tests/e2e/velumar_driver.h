// Drives a real Velumar.exe from another process, as a user and other programs would.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/win32/unique_handle.h"

namespace e2e {

// Velumar.exe beside the running test program.
std::string VelumarExePath();

// Every deadline of a wait is the time a state takes at most on an idle machine, times this: a
// loaded machine (parallel builds, a busy CI runner) slows Wine several times over, and a wait
// ends as soon as its state holds, so only a failing wait pays for the margin.
constexpr DWORD kSlowMachineFactor = 4;
constexpr DWORD Deadline(DWORD idleMs) {
    return idleMs * kSlowMachineFactor;
}

// Polls until the condition holds or the deadline for that idle time is up; returns the last
// result.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD idleMs = 10000) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount() - start > Deadline(idleMs)) {
            return condition();
        }
        Sleep(20);
    }
}

// Top-level windows of a process whose title starts with a prefix (any process when pid is 0).
std::vector<HWND> TopLevelWindows(DWORD processId, const std::string& titlePrefix);
// Texts another process shows, in UTF-8: a window's, and an item of a combo or list box.
std::string WindowText(HWND window);
std::string ComboItemText(HWND combo, int index);
std::string ListBoxItemText(HWND list, int index);

// Whole-file reads and writes of the test's own files.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// The peak resident memory in KiB of the Unix process that runs the Windows program of that
// file name under Wine, read from /proc through the Z: drive; 0 when it is not found.
long PeakResidentKiB(const std::string& exeName);

// The wallpaper bitmap in the Windows directory.
std::string WallpaperFile();
// The first stored pixel of the wallpaper bitmap (blue, green, red); zeros when unreadable.
std::array<int, 3> WallpaperColor();
// Width and height of the wallpaper bitmap, from its header; zeros when unreadable.
std::pair<int, int> WallpaperSize();
// The file's identity on its volume, which a move keeps and a new write does not; 0 when none.
std::uint64_t FileIndex(const std::string& path);
// A text value under "Control Panel\Desktop" as stored ("(none)" when missing): Wine caches
// system parameters per process, so the registry tells what another process set.
std::string DesktopValue(const char* name);
// Whether two colours differ by at most 8 in each channel (a JPEG's rounding).
bool IsNear(const std::array<int, 3>& color, const std::array<int, 3>& expected);
bool IsNear(COLORREF color, COLORREF expected);

// The bytes of a JPEG made with WIC's encoder, of the colour given for each pixel.
std::string JpegBytes(UINT width, UINT height, const std::function<COLORREF(UINT, UINT)>& colorAt);

// A 24-bit bitmap file as its size and the colour of a pixel counted from the top-left.
struct BitmapFile {
    std::string bytes;

    int Get32(size_t offset) const {
        int value = 0;
        for (int i = 3; i >= 0; --i) {
            value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
        }
        return value;
    }
    int Width() const { return bytes.size() < 54 ? 0 : Get32(18); }
    int Height() const { return bytes.size() < 54 ? 0 : Get32(22); }
    COLORREF Pixel(int x, int y) const {
        const size_t stride = (static_cast<size_t>(Width()) * 3 + 3) & ~size_t{3};
        const size_t at = static_cast<size_t>(Get32(10)) +
                          stride * static_cast<size_t>(Height() - 1 - y) + size_t{3} * x;
        if (at + 3 > bytes.size()) {
            return CLR_INVALID;
        }
        const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
        return RGB(byte(2), byte(1), byte(0));
    }
};

// Reads the wallpaper bitmap into the file until the condition holds of it; false when the time
// is up.
template <typename Condition>
bool WaitForWallpaper(BitmapFile& bitmap, Condition ready, DWORD idleMs = 10000) {
    return WaitUntil(
        [&] {
            bitmap.bytes = ReadFileBytes(WallpaperFile());
            return ready(bitmap);
        },
        idleMs);
}

// A 24-bit bitmap file of one colour.
std::string SolidBitmap(int width, int height, BYTE b, BYTE g, BYTE r);

// A control with the id anywhere below a window (a property sheet's pages, say), or the first
// one that matches.
HWND FindDescendant(HWND parent, int id);
HWND FindDescendant(HWND parent, const std::function<bool(HWND)>& matches);
// A visible top-level window of the process with exactly this title, once it is there.
HWND WaitForWindow(DWORD processId, const std::string& title, DWORD idleMs = 15000);
// Waits for the program's message box, answers it with a button (OK unless told) and returns
// its text (empty when none came).
std::string DismissMessageBox(DWORD processId, DWORD idleMs = 15000, int button = IDOK);

// Selects or deselects a row of a list view in the process, as a click would.
void SetListRowSelected(DWORD processId, HWND list, int row, bool selected);
// Drops files on a window at a point of its client area, as the shell does (the drop block is
// made in the receiving process).
void DropFiles(DWORD processId, HWND window, POINT clientPoint,
               const std::vector<std::string>& paths);
// Tells a window that it now stands on a monitor of another DPI, with the rectangle Windows
// suggests for it there (WM_DPICHANGED; the rectangle is made in the receiving process).
void SendDpiChanged(DWORD processId, HWND window, int dpi, const RECT& suggested);
// Waits until a folder browser of the process names the folder in its status text, selecting
// it there when it does not (Wine's browser now and then drops the selection it starts with
// while it fills its tree); whether it was named.
bool ChooseInFolderBrowser(DWORD processId, HWND browser, const std::string& folder);
// Asks for help on a control as the question-mark button does (WM_HELP to the window).
void SendHelpRequest(HWND window, HWND control);
// Real mouse input at screen points (from xdotool on the display): a move, a left-button drag
// (or its two halves: pressed and moved, then released), and single or double clicks.
void MouseMove(POINT to);
void MouseDrag(POINT from, POINT to);
void MousePressAndMove(POINT from, POINT to);
void MouseRelease(POINT at);
void MouseClick(POINT at, int clicks = 1);
// Real key presses on the display, in xdotool's names ("ctrl+alt+n").
void PressKeys(const std::string& keys);
// The middle of a rectangle, or of a window on the screen.
POINT CenterOf(const RECT& rect);
POINT CenterOf(HWND window);
// The colour on the screen at a point.
COLORREF ScreenPixel(POINT at);

class VelumarProcess {
public:
    VelumarProcess() = default;
    VelumarProcess(const VelumarProcess&) = delete;
    VelumarProcess& operator=(const VelumarProcess&) = delete;
    // A copy still running when the test ends is terminated.
    ~VelumarProcess();

    // Starts the program with a command line tail, in the given working folder.
    bool Start(const std::string& exePath = VelumarExePath(), const std::string& arguments = "",
               const std::string& workingFolder = "");
    // Waits until the main window has finished initialising (its title is set).
    HWND WaitForMainWindow(DWORD idleMs = 15000);
    HWND MainWindow() const { return window; }
    DWORD ProcessId() const { return processId; }

    // WM_COMMAND with a menu or control id: Send returns when the handler is done, Post does not
    // wait (for commands that open a modal window).
    void SendCommand(int id) const;
    void PostCommand(int id) const;
    HWND Control(int id) const { return GetDlgItem(window, id); }
    std::string ControlText(int id) const { return WindowText(Control(id)); }
    bool IsControlEnabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }

    // The list view's rows.
    int ListRowCount(int listId) const;
    std::string ListText(int listId, int row, int column) const;
    std::vector<int> SelectedRows(int listId) const;
    // A row's rectangle on the screen.
    RECT ListRowRect(int listId, int row) const;
    // Sets a row's selected state as a click would (the list reports the change).
    void SetRowSelected(int listId, int row, bool selected) const;

    // Posts "E&xit" and waits for the process to end.
    bool Exit(DWORD idleMs = 15000);
    bool WaitForExit(DWORD idleMs = 15000);
    bool IsRunning() const;
    std::optional<DWORD> ExitCode() const;

private:
    UniqueHandle process;
    DWORD processId = 0;
    HWND window = nullptr;
};

}  // namespace e2e
