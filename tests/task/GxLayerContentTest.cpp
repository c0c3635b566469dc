// A layer's content record read from a player's save: a damaged sub-layer count costs no more than the file.
#include "core/GxContentTextReader.h"
#include "support/KvHeapPeak.h"
#include "support/KvRaisedCount.h"
#include "task/GxLayerContent.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace
{

struct Read
{
    double m_Seconds = 0.0;
    uint64_t m_PeakBytes = 0;
    uint32_t m_Errors = 0;
    int32_t m_SubLayers = 0;
};

// Reads the content record that starts at `at` of a text-form slot, as the slot's layer reads it.
Read ReadContent(const std::string& bytes, size_t at)
{
    Read read;
    const auto start = std::chrono::steady_clock::now();
    KvHeapPeak peak;
    {
        GxContentTextReader reader(bytes.data() + at, static_cast<uint32_t>(bytes.size() - at));
        GxLayerContent content;
        content.Load(&reader);
        read.m_Errors = reader.GetErrorCount();
        read.m_SubLayers = content.GetSubLayerCount();
    }
    read.m_PeakBytes = peak.Bytes();
    read.m_Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return read;
}

} // namespace

// The quick save of the fuzz corpus (text form) with its first layer's sub-layer count raised to a million
// and a million zero bytes after the file, so the count fits at one byte a sub-layer but not at a
// sub-layer's five values: refused well within a second at about the seed's own cost, nothing made for the
// count.
TEST(GxLayerContent, RaisedSubLayerCountInASlotCostsNoMoreThanTheFile)
{
    const std::string seed = kvtest::CorpusSeedBytes("fuzz_user_slot/gamedata_quick_text.gd");
    const std::string line = "20\tm_pSubLayerList\t\t0\t{\n";
    const size_t list = seed.find(line);
    ASSERT_NE(list, std::string::npos);
    const size_t record = seed.rfind("05\tm_ContentType\t", list);
    ASSERT_NE(record, std::string::npos);

    const Read own = ReadContent(seed, record);
    EXPECT_EQ(own.m_Errors, 0u);
    EXPECT_EQ(own.m_SubLayers, 0);

    constexpr size_t kZeros = 1000000;
    std::string raised = seed;
    raised.replace(list, line.size(), "20\tm_pSubLayerList\t\t1000000\t{\n");
    raised.append(kZeros, '\0');
    const Read damaged = ReadContent(raised, record);
    EXPECT_GT(damaged.m_Errors, 0u);
    EXPECT_LE(damaged.m_SubLayers, 1);
    EXPECT_LT(damaged.m_PeakBytes, own.m_PeakBytes + (1u << 20));
    // The peak above is the measure of cost; the clock only catches a read that runs on over the raised
    // count, with a bound no loaded machine reaches for a file this size.
    EXPECT_LT(damaged.m_Seconds, 20.0);
}
