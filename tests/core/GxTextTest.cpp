#include "FileTestSupport.h"

#include "core/GxString.h"
#include "core/GxText.h"

#include <gtest/gtest.h>

namespace
{

class GxTextTest : public ::testing::Test
{
protected:
    std::vector<std::wstring> Load(const std::string& file, const std::string& bytes, bool skipEmpty = false,
                                   bool* ok = nullptr)
    {
        m_Dir.Write(file, bytes);
        std::vector<std::wstring> lines;
        bool result = GxText::LoadLines(lines, m_Dir.Wide(file), skipEmpty);
        if (ok)
            *ok = result;
        return lines;
    }
    // With its signature; characters beyond the basic plane become surrogate pairs.
    static std::string Utf16LE(const std::wstring& text) { return "\xFF\xFE" + GxString::ToUtf16LE(text); }

    KvTempDir m_Dir;
};

// Rows as a table file holds them: tabs, Japanese text, a CP932 character whose second byte is '\'
// (表, 0x95 0x5C), and a row ending in "。", whose UTF-8 form ends in a byte CP932 takes for a lead byte.
const std::vector<std::wstring> kRows = {
    L"#id\tname\tnote", L"1\t表示\t\"quoted\"", L"2\tテスト。", L"", L"3\tｶﾀｶﾅ\tＡＢＣ", L"4\t終わり。",
};

std::wstring JoinRows(const wchar_t* lineEnd)
{
    std::wstring text;
    for (const std::wstring& row : kRows)
        text += row + lineEnd;
    return text;
}

TEST_F(GxTextTest, SameRowsFromEveryEncodingAndRefusals)
{
    bool ok = false;
    EXPECT_EQ(Load("utf8.txt", "\xEF\xBB\xBF" + GxString::ToUtf8(JoinRows(L"\n")), false, &ok), kRows);
    EXPECT_TRUE(ok);
    EXPECT_EQ(Load("utf8crlf.txt", "\xEF\xBB\xBF" + GxString::ToUtf8(JoinRows(L"\r\n"))), kRows);
    EXPECT_EQ(Load("utf16.txt", Utf16LE(JoinRows(L"\r\n"))), kRows);
    std::string cp932 = GxString::ToMultiByte(JoinRows(L"\r\n"));
    ASSERT_NE(cp932.find("\x95\x5C"), std::string::npos);
    EXPECT_EQ(Load("cp932.txt", cp932), kRows);
    // UTF-16BE, empty and missing files are refused.
    ok = true;
    Load("be.txt", std::string("\xFE\xFF\0a\0\n", 6), false, &ok);
    EXPECT_FALSE(ok);
    Load("empty.txt", "", false, &ok);
    EXPECT_FALSE(ok);
    std::vector<std::wstring> lines;
    EXPECT_FALSE(GxText::LoadLines(lines, m_Dir.Wide("missing.txt"), false));
    // A signature alone is a file of no lines.
    EXPECT_TRUE(Load("bomonly.txt", "\xEF\xBB\xBF", false, &ok).empty());
    EXPECT_TRUE(ok);
}

TEST_F(GxTextTest, LineEndsEmptyLinesAndNul)
{
    using Lines = std::vector<std::wstring>;
    EXPECT_EQ(Load("a.txt", "a\r\n\r\nb"), (Lines{L"a", L"", L"b"}));
    EXPECT_EQ(Load("b.txt", "a\r\n\r\nb", true), (Lines{L"a", L"b"}));
    EXPECT_EQ(Load("c.txt", "a\n\nb\n"), (Lines{L"a", L"", L"b"}));
    EXPECT_EQ(Load("d.txt", "a\n\rb\n\fc"), (Lines{L"a", L"b", L"c"}));
    EXPECT_EQ(Load("e.txt", "a\rb\n"), (Lines{L"ab"})); // a lone CR does not end a line
    EXPECT_EQ(Load("f.txt", "\n"), (Lines{L""}));
    EXPECT_EQ(Load("nul.txt", std::string("a\nb\0c\nd", 7)), (Lines{L"a", L"b"}));
    EXPECT_EQ(Load("nul8.txt", std::string("\xEF\xBB\xBF"
                                           "x\0y",
                                           6)),
              (Lines{L"x"}));
    EXPECT_EQ(Load("nul16.txt", Utf16LE(L"p\nq") + std::string("\0\0r\0", 4)), (Lines{L"p", L"q"}));
    bool ok = false;
    EXPECT_TRUE(Load("nulfirst.txt", std::string("\0abc", 4), false, &ok).empty());
    EXPECT_TRUE(ok);
    std::vector<std::wstring> expected = {L"𠮷野家"};
    EXPECT_EQ(Load("pair.txt", Utf16LE(L"𠮷野家") + "\n"), expected);
}

TEST_F(GxTextTest, ReadLineCountsLinesStopsOnNulAndJoinsCp932LeadBytes)
{
    const char text[] = "one\r\ntwo\n\nthree";
    const char* end = text + sizeof(text) - 1;
    const char* p = text;
    uint32_t lines = 0;
    std::string out;
    GxText::ReadLine(out, p, p, lines, end);
    EXPECT_EQ(out, "one");
    EXPECT_EQ(lines, 1u);
    GxText::ReadLine(out, p, p, lines, end);
    EXPECT_EQ(out, "two");
    GxText::SkipLine(p, p, lines, end);
    GxText::ReadLine(out, p, p, lines, end);
    EXPECT_EQ(out, "three");
    EXPECT_EQ(lines, 3u);
    EXPECT_EQ(p, end);

    const char nul[] = "ab\0cd";
    const char* q = nul;
    GxText::ReadLine(out, q, q, lines, nul + 5);
    EXPECT_EQ(out, "ab");
    EXPECT_EQ(q, nul + 2);
    GxText::ReadLine(out, q, q, lines, nul + 5);
    EXPECT_EQ(q, nul + 2); // stays on the NUL
    // In CP932 text a lead byte takes the next byte whatever it is, even an LF; in UTF-8 it does not.
    const char lead[] = "\x82\nx\ny";
    p = lead;
    GxText::ReadLine(out, p, p, lines, lead + 5, GxText::kCharsetAnsi);
    EXPECT_EQ(out, "\x82\nx");
    p = lead;
    GxText::ReadLine(out, p, p, lines, lead + 5, GxText::kCharsetUtf8);
    EXPECT_EQ(out, "\x82");
}

TEST_F(GxTextTest, QuotedStringsAndTheirEscapes)
{
    const char text[] = "\"a\\tb\\\"c\" rest";
    const char* end = text + sizeof(text) - 1;
    const char* p = nullptr;
    uint32_t lines = 0;
    std::string out;
    GxText::ReadQuotedString(out, text, p, lines, end);
    EXPECT_EQ(out, "a\tb\"c");
    EXPECT_EQ(std::string(p), " rest");

    const char escapes[] = "\"\\f\\n\\r\\t\\v\\\\\\'\\q\"";
    GxText::ReadQuotedString(out, escapes, p, lines, escapes + sizeof(escapes) - 1);
    EXPECT_EQ(out, "\f\n\r\t\v\\'q");

    const char multi[] = "\"x\r\ny\"";
    lines = 0;
    GxText::ReadQuotedString(out, multi, p, lines, multi + sizeof(multi) - 1);
    EXPECT_EQ(out, "xy");
    EXPECT_EQ(lines, 1u);

    const char none[] = "abc";
    GxText::ReadQuotedString(out, none, p, lines, none + 3);
    EXPECT_EQ(out, "");
    EXPECT_EQ(p, none);

    // 表 is 0x95 0x5C in CP932: its second byte is no backslash.
    const char hyou[] = "\"\x95\x5C\"z";
    GxText::ReadQuotedString(out, hyou, p, lines, hyou + 5);
    EXPECT_EQ(out, "\x95\x5C");
    EXPECT_EQ(*p, 'z');

    const char unterminated[] = "\"abc";
    GxText::ReadQuotedString(out, unterminated, p, lines, unterminated + 4);
    EXPECT_EQ(out, "abc");
    EXPECT_EQ(p, unterminated + 4);
}

TEST_F(GxTextTest, WideReadersMatchTheNarrowOnesAndDetectBOMLooksInsideTheFile)
{
    const char16_t text[] = u"\"a\\tb\\\"c\"\nnext\r\nlast";
    const char16_t* end = text + (sizeof(text) / 2) - 1;
    const char16_t* p = nullptr;
    uint32_t lines = 0;
    std::wstring out;
    GxText::ReadQuotedStringW(out, text, p, lines, end);
    EXPECT_EQ(out, L"a\tb\"c");
    GxText::ReadLineW(out, p, p, lines, end);
    EXPECT_EQ(out, L"");
    GxText::ReadLineW(out, p, p, lines, end);
    EXPECT_EQ(out, L"next");
    GxText::ReadLineW(out, p, p, lines, end);
    EXPECT_EQ(out, L"last");
    EXPECT_EQ(lines, 2u);

    // Wide text already held as a wide string (a field of a content record).
    const std::wstring field = L"\"表\\\"示\\n𠮷\"tail";
    const wchar_t* q = nullptr;
    GxText::ReadQuotedStringW(out, field.c_str(), q, lines, field.c_str() + field.size());
    EXPECT_EQ(out, L"表\"示\n𠮷");
    EXPECT_EQ(std::wstring(q), L"tail");
    const std::wstring twoLines = L"a\r\nb";
    GxText::ReadLineW(out, twoLines.c_str(), q, lines, twoLines.c_str() + twoLines.size());
    EXPECT_EQ(out, L"a");
    EXPECT_EQ(*q, L'b');
    const uint8_t utf8[] = {0xEF, 0xBB, 0xBF}, le[] = {0xFF, 0xFE}, be[] = {0xFE, 0xFF};
    EXPECT_EQ(GxText::DetectBOM(utf8, 3), GxText::kBomUtf8);
    EXPECT_EQ(GxText::DetectBOM(utf8, 2), GxText::kBomNone);
    EXPECT_EQ(GxText::DetectBOM(le, 2), GxText::kBomUtf16LE);
    EXPECT_EQ(GxText::DetectBOM(be, 2), GxText::kBomUtf16BE);
    EXPECT_EQ(GxText::DetectBOM(le, 1), GxText::kBomNone);
}

} // namespace
