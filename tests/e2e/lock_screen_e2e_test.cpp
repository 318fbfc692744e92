// The lock screen as the real program sets it, through the test double registered as the two
// Windows Runtime classes (tests/e2e/tools/lock_screen_double.cpp): every picture shown goes to
// the lock screen under a new name, and a refusal never holds the wallpaper back.
#include <windows.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include "base/win32/com_ptr.h"
#include "base/win32/wide_text.h"
#include "tests/e2e/lock_screen_double.h"
#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"
#include "tests/e2e/velumar_test.h"

namespace e2e {
namespace {

struct Picture {
    UINT width = 0;
    UINT height = 0;
    COLORREF centre = CLR_INVALID;
};

// The size and middle pixel of an image file, through WIC.
Picture ReadPicture(const std::string& path) {
    Picture picture;
    const ScopedComInit com;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Put()))) ||
        FAILED(factory.Get()->CreateDecoderFromFilename(Widen(path).c_str(), nullptr, GENERIC_READ,
                                                        WICDecodeMetadataCacheOnDemand,
                                                        decoder.Put())) ||
        FAILED(decoder.Get()->GetFrame(0, frame.Put())) ||
        FAILED(factory.Get()->CreateFormatConverter(converter.Put())) ||
        FAILED(converter.Get()->Initialize(frame.Get(), GUID_WICPixelFormat24bppBGR,
                                           WICBitmapDitherTypeNone, nullptr, 0,
                                           WICBitmapPaletteTypeCustom)) ||
        FAILED(converter.Get()->GetSize(&picture.width, &picture.height))) {
        return {};
    }
    BYTE pixel[3] = {};
    const WICRect middle{static_cast<INT>(picture.width / 2), static_cast<INT>(picture.height / 2),
                         1, 1};
    if (SUCCEEDED(converter.Get()->CopyPixels(&middle, 3, 3, pixel))) {
        picture.centre = RGB(pixel[2], pixel[1], pixel[0]);
    }
    return picture;
}

class LockScreenTest : public VelumarTest {
protected:
    void SetUp() override {
        VelumarTest::SetUp();
        StartWithoutWallpaper();
        WriteDword(kSettingsKey, "LS", 1);
        records = InFolder("lock");
        CreateDirectoryA(records.c_str(), nullptr);
        UseLockScreenRecordFolder(records);
        SetLockScreenDoubleFailing(false);
    }
    void TearDown() override {
        UnregisterLockScreenDouble();
        VelumarTest::TearDown();
    }

    // Switches and waits for the wallpaper of that colour.
    bool SwitchTo(COLORREF color) {
        velumar.SendCommand(kSwitchNowCommand);
        return WaitUntil([&] {
            const auto c = WallpaperColor();
            return IsNear({c[0], c[1], c[2]},
                          {GetBValue(color), GetGValue(color), GetRValue(color)});
        });
    }

    std::string records;
    VelumarProcess velumar;
};

TEST_F(LockScreenTest, EveryPictureShownGoesToTheLockScreenUnderANewNameAndARefusalIsTold) {
    RegisterLockScreenDouble();
    const COLORREF colors[] = {RGB(200, 0, 0), RGB(0, 160, 0), RGB(0, 0, 200)};
    WriteFileBytes(InFolder("red.bmp"), SolidBitmap(64, 48, 0, 0, 200));
    WriteFileBytes(InFolder("green.bmp"), SolidBitmap(64, 48, 0, 160, 0));
    WriteFileBytes(InFolder("blue.bmp"), SolidBitmap(64, 48, 200, 0, 0));
    UseListOf({"red.bmp", "green.bmp", "blue.bmp"});
    ASSERT_TRUE(velumar.Start());
    ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    for (std::size_t i = 0; i < 3; ++i) {
        ASSERT_TRUE(SwitchTo(colors[i])) << i;
        ASSERT_TRUE(WaitUntil([&] { return LockScreenCalls(records).size() == i + 1; })) << i;
    }
    // Three names, each new; each picture the primary monitor's size, in its picture's colour.
    const std::vector<std::string> calls = LockScreenCalls(records);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NE(calls[i].find("\\lock-"), std::string::npos) << calls[i];
        for (std::size_t j = 0; j < i; ++j) {
            EXPECT_NE(calls[i], calls[j]);
        }
        const Picture picture = ReadPicture(records + "\\" + std::to_string(i + 1) + ".jpg");
        EXPECT_EQ(picture.width, 1024u) << i;
        EXPECT_EQ(picture.height, 768u) << i;
        EXPECT_TRUE(IsNear(picture.centre, colors[i])) << i;
    }
    // Only the newest picture is kept beside the program's files.
    EXPECT_TRUE(WaitUntil([&] {
        return GetFileAttributesA(calls[1].c_str()) == INVALID_FILE_ATTRIBUTES &&
               GetFileAttributesA(calls[2].c_str()) != INVALID_FILE_ATTRIBUTES;
    }));

    // Refused: the wallpaper goes on switching, and the refused picture is not kept.
    SetLockScreenDoubleFailing(true);
    EXPECT_TRUE(SwitchTo(colors[0]));
    EXPECT_TRUE(SwitchTo(colors[1]));
    ASSERT_TRUE(WaitUntil([&] { return LockScreenCalls(records).size() == 5; }));
    const std::string refused = LockScreenCalls(records)[4];
    ASSERT_EQ(refused.rfind("refused ", 0), 0u) << refused;
    EXPECT_TRUE(WaitUntil(
        [&] { return GetFileAttributesA(refused.substr(8).c_str()) == INVALID_FILE_ATTRIBUTES; }));
    EXPECT_NE(GetFileAttributesA(calls[2].c_str()), INVALID_FILE_ATTRIBUTES);
    // The General page offers the option and tells the refusal.
    PostMessageA(velumar.Control(kListView), WM_KEYDOWN, VK_F6, 0);
    const HWND sheet = WaitForWindow(velumar.ProcessId(), "Velumar Properties");
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(IsWindowEnabled(FindDescendant(sheet, 1097)));
    // In the system's words ("Access is denied." on Windows, "Access denied." under Wine).
    const std::string note = WindowText(FindDescendant(sheet, 1098));
    EXPECT_EQ(note.rfind("The lock screen could not be set: Access", 0), 0u) << note;
    EXPECT_NE(note.find("denied."), std::string::npos) << note;
    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(velumar.Exit());
}

}  // namespace
}  // namespace e2e
