// The exception barrier of every window, dialog and thread procedure: nothing unwinds into
// USER32, COM or the C runtime's thread start.
#pragma once

// Runs the handler and returns its result, or the fallback when it threw.
template <typename Result, typename Handler>
Result CallGuarded(Result fallback, Handler&& handler) noexcept {
    try {
        return handler();
    } catch (...) {
        return fallback;
    }
}
