// Drives a real Velumar.exe from another process, as a user and other programs would.
#include "tests/e2e/velumar_driver.h"

#include <cstdio>
#include <cstdlib>

#include <commctrl.h>
#include <shlobj.h>

#include "base/win32/com_ptr.h"
#include "base/win32/wide_text.h"
#include "tests/win32/wic_test_files.h"
#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"

namespace e2e {

std::string VelumarExePath() {
    char path[MAX_PATH * 4] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string self(path, length);
    return self.substr(0, self.find_last_of('\\') + 1) + "Velumar.exe";
}

std::string WindowText(HWND window) {
    wchar_t text[4096] = {};
    SendMessageW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
    return Narrow(text);
}

namespace {

// An item's text of a combo or list box through the wide messages of that control.
std::string ItemText(HWND control, int index, UINT lengthMessage, UINT textMessage) {
    const LRESULT length = SendMessageW(control, lengthMessage, static_cast<WPARAM>(index), 0);
    if (length < 0) {
        return {};
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(control, textMessage, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.data()));
    return Narrow(text.c_str());
}

}  // namespace

std::string ComboItemText(HWND combo, int index) {
    return ItemText(combo, index, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

std::string ListBoxItemText(HWND list, int index) {
    return ItemText(list, index, LB_GETTEXTLEN, LB_GETTEXT);
}

namespace {

struct WindowSearch {
    DWORD processId;
    std::string titlePrefix;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (search->processId != 0 && owner != search->processId) {
        return TRUE;
    }
    wchar_t title[512] = {};
    GetWindowTextW(hwnd, title, ARRAYSIZE(title));
    if (Narrow(title).rfind(search->titlePrefix, 0) == 0) {
        search->found.push_back(hwnd);
    }
    return TRUE;
}

// Memory in the target process for list-view requests that carry pointers.
class RemoteBuffer {
public:
    RemoteBuffer(DWORD processId, size_t size)
        : process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                              processId)),
          size(size) {
        if (process) {
            address = VirtualAllocEx(process.Get(), nullptr, size, MEM_COMMIT | MEM_RESERVE,
                                     PAGE_READWRITE);
        }
    }
    ~RemoteBuffer() {
        if (address != nullptr) {
            VirtualFreeEx(process.Get(), address, 0, MEM_RELEASE);
        }
    }
    char* Address() const { return static_cast<char*>(address); }
    bool Write(size_t offset, const void* data, size_t count) const {
        return WriteProcessMemory(process.Get(), Address() + offset, data, count, nullptr);
    }
    bool Read(size_t offset, void* data, size_t count) const {
        return ReadProcessMemory(process.Get(), Address() + offset, data, count, nullptr);
    }

private:
    UniqueHandle process;
    void* address = nullptr;
    size_t size;
};

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD processId, const std::string& titlePrefix) {
    WindowSearch search{processId, titlePrefix, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ReadFileBytes(const std::string& path) {
    std::string bytes;
    if (FILE* file = _wfopen(Widen(path).c_str(), L"rb")) {
        char buffer[65536];
        size_t read = 0;
        while ((read = fread(buffer, 1, sizeof(buffer), file)) > 0) {
            bytes.append(buffer, read);
        }
        fclose(file);
    }
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    if (FILE* file = _wfopen(Widen(path).c_str(), L"wb")) {
        fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
    }
}

std::string WallpaperFile() {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    return Narrow(windows) + "\\Quorwick Velumar.bmp";
}

std::array<int, 3> WallpaperColor() {
    const std::string bytes = ReadFileBytes(WallpaperFile());
    if (bytes.size() < 57) {
        return {0, 0, 0};
    }
    return {static_cast<unsigned char>(bytes[54]), static_cast<unsigned char>(bytes[55]),
            static_cast<unsigned char>(bytes[56])};
}

std::pair<int, int> WallpaperSize() {
    const BitmapFile bitmap{ReadFileBytes(WallpaperFile())};
    return {bitmap.Width(), bitmap.Height()};
}

std::uint64_t FileIndex(const std::string& path) {
    UniqueHandle file(CreateFileW(Widen(path).c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !GetFileInformationByHandle(file.Get(), &info)) {
        return 0;
    }
    return (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
}

std::string DesktopValue(const char* name) {
    std::optional<RegistryValue> value = ReadValue("Control Panel\\Desktop", name);
    return value && value->AsText() ? *value->AsText() : std::string("(none)");
}

bool IsNear(const std::array<int, 3>& color, const std::array<int, 3>& expected) {
    for (int c = 0; c < 3; ++c) {
        if (std::abs(color[c] - expected[c]) > 8) {
            return false;
        }
    }
    return true;
}

bool IsNear(COLORREF color, COLORREF expected) {
    return IsNear({GetBValue(color), GetGValue(color), GetRValue(color)},
                  {GetBValue(expected), GetGValue(expected), GetRValue(expected)});
}

std::string JpegBytes(UINT width, UINT height, const std::function<COLORREF(UINT, UINT)>& colorAt) {
    wictest::Frame frame{width, height, GUID_WICPixelFormat24bppBGR, {}};
    for (UINT y = 0; y < height; ++y) {
        for (UINT x = 0; x < width; ++x) {
            const COLORREF c = colorAt(x, y);
            frame.pixels.insert(frame.pixels.end(), {GetBValue(c), GetGValue(c), GetRValue(c)});
        }
    }
    char folder[MAX_PATH];
    char path[MAX_PATH];
    if (GetTempPathA(MAX_PATH, folder) == 0 || GetTempFileNameA(folder, "vjp", 0, path) == 0 ||
        FAILED(CoInitialize(nullptr))) {
        return {};
    }
    bool made = false;
    {
        ComPtr<IWICImagingFactory> factory;
        made = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_IWICImagingFactory,
                                          reinterpret_cast<void**>(factory.Put()))) &&
               wictest::EncodeFrames(factory.Get(), path, GUID_ContainerFormatJpeg, {frame});
    }
    CoUninitialize();
    std::string bytes = made ? ReadFileBytes(path) : std::string();
    DeleteFileA(path);
    return bytes;
}

std::string SolidBitmap(int width, int height, BYTE b, BYTE g, BYTE r) {
    const int stride = (width * 3 + 3) & ~3;
    const int size = 54 + stride * height;
    std::string bytes(static_cast<size_t>(size), '\0');
    auto put32 = [&](int offset, int value) {
        for (int i = 0; i < 4; ++i) {
            bytes[static_cast<size_t>(offset + i)] = static_cast<char>(value >> (8 * i));
        }
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, size);
    put32(10, 54);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    bytes[26] = 1;
    bytes[28] = 24;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            size_t p = static_cast<size_t>(54 + y * stride + x * 3);
            bytes[p] = static_cast<char>(b);
            bytes[p + 1] = static_cast<char>(g);
            bytes[p + 2] = static_cast<char>(r);
        }
    }
    return bytes;
}

HWND FindDescendant(HWND parent, const std::function<bool(HWND)>& matches) {
    struct Search {
        const std::function<bool(HWND)>& matches;
        HWND found;
    } search{matches, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            if (s->matches(child)) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindDescendant(HWND parent, int id) {
    return FindDescendant(parent, [id](HWND child) { return GetDlgCtrlID(child) == id; });
}

HWND WaitForWindow(DWORD processId, const std::string& title, DWORD idleMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows(processId, title)) {
                if (IsWindowVisible(window) && WindowText(window) == title) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        idleMs);
    return found;
}

std::string DismissMessageBox(DWORD processId, DWORD idleMs, int button) {
    HWND box = WaitForWindow(processId, "Velumar", idleMs);
    if (box == nullptr) {
        return {};
    }
    // A message box's text is its static control 0xFFFF.
    std::string text = WindowText(GetDlgItem(box, 0xFFFF));
    PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
    WaitUntil([&] { return !IsWindow(box); }, idleMs);
    return text;
}

void SetListRowSelected(DWORD processId, HWND list, int row, bool selected) {
    RemoteBuffer remote(processId, sizeof(LVITEMA));
    if (remote.Address() == nullptr) {
        return;
    }
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    remote.Write(0, &item, sizeof(item));
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(remote.Address()));
}

void DropFiles(DWORD processId, HWND window, POINT clientPoint,
               const std::vector<std::string>& paths) {
    // The names in UTF-16, as the shell drops them.
    std::wstring names;
    for (const std::string& path : paths) {
        names += Widen(path) + L'\0';
    }
    names += L'\0';
    DROPFILES header{};
    header.pFiles = sizeof(header);
    header.pt = clientPoint;
    header.fWide = TRUE;
    std::string block(reinterpret_cast<const char*>(&header), sizeof(header));
    block.append(reinterpret_cast<const char*>(names.data()), names.size() * sizeof(wchar_t));
    // The drop handle is a fixed block in the receiving process; it frees it itself.
    UniqueHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId));
    void* remote = process ? VirtualAllocEx(process.Get(), nullptr, block.size(),
                                            MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)
                           : nullptr;
    if (remote == nullptr ||
        !WriteProcessMemory(process.Get(), remote, block.data(), block.size(), nullptr)) {
        return;
    }
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

