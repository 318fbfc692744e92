// The list view's columns and the styles that depend on the common-controls version.
#pragma once

#include <optional>

struct ListColumnWidths {
    int filename = 0;
    int folder = 0;
};

// "Filename" takes a third of the client width, "Folder" two thirds.
inline ListColumnWidths ColumnWidthsFor(int clientWidth) {
    return {clientWidth / 3, clientWidth * 2 / 3};
}

struct CommonControlsVersion {
    unsigned major = 0;
    unsigned minor = 0;
};

// Full-row selection came with common controls 4.70; a library that does not report its
// version is 4.0.
inline bool HasFullRowSelect(std::optional<CommonControlsVersion> version) {
    if (!version) {
        return false;
    }
    return version->major > 4 || (version->major == 4 && version->minor >= 70);
}
