// Lists every file under a folder, breadth first, in the file system's order.
#include "list/folder_scan.h"

#include <deque>
#include <set>

bool ScanFolder(const std::string& folder, std::vector<std::string>& files, bool includeSubfolders,
                FileSystem& fileSystem, mbcs::LeadBytePredicate isLeadByte) {
    std::deque<std::string> queue{folder};
    std::set<FolderIdentity> visited;
    bool queuedSubfolder = false;
    while (!queue.empty()) {
        std::string current = std::move(queue.front());
        queue.pop_front();
        if (!mbcs::EndsWith(current, '\\', isLeadByte)) {
            current += '\\';
        }
        // Junctions and links can lead back to a folder already scanned.
        if (std::optional<FolderIdentity> identity = fileSystem.Identity(current)) {
            if (!visited.insert(*identity).second) {
                continue;
            }
        }
        fileSystem.Enumerate(current + "*.*", [&](std::string_view name, uint32_t attributes) {
            if ((attributes & kAttributeDirectory) == 0) {
                files.push_back(current + std::string(name));
                return;
            }
            if (!includeSubfolders || name == "." || name == "..") {
                return;
            }
            queue.push_back(current + std::string(name));
            queuedSubfolder = true;
        });
    }
    return queuedSubfolder;
}
