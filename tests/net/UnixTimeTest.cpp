#include "net/UnixTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <limits>
#include <string>

namespace {

struct Row {
    const char* name;
    DateTime dateTime;
    bool inSeconds;
    bool eightHourEpoch;
    std::int64_t count;
};

const Row rows[] = {
    {"one second after the epoch", {1970, 1, 1, 8, 0, 1}, true, true, 1},
    {"the epoch", {1970, 1, 1, 8, 0, 0}, true, true, 0},
    {"midnight epoch", {1970, 1, 1, 0, 0, 0}, true, false, 0},
    {"midnight is before the China epoch", {1970, 1, 1, 0, 0, 0}, true, true, -28800},
    {"reply time example", {2017, 7, 14, 10, 40, 0}, true, true, 1500000000},
    {"same moment from midnight", {2017, 7, 14, 2, 40, 0}, true, false, 1500000000},
    {"milliseconds", {2017, 7, 14, 10, 40, 0}, false, true, 1500000000000},
    {"leap day 2000", {2000, 2, 29, 8, 0, 0}, true, true, 951782400},
    {"after a century that is no leap year", {2100, 3, 1, 8, 0, 0}, true, true, 4107542400},
    {"32-bit overflow moment", {2038, 1, 19, 11, 14, 8}, true, true, 2147483648},
    {"before the epoch", {1969, 12, 31, 23, 59, 59}, true, false, -1},
    {"zero date", {1899, 12, 30, 0, 0, 0}, true, false, -2209161600},
    {"zero date in milliseconds", {1899, 12, 30, 0, 0, 0}, false, false, -2209161600000},
};

TEST(DateTimeToUnixTime, Cases)
{
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DateTimeToUnixTime(row.dateTime, row.inSeconds, row.eightHourEpoch), row.count);
    }
    EXPECT_EQ(DateTimeToUnixTime({1970, 1, 1, 8, 0, 1}), 1) << "defaults: seconds, China epoch";
}

TEST(DateTimeToUnixTime, FieldsOutOfRangeCarryOver)
{
    EXPECT_EQ(DateTimeToUnixTime({2016, 13, 1, 0, 0, 0}), DateTimeToUnixTime({2017, 1, 1, 0, 0, 0}));
    EXPECT_EQ(DateTimeToUnixTime({2017, 0, 1, 0, 0, 0}), DateTimeToUnixTime({2016, 12, 1, 0, 0, 0}));
    EXPECT_EQ(DateTimeToUnixTime({2017, 2, 29, 0, 0, 0}), DateTimeToUnixTime({2017, 3, 1, 0, 0, 0}));
    EXPECT_EQ(DateTimeToUnixTime({2017, 1, 1, 24, 0, 60}), DateTimeToUnixTime({2017, 1, 2, 0, 1, 0}));
}

TEST(UnixTimeToDateTime, Cases)
{
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(UnixTimeToDateTime(row.count, row.inSeconds, row.eightHourEpoch), row.dateTime);
    }
    EXPECT_EQ(UnixTimeToDateTime(1500000000), (DateTime{2017, 7, 14, 10, 40, 0})) << "defaults";
}

TEST(UnixTimeToDateTime, MillisecondsRoundDownToTheSecond)
{
    EXPECT_EQ(UnixTimeToDateTime(1999, false, false), (DateTime{1970, 1, 1, 0, 0, 1}));
    EXPECT_EQ(UnixTimeToDateTime(-1, false, false), (DateTime{1969, 12, 31, 23, 59, 59}));
    EXPECT_EQ(UnixTimeToDateTime(-1000, false, false), (DateTime{1969, 12, 31, 23, 59, 59}));
}

TEST(UnixTime, BothWaysAgreeOverTwoCenturies)
{
    for (std::int64_t count = -2208988800; count < 4102444800; count += 86400 * 37 + 3607) {
        const DateTime dateTime = UnixTimeToDateTime(count, true, false);
        ASSERT_EQ(DateTimeToUnixTime(dateTime, true, false), count) << DateTimeText(dateTime);
        ASSERT_GE(dateTime.day, 1);
        ASSERT_LE(dateTime.day, 31);
    }
}

TEST(UnixTime, MachineTimeZonePlaysNoPart)
{
    const char* previous = std::getenv("TZ");
    const std::string saved = previous ? previous : "";
    setenv("TZ", "America/New_York", 1);
    tzset();
    const DateTime summer = UnixTimeToDateTime(1500000000);
    const std::int64_t back = DateTimeToUnixTime({2017, 7, 14, 10, 40, 0});
    if (previous)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
    EXPECT_EQ(summer, (DateTime{2017, 7, 14, 10, 40, 0}));
    EXPECT_EQ(back, 1500000000);
}

TEST(UnixTime, ExtremeCountsDoNotOverflow)
{
    const DateTime far = UnixTimeToDateTime(std::numeric_limits<std::int64_t>::max());
    EXPECT_GE(far.hour, 0);
    const DateTime early = UnixTimeToDateTime(std::numeric_limits<std::int64_t>::min(), false);
    EXPECT_GE(early.second, 0);
    EXPECT_EQ(DateTimeToUnixTime({std::numeric_limits<int>::max(), 1, 1, 0, 0, 0}, false),
              std::numeric_limits<std::int64_t>::max());
}

TEST(DateTimeText, PadsEveryPartButTheYear)
{
    EXPECT_EQ(DateTimeText({2017, 7, 14, 10, 40, 0}), "2017-07-14 10:40:00");
    EXPECT_EQ(DateTimeText({5, 1, 2, 3, 4, 5}), "5-01-02 03:04:05");
    EXPECT_EQ(DateTimeText(DateTime{}), "1899-12-30 00:00:00");
    EXPECT_EQ(DateTimeText({2024, 12, 31, 23, 59, 59}), "2024-12-31 23:59:59");
}

TEST(CurrentTime, LocalDateTimeAndUnixTimeText)
{
    const std::time_t before = std::time(nullptr);
    const DateTime now = CurrentDateTime();
    const std::string text = DateTimeText();
    const std::string stamp = CurrentUnixTimeText();
    const std::string seconds = CurrentUnixTimeText(true);
    const std::time_t after = std::time(nullptr);

    std::tm local{};
    localtime_r(&before, &local);
    EXPECT_EQ(now.year, local.tm_year + 1900);
    EXPECT_EQ(text.size(), 19u);

    ASSERT_EQ(seconds.size(), 10u);
    EXPECT_GE(std::stoll(seconds), before);
    EXPECT_LE(std::stoll(seconds), after);
    ASSERT_EQ(stamp.size(), 13u);
    EXPECT_EQ(stamp.find_first_not_of("0123456789"), std::string::npos);
    EXPECT_GE(std::stoll(stamp.substr(0, 10)), before);
    EXPECT_LE(std::stoll(stamp.substr(0, 10)), after);
    EXPECT_NE(stamp[10], '0');
}

} // namespace
