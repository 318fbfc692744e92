// The start-at-logon shortcut on Windows: the Startup folder and the shell-link object.
#pragma once

#include <windows.h>

#include <string>

// Places "Shortcut to <name>.lnk" for target in the user's Startup folder; reports a failure
// in a message box owned by the window. Nothing happens when the folder cannot be found.
void CreateStartupShortcut(HWND owner, const std::string& target);

// Writes a shortcut file to target with a description; true when the file was saved.
bool CreateShellLink(HWND owner, const std::string& target, const std::string& linkFile,
                     const std::string& description);
