// A bare Win32 dialog with one button, built from a template in memory: the baseline the idle
// memory benchmark compares the program with. Closes itself after SECONDS (default 10).
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <vector>

namespace {

INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetTimer(window, 1, static_cast<UINT>(lParam) * 1000, nullptr);
        return TRUE;
    }
    if (message == WM_TIMER || message == WM_CLOSE) {
        EndDialog(window, 0);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    const int seconds = std::atoi(commandLine) > 0 ? std::atoi(commandLine) : 10;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // The template: the dialog (no menu, default class, a title), then one push button.
    std::vector<WORD> t(64, 0);
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(t.data());
    dialog->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME;
    dialog->cdit = 1;
    dialog->cx = 200;
    dialog->cy = 100;
    WORD* p = t.data() + sizeof(DLGTEMPLATE) / sizeof(WORD);
    *p++ = 0;    // no menu
    *p++ = 0;    // default class
    *p++ = 'B';  // title "B"
    *p++ = 0;
    p += (p - t.data()) % 2;  // items start on a DWORD boundary
    auto* item = reinterpret_cast<DLGITEMTEMPLATE*>(p);
    item->style = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
    item->x = 10;
    item->y = 10;
    item->cx = 50;
    item->cy = 14;
    item->id = IDOK;
    p += sizeof(DLGITEMTEMPLATE) / sizeof(WORD);
    *p++ = 0xFFFF;
    *p++ = 0x0080;  // button class
    *p++ = 'O';
    *p++ = 'K';
    *p++ = 0;
    *p++ = 0;  // no creation data
    return static_cast<int>(DialogBoxIndirectParamA(instance, dialog, nullptr, DialogProc,
                                                    static_cast<LPARAM>(seconds)));
}
