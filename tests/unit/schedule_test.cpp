// The time parsers, the interval and time-of-day rules, and the desktop icon caption colours.
#include <gtest/gtest.h>

#include <climits>

#include "desktop/icon_text_colors.h"
#include "switching/schedule.h"
#include "switching/switching_loop.h"

namespace {

TEST(TimeParsersTest, DurationsReadFromTheRight) {
    const struct {
        const char* text;
        int hours, minutes, seconds;
        bool valid;
    } cases[] = {
        {"5:00", 0, 5, 0, true},
        {"90", 0, 0, 90, false},
        {"1:2:3", 1, 2, 3, true},
        {"1:2:3:4", 2, 3, 4, true},
        {"23:59:59", 23, 59, 59, true},
        {"24:00:00", 24, 0, 0, false},
        {"0:60:0", 0, 60, 0, false},
        {"", 0, 0, 0, true},
        {"a:b", 0, 0, 0, true},
        {" 7x: -3", 0, 7, -3, false},
        {"99999999999999:0", 0, INT_MAX, 0, false},
        {"0:-99999999999999", 0, 0, INT_MIN, false},
    };
    for (const auto& c : cases) {
        Duration d = ParseDuration(c.text);
        EXPECT_EQ(d.hours, c.hours) << c.text;
        EXPECT_EQ(d.minutes, c.minutes) << c.text;
        EXPECT_EQ(d.seconds, c.seconds) << c.text;
        EXPECT_EQ(d.valid, c.valid) << c.text;
    }
}

TEST(TimeParsersTest, TimesOfDay) {
    const struct {
        const char* text;
        int hour, minute;
        bool valid;
    } cases[] = {
        {"7:5", 7, 5, true},      {"08:00", 8, 0, true},    {"24:00", 24, 0, false},
        {"12:60", 12, 60, false}, {"ab:cd", 0, 0, true},    {"1:2:3", 2, 3, true},
        {"", 0, 0, true},         {"-1:30", -1, 30, false},
    };
    for (const auto& c : cases) {
        TimeOfDay t = ParseTimeOfDay(c.text);
        EXPECT_EQ(t.hour, c.hour) << c.text;
        EXPECT_EQ(t.minute, c.minute) << c.text;
        EXPECT_EQ(t.valid, c.valid) << c.text;
    }
}

TEST(ScheduleTest, IntervalIsDueAfterThePeriodAcrossTickWrapAround) {
    AppSettings settings;
    settings.switchMode = 1;
    settings.switchPeriod = "5:00";
    SwitchSchedule schedule;
    schedule.ArmInterval(settings, 0xFFFFF000u);
    EXPECT_EQ(schedule.intervalLength, 300000u);
    EXPECT_FALSE(schedule.IsSwitchDue(1, 0xFFFFF000u + 300000u, {}));
    EXPECT_TRUE(schedule.IsSwitchDue(1, 0xFFFFF000u + 300001u, {}));

    settings.switchPeriod = "";
    schedule.ArmInterval(settings, 1000);
    EXPECT_TRUE(schedule.IsSwitchDue(1, 1001, {}));
    // Hours far beyond a 32-bit count of milliseconds saturate.
    settings.switchPeriod = "99999999:0:0";
    schedule.ArmInterval(settings, 0);
    EXPECT_EQ(schedule.intervalLength, UINT32_MAX);
    // Other modes leave the interval alone.
    settings.switchMode = 2;
    schedule.ArmInterval(settings, 5);
    EXPECT_EQ(schedule.intervalStart, 0u);
}

LocalTime At(int day, int hour, int minute) {
    return {2026, 12, day, hour, minute};
}

TEST(ScheduleTest, TimesOfDayFireOnceEachAndAgainTheNextDay) {
    SwitchSchedule schedule;
    schedule.BuildTimeTable({"08:00", "12:00"});
    const struct {
        LocalTime now;
        bool due;
    } ticks[] = {
        {At(1, 7, 0), false},   {At(1, 7, 59), false}, {At(1, 8, 0), true},    {At(1, 8, 0), false},
        {At(1, 11, 59), false}, {At(1, 12, 0), true},  {At(1, 23, 59), false}, {At(2, 0, 0), false},
        {At(2, 8, 1), true},    {At(2, 12, 30), true},
    };
    for (const auto& tick : ticks) {
        EXPECT_EQ(schedule.IsSwitchDue(2, 0, tick.now), tick.due)
            << tick.now.day << " " << tick.now.hour << ":" << tick.now.minute;
    }
}

TEST(ScheduleTest, TimesOfDayEdgeCases) {
    SwitchSchedule late;
    late.BuildTimeTable({"08:00", "12:00"});
    // Started after the last time: the first tick switches, once.
    EXPECT_TRUE(late.IsSwitchDue(2, 0, At(1, 13, 0)));
    EXPECT_FALSE(late.IsSwitchDue(2, 0, At(1, 13, 1)));
    // Started between the times: the missed 08:00 fires at once.
    SwitchSchedule between;
    between.BuildTimeTable({"08:00", "12:00"});
    EXPECT_TRUE(between.IsSwitchDue(2, 0, At(1, 10, 0)));

    SwitchSchedule duplicates;
    duplicates.BuildTimeTable({"08:00", "08:00"});
    EXPECT_TRUE(duplicates.IsSwitchDue(2, 0, At(1, 8, 0)));
    EXPECT_FALSE(duplicates.IsSwitchDue(2, 0, At(1, 8, 1)));

    SwitchSchedule midnight;
    midnight.BuildTimeTable({"00:00"});
    EXPECT_TRUE(midnight.IsSwitchDue(2, 0, At(1, 0, 0)));
    EXPECT_FALSE(midnight.IsSwitchDue(2, 0, At(1, 18, 0)));
    EXPECT_TRUE(midnight.IsSwitchDue(2, 0, At(2, 0, 0)));

    // Stored out of order and with invalid times: only 00:01 and 23:59 count, in day order.
    SwitchSchedule unordered;
    unordered.BuildTimeTable({"23:59", "99:99", "00:01", "25:00"});
    EXPECT_TRUE(unordered.IsSwitchDue(2, 0, At(1, 0, 1)));
    EXPECT_FALSE(unordered.IsSwitchDue(2, 0, At(1, 0, 2)));
    EXPECT_FALSE(unordered.IsSwitchDue(2, 0, At(1, 12, 0)));
    EXPECT_TRUE(unordered.IsSwitchDue(2, 0, At(1, 23, 59)));

    SwitchSchedule empty;
    empty.BuildTimeTable({});
    EXPECT_FALSE(empty.IsSwitchDue(2, 0, At(1, 8, 0)));
    EXPECT_FALSE(empty.IsSwitchDue(0, 0, At(1, 8, 0)));
}

TEST(ScheduleTest, StopButtonTextCyclesItsDots) {
    EXPECT_EQ(StopButtonText(0), "&Stop");
    EXPECT_EQ(StopButtonText(1), ".&Stop.");
    EXPECT_EQ(StopButtonText(2), "..&Stop..");
    EXPECT_EQ(StopButtonText(3), "...&Stop...");
}

class FakeListView final : public DesktopListView {
public:
    bool Find() override { return present; }
    std::uint32_t TextBackgroundColor() override { return background; }
    std::uint32_t TextColor() override { return text; }
    void SetTextBackgroundColor(std::uint32_t color) override {
        background = color;
        calls.push_back("background");
    }
    void SetTextColor(std::uint32_t color) override {
        text = color;
        calls.push_back("text");
    }
    void Invalidate() override { calls.push_back("invalidate"); }

