// Handing a picture file to the shell.
#include "ui/win32/shell_commands.h"

#include <shlobj.h>

#include <cstdint>
#include <optional>

#include "base/win32/message_box.h"
#include "base/win32/wide_text.h"
#include "ui/shell_open.h"
#include "ui/win32/resource_text.h"

void OpenWithShell(HINSTANCE instance, HWND owner, const std::string& path) {
    HINSTANCE opened =
        ShellExecuteW(owner, L"open", Widen(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    auto result = reinterpret_cast<std::intptr_t>(opened);
    std::optional<OpenFailureMessage> failure = OpenFailureFor(result);
    if (!failure) {
        return;
    }
    std::string text = LoadResourceText(instance, static_cast<UINT>(failure->stringId));
    if (failure->showsResult) {
        size_t at = text.find("%d");
        if (at != std::string::npos) {
            text.replace(at, 2, std::to_string(result));
        }
    }
    const std::wstring wideText = Widen(text);
    const std::wstring caption = Widen(kMessageBoxCaption);
    MSGBOXPARAMSW box{};
    box.cbSize = sizeof(box);
    box.hwndOwner = owner;
    box.hInstance = instance;
    box.lpszText = wideText.c_str();
    box.lpszCaption = caption.c_str();
    box.dwStyle = MB_OK;
    box.dwContextHelpId = static_cast<DWORD_PTR>(failure->stringId);
    MessageBoxIndirectW(&box);
}

bool ShowInFolder(const std::string& path) {
    const std::wstring wide = Widen(path);
    if (PIDLIST_ABSOLUTE item = ILCreateFromPathW(wide.c_str())) {
        // With no children named, the item itself is selected in its parent folder.
        const HRESULT result = SHOpenFolderAndSelectItems(item, 0, nullptr, 0);
        ILFree(item);
        // S_FALSE: the shell started Explorer but found no window of it to select in.
        if (result == S_OK) {
            return true;
        }
    }
    // Where the shell cannot (no shell windows service), Explorer is asked directly.
    const std::wstring arguments = L"/select,\"" + wide + L"\"";
    const auto started = reinterpret_cast<std::intptr_t>(ShellExecuteW(
        nullptr, L"open", L"explorer.exe", arguments.c_str(), nullptr, SW_SHOWNORMAL));
    return started > 32;
}
