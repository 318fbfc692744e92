// What "Open selected file" tells the user when the shell could not open a file.
#include "ui/shell_open.h"

#include "ui/win32/res/resource.h"

std::optional<OpenFailureMessage> OpenFailureFor(std::intptr_t result) {
    switch (result) {
        case 0:  // out of memory or resources
            return OpenFailureMessage{IDS_OPEN_OUT_OF_MEMORY, false};
        case 5:  // SE_ERR_ACCESSDENIED
            return OpenFailureMessage{IDS_OPEN_ACCESS_DENIED, false};
        case 26:  // SE_ERR_SHARE
            return OpenFailureMessage{IDS_OPEN_SHARING, false};
        case 27:  // SE_ERR_ASSOCINCOMPLETE
        case 31:  // SE_ERR_NOASSOC
            return OpenFailureMessage{IDS_OPEN_NO_ASSOCIATION, false};
        case 28:  // SE_ERR_DDETIMEOUT
        case 29:  // SE_ERR_DDEFAIL
        case 30:  // SE_ERR_DDEBUSY
            return OpenFailureMessage{IDS_OPEN_DDE_ERROR, true};
        case 32:  // SE_ERR_DLLNOTFOUND
            return OpenFailureMessage{IDS_OPEN_DLL_NOT_FOUND, false};
        default:
            break;
    }
    if (result > 32) {
        return std::nullopt;
    }
    return OpenFailureMessage{IDS_OPEN_UNEXPECTED, true};
}
