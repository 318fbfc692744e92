// Lists every file under a folder, breadth first, in the file system's order.
#pragma once

#include <string>
#include <vector>

#include "base/mbcs.h"
#include "list/file_system.h"

// Appends the full path of every file under folder to files (files of the folder itself first,
// then those of its subfolders level by level). Subfolders are entered only when
// includeSubfolders is set; a folder reached twice (through a junction or link) is scanned
// once. Returns whether at least one subfolder was queued.
bool ScanFolder(const std::string& folder, std::vector<std::string>& files, bool includeSubfolders,
                FileSystem& fileSystem, mbcs::LeadBytePredicate isLeadByte);
