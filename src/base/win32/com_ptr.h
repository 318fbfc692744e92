// Owners for COM: an interface pointer released when the owner goes, and COM initialisation for
// the current thread.
#pragma once

#include <objbase.h>

#include "base/win32/unique_resource.h"

template <typename T>
struct ComTraits {
    using Type = T*;
    static Type Empty() { return nullptr; }
    static bool IsOwned(Type p) { return p != nullptr; }
    static void Release(Type p) { p->Release(); }
};

template <typename T>
using ComPtr = UniqueResource<ComTraits<T>>;

// Initialises COM on this thread for the owner's lifetime. A thread that already runs in
// another apartment keeps it, and COM can still be used there.
class ScopedComInit {
public:
    ScopedComInit() : result(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~ScopedComInit() {
        if (SUCCEEDED(result)) {
            CoUninitialize();
        }
    }
    ScopedComInit(const ScopedComInit&) = delete;
    ScopedComInit& operator=(const ScopedComInit&) = delete;

    bool Usable() const { return SUCCEEDED(result) || result == RPC_E_CHANGED_MODE; }

private:
    HRESULT result;
};
