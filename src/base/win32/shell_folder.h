// The file-system path of the user's personal documents folder, as the shell reports it.
#pragma once

#include <string>

// The path in the ANSI code page, or empty when the shell cannot give it or it has characters
// the code page cannot represent. COM must be initialised on the calling thread.
std::string PersonalDocumentsFolder();
