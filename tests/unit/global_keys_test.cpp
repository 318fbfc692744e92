// The global keys: a hotkey control's value to RegisterHotKey's chord and back, and the
// command each key sends.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "ui/global_keys.h"

namespace {

using namespace register_modifiers;

TEST(GlobalKeys, ControlValuesBecomeChordsAndComeBack) {
    const struct {
        std::uint32_t value;
        std::optional<HotkeyChord> chord;
        std::uint32_t back;  // the value the chord gives back
    } cases[] = {
        {0x0000, std::nullopt, 0},
        {0x0600, std::nullopt, 0},  // modifiers without a key
        {0x0078, HotkeyChord{0, 0x78}, 0x0078},
        {0x014E, HotkeyChord{kShift, 'N'}, 0x014E},
        {0x024E, HotkeyChord{kControl, 'N'}, 0x024E},
        {0x044E, HotkeyChord{kAlt, 'N'}, 0x044E},
        {0x064E, HotkeyChord{kControl | kAlt, 'N'}, 0x064E},
        {0x0725, HotkeyChord{kShift | kControl | kAlt, 0x25}, 0x0725},
        // The extended-key flag is no modifier: the same chord, given back without it.
        {0x0E25, HotkeyChord{kControl | kAlt, 0x25}, 0x0625},
        // Bits above the control's word and unknown flags are ignored.
        {0x1234F04E, HotkeyChord{0, 'N'}, 0x004E},
    };
    for (const auto& c : cases) {
        const std::optional<HotkeyChord> chord = ChordFromHotkeyValue(c.value);
        EXPECT_EQ(chord, c.chord) << std::hex << c.value;
        if (chord) {
            EXPECT_EQ(HotkeyValueFromChord(*chord), c.back) << std::hex << c.value;
        }
    }
}

TEST(GlobalKeys, EachKeySendsItsCommand) {
    EXPECT_EQ(CommandOfGlobalKey(static_cast<int>(GlobalKey::Next)), 32778);
    EXPECT_EQ(CommandOfGlobalKey(static_cast<int>(GlobalKey::Previous)), 32790);
    EXPECT_EQ(CommandOfGlobalKey(static_cast<int>(GlobalKey::Pause)), 32791);
    EXPECT_EQ(CommandOfGlobalKey(0), std::nullopt);
    EXPECT_EQ(CommandOfGlobalKey(0x0100), std::nullopt);
}

}  // namespace
