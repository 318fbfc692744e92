// The start-at-logon shortcut's file and description, from the Startup folder and the target.
#include "desktop/startup_shortcut.h"

#include "list/path_helpers.h"

ShortcutNames StartupShortcutNames(const std::string& folder, const std::string& target,
                                   mbcs::LeadBytePredicate isLeadByte) {
    ShortcutNames names;
    names.description = "Shortcut to " + SplitPath(target, isLeadByte).name;
    names.file = folder;
    if (!mbcs::EndsWith(folder, '\\', isLeadByte)) {
        names.file += '\\';
    }
    names.file += names.description + ".lnk";
    return names;
}

bool WriteShellLink(ShellLink& link, const std::string& target, const std::string& linkFile,
                    const std::string& description) {
    if (!link.SetPath(target)) {
        link.ShowMessage("SetPath failed!");
        return false;
    }
    if (!link.SetDescription(description)) {
        link.ShowMessage("SetDescription failed!");
    }
    return link.Save(linkFile);
}
