#include "core/GxString.h"

#include <gtest/gtest.h>

TEST(GxString, CaseFoldingAndSingleByteCodes)
{
    EXPECT_EQ(GxString::ToLower(L"AbC\x00c9\xff21z"), L"abc\x00c9\xff21z");
    EXPECT_EQ(GxString::ToUpper(L"aBc\x00e9\xff41Z"), L"ABC\x00e9\xff41Z");
    EXPECT_EQ(GxString::CompareNoCase(L"Data/BG.PNG", L"data/bg.png"), 0);
    EXPECT_LT(GxString::CompareNoCase(L"abc", L"ABD"), 0);
    EXPECT_GT(GxString::CompareNoCase(L"abcd", L"ABC"), 0);
    EXPECT_NE(GxString::CompareNoCase(L"\x00e9", L"\x00c9"), 0);
    EXPECT_EQ(GxString::ToSingleByteCode(L'A'), 0x41u);
    EXPECT_EQ(GxString::ToSingleByteCode(L'\x80'), 0x80u);
    EXPECT_EQ(GxString::ToSingleByteCode(L'\xff61') & 0xFF, 0xA1u);
    EXPECT_EQ(GxString::ToSingleByteCode(L'\xff9f') & 0xFF, 0xDFu);
    EXPECT_EQ(GxString::ToSingleByteCode(L'\xf8f0') & 0xFF, 0xA0u);
    EXPECT_EQ(GxString::ToSingleByteCode(L'\xf8f3') & 0xFF, 0xFFu);
    EXPECT_EQ(GxString::ToSingleByteCode(L'\x3042'), 0x3020u);
}

TEST(GxString, TrimModes)
{
    EXPECT_EQ(GxString::Trim(L"\r\n", 4), L"");
    EXPECT_EQ(GxString::Trim(L"   ", 3), L"");
    EXPECT_EQ(GxString::Trim(L"\r\n \tx\t \n", 4), L" \tx\t ");
    EXPECT_EQ(GxString::Trim(L" \tx \x01", 1), L"x \x01");
    EXPECT_EQ(GxString::Trim(L" \tx \x01", 2), L" \tx");
    EXPECT_EQ(GxString::Trim(L" x ", 3), L"x");
    EXPECT_EQ(GxString::Trim(L" x ", 0), L" x ");
    EXPECT_EQ(GxString::Trim(L"", 3), L"");
    // Full-width space is not a control character.
    EXPECT_EQ(GxString::Trim(L"\x3000x", 3), L"\x3000x");
}

TEST(GxString, SearchJoinReplaceAndCopy)
{
    EXPECT_EQ(GxString::CharAt(L"abc", 1), L"b");
    EXPECT_EQ(GxString::CharAt(L"abc", 3), L"");
    EXPECT_EQ(GxString::CharAt(L"abc", -1), L"");
    EXPECT_EQ(GxString::Join({L"a", L"b", L"c"}, L"%r"), L"a%rb%rc");
    EXPECT_EQ(GxString::Join({L"a"}, L","), L"a");
    EXPECT_EQ(GxString::Join({}, L","), L"");
    EXPECT_EQ(GxString::Find(L"abcabc", L"bc", 0), 1);
    EXPECT_EQ(GxString::Find(L"abcabc", L"bc", 2), 4);
    EXPECT_EQ(GxString::Find(L"abcabc", L"x", 0), -1);
    EXPECT_EQ(GxString::FindFirstOf(L"a/b\\c", L"/\\", 2), 3);
    EXPECT_EQ(GxString::FindLastOf(L"dir\\sub/file.png", L"\\/", -1), 7);
    EXPECT_EQ(GxString::FindLastOf(L"dir\\sub/file.png", L"\\/", 6), 3);
    EXPECT_EQ(GxString::FindLastOf(L"file.png", L"\\/", -1), -1);
    EXPECT_EQ(GxString::ReplaceAll(L"aaa", L"a", L"aa"), L"aaaaaa");
    EXPECT_EQ(GxString::ReplaceAll(L"x--y--", L"--", L"-"), L"x-y-");
    EXPECT_EQ(GxString::ReplaceAll(L"abc", L"", L"z"), L"abc");
    EXPECT_EQ(GxString::ReplaceChar(L"a\\b\\c", L'\\', L'/'), L"a/b/c");
    wchar_t buffer[8];
    wmemset(buffer, L'#', 8);
    EXPECT_EQ(GxString::Copy(buffer, L"abc"), buffer);
    EXPECT_EQ(buffer[3], L'\0');
    EXPECT_EQ(buffer[4], L'#');
}

TEST(GxString, CharacterWidthUnits)
{
    EXPECT_EQ(GxString::GetCharWidthUnits(L'A'), 1);
    EXPECT_EQ(GxString::GetCharWidthUnits(L'\xff71'), 1); // half-width katakana
    EXPECT_EQ(GxString::GetCharWidthUnits(L'\x3042'), 2); // hiragana
    EXPECT_EQ(GxString::GetCharWidthUnits(L'\x6f22'), 2); // kanji
    EXPECT_EQ(GxString::GetCharWidthUnits(L'\xff21'), 2); // full-width A
    EXPECT_EQ(GxString::GetCharWidthUnits(L'\x2026'), 2); // ellipsis, double-byte in CP932
    EXPECT_EQ(GxString::GetCharWidthUnits(L'\x007f'), 1);
    EXPECT_EQ(GxString::GetCharWidthUnits(L'\x0080'), 2);
    EXPECT_EQ(GxString::GetCharWidthUnits(L'\xff60'), 2); // full-width right white parenthesis
    EXPECT_EQ(GxString::GetCharWidthUnits(L'\xff61'), 1); // half-width ideographic full stop
    EXPECT_EQ(GxString::GetCharWidthUnits(L'\xffa0'), 1); // half-width Hangul filler
    EXPECT_EQ(GxString::GetCharWidthUnits(L'\xffdc'), 1);
    EXPECT_EQ(GxString::GetCharWidthUnits(L'\xffdd'), 2);
    EXPECT_EQ(GxString::GetCharWidthUnits(L'\xffe6'), 2); // full-width won sign
    EXPECT_EQ(GxString::GetCharWidthUnits(L'\xffe8'), 1); // half-width forms light vertical
    EXPECT_EQ(GxString::GetCharWidthUnits(L'\xffee'), 1);
    EXPECT_EQ(GxString::GetCharWidthUnits(L'\xffef'), 2);
    // Latin-1 and other characters of ambiguous width take a full cell.
    EXPECT_EQ(GxString::GetCharWidthUnits(L'\x00a0'), 2); // no-break space
    EXPECT_EQ(GxString::GetCharWidthUnits(L'\x00e9'), 2); // Latin letter with accent
    EXPECT_EQ(GxString::GetCharWidthUnits(L'\x00d7'), 2); // multiplication sign
    EXPECT_EQ(GxString::GetCharWidthUnits(L'\x03b1'), 2); // Greek letter
    EXPECT_EQ(GxString::GetCharWidthUnits(L'\x2500'), 2); // box drawing
    EXPECT_EQ(GxString::GetCharWidthUnits(L'\x0e01'), 2); // Thai letter
    EXPECT_EQ(GxString::GetWidthUnits(L"a\x3042\xff71"), 4);
    EXPECT_EQ(GxString::GetWidthUnits(L""), 0);
}
