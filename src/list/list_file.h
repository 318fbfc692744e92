// The wallpaper list file: a selection line, then one line per row (path, rotation, pages),
// every line ending in CR LF. It is in the ANSI code page when every character fits it, and
// otherwise UTF-8 after a byte-order mark.
#pragma once

#include <string>
#include <string_view>

#include "list/code_page.h"
#include "list/file_system.h"
#include "list/wallpaper_rows.h"

// The file's text for the rows, in UTF-8.
std::string FormatListFile(const WallpaperRows& rows);

// The file's bytes for its UTF-8 text: the ANSI form when it represents every character
// exactly, and otherwise the UTF-8 form after a byte-order mark.
std::string EncodeListFile(std::string_view text, const AnsiCodePage& codePage);

// The UTF-8 text of a file's bytes: after a byte-order mark they are UTF-8 (an invalid byte
// reads as U+FFFD), and without one they are in the ANSI code page.
std::string DecodeListFile(std::string_view contents, const AnsiCodePage& codePage);

// Appends the entries of a list file's text to the rows and selects the rows its selection
// line names. Blank lines are skipped, and with uniqueness enforced so is a path already listed.
void ParseListFile(std::string_view text, WallpaperRows& rows);

// Writes the rows to path without ever leaving a partly written list behind.
bool SaveListFile(const std::string& path, const WallpaperRows& rows, FileSystem& fileSystem,
                  const AnsiCodePage& codePage);

// Appends the entries of the list file at path; false when it cannot be read.
bool LoadListFile(const std::string& path, WallpaperRows& rows, FileSystem& fileSystem,
                  const AnsiCodePage& codePage);

// Where the rows go when the list file could not be read: beside it, "Velumar.vlt" giving
// "Velumar.unsaved.vlt".
std::string UnsavedListPath(std::string_view path, mbcs::LeadBytePredicate isLeadByte);

// The list's name: the file name without folder and extension.
std::string ListNameFromPath(std::string_view path, mbcs::LeadBytePredicate isLeadByte);
