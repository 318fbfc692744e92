// The performance counter as the Windows benchmark programs read it.
#pragma once

#include <windows.h>

inline LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

inline double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

inline double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    return 1000.0 * Seconds(from, to);
}
