// The global keys: a hotkey control's value to RegisterHotKey's chord and back, the modifiers it
// is registered with, the Keys page's refusal of a key chosen twice, and the command each key
// sends.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "ui/global_keys.h"
#include "ui/properties_rules.h"

namespace {

using namespace register_modifiers;

TEST(GlobalKeys, ControlValuesBecomeChordsAndComeBackAndRegisterWithoutRepeats) {
    const struct {
        std::uint32_t value;
        std::optional<HotkeyChord> chord;
        std::uint32_t back;   // the value the chord gives back
        unsigned registered;  // RegisterHotKey's modifiers, no repeats while held among them
    } cases[] = {
        {0x0000, std::nullopt, 0, 0},
        {0x0600, std::nullopt, 0, 0},  // modifiers without a key
        {0x0078, HotkeyChord{0, 0x78}, 0x0078, 0x4000},
        {0x014E, HotkeyChord{kShift, 'N'}, 0x014E, 0x4004},
        {0x024E, HotkeyChord{kControl, 'N'}, 0x024E, 0x4002},
        {0x044E, HotkeyChord{kAlt, 'N'}, 0x044E, 0x4001},
        {0x064E, HotkeyChord{kControl | kAlt, 'N'}, 0x064E, 0x4003},
        {0x0725, HotkeyChord{kShift | kControl | kAlt, 0x25}, 0x0725, 0x4007},
        // The extended-key flag is no modifier: the same chord, given back without it.
        {0x0E25, HotkeyChord{kControl | kAlt, 0x25}, 0x0625, 0x4003},
        // Bits above the control's word and unknown flags are ignored.
        {0x1234F04E, HotkeyChord{0, 'N'}, 0x004E, 0x4000},
    };
    for (const auto& c : cases) {
        const std::optional<HotkeyChord> chord = ChordFromHotkeyValue(c.value);
        EXPECT_EQ(chord, c.chord) << std::hex << c.value;
        if (chord) {
            EXPECT_EQ(HotkeyValueFromChord(*chord), c.back) << std::hex << c.value;
            EXPECT_EQ(RegistrationModifiers(*chord), c.registered) << std::hex << c.value;
        }
    }
}

TEST(GlobalKeys, AKeyChosenForTwoCommandsIsRefusedAtTheLaterBoxNamingTheOther) {
    constexpr std::uint32_t kN = 0x064E, kP = 0x0650;
    const char* const next = "Also chosen for \"Next wallpaper\".";
    const char* const previous = "Also chosen for \"Previous wallpaper\".";
    const char* const pause = "Also chosen for \"Pause or resume switching\".";
    const char* const hide = "Also chosen for \"Never show this picture\".";
    const char* const favourite = "Also chosen for \"Favourite\".";
    const struct {
        KeysPageValues values;  // next, previous, pause, hide, favourite
        int refused;            // the box refused; 0 for none
        const char* named;      // the command the refusal names
        std::string lines[5];   // the lines under the boxes
    } cases[] = {
        {{kN, kP, 0x0651}, 0, "", {"", "", ""}},
        {{0, 0, 0}, 0, "", {"", "", ""}},  // no key is no duplicate
        {{0x0600, 0, 0x0600}, 0, "", {"", "", ""}},
        {{kN, kN, 0}, 1112, "Next wallpaper", {previous, next, ""}},
        {{kN, 0, kN}, 1113, "Next wallpaper", {pause, "", next}},
        {{0, kP, kP}, 1113, "Previous wallpaper", {"", pause, previous}},
        {{kN, kN, kN}, 1112, "Next wallpaper", {previous, next, next}},
        // The extended-key flag and bits above the control's word make no other key.
        {{0x0E25, 0, 0x10625}, 1113, "Next wallpaper", {pause, "", next}},
        // Another modifier is another key.
        {{kN, 0x074E, 0x024E}, 0, "", {"", "", ""}},
        // The picture keys take part like the others.
        {{kN, 0, 0, kP, kN}, 1122, "Next wallpaper", {favourite, "", "", "", next}},
        {{0, 0, 0, kP, kP}, 1122, "Never show this picture", {"", "", "", favourite, hide}},
    };
    for (const auto& c : cases) {
        const std::optional<FieldError> error = CheckKeysPage(c.values);
        EXPECT_EQ(error ? error->controlId : 0, c.refused) << c.values.next << c.values.pause;
        if (error) {
            EXPECT_EQ(error->message, std::string("This key is already chosen for \"") + c.named +
                                          "\". Please choose another one.");
        }
        for (const GlobalKey key : kGlobalKeys) {
            EXPECT_EQ(SameKeyLine(c.values, key), c.lines[static_cast<int>(key) - 1])
                << c.values.next << " " << static_cast<int>(key);
        }
    }
}

TEST(GlobalKeys, EachKeySendsItsCommand) {
    EXPECT_EQ(CommandOfGlobalKey(static_cast<int>(GlobalKey::Next)), 32778);
    EXPECT_EQ(CommandOfGlobalKey(static_cast<int>(GlobalKey::Previous)), 32790);
    EXPECT_EQ(CommandOfGlobalKey(static_cast<int>(GlobalKey::Pause)), 32791);
    EXPECT_EQ(CommandOfGlobalKey(static_cast<int>(GlobalKey::Hide)), 32792);
    EXPECT_EQ(CommandOfGlobalKey(static_cast<int>(GlobalKey::Favourite)), 32793);
    EXPECT_EQ(CommandOfGlobalKey(0), std::nullopt);
    EXPECT_EQ(CommandOfGlobalKey(0x0100), std::nullopt);
}

}  // namespace
