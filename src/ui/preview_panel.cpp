#include "ui/preview_panel.h"

#include <algorithm>
#include <cctype>

namespace {

// What the bundled decoders read, and the system formats every Windows has.
constexpr const char* kOwnExtensions[] = {".bmp",  ".dib",  ".jpg",  ".jpeg", ".jpe", ".jfif",
                                          ".png",  ".gif",  ".tif",  ".tiff", ".ico", ".webp",
                                          ".avif", ".heic", ".heif", ".hif",  ".jxl"};

}  // namespace

std::string ImageFilePatterns(const std::vector<std::string>& systemExtensions) {
    std::vector<std::string> extensions(std::begin(kOwnExtensions), std::end(kOwnExtensions));
    for (const std::string& list : systemExtensions) {
        std::string one;
        for (std::size_t i = 0; i <= list.size(); ++i) {
            const char c = i < list.size() ? list[i] : ',';
            if (c == ',' || c == ';' || c == ' ') {
                // "*.tif" and ".tif" alike become ".tif"; anything without a dot is no pattern.
                const std::size_t dot = one.find('.');
                if (dot != std::string::npos && dot + 1 < one.size() &&
                    one.find_first_of("*?.", dot + 1) == std::string::npos) {
                    const std::string extension = one.substr(dot);
                    if (std::find(extensions.begin(), extensions.end(), extension) ==
                        extensions.end()) {
                        extensions.push_back(extension);
                    }
                }
                one.clear();
            } else {
                one += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            }
        }
    }
    std::string patterns;
    for (const std::string& extension : extensions) {
        patterns += (patterns.empty() ? "*" : ";*") + extension;
    }
    return patterns;
}
