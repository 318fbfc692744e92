// Adding the paths the user chose to the wallpaper list: the open dialog's multi-selection
// buffer split into full paths, and the rows added under the uniqueness rule.
#include "list/add_entries.h"

std::vector<std::string> SplitSelection(std::string_view buffer,
                                        mbcs::LeadBytePredicate isLeadByte) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < buffer.size()) {
        size_t end = buffer.find('\0', start);
        if (end == std::string_view::npos) {
            end = buffer.size();
        }
        if (end == start) {
            break;
        }
        parts.emplace_back(buffer.substr(start, end - start));
        start = end + 1;
    }
    if (parts.size() <= 1) {
        return parts;
    }
    std::string folder = parts.front();
    if (!mbcs::EndsWith(folder, '\\', isLeadByte)) {
        folder += '\\';
    }
    std::vector<std::string> paths;
    for (size_t i = 1; i < parts.size(); ++i) {
        paths.push_back(folder + parts[i]);
    }
    return paths;
}

int AddPaths(const std::vector<std::string>& paths, WallpaperRows& rows) {
    int added = 0;
    for (const std::string& path : paths) {
        if (!rows.Contains(path)) {
            rows.AddEntry(path);
            ++added;
        }
    }
    return added;
}