void SendDpiChanged(DWORD processId, HWND window, int dpi, const RECT& suggested) {
    RemoteBuffer rect(processId, sizeof(suggested));
    if (rect.Address() == nullptr || !rect.Write(0, &suggested, sizeof(suggested))) {
        return;
    }
    constexpr UINT kDpiChanged = 0x02E0;
    SendMessageW(window, kDpiChanged, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(rect.Address()));
}

namespace {

bool HasChildWithText(HWND window, const std::string& text) {
    return FindDescendant(window, [&](HWND child) { return WindowText(child) == text; }) != nullptr;
}

// Selects a folder in a folder browser of another process (BFFM_SETSELECTIONW with the path
// in that process's memory).
void SelectInBrowser(DWORD processId, HWND browser, const std::string& folder) {
    const std::wstring wide = Widen(folder);
    const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    RemoteBuffer remote(processId, bytes);
    if (remote.Address() != nullptr && remote.Write(0, wide.c_str(), bytes)) {
        SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(remote.Address()));
    }
}

}  // namespace

bool ChooseInFolderBrowser(DWORD processId, HWND browser, const std::string& folder) {
    // Selected again each time a while goes by without it, since the browser may drop a
    // selection as long as it is still filling its tree.
    DWORD selected = GetTickCount();
    return WaitUntil(
        [&] {
            if (HasChildWithText(browser, folder)) {
                return true;
            }
            if (GetTickCount() - selected > 3000) {
                SelectInBrowser(processId, browser, folder);
                selected = GetTickCount();
            }
            return false;
        },
        15000);
}

