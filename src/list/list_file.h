// The wallpaper list file: a selection line, then one line per row (path, rotation, pages),
// every line ending in CR LF, in the ANSI code page.
#pragma once

#include <string>
#include <string_view>

#include "list/file_system.h"
#include "list/wallpaper_rows.h"

// The file's bytes for the rows.
std::string FormatListFile(const WallpaperRows& rows, mbcs::LeadBytePredicate isLeadByte);

// Appends the entries of a list file's bytes to the rows and selects the rows its selection
// line names. Blank lines are skipped, and with uniqueness enforced so is a path already listed.
void ParseListFile(std::string_view contents, WallpaperRows& rows);

// Writes the rows to path without ever leaving a partly written list behind.
bool SaveListFile(const std::string& path, const WallpaperRows& rows, FileSystem& fileSystem,
                  mbcs::LeadBytePredicate isLeadByte);

// Appends the entries of the list file at path; false when it cannot be read.
bool LoadListFile(const std::string& path, WallpaperRows& rows, FileSystem& fileSystem);

// Where the rows go when the list file could not be read: beside it, "Velumar.vlt" giving
// "Velumar.unsaved.vlt".
std::string UnsavedListPath(std::string_view path, mbcs::LeadBytePredicate isLeadByte);

// The list's name: the file name without folder and extension.
std::string ListNameFromPath(std::string_view path, mbcs::LeadBytePredicate isLeadByte);
