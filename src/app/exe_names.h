// Names derived from the running executable's path.
#pragma once

#include <string>
#include <string_view>

#include "base/mbcs.h"

// The executable's base name without its extension: the application name under which the
// settings are kept ("C:\Apps\Velumar.exe" gives "Velumar").
std::string AppNameFromModulePath(std::string_view modulePath,
                                  mbcs::LeadBytePredicate isLeadByte = mbcs::NoLeadBytes);

// The executable's folder, without a trailing backslash; empty for a path without one.
std::string ProgramFolder(std::string_view modulePath,
                          mbcs::LeadBytePredicate isLeadByte = mbcs::NoLeadBytes);

// The executable's folder joined with "\Velumar.exe", whatever the executable is called; a
// path without a backslash gives the bare "\Velumar.exe".
std::string ExePathFromModulePath(std::string_view modulePath,
                                  mbcs::LeadBytePredicate isLeadByte = mbcs::NoLeadBytes);
