// Functions of system libraries that are loaded only when first called. The common dialogs bring
// the printing system (and through it a network and encryption stack) and HTML Help its control;
// loaded at start-up they would stay resident for a program that mostly sits idle.
#pragma once

#include <windows.h>

// The function, loading its library when it is not yet loaded (or, with loadLibrary false,
// only when it is); null when the library or the function is missing.
template <typename Function>
Function* DeferredImport(const char* library, const char* name, bool loadLibrary = true) {
    HMODULE module = GetModuleHandleA(library);
    if (module == nullptr && loadLibrary) {
        module = LoadLibraryA(library);
    }
    if (module == nullptr) {
        return nullptr;
    }
    // Through a generic function pointer: FARPROC is only a placeholder type.
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}
