// The start-at-logon shortcut's file and description, from the Startup folder and the target,
// and the steps that write it.
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

// The shell-link object being written, and the user who hears about a failed step.
class ShellLink {
public:
    virtual bool SetPath(const std::string& target) = 0;
    virtual bool SetDescription(const std::string& description) = 0;
    virtual bool Save(const std::string& file) = 0;
    // A plain message box.
    virtual void ShowMessage(const std::string& text) = 0;

protected:
    ShellLink() = default;
    ~ShellLink() = default;
};

// Sets the target and the description, then saves the shortcut; true when it was saved. A
// failed step is reported. A shortcut whose target could not be set would start nothing and
// is not saved; one without its description is.
bool WriteShellLink(ShellLink& link, const std::string& target, const std::string& linkFile,
                    const std::string& description);
