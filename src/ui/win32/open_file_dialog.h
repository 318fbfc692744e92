// The open-file dialog for one file, starting in a remembered folder.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// Opens the dialog in lastFolder (when the path is short enough to be its initial folder). On
// OK returns the chosen path and stores its folder in lastFolder; on cancel changes nothing. The
// current directory is left as it was.
std::optional<std::string> AskForFile(HWND owner, const char* filter, const char* defaultExtension,
                                      std::string& lastFolder);
