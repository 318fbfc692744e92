// The line tokenizer and the path helpers.
#include <gtest/gtest.h>

#include <climits>

#include "list/line_tokenizer.h"
#include "list/path_helpers.h"
#include "tests/unit/fake_file_system.h"
#include "tests/unit/test_code_pages.h"

namespace {

std::vector<std::string> AllTokens(std::string_view line) {
    LineTokenizer tokenizer(line);
    std::vector<std::string> tokens;
    for (std::string token = tokenizer.NextToken(); !token.empty(); token = tokenizer.NextToken()) {
        tokens.push_back(token);
    }
    return tokens;
}

TEST(LineTokenizerTest, SplitsTokensAsTheListFileNeedsThem) {
    using Tokens = std::vector<std::string>;
    const struct {
        std::string line;
        Tokens tokens;
    } cases[] = {
        {"C:\\a.jpg 2 \"1 3\"", {"C:\\a.jpg", "2", "1 3"}},
        {"  \t\n lead", {"lead"}},
        {"a\tb\nc d", {"a", "b", "c", "d"}},
        {"\"D:\\My Photos\\x.tif\" 0", {"D:\\My Photos\\x.tif", "0"}},
        {"\"unterminated to the end", {"unterminated to the end"}},
        {"\"stops\nat\" line feed", {"stops", "at\"", "line", "feed"}},
        {"x\"y z", {"x\"y", "z"}},
        {std::string("cut\0hidden tail", 15), {"cut"}},
        {std::string("\"quoted\0hidden\"", 15), {"quoted"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AllTokens(c.line), c.tokens) << c.line;
    }
}

TEST(LineTokenizerTest, QuotedEmptyTokenIsEmptyAndConsumed) {
    LineTokenizer tokenizer("\"\" 3");
    EXPECT_EQ(tokenizer.NextToken(), "");
    EXPECT_EQ(tokenizer.NextNumber(), 3);
}

TEST(LineTokenizerTest, NextNumberReadsLeadingDigitsOrGivesMinusOne) {
    const struct {
        const char* token;
        int number;
    } cases[] = {
        {"0", 0},
        {"7", 7},
        {"007", 7},
        {"12abc", 12},
        {"-1", -1},
        {"+3", -1},
        {"x", -1},
        {"", -1},
        {"\"5\"", 5},
        {"2147483647", INT_MAX},
        {"99999999999999999999", INT_MAX},
    };
    for (const auto& c : cases) {
        LineTokenizer tokenizer(c.token);
        EXPECT_EQ(tokenizer.NextNumber(), c.number) << c.token;
    }
    // A token that is no number is consumed all the same.
    LineTokenizer tokenizer("x 5");
    EXPECT_EQ(tokenizer.NextNumber(), -1);
    EXPECT_EQ(tokenizer.NextNumber(), 5);
    EXPECT_EQ(tokenizer.NextNumber(), -1);
}

TEST(PathHelpersTest, SplitPathCutsAtTheLastBackslash) {
    const struct {
        std::string path;
        std::string folder;
        std::string name;
    } cases[] = {
        {"C:\\Pictures\\sunset.jpg", "C:\\Pictures", "sunset.jpg"},
        {"C:\\", "C:", ""},
        {"C:\\Pictures\\Holiday", "C:\\Pictures", "Holiday"},
        {"sunset.jpg", "", "sunset.jpg"},
        {"\\\\server\\share", "\\\\server", "share"},
        {"C:\\dots.in\\name", "C:\\dots.in", "name"},
        // 0x95 0x5C is one Shift-JIS character whose second byte is the backslash code.
        {"C:\\\x95\x5C.jpg", "C:", "\x95\x5C.jpg"},
    };
    for (const auto& c : cases) {
        PathParts parts = SplitPath(c.path, IsShiftJisLeadByte);
        EXPECT_EQ(parts.folder, c.folder) << c.path;
        EXPECT_EQ(parts.name, c.name) << c.path;
    }
}

TEST(PathHelpersTest, StripExtensionCutsOnlyAnExtensionOfTheLastName) {
    const struct {
        const char* text;
        const char* stripped;
    } cases[] = {
        {"my.list.vlt", "my.list"},
        {"Velumar", "Velumar"},
        {"C:\\dir.d\\file", "C:\\dir.d\\file"},
        {"C:\\dir.d\\file.vlt", "C:\\dir.d\\file"},
        {".vlt", ""},
        {"name.", "name"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StripExtension(c.text, IsShiftJisLeadByte), c.stripped) << c.text;
    }
}

TEST(PathHelpersTest, IsFolderPathAndIsExistingFileFollowTheFileSystem) {
    FakeFileSystem fs;
    fs.AddFolder("C:\\Pictures");
    fs.AddFile("C:\\Pictures\\a.jpg");
    fs.AddFolder("C:\\RECYCLED");
    fs.AddFolder("C:\\RECYCLED\\DC1");
    fs.AddFolder("c:\\recycled\\dc2");
    fs.AddFile("C:\\VOLUME", "", kAttributeVolumeLabel);
    const struct {
        const char* path;
        bool folder;
        bool file;
    } cases[] = {
        {"C:\\Pictures", true, false},
        {"C:\\Pictures\\a.jpg", false, true},
        {"C:\\RECYCLED\\DC1", false, false},
        {"c:\\recycled\\dc2", false, false},
        {"C:\\VOLUME", false, false},
        {"C:\\missing.jpg", false, false},
        // Unreadable status: drive roots and network paths still count as folders.
        {"D:\\", true, false},
        {"D:\\x", false, false},
        {"\\\\server\\share", true, false},
        {"\\single", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsFolderPath(c.path, fs), c.folder) << c.path;
        EXPECT_EQ(IsExistingFile(c.path, fs), c.file) << c.path;
    }
}

}  // namespace
