#include "core/GxString.h"

#include <gtest/gtest.h>

// "日本語テキスト" with a half-width katakana and the yen-free backslash.
static const wchar_t* kJapanese = L"\x65e5\x672c\x8a9e\x30c6\x30ad\x30b9\x30c8 \xff71 a\\b";

TEST(GxStringConvert, Cp932RoundTripsJapaneseWithMicrosoftMappingsAndStopsAtNul)
{
    std::string cp932 = GxString::ToMultiByte(kJapanese);
    // 日 is 0x93 0xFA, half-width ｱ is the single byte 0xB1, backslash stays 0x5C.
    ASSERT_GE(cp932.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(cp932[0]), 0x93);
    EXPECT_EQ(static_cast<unsigned char>(cp932[1]), 0xFA);
    EXPECT_NE(cp932.find('\xB1'), std::string::npos);
    EXPECT_NE(cp932.find("a\\b"), std::string::npos);
    EXPECT_EQ(GxString::ToWide(cp932), kJapanese);
    // The wave dash of CP932 (0x81 0x60) is the full-width tilde, not U+301C.
    EXPECT_EQ(GxString::ToWide("\x81\x60"), L"\xff5e");
    // NEC special characters: circled one.
    EXPECT_EQ(GxString::ToWide("\x87\x40"), L"\x2460");
    EXPECT_EQ(GxString::ToWide(std::string("ab\0cd", 5)), L"ab");
    EXPECT_EQ(GxString::ToMultiByte(std::wstring(L"ab\0cd", 5)), "ab");
    EXPECT_EQ(GxString::FromUtf8(std::string("ab\0cd", 5)), L"ab");
    EXPECT_EQ(GxString::ToUtf8(std::wstring(L"ab\0cd", 5)), "ab");
    EXPECT_EQ(GxString::ToWide(static_cast<const char*>(nullptr)), L"");
}

TEST(GxStringConvert, UnmappableOrInvalidTextBecomesTheDefaultCharacter)
{
    // Hangul and an emoji have no CP932 form; the rest converts.
    EXPECT_EQ(GxString::ToMultiByte(L"a\xac00"
                                    L"b\x1F600"
                                    L"c"),
              "a?b?c");
    // A value that is no character at all.
    EXPECT_EQ(GxString::ToMultiByte(std::wstring(1, static_cast<wchar_t>(0x110000))), "?");
    // 0x81 0x20 is a lead byte with a bad trail; 0x82 alone at the end is cut short.
    std::wstring wide = GxString::ToWide(std::string("x\x81 y\x82"));
    EXPECT_EQ(wide, L"x\x30fb y\x30fb");
}

TEST(GxStringConvert, UnicodeFormsRoundTripAndReplaceIllFormedInput)
{
    std::wstring wide = std::wstring(kJapanese) + L"\x00e9\x1F600\x10FFFF";
    std::string utf8 = GxString::ToUtf8(wide);
    EXPECT_EQ(utf8.substr(0, 3), "\xE6\x97\xA5");
    EXPECT_EQ(GxString::FromUtf8(utf8), wide);
    // Overlong slash, an encoded surrogate, a stray continuation byte, a truncated sequence at the end.
    EXPECT_EQ(GxString::FromUtf8("\xC0\xAF"), L"\xfffd\xfffd");
    EXPECT_EQ(GxString::FromUtf8("\xED\xA0\x80"), L"\xfffd\xfffd\xfffd");
    EXPECT_EQ(GxString::FromUtf8("a\x80"
                                 "b"),
              L"a\xfffd"
              L"b");
    EXPECT_EQ(GxString::FromUtf8("a\xE6\x97"), L"a\xfffd");
    EXPECT_EQ(GxString::FromUtf8("\xF4\x90\x80\x80"), L"\xfffd\xfffd\xfffd\xfffd");
    std::wstring bad = {L'a', static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0x110000)};
    EXPECT_EQ(GxString::ToUtf8(bad), "a\xEF\xBF\xBD\xEF\xBF\xBD");
    const std::wstring pair = L"A\x3042\x1F600";
    std::string bytes = GxString::ToUtf16LE(pair);
    EXPECT_EQ(bytes, std::string("A\0\x42\x30\x3D\xD8\x00\xDE", 8));
    EXPECT_EQ(GxString::FromUtf16LE(bytes.data(), bytes.size()), pair);
    EXPECT_EQ(GxString::CountUtf16Units(pair), 4u);
    std::u16string units = {u'a', static_cast<char16_t>(0xDC01), u'b', static_cast<char16_t>(0xD801)};
    // Lone surrogates survive the round trip.
    const std::wstring lone = GxString::FromUtf16(units);
    ASSERT_EQ(lone.size(), 4u);
    EXPECT_EQ(GxString::ToUtf16(lone), units);
    EXPECT_EQ(GxString::FromUtf16LE("a\0b", 3), L"a");
    EXPECT_EQ(GxString::FromUtf16LE(std::string("a\0\0\0b\0", 6).data(), 6), L"a");
}
