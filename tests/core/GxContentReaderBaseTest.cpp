// What both forms share: a record written to a real file by either writer loads into a GxBinBuffer and
// is read back by the reader its first byte chooses, and the by-value reads give their defaults.
#include "ContentSampleRecord.h"
#include "FileTestSupport.h"

#include "core/GxContentBinaryReader.h"
#include "core/GxContentBinaryWriter.h"
#include "core/GxContentTextReader.h"
#include "core/GxContentTextWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <memory>

namespace
{

// The client's choice: 'T' selects the text form and its root name, anything else the binary one.
std::unique_ptr<GxContentReaderBase> OpenReader(const GxBinBuffer& buffer, const char*& root)
{
    if (buffer.First() == 'T')
    {
        root = "TSAMPLE";
        return std::make_unique<GxContentTextReader>(buffer);
    }
    root = "BSAMPLE";
    return std::make_unique<GxContentBinaryReader>(buffer);
}

} // namespace

// Every value type of both forms round-trips here.
TEST(GxContentReaderBase, RecordsWrittenToFilesReadBackWholeByTheFormTheirFirstByteChooses)
{
    const ContentSampleRecord written = ContentSampleRecord::MakeFilled();
    for (bool text : {false, true})
    {
        const std::string path = ::testing::TempDir() + (text ? "sample_text.dat" : "sample_binary.dat");
        FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        {
            std::unique_ptr<GxContentWriterBase> writer;
            if (text)
                writer = std::make_unique<GxContentTextWriter>(file);
            else
                writer = std::make_unique<GxContentBinaryWriter>(file);
            EXPECT_TRUE(written.Write(*writer, text ? "TSAMPLE" : "BSAMPLE"));
            EXPECT_EQ(writer->GetErrorCount(), 0u);
        }
        std::fclose(file);

        GxBinBuffer buffer;
        const std::string bytes = KvFileBytes(path);
        ASSERT_FALSE(bytes.empty());
        std::memcpy(buffer.Alloc(uint32_t(bytes.size())), bytes.data(), bytes.size());
        EXPECT_EQ(buffer.First() == 'T', text);
        const char* root = nullptr;
        std::unique_ptr<GxContentReaderBase> reader = OpenReader(buffer, root);
        ContentSampleRecord read;
        ASSERT_TRUE(read.Read(*reader, root));
        EXPECT_EQ(reader->GetErrorCount(), 0u);
        EXPECT_TRUE(reader->IsEnd());
        ExpectSameRecord(read, written);
        std::remove(path.c_str());
    }
}

TEST(GxContentReaderBase, DamagedBinaryFileStartingWithTIsReadAsTextAndSetBufferKeepsTheErrorCount)
{
    GxBinBuffer buffer;
    std::memcpy(buffer.Alloc(24), "TSAMPLE\0\0\0\0\0\0\0\0\0\0\0\0\x07\x05\0\0\0", 24);
    const char* root = nullptr;
    std::unique_ptr<GxContentReaderBase> reader = OpenReader(buffer, root);
    uint32_t version = 0;
    EXPECT_FALSE(reader->ReadHeader(root, version));
    EXPECT_EQ(reader->GetErrorCount(), 1u);
    // A new buffer keeps the error count.
    GxContentBinaryReader binary("", 0);
    binary.GetS32("m");
    EXPECT_EQ(binary.GetErrorCount(), 2u);
    const uint8_t value[] = {0x05, 0, 0, 0, 9};
    binary.SetBuffer(value, sizeof value);
    EXPECT_EQ(binary.GetS32("m"), 9);
    EXPECT_EQ(binary.GetErrorCount(), 2u);
}

TEST(GxContentReaderBase, ByValueReadsGiveDefaultsOnFailure)
{
    // An empty text record: every read fails.
    GxContentTextReader reader("", 0);
    EXPECT_EQ(reader.GetS8("m"), 0);
    EXPECT_EQ(reader.GetU64("m"), 0u);
    EXPECT_EQ(reader.GetF64("m"), 0.0);
    EXPECT_FALSE(reader.GetBool("m"));
    EXPECT_EQ(reader.GetVector3("m").w, 0.0f);
    const GxQuaternion q = reader.GetQuat("m");
    EXPECT_EQ(q.x + q.y + q.z, 0.0f);
    EXPECT_EQ(q.w, 1.0f);
    EXPECT_EQ(reader.GetFColor("m"), (GxFColor{1.0f, 1.0f, 1.0f, 1.0f}));
    const GxMatrix m = reader.GetMatrix("m");
    EXPECT_EQ(m.m[0][0] + m.m[1][1] + m.m[2][2] + m.m[3][3], 4.0f);
    EXPECT_EQ(m.m[3][0], 0.0f);
    EXPECT_EQ(reader.GetRect("m"), GxRect{});
    EXPECT_EQ(reader.GetPoint4("m"), GxPoint4{});
    EXPECT_EQ(reader.GetBit32("m").GetBits(), 0u);
    std::wstring text = L"kept?";
    EXPECT_FALSE(reader.ReadString("m", text));
    EXPECT_EQ(text, L"");
    EXPECT_EQ(reader.GetErrorCount(), 12u);
}

