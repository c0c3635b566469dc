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

TEST(GxString, TrimSearchJoinReplaceAndCopy)
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
    // One unit: ASCII, half-width katakana (FF71) and full stop (FF61), the half-width Hangul filler (FFA0) up to
    // FFDC, and the half-width forms FFE8 to FFEE.
    for (wchar_t c : std::wstring(L"A\x007f\xff71\xff61\xffa0\xffdc\xffe8\xffee"))
        EXPECT_EQ(GxString::GetCharWidthUnits(c), 1) << std::hex << int(c);
    // Two units: hiragana, kanji, full-width A, the ellipsis (double-byte in CP932), 0080, the full-width right
    // white parenthesis (FF60), FFDD, the full-width won sign (FFE6), FFEF, and characters of ambiguous width: no-break
    // space, accented Latin letter, multiplication sign, Greek letter, box drawing, Thai letter.
    for (wchar_t c :
         std::wstring(L"\x3042\x6f22\xff21\x2026\x0080\xff60\xffdd\xffe6\xffef\x00a0\x00e9\x00d7\x03b1\x2500\x0e01"))
        EXPECT_EQ(GxString::GetCharWidthUnits(c), 2) << std::hex << int(c);
    EXPECT_EQ(GxString::GetWidthUnits(L"a\x3042\xff71"), 4);
    EXPECT_EQ(GxString::GetWidthUnits(L""), 0);
}
