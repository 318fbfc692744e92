// Cancelling the pixel work of a render that is no longer wanted.
#include "imagelib/cancellation.h"

namespace pixelops {
namespace {

thread_local const CancelCheck* currentCheck = nullptr;

}  // namespace

CancelScope::CancelScope(const CancelCheck* check) : previous(currentCheck) {
    currentCheck = check;
}

CancelScope::~CancelScope() {
    currentCheck = previous;
}

const CancelCheck* CurrentCancelCheck() {
    return currentCheck;
}

void ThrowIfCancelled() {
    if (currentCheck != nullptr && *currentCheck && (*currentCheck)()) {
        throw Cancelled();
    }
}

}  // namespace pixelops
