// Every dialog of the program walked as a keyboard and screen-reader user meets it: Tab reaches
// each control in reading order, every input control has its label just before it, the
// mnemonics of a dialog are unique, a greyed "Start Switching" says why in its tip, and the
// thumbnail pane is named after the selected file.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

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

LONG StyleOf(HWND window) {
    return GetWindowLongW(window, GWL_STYLE);
}

bool IsGroupBox(HWND control) {
    return ClassOf(control) == L"Button" && (StyleOf(control) & BS_TYPEMASK) == BS_GROUPBOX;
}

bool IsRadio(HWND control) {
    const LONG kind = StyleOf(control) & BS_TYPEMASK;
    return ClassOf(control) == L"Button" && (kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON);
}

// Controls a screen reader names from the static text just before them.
bool TakesLabel(HWND control) {
    static const std::set<std::wstring> kinds = {
        L"Edit",          L"ComboBox",        L"ListBox",
        L"SysListView32", L"msctls_hotkey32", L"msctls_trackbar32"};
    return kinds.contains(ClassOf(control));
}

bool IsInteractive(HWND control) {
    return TakesLabel(control) || (ClassOf(control) == L"Button" && !IsGroupBox(control));
}

// The letter after a single '&' (lower case), or 0.
char Mnemonic(const std::string& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '&') {
            if (text[i + 1] != '&') {
                return static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 1])));
            }
            ++i;
        }
    }
    return 0;
}

std::string Describe(HWND control) {
    return std::to_string(GetDlgCtrlID(control)) + " \"" + WindowText(control) + "\"";
}

std::vector<HWND> Children(HWND dialog) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

RECT RectIn(HWND dialog, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The visible buttons and labels directly inside a window that have a mnemonic, with it.
std::vector<std::pair<char, HWND>> Mnemonics(HWND window) {
    std::vector<std::pair<char, HWND>> found;
    for (HWND child : Children(window)) {
        const bool isStatic = ClassOf(child) == L"Static";
        if (!IsWindowVisible(child) || (isStatic && (StyleOf(child) & SS_NOPREFIX) != 0) ||
            (!isStatic && ClassOf(child) != L"Button")) {
            continue;
        }
        if (char letter = Mnemonic(WindowText(child))) {
            found.emplace_back(letter, child);
        }
    }
    return found;
}

std::map<char, std::string> MnemonicsOf(HWND window) {
    std::map<char, std::string> letters;
    for (const auto& [letter, child] : Mnemonics(window)) {
        letters[letter] = Describe(child);
    }
    return letters;
}

// Walks a dialog with Tab from its first control. Every visible, enabled control is reached (a
// radio button through the one of its group that Tab stops at), each stop lies below or to the
// right of the one before it, each input control has a static label right before it, every
// button and visible label has a mnemonic, and no mnemonic is used twice, also not by the
// letters already taken around the dialog (a menu bar, a sheet's buttons).
void ExpectKeyboardReady(HWND dialog, const std::string& name,
                         std::map<char, std::string> taken = {}) {
    SCOPED_TRACE(name);
    ASSERT_NE(dialog, nullptr);
    std::vector<HWND> stops;
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    for (HWND at = first; at != nullptr && stops.size() < 100;) {
        stops.push_back(at);
        at = GetNextDlgTabItem(dialog, at, FALSE);
        if (at == first) {
            break;
        }
    }
    const std::set<HWND> reached(stops.begin(), stops.end());

    // Radio buttons share their group's stop.
    std::map<HWND, int> groupOf;
    int group = 0;
    for (HWND child : Children(dialog)) {
        if ((StyleOf(child) & WS_GROUP) != 0) {
            ++group;
        }
        groupOf[child] = group;
    }
    std::set<int> groupsReached;
    for (HWND stop : stops) {
        if (IsRadio(stop)) {
            groupsReached.insert(groupOf[stop]);
        }
    }

    std::set<HWND> labels;
    for (HWND child : Children(dialog)) {
        if (!IsWindowVisible(child) || !IsInteractive(child)) {
            continue;
        }
        if (IsWindowEnabled(child)) {
            EXPECT_TRUE(reached.contains(child) ||
                        (IsRadio(child) && groupsReached.contains(groupOf[child])))
                << Describe(child) << " is not reached by Tab";
        }
        if (TakesLabel(child)) {
            HWND label = GetWindow(child, GW_HWNDPREV);
            const bool named =
                label != nullptr && ClassOf(label) == L"Static" && !WindowText(label).empty();
            EXPECT_TRUE(named) << Describe(child) << " has no label before it";
            if (named && IsWindowVisible(label)) {
                labels.insert(label);
            }
        }
    }

    for (size_t i = 1; i < stops.size(); ++i) {
        const RECT before = RectIn(dialog, stops[i - 1]);
        const RECT r = RectIn(dialog, stops[i]);
        EXPECT_TRUE(r.top >= before.top || r.left >= before.right)
            << Describe(stops[i]) << " comes after " << Describe(stops[i - 1]);
    }

    for (HWND child : Children(dialog)) {
        if (!IsWindowVisible(child)) {
            continue;
        }
        const int id = GetDlgCtrlID(child);
        const bool keyed = (IsInteractive(child) && !TakesLabel(child) && id != IDOK &&
                            id != IDCANCEL && id != IDHELP) ||
                           labels.contains(child);
        const char letter = Mnemonic(WindowText(child));
        EXPECT_TRUE(!keyed || letter != 0) << Describe(child) << " has no mnemonic";
    }
    for (const auto& [letter, child] : Mnemonics(dialog)) {
        const auto [at, isNew] = taken.emplace(letter, Describe(child));
        EXPECT_TRUE(isNew) << Describe(child) << " and " << at->second << " share '" << letter
                           << "'";
    }
}

// The letters of a window's menu bar.
std::map<char, std::string> MenuBarMnemonics(HWND window) {
    std::map<char, std::string> letters;
    HMENU bar = GetMenu(window);
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        char text[64] = {};
        GetMenuStringA(bar, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
        if (char letter = Mnemonic(text)) {
            letters[letter] = std::string("menu \"") + text + "\"";
        }
    }
    return letters;
}

// The text of a visible tip of the process, once one shows.
std::string ShownTip(DWORD processId) {
    struct Search {
        DWORD processId;
        std::string text;
    } search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s.processId && IsWindowVisible(window) &&
                ClassOf(window) == L"tooltips_class32") {
                s.text = WindowText(window);
            }
            return s.text.empty();
        },
        reinterpret_cast<LPARAM>(&search));
    return search.text;
}

