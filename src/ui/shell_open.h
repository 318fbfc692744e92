// What "Open selected file" tells the user when the shell could not open a file.
#pragma once

#include <cstdint>
#include <optional>

struct OpenFailureMessage {
    int stringId = 0;
    // The message has a %d for the shell's result.
    bool showsResult = false;

    bool operator==(const OpenFailureMessage&) const = default;
};

// The message for the shell's result, or nothing when the file was opened (above 32).
std::optional<OpenFailureMessage> OpenFailureFor(std::intptr_t shellResult);
