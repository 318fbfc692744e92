// Asks the shell for the personal documents folder.
#include "app/win32/personal_folder.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>

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

// Empty when some character has no equivalent in the ANSI code page: a path with a
// replacement character in it names another folder or none.
std::string ToAnsi(const wchar_t* text) {
    const bool utf8 = GetACP() == CP_UTF8;
    // For UTF-8 the API refuses both the flag and the used-default report.
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
    const int size =
        WideCharToMultiByte(CP_ACP, flags, text, -1, nullptr, 0, nullptr, usedDefaultOut);
    if (size <= 0 || usedDefault) {
        return {};
    }
    std::string result(static_cast<size_t>(size), '\0');
    if (WideCharToMultiByte(CP_ACP, flags, text, -1, result.data(), size, nullptr,
                            usedDefaultOut) != size ||
        usedDefault) {
        return {};
    }
    result.resize(static_cast<size_t>(size) - 1);
    return result;
}

// The text of a display name; a wide string in it is freed with the shell's allocator.
std::string TakeStrRet(STRRET& name, LPCITEMIDLIST pidl, IMalloc& allocator) {
    switch (name.uType) {
        case STRRET_WSTR: {
            std::string text = name.pOleStr != nullptr ? ToAnsi(name.pOleStr) : std::string();
            allocator.Free(name.pOleStr);
            name.pOleStr = nullptr;
            return text;
        }
        case STRRET_OFFSET:
            return std::string(reinterpret_cast<const char*>(pidl) + name.uOffset);
        case STRRET_CSTR:
            return std::string(name.cStr,
                               std::find(std::begin(name.cStr), std::end(name.cStr), '\0'));
        default:
            return {};
    }
}

}  // namespace

std::string PersonalDocumentsFolder() {
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
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_PERSONAL, pidl.Put())) ||
        pidl.Get() == nullptr) {
        return {};
    }
    STRRET name{};
    if (FAILED(desktop->GetDisplayNameOf(pidl.Get(), SHGDN_FORPARSING, &name))) {
        return {};
    }
    return TakeStrRet(name, pidl.Get(), *allocator);
}
