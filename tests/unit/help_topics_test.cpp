// The controls' pop-up help: every control of the main window and the property pages, read from
// the resource script itself, has a text; numbers that name no control have none; and every
// text also stands in the help file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/help_topics.h"

namespace {

// The repository, found from this file's own path (tests/unit/ below it). A Windows build run
// under Wine sees the Unix path through its Z: drive.
std::filesystem::path SourceRoot() {
    std::string file = __FILE__;
#ifdef _WIN32
    if (!file.empty() && file[0] == '/') {
        file = "Z:" + file;
    }
#endif
    return std::filesystem::path(file).parent_path().parent_path().parent_path();
}

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The "#define NAME number" lines of a header.
std::map<std::string, unsigned> ReadDefines(const std::string& header) {
    std::map<std::string, unsigned> defines;
    static const std::regex line(R"(^\s*#define\s+(\w+)\s+(\d+)\s*$)");
    std::istringstream in(header);
    std::string text;
    std::smatch match;
    while (std::getline(in, text)) {
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        if (std::regex_match(text, match, line)) {
            defines[match[1]] = static_cast<unsigned>(std::stoul(match[2]));
        }
    }
    return defines;
}

// The line without its quoted texts, so that a caption cannot look like a symbol.
std::string WithoutQuotedText(const std::string& line) {
    std::string code;
    bool quoted = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted) {
            code += c;
        }
    }
    return code;
}

// The IDC_ symbols of every dialog of a resource script, by the dialog's IDD_ symbol.
std::map<std::string, std::vector<std::string>> ReadDialogControls(const std::string& script) {
    std::map<std::string, std::vector<std::string>> dialogs;
    static const std::regex header(R"(^(IDD_\w+)\s+DIALOG(EX)?\b.*)");
    static const std::regex symbol(R"(\bIDC_\w+)");
    std::istringstream in(script);
    std::string text;
    std::smatch match;
    std::string dialog;
    bool inBody = false;
    while (std::getline(in, text)) {
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        std::string code = WithoutQuotedText(text);
        std::string keyword = code.substr(0, code.find_last_not_of(" \t") + 1);
        if (std::regex_match(code, match, header)) {
            dialog = match[1];
            dialogs.try_emplace(dialog);
            inBody = false;
        } else if (!dialog.empty() && keyword == "BEGIN") {
            inBody = true;
        } else if (!dialog.empty() && keyword == "END") {
            dialog.clear();
            inBody = false;
        } else if (inBody) {
            for (std::sregex_iterator it(code.begin(), code.end(), symbol), end; it != end; ++it) {
                dialogs[dialog].push_back(it->str());
            }
        }
    }
    return dialogs;
}

// The text of every HTML page of the help, with each run of white space made one blank.
std::string HelpPagesText(const std::filesystem::path& folder) {
    std::string all;
    for (const auto& item : std::filesystem::directory_iterator(folder)) {
        if (item.path().extension() != ".html") {
            continue;
        }
        bool blank = true;
        for (char c : ReadFile(item.path()).value_or("")) {
            bool space = c == ' ' || c == '\t' || c == '\r' || c == '\n';
            if (!space) {
                all += c;
            } else if (!blank) {
                all += ' ';
            }
            blank = space;
        }
        all += ' ';
    }
    return all;
}

bool HasText(unsigned contextNumber) {
    std::optional<std::string_view> text = PopupHelpText(contextNumber);
    return text && !text->empty();
}

// Tests that read the resource script and its header, and the help pages. Natively the sources must
// be there; a Windows build may run where they cannot be reached, and then skips.
class HelpTopicsSources : public testing::Test {
protected:
    void SetUp() override {
        for (auto [text, relativePath] : {std::pair{&header, "src/ui/win32/res/resource.h"},
                                          std::pair{&script, "src/ui/win32/res/velumar.rc"}}) {
            std::optional<std::string> read = ReadFile(SourceRoot() / relativePath);
            if (!read) {
#ifdef _WIN32
                GTEST_SKIP() << "sources not reachable from here: " << relativePath;
#else
                FAIL() << "cannot read " << (SourceRoot() / relativePath);
#endif
            }
            *text = *read;
        }
    }

    std::string header;
    std::string script;
};

}  // namespace

TEST_F(HelpTopicsSources, EveryControlOfTheWindowsWithWhatsThisHelpHasAText) {
    std::map<std::string, unsigned> ids = ReadDefines(header);
    std::map<std::string, std::vector<std::string>> dialogs = ReadDialogControls(script);

    std::map<unsigned, std::string> symbolOfDialog;
    for (const auto& [dialog, controls] : dialogs) {
        symbolOfDialog[ids.at(dialog)] = dialog;
    }
    for (unsigned dialogId : {102u, 131u, 133u, 142u, 143u, 145u, 146u}) {
        ASSERT_TRUE(symbolOfDialog.count(dialogId)) << "no dialog " << dialogId;
        const std::vector<std::string>& controls = dialogs[symbolOfDialog[dialogId]];
        EXPECT_FALSE(controls.empty()) << "no controls read for dialog " << dialogId;
        for (const std::string& control : controls) {
            ASSERT_TRUE(ids.count(control)) << control << " is not in resource.h";
            EXPECT_TRUE(HasText(kControlHelpBase + ids[control]))
                << control << " of dialog " << dialogId;
        }
    }
}

TEST(HelpTopics, TheOpenDialogsPanelAndStandardControlsHaveTexts) {
    // Preview check box, thumbnail frame, information box; file name, file type, file list,
    // look-in box.
    for (unsigned id : {1048u, 1049u, 1050u, 1148u, 1136u, 1120u, 1137u}) {
        EXPECT_TRUE(HasText(kControlHelpBase + id)) << id;
    }
}

TEST(HelpTopics, NumbersThatNameNoControlHaveNoText) {
    const unsigned numbers[] = {
        0u,
        1000u,                        // a control id without the base
        kControlHelpBase - 1,         // just below the base
        kControlHelpBase,             // id 0
        kControlHelpBase + 1,         // the OK button, which has no pop-up
        kControlHelpBase + 1119,      // the panel's placeholder for the standard controls
        kControlHelpBase + 32779,     // a menu command
        2 * kControlHelpBase + 1000,  // the base added twice
        0xFFFFFFFFu,
    };
    for (unsigned number : numbers) {
        EXPECT_FALSE(PopupHelpText(number).has_value()) << number;
    }
}

TEST_F(HelpTopicsSources, EveryPopupTextAlsoStandsInTheHelpFile) {
    std::string pages = HelpPagesText(SourceRoot() / "help");
    int texts = 0;
    for (unsigned id = 0; id <= 0xFFFF; ++id) {
        if (std::optional<std::string_view> text = PopupHelpText(kControlHelpBase + id)) {
            ++texts;
            EXPECT_NE(pages.find(*text), std::string::npos)
                << "the help file lacks the text of " << id << ": " << *text;
        }
    }
    EXPECT_GT(texts, 0);
}
