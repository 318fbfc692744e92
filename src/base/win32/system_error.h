// The system's text for an error code.
#pragma once

#include <windows.h>

#include <string>

// The system's message for the error, without its line break; "Error N." when it has none.
std::string SystemErrorText(DWORD error);
