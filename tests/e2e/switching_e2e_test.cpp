// The desktop wallpaper as the real program sets and removes it: "Switch wallpaper now" in list
// order past a file that is no image, "Set selection as wallpaper" with the tiling value, timed
// switching, and "Remove wallpaper now".
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <set>
#include <thread>

#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"
#include "tests/e2e/velumar_test.h"
#include "tests/win32/wic_test_files.h"

namespace e2e {
namespace {

// The bitmaps rendered ahead that wait beside the wallpaper, each named by its job.
std::vector<std::string> PreparedFiles() {
    std::vector<std::string> files;
    WIN32_FIND_DATAA found{};
    const std::string pattern = WallpaperFile() + ".next*";
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        files.push_back(pattern.substr(0, pattern.rfind('\\') + 1) + found.cFileName);
    }
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
    }
    return files;
}

std::optional<DWORD> NextIndex() {
    std::optional<RegistryValue> value = ReadValue(kSettingsKey, "II");
    return value ? value->AsDword() : std::nullopt;
}

class SwitchingTest : public VelumarTest {
protected:
    void SetUp() override {
        VelumarTest::SetUp();
        DeleteFileA(WallpaperFile().c_str());
        WriteFileBytes(InFolder("red.bmp"), SolidBitmap(40, 30, 0, 0, 255));
        WriteFileBytes(InFolder("junk.txt"), "no image here");
        WriteFileBytes(InFolder("blue.bmp"), SolidBitmap(30, 20, 255, 0, 0));
        list = InFolder("list.vlt");
        WriteFileBytes(list, "\r\n" + InFolder("red.bmp") + " 0 \"\"\r\n" + InFolder("junk.txt") +
                                 " 0 \"\"\r\n" + InFolder("blue.bmp") + " 0 \"\"\r\n");
        WriteText(kSettingsKey, "CF", list);
        WriteDword(kSettingsKey, "SA", 0);
        WriteDword(kSettingsKey, "WH", 1);
    }

    // Starts the program and waits until its window has finished initialising.
    void Launch() {
        ASSERT_TRUE(velumar.Start());
        ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    }
    // A large photograph of one colour, made with WIC's JPEG encoder.
    bool Photo(const std::string& name, BYTE b, BYTE g, BYTE r) {
        if (FAILED(CoInitialize(nullptr))) {
            return false;
        }
        ComPtr<IWICImagingFactory> factory;
        const bool made =
            SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IWICImagingFactory,
                                       reinterpret_cast<void**>(factory.Put()))) &&
            wictest::EncodeFrames(factory.Get(), InFolder(name), GUID_ContainerFormatJpeg,
                                  {wictest::SolidFrame(6000, 4000, b, g, r)});
        factory = {};
        CoUninitialize();
        return made;
    }
    // "Switch wallpaper now", which renders on a worker: done when the next index is stored.
    void SwitchNow() {
        const std::optional<DWORD> before = NextIndex();
        velumar.SendCommand(kSwitchNowCommand);
        EXPECT_TRUE(WaitUntil([&] { return NextIndex() != before; }));
    }

    std::string list;
    VelumarProcess velumar;
};