void SendHelpRequest(HWND window, HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    HELPINFO request{};
    request.cbSize = sizeof(request);
    request.iContextType = HELPINFO_WINDOW;
    request.iCtrlId = GetDlgCtrlID(control);
    request.hItemHandle = control;
    request.MousePos = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    // The system carries the request's structure to the other process.
    SendMessageA(window, WM_HELP, 0, reinterpret_cast<LPARAM>(&request));
}

namespace {

// Real input comes from xdotool on the X display Wine draws on, started as the Unix program it
// is (Wine runs a Unix executable named by its Z: path); screen and X coordinates are the same.
void Xdotool(const std::string& arguments) {
    std::string command = "Z:\\usr\\bin\\xdotool " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &info)) {
        WaitForSingleObject(info.hProcess, Deadline(5000));
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
}

std::string At(POINT point) {
    return std::to_string(point.x) + " " + std::to_string(point.y);
}

}  // namespace

void PressKeys(const std::string& keys) {
    Xdotool("key " + keys);
}

void MouseMove(POINT to) {
    Xdotool("mousemove " + At(to));
}

void MousePressAndMove(POINT from, POINT to) {
    std::string steps = "mousemove " + At(from) + " mousedown 1";
    // Small steps first, so the list sees a drag begin, then on to the target.
    for (int i = 1; i <= 10; ++i) {
        steps += " sleep 0.03 mousemove " +
                 At({from.x + (to.x - from.x) * i / 10, from.y + (to.y - from.y) * i / 10});
    }
    Xdotool(steps);
}

void MouseRelease(POINT at) {
    // A last small move makes sure the target sees the cursor before the release.
    Xdotool("mousemove " + At({at.x + 1, at.y}) + " sleep 0.1 mousemove " + At(at) +
            " sleep 0.1 mouseup 1");
    Sleep(100);
}

void MouseDrag(POINT from, POINT to) {
    MousePressAndMove(from, to);
    Sleep(100);
    MouseRelease(to);
}

void MouseClick(POINT at, int clicks) {
    Xdotool("mousemove " + At(at) + " click --repeat " + std::to_string(clicks) + " 1");
    Sleep(100);
}

POINT CenterOf(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT CenterOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return CenterOf(rect);
}

COLORREF ScreenPixel(POINT at) {
    HDC screen = GetDC(nullptr);
    COLORREF color = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return color;
}

VelumarProcess::~VelumarProcess() {
    if (IsRunning()) {
        TerminateProcess(process.Get(), 99);
        WaitForSingleObject(process.Get(), Deadline(5000));
    }
}

