// Small path helpers shared by the whole program.
#include "list/path_helpers.h"

#include <algorithm>

namespace {

bool IsRecycleBinPath(std::string_view path) {
    constexpr std::string_view kRecycled = ":\\RECYCLED";
    if (path.size() < 1 + kRecycled.size()) {
        return false;
    }
    for (size_t i = 0; i < kRecycled.size(); ++i) {
        char c = path[1 + i];
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        if (c != kRecycled[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

PathParts SplitPath(std::string_view path, mbcs::LeadBytePredicate isLeadByte) {
    size_t slash = mbcs::FindLast(path, '\\', isLeadByte);
    if (slash == std::string_view::npos) {
        return {std::string(), std::string(path)};
    }
    return {std::string(path.substr(0, slash)), std::string(path.substr(slash + 1))};
}

std::string StripExtension(std::string_view text, mbcs::LeadBytePredicate isLeadByte) {
    size_t dot = mbcs::FindLast(text, '.', isLeadByte);
    size_t slash = mbcs::FindLast(text, '\\', isLeadByte);
    if (dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash)) {
        return std::string(text.substr(0, dot));
    }
    return std::string(text);
}

bool IsFolderPath(const std::string& path, FileSystem& fileSystem) {
    if (IsRecycleBinPath(path)) {
        return false;
    }
    if (std::optional<uint32_t> attributes = fileSystem.Attributes(path)) {
        return (*attributes & kAttributeDirectory) != 0;
    }
    bool driveRoot = path.size() == 3 && path[1] == ':' && path[2] == '\\';
    bool networkPath = path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
    return driveRoot || networkPath;
}

bool IsExistingFile(const std::string& path, FileSystem& fileSystem) {
    std::optional<uint32_t> attributes = fileSystem.Attributes(path);
    return attributes && (*attributes & (kAttributeDirectory | kAttributeVolumeLabel)) == 0;
}

bool SamePath(std::string_view a, std::string_view b) {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}
