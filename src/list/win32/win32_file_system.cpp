// The file system through the wide Win32 file API; paths are UTF-8.
#include "list/win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>
#include <new>

#include "base/mbcs.h"
#include "base/win32/unique_handle.h"
#include "base/win32/wide_text.h"

namespace {

struct FindHandleTraits {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsOwned(Type handle) { return handle != INVALID_HANDLE_VALUE; }
    static void Release(Type handle) { FindClose(handle); }
};
using UniqueFindHandle = UniqueResource<FindHandleTraits>;

bool WriteAll(HANDLE file, std::string_view contents) {
    while (!contents.empty()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(contents.size(), 1u << 24));
        DWORD written = 0;
        if (!WriteFile(file, contents.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        contents.remove_prefix(written);
    }
    return true;
}

}  // namespace

std::optional<uint32_t> Win32FileSystem::Attributes(const std::string& path) {
    DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;
    }
    return attributes;
}

bool Win32FileSystem::Enumerate(const std::string& pattern,
                                const std::function<void(std::string_view, uint32_t)>& onEntry) {
    WIN32_FIND_DATAW data;
    // No short names are needed, and large fetches cut the round trips per folder.
    UniqueFindHandle find(FindFirstFileExW(Widen(pattern).c_str(), FindExInfoBasic, &data,
                                           FindExSearchNameMatch, nullptr,
                                           FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        return false;
    }
    do {
        onEntry(Narrow(data.cFileName), data.dwFileAttributes);
    } while (FindNextFileW(find.Get(), &data));
    return true;
}

std::optional<FolderIdentity> Win32FileSystem::Identity(const std::string& folder) {
    // Backup semantics let CreateFile open a folder; no access right is needed for the query.
    UniqueHandle handle(CreateFileW(Widen(folder).c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!handle || !GetFileInformationByHandle(handle.Get(), &info)) {
        return std::nullopt;
    }
    return FolderIdentity{info.dwVolumeSerialNumber,
                          (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

std::optional<std::string> Win32FileSystem::ReadFile(const std::string& path) {
    UniqueHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) {
        return std::nullopt;
    }
    try {
        std::string contents(static_cast<size_t>(size.QuadPart), '\0');
        size_t done = 0;
        while (done < contents.size()) {
            DWORD chunk = static_cast<DWORD>(std::min<size_t>(contents.size() - done, 1u << 24));
            DWORD read = 0;
            if (!::ReadFile(file.Get(), contents.data() + done, chunk, &read, nullptr)) {
                return std::nullopt;
            }
            if (read == 0) {
                break;
            }
            done += read;
        }
        contents.resize(done);
        return contents;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

std::optional<FilePart> Win32FileSystem::ReadFilePart(const std::string& path, uint64_t offset,
                                                      size_t count) {
    UniqueHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) {
        return std::nullopt;
    }
    FilePart part;
    part.fileSize = static_cast<uint64_t>(size.QuadPart);
    if (offset >= part.fileSize) {
        return part;
    }
    part.bytes.resize(static_cast<size_t>(
        std::min<uint64_t>({uint64_t{count}, part.fileSize - offset, uint64_t{1} << 24})));
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    DWORD read = 0;
    if (!SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN) ||
        !::ReadFile(file.Get(), part.bytes.data(), static_cast<DWORD>(part.bytes.size()), &read,
                    nullptr)) {
        return std::nullopt;
    }
    part.bytes.resize(read);
    return part;
}

namespace {

// One temporary name per file: a save cut short (the process killed, the power gone) leaves at
// most this one file, which the next save writes over and moves into place.
std::string TemporaryPathOf(const std::string& path) {
    return path + ".tmp";
}

}  // namespace

void Win32FileSystem::RemoveUnfinishedSave(const std::string& path) {
    DeleteFileW(Widen(TemporaryPathOf(path)).c_str());
}

bool Win32FileSystem::AppendToFile(const std::string& path, std::string_view contents) {
    UniqueHandle file(CreateFileW(Widen(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteAll(file.Get(), contents);
}

bool Win32FileSystem::SaveFile(const std::string& path, std::string_view contents) {
    const std::wstring temporaryPath = Widen(TemporaryPathOf(path));
    const wchar_t* temporary = temporaryPath.c_str();
    bool written = false;
    {
        UniqueHandle file(CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        written = file && WriteAll(file.Get(), contents) && FlushFileBuffers(file.Get());
    }
    if (written && MoveFileExW(temporary, Widen(path).c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    // The error of the failed step, not of the clean-up, is what the caller reports.
    const DWORD error = GetLastError();
    DeleteFileW(temporary);
    SetLastError(error);
    return false;
}
