// What "Open selected file" tells the user when the shell could not open a file.
#include "ui/shell_open.h"

std::optional<OpenFailureMessage> OpenFailureFor(std::intptr_t result) {
    switch (result) {
        case 0:  // out of memory or resources
            return OpenFailureMessage{107, false};
        case 5:  // SE_ERR_ACCESSDENIED
            return OpenFailureMessage{108, false};
        case 26:  // SE_ERR_SHARE
            return OpenFailureMessage{111, false};
        case 27:  // SE_ERR_ASSOCINCOMPLETE
        case 31:  // SE_ERR_NOASSOC
            return OpenFailureMessage{106, false};
        case 28:  // SE_ERR_DDETIMEOUT
        case 29:  // SE_ERR_DDEFAIL
        case 30:  // SE_ERR_DDEBUSY
            return OpenFailureMessage{109, true};
        case 32:  // SE_ERR_DLLNOTFOUND
            return OpenFailureMessage{110, false};
        default:
            break;
    }
    if (result > 32) {
        return std::nullopt;
    }
    return OpenFailureMessage{105, true};
}
