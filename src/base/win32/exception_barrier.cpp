// The exception barrier's record of what it caught.
#include "base/win32/exception_barrier.h"

#include <windows.h>

#include <cstdio>
#include <exception>

void ReportCaughtException(const char* procedure) noexcept {
    // A fixed buffer: the report must not allocate, the failure may be an exhausted heap.
    char text[512];
    const std::exception_ptr current = std::current_exception();
    if (!current) {
        return;
    }
    try {
        std::rethrow_exception(current);
    } catch (const std::exception& caught) {
        std::snprintf(text, sizeof(text), "Velumar: %s caught an exception: %s\n", procedure,
                      caught.what());
    } catch (...) {
        std::snprintf(text, sizeof(text), "Velumar: %s caught an exception of unknown type\n",
                      procedure);
    }
    OutputDebugStringA(text);
}
