#include "core/GxString.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(GxStringFormat, LongOutputIsNeverCutAndFloatsIgnoreTheLocale)
{
    std::wstring arg(1000, L'x');
    arg[999] = L'z';
    std::wstring text = GxString::Format(L"[%s]", arg.c_str());
    ASSERT_EQ(text.size(), 1002u);
    EXPECT_EQ(text.substr(1, 1000), arg);
    EXPECT_EQ(text.back(), L']');
    std::wstring kana(100000, L'\x3042');
    EXPECT_EQ(GxString::Format(L"%s%s", kana.c_str(), kana.c_str()).size(), 200000u);
    // A narrow format longer than any buffer is whole and terminated.
    std::wstring narrow = GxString::FormatA("<%s>", std::string(5000, 'q').c_str());
    ASSERT_EQ(narrow.size(), 5002u);
    EXPECT_EQ(narrow.front(), L'<');
    EXPECT_EQ(narrow.back(), L'>');
    EXPECT_EQ(narrow.c_str()[5002], L'\0');
    // The test program runs under a locale whose decimal point may be a comma.
    EXPECT_EQ(GxString::Format(L"%f", 1.5), L"1.500000");
    EXPECT_EQ(GxString::Format(L"%.2f|%3.1f|%2.2f", 3.14159, 2.26, 0.5), L"3.14|2.3|0.50");
    EXPECT_EQ(GxString::Format(L"%.4lf", 0.125), L"0.1250");
    EXPECT_EQ(GxString::Format(L"%e|%g|%G", 12345.678, 0.0001, 1e20), L"1.234568e+04|0.0001|1E+20");
    EXPECT_EQ(GxString::Format(L"%8.3f|%-8.3f|%+.1f|%08.2f", 1.0, 1.0, 1.0, -1.5), L"   1.000|1.000   |+1.0|-0001.50");
    EXPECT_EQ(GxString::FromFloat(-0.5), L"-0.500000");
    EXPECT_EQ(GxString::FromInt(-123), L"-123");
}

TEST(GxStringFormat, ConversionsAndIntegerSizesFollowMicrosoft)
{
    // %s is wide, %S and %hs narrow (ANSI), %ls and %ws wide.
    EXPECT_EQ(GxString::Format(L"%s|%S|%hs|%ls|%ws", L"w\x65e5", "n", "h", L"l", L"w"), L"w\x65e5|n|h|l|w");
    // A narrow argument is read as CP932: 0x93 0xFA is U+65E5.
    EXPECT_EQ(GxString::Format(L"%S", "\x93\xFA"), L"\x65e5");
    EXPECT_EQ(GxString::FormatNarrow("%s|%S|%ls|%hs", "n", L"w", L"l", "h"), "n|w|l|h");
    EXPECT_EQ(GxString::FormatNarrow("%S", L"\x65e5"), "\x93\xFA");
    EXPECT_EQ(GxString::FormatA("PACK_FILE_%02d", 7), L"PACK_FILE_07");
    EXPECT_EQ(GxString::Format(L"%c%C%hc%lc", L'\x3042', 'b', 'c', L'd'), L"\x3042"
                                                                          L"bcd");
    EXPECT_EQ(GxString::FormatNarrow("%c%C", 'a', L'b'), "ab");
    int64_t big = -9000000000000000001LL;
    uint64_t ubig = 18446744073709551615ULL;
    EXPECT_EQ(GxString::Format(L"%I64d", big), L"-9000000000000000001");
    EXPECT_EQ(GxString::Format(L"%I64u", ubig), L"18446744073709551615");
    EXPECT_EQ(GxString::Format(L"%I64x", 0xABCDEF0123ULL), L"abcdef0123");
    EXPECT_EQ(GxString::Format(L"%I64X", 0xABCDEF0123ULL), L"ABCDEF0123");
    EXPECT_EQ(GxString::Format(L"%lld|%llu", -5LL, 5ULL), L"-5|5");
    // Arguments after a 64-bit one are still read from the right place.
    EXPECT_EQ(GxString::Format(L"%I64u %d %s", 1ULL << 40, 7, L"x"), L"1099511627776 7 x");
    EXPECT_EQ(GxString::Format(L"%li|%lu|%I32d", -12, 4000000000u, 3), L"-12|4000000000|3");
    EXPECT_EQ(GxString::Format(L"%d", std::numeric_limits<int>::min()), L"-2147483648");
}

