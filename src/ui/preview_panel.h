// What the open dialog's preview panel shows for the text of the dialog's file-name box.
#pragma once

#include <string>

enum class PanelSelection {
    None,        // nothing named, or several quoted names: the panel empties
    SinglePath,  // one name: ask the dialog for its full path
};

// Several chosen names are shown quoted, so a leading double quote means more than one.
inline PanelSelection ClassifyFileNameText(const std::string& text) {
    return text.empty() || text.front() == '"' ? PanelSelection::None : PanelSelection::SinglePath;
}
