// Owner of an open registry key.
#pragma once

#include <windows.h>

#include "base/win32/unique_resource.h"

struct RegistryKeyTraits {
    using Type = HKEY;
    static Type Empty() { return nullptr; }
    static bool IsOwned(Type key) { return key != nullptr; }
    static void Release(Type key) { RegCloseKey(key); }
};

using UniqueHKey = UniqueResource<RegistryKeyTraits>;
