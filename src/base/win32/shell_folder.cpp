// Asks the shell for the paths of the user's folders.
#include "base/win32/shell_folder.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>

#include "base/win32/ansi_text.h"
#include "base/win32/wide_text.h"

namespace {

struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};

template <class T>
using ComOwner = std::unique_ptr<T, ComRelease>;

// An item id list allocated by the shell, freed with the shell's allocator.
class ShellPidl {
public:
    explicit ShellPidl(IMalloc& allocator) : allocator(allocator) {}
    ShellPidl(const ShellPidl&) = delete;
    ShellPidl& operator=(const ShellPidl&) = delete;
    ~ShellPidl() {
        if (pidl != nullptr) {
            allocator.Free(pidl);
        }
    }

    LPITEMIDLIST* Put() { return &pidl; }
    LPCITEMIDLIST Get() const { return pidl; }

private:
    IMalloc& allocator;
    LPITEMIDLIST pidl = nullptr;
};

// The text of a display name; a wide string in it is freed with the shell's allocator.
std::string TakeStrRet(STRRET& name, LPCITEMIDLIST pidl, IMalloc& allocator) {
    switch (name.uType) {
        case STRRET_WSTR: {
            std::string text = Narrow(name.pOleStr);
            allocator.Free(name.pOleStr);
            name.pOleStr = nullptr;
            return text;
        }
        case STRRET_OFFSET:
            return Narrow(AnsiToWide(reinterpret_cast<const char*>(pidl) + name.uOffset));
        case STRRET_CSTR:
            return Narrow(AnsiToWide(std::string_view(
                name.cStr,
                static_cast<size_t>(std::find(std::begin(name.cStr), std::end(name.cStr), '\0') -
                                    std::begin(name.cStr)))));
        default:
            return {};
    }
}

}  // namespace

std::string ShellFolderPath(int folder) {
    IShellFolder* rawDesktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&rawDesktop))) {
        return {};
    }
    const ComOwner<IShellFolder> desktop(rawDesktop);

    IMalloc* rawAllocator = nullptr;
    if (FAILED(SHGetMalloc(&rawAllocator))) {
        return {};
    }
    const ComOwner<IMalloc> allocator(rawAllocator);

    ShellPidl pidl(*allocator);
    if (FAILED(SHGetSpecialFolderLocation(nullptr, folder, pidl.Put())) || pidl.Get() == nullptr) {
        return {};
    }
    STRRET name{};
    if (FAILED(desktop->GetDisplayNameOf(pidl.Get(), SHGDN_FORPARSING, &name))) {
        return {};
    }
    return TakeStrRet(name, pidl.Get(), *allocator);
}

std::string LocalAppDataPath() {
    wchar_t* path = nullptr;
    const HRESULT status = SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &path);
    std::string folder = SUCCEEDED(status) ? Narrow(path) : std::string();
    CoTaskMemFree(path);
    if (!folder.empty() && folder.back() == '\\') {
        folder.pop_back();
    }
    return folder;
}

bool MakeFolders(const std::string& path) {
    const std::wstring widePath = Widen(path);
    SHCreateDirectoryExW(nullptr, widePath.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesW(widePath.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
