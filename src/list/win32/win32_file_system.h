// The file system through the wide Win32 file API; paths are UTF-8.
#pragma once

#include "list/file_system.h"

class Win32FileSystem final : public FileSystem {
public:
    std::optional<uint32_t> Attributes(const std::string& path) override;
    bool Enumerate(const std::string& pattern,
                   const std::function<void(std::string_view, uint32_t)>& onEntry) override;
    std::optional<FolderIdentity> Identity(const std::string& folder) override;
    std::optional<std::string> ReadFile(const std::string& path) override;
    std::optional<FilePart> ReadFilePart(const std::string& path, uint64_t offset,
                                         size_t count) override;
    bool SaveFile(const std::string& path, std::string_view contents) override;
    bool AppendToFile(const std::string& path, std::string_view contents) override;
    // Removes the temporary file a save of that file left when it was cut short.
    void RemoveUnfinishedSave(const std::string& path);
};
