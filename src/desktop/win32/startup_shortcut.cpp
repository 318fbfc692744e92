// The start-at-logon shortcut on Windows: the Startup folder and the shell-link object.
#include "desktop/win32/startup_shortcut.h"

#include <shlobj.h>
#include <shobjidl.h>

#include "base/win32/com_ptr.h"
#include "base/win32/message_box.h"
#include "base/win32/shell_folder.h"
#include "base/win32/wide_text.h"
#include "desktop/startup_shortcut.h"
#include "list/path_helpers.h"
#include "list/win32/win32_file_system.h"

namespace {

// The shell's link object, with failures reported in boxes owned by the window.
class ComShellLink final : public ShellLink {
public:
    ComShellLink(HWND owner, IShellLinkW& link, IPersistFile& file)
        : owner(owner), link(link), file(file) {}

    bool SetPath(const std::string& target) override {
        return SUCCEEDED(link.SetPath(Widen(target).c_str()));
    }
    bool SetDescription(const std::string& description) override {
        return SUCCEEDED(link.SetDescription(Widen(description).c_str()));
    }
    bool Save(const std::string& name) override {
        return SUCCEEDED(file.Save(Widen(name).c_str(), TRUE));
    }
    void ShowMessage(const std::string& text) override { ShowMessageBox(owner, text); }

private:
    HWND owner;
    IShellLinkW& link;
    IPersistFile& file;
};

}  // namespace

void CreateStartupShortcut(HWND owner, const std::string& target) {
    std::string folder = ShellFolderPath(CSIDL_STARTUP);
    Win32FileSystem fileSystem;
    if (folder.empty() || !IsFolderPath(folder, fileSystem)) {
        return;
    }
    ShortcutNames names = StartupShortcutNames(folder, target, mbcs::NoLeadBytes);
    if (!CreateShellLink(owner, target, names.file, names.description)) {
        ShowMessageBox(owner, "Error creating shortcut.");
    }
}

bool CreateShellLink(HWND owner, const std::string& target, const std::string& linkFile,
                     const std::string& description) {
    if (FAILED(CoInitialize(nullptr))) {
        return false;
    }
    bool saved = false;
    {
        ComPtr<IShellLinkW> link;
        ComPtr<IPersistFile> file;
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IShellLinkW, reinterpret_cast<void**>(link.Put()))) &&
            SUCCEEDED(link.Get()->QueryInterface(IID_IPersistFile,
                                                 reinterpret_cast<void**>(file.Put())))) {
            ComShellLink shellLink(owner, *link.Get(), *file.Get());
            saved = WriteShellLink(shellLink, target, linkFile, description);
        }
    }
    CoUninitialize();
    return saved;
}
