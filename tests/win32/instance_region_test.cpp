// The named shared-memory regions against the real API: the single-instance region and the
// pause marker.
#include "app/win32/instance_region.h"

#include <sddl.h>

#include <gtest/gtest.h>

#include <string>

#include "switching/win32/win32_schedule_environment.h"

namespace {

std::string UniqueName(const char* tag) {
    return std::string("VelumarRegionTest-") + tag + "-" + std::to_string(GetCurrentProcessId());
}

}  // namespace

TEST(InstanceRegion, OnlyTheFirstOpenOfANameCreatesIt) {
    const std::string name = UniqueName("first");
    InstanceRegion first;
    ASSERT_TRUE(first.Open(260, name));
    EXPECT_TRUE(first.WasCreated());

    InstanceRegion second;
    EXPECT_TRUE(second.Open(260, name));
    EXPECT_FALSE(second.WasCreated());

    // The name is freed once every holder has closed it.
    second.Close();
    EXPECT_FALSE(second.WasCreated());
    first.Close();
    InstanceRegion again;
    ASSERT_TRUE(again.Open(260, name));
    EXPECT_TRUE(again.WasCreated());
}

TEST(InstanceRegion, ReadsSeeAnotherHoldersBytesAndStopAtTheEnd) {
    const std::string name = UniqueName("read");
    // Another program holding the region writes into it.
    HANDLE mapping =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 276, name.c_str());
    ASSERT_NE(mapping, nullptr);
    auto* bytes = static_cast<unsigned char*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    ASSERT_NE(bytes, nullptr);
    for (int i = 0; i < 276; ++i) {
        bytes[i] = static_cast<unsigned char>(i);
    }

    InstanceRegion region;
    ASSERT_TRUE(region.Open(276, name));
    EXPECT_FALSE(region.WasCreated());
    unsigned char buffer[8] = {};
    size_t copied = 0;
    ASSERT_TRUE(region.Read(272, 8, buffer, &copied));
    EXPECT_EQ(copied, 4u);
    EXPECT_EQ(buffer[0], 272 & 0xFF);
    EXPECT_EQ(buffer[3], 275 & 0xFF);
    EXPECT_FALSE(region.Read(276, 1, buffer, &copied));

    region.Close();
    EXPECT_FALSE(region.Read(0, 1, buffer, &copied));
    UnmapViewOfFile(bytes);
    CloseHandle(mapping);
}

TEST(InstanceRegion, ThePauseMarkerIsReadFromAHolderThatLetsOthersOnlyRead) {
    Win32ScheduleEnvironment environment;
    EXPECT_FALSE(environment.IsPauseRequested());

    // Everyone may map it for reading, and no more.
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(
        "D:(A;;0x0004;;;WD)", SDDL_REVISION_1, &readOnly, nullptr));
    SECURITY_ATTRIBUTES security{sizeof(security), readOnly, FALSE};
    HANDLE marker = CreateFileMappingA(INVALID_HANDLE_VALUE, &security, PAGE_READWRITE, 0,
                                       kPauseMarkerSize, kPauseMarkerName);
    LocalFree(readOnly);
    ASSERT_NE(marker, nullptr);
    auto* value = static_cast<std::uint32_t*>(MapViewOfFile(marker, FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_NE(value, nullptr);
    for (std::uint32_t written : {kPauseMarkerValue + 1, kPauseMarkerValue}) {
        *value = written;
        EXPECT_EQ(environment.IsPauseRequested(), written == kPauseMarkerValue) << written;
    }
    UnmapViewOfFile(value);
    CloseHandle(marker);
    EXPECT_FALSE(environment.IsPauseRequested());
}
