// The system's ANSI code page through MultiByteToWideChar and WideCharToMultiByte.
#include "list/win32/win32_code_page.h"

#include <windows.h>

#include "base/win32/ansi_text.h"
#include "base/win32/wide_text.h"

namespace {

class Win32AnsiCodePage final : public AnsiCodePage {
public:
    std::string ToUtf8(std::string_view ansi) const override { return Narrow(AnsiToWide(ansi)); }

    std::optional<std::string> FromUtf8(std::string_view utf8) const override {
        if (utf8.empty()) {
            return std::string();
        }
        const std::wstring wide = Widen(utf8);
        // An embedded NUL would end the text early; Widen never drops one, so compare lengths.
        if (wide.find(L'\0') != std::wstring::npos) {
            return std::nullopt;
        }
        std::string ansi = WideToAnsi(wide.c_str());
        if (ansi.empty()) {
            return std::nullopt;
        }
        return ansi;
    }
};

}  // namespace

const AnsiCodePage& SystemAnsiCodePage() {
    static const Win32AnsiCodePage codePage;
    return codePage;
}
