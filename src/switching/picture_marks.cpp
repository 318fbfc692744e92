// Marked pictures and their files.
#include "switching/picture_marks.h"

#include <algorithm>
#include <charconv>

#include "base/text_lines.h"

std::string PictureMarks::KeyOf(std::string_view path, int page) {
    std::string key = std::to_string(page);
    key += '\t';
    for (const char c : path) {
        key += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return key;
}

bool PictureMarks::Contains(std::string_view path, int page) const {
    return !keys.empty() && keys.contains(KeyOf(path, page));
}

bool PictureMarks::Add(const MarkedPicture& picture) {
    if (picture.path.empty() || !keys.insert(KeyOf(picture.path, picture.page)).second) {
        return false;
    }
    pictures.push_back(picture);
    return true;
}

bool PictureMarks::Remove(const MarkedPicture& picture) {
    const std::string key = KeyOf(picture.path, picture.page);
    if (keys.erase(key) == 0) {
        return false;
    }
    std::erase_if(pictures, [&](const MarkedPicture& p) { return KeyOf(p.path, p.page) == key; });
    return true;
}

std::string PictureMarks::ToText() const {
    std::string text;
    for (const MarkedPicture& picture : pictures) {
        text += std::to_string(picture.page);
        text += '\t';
        text += picture.path;
        text += "\r\n";
    }
    return text;
}

PictureMarks PictureMarks::FromText(std::string_view text) {
    PictureMarks marks;
    while (!text.empty()) {
        std::string_view line = TakeLine(text);
        const std::size_t tab = line.find('\t');
        if (tab == 0 || tab == std::string_view::npos || tab + 1 == line.size()) {
            continue;
        }
        MarkedPicture picture;
        const char* last = line.data() + tab;
        const auto [rest, error] = std::from_chars(line.data(), last, picture.page);
        if (error != std::errc() || rest != last || picture.page < 0 || picture.page > 0xFFFF) {
            continue;
        }
        picture.path = std::string(line.substr(tab + 1));
        marks.Add(picture);
    }
    return marks;
}

ShowPicture PictureMeant(const std::vector<ShowPicture>& onDesktop,
                         const std::vector<MonitorRect>& monitors,
                         std::optional<std::pair<int, int>> point) {
    if (onDesktop.empty()) {
        return {};
    }
    std::size_t meant = 0;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const MonitorRect& m = monitors[i];
        if (point && point->first >= m.left && point->first < m.right && point->second >= m.top &&
            point->second < m.bottom) {
            meant = i;
            break;
        }
        if (m.primary) {
            meant = i;
        }
    }
    // A show with fewer pictures than monitors repeats from its start.
    return onDesktop[meant % onDesktop.size()];
}
