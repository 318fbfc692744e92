// Handing a picture file to the shell: opened by its own program, or shown in its folder.
#pragma once

#include <windows.h>

#include <string>

// Opens the file as a double-click in Explorer would; when the shell cannot, a message box on
// the owner says why.
void OpenWithShell(HINSTANCE instance, HWND owner, const std::string& path);
// Opens the file's folder in Explorer with the file selected; false when the shell could not.
bool ShowInFolder(const std::string& path);