TEST_F(SwitchingTest, SwitchNowShowsTheListInOrderPassingOverANonImage) {
    // Bitmaps a run cut short left beside the wallpaper file go at the start.
    const char* const kLeftovers[] = {".new", ".next", ".next12"};
    for (const char* suffix : kLeftovers) {
        WriteFileBytes(WallpaperFile() + suffix, "left over");
    }
    ASSERT_NO_FATAL_FAILURE(Launch());
    for (const char* suffix : kLeftovers) {
        EXPECT_EQ(GetFileAttributesA((WallpaperFile() + suffix).c_str()), INVALID_FILE_ATTRIBUTES);
    }

    SwitchNow();
    EXPECT_EQ(WallpaperSize(), std::make_pair(40, 30));
    EXPECT_EQ(DesktopValue("Wallpaper"), WallpaperFile());
    EXPECT_EQ(DesktopValue("TileWallpaper"), "0");
    EXPECT_EQ(ReadValue(kSettingsKey, "II")->AsDword(), 1u);
    EXPECT_EQ(velumar.SelectedRows(kListView), std::vector<int>{0});

    // Another program reads the wallpaper just then, without letting it be replaced: the
    // switch waits for it to let go.
    HANDLE reader = CreateFileA(WallpaperFile().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    std::thread letGo([reader] {
        Sleep(300);
        CloseHandle(reader);
    });
    SwitchNow();
    letGo.join();
    EXPECT_EQ(WallpaperSize(), std::make_pair(30, 20));
    EXPECT_EQ(ReadValue(kSettingsKey, "II")->AsDword(), 0u);
    EXPECT_EQ(velumar.SelectedRows(kListView), std::vector<int>{2});
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(SwitchingTest, AnUnwritableWindowsBitmapFallsBackToLocalAppData) {
    // A folder in the bitmap's place stands for a Windows directory a standard user cannot
    // write into.
    ASSERT_TRUE(CreateDirectoryA(WallpaperFile().c_str(), nullptr));
    char local[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local);
    const std::string fallback = std::string(local) + "\\Quorwick\\Velumar\\Quorwick Velumar.bmp";
    DeleteFileA(fallback.c_str());
    ASSERT_NO_FATAL_FAILURE(Launch());
    SwitchNow();
    RemoveDirectoryA(WallpaperFile().c_str());
    EXPECT_EQ(DesktopValue("Wallpaper"), fallback);
    std::string bytes = ReadFileBytes(fallback);
    ASSERT_GE(bytes.size(), 26u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(GetFileAttributesA((fallback + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(velumar.Exit());
    DeleteFileA(fallback.c_str());
}

TEST_F(SwitchingTest, TheF3KeySwitchesThroughTheAcceleratorTable) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    PostMessageA(velumar.Control(kListView), WM_KEYDOWN, VK_F3, 0);
    EXPECT_TRUE(WaitUntil([] { return WallpaperSize() == std::make_pair(40, 30); }, 5000));
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(SwitchingTest, SetSelectionAsWallpaperWritesTheTilingValueFromTheSetting) {
    WriteDword(kSettingsKey, "TI", 1);
    ASSERT_NO_FATAL_FAILURE(Launch());
    velumar.SetRowSelected(kListView, 2, true);
    velumar.SendCommand(kSetSelectionCommand);
    EXPECT_TRUE(WaitUntil([] { return WallpaperSize() == std::make_pair(30, 20); }));
    EXPECT_EQ(DesktopValue("TileWallpaper"), "1");
    // A direct choice does not move or store the rotation's next index.
    EXPECT_FALSE(ReadValue(kSettingsKey, "II"));
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(SwitchingTest, IntervalModeChangesTheWallpaperByItselfInListOrder) {
    WriteDword(kSettingsKey, "SA", 1);
    WriteText(kSettingsKey, "PE", "0:0:1");
    ASSERT_NO_FATAL_FAILURE(Launch());
    // The start switch shows the first item at once.
    EXPECT_TRUE(WaitUntil([] { return NextIndex() == 1u; }));
    EXPECT_EQ(WallpaperSize(), std::make_pair(40, 30));
    // Then the timer: past the file that is no image to the third item, then round again.
    EXPECT_TRUE(WaitUntil([] { return WallpaperSize() == std::make_pair(30, 20); }, 8000));
    // The index is stored just after the bitmap is written.
    EXPECT_TRUE(WaitUntil([] { return NextIndex() == 0u; }, 2000));
    EXPECT_TRUE(WaitUntil([] { return WallpaperSize() == std::make_pair(40, 30); }, 8000));
    EXPECT_TRUE(WaitUntil([] { return NextIndex() == 1u; }, 2000));
    EXPECT_EQ(velumar.ControlText(kStartStopButton).find("Stop") != std::string::npos, true);
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(SwitchingTest, TimedSwitchesShowTheNextItemPreparedAheadUnlessItsFileChanged) {
    ASSERT_TRUE(Photo("red.jpg", 0, 0, 255) && Photo("blue.jpg", 255, 0, 0));
    WriteFileBytes(
        list, "\r\n" + InFolder("red.jpg") + " 0 \"\"\r\n" + InFolder("blue.jpg") + " 0 \"\"\r\n");
    WriteDword(kSettingsKey, "SA", 1);
    WriteText(kSettingsKey, "PE", "0:0:3");
    ASSERT_NO_FATAL_FAILURE(Launch());
    // The start switch renders red; blue is then prepared beside the wallpaper.
    ASSERT_TRUE(WaitUntil([] { return IsNear(WallpaperColor(), {0, 0, 255}); }, 5000));
    const std::string rendered = ReadFileBytes(WallpaperFile());
    ASSERT_TRUE(WaitUntil([&] { return PreparedFiles().size() == 1u; }, 5000));
    // Blue's file is replaced after it was prepared (in one step, as an editor saves): the
    // switch shows the new content.
    ASSERT_TRUE(Photo("green.jpg", 0, 255, 0));
    ASSERT_TRUE(MoveFileExA(InFolder("green.jpg").c_str(), InFolder("blue.jpg").c_str(),
                            MOVEFILE_REPLACE_EXISTING));
    EXPECT_TRUE(WaitUntil([] { return IsNear(WallpaperColor(), {0, 255, 0}); }, 15000));
    // Red again, from its prepared bitmap: the same bytes as rendered at the start.
    ASSERT_TRUE(WaitUntil([] { return IsNear(WallpaperColor(), {0, 0, 255}); }, 10000));
    EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(WallpaperFile()) == rendered; }, 2000));
    // Exit removes what was prepared and not shown.
    ASSERT_TRUE(velumar.Exit());
    EXPECT_TRUE(PreparedFiles().empty());
}

TEST_F(SwitchingTest, RandomSwitchNowShowsThePreparedBitmapAndTheWindowAnswersWhileARenderRuns) {
    ASSERT_TRUE(Photo("red.jpg", 0, 0, 255) && Photo("blue.jpg", 255, 0, 0));
    WriteFileBytes(
        list, "\r\n" + InFolder("red.jpg") + " 0 \"\"\r\n" + InFolder("blue.jpg") + " 0 \"\"\r\n");
    WriteDword(kSettingsKey, "RA", 1);
    WriteDword(kSettingsKey, "SA", 1);
    WriteText(kSettingsKey, "PE", "1:00:00");
    ASSERT_NO_FATAL_FAILURE(Launch());
    // The start switch decodes a photograph on the worker; the window answers meanwhile, each
    // time at once or in a small part of the render's time (however slow the machine makes both).
    DWORD slowest = 0;
    int answers = 0;
    const DWORD begin = GetTickCount();
    while (!NextIndex() && GetTickCount() - begin < Deadline(20000)) {
        char title[256] = {};
        DWORD_PTR copied = 0;
        const DWORD start = GetTickCount();
        ASSERT_NE(SendMessageTimeoutA(velumar.MainWindow(), WM_GETTEXT, sizeof(title),
                                      reinterpret_cast<LPARAM>(title), SMTO_BLOCK, Deadline(2000),
                                      &copied),
                  0);
        slowest = std::max(slowest, GetTickCount() - start);
        ++answers;
    }
    const DWORD rendered = GetTickCount() - begin;
    std::cout << "slowest WM_GETTEXT " << slowest << " ms of a " << rendered << " ms render\n";
    EXPECT_GT(answers, 1);
    EXPECT_LT(slowest, std::max<DWORD>(50, rendered / 4))
        << "ms for WM_GETTEXT while the start switch rendered";
    // The other photograph is prepared next; "Switch wallpaper now" moves that very file into
    // place instead of drawing again.
    ASSERT_TRUE(WaitUntil([] { return PreparedFiles().size() == 1u; }, 5000));
    const std::uint64_t prepared = FileIndex(PreparedFiles().front());
    const bool wasRed = IsNear(WallpaperColor(), {0, 0, 255});
    SwitchNow();
    EXPECT_EQ(FileIndex(WallpaperFile()), prepared);
    EXPECT_TRUE(IsNear(WallpaperColor(),
                       wasRed ? std::array<int, 3>{255, 0, 0} : std::array<int, 3>{0, 0, 255}));
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(SwitchingTest, HostileBitmapsAndHugeCustomSizesStayUnderTheMemoryBound) {
    // 118 bytes whose header claims 16384 x 16384 pixels.
    std::string hostile = SolidBitmap(8, 8, 0, 0, 0).substr(0, 118);
    for (const std::size_t at : {std::size_t{18}, std::size_t{22}}) {
        hostile.replace(at, 4, std::string("\x00\x40\x00\x00", 4));
    }
    WriteFileBytes(InFolder("junk.txt"), hostile);
    WriteDword(kSettingsKey, "RT", 3);
    WriteDword(kSettingsKey, "WI", 268435456);
    WriteDword(kSettingsKey, "HE", 1);
    WriteDword(kSettingsKey, "RR", 0);
    ASSERT_NO_FATAL_FAILURE(Launch());
    for (int i = 0; i < 3; ++i) {
        SwitchNow();
    }
    // Every item of the list was tried: the hostile one is passed over, the others clamped.
    EXPECT_EQ(WallpaperSize(), std::make_pair(16384, 1));
    const long peak = PeakResidentKiB("Velumar.exe");
    EXPECT_GT(peak, 0);
    EXPECT_LT(peak, 1024 * 1024) << "KiB";
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(SwitchingTest, OnlyAtStartupSwitchesExactlyOnce) {
    WriteDword(kSettingsKey, "WH", 0);
    WriteText(kSettingsKey, "PE", "0:0:0");
    ASSERT_NO_FATAL_FAILURE(Launch());
    EXPECT_TRUE(WaitUntil([] { return NextIndex() == 1u; }));
    EXPECT_EQ(WallpaperSize(), std::make_pair(40, 30));
    Sleep(3000);
    EXPECT_EQ(NextIndex(), 1u);
    EXPECT_EQ(velumar.ControlText(kStartStopButton), "&Start Switching");
    EXPECT_FALSE(velumar.IsControlEnabled(kStartStopButton));
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(SwitchingTest, AHeldPauseMarkerHoldsBackTimedSwitchesUntilReleased) {
    HANDLE marker = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 276,
                                       "7E20B514-4C1D-11d2-8F3A-0040C7A1B2C3");
    ASSERT_NE(marker, nullptr);
    auto* value = static_cast<DWORD*>(MapViewOfFile(marker, FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_NE(value, nullptr);
    *value = 41147;
    WriteDword(kSettingsKey, "SA", 1);
    WriteText(kSettingsKey, "PE", "0:0:0");
    ASSERT_NO_FATAL_FAILURE(Launch());
    EXPECT_TRUE(WaitUntil([] { return NextIndex() == 1u; }));  // the start switch is not held back
    Sleep(3000);
    EXPECT_EQ(NextIndex(), 1u);
    UnmapViewOfFile(value);
    CloseHandle(marker);
    EXPECT_TRUE(WaitUntil([] { return NextIndex() != 1u; }, 5000));
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(SwitchingTest, PauseHoldsTimedSwitchesUntilItEnds) {
    WriteDword(kSettingsKey, "SA", 1);
    WriteText(kSettingsKey, "PE", "0:0:1");
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_TRUE(WaitUntil([] { return NextIndex() == 1u; }));
    // Paused, as from the menu: the title says so and nothing changes by itself.
    velumar.PostCommand(kPauseSwitchingCommand);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(velumar.MainWindow()).ends_with(" (paused)"); }));
    Sleep(2500);
    EXPECT_EQ(NextIndex(), 1u);
    // Resumed: the switch that fell due happens at once.
    velumar.SendCommand(kPauseSwitchingCommand);
    EXPECT_FALSE(WindowText(velumar.MainWindow()).ends_with(" (paused)"));
    EXPECT_TRUE(WaitUntil([] { return NextIndex() == 0u; }, 1500));
    ASSERT_TRUE(velumar.Exit());
}

// A window of this test program's own in front of the others, kept answering while waiting.
class FrontWindow {
public:
    // Maximised, it takes the whole monitor with its borders outside, as on a monitor without a
    // taskbar.
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_GETMINMAXINFO) {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            // The invisible borders of Windows 10 at 96 DPI.
            const int border = 8;
            info->ptMaxPosition = {-border, -border};
            info->ptMaxSize = {GetSystemMetrics(SM_CXSCREEN) + 2 * border,
                               GetSystemMetrics(SM_CYSCREEN) + 2 * border};
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    FrontWindow(DWORD style, int showCommand) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.lpszClassName = "VelumarTestFront";
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, windowClass.lpszClassName, "front", style, 0, 0,
                                 GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                 nullptr, nullptr, nullptr, nullptr);
        ShowWindow(window, showCommand);
        SetForegroundWindow(window);
    }
    ~FrontWindow() { DestroyWindow(window); }

    // Waits for the condition while the window answers its messages.
    template <typename Condition>
    bool WaitUntil(Condition condition, DWORD timeoutMs) const {
        return e2e::WaitUntil(
            [&] {
                MSG message;
                while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                    DispatchMessageA(&message);
                }
                return condition();
            },
            timeoutMs);
    }

    HWND window = nullptr;
};

TEST_F(SwitchingTest,
       AMaximizedWindowDoesNotHoldTimedSwitchesAndABorderlessOneCoveringItsMonitorDoes) {
    WriteDword(kSettingsKey, "SA", 1);
    WriteText(kSettingsKey, "PE", "0:0:1");
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_TRUE(WaitUntil([] { return WallpaperSize() == std::make_pair(40, 30); }));
    const auto shown = [](std::pair<int, int> size) {
        return [size] { return WallpaperSize() == size; };
    };

    {
        // An ordinary window, maximised: its rectangle holds the whole monitor, its caption says
        // it is no full-screen program.
        const FrontWindow maximized(WS_OVERLAPPEDWINDOW, SW_MAXIMIZE);
        RECT rect{};
        GetWindowRect(maximized.window, &rect);
        ASSERT_TRUE(rect.left <= 0 && rect.top <= 0 &&
                    rect.right >= GetSystemMetrics(SM_CXSCREEN) &&
                    rect.bottom >= GetSystemMetrics(SM_CYSCREEN));
        ASSERT_EQ(GetForegroundWindow(), maximized.window);
        EXPECT_TRUE(maximized.WaitUntil(shown({30, 20}), 20000));
        EXPECT_TRUE(maximized.WaitUntil(shown({40, 30}), 20000));
    }
    std::pair<int, int> held;
    {
        // A borderless window exactly on the monitor: nothing changes until it closes.
        const FrontWindow cover(WS_POPUP | WS_VISIBLE, SW_SHOW);
        ASSERT_EQ(GetForegroundWindow(), cover.window);
        // A switch already under way when it came to the front ends first.
        cover.WaitUntil([] { return false; }, 1500);
        held = WallpaperSize();
        EXPECT_FALSE(cover.WaitUntil([&] { return WallpaperSize() != held; }, 3000));
    }
    EXPECT_TRUE(WaitUntil([&] { return WallpaperSize() != held; }, 20000));
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(SwitchingTest, NoRepeatsShowsEveryItemOncePerDeckAndTheDeckOutlivesARestart) {
    char local[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local);
    const std::string deckFile = std::string(local) + "\\Quorwick\\Velumar\\deck.txt";
    DeleteFileA(deckFile.c_str());
    // Five bitmaps told apart by their widths, which the wallpaper bitmap keeps.
    std::string text = "\r\n";
    for (int i = 0; i < 5; ++i) {
        const std::string name = InFolder(std::string("w").append(std::to_string(i)) + ".bmp");
        WriteFileBytes(name, SolidBitmap(20 + i, 10, 0, 128, 255));
        text += name + " 0 \"\"\r\n";
    }
    WriteFileBytes(list, text);
    WriteDword(kSettingsKey, "RA", 1);
    WriteDword(kSettingsKey, "NR", 1);
    // Ten switches sent from a fresh start, the program ended and started again after seven:
    // the picture waiting at the start is the first card, and the deck goes on after the restart.
    std::vector<int> shown;
    for (const int switches : {7, 3}) {
        ASSERT_NO_FATAL_FAILURE(Launch());
        for (int i = 0; i < switches; ++i) {
            SwitchNow();
            shown.push_back(WallpaperSize().first - 20);
        }
        ASSERT_TRUE(velumar.Exit());
    }
    EXPECT_EQ(shown.front(), 0);
    const std::vector<int> deck = {0, 1, 2, 3, 4};
    EXPECT_TRUE(std::is_permutation(shown.begin(), shown.begin() + 5, deck.begin()));
    EXPECT_TRUE(std::is_permutation(shown.begin() + 5, shown.end(), deck.begin()));
    DeleteFileA(deckFile.c_str());
}

TEST_F(SwitchingTest, ABitmapThatCannotBeSetKeepsThePositionSaysWhyAndIsShownLater) {
    char local[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local);
    const std::string fallback = std::string(local) + "\\Quorwick\\Velumar\\Quorwick Velumar.bmp";
    UseListOf({"red.bmp", "blue.bmp"});
    WriteDword(kSettingsKey, "SA", 1);
    WriteText(kSettingsKey, "PE", "0:0:2");
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_TRUE(WaitUntil([] { return NextIndex() == 1u; }));
    // A folder in every place the bitmap can go, across a due switch.
    DeleteFileA(WallpaperFile().c_str());
    DeleteFileA(fallback.c_str());
    ASSERT_TRUE(CreateDirectoryA(WallpaperFile().c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(fallback.c_str(), nullptr));
    EXPECT_TRUE(WaitUntil(
        [&] {
            return WindowText(velumar.MainWindow()).find(" (could not set the wallpaper: ") !=
                   std::string::npos;
        },
        20000));
    EXPECT_EQ(NextIndex(), 1u);
    RemoveDirectoryA(WallpaperFile().c_str());
    RemoveDirectoryA(fallback.c_str());
    // The same item, at the next due switch; the title says no more.
    EXPECT_TRUE(WaitUntil([] { return NextIndex() == 0u; }, 20000));
    EXPECT_EQ(WallpaperSize(), std::make_pair(30, 20));
    EXPECT_EQ(WindowText(velumar.MainWindow()).find("could not set"), std::string::npos);
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(SwitchingTest, PreviousWallpaperGoesBackAndSwitchNowForwardAgainAcrossARestart) {
    WriteFileBytes(InFolder("green.bmp"), SolidBitmap(50, 40, 0, 255, 0));
    WriteFileBytes(list, ReadFileBytes(list) + InFolder("green.bmp") + " 0 \"\"\r\n");
    const std::array<int, 3> red{0, 0, 255}, blue{255, 0, 0}, green{0, 255, 0};
    const auto shows = [](std::array<int, 3> color) {
        return WaitUntil([=] { return IsNear(WallpaperColor(), color); });
    };
    ASSERT_NO_FATAL_FAILURE(Launch());
    SwitchNow();
    SwitchNow();
    SwitchNow();
    ASSERT_TRUE(shows(green));
    // Back twice, posted and sent: fresh renders of the earlier files; then forward again.
    velumar.PostCommand(kPreviousWallpaperCommand);
    EXPECT_TRUE(shows(blue));
    velumar.SendCommand(kPreviousWallpaperCommand);
    EXPECT_TRUE(shows(red));
    velumar.SendCommand(kSwitchNowCommand);
    EXPECT_TRUE(shows(blue));
    // Exit once the history file marks blue (its line after red's) as on the desktop.
    char local[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local);
    const std::string history = std::string(local) + "\\Quorwick\\Velumar\\history.txt";
    EXPECT_TRUE(WaitUntil([&] {
        const std::string text = ReadFileBytes(history);
        return text.find('*') > text.find("red.bmp");
    }));
    ASSERT_TRUE(velumar.Exit());

    // The history and the place in it survive a restart; past the newest entry the list goes on
    // where it was (red, then position 1), as if nobody had gone back.
    ASSERT_NO_FATAL_FAILURE(Launch());
    velumar.SendCommand(kSwitchNowCommand);
    EXPECT_TRUE(shows(green));
    SwitchNow();
    EXPECT_TRUE(shows(red));
    EXPECT_EQ(NextIndex(), 1u);
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(SwitchingTest, TheStopButtonCyclesItsDotsWhileRunning) {
    WriteDword(kSettingsKey, "SA", 1);
    WriteText(kSettingsKey, "PE", "1:00:00");
    ASSERT_NO_FATAL_FAILURE(Launch());
    std::set<std::string> seen;
    WaitUntil(
        [&] {
            seen.insert(velumar.ControlText(kStartStopButton));
            return seen.size() >= 4;
        },
        8000);
    EXPECT_EQ(seen, (std::set<std::string>{"&Stop", ".&Stop.", "..&Stop..", "...&Stop..."}));
    // A click stops switching.
    SendMessageA(velumar.Control(kStartStopButton), BM_CLICK, 0, 0);
    EXPECT_EQ(velumar.ControlText(kStartStopButton), "&Start Switching");
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(SwitchingTest, SwitchesNeitherMoveThePointerNorSendMovesToTheWindowUnderIt) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    // A window of this process, clear of Velumar's, with the pointer resting on it.
    WNDCLASSW kind{};
    kind.lpfnWndProc = DefWindowProcW;
    kind.hInstance = GetModuleHandleW(nullptr);
    kind.lpszClassName = L"PointerWatch";
    RegisterClassW(&kind);
    HWND watch = CreateWindowExW(WS_EX_TOPMOST, L"PointerWatch", L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                 60, 60, nullptr, nullptr, kind.hInstance, nullptr);
    ASSERT_NE(watch, nullptr);
    const auto moves = [watch] {
        int count = 0;
        MSG message{};
        while (PeekMessageW(&message, watch, 0, 0, PM_REMOVE)) {
            count += message.message == WM_MOUSEMOVE ? 1 : 0;
            DispatchMessageW(&message);
        }
        return count;
    };
    MouseMove({30, 30});
    EXPECT_TRUE(WaitUntil([&] { return moves() > 0; }));
    POINT before{};
    GetCursorPos(&before);
    int seen = 0;
    for (int i = 0; i < 20; ++i) {
        SwitchNow();
        seen += moves();
    }
    POINT after{};
    GetCursorPos(&after);
    EXPECT_EQ(seen, 0);
    EXPECT_EQ(before.x, 30);
    EXPECT_EQ(before.y, 30);
    EXPECT_TRUE(after.x == before.x && after.y == before.y) << after.x << "," << after.y;
    DestroyWindow(watch);
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(SwitchingTest, TheSizeFilterPassesOverSmallPicturesAndSaysWhenItLeavesOutEveryOne) {
    // Half the 1024 x 768 desktop is 512 x 384: a 320 x 240 picture is below it in both sides.
    WriteDword(kSettingsKey, "MZ", 50);
    for (const char* name : {"mixed", "small"}) {
        ASSERT_TRUE(CreateDirectoryA(InFolder(name).c_str(), nullptr));
    }
    WriteFileBytes(InFolder("mixed\\large.bmp"), SolidBitmap(640, 480, 0, 0, 255));
    WriteFileBytes(InFolder("mixed\\small.bmp"), SolidBitmap(320, 240, 255, 0, 0));
    WriteFileBytes(InFolder("small\\a.bmp"), SolidBitmap(320, 240, 255, 0, 0));
    WriteFileBytes(InFolder("small\\b.bmp"), SolidBitmap(300, 200, 0, 255, 0));
    const std::string filtered = " (every picture is left out by the filters)";
    UseListOf({"mixed"});
    ASSERT_NO_FATAL_FAILURE(Launch());
    for (int i = 0; i < 4; ++i) {
        // Each switch publishes a new bitmap file, whatever the position it leaves.
        const std::uint64_t before = FileIndex(WallpaperFile());
        velumar.SendCommand(kSwitchNowCommand);
        ASSERT_TRUE(WaitUntil([&] { return FileIndex(WallpaperFile()) != before; })) << i;
        EXPECT_EQ(WallpaperSize(), std::make_pair(640, 480)) << i;
    }
    EXPECT_EQ(WindowText(velumar.MainWindow()).find(filtered), std::string::npos);
    ASSERT_TRUE(velumar.Exit());

    UseListOf({"small"});
    ASSERT_NO_FATAL_FAILURE(Launch());
    velumar.SendCommand(kSwitchNowCommand);
    EXPECT_TRUE(WaitUntil(
        [&] { return WindowText(velumar.MainWindow()).find(filtered) != std::string::npos; }));
    EXPECT_EQ(WallpaperSize(), std::make_pair(640, 480));
    ASSERT_TRUE(velumar.Exit());
}

using WallpaperTest = VelumarTest;

TEST_F(WallpaperTest, RemoveWallpaperNowEmptiesTheDesktopAndKeepsTheFile) {
    // A tiny valid bitmap in place of an earlier switch's wallpaper.
    const std::string bmp(
        "BM\x3a\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0\0\0\0\0\x04\0"
        "\0\0"
        "\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xff\x80\x00\x00",
        58);
    WriteFileBytes(WallpaperFile(), bmp);
    ASSERT_TRUE(SystemParametersInfoA(
        SPI_SETDESKWALLPAPER, 0, const_cast<char*>(WallpaperFile().c_str()), SPIF_UPDATEINIFILE));
    ASSERT_FALSE(DesktopValue("Wallpaper").empty());

    VelumarProcess velumar;
    ASSERT_TRUE(velumar.Start());
    ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    for (int i = 0; i < 2; ++i) {
        velumar.SendCommand(kRemoveWallpaperCommand);
        EXPECT_EQ(DesktopValue("Wallpaper"), "");
        EXPECT_EQ(ReadFileBytes(WallpaperFile()), bmp);
    }
    ASSERT_TRUE(velumar.Exit());
}

}  // namespace
}  // namespace e2e
