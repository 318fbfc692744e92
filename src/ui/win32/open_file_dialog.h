// The open-file dialog for one file and the folder browser, each starting in a remembered folder.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// Opens the dialog in lastFolder (when the path is short enough to be its initial folder). On
// OK returns the chosen path and stores its folder in lastFolder; on cancel changes nothing. The
// current directory is left as it was.
std::optional<std::string> AskForFile(HWND owner, const wchar_t* filter,
                                      const wchar_t* defaultExtension, std::string& lastFolder);

// The folder browser, its selection starting at startFolder; the chosen folder at its full
// length, or nothing when cancelled. The current directory is left as it was.
std::optional<std::string> AskForFolder(HWND owner, const std::string& startFolder);
