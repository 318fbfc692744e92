// The switching sequence: the wallpaper list expanded into one item per page of every file and
// one item per file in every folder.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "app/app_settings.h"
#include "list/file_system.h"
#include "list/wallpaper_rows.h"

// The page numbers of a page-selection text (lowest 16 bits of each, 0 to 65535); page 0 when
// none. A page the file does not have makes its item fail and be passed over.
std::vector<std::uint16_t> ParsePageList(std::string_view text);

// One item per listed page of every file row and one per file found under every other row;
// each item's index is its row.
std::vector<WallpaperEntry> BuildSequence(const WallpaperRows& rows, int includeSubfolders,
                                          FileSystem& fileSystem,
                                          mbcs::LeadBytePredicate isLeadByte);
