// The pop-up help texts of the controls, shown when the user asks "What's this?" about one.
#pragma once

#include <optional>
#include <string_view>

// The pop-up help number of a control is 0x10000 plus its id.
inline constexpr unsigned kControlHelpBase = 0x10000;

// The pop-up text of a help context number, or nothing when the number has none.
std::optional<std::string_view> PopupHelpText(unsigned contextNumber);
