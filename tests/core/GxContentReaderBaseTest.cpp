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
