// The INI-file SettingsStore of a portable copy.
#include "app/ini_settings_store.h"

#include <charconv>
#include <cstdint>
#include <utility>

#include "base/text_lines.h"
#include "list/path_helpers.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// A text kept relative to the program's folder starts with this.
constexpr std::string_view kHere = ".";

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A value is quoted when its spaces at either end, or quotes of its own around it, would
// otherwise be lost on reading.
bool NeedsQuotes(std::string_view value) {
    return !value.empty() && (value.front() == ' ' || value.front() == '\t' ||
                              value.back() == ' ' || value.back() == '\t' ||
                              (value.size() >= 2 && value.front() == '"' && value.back() == '"'));
}

std::string_view Unquoted(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value.remove_prefix(1);
        value.remove_suffix(1);
    }
    return value;
}

// A line holds one value: a line feed inside a text cannot be kept, so it is left out.
std::string OneLine(std::string_view value) {
    std::string line;
    for (const char c : value) {
        if (c != '\n') {
            line += c;
        }
    }
    return line;
}

}  // namespace

std::optional<int> ParseStoredNumber(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative || (!text.empty() && text.front() == '+')) {
        text.remove_prefix(1);
    }
    uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        magnitude > (negative ? uint64_t{0x80000000} : uint64_t{0xFFFFFFFF})) {
        return std::nullopt;
    }
    const uint32_t bits = static_cast<uint32_t>(negative ? 0 - magnitude : magnitude);
    return static_cast<int>(bits);
}

IniSettingsStore::IniSettingsStore(std::string_view text, std::string programFolder,
                                   std::function<bool(std::string_view text)> save)
    : programFolder(std::move(programFolder)), save(std::move(save)) {
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }
    std::string section;
    bool inSection = false;
    while (!text.empty()) {
        const std::string_view line = Trimmed(TakeLine(text));
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            inSection = close != std::string_view::npos;
            section = inSection ? std::string(Trimmed(line.substr(1, close - 1))) : std::string();
            continue;
        }
        const std::size_t equals = line.find('=');
        // Values before any section header belong to none and are not read.
        if (!inSection || equals == std::string_view::npos) {
            continue;
        }
        const std::string_view name = Trimmed(line.substr(0, equals));
        if (!name.empty() && Find(section, name) == nullptr) {
            entries.push_back({section, std::string(name),
                               std::string(Unquoted(Trimmed(line.substr(equals + 1))))});
        }
    }
}

std::size_t IniSettingsStore::IndexOf(std::string_view section, std::string_view name) const {
    for (std::size_t index = 0; index < entries.size(); ++index) {
        if (SamePath(entries[index].section, section) && SamePath(entries[index].name, name)) {
            return index;
        }
    }
    return entries.size();
}

const IniSettingsStore::Entry* IniSettingsStore::Find(std::string_view section,
                                                      std::string_view name) const {
    const std::size_t index = IndexOf(section, name);
    return index == entries.size() ? nullptr : &entries[index];
}

int IniSettingsStore::ReadInt(std::string_view section, std::string_view name,
                              int defaultValue) const {
    const Entry* entry = Find(section, name);
    return entry == nullptr ? defaultValue : ParseStoredNumber(entry->value).value_or(defaultValue);
}

std::string IniSettingsStore::ReadText(std::string_view section, std::string_view name,
                                       std::string_view defaultValue) const {
    const Entry* entry = Find(section, name);
    if (entry == nullptr) {
        return std::string(defaultValue);
    }
    const std::string_view value = entry->value;
    if (!programFolder.empty() && value.substr(0, kHere.size()) == kHere &&
        (value.size() == kHere.size() || value[kHere.size()] == '\\')) {
        return programFolder + std::string(value.substr(kHere.size()));
    }
    return entry->value;
}

void IniSettingsStore::WriteInt(std::string_view section, std::string_view name, int value) {
    Put(section, name, std::to_string(value));
}

void IniSettingsStore::WriteText(std::string_view section, std::string_view name,
                                 std::string_view value) {
    const std::string_view folder = programFolder;
    const std::string_view head = value.substr(0, folder.size());
    if (!folder.empty() && SamePath(head, folder) &&
        (value.size() == folder.size() || value[folder.size()] == '\\')) {
        std::string relative(kHere);
        relative += OneLine(value.substr(folder.size()));
        Put(section, name, std::move(relative));
    } else {
        Put(section, name, OneLine(value));
    }
}

void IniSettingsStore::Put(std::string_view section, std::string_view name, std::string value) {
    if (const std::size_t index = IndexOf(section, name); index < entries.size()) {
        if (entries[index].value == value) {
            return;
        }
        entries[index].value = std::move(value);
    } else {
        entries.push_back({std::string(section), std::string(name), std::move(value)});
    }
    unsaved = true;
    if (batchDepth == 0) {
        Save();
    }
}

void IniSettingsStore::EndBatch() {
    if (--batchDepth == 0 && unsaved) {
        Save();
    }
}

void IniSettingsStore::Save() {
    // A failed save stays pending: the next write tries the whole file again.
    if (save && save(Text())) {
        unsaved = false;
    }
}

std::string IniSettingsStore::Text() const {
    // With a byte-order mark, so that every editor reads names in any script as UTF-8; each
    // section once, in the order first met, with line ends as Windows editors expect.
    std::string text(kByteOrderMark);
    std::vector<const std::string*> sections;
    for (const Entry& entry : entries) {
        bool seen = false;
        for (const std::string* section : sections) {
            seen = seen || SamePath(*section, entry.section);
        }
        if (!seen) {
            sections.push_back(&entry.section);
        }
    }
    for (const std::string* section : sections) {
        if (section != sections.front()) {
            text += "\r\n";
        }
        text += "[" + *section + "]\r\n";
        for (const Entry& entry : entries) {
            if (SamePath(entry.section, *section)) {
                const bool quoted = NeedsQuotes(entry.value);
                text += entry.name + "=" + (quoted ? "\"" : "") + entry.value +
                        (quoted ? "\"" : "") + "\r\n";
            }
        }
    }
    return text;
}
