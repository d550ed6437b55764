#include "net/UnixTime.h"

#include "net/RandomText.h"

#include <cstdio>
#include <ctime>
#include <limits>

namespace {

constexpr std::int64_t secondsPerDay = 86400;
constexpr std::int64_t eightHours = 8 * 3600;

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return q * b != a && (a < 0) != (b < 0) ? q - 1 : q;
}

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
std::int64_t daysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day)
{
    year += floorDiv(month - 1, 12);
    month = month - 1 - floorDiv(month - 1, 12) * 12 + 1;
    year -= month <= 2;
    const std::int64_t era = floorDiv(year, 400);
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void civilFromDays(std::int64_t days, DateTime& dateTime)
{
    days += 719468;
    const std::int64_t era = floorDiv(days, 146097);
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    const std::int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    dateTime.year = static_cast<int>(yearOfEra + era * 400 + (month <= 2));
    dateTime.month = static_cast<int>(month);
    dateTime.day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
}

std::int64_t epochOffset(bool eightHourEpoch)
{
    return eightHourEpoch ? eightHours : 0;
}

} // namespace

std::int64_t DateTimeToUnixTime(const DateTime& dateTime, bool inSeconds, bool eightHourEpoch)
{
    const std::int64_t seconds = daysFromCivil(dateTime.year, dateTime.month, dateTime.day) * secondsPerDay
                                 + std::int64_t{dateTime.hour} * 3600 + std::int64_t{dateTime.minute} * 60
                                 + dateTime.second - epochOffset(eightHourEpoch);
    if (inSeconds)
        return seconds;
    std::int64_t milliseconds = 0;
    if (__builtin_mul_overflow(seconds, std::int64_t{1000}, &milliseconds))
        return seconds < 0 ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
    return milliseconds;
}

DateTime UnixTimeToDateTime(std::int64_t count, bool inSeconds, bool eightHourEpoch)
{
    std::int64_t seconds = inSeconds ? count : floorDiv(count, 1000);
    // Keeps the epoch shift from overflowing at the very end of the range.
    if (seconds > std::numeric_limits<std::int64_t>::max() - eightHours)
        seconds = std::numeric_limits<std::int64_t>::max() - eightHours;
    seconds += epochOffset(eightHourEpoch);
    const std::int64_t days = floorDiv(seconds, secondsPerDay);
    const std::int64_t secondOfDay = seconds - days * secondsPerDay;
    DateTime dateTime;
    civilFromDays(days, dateTime);
    dateTime.hour = static_cast<int>(secondOfDay / 3600);
    dateTime.minute = static_cast<int>(secondOfDay / 60 % 60);
    dateTime.second = static_cast<int>(secondOfDay % 60);
    return dateTime;
}

DateTime CurrentDateTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

std::string CurrentUnixTimeText(bool secondsOnly)
{
    // The true Unix time: what DateTimeToUnixTime gives for the time now in China,
    // whatever zone this machine is set to.
    std::string text = std::to_string(static_cast<std::int64_t>(std::time(nullptr)));
    if (!secondsOnly)
        text += RandomText(1, 3);
    return text;
}

std::string DateTimeText(const DateTime& dateTime)
{
    char buffer[80];
    std::snprintf(buffer, sizeof buffer, "%d-%02d-%02d %02d:%02d:%02d", dateTime.year, dateTime.month, dateTime.day,
                  dateTime.hour, dateTime.minute, dateTime.second);
    return buffer;
}

std::string DateTimeText()
{
    return DateTimeText(CurrentDateTime());
}
