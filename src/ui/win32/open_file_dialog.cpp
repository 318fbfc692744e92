// The open-file dialog for one file, starting in a remembered folder.
#include "ui/win32/open_file_dialog.h"

#include <commdlg.h>

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
