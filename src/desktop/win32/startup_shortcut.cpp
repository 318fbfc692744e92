// The start-at-logon shortcut on Windows: the Startup folder and the shell-link object.
#include "desktop/win32/startup_shortcut.h"

#include <shlobj.h>
#include <shobjidl.h>

#include "base/win32/ansi_text.h"
#include "base/win32/com_ptr.h"
#include "base/win32/message_box.h"
#include "desktop/startup_shortcut.h"
#include "list/path_helpers.h"
#include "list/win32/win32_file_system.h"

namespace {

// The Startup folder's path through the desktop folder's parsing name, or empty.
std::string StartupFolder() {
    ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Put()))) {
        return {};
    }
    ComPtr<IMalloc> allocator;
    if (FAILED(SHGetMalloc(allocator.Put()))) {
        return {};
    }
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_STARTUP, &items)) || items == nullptr) {
        return {};
    }
    std::string path;
    STRRET name{};
    if (SUCCEEDED(desktop.Get()->GetDisplayNameOf(items, SHGDN_FORPARSING, &name))) {
        switch (name.uType) {
            case STRRET_WSTR:
                if (name.pOleStr != nullptr) {
                    char text[256] = {};
                    WideCharToMultiByte(CP_ACP, 0, name.pOleStr, -1, text, sizeof(text) - 1,
                                        nullptr, nullptr);
                    path = text;
                    allocator.Get()->Free(name.pOleStr);
                }
                break;
            case STRRET_OFFSET:
                path = reinterpret_cast<const char*>(items) + name.uOffset;
                break;
            case STRRET_CSTR:
                path = name.cStr;
                break;
            default:
                break;
        }
    }
    allocator.Get()->Free(items);
    return path;
}

}  // namespace

void CreateStartupShortcut(HWND owner, const std::string& target) {
    std::string folder = StartupFolder();
    Win32FileSystem fileSystem;
    if (folder.empty() || !IsFolderPath(folder, fileSystem)) {
        return;
    }
    ShortcutNames names = StartupShortcutNames(folder, target, IsAnsiLeadByte);
    if (!CreateShellLink(owner, target, names.file, names.description)) {
        ShowMessageBox(owner, "Error creating shortcut.");
    }
}

bool CreateShellLink(HWND owner, const std::string& target, const std::string& linkFile,
                     const std::string& description) {
    HRESULT status = CoInitialize(nullptr);
    if (FAILED(status)) {
        return false;
    }
    {
        ComPtr<IShellLinkA> link;
        status = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(link.Put()));
        if (SUCCEEDED(status)) {
            ComPtr<IPersistFile> file;
            status =
                link.Get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Put()));
            if (SUCCEEDED(status)) {
                if (FAILED(link.Get()->SetPath(target.c_str()))) {
                    ShowMessageBox(owner, "SetPath failed!");
                }
                if (FAILED(link.Get()->SetDescription(description.c_str()))) {
                    ShowMessageBox(owner, "SetDescription failed!");
                }
                wchar_t wideName[MAX_PATH] = {};
                MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, wideName, MAX_PATH - 1);
                status = file.Get()->Save(wideName, TRUE);
            }
        }
    }
    CoUninitialize();
    return SUCCEEDED(status);
}
