// UTF-8 text, the program's inner form of every name: decoding, encoding, repair, its length
// in UTF-16 units, a portable case fold, and opening and removing a file by a UTF-8 path.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

#include "base/mbcs.h"

namespace utf8 {

inline constexpr char32_t kReplacement = 0xFFFD;
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The character at position, which moves past it. A byte that starts no valid sequence
// (overlong forms, surrogates and values past U+10FFFF included) gives U+FFFD and moves one
// byte on.
char32_t Decode(std::string_view text, size_t& position);

void Append(std::string& out, char32_t c);

bool IsValid(std::string_view text);

// The text with every invalid byte replaced by U+FFFD.
std::string Repaired(std::string_view text);

// How many UTF-16 units the text takes, the unit Windows counts path lengths in.
size_t Utf16Length(std::string_view text);

// Folds letter case for comparing names: ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic
// letters map to one form (final sigma too). The Windows program folds through the system's own
// case table instead; this one serves the portable tests and tools.
std::string FoldCase(std::string_view text, mbcs::LeadBytePredicate isLeadByte);

}  // namespace utf8

// Opens a file by a UTF-8 path, as std::fopen does; under Windows through the wide API, so any
// name opens.
std::FILE* OpenFileUtf8(const std::string& path, const char* mode);
// Removes a file by a UTF-8 path, as std::remove does; true when it is gone.
bool RemoveFileUtf8(const std::string& path);
