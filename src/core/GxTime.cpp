#include "core/GxTime.h"

#include "core/GxString.h"

#include <ctime>

namespace
{

struct tm LocalFields(int64_t time)
{
    struct tm fields = {};
    auto t = static_cast<time_t>(time);
    if (static_cast<int64_t>(t) != time || localtime_r(&t, &fields) == nullptr)
    {
        fields = {};
        fields.tm_year = 70;
        fields.tm_mday = 1;
        fields.tm_wday = 4;
    }
    return fields;
}

} // namespace

int64_t GxTime::GetNow()
{
    return static_cast<int64_t>(std::time(nullptr));
}

int GxTime::GetYear(int64_t time)
{
    return LocalFields(time).tm_year + 1900;
}

int GxTime::GetMonth(int64_t time)
{
    return LocalFields(time).tm_mon + 1;
}

int GxTime::GetDay(int64_t time)
{
    return LocalFields(time).tm_mday;
}

int GxTime::GetHour(int64_t time)
{
    return LocalFields(time).tm_hour;
}

int GxTime::GetMinute(int64_t time)
{
    return LocalFields(time).tm_min;
}

int GxTime::GetSecond(int64_t time)
{
    return LocalFields(time).tm_sec;
}

int GxTime::GetWeekDay(int64_t time)
{
    return LocalFields(time).tm_wday;
}

int GxTime::GetYearDay(int64_t time)
{
    return LocalFields(time).tm_yday;
}

std::wstring GxTime::FormatDateTime(int64_t time)
{
    struct tm f = LocalFields(time);
    return GxString::Format(L"%04d/%02d/%02d %02d:%02d:%02d", f.tm_year + 1900, f.tm_mon + 1, f.tm_mday, f.tm_hour,
                            f.tm_min, f.tm_sec);
}

std::wstring GxTime::GetNowString()
{
    return FormatDateTime(GetNow());
}
