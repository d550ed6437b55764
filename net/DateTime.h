#pragma once

// A local calendar date and time with one-second resolution.
// The default value is the zero date 1899-12-30 00:00:00.
struct DateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const DateTime&, const DateTime&) = default;
};
