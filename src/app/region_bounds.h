// The bounds rule of reads from a fixed-size shared-memory region.
#pragma once

#include <cstddef>
#include <optional>

// How many bytes a read of count bytes at offset may copy from a region of size bytes: never
// past the end; nothing at all when the offset is at or beyond the end.
inline std::optional<size_t> BoundedReadCount(size_t size, size_t offset, size_t count) {
    if (offset >= size) {
        return std::nullopt;
    }
    return count < size - offset ? count : size - offset;
}
