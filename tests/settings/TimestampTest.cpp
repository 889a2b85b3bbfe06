#include "settings/Timestamp.h"

#include "fakes/FakeClock.h"
#include "settings/SystemClock.h"

#include <gtest/gtest.h>

#include <ctime>

namespace tovrik::settings {
namespace {

using fakes::FakeClock;

TEST(TimestampTest, LocalTimeCountsFromTheLocalEpochAtEightOClock) {
    EXPECT_EQ(SecondsSinceLocalEpoch({2020, 12, 7, 14, 7, 14, 999}), 1607321234);
    EXPECT_EQ(SecondsSinceLocalEpoch({1970, 1, 1, 8, 0, 0, 0}), 0);
    EXPECT_EQ(SecondsSinceLocalEpoch({1970, 1, 1, 0, 0, 0, 0}), -28800);
    EXPECT_EQ(SecondsSinceLocalEpoch({2000, 3, 1, 8, 0, 0, 0}) - SecondsSinceLocalEpoch({2000, 2, 28, 8, 0, 0, 0}),
              2 * 86400); // 2000 is a leap year
    EXPECT_EQ(SecondsSinceLocalEpoch({2100, 3, 1, 8, 0, 0, 0}) - SecondsSinceLocalEpoch({2100, 2, 28, 8, 0, 0, 0}),
              86400); // 2100 is not
}

TEST(TimestampTest, TimestampTextHasThirteenOrTenDigits) {
    FakeClock clock({2020, 12, 7, 14, 7, 14, 12});
    EXPECT_EQ(TimestampText(clock), "1607321234012");
    EXPECT_EQ(TimestampText(clock, true), "1607321234");
    clock.Set({2020, 12, 7, 14, 7, 14, 999});
    EXPECT_EQ(TimestampText(clock), "1607321234999");
    clock.Set({2020, 12, 7, 14, 7, 14, 0});
    EXPECT_EQ(TimestampText(clock), "1607321234000");
    // Short seconds counts are padded at the end, as the token cache has always stored them.
    clock.Set({1970, 1, 1, 8, 0, 5, 7});
    EXPECT_EQ(TimestampText(clock), "5007000000000");
    EXPECT_EQ(TimestampText(clock, true), "5007000000");
}

TEST(TimestampTest, SecondsAndMillisecondsComeFromOneReading) {
    // Each reading moves the clock on by 1 ms: two readings would pair 14:07:14 with the
    // millisecond of 14:07:15.000.
    FakeClock clock({2020, 12, 7, 14, 7, 14, 999});
    clock.SetStepPerReading(1);
    EXPECT_EQ(TimestampText(clock), "1607321234999");
    EXPECT_EQ(clock.Readings(), 1);
}

TEST(TimestampTest, FileTimestampIsTenDigitsOfSeconds) {
    FakeClock clock;
    EXPECT_EQ(FileTimestamp(clock), "1607321234");
    clock.Set({1970, 1, 1, 8, 0, 42, 500});
    EXPECT_EQ(FileTimestamp(clock), "0000000042");
    clock.Set({2300, 1, 1, 8, 0, 0, 0});
    EXPECT_EQ(FileTimestamp(clock), std::to_string(SecondsSinceLocalEpoch({2300, 1, 1, 8, 0, 0, 0})).substr(0, 10));
}

TEST(TimestampTest, FakeClockCarriesOverIntoTheCalendar) {
    FakeClock clock({2020, 12, 31, 23, 59, 59, 999}, 5000);
    clock.Advance(1);
    const LocalDateTime now = clock.Now();
    EXPECT_EQ(now.year, 2021);
    EXPECT_EQ(now.month, 1);
    EXPECT_EQ(now.day, 1);
    EXPECT_EQ(now.hour, 0);
    EXPECT_EQ(now.minute, 0);
    EXPECT_EQ(now.second, 0);
    EXPECT_EQ(now.millisecond, 0);
    EXPECT_EQ(clock.TickCount(), 5001u);
    clock.Advance(-86400000);
    EXPECT_EQ(clock.Now().day, 31);
    clock.Set({2024, 2, 28, 12, 0, 0, 0});
    clock.Advance(86400000);
    EXPECT_EQ(clock.Now().day, 29);
    EXPECT_EQ(clock.Readings(), 4);
}

TEST(TimestampTest, LocalMillisecondsRoundTrip) {
    for (const std::int64_t ms : {std::int64_t{0}, std::int64_t{-1}, std::int64_t{1607321234012},
                                  std::int64_t{-62135596800000}, std::int64_t{253402300799999}}) {
        EXPECT_EQ(ToLocalMilliseconds(FromLocalMilliseconds(ms)), ms) << ms;
    }
    const LocalDateTime before = FromLocalMilliseconds(-1);
    EXPECT_EQ(before.year, 1969);
    EXPECT_EQ(before.month, 12);
    EXPECT_EQ(before.day, 31);
    EXPECT_EQ(before.millisecond, 999);
}

TEST(SystemClockTest, ReadsTheLocalTimeOfTheMachine) {
    const SystemClock clock;
    const std::time_t before = std::time(nullptr);
    const LocalDateTime now = clock.Now();
    const std::time_t after = std::time(nullptr);
    const std::tm expected = *std::localtime(&before);
    const std::int64_t seconds = SecondsSinceLocalEpoch(now);
    const std::int64_t expectedSeconds =
        SecondsSinceLocalEpoch({expected.tm_year + 1900, expected.tm_mon + 1, expected.tm_mday, expected.tm_hour,
                                expected.tm_min, expected.tm_sec, 0});
    EXPECT_GE(seconds, expectedSeconds);
    EXPECT_LE(seconds, expectedSeconds + (after - before) + 1);
    EXPECT_GE(now.millisecond, 0);
    EXPECT_LE(now.millisecond, 999);
    const std::uint64_t first = clock.TickCount();
    EXPECT_LE(first, clock.TickCount());
}

} // namespace
} // namespace tovrik::settings
