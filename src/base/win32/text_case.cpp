// Letter case of names as Windows compares them.
#include "base/win32/text_case.h"

#include <windows.h>

#include <algorithm>

#include "base/win32/wide_text.h"

std::string FoldCaseOrdinal(std::string_view text, mbcs::LeadBytePredicate) {
    // ASCII text, most paths, folds to its lower case without a trip through UTF-16.
    if (std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; })) {
        return mbcs::AsciiLower(text, mbcs::NoLeadBytes);
    }
    std::wstring wide = Widen(text);
    if (wide.empty()) {
        return std::string(text);
    }
    std::wstring upper(wide.size(), L'\0');
    const int length = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, wide.data(),
                                     static_cast<int>(wide.size()), upper.data(),
                                     static_cast<int>(upper.size()), nullptr, nullptr, 0);
    const bool mapped = length == static_cast<int>(wide.size());
    for (size_t i = 0; i < wide.size(); ++i) {
        wchar_t& c = wide[i];
        // The ordinal comparison maps single UTF-16 units only, as the file system does: a
        // character beyond the basic plane keeps its case.
        if (mapped && (c < 0xD800 || c > 0xDFFF)) {
            c = upper[i];
        }
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
    }
    return Narrow(wide);
}
