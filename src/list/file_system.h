// The file-system services the list needs: attributes, folder enumeration, whole-file reads
// and writes that replace a file only when the new contents are complete.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

inline constexpr uint32_t kAttributeVolumeLabel = 0x08;
inline constexpr uint32_t kAttributeDirectory = 0x10;

// Identity of a folder on its volume, the same for every path that reaches it.
struct FolderIdentity {
    uint64_t volume = 0;
    uint64_t index = 0;

    auto operator<=>(const FolderIdentity&) const = default;
};

// A piece of a file and the file's whole size.
struct FilePart {
    std::string bytes;
    uint64_t fileSize = 0;
};

class FileSystem {
public:
    // Attribute bits of the path, or nothing when its status cannot be read.
    virtual std::optional<uint32_t> Attributes(const std::string& path) = 0;
    // Calls onEntry for every entry matching the pattern (a folder followed by "*.*"), in the
    // file system's order, "." and ".." included. False when the enumeration cannot start.
    virtual bool Enumerate(
        const std::string& pattern,
        const std::function<void(std::string_view name, uint32_t attributes)>& onEntry) = 0;
    // Identity of a folder, or nothing when the file system does not tell.
    virtual std::optional<FolderIdentity> Identity(const std::string& folder) = 0;
    // The whole contents of a file, or nothing when it cannot be opened or read.
    virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
    // Up to count bytes from offset (fewer at the end), for reading a header without the rest;
    // nothing when the file cannot be opened or read.
    virtual std::optional<FilePart> ReadFilePart(const std::string& path, uint64_t offset,
                                                 size_t count) = 0;
    // Writes the contents to a temporary file beside path, then puts it in place of path.
    // On failure the file at path is as it was.
    virtual bool SaveFile(const std::string& path, std::string_view contents) = 0;
    // Adds the contents at the end of the file (made when missing), without flushing it.
    virtual bool AppendToFile(const std::string& path, std::string_view contents) = 0;

protected:
    FileSystem() = default;
    ~FileSystem() = default;
};
