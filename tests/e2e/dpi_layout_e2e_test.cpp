// Every window of the program laid out at the display's DPI: the main window at its default and
// its minimum size, the properties sheet's pages and the small dialogs have each visible control
// inside the client area, no two controls overlapping, and each text fitting its control.
// tests/e2e/dpi_e2e.sh runs this at 96, 120, 144 and 192 DPI, each in a Wine prefix of its own.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/win32/dpi.h"
#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"
#include "tests/e2e/velumar_test.h"

namespace e2e {
namespace {

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

bool IsButton(HWND control, std::initializer_list<LONG> kinds) {
    wchar_t type[16] = {};
    GetClassNameW(control, type, 16);
    const LONG kind = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    return std::wstring(type) == L"Button" &&
           std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

// How much more room than it has the text of a static, push button, check box or radio button
// needs in the control's font, broken into lines as the control breaks them (0 when it fits).
SIZE TextOverflow(HWND control) {
    wchar_t type[16] = {};
    GetClassNameW(control, type, 16);
    std::wstring text(4096, L'\0');
    text.resize(static_cast<size_t>(
        SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const int dpi = WindowDpi(control);
    RECT box{};
    GetClientRect(control, &box);
    UINT format = DT_WORDBREAK;
    if (std::wstring(type) == L"Static") {
        const LONG kind = style & SS_TYPEMASK;
        if (kind != SS_LEFT && kind != SS_CENTER && kind != SS_RIGHT) {
            return {};
        }
        format |= (style & SS_NOPREFIX) != 0 ? DT_NOPREFIX : 0;
    } else if (IsButton(control, {BS_PUSHBUTTON, BS_DEFPUSHBUTTON})) {
        box.right -= 2 * MulDiv(2, dpi, 96);  // the button's edges
    } else if (IsButton(control,
                        {BS_CHECKBOX, BS_AUTOCHECKBOX, BS_RADIOBUTTON, BS_AUTORADIOBUTTON})) {
        box.right -= SystemMetricForDpi(SM_CXMENUCHECK, dpi);
    } else {
        return {};
    }
    if (type == std::wstring(L"Button") && (style & BS_MULTILINE) == 0) {
        format = DT_SINGLELINE;
    }
    // Wine answers WM_GETFONT from another process with nothing: then the font every template of
    // the program names, at the control's DPI.
    LOGFONTW font{};
    font.lfHeight = -MulDiv(8, dpi, 72);
    font.lfCharSet = DEFAULT_CHARSET;
    wcscpy(font.lfFaceName, L"MS Shell Dlg 2");
    auto own = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (own != nullptr) {
        GetObjectW(own, sizeof(font), &font);
    }
    HFONT measured = CreateFontIndirectW(&font);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, measured);
    RECT needed{0, 0, box.right, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed, format | DT_CALCRECT);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(measured);
    return {std::max(0L, needed.right - box.right), std::max(0L, needed.bottom - box.bottom)};
}

// Checks the visible controls directly inside the window.
void ExpectLaidOut(HWND window, const std::string& name) {
    SCOPED_TRACE(name);
    ASSERT_NE(window, nullptr);
    RECT client{};
    GetClientRect(window, &client);
    std::vector<HWND> controls;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child)) {
            controls.push_back(child);
        }
    }
    EXPECT_GT(controls.size(), 1u);
    for (size_t i = 0; i < controls.size(); ++i) {
        const RECT r = RectIn(window, controls[i]);
        RECT inside{};
        IntersectRect(&inside, &r, &client);
        EXPECT_TRUE(EqualRect(&inside, &r)) << Describe(controls[i]) << " at " << r.left << ","
                                            << r.top << "," << r.right << "," << r.bottom;
        // Group boxes stand around their controls on purpose.
        for (size_t j = i + 1; j < controls.size(); ++j) {
            const RECT other = RectIn(window, controls[j]);
            RECT overlap{};
            EXPECT_TRUE(IsButton(controls[i], {BS_GROUPBOX}) ||
                        IsButton(controls[j], {BS_GROUPBOX}) ||
                        !IntersectRect(&overlap, &r, &other))
                << Describe(controls[i]) << " overlaps " << Describe(controls[j]);
        }
        const SIZE overflow = TextOverflow(controls[i]);
        EXPECT_TRUE(overflow.cx == 0 && overflow.cy == 0)
            << Describe(controls[i]) << " needs " << overflow.cx << " x " << overflow.cy << " more";
    }
}

class DpiLayoutTest : public VelumarTest {};

}  // namespace

