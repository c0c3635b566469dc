// The binary form of content records: byte layout, round trips, cross-type reads, skipping, and reads
// of damaged data that must stop at the end of the buffer.
#include "ContentSampleRecord.h"

#include "core/GxContentBinaryReader.h"
#include "core/GxContentBinaryWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{

std::vector<uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<uint8_t> out;
    for (int v : values)
        out.push_back(uint8_t(v));
    return out;
}

std::vector<uint8_t> ToVector(const std::string& s)
{
    return std::vector<uint8_t>(s.begin(), s.end());
}

// The bytes one writer call produces.
template <typename F> std::vector<uint8_t> Written(F&& write)
{
    MemoryFile file;
    GxContentBinaryWriter writer(file.Get());
    EXPECT_TRUE(write(writer));
    return ToVector(file.Bytes());
}

// A header of root "BGD", version 1, followed by the given value bytes.
std::vector<uint8_t> WithHeader(const std::vector<uint8_t>& values)
{
    std::vector<uint8_t> out = Bytes({'B', 'G', 'D', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1});
    out.insert(out.end(), values.begin(), values.end());
    return out;
}

// Holds the bytes ahead of the reader below, so they are built before it.
struct RecordBytes
{
    std::vector<uint8_t> m_Bytes;
};

// A reader over a header of root "BGD", version 1, and the given value bytes, its header already read.
// The bytes are an exact-size copy, so AddressSanitizer reports any byte touched beyond them.
class BinaryRecord : private RecordBytes, public GxContentBinaryReader
{
public:
    explicit BinaryRecord(const std::vector<uint8_t>& values, bool readHeader = true)
        : RecordBytes{Exact(WithHeader(values))}, GxContentBinaryReader(m_Bytes.data(), uint32_t(m_Bytes.size()))
    {
        uint32_t version = 0;
        if (readHeader)
        {
            EXPECT_TRUE(ReadHeader("BGD", version));
            EXPECT_EQ(version, 1u);
        }
    }

private:
    static std::vector<uint8_t> Exact(const std::vector<uint8_t>& v)
    {
        return std::vector<uint8_t>(v.begin(), v.end());
    }
};

} // namespace

TEST(GxContentBinaryForm, HeaderIsRootNamePaddedToSixteenBytesThenBigEndianVersionAndAWrongRootConsumesNothing)
{
    EXPECT_EQ(Written([](GxContentBinaryWriter& w) { return w.WriteHeader("BGD", 100); }),
              Bytes({0x42, 0x47, 0x44, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x00, 0x00, 0x64}));
    auto bytes = Written([](GxContentBinaryWriter& w) { return w.WriteHeader("ABCDEFGHIJKLMNO", 1); });
    ASSERT_EQ(bytes.size(), 20u);
    EXPECT_EQ(bytes[14], 'O');
    EXPECT_EQ(bytes[15], 0);

    MemoryFile file;
    GxContentBinaryWriter writer(file.Get());
    EXPECT_FALSE(writer.WriteHeader("ABCDEFGHIJKLMNOP", 1));
    EXPECT_TRUE(file.Bytes().empty());

    ErrorLogCapture log;
    BinaryRecord reader({}, false);
    uint32_t rootVersion = 0;
    EXPECT_FALSE(reader.ReadHeader("BGDX", rootVersion));
    EXPECT_EQ(reader.GetErrorCount(), 1u);
    EXPECT_EQ(log.Text(), L"GxContentBinaryReader/FileHeader Isn't BGDX\n");
    EXPECT_TRUE(reader.ReadHeader("BGD", rootVersion));
}

