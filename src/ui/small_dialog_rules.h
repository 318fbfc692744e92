// The rules of the small dialogs: the time-of-day entry, the once-per-run welcome and the rows
// of the hidden pictures.
#pragma once

#include <string>
#include <string_view>

// What OK in the time-of-day dialog does with the typed text.
struct TimeEntry {
    enum class Outcome { Cancel, Accept, Refuse } outcome = Outcome::Cancel;
    std::string text;  // "HH:MM", with Accept
};

inline constexpr const char* kTimeOfDayFormatMessage =
    "Please enter a time of day in HH:MM format.";

// Blank text cancels; otherwise the text is read as a time of day and normalised.
TimeEntry CheckTimeOfDay(const std::string& typed);

// A hidden picture's row: the file's name, with its page when that is not the first, and the
// folder it is in, without a backslash at its end except at a drive's root.
struct HiddenPictureRow {
    std::string name;
    std::string folder;

    bool operator==(const HiddenPictureRow&) const = default;
};

HiddenPictureRow HiddenPictureRowOf(std::string_view path, int page);

// Whether a tick shows the welcome dialog.
inline bool WelcomeDue(bool welcomeShown, bool showWelcome) {
    return !welcomeShown && showWelcome;
}

// The welcome setting after the dialog: only "Close" reads the check box; Escape and the
// close box count it as cleared.
inline bool ShowWelcomeAfter(bool closedWithClose, bool dontShowAgain) {
    return !(closedWithClose && dontShowAgain);
}
