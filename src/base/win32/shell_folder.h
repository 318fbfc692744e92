// The file-system paths of the user's shell folders, as the shell reports them.
#pragma once

#include <string>

// The path of a folder given by its CSIDL number (CSIDL_PERSONAL, CSIDL_STARTUP...), at its
// full length, in UTF-8; empty when the shell cannot give it. COM must be initialised on the
// calling thread.
std::string ShellFolderPath(int folder);

// The user's local application-data folder without a trailing backslash; empty when unknown.
std::string LocalAppDataPath();

// Makes a folder and the folders above it that are missing; true when it exists afterwards.
bool MakeFolders(const std::string& path);
