// What the open dialog's preview panel shows for the text of the dialog's file-name box.
#pragma once

#include <string>
#include <vector>

enum class PanelSelection {
    None,        // nothing named, or several quoted names: the panel empties
    SinglePath,  // one name: ask the dialog for its full path
};

// Several chosen names are shown quoted, so a leading double quote means more than one.
inline PanelSelection ClassifyFileNameText(const std::string& text) {
    return text.empty() || text.front() == '"' ? PanelSelection::None : PanelSelection::SinglePath;
}

// The patterns of the "Image Files" choice of the open dialog: the extensions Velumar's own
// decoders read, then those of the system's decoders (as "*.BMP;*.DIB" or ".bmp,.dib", any
// case), each once, lower case, as "*.bmp;*.jpg".
std::string ImageFilePatterns(const std::vector<std::string>& systemExtensions);
