#pragma once

#include "net/DateTime.h"

#include <cstdint>
#include <string>

// Unix times count from 1970-01-01 08:00:00 (date-times read as China time, UTC+8)
// or, with eightHourEpoch false, from 1970-01-01 00:00:00. The arithmetic is on the
// calendar alone; the machine's time zone plays no part.

// Seconds from the epoch to the date-time, or milliseconds when inSeconds is false.
// Fields out of their usual range carry over (month 13 is January of the next year).
std::int64_t DateTimeToUnixTime(const DateTime& dateTime, bool inSeconds = true, bool eightHourEpoch = true);

// The epoch plus count seconds, or count milliseconds rounded down to the second.
DateTime UnixTimeToDateTime(std::int64_t count, bool inSeconds = true, bool eightHourEpoch = true);

// The machine's local time now.
DateTime CurrentDateTime();

// The time now as a ten-digit Unix time; unless secondsOnly, followed by three random
// digits (the first not "0"), shaped like a millisecond time stamp.
std::string CurrentUnixTimeText(bool secondsOnly = false);

// "2017-07-14 10:40:00": every part but the year padded to two digits.
std::string DateTimeText(const DateTime& dateTime);
std::string DateTimeText();
