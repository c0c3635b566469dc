// Locale, time zone, clock and calendar builtins (indices 20 to 32).
#include "adventure/GxMoaBuiltinDefault.h"

#include "adventure/GxMoaBuiltinCall.h"
#include "core/GxPath.h"
#include "core/GxString.h"
#include "core/GxTime.h"

#include <cstdlib>
#include <ctime>

namespace
{
constexpr int32_t kLocaleJapanese = 1041;
constexpr int32_t kLocaleEnglishUS = 1033;
} // namespace

int32_t GxMoaBuiltinDefault::LocaleIdFromName(const std::wstring& localeName)
{
    return localeName.compare(0, 5, L"ja_JP") == 0 ? kLocaleJapanese : kLocaleEnglishUS;
}

std::wstring GxMoaBuiltinDefault::GetEnvironmentLocaleName()
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
    {
        const char* value = std::getenv(variable);
        if (value != nullptr && value[0] != '\0')
            return GxString::FromUtf8(value);
    }
    return std::wstring();
}

int64_t GxMoaBuiltinDefault::GetLocalTimeField(int64_t time, int32_t field)
{
    // GxTime reads an unconvertible time as 1970; a script gets 0 for it instead, so test first.
    const time_t t = static_cast<time_t>(time);
    struct tm local = {};
    if (static_cast<int64_t>(t) != time || localtime_r(&t, &local) == nullptr)
        return 0;
    switch (field)
    {
    case 0:
        return GxTime::GetYear(time);
    case 1:
        return GxTime::GetMonth(time);
    case 2:
        return GxTime::GetDay(time);
    case 3:
        return GxTime::GetHour(time);
    case 4:
        return GxTime::GetMinute(time);
    case 5:
        return GxTime::GetSecond(time);
    case 6:
        return GxTime::GetWeekDay(time);
    case 7:
        return GxTime::GetYearDay(time);
    default:
        return 0;
    }
}

bool GxMoaBuiltinDefault::CallTime(GxMoaBuiltinCall& call)
{
    switch (call.m_Index)
    {
    case 20:
        call.m_Result.SetInt(LocaleIdFromName(GetEnvironmentLocaleName()));
        return true;
    case 21:
        tzset();
        call.m_Result.SetString(GxString::FromUtf8(tzname[0] ? tzname[0] : ""));
        return true;
    case 22:
        // timezone is seconds west of UTC, so UTC = local + timezone: the bias in minutes.
        tzset();
        call.m_Result.SetInt(static_cast<int64_t>(timezone) / 60);
        return true;
    case 23:
        call.m_Result.SetInt(GxTime::GetNow());
        return true;
    case 32:
        call.m_Result.SetString(GxPath::GetCurrentDir());
        return true;
    default:
        // 24 to 31 read their time argument; without an argument Array they do nothing.
        if (!call.m_Args.IsArray())
            return true;
        call.m_Result.SetInt(GetLocalTimeField(call.ArgInt64(0), call.m_Index - 24));
        return true;
    }
}
