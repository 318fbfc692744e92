// A named block of shared memory on the paging file that tells whether this process made it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "base/win32/unique_handle.h"

class InstanceRegion {
public:
    InstanceRegion() = default;
    InstanceRegion(const InstanceRegion&) = delete;
    InstanceRegion& operator=(const InstanceRegion&) = delete;
    ~InstanceRegion() { Close(); }

    // Creates or opens the named block of size bytes and maps all of it. False when either
    // step fails; WasCreated then still tells whether the name was new.
    bool Open(unsigned size, const std::string& name);
    // Opens a block another process holds, for reading only (at most size bytes of it); never
    // creates one. False when no process holds the name or it cannot be read.
    bool OpenExisting(unsigned size, const std::string& name);
    bool WasCreated() const { return created; }
    // Copies at most count bytes from offset, never past the end of the block. False when the
    // offset is at or beyond the end or nothing is mapped; copied receives the byte count.
    bool Read(size_t offset, size_t count, void* destination, size_t* copied = nullptr) const;
    void Close();

private:
    void* view = nullptr;
    UniqueHandle handle;
    bool created = false;
    unsigned size = 0;
};