TEST(GxStringFormat, IntegerAndStringFlagsWidthsAndPrecisions)
{
    EXPECT_EQ(GxString::Format(L"%02d|%03d|%3d|%4d|%5d|%6d", 5, 7, 9, 12, -3, 42), L"05|007|  9|  12|   -3|    42");
    EXPECT_EQ(GxString::Format(L"%-5d|%+d|% d|%05d|%-05d", 3, 3, 3, -3, 3), L"3    |+3| 3|-0003|3    ");
    EXPECT_EQ(GxString::Format(L"%.3d|%.0d|%5.3d", 7, 0, -7), L"007|| -007");
    EXPECT_EQ(GxString::Format(L"%02u|%u", 3u, 4294967295u), L"03|4294967295");
    EXPECT_EQ(GxString::Format(L"%04d/%02d/%02d", 2024, 1, 9), L"2024/01/09");
    // A width narrower than the number never cuts it.
    EXPECT_EQ(GxString::Format(L"%2d|%02x", 12345, 0x1234u), L"12345|1234");
    EXPECT_EQ(GxString::Format(L"%hd|%hu|%hhd", 70000, 70000, 300), L"4464|4464|44");
    EXPECT_EQ(GxString::Format(L"%x|%X|%02x|%08x|%08X", 255u, 255u, 10u, 0xBEEFu, 0xBEEFu),
              L"ff|FF|0a|0000beef|0000BEEF");
    EXPECT_EQ(GxString::Format(L"0x%8.8X", 0x8876086Cu), L"0x8876086C");
    EXPECT_EQ(GxString::Format(L"%#x|%#X|%#x|%#o|%o", 26u, 26u, 0u, 8u, 8u), L"0x1a|0X1A|0|010|10");
    EXPECT_EQ(GxString::Format(L"%*d|%-*d|%.*s", 5, 42, 4, 1, 3, L"abcdef"), L"   42|1   |abc");
    // A negative width means left adjustment.
    EXPECT_EQ(GxString::Format(L"%*d|", -4, 7), L"7   |");
    EXPECT_EQ(GxString::Format(L"%-10s|%10s|%.2s", L"ab", L"cd", L"efgh"), L"ab        |        cd|ef");
    EXPECT_EQ(GxString::Format(L"%s", static_cast<const wchar_t*>(nullptr)), L"(null)");
    // Precision bounds the read: the argument need not be terminated.
    const wchar_t unterminated[3] = {L'x', L'y', L'z'};
    EXPECT_EQ(GxString::Format(L"%.3s", unterminated), L"xyz");
}

TEST(GxStringFormat, PointersPercentsAndBrokenSpecificationsAndNul)
{
    EXPECT_EQ(GxString::Format(L"%p", reinterpret_cast<void*>(0xABCDEF)), L"0000000000ABCDEF");
    EXPECT_EQ(GxString::Format(L"100%% done"), L"100% done");
    EXPECT_EQ(GxString::Format(L"bad %y here"), L"bad %y here");
    EXPECT_EQ(GxString::Format(L"tail %-0"), L"tail %-0");
    EXPECT_EQ(GxString::Format(nullptr), L"");
    int target = 99;
    EXPECT_EQ(GxString::Format(L"ab%ncd%d", &target, 5), L"abcd5");
    EXPECT_EQ(target, 99);
    EXPECT_EQ(GxString::Format(L"ab%ccd", 0), L"ab");
}
