// The one handler of help requests on a control, for the main window, the property pages and
// the open dialog.
#pragma once

#include <windows.h>

// True when the request was answered; false leaves it to the caller's standard handling.
bool ShowContextHelp(const HELPINFO& request);
