// The global keys: what a hotkey control's value means to RegisterHotKey, and which command
// each key sends to the main window.
#pragma once

#include <cstdint>
#include <optional>

// The hotkey control's modifier flags (the value's high byte) and RegisterHotKey's modifiers,
// with the numbers Windows gives them.
namespace hotkey_flags {
inline constexpr unsigned kShift = 0x01;
inline constexpr unsigned kControl = 0x02;
inline constexpr unsigned kAlt = 0x04;
inline constexpr unsigned kExtended = 0x08;  // the key is on the extended keypad; no modifier
}  // namespace hotkey_flags

namespace register_modifiers {
inline constexpr unsigned kAlt = 0x0001;
inline constexpr unsigned kControl = 0x0002;
inline constexpr unsigned kShift = 0x0004;
inline constexpr unsigned kNoRepeat = 0x4000;  // a key held down sends its command once
}  // namespace register_modifiers

struct HotkeyChord {
    unsigned modifiers = 0;  // register_modifiers
    unsigned virtualKey = 0;

    bool operator==(const HotkeyChord&) const = default;
};

// The chord a control value stands for; none for 0 or a value without a key.
std::optional<HotkeyChord> ChordFromHotkeyValue(std::uint32_t value);
// The control value of a chord, as the control would hold it (without the extended flag).
std::uint32_t HotkeyValueFromChord(const HotkeyChord& chord);
// The modifiers RegisterHotKey gets for a chord: its own, and no repeats while it is held.
unsigned RegistrationModifiers(const HotkeyChord& chord);

// The keys: their registration ids on the main window, in this order.
enum class GlobalKey { Next = 1, Previous = 2, Pause = 3, Hide = 4, Favourite = 5 };
inline constexpr GlobalKey kGlobalKeys[] = {GlobalKey::Next, GlobalKey::Previous, GlobalKey::Pause,
                                            GlobalKey::Hide, GlobalKey::Favourite};

// The main-window command a key sends: "Switch wallpaper now", "Previous wallpaper", "Pause
// switching", "Never show this picture" and "Favourite". None for an id that is not one of the
// keys.
std::optional<int> CommandOfGlobalKey(int id);
