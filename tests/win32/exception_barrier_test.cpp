// The exception barrier against the system's debug output, read as a debug monitor reads it.
#include "base/win32/exception_barrier.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "base/win32/unique_handle.h"

namespace {

// A debug monitor: OutputDebugString writes into the shared buffer "DBWIN_BUFFER" (the
// writer's process id, then the text) once "DBWIN_BUFFER_READY" is set, then sets
// "DBWIN_DATA_READY".
class DebugMonitor {
public:
    DebugMonitor()
        : mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096,
                                     "DBWIN_BUFFER")),
          bufferReady(CreateEventA(nullptr, FALSE, FALSE, "DBWIN_BUFFER_READY")),
          dataReady(CreateEventA(nullptr, FALSE, FALSE, "DBWIN_DATA_READY")),
          view(mapping ? MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0) : nullptr) {}
    ~DebugMonitor() {
        if (view != nullptr) {
            UnmapViewOfFile(view);
        }
    }

    // The one text written while the guarded call ran, or empty.
    template <typename Call>
    std::string Capture(Call&& call) {
        SetEvent(bufferReady.Get());
        call();
        if (view == nullptr || WaitForSingleObject(dataReady.Get(), 0) != WAIT_OBJECT_0) {
            return {};
        }
        return static_cast<const char*>(view) + sizeof(DWORD);
    }

private:
    UniqueHandle mapping;
    UniqueHandle bufferReady;
    UniqueHandle dataReady;
    void* view;
};

}  // namespace

TEST(ExceptionBarrier, ReturnsTheFallbackAndWritesWhoCaughtWhat) {
    DebugMonitor monitor;
    int result = 0;
    std::string written = monitor.Capture([&] {
        result = CallGuarded("CDialog::DialogProc", -1,
                             []() -> int { throw std::runtime_error("the list file vanished"); });
    });
    EXPECT_EQ(result, -1);
    EXPECT_EQ(written,
              "Velumar: CDialog::DialogProc caught an exception: the list file vanished\n");

    written = monitor.Capture([&] {
        result = CallGuarded("CImagePreviewWnd::LoaderMain", -2, []() -> int { throw 7; });
    });
    EXPECT_EQ(result, -2);
    EXPECT_EQ(written,
              "Velumar: CImagePreviewWnd::LoaderMain caught an exception of unknown type\n");

    // Nothing is written when nothing was thrown.
    written = monitor.Capture([&] { result = CallGuarded("WinMain", -3, [] { return 4; }); });
    EXPECT_EQ(result, 4);
    EXPECT_EQ(written, "");
}
