// Texts the main window shows that follow from its state.
#pragma once

#include <string>
#include <string_view>

inline constexpr std::string_view kMainWindowTitlePrefix = "Velumar by Quorwick - ";

// What the title and the tray tip add while switching is paused.
inline constexpr std::string_view kPausedSuffix = " (paused)";

// What the title and the tray tip add while the last show's bitmap could not be saved or set,
// with the system's reason; nothing when it was set.
inline std::string NotSetSuffix(std::string_view why) {
    return why.empty() ? std::string() : " (could not set the wallpaper: " + std::string(why) + ")";
}

// What the title and the tray tip add while the filters leave out every picture of the list.
inline std::string FilteredSuffix(bool allFilteredOut) {
    return allFilteredOut ? " (every picture is left out by the filters)" : std::string();
}

// What the tray tip adds while the lock-screen picture could not be set, with the reason.
inline std::string LockScreenSuffix(std::string_view why) {
    return why.empty() ? std::string() : " (lock screen not set: " + std::string(why) + ")";
}

// What the tray tip adds while "only favourites" is chosen but none of the list is a
// favourite, so that every picture shows.
inline std::string NoFavouritesSuffix(bool noFavourites) {
    return noFavourites ? " (no favourites in the list: showing every picture)" : std::string();
}

// The window title for the current list name, and the number of monitors the wallpaper covers
// when it is rendered for each monitor or spans them (0 leaves it out), followed by why the
// wallpaper could not be set when it could not.
inline std::string MainWindowTitle(std::string_view listName, bool paused = false, int monitors = 0,
                                   std::string_view notSetWhy = {}) {
    std::string title = std::string(kMainWindowTitlePrefix) + std::string(listName);
    if (monitors > 0) {
        title += " - " + std::to_string(monitors) + (monitors == 1 ? " monitor" : " monitors");
    }
    return title + std::string(paused ? kPausedSuffix : std::string_view()) +
           NotSetSuffix(notSetWhy);
}
