// Letter case of names as Windows compares them.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "base/mbcs.h"
#include "base/win32/wide_text.h"

// Folds a UTF-8 name so two names fold alike exactly when CompareStringOrdinal with ignore-case
// finds them equal: both go through the system's invariant upper-case table, in any script.
// ASCII letters then go to lower case, so names sort around "_" and "[" as they always did.
inline std::string FoldCaseOrdinal(std::string_view text, mbcs::LeadBytePredicate) {
    std::wstring wide = Widen(text);
    if (wide.empty()) {
        return std::string(text);
    }
    std::wstring upper(wide.size(), L'\0');
    const int length = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, wide.data(),
                                     static_cast<int>(wide.size()), upper.data(),
                                     static_cast<int>(upper.size()), nullptr, nullptr, 0);
    if (length == static_cast<int>(wide.size())) {
        wide = std::move(upper);
    }
    for (wchar_t& c : wide) {
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
    }
    return Narrow(wide);
}
