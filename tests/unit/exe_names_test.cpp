// Names derived from the executable's path, and the byte searches under them.
#include <gtest/gtest.h>

#include "app/exe_names.h"
#include "app/region_bounds.h"
#include "base/mbcs.h"
#include "tests/unit/test_code_pages.h"

TEST(ExeNames, AppNameAndExePathFromModulePaths) {
    struct Case {
        const char* module;
        const char* appName;
        const char* exePath;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Velumar\\Velumar.exe", "Velumar",
         "C:\\Program Files\\Velumar\\Velumar.exe"},
        {"C:\\Apps\\Other.exe", "Other", "C:\\Apps\\Velumar.exe"},
        {"C:\\Velumar.exe", "Velumar", "C:\\Velumar.exe"},
        {"C:\\my.tools\\Velumar.copy.exe", "Velumar.copy", "C:\\my.tools\\Velumar.exe"},
        {"C:\\my.tools\\NoExtension", "NoExtension", "C:\\my.tools\\Velumar.exe"},
        {"\\\\server\\share\\Velumar.exe", "Velumar", "\\\\server\\share\\Velumar.exe"},
        {"Velumar.exe", "Velumar", "\\Velumar.exe"},
        {"", "", "\\Velumar.exe"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AppNameFromModulePath(c.module), c.appName) << c.module;
        EXPECT_EQ(ExePathFromModulePath(c.module), c.exePath) << c.module;
    }
}

TEST(ExeNames, TrailBytesThatLookLikeBackslashesAreNotSeparators) {
    // "\x95\x5C" is one two-byte character whose second byte is the backslash code.
    const std::string module = "C:\\Apps\\\x95\x5C.exe";
    EXPECT_EQ(AppNameFromModulePath(module, IsShiftJisLeadByte), "\x95\x5C");
    EXPECT_EQ(ExePathFromModulePath(module, IsShiftJisLeadByte), "C:\\Apps\\Velumar.exe");
    // Read as single bytes, the trail byte would be taken for a separator.
    EXPECT_EQ(AppNameFromModulePath(module), "");
}

TEST(Mbcs, EndsWithSkipsTrailBytes) {
    EXPECT_TRUE(mbcs::EndsWith("C:\\", '\\', IsShiftJisLeadByte));
    EXPECT_FALSE(mbcs::EndsWith("C:\\\x95\x5C", '\\', IsShiftJisLeadByte));
    EXPECT_TRUE(mbcs::EndsWith("C:\\\x95\x5C", '\\', mbcs::NoLeadBytes));
    EXPECT_FALSE(mbcs::EndsWith("", '\\', mbcs::NoLeadBytes));
    // A lead byte at the very end has no trail byte to skip.
    EXPECT_FALSE(mbcs::EndsWith("C:\\\x95", '\\', IsShiftJisLeadByte));
}

TEST(RegionBounds, ReadsStopAtTheEndOfTheRegion) {
    struct Case {
        size_t size, offset, count;
        std::optional<size_t> copied;
    };
    const Case cases[] = {
        {276, 0, 4, 4},
        {276, 272, 4, 4},
        {276, 273, 4, 3},
        {276, 275, 100, 1},
        {276, 276, 1, std::nullopt},
        {276, 1000, 1, std::nullopt},
        {276, 0, 0, 0},
        {0, 0, 1, std::nullopt},
        {276, 4, SIZE_MAX, 272},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BoundedReadCount(c.size, c.offset, c.count), c.copied)
            << c.size << " " << c.offset << " " << c.count;
    }
}
