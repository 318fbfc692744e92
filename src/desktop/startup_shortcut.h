// The start-at-logon shortcut's file and description, from the Startup folder and the target.
#pragma once

#include <string>

#include "base/mbcs.h"

struct ShortcutNames {
    std::string file;
    std::string description;
};

// "Shortcut to " and the target's file name, as the shortcut's description and, with ".lnk",
// as its file name inside the folder (a backslash is added when the folder has none).
ShortcutNames StartupShortcutNames(const std::string& folder, const std::string& target,
                                   mbcs::LeadBytePredicate isLeadByte);
