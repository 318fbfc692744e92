// An in-memory file system for the list tests: attributes, folder listings in a fixed order,
// folder identities and file contents.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "list/file_system.h"

class FakeFileSystem final : public FileSystem {
public:
    // A folder; its entries are listed in the order they are added.
    void AddFolder(const std::string& path) {
        attributes[path] = kAttributeDirectory;
        AddToParent(path, kAttributeDirectory);
    }
    void AddFile(const std::string& path, const std::string& contents = "",
                 uint32_t fileAttributes = 0x20) {
        attributes[path] = fileAttributes;
        files[path] = contents;
        AddToParent(path, fileAttributes);
    }

    std::optional<uint32_t> Attributes(const std::string& path) override {
        auto found = attributes.find(path);
        return found == attributes.end() ? std::nullopt : std::optional<uint32_t>(found->second);
    }
    bool Enumerate(const std::string& pattern,
                   const std::function<void(std::string_view, uint32_t)>& onEntry) override {
        enumerated.push_back(pattern);
        std::string folder = pattern.substr(0, pattern.size() - 4);  // drop "\*.*"
        if (!attributes.contains(folder)) {
            return false;
        }
        onEntry(".", kAttributeDirectory);
        onEntry("..", kAttributeDirectory);
        for (const auto& [name, bits] : listings[folder]) {
            onEntry(name, bits);
        }
        return true;
    }
    std::optional<FolderIdentity> Identity(const std::string& folder) override {
        std::string key = folder.substr(0, folder.size() - 1);
        auto link = links.find(key);
        if (link != links.end()) {
            key = link->second;
        }
        if (!attributes.contains(key)) {
            return std::nullopt;
        }
        return FolderIdentity{1, std::hash<std::string>{}(key)};
    }
    std::optional<std::string> ReadFile(const std::string& path) override {
        auto found = files.find(path);
        return found == files.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    std::optional<FilePart> ReadFilePart(const std::string& path, uint64_t offset,
                                         size_t count) override {
        auto found = files.find(path);
        if (found == files.end()) {
            return std::nullopt;
        }
        const std::string& all = found->second;
        return FilePart{offset < all.size() ? all.substr(offset, count) : "", all.size()};
    }
    bool SaveFile(const std::string& path, std::string_view contents) override {
        if (failSaves) {
            return false;
        }
        files[path] = std::string(contents);
        return true;
    }
    bool AppendToFile(const std::string& path, std::string_view contents) override {
        if (failSaves) {
            return false;
        }
        files[path] += contents;
        return true;
    }

    // A folder entry that leads to another folder, as a junction does.
    void AddLink(const std::string& path, const std::string& target) {
        AddFolder(path);
        links[path] = target;
        listings[path] = listings[target];
    }

    std::map<std::string, std::string> files;
    std::vector<std::string> enumerated;
    bool failSaves = false;

private:
    void AddToParent(const std::string& path, uint32_t bits) {
        size_t slash = path.rfind('\\');
        if (slash != std::string::npos) {
            listings[path.substr(0, slash)].emplace_back(path.substr(slash + 1), bits);
        }
    }

    std::map<std::string, uint32_t> attributes;
    std::map<std::string, std::vector<std::pair<std::string, uint32_t>>> listings;
    std::map<std::string, std::string> links;
};
