// The text form of content records: the line grammar, round trips, escapes, line ends, name checks,
// peeking, locale independence, and malformed lines that must fail like any other error.
#include "ContentSampleRecord.h"

#include "core/GxContentTextReader.h"
#include "core/GxContentTextWriter.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>

namespace
{

template <typename F> std::string Written(F&& write)
{
    MemoryFile file;
    GxContentTextWriter writer(file.Get());
    EXPECT_TRUE(write(writer));
    return file.Bytes();
}

// A reader over text that keeps its own copy, sized exactly so that AddressSanitizer sees any read
// past the end.
class TextRecord
{
public:
    explicit TextRecord(const std::string& text)
        : m_Bytes(text.begin(), text.end()), m_Reader(m_Bytes.data(), uint32_t(m_Bytes.size()))
    {
    }
    GxContentTextReader* operator->() { return &m_Reader; }
    GxContentTextReader& Get() { return m_Reader; }

private:
    std::vector<char> m_Bytes;
    GxContentTextReader m_Reader;
};

// Switches LC_ALL to a locale with a decimal comma for the scope, when the machine has one.
class CommaLocale
{
public:
    CommaLocale() : m_Saved(std::setlocale(LC_ALL, nullptr))
    {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE", "fr_FR"})
            if (std::setlocale(LC_ALL, name))
            {
                m_Active = true;
                return;
            }
    }
    ~CommaLocale() { std::setlocale(LC_ALL, m_Saved.c_str()); }
    bool IsActive() const { return m_Active; }

private:
    std::string m_Saved;
    bool m_Active = false;
};

} // namespace

TEST(GxContentTextForm, HeaderLineIsRootTabVersionAndAWrongRootFailsOnLineOne)
{
    EXPECT_EQ(Written([](GxContentTextWriter& w) { return w.WriteHeader("TGD", 100); }), "TGD\t100\n");
    EXPECT_EQ(Written([](GxContentTextWriter& w) { return !w.WriteHeader("T234567890123456", 1); }), "");

    // A wrong root name fails on line 1; the value-name check can be switched off.
    ErrorLogCapture log;
    TextRecord record("TGD\t100\n");
    uint32_t version = 0;
    EXPECT_FALSE(record->ReadHeader("TGDX", version));
    EXPECT_EQ(record->GetErrorCount(), 1u);
    EXPECT_EQ(record->GetLineNumber(), 1u);
    // With the name check switched off any name passes.
    TextRecord lax("05\tm_Other\t7\n");
    lax->SetCheckValueName(0);
    EXPECT_EQ(lax->GetS32("m_A"), 7);
    EXPECT_EQ(lax->GetErrorCount(), 0u);

    TextRecord strict("05\tm_Other\t7\n05\tm_B\t8\n");
    EXPECT_EQ(strict->GetS32("m_A"), 0);
    EXPECT_EQ(strict->GetErrorCount(), 1u);
    EXPECT_EQ(strict->GetS32("m_B"), 8); // the failed line was consumed
    EXPECT_EQ(log.Text(), L"GxContentTextReader/FileHeader Isn't TGDX Line=1\n"
                          L"GxContentTextReader/ValueName does not match Line=1\n");
}

