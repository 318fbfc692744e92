// Splits one line of a list file or a page list into tokens.
#include "list/line_tokenizer.h"

#include <climits>

LineTokenizer::LineTokenizer(std::string_view text) : line(text.substr(0, text.find('\0'))) {}

std::string LineTokenizer::NextToken() {
    while (position < line.size() &&
           (line[position] == ' ' || line[position] == '\t' || line[position] == '\n')) {
        ++position;
    }
    if (position >= line.size()) {
        return std::string();
    }
    if (line[position] == '"') {
        size_t start = ++position;
        size_t end = line.find_first_of("\"\n", start);
        if (end == std::string_view::npos) {
            end = line.size();
        }
        position = end;
        if (position < line.size() && line[position] == '"') {
            ++position;
        }
        return std::string(line.substr(start, end - start));
    }
    size_t start = position;
    size_t end = line.find_first_of(std::string_view("\t\n ", 3), start);
    if (end == std::string_view::npos) {
        end = line.size();
    }
    position = end;
    return std::string(line.substr(start, end - start));
}

int LineTokenizer::NextNumber() {
    std::string token = NextToken();
    if (token.empty() || token[0] < '0' || token[0] > '9') {
        return -1;
    }
    long long value = 0;
    for (char c : token) {
        if (c < '0' || c > '9') {
            break;
        }
        value = value * 10 + (c - '0');
        if (value > INT_MAX) {
            return INT_MAX;
        }
    }
    return static_cast<int>(value);
}
