// Texts the main window shows that follow from its state.
#pragma once

#include <string>
#include <string_view>

inline constexpr std::string_view kMainWindowTitlePrefix = "Velumar by Quorwick - ";

// What the title and the tray tip add while switching is paused.
inline constexpr std::string_view kPausedSuffix = " (paused)";

// The window title for the current list name.
inline std::string MainWindowTitle(std::string_view listName, bool paused = false) {
    return std::string(kMainWindowTitlePrefix) + std::string(listName) +
           std::string(paused ? kPausedSuffix : std::string_view());
}