TEST(GxContentTextForm, ValueLinesFollowTheGrammar)
{
    EXPECT_EQ(Written([](GxContentTextWriter& w) { return w.Write("m_A", int8_t(-1)); }), "01\tm_A\t-1\n");
    EXPECT_EQ(Written([](GxContentTextWriter& w) { return w.Write("m_A", uint8_t(255)); }), "02\tm_A\t255\n");
    EXPECT_EQ(Written([](GxContentTextWriter& w) { return w.Write("m_A", 0.1f); }), "09\tm_A\t0.100000\n");
    GxPoint2 p{3, 4};
    EXPECT_EQ(Written([&](GxContentTextWriter& w) { return w.Write("m_A", &p); }), "32\tm_A\t3\t4\n");
    EXPECT_EQ(Written([](GxContentTextWriter& w) { return w.Write("m_A", true); }), "0b\tm_A\t1\n");
    EXPECT_EQ(Written([](GxContentTextWriter& w) { return w.Write("m_A", int64_t(-9000000000LL)); }),
              "07\tm_A\t-9000000000\n");
    EXPECT_EQ(Written([](GxContentTextWriter& w) { return w.Write("m_A", 0.0000001); }), "0a\tm_A\t0.000000\n");
    GxBit32 bits(0xFFFFFFFFu);
    EXPECT_EQ(Written([&](GxContentTextWriter& w) { return w.Write("m_A", &bits); }), "15\tm_A\t4294967295\n");
    GxVector3 v(0.5f, -1.0f, 2.0f);
    EXPECT_EQ(Written([&](GxContentTextWriter& w) { return w.Write("m_V", &v); }),
              "0d\tm_V\t0.500000\t-1.000000\t2.000000\n");
    GxMatrix m;
    m.m[3][0] = 10.0f;
    EXPECT_EQ(Written([&](GxContentTextWriter& w) { return w.Write("m_M", &m); }),
              "11\tm_M\t1.000000\t0.000000\t0.000000\t0.000000\t0.000000\t1.000000\t0.000000\t0.000000"
              "\t0.000000\t0.000000\t1.000000\t0.000000\t10.000000\t0.000000\t0.000000\t1.000000\n");
    EXPECT_EQ(Written([](GxContentTextWriter& w) { return w.ListBegin("m_L", "", 2); }), "20\tm_L\t\t2\t{\n");
    EXPECT_EQ(Written([](GxContentTextWriter& w) { return w.ListEnd(); }), "21\t}\n");
    EXPECT_EQ(Written([](GxContentTextWriter& w) { return w.TreeBegin("m_T", "Node"); }), "22\tm_T\tNode\t{\n");
    EXPECT_EQ(Written([](GxContentTextWriter& w) { return w.TreeStratumBegin(); }), "24\t{\n");
    EXPECT_EQ(Written([](GxContentTextWriter& w) { return w.TreeStratumEnd(); }), "25\t}\n");
    EXPECT_EQ(Written([](GxContentTextWriter& w) { return w.TreeEnd(); }), "23\t}\n");
}

TEST(GxContentTextForm, StringsAreEscapedAndQuotedAndKeepJapaneseText)
{
    EXPECT_EQ(Written([](GxContentTextWriter& w) { return w.WriteString("m_A", L"a\"b"); }),
              "1a\tm_A\t4\t\"a\\\"b\"\n");
    EXPECT_EQ(Written([](GxContentTextWriter& w) { return w.WriteString("m_A", L""); }), "1a\tm_A\t0\t\"\"\n");
    EXPECT_EQ(Written([](GxContentTextWriter& w) { return w.WriteString("m_A", L"\\\n\r\f\t'"); }),
              "1a\tm_A\t12\t\"\\\\\\n\\r\\f\\t\\'\"\n");

    TextRecord record("1a\tm_A\t4\t\"a\\\"b\"\n");
    EXPECT_EQ(record->ReadStringW("m_A"), L"a\"b");
    EXPECT_EQ(record->GetErrorCount(), 0u);
    // The last UTF-8 byte of "あ" (82) is a CP932 lead byte: it must not swallow the closing quote.
    const std::string text =
        Written([](GxContentTextWriter& w) { return w.WriteString("m_A", L"あ") && w.WriteString("m_B", L"表示\\"); });
    EXPECT_EQ(text, "1a\tm_A\t3\t\"\xE3\x81\x82\"\n1a\tm_B\t8\t\"\xE8\xA1\xA8\xE7\xA4\xBA\\\\\"\n");
    TextRecord wide(text);
    EXPECT_EQ(wide->ReadStringW("m_A"), L"あ");
    EXPECT_EQ(wide->ReadStringW("m_B"), L"表示\\");
    TextRecord narrow(text);
    EXPECT_EQ(narrow->ReadStringA("m_A"), "\x82\xA0");
    EXPECT_EQ(narrow->ReadStringA("m_B"), "\x95\x5C\x8E\xA6\\");
    EXPECT_EQ(narrow->GetErrorCount(), 0u);
    // "表" is 95 5C in CP932; its second byte must not escape the closing quote.
    TextRecord narrow932("18\tm_A\t2\t\"\x95\x5C\"\n0b\tm_B\t1\n"), wide932("18\tm_A\t2\t\"\x95\x5C\"\n");
    EXPECT_EQ(narrow932->ReadStringA("m_A"), "\x95\x5C");
    EXPECT_TRUE(narrow932->GetBool("m_B"));
    EXPECT_EQ(wide932->ReadStringW("m_A"), L"表");
    EXPECT_EQ(narrow932->GetErrorCount() + wide932->GetErrorCount(), 0u);
}

