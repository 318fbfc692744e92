// The one trampoline of every kind of window the program handles (a registered class, a
// dialog, a property page): it finds the object behind the window, calls it behind the
// exception barrier, and lets the object go when the window's last message has passed.
#pragma once

#include <windows.h>

#include "base/win32/exception_barrier.h"

// The object is stored in the window's slot (GWLP_USERDATA or DWLP_USER) by the creating
// message, which hands it over as created, and read from the slot for every other message.
// Without an object the message goes to unhandled(). At WM_NCDESTROY the slot is cleared and
// released(object) runs, whatever the handler did.
template <typename Object, typename Result, typename Handle, typename Released, typename Unhandled>
Result RouteToObject(HWND hwnd, UINT message, int slot, Object* created, const char* procedure,
                     Result fallback, Handle handle, Released released, Unhandled unhandled) {
    Object* self = created;
    if (self != nullptr) {
        SetWindowLongPtrW(hwnd, slot, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Object*>(GetWindowLongPtrW(hwnd, slot));
    }
    if (self == nullptr) {
        return unhandled();
    }
    const Result result = CallGuarded(procedure, fallback, [&] { return handle(*self); });
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, slot, 0);
        released(*self);
    }
    return result;
}
