// Splits one line of a list file or a page list into tokens.
#pragma once

#include <string>
#include <string_view>

class LineTokenizer {
public:
    // The line ends at its first NUL, as a C string would.
    explicit LineTokenizer(std::string_view line);

    // The next token after blanks, tabs and line feeds; a token that starts with a double
    // quote runs to the next double quote (consumed) or line feed or the end of the line.
    // Empty at the end of the line (and for a quoted empty token).
    std::string NextToken();
    // The next token's leading decimal digits as a number (saturating), or -1 when the token
    // is empty or does not start with a digit. The token is consumed either way.
    int NextNumber();

private:
    std::string_view line;
    size_t position = 0;
};