TEST(GxContentTextForm, BinaryBlocksAreHexLinesOfThirtyTwoBytesAndShortLinesLeaveZeros)
{
    const uint8_t three[] = {0x01, 0x02, 0xFF};
    EXPECT_EQ(Written([&](GxContentTextWriter& w) { return w.WriteBinary("m_B", three, 3); }), "1b\tm_B\t3\n0102ff\n");
    EXPECT_EQ(Written([&](GxContentTextWriter& w) { return w.WriteBinary("m_B", nullptr, 0); }), "1b\tm_B\t0\n");

    uint8_t block[33];
    for (int i = 0; i < 33; ++i)
        block[i] = uint8_t(i);
    const std::string text = Written([&](GxContentTextWriter& w) { return w.WriteBinary("m_B", block, 33); });
    EXPECT_EQ(text, "1b\tm_B\t33\n000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f\n20\n");
    TextRecord record(text);
    GxBinBuffer buffer;
    ASSERT_TRUE(record->ReadBinary("m_B", buffer));
    ASSERT_EQ(buffer.GetSize(), 33u);
    EXPECT_EQ(0, std::memcmp(buffer.GetData(), block, 33));
    EXPECT_TRUE(record->IsEnd());
    EXPECT_EQ(record->GetLineNumber(), 3u);
    // A short data line leaves zeros.
    TextRecord shortLine("1b\tm_B\t4\nab1\n0b\tm_C\t1\n");
    ASSERT_TRUE(shortLine->ReadBinary("m_B", buffer));
    ASSERT_EQ(buffer.GetSize(), 4u);
    EXPECT_EQ(buffer.GetData()[0], 0xAB);
    EXPECT_EQ(buffer.GetData()[1], 0);
    EXPECT_TRUE(shortLine->GetBool("m_C"));
}

TEST(GxContentTextForm, NumbersParseLikeTheCRuntimeWithSixDecimals)
{
    TextRecord record("09\tm_A\t0.1234567\n0a\tm_B\t-2.5e3\n");
    EXPECT_EQ(record->GetF32("m_A"), 0.1234567f);
    EXPECT_EQ(record->GetF64("m_B"), -2500.0);
    const std::string text = Written([](GxContentTextWriter& w) { return w.Write("m_A", 1.0 / 3.0); });
    EXPECT_EQ(text, "0a\tm_A\t0.333333\n");
    TextRecord numbers("01\tm\t 200\n05\tm\t12abc\n06\tm\t-1\n06\tm\t99999999999\n05\tm\t-99999999999\n"
                       "08\tm\t18446744073709551615\n07\tm\t-9223372036854775808\n0x09\tm\t+.5\n0b\tm\t2\n");
    numbers->SetCheckValueName(0);
    EXPECT_EQ(numbers->GetS8("m"), int8_t(-56));
    EXPECT_EQ(numbers->GetS32("m"), 12);
    EXPECT_EQ(numbers->GetU32("m"), 0xFFFFFFFFu);
    EXPECT_EQ(numbers->GetU32("m"), 0xFFFFFFFFu);
    EXPECT_EQ(numbers->GetS32("m"), INT32_MIN);
    EXPECT_EQ(numbers->GetU64("m"), UINT64_MAX);
    EXPECT_EQ(numbers->GetS64("m"), INT64_MIN);
    EXPECT_EQ(numbers->GetF32("m"), 0.5f);
    EXPECT_TRUE(numbers->GetBool("m"));
    EXPECT_EQ(numbers->GetErrorCount(), 0u);
}

