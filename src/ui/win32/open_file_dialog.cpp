// The open-file dialog for one file and the folder browser.
#include "ui/win32/open_file_dialog.h"

#include <commdlg.h>
#include <shlobj.h>

#include "base/win32/com_ptr.h"
#include "base/win32/deferred_import.h"
#include "base/win32/current_directory.h"
#include "base/win32/wide_text.h"

#include <vector>

std::optional<std::string> AskForFile(HWND owner, const wchar_t* filter,
                                      const wchar_t* defaultExtension, std::string& lastFolder) {
    // The dialog may move the current directory; it is put back.
    const CurrentDirectoryScope keep;
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring initialFolder = Widen(lastFolder);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = defaultExtension;
    ofn.lpstrInitialDir =
        !initialFolder.empty() && initialFolder.size() < MAX_PATH ? initialFolder.c_str() : nullptr;
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    auto* open = DeferredImport<decltype(GetOpenFileNameW)>("comdlg32.dll", "GetOpenFileNameW");
    if (open == nullptr || !open(&ofn)) {
        return std::nullopt;
    }
    // The chosen file's folder, from the dialog's result: a typed full path counts too.
    std::string chosenFolder = Narrow(std::wstring_view(file.data(), ofn.nFileOffset));
    if (chosenFolder.size() > 3 && chosenFolder.back() == '\\') {
        chosenFolder.pop_back();
    }
    lastFolder = chosenFolder;
    return Narrow(file.data());
}

namespace {

// The path of a shell item, at any length the shell gives.
std::wstring PathOfIdList(LPCITEMIDLIST item) {
    std::vector<wchar_t> path(32768, L'\0');
    if (!SHGetPathFromIDListEx(item, path.data(), static_cast<DWORD>(path.size()),
                               GPFIDL_DEFAULT)) {
        return std::wstring();
    }
    return path.data();
}

int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM lParam, LPARAM startFolder) {
    if (message == BFFM_INITIALIZED) {
        const auto* folder = reinterpret_cast<const std::wstring*>(startFolder);
        if (!folder->empty()) {
            SendMessageW(browser, BFFM_SETSELECTIONW, TRUE,
                         reinterpret_cast<LPARAM>(folder->c_str()));
        }
    } else if (message == BFFM_SELCHANGED) {
        const std::wstring path = PathOfIdList(reinterpret_cast<LPCITEMIDLIST>(lParam));
        if (!path.empty()) {
            SendMessageW(browser, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path.c_str()));
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
    const std::wstring start = Widen(startFolder);
    std::vector<wchar_t> displayName(32768, L'\0');
    BROWSEINFOW browse{};
    browse.hwndOwner = owner;
    browse.pszDisplayName = displayName.data();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    browse.lpfn = BrowseCallback;
    browse.lParam = reinterpret_cast<LPARAM>(&start);
    LPITEMIDLIST chosen = nullptr;
    {
        const CurrentDirectoryScope keep;
        chosen = SHBrowseForFolderW(&browse);
    }
    if (chosen == nullptr) {
        return std::nullopt;
    }
    std::string path = Narrow(PathOfIdList(chosen));
    allocator.Get()->Free(chosen);
    if (path.empty()) {
        return std::nullopt;
    }
    return path;
}
