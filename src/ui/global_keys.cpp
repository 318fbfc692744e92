// The global keys: hotkey control values to RegisterHotKey's chords, and the keys' commands.
#include "ui/global_keys.h"

#include "ui/win32/res/resource.h"

namespace {

constexpr unsigned kKeyMask = 0xFF;

struct ModifierPair {
    unsigned flag;      // in the control's high byte
    unsigned modifier;  // for RegisterHotKey
};

constexpr ModifierPair kModifierPairs[] = {
    {hotkey_flags::kShift, register_modifiers::kShift},
    {hotkey_flags::kControl, register_modifiers::kControl},
    {hotkey_flags::kAlt, register_modifiers::kAlt},
};

}  // namespace

std::optional<HotkeyChord> ChordFromHotkeyValue(std::uint32_t value) {
    const unsigned key = value & kKeyMask;
    if (key == 0) {
        return std::nullopt;
    }
    const unsigned flags = (value >> 8) & kKeyMask;
    HotkeyChord chord{0, key};
    for (const ModifierPair& pair : kModifierPairs) {
        if ((flags & pair.flag) != 0) {
            chord.modifiers |= pair.modifier;
        }
    }
    return chord;
}

std::uint32_t HotkeyValueFromChord(const HotkeyChord& chord) {
    unsigned flags = 0;
    for (const ModifierPair& pair : kModifierPairs) {
        if ((chord.modifiers & pair.modifier) != 0) {
            flags |= pair.flag;
        }
    }
    return (flags << 8) | (chord.virtualKey & kKeyMask);
}

unsigned RegistrationModifiers(const HotkeyChord& chord) {
    return chord.modifiers | register_modifiers::kNoRepeat;
}

std::optional<int> CommandOfGlobalKey(int id) {
    switch (static_cast<GlobalKey>(id)) {
        case GlobalKey::Next:
            return ID_SWITCH_NOW;
        case GlobalKey::Previous:
            return ID_PREVIOUS_WALLPAPER;
        case GlobalKey::Pause:
            return ID_PAUSE_SWITCHING;
        case GlobalKey::Hide:
            return ID_NEVER_SHOW;
        case GlobalKey::Favourite:
            return ID_FAVOURITE;
    }
    return std::nullopt;
}
