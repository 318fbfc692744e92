// The one handler of help requests on a control, for the main window, the property pages and
// the open dialog.
#include "ui/win32/context_help.h"

bool ShowContextHelp(const HELPINFO& request) {
    // A request with F1 held down, or one not about a window, is not a question about one
    // control: the caller handles it.
    if (request.iContextType != HELPINFO_WINDOW || (GetKeyState(VK_F1) & 0x8000) != 0) {
        return false;
    }
    // There are no pop-up texts to show yet, so the request is left to the caller as well.
    return false;
}
