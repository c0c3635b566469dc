// Damaged records in both forms: every truncation and thousands of records with flipped bytes must be
// read to the end without a crash, a hang or a read outside the data, each read reporting its errors.
#include "ContentSampleRecord.h"

#include "core/GxContentBinaryReader.h"
#include "core/GxContentBinaryWriter.h"
#include "core/GxContentTextReader.h"
#include "core/GxContentTextWriter.h"
#include "core/GxLog.h"

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <random>
#include <vector>

namespace
{

// Sets no error log while the loops run (an empty path writes nothing): they log tens of thousands of lines.
class QuietErrorLog
{
public:
    QuietErrorLog() : m_Saved(GxLog::GetErrorLogPath()) { GxLog::SetErrorLogPath(L""); }
    ~QuietErrorLog() { GxLog::SetErrorLogPath(m_Saved); }

private:
    std::wstring m_Saved;
};

std::vector<uint8_t> WriteSample(bool text)
{
    MemoryFile file;
    {
        std::unique_ptr<GxContentWriterBase> writer;
        if (text)
            writer = std::make_unique<GxContentTextWriter>(file.Get());
        else
            writer = std::make_unique<GxContentBinaryWriter>(file.Get());
        EXPECT_TRUE(ContentSampleRecord::MakeFilled().Write(*writer, text ? "TSAMPLE" : "BSAMPLE"));
    }
    const std::string bytes = file.Bytes();
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// A reader of the given form over a copy of the bytes in a block of exactly their size, so that
// AddressSanitizer catches any read beyond them.
std::unique_ptr<GxContentReaderBase> OpenCopy(const std::vector<uint8_t>& bytes, bool text,
                                              std::unique_ptr<uint8_t[]>& copy)
{
    copy.reset(new uint8_t[bytes.size() ? bytes.size() : 1]);
    std::copy(bytes.begin(), bytes.end(), copy.get());
    if (text)
        return std::make_unique<GxContentTextReader>(copy.get(), uint32_t(bytes.size()));
    return std::make_unique<GxContentBinaryReader>(copy.get(), uint32_t(bytes.size()));
}

// Reads the bytes as a client does: the first byte 'T' chooses the text form.
uint32_t ReadAsClient(const std::vector<uint8_t>& bytes)
{
    const bool text = !bytes.empty() && bytes[0] == 'T';
    std::unique_ptr<uint8_t[]> copy;
    std::unique_ptr<GxContentReaderBase> reader = OpenCopy(bytes, text, copy);
    ContentSampleRecord record;
    record.Read(*reader, text ? "TSAMPLE" : "BSAMPLE");
    return reader->GetErrorCount();
}

// Walks the values without knowing the record: every skip must make progress until the end.
void WalkBySkipping(const std::vector<uint8_t>& bytes, bool text)
{
    std::unique_ptr<uint8_t[]> copy;
    std::unique_ptr<GxContentReaderBase> reader = OpenCopy(bytes, text, copy);
    uint32_t version = 0;
    reader->ReadHeader(text ? "TSAMPLE" : "BSAMPLE", version);
    size_t steps = 0;
    while (!reader->IsEnd() && steps <= bytes.size())
    {
        reader->PeekValueType();
        if (!reader->SkipValue())
            break;
        ++steps;
    }
    EXPECT_LE(steps, bytes.size()) << "a skip did not advance";
}

} // namespace

TEST(GxContentDamagedRecord, EveryTruncationOfARecordIsCounted)
{
    QuietErrorLog quiet;
    for (bool text : {false, true})
    {
        const std::vector<uint8_t> full = WriteSample(text);
        ASSERT_EQ(ReadAsClient(full), 0u);
        uint32_t total = 0;
        for (size_t length = 0; length < full.size(); ++length)
        {
            const std::vector<uint8_t> cut(full.begin(), full.begin() + length);
            const uint32_t errors = ReadAsClient(cut);
            // The text's last line "23 TAB } LF" still reads as a tree end once its tag is whole.
            if (!text || length + 3 < full.size())
            {
                EXPECT_GT(errors, 0u) << (text ? "text" : "binary") << " truncated at " << length;
            }
            total += errors;
            WalkBySkipping(cut, text);
        }
        std::cout << (text ? "text" : "binary") << " truncations: " << full.size() << " reads, " << total
                  << " errors\n";
    }
}

TEST(GxContentDamagedRecord, FlippedBytesNeverCrashOrHang)
{
    QuietErrorLog quiet;
    std::mt19937 random(20261206);
    for (bool text : {false, true})
    {
        const std::vector<uint8_t> full = WriteSample(text);
        uint32_t damagedWithErrors = 0;
        uint32_t maxErrors = 0;
        const int records = 3000;
        for (int i = 0; i < records; ++i)
        {
            std::vector<uint8_t> damaged = full;
            const int flips = 1 + int(random() % 4);
            for (int f = 0; f < flips; ++f)
                damaged[random() % damaged.size()] ^= uint8_t(1 + random() % 255);
            const uint32_t errors = ReadAsClient(damaged);
            damagedWithErrors += errors > 0;
            maxErrors = std::max(maxErrors, errors);
            WalkBySkipping(damaged, !damaged.empty() && damaged[0] == 'T');
        }
        // Most flips land in names, tags, counts or lengths and must show; a flip inside a number's
        // digits or a float's bytes may legitimately go unnoticed.
        EXPECT_GT(damagedWithErrors, uint32_t(records / 4));
        std::cout << (text ? "text" : "binary") << " flips: " << damagedWithErrors << " of " << records
                  << " damaged reads reported errors (at most " << maxErrors << " in one read)\n";
    }
}

TEST(GxContentDamagedRecord, LoggingStopsAfterTheLimitButCountingGoesOn)
{
    QuietErrorLog quiet;
    const uint8_t header[20] = {'B'};
    GxContentBinaryReader reader(header, sizeof header);
    uint32_t version = 0;
    ASSERT_TRUE(reader.ReadHeader("B", version));
    const uint32_t logged = GxLog::GetErrorCount();
    for (int i = 0; i < 1000; ++i)
        reader.GetS32("m_A");
    EXPECT_EQ(reader.GetErrorCount(), 2000u);
    // The limit's lines plus the one that says the rest are not logged.
    EXPECT_EQ(GxLog::GetErrorCount() - logged, GxContentReaderBase::kMaxLoggedErrors + 1);
}
