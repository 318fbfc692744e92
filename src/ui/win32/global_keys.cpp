// The global keys on the main window: RegisterHotKey while Velumar runs.
#include "ui/win32/global_keys.h"

namespace {

// An id no key of the main window uses, for a moment's test registration.
constexpr int kProbeId = 0x0100;

std::uint32_t ChosenKey(const AppSettings& settings, GlobalKey key) {
    switch (key) {
        case GlobalKey::Next:
            return settings.nextKey;
        case GlobalKey::Previous:
            return settings.previousKey;
        case GlobalKey::Pause:
            return settings.pauseKey;
        case GlobalKey::Hide:
            return settings.hideKey;
        case GlobalKey::Favourite:
            return settings.favouriteKey;
    }
    return 0;
}

// The value without the flags RegisterHotKey ignores, so equal keys compare equal.
std::uint32_t Normalised(std::uint32_t value) {
    const std::optional<HotkeyChord> chord = ChordFromHotkeyValue(value);
    return chord ? HotkeyValueFromChord(*chord) : 0;
}

}  // namespace

void CGlobalKeys::Register(HWND target, const AppSettings& settings) {
    Unregister();
    window = target;
    for (GlobalKey key : kGlobalKeys) {
        const int id = static_cast<int>(key);
        const std::uint32_t value = ChosenKey(settings, key);
        const std::optional<HotkeyChord> chord = ChordFromHotkeyValue(value);
        if (chord && RegisterHotKey(window, id, RegistrationModifiers(*chord), chord->virtualKey)) {
            held[id - 1] = Normalised(value);
        }
    }
}

void CGlobalKeys::Unregister() {
    for (GlobalKey key : kGlobalKeys) {
        const int id = static_cast<int>(key);
        if (held[id - 1] != 0) {
            UnregisterHotKey(window, id);
            held[id - 1] = 0;
        }
    }
    window = nullptr;
}

bool CGlobalKeys::HeldElsewhere(HWND probe, std::uint32_t value) const {
    const std::optional<HotkeyChord> chord = ChordFromHotkeyValue(value);
    if (!chord) {
        return false;
    }
    for (std::uint32_t own : held) {
        if (own == HotkeyValueFromChord(*chord)) {
            return false;
        }
    }
    if (RegisterHotKey(probe, kProbeId, RegistrationModifiers(*chord), chord->virtualKey)) {
        UnregisterHotKey(probe, kProbeId);
        return false;
    }
    return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED;
}