TEST(GxContentBinaryForm, ScalarsAndStringsAreTagThenBigEndianPayload)
{
    EXPECT_EQ(Written([](GxContentBinaryWriter& w) { return w.Write("m_A", int32_t(1)); }), Bytes({0x05, 0, 0, 0, 1}));
    EXPECT_EQ(Written([](GxContentBinaryWriter& w) { return w.Write("m_A", 1.0f); }), Bytes({0x09, 0x3F, 0x80, 0, 0}));
    EXPECT_EQ(Written([](GxContentBinaryWriter& w) { return w.Write("m_A", true); }), Bytes({0x0B, 0x01}));
    EXPECT_EQ(Written([](GxContentBinaryWriter& w) { return w.Write("m_A", int16_t(-2)); }), Bytes({0x03, 0xFF, 0xFE}));
    EXPECT_EQ(Written([](GxContentBinaryWriter& w) { return w.Write("m_A", uint64_t(0x0102030405060708ULL)); }),
              Bytes({0x08, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(Written([](GxContentBinaryWriter& w) { return w.Write("m_A", -2.0); }),
              Bytes({0x0A, 0xC0, 0, 0, 0, 0, 0, 0, 0}));
    GxPoint2 p{3, -1};
    EXPECT_EQ(Written([&](GxContentBinaryWriter& w) { return w.Write("m_A", &p); }),
              Bytes({0x32, 0, 0, 0, 3, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Written([](GxContentBinaryWriter& w) { return w.WriteString("m_A", L""); }),
              Bytes({0x1A, 0, 0, 0, 0, 0}));
    // "あ" is E3 81 82 in UTF-8; a narrow argument is CP932 (82 A0) and is stored as UTF-8 as well.
    EXPECT_EQ(Written([](GxContentBinaryWriter& w) { return w.WriteString("m_A", L"あ"); }),
              Bytes({0x1A, 0, 0, 0, 3, 0xE3, 0x81, 0x82, 0}));
    EXPECT_EQ(Written([](GxContentBinaryWriter& w) { return w.WriteString("m_A", "\x82\xA0"); }),
              Bytes({0x1A, 0, 0, 0, 3, 0xE3, 0x81, 0x82, 0}));
}

TEST(GxContentBinaryForm, HeaderOnlyBufferFailsEveryReadWithOverrunAndTypeErrors)
{
    ErrorLogCapture log;
    BinaryRecord reader({});
    EXPECT_TRUE(reader.IsEnd());
    EXPECT_EQ(reader.PeekValueType(), 255u);
    int32_t value = 42;
    EXPECT_FALSE(reader.Read("m_A", value));
    EXPECT_EQ(value, 42);
    EXPECT_EQ(reader.GetErrorCount(), 2u);
    EXPECT_EQ(log.Text(), L"GxContentBinaryReader/ReadPos Overrun\n"
                          L"GxContentBinaryReader/ValueType Isn't VALTYPE_GxS32\n");
}

TEST(GxContentBinaryForm, VectorsServeAsQuaternionColourAndEachOther)
{
    std::vector<uint8_t> vec4 = Bytes({0x0E, 0x3F, 0x80, 0, 0, 0x40, 0, 0, 0, 0x40, 0x40, 0, 0, 0x40, 0x80, 0, 0});
    std::vector<uint8_t> values;
    for (int i = 0; i < 3; ++i)
        values.insert(values.end(), vec4.begin(), vec4.end());
    values.push_back(0x0B);
    values.push_back(1);
    BinaryRecord reader(values);

    GxQuaternion q = reader.GetQuat("m_Q");
    EXPECT_EQ(q.x, 1.0f);
    EXPECT_EQ(q.w, 4.0f);
    GxFColor c = reader.GetFColor("m_C");
    EXPECT_EQ(c, (GxFColor{1.0f, 2.0f, 3.0f, 4.0f}));
    GxVector3 v;
    v.w = 9.0f;
    EXPECT_TRUE(reader.Read("m_V", v));
    EXPECT_EQ(v.z, 3.0f);
    EXPECT_EQ(v.w, 0.0f);
    EXPECT_TRUE(reader.GetBool("m_B")); // the fourth float was consumed with the vector
    EXPECT_EQ(reader.GetErrorCount(), 0u);
    // A three-float vector read as a four-float one has a zero w.
    BinaryRecord vec3(Bytes({0x0D, 0x3F, 0x80, 0, 0, 0x40, 0, 0, 0, 0x40, 0x40, 0, 0}));
    GxVector4 v4;
    v4.w = 5.0f;
    EXPECT_TRUE(vec3.Read("m_V", v4));
    EXPECT_EQ(v4.z, 3.0f);
    EXPECT_EQ(v4.w, 0.0f);
    EXPECT_TRUE(vec3.IsEnd());
}

TEST(GxContentBinaryForm, WrongTypeGivesDefaultsConsumesOnlyTheTagAndSkipTakesWholeValues)
{
    BinaryRecord reader(Bytes({0x05, 0, 0, 0, 7, 0x05, 0, 0, 0, 7}));
    EXPECT_EQ(reader.GetFColor("m_C"), (GxFColor{1.0f, 1.0f, 1.0f, 1.0f}));
    EXPECT_EQ(reader.GetErrorCount(), 1u);
    // The cursor now stands on the payload byte 0, which is no tag either.
    GxQuaternion q = reader.GetQuat("m_Q");
    EXPECT_EQ(q.w, 1.0f);
    EXPECT_EQ(q.x, 0.0f);
    EXPECT_EQ(reader.GetErrorCount(), 2u);
    // A skip consumes one whole value.
    BinaryRecord skipped(Bytes({0x15, 1,    2, 3, 4,              // Bit32: 5 bytes
                                0x20, 0,    0, 0, 2,              // list begin: 5 bytes, items stay
                                0x1A, 0,    0, 0, 2, 'h', 'i', 0, // string of 2: 8 bytes
                                0x1B, 0,    0, 0, 3, 9,   9,   9, // binary block of 3
                                0x21, 0x0B, 1}));
    // Each skip must land exactly on the next tag.
    const uint32_t next[] = {0x20, 0x1A, 0x1B, 0x21, 0x0B};
    EXPECT_EQ(skipped.PeekValueType(), 0x15u);
    for (uint32_t expected : next)
    {
        EXPECT_TRUE(skipped.SkipValue());
        EXPECT_EQ(skipped.PeekValueType(), expected);
    }
    EXPECT_TRUE(skipped.GetBool("m_B"));
    EXPECT_TRUE(skipped.IsEnd());
    EXPECT_EQ(skipped.GetErrorCount(), 0u);
}

// Each string is read by both calls; a Bool after a whole string must follow it at once.
TEST(GxContentBinaryForm, StoredStringsReadWideAndNarrow)
{
    const struct
    {
        std::vector<uint8_t> bytes;
        std::wstring wide;
        std::string narrow;
        uint32_t errors;
    } cases[] = {
        {Bytes({0x1A, 0, 0, 0, 0, 0, 0x0B, 1}), L"", "", 0},                       // empty: six bytes
        {Bytes({0x18, 0, 0, 0, 2, 0x95, 0x5C, 0, 0x0B, 1}), L"表", "\x95\x5C", 0}, // CP932 tag: 5C is no backslash
        {Bytes({0x1A, 0, 0, 0, 3, 'a', 0, 'b', 0, 0x0B, 1}), L"a", "a", 0},        // a NUL inside cuts the text
        {Bytes({0x1A, 0, 0, 0, 2, 'h', 'i'}), L"", "", 1},                         // no room for the terminator
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.narrow);
        BinaryRecord wide(c.bytes), narrow(c.bytes);
        EXPECT_EQ(wide.ReadStringW("m_S"), c.wide);
        EXPECT_EQ(narrow.ReadStringA("m_S"), c.narrow);
        for (GxContentBinaryReader* reader :
             {static_cast<GxContentBinaryReader*>(&wide), static_cast<GxContentBinaryReader*>(&narrow)})
        {
            EXPECT_TRUE(c.errors != 0 || reader->GetBool("m_B"));
            EXPECT_EQ(reader->GetErrorCount(), c.errors);
            EXPECT_TRUE(reader->IsEnd());
        }
    }
}

TEST(GxContentBinaryForm, HugeLengthsCountsAndCutValuesAreOverrunsNotWrapAround)
{
    for (auto tag : {0x1A, 0x18, 0x1B})
    {
        BinaryRecord reader(Bytes({tag, 0xFF, 0xFF, 0xFF, 0xFF, 'x'}));
        if (tag == 0x1B)
        {
            GxBinBuffer buffer;
            EXPECT_FALSE(reader.ReadBinary("m_B", buffer));
        }
        else
            EXPECT_EQ(reader.ReadStringA("m_S"), "");
        EXPECT_EQ(reader.GetErrorCount(), 1u);

        BinaryRecord skipper(Bytes({tag, 0xFF, 0xFF, 0xFF, 0xFF, 'x'}));
        EXPECT_FALSE(skipper.SkipValue());
        EXPECT_TRUE(skipper.IsEnd());
    }
    BinaryRecord reader(Bytes({0x11, 0x3F, 0x80, 0, 0, 0x3F, 0x80}));
    GxMatrix m = reader.GetMatrix("m_M");
    EXPECT_EQ(m.m[0][0], 1.0f);
    EXPECT_EQ(m.m[0][1], 0.0f);
    EXPECT_EQ(reader.GetErrorCount(), 1u);
    EXPECT_TRUE(reader.IsEnd());

    BinaryRecord list(Bytes({0x20, 0x7F, 0xFF, 0xFF, 0xFF, 0x05, 0, 0, 0, 1}));
    uint32_t count = 99;
    EXPECT_FALSE(list.ListBegin("m_L", count));
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(list.GetErrorCount(), 1u);
    // The reader has given up on the record: what follows fails at once.
    EXPECT_TRUE(list.IsEnd());
    EXPECT_EQ(list.GetS32("m_A"), 0);
    // A binary block replaces the buffer's contents.
    BinaryRecord block(Bytes({0x1B, 0, 0, 0, 2, 0xAB, 0xCD}));
    GxBinBuffer buffer;
    buffer.Alloc(100);
    ASSERT_TRUE(block.ReadBinary("m_B", buffer));
    ASSERT_EQ(buffer.GetSize(), 2u);
    EXPECT_EQ(buffer.GetData()[0], 0xAB);
    EXPECT_EQ(buffer.GetData()[1], 0xCD);
}