class KeyboardTest : public VelumarTest {};

}  // namespace

TEST_F(KeyboardTest, EveryDialogWalksByKeyboardWithLabelsAndUniqueMnemonics) {
    // The welcome dialog first; switching only at start-up, the default.
    WriteFileBytes(InFolder("a.bmp"), SolidBitmap(32, 24, 0, 128, 255));
    UseListOf({"a.bmp"});
    WriteDword(kSettingsKey, "SW", 1);
    VelumarProcess velumar;
    ASSERT_TRUE(velumar.Start());
    HWND window = velumar.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    const auto walkAndClose = [&](const char* title, int closeWith) {
        HWND dialog = WaitForWindow(velumar.ProcessId(), title);
        ExpectKeyboardReady(dialog, title);
        PostMessageA(GetDlgItem(dialog, closeWith), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    };
    walkAndClose("Welcome to Velumar", IDOK);
    ExpectKeyboardReady(window, "main window", MenuBarMnemonics(window));

    // The rows are named by their file name; the pane after the selected one.
    EXPECT_EQ(velumar.ListText(kListView, 0, 0), "a.bmp");
    velumar.SetRowSelected(kListView, 0, true);
    EXPECT_TRUE(WaitUntil(
        [&] { return WindowText(velumar.Control(kPreviewFrame)) == "Preview of a.bmp"; }));

    // The greyed Start Switching says why when the pointer rests on it.
    ASSERT_FALSE(velumar.IsControlEnabled(kStartStopButton));
    MouseMove(CenterOf(velumar.Control(kStartStopButton)));
    EXPECT_TRUE(WaitUntil([&] {
        return ShownTip(velumar.ProcessId()) ==
               "Switching happens only at start-up: choose an interval in Properties (F6)";
    }));
    MouseMove({0, 0});

    velumar.PostCommand(kPropertiesCommand);
    HWND sheet = WaitForWindow(velumar.ProcessId(), "Velumar Properties");
    ASSERT_NE(sheet, nullptr);
    const std::map<char, std::string> sheetLetters = MnemonicsOf(sheet);
    const int pages = static_cast<int>(
        SendMessageW(reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0)),
                     TCM_GETITEMCOUNT, 0, 0));
    EXPECT_GE(pages, 6);
    for (int i = 0; i < pages; ++i) {
        SendMessageW(sheet, PSM_SETCURSEL, i, 0);
        auto page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        ExpectKeyboardReady(page, WindowText(page), sheetLetters);
    }
    // "At specific times" enables the time list's "Add...".
    SendMessageW(sheet, PSM_SETCURSEL, 0, 0);
    SendMessageA(FindDescendant(sheet, 1039), BM_CLICK, 0, 0);
    PostMessageA(FindDescendant(sheet, 1040), BM_CLICK, 0, 0);
    walkAndClose("Enter Time of Day", IDCANCEL);
    PostMessageA(FindDescendant(sheet, 1126), BM_CLICK, 0, 0);
    walkAndClose("Hidden pictures", IDCANCEL);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));

    velumar.PostCommand(kAboutCommand);
    walkAndClose("About Velumar", IDOK);

    // The open dialog's preview panel, among the dialog's own mnemonics.
    velumar.PostCommand(kAddFilesButton);
    HWND open = WaitForWindow(velumar.ProcessId(), "Select File(s)");
    ASSERT_NE(open, nullptr);
    HWND panel = GetParent(FindDescendant(open, 1048));
    ExpectKeyboardReady(panel, "preview panel", MnemonicsOf(open));
    PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(open); }));
    ASSERT_TRUE(velumar.Exit());
}

}  // namespace e2e
