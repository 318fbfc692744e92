// The open-file dialog for one file and the folder browser.
#include "ui/win32/open_file_dialog.h"

#include <commdlg.h>
#include <shlobj.h>

#include "base/win32/ansi_text.h"
#include "base/win32/com_ptr.h"
#include "base/win32/deferred_import.h"
#include "base/win32/current_directory.h"

#include <vector>

std::optional<std::string> AskForFile(HWND owner, const char* filter, const char* defaultExtension,
                                      std::string& lastFolder) {
    // The dialog may move the current directory; it is put back.
    const CurrentDirectoryScope keep;
    std::vector<char> file(32768, '\0');
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = defaultExtension;
    ofn.lpstrInitialDir =
        !lastFolder.empty() && lastFolder.size() < MAX_PATH ? lastFolder.c_str() : nullptr;
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    auto* open = DeferredImport<decltype(GetOpenFileNameA)>("comdlg32.dll", "GetOpenFileNameA");
    if (open == nullptr || !open(&ofn)) {
        return std::nullopt;
    }
    // The chosen file's folder, from the dialog's result: a typed full path counts too.
    std::string chosenFolder(file.data(), ofn.nFileOffset);
    if (chosenFolder.size() > 3 && chosenFolder.back() == '\\') {
        chosenFolder.pop_back();
    }
    lastFolder = chosenFolder;
    return std::string(file.data());
}

namespace {

// The path of a shell item, at any length the shell gives.
std::string PathOfIdList(LPCITEMIDLIST item) {
    std::vector<wchar_t> path(32768, L'\0');
    if (!SHGetPathFromIDListEx(item, path.data(), static_cast<DWORD>(path.size()),
                               GPFIDL_DEFAULT)) {
        return std::string();
    }
    return WideToAnsi(path.data());
}

int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM lParam, LPARAM startFolder) {
    if (message == BFFM_INITIALIZED) {
        const auto* folder = reinterpret_cast<const std::string*>(startFolder);
        if (!folder->empty()) {
            SendMessageA(browser, BFFM_SETSELECTIONA, TRUE,
                         reinterpret_cast<LPARAM>(folder->c_str()));
        }
    } else if (message == BFFM_SELCHANGED) {
        const std::string path = PathOfIdList(reinterpret_cast<LPCITEMIDLIST>(lParam));
        if (!path.empty()) {
            SendMessageA(browser, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path.c_str()));
        }
    }
    return 0;
}

}  // namespace

std::optional<std::string> AskForFolder(HWND owner, const std::string& startFolder) {
    ComPtr<IMalloc> allocator;
    if (FAILED(SHGetMalloc(allocator.Put()))) {
        return std::nullopt;
    }
    std::vector<char> displayName(32768, '\0');
    BROWSEINFOA browse{};
    browse.hwndOwner = owner;
    browse.pszDisplayName = displayName.data();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    browse.lpfn = BrowseCallback;
    browse.lParam = reinterpret_cast<LPARAM>(&startFolder);
    LPITEMIDLIST chosen = nullptr;
    {
        const CurrentDirectoryScope keep;
        chosen = SHBrowseForFolderA(&browse);
    }
    if (chosen == nullptr) {
        return std::nullopt;
    }
    std::string path = PathOfIdList(chosen);
    allocator.Get()->Free(chosen);
    if (path.empty()) {
        return std::nullopt;
    }
    return path;
}
