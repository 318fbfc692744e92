// A JPEG made to record an orientation, as cameras and phones do: an APP1 segment holding EXIF
// data with only the orientation tag, put right after the start-of-image marker.
#pragma once

#include <string>

inline std::string WithExifOrientation(const std::string& jpeg, int orientation) {
    // "Exif\0\0", then a little-endian TIFF header and one IFD of one SHORT entry (0x0112).
    const std::string exif =
        std::string("Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0", 24) +
        static_cast<char>(orientation) + std::string(7, '\0');
    const std::size_t length = exif.size() + 2;
    const std::string segment = std::string("\xFF\xE1", 2) + static_cast<char>(length >> 8) +
                                static_cast<char>(length & 0xFF) + exif;
    return jpeg.substr(0, 2) + segment + jpeg.substr(2);
}
