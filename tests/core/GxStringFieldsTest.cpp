#include "core/GxString.h"

#include <gtest/gtest.h>

namespace
{

using Fields = std::vector<std::wstring>;

TEST(GxStringSplit, AlwaysGivesTheColumnCountAndTokenizeKeepsEmptyFields)
{
    Fields f;
    EXPECT_EQ(GxString::Split(f, L"1\t\t3", L"\t", 5), 5);
    EXPECT_EQ(f, (Fields{L"1", L"", L"3", L"", L""}));
    EXPECT_EQ(GxString::Split(f, L"1\t2\t3", L"\t", 2), 2);
    EXPECT_EQ(f, (Fields{L"1", L"2"}));
    EXPECT_EQ(GxString::Split(f, L"1\t2", L"\t", 2), 2);
    EXPECT_EQ(f, (Fields{L"1", L"2"}));
    EXPECT_EQ(GxString::Split(f, L"", L"\t", 3), 3);
    EXPECT_EQ(f, (Fields{L"", L"", L""}));
    EXPECT_EQ(GxString::Split(f, L"a\tb", L"\t", 0), 0);
    EXPECT_TRUE(f.empty());
    EXPECT_EQ(GxString::Split(f, L"a::b::c", L"::", 3), 3);
    EXPECT_EQ(f, (Fields{L"a", L"b", L"c"}));
    EXPECT_EQ(GxString::Split(f, L"whole", L"", 2), 2);
    EXPECT_EQ(f, (Fields{L"whole", L""}));
}

TEST(GxStringTokenize, CutsAtEverySeparatorKeepingEmptyFields)
{
    Fields f;
    EXPECT_EQ(GxString::TokenizeW(f, L"\ta\t\tb\t", L"\t"), 5);
    EXPECT_EQ(f, (Fields{L"", L"a", L"", L"b", L""}));
    EXPECT_EQ(GxString::TokenizeW(f, L"abc", L""), 1);
    EXPECT_EQ(f, (Fields{L"abc"}));
    std::vector<std::string> n;
    EXPECT_EQ(GxString::Tokenize(n, "x=1\ny=2", "\n"), 2);
    EXPECT_EQ(n, (std::vector<std::string>{"x=1", "y=2"}));
}

int32_t ToInt(const wchar_t* text, int base = 0, bool noOctal = false)
{
    return GxString::ToInt(text, nullptr, base, noOctal);
}

TEST(GxStringToInt, TableCellExamplesBasesAndDigitLimits)
{
    EXPECT_EQ(ToInt(L"010"), 8);
    EXPECT_EQ(ToInt(L"08"), 0);
    EXPECT_EQ(ToInt(L"09"), 0);
    EXPECT_EQ(ToInt(L"0x1F"), 31);
    EXPECT_EQ(ToInt(L"0X10"), 16);
    EXPECT_EQ(ToInt(L"0b101"), 5);
    EXPECT_EQ(ToInt(L"+5"), 5);
    EXPECT_EQ(ToInt(L"\uFF0B5"), 5);  // full-width plus
    EXPECT_EQ(ToInt(L"\uFF0D3"), -3); // full-width minus
    EXPECT_EQ(ToInt(L"-5"), -5);
    EXPECT_EQ(ToInt(L"12abc"), 12);
    EXPECT_EQ(ToInt(L""), 0);
    EXPECT_EQ(ToInt(L"word"), 0);
    EXPECT_EQ(ToInt(L"\uFF15"), 0); // full-width digits are no digits
    EXPECT_EQ(ToInt(L"010", 0, true), 10);
    EXPECT_EQ(ToInt(L"0"), 0);
    EXPECT_EQ(ToInt(L"017", 8), 15);
    EXPECT_EQ(ToInt(L"0x1f", 16), 31);
    EXPECT_EQ(ToInt(L"1f", 16), 31);
    EXPECT_EQ(ToInt(L"0b11", 2), 3);
    EXPECT_EQ(ToInt(L"012", 10), 12);
    EXPECT_EQ(ToInt(L"z", 35), 0); // z is 35, not a digit of base 35
    EXPECT_EQ(ToInt(L"y", 35), 34);
    const wchar_t* text = L"-12";
    const wchar_t* end = nullptr;
    EXPECT_EQ(GxString::ToInt(text, &end, 36, false), 0);
    EXPECT_EQ(end, text + 1);
    EXPECT_EQ(GxString::ToInt(text, &end, 1, false), 0);
    EXPECT_EQ(ToInt(L"99999999999"), 1410065407); // ten digits read: 9999999999
    EXPECT_EQ(ToInt(L"0xFFFFFFFF"), -1);
    EXPECT_EQ(ToInt(L"0x123456789"), 0x12345678); // eight hexadecimal digits
    EXPECT_EQ(ToInt(L"-2147483648"), INT32_MIN);
    EXPECT_EQ(ToInt(L"0777777777777"), static_cast<int32_t>(077777777777u & 0xFFFFFFFFu)); // 11 octal digits
    EXPECT_EQ(ToInt(L"zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz", 35), ToInt(L"zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz", 35));
}

TEST(GxStringToInt, StopsWhereTheDigitsStop)
{
    const wchar_t* text = L"  -12abc";
    const wchar_t* end = nullptr;
    EXPECT_EQ(GxString::ToInt(text, &end, 0, false), -12);
    EXPECT_EQ(end, text + 5);
    const wchar_t* tabs = L"\t 7";
    EXPECT_EQ(GxString::ToInt(tabs, &end, 10, false), 7);
    EXPECT_EQ(end, tabs + 3);
}

int Scan(const wchar_t* text, int* length)
{
    return GxString::ScanNumber(text, length, text + wcslen(text));
}

TEST(GxStringScanNumber, DecimalHexadecimalAndNothing)
{
    // Kind 1 is decimal, 2 hexadecimal, 0 no number; the length counts the characters taken.
    const struct
    {
        const wchar_t* text;
        int kind, length;
    } cases[] = {
        {L"123x", 1, 3}, {L"-45", 1, 3}, {L"0x1Fg", 2, 4}, {L"-0x1F", 1, 2}, // a sign before 0x reads as "-0"
        {L"0x", 0, 0},   {L"0xg", 0, 0}, {L"-", 0, 0},     {L"abc", 0, 0},   {L"0", 1, 1},
    };
    for (const auto& c : cases)
    {
        int length = -1;
        EXPECT_EQ(Scan(c.text, &length), c.kind) << c.text;
        EXPECT_EQ(length, c.length) << c.text;
    }
}

TEST(GxStringUnquote, CellsWithAndWithoutQuotes)
{
    EXPECT_EQ(GxString::Unquote(L"plain text", 0), L"plain text");
    EXPECT_EQ(GxString::Unquote(L"xx\"abc\"", 2), L"abc");
    EXPECT_EQ(GxString::Unquote(L"\"abc\"tail", 0), L"abc");
    EXPECT_EQ(GxString::Unquote(L"'it\"s'", 0), L"it\"s");
    EXPECT_EQ(GxString::Unquote(L"\"a\\\"b\"", 0), L"a\\\"b"); // backslashes stay
    EXPECT_EQ(GxString::Unquote(L"\"open", 0), L"open");
    EXPECT_EQ(GxString::Unquote(L"\"\"", 0), L"");
    EXPECT_EQ(GxString::Unquote(L"abc", 10), L"");
}

} // namespace
