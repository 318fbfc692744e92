// The wallpaper list file.
#include "list/list_file.h"

#include <utility>

#include "base/utf8.h"
#include "list/line_tokenizer.h"
#include "list/path_helpers.h"

namespace {

// Line ends as a file written in text mode has them: every LF becomes CR LF.
void AppendWithLineEnds(std::string& out, std::string_view text) {
    for (char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
}

}  // namespace

std::string FormatListFile(const WallpaperRows& rows) {
    std::string out;
    out.reserve(static_cast<size_t>(rows.Count()) * 64 + 16);
    AppendWithLineEnds(out, rows.SelectionText() + "\n");
    std::string line;
    for (int i = 0; i < rows.Count(); ++i) {
        const WallpaperEntry& entry = rows.EntryAt(i);
        line.clear();
        // Quoted when it holds a character that would end an unquoted token on reading.
        bool quote = entry.path.find_first_of(" \t") != std::string::npos;
        if (quote) {
            line += '"';
        }
        line += entry.path;
        if (quote) {
            line += '"';
        }
        line += ' ';
        line += std::to_string(entry.rotation);
        line += " \"";
        // Written as it is: a double quote in the pages text is not escaped.
        line += entry.pages;
        line += "\"\n";
        AppendWithLineEnds(out, line);
    }
    return out;
}

std::string EncodeListFile(std::string_view text, const AnsiCodePage& codePage) {
    // The round trip is checked too: a list is never written in a form that reads back as
    // other names.
    if (std::optional<std::string> ansi = codePage.FromUtf8(text);
        ansi && codePage.ToUtf8(*ansi) == text) {
        return std::move(*ansi);
    }
    std::string out(utf8::kByteOrderMark);
    out += text;
    return out;
}

std::string DecodeListFile(std::string_view contents, const AnsiCodePage& codePage) {
    if (contents.starts_with(utf8::kByteOrderMark)) {
        return utf8::Repaired(contents.substr(utf8::kByteOrderMark.size()));
    }
    return codePage.ToUtf8(contents);
}

void ParseListFile(std::string_view contents, WallpaperRows& rows) {
    RowsUpdateScope update(rows);
    std::string selection;
    bool firstLine = true;
    size_t start = 0;
    while (start < contents.size()) {
        size_t end = contents.find('\n', start);
        size_t next = end == std::string_view::npos ? contents.size() : end + 1;
        if (end == std::string_view::npos) {
            end = contents.size();
        }
        std::string_view line = contents.substr(start, end - start);
        // Text mode reads CR LF as a line end; a CR anywhere else is data.
        if (end < contents.size() && !line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        start = next;
        if (std::exchange(firstLine, false)) {
            selection = line;
            continue;
        }
        LineTokenizer tokenizer(line);
        std::string path = tokenizer.NextToken();
        if (path.empty() || rows.Contains(path)) {
            continue;
        }
        rows.AddEntry(path);
        WallpaperEntry& entry = rows.EntryAt(rows.Count() - 1);
        int rotation = tokenizer.NextNumber();
        entry.rotation = rotation == -1 ? 0 : rotation;
        entry.pages = tokenizer.NextToken();
    }
    if (!selection.empty()) {
        rows.RestoreSelection(selection);
    }
}

bool SaveListFile(const std::string& path, const WallpaperRows& rows, FileSystem& fileSystem,
                  const AnsiCodePage& codePage) {
    return fileSystem.SaveFile(path, EncodeListFile(FormatListFile(rows), codePage));
}

bool LoadListFile(const std::string& path, WallpaperRows& rows, FileSystem& fileSystem,
                  const AnsiCodePage& codePage) {
    std::optional<std::string> contents = fileSystem.ReadFile(path);
    if (!contents) {
        return false;
    }
    ParseListFile(DecodeListFile(*contents, codePage), rows);
    return true;
}

std::string ListNameFromPath(std::string_view path, mbcs::LeadBytePredicate isLeadByte) {
    return StripExtension(SplitPath(path, isLeadByte).name, isLeadByte);
}

std::string UnsavedListPath(std::string_view path, mbcs::LeadBytePredicate isLeadByte) {
    return StripExtension(path, isLeadByte) + ".unsaved.vlt";
}
