// Every window of the program laid out at the display's DPI: the main window at its default size,
// the properties sheet's pages and the small dialogs have each visible control inside the client
// area, no two controls overlapping, and each text fitting its control. tests/e2e/dpi_e2e.sh runs
// this at 96, 120, 144 and 192 DPI, each in a Wine prefix of its own.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "base/win32/dpi.h"
#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"
#include "tests/e2e/velumar_test.h"

namespace e2e {
namespace {

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window) {
    std::wstring text(4096, L'\0');
    const LRESULT length =
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

// A control's rectangle in its parent's client coordinates.
RECT RectIn(HWND parent, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Describe(HWND control) {
    return std::to_string(GetDlgCtrlID(control)) + " \"" + WindowText(control) + "\"";
}

bool IsGroupBox(HWND control) {
    return ClassOf(control) == L"Button" &&
           (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// The text a static, push button, check box or radio button draws, and the width and height it
// has for it; nothing for other controls.
struct TextBox {
    std::wstring text;
    int width = 0;
    int height = 0;
    UINT format = 0;
};

std::optional<TextBox> TextBoxOf(HWND control) {
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    RECT client{};
    GetClientRect(control, &client);
    TextBox box{TextOf(control), client.right, client.bottom, DT_WORDBREAK};
    if (box.text.empty()) {
        return std::nullopt;
    }
    const std::wstring type = ClassOf(control);
    if (type == L"Static") {
        const LONG kind = style & SS_TYPEMASK;
        if (kind != SS_LEFT && kind != SS_CENTER && kind != SS_RIGHT) {
            return std::nullopt;
        }
        box.format |= (style & SS_NOPREFIX) != 0 ? DT_NOPREFIX : 0;
        return box;
    }
    if (type != L"Button") {
        return std::nullopt;
    }
    if ((style & BS_MULTILINE) == 0) {
        box.format = DT_SINGLELINE;
    }
    switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
            // The button's edges, two pixels at 96 DPI on each side.
            box.width -= 2 * MulDiv(2, WindowDpi(control), 96);
            return box;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            box.width -= SystemMetricForDpi(SM_CXMENUCHECK, WindowDpi(control));
            return box;
        default:
            return std::nullopt;
    }
}

// The size the text takes in the control's own font, broken into lines as the control breaks it.
SIZE MeasureText(HWND control, const TextBox& box) {
    LOGFONTW description{};
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (font == nullptr || GetObjectW(font, sizeof(description), &description) == 0) {
        // Wine answers WM_GETFONT from another process with nothing: the font every template
        // of the program names, at the control's DPI.
        description.lfHeight = -MulDiv(8, WindowDpi(control), 72);
        description.lfWeight = FW_NORMAL;
        description.lfCharSet = DEFAULT_CHARSET;
        wcscpy(description.lfFaceName, L"MS Shell Dlg 2");
    }
    HFONT own = CreateFontIndirectW(&description);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, own);
    RECT bounds{0, 0, box.width, 0};
    DrawTextW(dc, box.text.c_str(), static_cast<int>(box.text.size()), &bounds,
              box.format | DT_CALCRECT);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(own);
    return {bounds.right, bounds.bottom};
}

// Checks the visible controls directly inside the window.
void ExpectLaidOut(HWND window, const std::string& name) {
    SCOPED_TRACE(name);
    ASSERT_NE(window, nullptr);
    RECT client{};
    GetClientRect(window, &client);
    std::vector<HWND> controls;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child)) {
            controls.push_back(child);
        }
    }
    EXPECT_GT(controls.size(), 1u);
    for (size_t i = 0; i < controls.size(); ++i) {
        const RECT r = RectIn(window, controls[i]);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right &&
                    r.bottom <= client.bottom)
            << Describe(controls[i]) << " at " << r.left << "," << r.top << "," << r.right << ","
            << r.bottom << " outside " << client.right << " x " << client.bottom;
        // Group boxes stand around their controls on purpose.
        for (size_t j = i + 1; j < controls.size(); ++j) {
            if (IsGroupBox(controls[i]) || IsGroupBox(controls[j])) {
                continue;
            }
            RECT other = RectIn(window, controls[j]);
            RECT overlap{};
            EXPECT_FALSE(IntersectRect(&overlap, &r, &other))
                << Describe(controls[i]) << " overlaps " << Describe(controls[j]);
        }
        if (const std::optional<TextBox> box = TextBoxOf(controls[i])) {
            const SIZE needed = MeasureText(controls[i], *box);
            EXPECT_TRUE(needed.cx <= box->width && needed.cy <= box->height)
                << Describe(controls[i]) << " needs " << needed.cx << " x " << needed.cy << ", has "
                << box->width << " x " << box->height;
        }
    }
}

