// Small path helpers shared by the whole program. Paths are UTF-8; every search for a
// separator also respects the two-byte characters of an ANSI code page given a lead-byte rule.
#pragma once

#include <string>
#include <string_view>

#include "base/mbcs.h"
#include "list/file_system.h"

struct PathParts {
    std::string folder;
    std::string name;
};

// Splits at the last backslash: C:\ gives the folder C: and an empty name.
PathParts SplitPath(std::string_view path, mbcs::LeadBytePredicate isLeadByte);

// Whether two paths name the same file as Windows compares names: ASCII letters in either case.
bool SamePath(std::string_view a, std::string_view b);

// Cuts the text at its last dot when that dot lies after the last backslash.
std::string StripExtension(std::string_view text, mbcs::LeadBytePredicate isLeadByte);

// Whether the path names a folder; paths in a recycle bin never do, and a drive root or a
// network path counts as a folder when its status cannot be read.
bool IsFolderPath(const std::string& path, FileSystem& fileSystem);

// Whether the path names an existing file (not a folder, not a volume label).
bool IsExistingFile(const std::string& path, FileSystem& fileSystem);
