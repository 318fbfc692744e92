// Cancelling the pixel work of a render that is no longer wanted: the thread that runs it sets
// a check for the scope of the work, and the long row loops (decoding, resizing) poll it between
// bands of rows, ending the operation with an exception the library turns into a failure.
#pragma once

#include <exception>
#include <functional>

namespace pixelops {

// True once the work under way is no longer wanted.
using CancelCheck = std::function<bool()>;

// Thrown out of a row loop whose work was cancelled.
struct Cancelled : std::exception {
    const char* what() const noexcept override { return "cancelled"; }
};

// Sets this thread's check for the scope; scopes nest, the inner one applies.
class CancelScope {
public:
    explicit CancelScope(const CancelCheck* check);
    ~CancelScope();
    CancelScope(const CancelScope&) = delete;
    CancelScope& operator=(const CancelScope&) = delete;

private:
    const CancelCheck* previous;
};

// This thread's check, or null.
const CancelCheck* CurrentCancelCheck();
// Throws Cancelled when this thread's check says the work is no longer wanted.
void ThrowIfCancelled();

}  // namespace pixelops
