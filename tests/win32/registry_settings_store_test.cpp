// The registry settings store against the real registry, each test under its own company key.
#include "app/win32/registry_settings_store.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "base/win32/unique_hkey.h"

namespace {

constexpr char kApp[] = "Velumar";
constexpr char kSection[] = "Settings";

class RegistrySettingsStoreTest : public testing::Test {
protected:
    ~RegistrySettingsStoreTest() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, companyPath.c_str());
    }

    // Opens the section key directly, creating it when asked.
    UniqueHKey OpenSection(bool create) const {
        UniqueHKey key;
        if (create) {
            RegCreateKeyExA(HKEY_CURRENT_USER, sectionPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, key.Put(), nullptr);
        } else {
            RegOpenKeyExA(HKEY_CURRENT_USER, sectionPath.c_str(), 0, KEY_ALL_ACCESS, key.Put());
        }
        return key;
    }

    // Stores raw bytes of any type, bypassing the store.
    void PutRaw(const char* name, DWORD type, const void* data, DWORD size) const {
        const UniqueHKey key = OpenSection(true);
        ASSERT_TRUE(key);
        ASSERT_EQ(RegSetValueExA(key.Get(), name, 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
    }

    // A company key of its own for every test of every run.
    static std::string UniqueCompany() {
        static int testNumber = 0;
        return "VelumarTest" + std::to_string(GetCurrentProcessId()) + "_" +
               std::to_string(++testNumber);
    }

    const std::string company = UniqueCompany();
    const std::string companyPath = "Software\\" + company;
    const std::string sectionPath = companyPath + "\\" + kApp + "\\" + kSection;
    RegistrySettingsStore store{company, kApp};
};

TEST_F(RegistrySettingsStoreTest, IntegersAndTextsReadBackAsWritten) {
    for (const int value : {0, 1, -1, 620, 0x00FFFFFF, INT_MIN, INT_MAX}) {
        store.WriteInt(kSection, "II", value);
        EXPECT_EQ(store.ReadInt(kSection, "II", 12345), value);
    }
    for (const std::string text : {"", "5:00", "08:00%12:30%", "C:\\Users\\me\\Velumar.vlt",
                                   "caf\xC3\xA9", "C:\\東京\\😀.png"}) {
        store.WriteText(kSection, "PE", text);
        EXPECT_EQ(store.ReadText(kSection, "PE", "default"), text);
    }
}

TEST_F(RegistrySettingsStoreTest, TextsTheAnsiApiWroteReadBackAsTheSameCharacters) {
    if (GetACP() != 1252) {
        GTEST_SKIP() << "the old value is written in Windows-1252";
    }
    // "C:\Bilder\café.bmp" as the old code stored it, with é as the byte 0xE9; written back
    // by the wide code, the old code reads its own bytes.
    const char ansi[] = "C:\\Bilder\\caf\xE9.bmp";
    PutRaw("LF", REG_SZ, ansi, sizeof(ansi));
    EXPECT_EQ(store.ReadText(kSection, "LF", ""), "C:\\Bilder\\café.bmp");
    store.WriteText(kSection, "LF", "C:\\Bilder\\café.bmp");
    char read[64] = {};
    DWORD size = sizeof(read);
    ASSERT_EQ(RegQueryValueExA(OpenSection(false).Get(), "LF", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(read), &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(read, ansi);
}

TEST_F(RegistrySettingsStoreTest, MissingKeyOrValueReadsAsTheDefault) {
    EXPECT_EQ(store.ReadInt(kSection, "WH", 7), 7);
    EXPECT_EQ(store.ReadText(kSection, "PE", "5:00"), "5:00");

    store.WriteInt(kSection, "SA", 1);
    EXPECT_EQ(store.ReadInt(kSection, "WH", 7), 7);
    EXPECT_EQ(store.ReadText(kSection, "PE", "5:00"), "5:00");
    EXPECT_EQ(store.ReadInt("Other", "SA", 9), 9);
}

TEST_F(RegistrySettingsStoreTest, ValueOfAnotherTypeOrSizeReadsAsTheDefault) {
    const DWORD dword = 5;
    const BYTE twoBytes[2] = {1, 0};
    const unsigned long long qword = 5;
    PutRaw("Text", REG_SZ, "5", 2);
    PutRaw("Binary", REG_BINARY, &dword, sizeof(dword));
    PutRaw("ShortDword", REG_DWORD, twoBytes, sizeof(twoBytes));
    PutRaw("LongDword", REG_DWORD, &qword, sizeof(qword));
    PutRaw("Qword", REG_QWORD, &qword, sizeof(qword));
    PutRaw("BigEndian", REG_DWORD_BIG_ENDIAN, &dword, sizeof(dword));
    for (const char* name : {"Text", "Binary", "ShortDword", "LongDword", "Qword", "BigEndian"}) {
        EXPECT_EQ(store.ReadInt(kSection, name, -3), -3) << name;
    }

    PutRaw("Dword", REG_DWORD, &dword, sizeof(dword));
    PutRaw("Expand", REG_EXPAND_SZ, "%TEMP%", 7);
    PutRaw("Multi", REG_MULTI_SZ, "a\0b\0", 5);
    PutRaw("BinaryText", REG_BINARY, "abc", 4);
    for (const char* name : {"Dword", "Expand", "Multi", "BinaryText"}) {
        EXPECT_EQ(store.ReadText(kSection, name, "fallback"), "fallback") << name;
    }
}

TEST_F(RegistrySettingsStoreTest, LongTextIsReadInFull) {
    std::string text(100000, 'x');
    for (size_t i = 0; i < text.size(); i += 97) {
        text[i] = static_cast<char>('a' + i % 26);
    }
    store.WriteText(kSection, "CF", text);
    EXPECT_EQ(store.ReadText(kSection, "CF", ""), text);
}

TEST_F(RegistrySettingsStoreTest, TextStoredWithoutTerminatingNulIsReadWhole) {
    PutRaw("Short", REG_SZ, "abc", 3);
    EXPECT_EQ(store.ReadText(kSection, "Short", ""), "abc");

    const std::string longText(5000, 'q');
    PutRaw("Long", REG_SZ, longText.data(), static_cast<DWORD>(longText.size()));
    EXPECT_EQ(store.ReadText(kSection, "Long", ""), longText);
}

TEST_F(RegistrySettingsStoreTest, FirstWriteCreatesTheKeyPath) {
    EXPECT_FALSE(OpenSection(false));
    store.WriteText(kSection, "LD", "C:\\");
    EXPECT_TRUE(OpenSection(false));
}

TEST_F(RegistrySettingsStoreTest, IntegersLandAsDwordsAndTextsAsStrings) {
    store.WriteInt(kSection, "IC", static_cast<int>(0xFF102030u));
    store.WriteText(kSection, "PE", "5:00");
    const UniqueHKey key = OpenSection(false);
    ASSERT_TRUE(key);

    DWORD type = REG_NONE;
    DWORD number = 0;
    DWORD size = sizeof(number);
    ASSERT_EQ(
        RegQueryValueExA(key.Get(), "IC", nullptr, &type, reinterpret_cast<BYTE*>(&number), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(size, sizeof(DWORD));
    EXPECT_EQ(number, 0xFF102030u);

    char text[16] = {};
    size = sizeof(text);
    ASSERT_EQ(
        RegQueryValueExA(key.Get(), "PE", nullptr, &type, reinterpret_cast<BYTE*>(text), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 5u);
    EXPECT_STREQ(text, "5:00");
}

}  // namespace
