// Owner of a kernel handle; both null and INVALID_HANDLE_VALUE mean none.
#pragma once

#include <windows.h>

#include "base/win32/unique_resource.h"

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Empty() { return nullptr; }
    static bool IsOwned(Type handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    static void Release(Type handle) { CloseHandle(handle); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
