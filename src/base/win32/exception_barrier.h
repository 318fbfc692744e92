// The exception barrier of every window, dialog and thread procedure: nothing unwinds into
// USER32, COM or the C runtime's thread start, and what was caught is written to the debug
// output.
#pragma once

// Writes the exception being handled to the debug output, with the procedure that caught it
// and, for a std::exception, its what(); nothing outside a catch block.
void ReportCaughtException(const char* procedure) noexcept;

// Runs the handler and returns its result, or the fallback when it threw.
template <typename Result, typename Handler>
Result CallGuarded(const char* procedure, Result fallback, Handler&& handler) noexcept {
    try {
        return handler();
    } catch (...) {
        ReportCaughtException(procedure);
        return fallback;
    }
}
