// Reading a text of our own files line by line.
#pragma once

#include <string_view>

// The first line of the text without its LF or CR LF; the text keeps what follows it.
inline std::string_view TakeLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}