    bool present = true;
    std::uint32_t background = 0x00FFFFFF;
    std::uint32_t text = 0;
    std::vector<std::string> calls;
};

TEST(IconTextColorsTest, SetsOnlyWhatDiffersAndRepaintsOnce) {
    using Calls = std::vector<std::string>;
    const struct {
        const char* what;
        std::uint32_t background, text;
        bool transparent;
        bool present;
        Calls calls;
    } cases[] = {
        {"all equal", kNoColor, 0xFF, true, true, {}},
        {"only background", 0x00FFFFFF, 0xFF, true, true, {"background", "invalidate"}},
        {"opaque kept without transparent", 0x00FFFFFF, 0xFF, false, true, {}},
        {"both", 0, 0, true, true, {"background", "text", "invalidate"}},
        {"no desktop list view", 0, 0, true, false, {}},
    };
    for (const auto& c : cases) {
        FakeListView view;
        view.background = c.background;
        view.text = c.text;
        view.present = c.present;
        ApplyIconTextColors(view, 0xFF, c.transparent);
        EXPECT_EQ(view.calls, c.calls) << c.what;
    }
    AppSettings settings;
    settings.controlIconText = true;
    EXPECT_TRUE(IconTextColorsApply(500, settings));
    EXPECT_FALSE(IconTextColorsApply(501, settings));
    settings.controlIconText = false;
    EXPECT_FALSE(IconTextColorsApply(400, settings));
}

}  // namespace
