// The Keys page of the properties sheet: the global keys, whether another program holds one and
// whether one is chosen for two commands.
#include "ui/win32/keys_page.h"

namespace {

struct KeyControl {
    GlobalKey key;
    int control;
    int report;
    std::uint32_t KeysPageValues::*value;
};

constexpr KeyControl kKeyControls[] = {
    {GlobalKey::Next, IDC_NEXT_KEY, IDC_NEXT_KEY_TAKEN, &KeysPageValues::next},
    {GlobalKey::Previous, IDC_PREVIOUS_KEY, IDC_PREVIOUS_KEY_TAKEN, &KeysPageValues::previous},
    {GlobalKey::Pause, IDC_PAUSE_KEY, IDC_PAUSE_KEY_TAKEN, &KeysPageValues::pause},
    {GlobalKey::Hide, IDC_HIDE_KEY, IDC_HIDE_KEY_TAKEN, &KeysPageValues::hide},
    {GlobalKey::Favourite, IDC_FAVOURITE_KEY, IDC_FAVOURITE_KEY_TAKEN, &KeysPageValues::favourite},
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

KeysPageValues CKeysPage::Chosen() const {
    KeysPageValues chosen;
    for (const KeyControl& key : kKeyControls) {
        chosen.*key.value = KeyOf(key.control);
    }
    return chosen;
}

void CKeysPage::ShowReports() const {
    const KeysPageValues chosen = Chosen();
    for (const KeyControl& key : kKeyControls) {
        std::string line = SameKeyLine(chosen, key.key);
        if (line.empty() && keys.HeldElsewhere(hwnd, chosen.*key.value)) {
            line = kTakenText;
        }
        SetItemText(key.report, line);
    }
}

bool CKeysPage::OnCommand(int id, int code, HWND) {
    for (const KeyControl& key : kKeyControls) {
        if (id == key.control) {
            if (code == EN_CHANGE) {
                // A key chosen here can make another box's key a duplicate, or no longer one.
                ShowReports();
            }
            return true;
        }
    }
    return false;
}

bool CKeysPage::OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == PSN_SETACTIVE) {
        // Another program may have taken or left a key since the page was last shown.
        ShowReports();
        result = 0;
        return true;
    }
    return false;
}

std::optional<FieldError> CKeysPage::ReadBack() {
    const KeysPageValues chosen = Chosen();
    if (std::optional<FieldError> error = CheckKeysPage(chosen)) {
        return error;
    }
    values = chosen;
    return std::nullopt;
}