TEST_F(DpiLayoutTest, EveryWindowFitsItsControlsAtTheDisplaysDpi) {
    const char* wanted = std::getenv("VELUMAR_TEST_DPI");
    if (wanted == nullptr) {
        GTEST_SKIP() << "tests/e2e/dpi_e2e.sh runs this at each DPI";
    }
    // The driver sees the same pixels as the program.
    SetProcessDPIAware();
    const int dpi = SystemDpi();
    ASSERT_EQ(dpi, std::atoi(wanted));

    // The welcome dialog comes first; "specific times" enables the time list's Add button.
    WriteDword(kSettingsKey, "SW", 1);
    WriteDword(kSettingsKey, "WH", 2);
    VelumarProcess velumar;
    ASSERT_TRUE(velumar.Start());
    ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    const auto check = [&](const char* title, int closeWith) {
        HWND dialog = WaitForWindow(velumar.ProcessId(), title);
        ExpectLaidOut(dialog, title);
        PostMessageA(GetDlgItem(dialog, closeWith), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    };
    check("Welcome to Velumar", IDOK);

    // At its first start the window has the default size at the DPI, centred, within the work
    // area.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = std::min<int>(MulDiv(620, dpi, 96), work.right - work.left);
    const int height = std::min<int>(MulDiv(450, dpi, 96), work.bottom - work.top);
    const int left = work.left + (work.right - work.left - width) / 2;
    const int top = work.top + (work.bottom - work.top - height) / 2;
    const RECT expected{left, top, left + width, top + height};
    RECT frame{};
    GetWindowRect(velumar.MainWindow(), &frame);
    EXPECT_TRUE(EqualRect(&frame, &expected))
        << frame.left << "," << frame.top << "," << frame.right << "," << frame.bottom;
    ExpectLaidOut(velumar.MainWindow(), "main window");

    // Shrunk as far as it goes, the window keeps every control inside and apart.
    MoveWindow(velumar.MainWindow(), frame.left, frame.top, 1, 1, TRUE);
    ExpectLaidOut(velumar.MainWindow(), "main window at its minimum size");

    velumar.PostCommand(kPropertiesCommand);
    HWND sheet = WaitForWindow(velumar.ProcessId(), "Velumar Properties");
    ASSERT_NE(sheet, nullptr);
    for (int i = 5; i >= 0; --i) {
        SendMessageW(sheet, PSM_SETCURSEL, i, 0);
        auto page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        ExpectLaidOut(page, WindowText(page));
        RECT sheetClient{};
        GetClientRect(sheet, &sheetClient);
        const RECT r = RectIn(sheet, page);
        EXPECT_TRUE(r.right <= sheetClient.right && r.bottom <= sheetClient.bottom);
    }
    PostMessageA(FindDescendant(sheet, 1040), BM_CLICK, 0, 0);  // the General page's "Add..."
    check("Enter Time of Day", IDCANCEL);
    PostMessageA(FindDescendant(sheet, 1126), BM_CLICK, 0, 0);  // "Hidden pictures..."
    check("Hidden pictures", IDCANCEL);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));

    velumar.PostCommand(kAboutCommand);
    check("About Velumar", IDOK);
    ASSERT_TRUE(velumar.Exit());

    // The rectangle is stored with the DPI it was recorded at; one recorded at 96 DPI opens
    // with its size scaled to this DPI, its corner kept as far as the work area allows.
    EXPECT_EQ(ReadValue(kSettingsKey, "PDI")->AsDword(), static_cast<DWORD>(dpi));
    StoreWindowRect({20, 10, 580, 410});
    WriteDword(kSettingsKey, "PDI", 96);
    VelumarProcess again;
    ASSERT_TRUE(again.Start());
    ASSERT_NE(again.WaitForMainWindow(), nullptr);
    const int scaledWidth = std::min<int>(MulDiv(560, dpi, 96), work.right - work.left);
    const int scaledHeight = std::min<int>(MulDiv(400, dpi, 96), work.bottom - work.top);
    const int scaledLeft = std::min<int>(20, work.right - scaledWidth);
    const int scaledTop = std::min<int>(10, work.bottom - scaledHeight);
    const RECT scaled{scaledLeft, scaledTop, scaledLeft + scaledWidth, scaledTop + scaledHeight};
    GetWindowRect(again.MainWindow(), &frame);
    EXPECT_TRUE(EqualRect(&frame, &scaled))
        << frame.left << "," << frame.top << "," << frame.right << "," << frame.bottom;
    ASSERT_TRUE(again.Exit());
}

}  // namespace e2e
