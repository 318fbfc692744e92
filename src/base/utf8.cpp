// UTF-8 text: decoding, encoding, repair, length and the portable case fold.
#include "base/utf8.h"

namespace utf8 {

char32_t Decode(std::string_view text, size_t& position) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(position);
    if (lead < 0x80) {
        ++position;
        return lead;
    }
    size_t count = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        count = 1, c = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        count = 2, c = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        count = 3, c = lead & 0x07, minimum = 0x10000;
    } else {
        ++position;
        return kReplacement;
    }
    if (text.size() - position <= count) {
        ++position;
        return kReplacement;
    }
    for (size_t i = 1; i <= count; ++i) {
        const unsigned char next = byte(position + i);
        if ((next & 0xC0) != 0x80) {
            ++position;
            return kReplacement;
        }
        c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++position;
        return kReplacement;
    }
    position += count + 1;
    return c;
}

void Append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool IsValid(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const size_t start = i;
        if (Decode(text, i) == kReplacement && text.substr(start, 3) != "\xEF\xBF\xBD") {
            return false;
        }
    }
    return true;
}

std::string Repaired(std::string_view text) {
    if (IsValid(text)) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size() + 8);
    for (size_t i = 0; i < text.size();) {
        Append(out, Decode(text, i));
    }
    return out;
}

size_t Utf16Length(std::string_view text) {
    size_t units = 0;
    for (size_t i = 0; i < text.size();) {
        units += Decode(text, i) >= 0x10000 ? 2 : 1;
    }
    return units;
}

namespace {

char32_t FoldChar(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
        (c >= 0x391 && c <= 0x3AB && c != 0x3A2) || (c >= 0x410 && c <= 0x42F)) {
        return c + 0x20;  // ASCII, Latin-1, Greek and basic Cyrillic capitals
    }
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177) ||
        (c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF)) {
        return c | 1;  // pairs with the capital on the even code
    }
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E) || (c >= 0x4C1 && c <= 0x4CE)) {
        return (c & 1) != 0 ? c + 1 : c;  // pairs with the capital on the odd code
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50;
    }
    switch (c) {
        case 0x178:
            return 0xFF;
        case 0x386:
            return 0x3AC;
        case 0x388:
        case 0x389:
        case 0x38A:
            return c + 0x25;
        case 0x38C:
            return 0x3CC;
        case 0x38E:
        case 0x38F:
            return c + 0x3F;
        case 0x3C2:
            return 0x3C3;  // final sigma
        default:
            return c;
    }
}

}  // namespace

std::string FoldCase(std::string_view text, mbcs::LeadBytePredicate) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (static_cast<unsigned char>(c) < 0x80) {  // the common case, without decoding
            out += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            ++i;
        } else {
            Append(out, FoldChar(Decode(text, i)));
        }
    }
    return out;
}

}  // namespace utf8

#ifdef _WIN32

namespace {

std::wstring WidePath(const std::string& path) {
    std::wstring widePath;
    for (size_t i = 0; i < path.size();) {
        const char32_t c = utf8::Decode(path, i);
        if (c >= 0x10000) {
            widePath += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            widePath += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            widePath += static_cast<wchar_t>(c);
        }
    }
    return widePath;
}

}  // namespace

std::FILE* OpenFileUtf8(const std::string& path, const char* mode) {
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(WidePath(path).c_str(), wideMode.c_str());
}

bool RemoveFileUtf8(const std::string& path) {
    return _wremove(WidePath(path).c_str()) == 0;
}

#else

std::FILE* OpenFileUtf8(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

bool RemoveFileUtf8(const std::string& path) {
    return std::remove(path.c_str()) == 0;
}

#endif
