// The open-file dialog for one file, starting in a remembered folder.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// Makes lastFolder current and opens the dialog there (when the path is short enough to be
// its initial folder). On OK returns the chosen path and stores in lastFolder the current
// folder the dialog left behind; on cancel changes nothing.
std::optional<std::string> AskForFile(HWND owner, const char* filter, const char* defaultExtension,
                                      std::string& lastFolder);
