// The Keys page of the properties sheet: the global keys and whether another program holds one.
#include "ui/win32/keys_page.h"

namespace {

struct KeyControl {
    int control;
    int report;
    std::uint32_t KeysPageValues::*value;
};

constexpr KeyControl kKeyControls[] = {
    {IDC_NEXT_KEY, IDC_NEXT_KEY_TAKEN, &KeysPageValues::next},
    {IDC_PREVIOUS_KEY, IDC_PREVIOUS_KEY_TAKEN, &KeysPageValues::previous},
    {IDC_PAUSE_KEY, IDC_PAUSE_KEY_TAKEN, &KeysPageValues::pause},
};

constexpr const char* kTakenText = "This key is used by another program.";

}  // namespace

void CKeysPage::OnInit() {
    for (const KeyControl& key : kKeyControls) {
        // A key alone or with Shift only would be lost to typing everywhere: Ctrl+Alt is added.
        SendMessageW(Item(key.control), HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                     MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
        SendMessageW(Item(key.control), HKM_SETHOTKEY, values.*key.value & 0xFFFF, 0);
    }
    AddContextHelpToSheet();
}

std::uint32_t CKeysPage::KeyOf(int control) const {
    return LOWORD(SendMessageW(Item(control), HKM_GETHOTKEY, 0, 0));
}

void CKeysPage::ShowTaken(int control, int report) const {
    SetItemText(report, keys.HeldElsewhere(hwnd, KeyOf(control)) ? kTakenText : "");
}

bool CKeysPage::OnCommand(int id, int code, HWND) {
    for (const KeyControl& key : kKeyControls) {
        if (id == key.control) {
            if (code == EN_CHANGE) {
                ShowTaken(key.control, key.report);
            }
            return true;
        }
    }
    return false;
}

bool CKeysPage::OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == PSN_SETACTIVE) {
        // Another program may have taken or left a key since the page was last shown.
        for (const KeyControl& key : kKeyControls) {
            ShowTaken(key.control, key.report);
        }
        result = 0;
        return true;
    }
    return false;
}

std::optional<FieldError> CKeysPage::ReadBack() {
    for (const KeyControl& key : kKeyControls) {
        values.*key.value = KeyOf(key.control);
    }
    return std::nullopt;
}