// Lists of one kind of value written at its smallest (no name, zero, no text, no items) in either form: the
// least size a reader gives for the kind never passes what was written, so a count that is really there is
// taken; a count one past what the bytes after it could hold at that size is refused and logged, though
// it would still fit them at one byte an item.
TEST(GxContentReaderBase, ListCountsAreHeldToTheLeastSizeOfTheirItems)
{
    using Writer = GxContentWriterBase;
    const GxVector2 v2{};
    const GxVector3 v3{};
    const GxVector4 v4{};
    const GxFColor colour{};
    const GxQuaternion quat{};
    const GxMatrix matrix{};
    const struct
    {
        GxContentValueDesc desc;
        std::function<void(Writer&)> write;
    } kinds[] = {
        {g_ContentValueU16, [](Writer& w) { w.Write("", uint16_t(0)); }},
        {g_ContentValueS32, [](Writer& w) { w.Write("", int32_t(0)); }},
        {g_ContentValueU32, [](Writer& w) { w.Write("", uint32_t(0)); }},
        {g_ContentValueF32, [](Writer& w) { w.Write("", 0.0f); }},
        {g_ContentValueVector2, [&](Writer& w) { w.Write("", &v2); }},
        {g_ContentValueVector3, [&](Writer& w) { w.Write("", &v3); }},
        {g_ContentValueVector4, [&](Writer& w) { w.Write("", &v4); }},
        {g_ContentValueFColor, [&](Writer& w) { w.Write("", &colour); }},
        {g_ContentValueQuat, [&](Writer& w) { w.Write("", &quat); }},
        {g_ContentValueMatrix, [&](Writer& w) { w.Write("", &matrix); }},
        {g_ContentValueString, [](Writer& w) { w.WriteString("", ""); }},
        {g_ContentValueEmptyList, [](Writer& w) { w.ListBegin("", "", 0), w.ListEnd(); }},
    };
    constexpr uint32_t kItems = 40;
    // The record's bytes and how many of them follow the list's count.
    auto make = [](bool text, uint32_t count, const std::function<void(Writer&)>& item, size_t& afterCount)
    {
        MemoryFile head, file;
        for (MemoryFile* f : {&head, &file})
        {
            std::unique_ptr<Writer> w;
            if (text)
                w = std::make_unique<GxContentTextWriter>(f->Get());
            else
                w = std::make_unique<GxContentBinaryWriter>(f->Get());
            w->WriteHeader(text ? "TLIST" : "BLIST", 1);
            w->ListBegin("", "", count);
            if (f == &head)
                continue;
            for (uint32_t i = 0; i < kItems; ++i)
                item(*w);
            w->ListEnd();
        }
        const std::string bytes = file.Bytes();
        afterCount = bytes.size() - head.Bytes().size();
        return bytes;
    };
    for (bool text : {true, false})
        for (const auto& kind : kinds)
        {
            SCOPED_TRACE(std::string(text ? "text " : "binary ") + kind.desc.m_TypeName);
            ErrorLogCapture log;
            size_t after = 0;
            std::string bytes = make(text, kItems, kind.write, after);
            std::unique_ptr<GxContentReaderBase> r;
            if (text)
                r = std::make_unique<GxContentTextReader>(bytes.data(), (uint32_t)bytes.size());
            else
                r = std::make_unique<GxContentBinaryReader>(bytes.data(), (uint32_t)bytes.size());
            uint32_t version = 0, count = 0;
            ASSERT_TRUE(r->ReadHeader(text ? "TLIST" : "BLIST", version));
            const uint64_t least = r->LeastSize({kind.desc});
            ASSERT_GE(least, 2u);
            EXPECT_TRUE(r->ListBegin("", count, least));
            EXPECT_EQ(count, kItems);
            EXPECT_EQ(r->GetErrorCount(), 0u);

            const uint32_t raised = (uint32_t)(after / least) + 1;
            ASSERT_LE(raised, after);
            bytes = make(text, raised, kind.write, after);
            if (text)
                r = std::make_unique<GxContentTextReader>(bytes.data(), (uint32_t)bytes.size());
            else
                r = std::make_unique<GxContentBinaryReader>(bytes.data(), (uint32_t)bytes.size());
            ASSERT_TRUE(r->ReadHeader(text ? "TLIST" : "BLIST", version));
            const uint32_t logged = GxLog::GetErrorCount();
            EXPECT_FALSE(r->ListBegin("", count, least));
            EXPECT_EQ(count, 0u);
            EXPECT_EQ(r->GetErrorCount(), 1u);
            EXPECT_EQ(GxLog::GetErrorCount(), logged + 1);
        }
}