bool VelumarProcess::Start(const std::string& exePath, const std::string& arguments,
                           const std::string& workingFolder) {
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty()) {
        commandLine += " " + arguments;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    // Under load Wine now and then refuses a process start for a moment: try a few times.
    bool started = false;
    for (int attempt = 0; attempt < 5 && !started; ++attempt) {
        started = CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                 nullptr, workingFolder.empty() ? nullptr : workingFolder.c_str(),
                                 &startup, &info) != FALSE;
        if (!started) {
            std::fprintf(stderr, "starting %s failed: error %lu\n", exePath.c_str(),
                         GetLastError());
            Sleep(300);
        }
    }
    if (!started) {
        return false;
    }
    CloseHandle(info.hThread);
    process.Reset(info.hProcess);
    processId = info.dwProcessId;
    window = nullptr;
    return true;
}

HWND VelumarProcess::WaitForMainWindow(DWORD idleMs) {
    WaitUntil(
        [&] {
            std::vector<HWND> windows = TopLevelWindows(processId, kMainTitlePrefix);
            window = windows.empty() ? nullptr : windows.front();
            return window != nullptr || !IsRunning();
        },
        idleMs);
    return window;
}

void VelumarProcess::SendCommand(int id) const {
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void VelumarProcess::PostCommand(int id) const {
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

int VelumarProcess::ListRowCount(int listId) const {
    return static_cast<int>(SendMessageA(Control(listId), LVM_GETITEMCOUNT, 0, 0));
}

std::string VelumarProcess::ListText(int listId, int row, int column) const {
    constexpr size_t kTextSize = 4096;
    RemoteBuffer remote(processId, sizeof(LVITEMW) + kTextSize * sizeof(wchar_t));
    if (remote.Address() == nullptr) {
        return {};
    }
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(remote.Address() + sizeof(LVITEMW));
    item.cchTextMax = kTextSize;
    remote.Write(0, &item, sizeof(item));
    SendMessageW(Control(listId), LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(remote.Address()));
    wchar_t text[kTextSize] = {};
    remote.Read(sizeof(LVITEMW), text, (kTextSize - 1) * sizeof(wchar_t));
    return Narrow(text);
}

RECT VelumarProcess::ListRowRect(int listId, int row) const {
    RECT rect{};
    RemoteBuffer remote(processId, sizeof(RECT));
    if (remote.Address() == nullptr) {
        return rect;
    }
    rect.left = LVIR_BOUNDS;
    remote.Write(0, &rect, sizeof(rect));
    SendMessageA(Control(listId), LVM_GETITEMRECT, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(remote.Address()));
    remote.Read(0, &rect, sizeof(rect));
    MapWindowPoints(Control(listId), nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<int> VelumarProcess::SelectedRows(int listId) const {
    std::vector<int> rows;
    int row = -1;
    while ((row = static_cast<int>(SendMessageA(Control(listId), LVM_GETNEXTITEM,
                                                static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0) {
        rows.push_back(row);
    }
    return rows;
}

void VelumarProcess::SetRowSelected(int listId, int row, bool selected) const {
    SetListRowSelected(processId, Control(listId), row, selected);
}

bool VelumarProcess::Exit(DWORD idleMs) {
    PostCommand(kExitCommand);
    return WaitForExit(idleMs);
}

bool VelumarProcess::WaitForExit(DWORD idleMs) {
    return process && WaitForSingleObject(process.Get(), Deadline(idleMs)) == WAIT_OBJECT_0;
}

bool VelumarProcess::IsRunning() const {
    return process && WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> VelumarProcess::ExitCode() const {
    DWORD code = 0;
    if (IsRunning() || !GetExitCodeProcess(process.Get(), &code)) {
        return std::nullopt;
    }
    return code;
}

long PeakResidentKiB(const std::string& exeName) {
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) {
        return 0;
    }
    long peak = 0;
    do {
        const std::string name = found.cFileName;
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        const std::string proc = "Z:\\proc\\" + name + "\\";
        if (ReadFileBytes(proc + "cmdline").find(exeName) == std::string::npos) {
            continue;
        }
        const std::string status = ReadFileBytes(proc + "status");
        const std::size_t at = status.find("VmHWM:");
        if (at != std::string::npos) {
            peak = std::max(peak, std::strtol(status.c_str() + at + 6, nullptr, 10));
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return peak;
}

}  // namespace e2e
