#include "core/GxTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace
{

// Runs the test body in a fixed time zone and puts the old one back.
class GxTimeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* tz = std::getenv("TZ");
        m_HadTz = tz != nullptr;
        m_OldTz = tz != nullptr ? tz : "";
        setenv("TZ", "JST-9", 1);
        tzset();
    }
    void TearDown() override
    {
        if (m_HadTz)
            setenv("TZ", m_OldTz.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    bool m_HadTz = false;
    std::string m_OldTz;
};

// 2024-01-01 09:05:03 in UTC+9 is 2024-01-01 00:05:03 UTC.
constexpr int64_t kNewYear2024 = 1704067503;

} // namespace

TEST_F(GxTimeTest, FormatFieldsEpochAndNow)
{
    EXPECT_EQ(GxTime::FormatDateTime(kNewYear2024), L"2024/01/01 09:05:03");
    const int64_t t = kNewYear2024;
    // Year, month, day, hour, minute, second, week day (a Monday), year day.
    EXPECT_EQ(
        (std::vector<int>{GxTime::GetYear(t), GxTime::GetMonth(t), GxTime::GetDay(t), GxTime::GetHour(t),
                          GxTime::GetMinute(t), GxTime::GetSecond(t), GxTime::GetWeekDay(t), GxTime::GetYearDay(t)}),
        (std::vector<int>{2024, 1, 1, 9, 5, 3, 1, 0}));
    // 31 December of a leap year is day 365.
    EXPECT_EQ(GxTime::GetYearDay(kNewYear2024 + 365LL * 86400), 365);
    int64_t huge = INT64_MAX;
    EXPECT_EQ(GxTime::GetYear(huge), 1970);
    EXPECT_EQ(GxTime::FormatDateTime(huge), L"1970/01/01 00:00:00");
    std::wstring now = GxTime::GetNowString();
    ASSERT_EQ(now.size(), 19u);
    EXPECT_EQ(now[4], L'/');
    EXPECT_EQ(now[10], L' ');
    EXPECT_EQ(now[13], L':');
}
