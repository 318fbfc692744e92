// Texts the main window shows that follow from its state.
#pragma once

#include <string>
#include <string_view>

inline constexpr std::string_view kMainWindowTitlePrefix = "Velumar by Quorwick - ";

// The window title for the current list name.
inline std::string MainWindowTitle(std::string_view listName) {
    return std::string(kMainWindowTitlePrefix) + std::string(listName);
}
