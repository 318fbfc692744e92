// The switching sequence.
#include "switching/switching_sequence.h"

#include <string>

#include "list/folder_scan.h"
#include "list/line_tokenizer.h"
#include "list/path_helpers.h"

std::vector<std::uint16_t> ParsePageList(std::string_view text) {
    std::vector<std::uint16_t> pages;
    LineTokenizer tokenizer(text);
    for (int page = tokenizer.NextNumber(); page >= 0; page = tokenizer.NextNumber()) {
        pages.push_back(static_cast<std::uint16_t>(page & 0xFFFF));
    }
    if (pages.empty()) {
        pages.push_back(0);
    }
    return pages;
}

std::vector<WallpaperEntry> BuildSequence(const WallpaperRows& rows, int includeSubfolders,
                                          FileSystem& fileSystem,
                                          mbcs::LeadBytePredicate isLeadByte) {
    std::vector<WallpaperEntry> sequence;
    for (int row = 0; row < rows.Count(); ++row) {
        const WallpaperEntry& entry = rows.EntryAt(row);
        if (IsExistingFile(entry.path, fileSystem)) {
            for (std::uint16_t page : ParsePageList(entry.pages)) {
                sequence.push_back({row, entry.rotation, std::to_string(page), entry.path});
            }
            continue;
        }
        std::vector<std::string> files;
        ScanFolder(entry.path, files, includeSubfolders == 1, fileSystem, isLeadByte);
        for (std::string& file : files) {
            sequence.push_back({row, 0, std::string(), std::move(file)});
        }
    }
    return sequence;
}
