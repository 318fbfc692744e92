// Adding the paths the user chose to the wallpaper list: the open dialog's multi-selection
// buffer split into full paths, and the rows added under the uniqueness rule.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/mbcs.h"
#include "list/wallpaper_rows.h"

// The buffer holds NUL-terminated parts up to an empty one: one full path, or a folder then
// the names chosen in it. Gives the full paths in the dialog's order.
std::vector<std::string> SplitSelection(std::string_view buffer,
                                        mbcs::LeadBytePredicate isLeadByte);

// Adds a row for every path the list does not contain yet (Contains applies the uniqueness
// setting; paths added here count at once). Returns how many rows were added.
int AddPaths(const std::vector<std::string>& paths, WallpaperRows& rows);
