// The hidden pictures dialog: the pictures never to be shown again, and "Show again" for the
// selected ones.
#pragma once

#include <windows.h>

#include <vector>

#include "switching/picture_marks.h"

// Runs the dialog over the owner. The rows the user chose with "Show again" leave the list and go
// to chosen, in the list's order; true when there are any once the dialog is closed.
bool RunHiddenPicturesDialog(HWND owner, const std::vector<MarkedPicture>& hidden,
                             std::vector<MarkedPicture>& chosen);