TEST(GxContentTextForm, CrLfFileReadsLikeLfAndNumbersIgnoreTheProcessLocale)
{
    const ContentSampleRecord written = ContentSampleRecord::MakeFilled();
    MemoryFile file;
    {
        GxContentTextWriter writer(file.Get());
        ASSERT_TRUE(written.Write(writer, "TSAMPLE"));
    }
    const std::string lf = file.Bytes();
    std::string crlf;
    for (char c : lf)
    {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    TextRecord a(lf), b(crlf);
    ContentSampleRecord ra, rb;
    ASSERT_TRUE(ra.Read(a.Get(), "TSAMPLE"));
    ASSERT_TRUE(rb.Read(b.Get(), "TSAMPLE"));
    EXPECT_EQ(b->GetErrorCount(), 0u);
    EXPECT_EQ(a->GetLineNumber(), b->GetLineNumber());
    ExpectSameRecord(rb, ra);
    CommaLocale locale;
    if (!locale.IsActive())
        GTEST_SKIP() << "no locale with a decimal comma on this machine";
    EXPECT_EQ(Written([](GxContentTextWriter& w) { return w.Write("m_A", 0.5); }), "0a\tm_A\t0.500000\n");
    TextRecord record("0a\tm_A\t0.5\n");
    EXPECT_EQ(record->GetF64("m_A"), 0.5);
}

TEST(GxContentTextForm, PeekDoesNotConsumeAndSkipPassesOverBinaryDataLines)
{
    TextRecord record("TX\t1\n0b\tm_A\t1\n");
    uint32_t version = 0;
    ASSERT_TRUE(record->ReadHeader("TX", version));
    EXPECT_EQ(record->PeekValueType(), 0x0Bu);
    EXPECT_EQ(record->PeekValueType(), 0x0Bu);
    EXPECT_EQ(record->GetLineNumber(), 1u);
    EXPECT_TRUE(record->GetBool("m_A"));
    EXPECT_EQ(record->PeekValueType(), 0u);
    EXPECT_TRUE(record->IsEnd());
    TextRecord skipped("20\tm_L\t\t1\t{\n1b\tm_B\t40\n00\n11\n0b\tm_A\t1\n");
    EXPECT_TRUE(skipped->SkipValue()); // the list begin alone
    EXPECT_EQ(skipped->PeekValueType(), 0x1Bu);
    EXPECT_TRUE(skipped->SkipValue()); // the block and its two data lines
    EXPECT_TRUE(skipped->GetBool("m_A"));
    EXPECT_EQ(skipped->GetErrorCount(), 0u);
}

TEST(GxContentTextForm, WrongTypeGivesDefaultConsumesTheLineAndNoTypeStandsInForAnother)
{
    ErrorLogCapture log;
    TextRecord record("05\tm_A\t7\n0b\tm_B\t1\n");
    EXPECT_EQ(record->GetFColor("m_A"), (GxFColor{1.0f, 1.0f, 1.0f, 1.0f}));
    EXPECT_EQ(record->GetErrorCount(), 1u);
    EXPECT_TRUE(record->GetBool("m_B"));
    TextRecord flags("05\tm_A\t7\n15\tm_X\t1\n");
    flags->GetBit32("m_A");
    flags->GetBit32("m_A");
    EXPECT_EQ(log.Text(), L"GxContentTextReader/ValueType Isn't VALTYPE_GxFColor Line=1\n"
                          L"GxContentStringReader/ValueType Isn't VALTYPE_GxBit32 Line=1\n"
                          L"GxContentStringReader/ValueName does not match Line=2\n");
    // A four-float vector does not stand in for a quaternion.
    TextRecord vector("0e\tm_V\t1\t2\t3\t4\n");
    GxQuaternion q;
    EXPECT_FALSE(vector->Read("m_V", q));
    EXPECT_EQ(q.w, 1.0f);
}

TEST(GxContentTextForm, LinesWithTooFewFieldsAndSizesBeyondTheRemainingTextAreErrors)
{
    TextRecord record("0d\tm_V\t1.0\t2.0\n0d\n1a\tm_S\t3\n11\tm_M\t1\n05\n20\tm_L\t\n0b\tm_B\t1\n");
    GxVector3 v(7.0f, 8.0f, 9.0f);
    EXPECT_FALSE(record->Read("m_V", v));
    EXPECT_EQ(v.x, 7.0f);
    EXPECT_FALSE(record->Read("m_V", v));
    EXPECT_EQ(record->ReadStringW("m_S"), L"");
    GxMatrix m = record->GetMatrix("m_M");
    EXPECT_EQ(m.m[1][1], 1.0f);
    EXPECT_EQ(m.m[0][1], 0.0f);
    record->SetCheckValueName(0);
    EXPECT_EQ(record->GetS32("m_A"), 0);
    uint32_t count = 5;
    EXPECT_FALSE(record->ListBegin("m_L", count));
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(record->GetErrorCount(), 6u);
    EXPECT_TRUE(record->GetBool("m_B"));

    for (const char* text : {"1b\tm_B\t-5\n00\n", "1b\tm_B\t2000000000\n00\n", "1b\tm_B\t3\n00\n"})
    {
        TextRecord block(text);
        GxBinBuffer buffer;
        EXPECT_FALSE(block->ReadBinary("m_B", buffer)) << text;
        EXPECT_EQ(block->GetErrorCount(), 1u);
    }
    TextRecord huge("20\tm_L\tItem\t4000000000\t{\n05\tm_A\t1\n");
    uint32_t hugeCount = 1;
    EXPECT_FALSE(huge->ListBegin("m_L", hugeCount));
    EXPECT_EQ(hugeCount, 0u);
    EXPECT_EQ(huge->GetErrorCount(), 1u);
}

TEST(GxContentTextForm, NulByteEndsTheRecord)
{
    std::string text("0b\tm_A\t1\n");
    text.push_back('\0');
    text += "0b\tm_B\t1\n";
    TextRecord record(text);
    EXPECT_TRUE(record->GetBool("m_A"));
    EXPECT_TRUE(record->IsEnd());
    EXPECT_FALSE(record->GetBool("m_B"));
    EXPECT_EQ(record->GetErrorCount(), 1u);
}
