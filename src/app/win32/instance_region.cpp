// A named block of shared memory on the paging file that tells whether this process made it.
#include "app/win32/instance_region.h"

#include <algorithm>
#include <cstring>

#include "app/region_bounds.h"
#include "base/win32/wide_text.h"

bool InstanceRegion::Open(unsigned regionSize, const std::string& name) {
    Close();
    size = regionSize;
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        regionSize, Widen(name).c_str());
    // Read before anything else can change the thread's last error.
    created = GetLastError() != ERROR_ALREADY_EXISTS;
    if (mapping == nullptr) {
        return false;
    }
    handle.Reset(mapping);
    view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0);
    if (view == nullptr) {
        handle.Reset();
        return false;
    }
    return true;
}

bool InstanceRegion::OpenExisting(unsigned regionSize, const std::string& name) {
    Close();
    handle.Reset(OpenFileMappingW(FILE_MAP_READ, FALSE, Widen(name).c_str()));
    view = handle ? MapViewOfFile(handle.Get(), FILE_MAP_READ, 0, 0, 0) : nullptr;
    MEMORY_BASIC_INFORMATION mapped{};
    if (view == nullptr || VirtualQuery(view, &mapped, sizeof(mapped)) == 0) {
        Close();
        return false;
    }
    // The holder may have made the block smaller than expected.
    size = static_cast<unsigned>(std::min<SIZE_T>(regionSize, mapped.RegionSize));
    return true;
}

bool InstanceRegion::Read(size_t offset, size_t count, void* destination, size_t* copied) const {
    if (view == nullptr) {
        return false;
    }
    std::optional<size_t> n = BoundedReadCount(size, offset, count);
    if (!n) {
        return false;
    }
    std::memcpy(destination, static_cast<const char*>(view) + offset, *n);
    if (copied != nullptr) {
        *copied = *n;
    }
    return true;
}

void InstanceRegion::Close() {
    if (view != nullptr) {
        UnmapViewOfFile(view);
        view = nullptr;
    }
    handle.Reset();
    created = false;
}
