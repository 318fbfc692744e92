// The file-system paths of the user's shell folders, as the shell reports them.
#pragma once

#include <string>

// The path of a folder given by its CSIDL number (CSIDL_PERSONAL, CSIDL_STARTUP...), at its
// full length, in UTF-8; empty when the shell cannot give it. COM must be initialised on the
// calling thread.
std::string ShellFolderPath(int folder);