// The driver sees the same pixels as the program.
int MakeDpiAware() {
    using SetContext = BOOL WINAPI(HANDLE);
    auto* set = reinterpret_cast<SetContext*>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
    if (set == nullptr || !set(reinterpret_cast<HANDLE>(-4))) {  // per-monitor v2
        SetProcessDPIAware();
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

class DpiLayoutTest : public VelumarTest {};

}  // namespace

TEST_F(DpiLayoutTest, EveryWindowFitsItsControlsAtTheDisplaysDpi) {
    const char* wanted = std::getenv("VELUMAR_TEST_DPI");
    if (wanted == nullptr) {
        GTEST_SKIP() << "tests/e2e/dpi_e2e.sh runs this at each DPI";
    }
    const int dpi = MakeDpiAware();
    ASSERT_EQ(dpi, std::atoi(wanted));

    // The welcome dialog comes first; "specific times" enables the time list's Add button.
    WriteDword(kSettingsKey, "SW", 1);
    WriteDword(kSettingsKey, "WH", 2);
    VelumarProcess velumar;
    ASSERT_TRUE(velumar.Start());
    ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    HWND welcome = WaitForWindow(velumar.ProcessId(), "Welcome to Velumar");
    ExpectLaidOut(welcome, "welcome");
    PostMessageA(GetDlgItem(welcome, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(welcome); }));

    // At its first start the window has the default size at the DPI, centred, within the work
    // area.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = std::min<int>(MulDiv(620, dpi, 96), work.right - work.left);
    const int height = std::min<int>(MulDiv(450, dpi, 96), work.bottom - work.top);
    RECT frame{};
    GetWindowRect(velumar.MainWindow(), &frame);
    EXPECT_EQ(frame.right - frame.left, width);
    EXPECT_EQ(frame.bottom - frame.top, height);
    EXPECT_EQ(frame.left, work.left + (work.right - work.left - width) / 2);
    EXPECT_EQ(frame.top, work.top + (work.bottom - work.top - height) / 2);
    ExpectLaidOut(velumar.MainWindow(), "main window");

    velumar.PostCommand(kPropertiesCommand);
    HWND sheet = WaitForWindow(velumar.ProcessId(), "Velumar Properties");
    ASSERT_NE(sheet, nullptr);
    const char* pages[] = {"General", "Masking", "Resizing", "Keys"};
    for (int i = 0; i < 4; ++i) {
        SendMessageW(sheet, PSM_SETCURSEL, i, 0);
        auto page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        ASSERT_EQ(WindowText(page), pages[i]);
        ExpectLaidOut(page, pages[i]);
        RECT sheetClient{};
        GetClientRect(sheet, &sheetClient);
        const RECT r = RectIn(sheet, page);
        EXPECT_TRUE(r.right <= sheetClient.right && r.bottom <= sheetClient.bottom) << pages[i];
    }
    SendMessageW(sheet, PSM_SETCURSEL, 0, 0);
    PostMessageA(FindDescendant(sheet, 1040), BM_CLICK, 0, 0);  // "Add..." of the time list
    HWND time = WaitForWindow(velumar.ProcessId(), "Enter Time of Day");
    ExpectLaidOut(time, "time of day");
    PostMessageA(GetDlgItem(time, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(time); }));
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));

    velumar.PostCommand(kAboutCommand);
    HWND about = WaitForWindow(velumar.ProcessId(), "About Velumar");
    ExpectLaidOut(about, "About");
    PostMessageA(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
    ASSERT_TRUE(velumar.Exit());
}

}  // namespace e2e
