// The exception barrier against the system's debug output, read as a debug monitor reads it:
// OutputDebugString writes the writer's process id and the text into the shared block
// "DBWIN_BUFFER" once "DBWIN_BUFFER_READY" is set, then sets "DBWIN_DATA_READY".
#include "base/win32/exception_barrier.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "base/win32/unique_handle.h"

TEST(ExceptionBarrier, ReturnsTheFallbackAndWritesWhoCaughtWhat) {
    UniqueHandle mapping(
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, "DBWIN_BUFFER"));
    UniqueHandle bufferReady(CreateEventA(nullptr, FALSE, FALSE, "DBWIN_BUFFER_READY"));
    UniqueHandle dataReady(CreateEventA(nullptr, FALSE, FALSE, "DBWIN_DATA_READY"));
    const auto* buffer =
        static_cast<const char*>(MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0));
    ASSERT_NE(buffer, nullptr);
    const auto written = [&] {
        return WaitForSingleObject(dataReady.Get(), 0) == WAIT_OBJECT_0
                   ? std::string(buffer + sizeof(DWORD))
                   : std::string();
    };

    SetEvent(bufferReady.Get());
    EXPECT_EQ(CallGuarded("CDialog::DialogProc", -1,
                          []() -> int { throw std::runtime_error("the list file vanished"); }),
              -1);
    EXPECT_EQ(written(),
              "Velumar: CDialog::DialogProc caught an exception: the list file vanished\n");
    SetEvent(bufferReady.Get());
    EXPECT_EQ(CallGuarded("CImagePreviewWnd::LoaderMain", -2, []() -> int { throw 7; }), -2);
    EXPECT_EQ(written(),
              "Velumar: CImagePreviewWnd::LoaderMain caught an exception of unknown type\n");
    EXPECT_EQ(CallGuarded("WinMain", -3, [] { return 4; }), 4);
    EXPECT_EQ(written(), "");
    UnmapViewOfFile(buffer);
}
