#pragma once

#include <cstdint>
#include <string>

// Local date and time fields of a 64-bit calendar time (seconds since 1970-01-01 UTC), read through
// the runtime library's local-time conversion. A time the library cannot convert reads as
// 1970-01-01 00:00:00, a Thursday.
class GxTime
{
public:
    // The current calendar time.
    static int64_t GetNow();

    static int GetYear(int64_t time);    // e.g. 2024
    static int GetMonth(int64_t time);   // 1 to 12
    static int GetDay(int64_t time);     // 1 to 31
    static int GetHour(int64_t time);    // 0 to 23
    static int GetMinute(int64_t time);  // 0 to 59
    static int GetSecond(int64_t time);  // 0 to 59 (60 on a leap second)
    static int GetWeekDay(int64_t time); // 0 = Sunday to 6 = Saturday
    static int GetYearDay(int64_t time); // 0 = 1 January to 365

    // "YYYY/MM/DD hh:mm:ss", zero-padded.
    static std::wstring FormatDateTime(int64_t time);
    static std::wstring GetNowString();
};
