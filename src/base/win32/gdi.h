// Owners for GDI objects: an object deleted when its owner goes, and a selection into a DC
// undone when the scope ends.
#pragma once

#include <windows.h>

#include "base/win32/unique_resource.h"

struct GdiObjectTraits {
    using Type = HGDIOBJ;
    static Type Empty() { return nullptr; }
    static bool IsOwned(Type object) { return object != nullptr; }
    static void Release(Type object) { DeleteObject(object); }
};

using UniqueGdiObject = UniqueResource<GdiObjectTraits>;

class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) : dc(dc), previous(SelectObject(dc, object)) {}
    ~ScopedSelectObject() { SelectObject(dc, previous); }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

private:
    HDC dc;
    HGDIOBJ previous;
};
