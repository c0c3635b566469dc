#include "FileTestSupport.h"

#include "core/GxBinBuffer.h"
#include "core/GxFile.h"
#include "core/GxFileCache.h"
#include "core/GxFileCacheBuffer.h"

#include <gtest/gtest.h>

#include <sys/time.h>

namespace
{

uint32_t s_Now = 0;
uint32_t TestClock()
{
    return s_Now;
}

void Fill(GxBinBuffer& b, uint32_t size, char fill)
{
    uint8_t* p = static_cast<uint8_t*>(b.Alloc(size));
    for (uint32_t i = 0; i < size; ++i)
        p[i] = static_cast<uint8_t>(fill);
}

class GxFileCacheTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        s_Now = 1;
        m_Cache.SetClock(&TestClock);
        m_Cache.SetCapacity(1000);
        m_Cache.SetFileLimit(400);
        m_Cache.SetEnabled(true);
    }
    bool Add(const wchar_t* key, uint32_t size, uint64_t time = 1)
    {
        GxBinBuffer b;
        Fill(b, size, 'x');
        ++s_Now;
        return m_Cache.Add(key, b, time);
    }
    bool Has(const wchar_t* key, uint64_t time = 1) { return m_Cache.Find(key, time) != nullptr; }
    // The keys among these that the cache holds, joined by spaces.
    std::wstring Held(std::initializer_list<const wchar_t*> keys)
    {
        std::wstring out;
        for (const wchar_t* key : keys)
            if (Has(key))
                out += (out.empty() ? L"" : L" ") + std::wstring(key);
        return out;
    }

    GxFileCache m_Cache;
};

TEST_F(GxFileCacheTest, DisabledCacheMissesAndSizesUpToTheLimitsAreAccepted)
{
    ASSERT_TRUE(Add(L"a", 10));
    m_Cache.SetEnabled(false);
    EXPECT_FALSE(Has(L"a"));
    EXPECT_FALSE(Add(L"a", 20));
    m_Cache.SetEnabled(true);
    EXPECT_FALSE(Has(L"a"));
    EXPECT_EQ(m_Cache.GetTotalSize(), 0u);
    EXPECT_TRUE(Add(L"limit", 400));
    EXPECT_FALSE(Add(L"over", 401));
    EXPECT_EQ(m_Cache.GetTotalSize(), 400u);
    m_Cache.SetFileLimit(5000);
    EXPECT_TRUE(Add(L"capacity", 1000));
    EXPECT_FALSE(Add(L"beyond", 1001));
    EXPECT_EQ(m_Cache.GetTotalSize(), 1000u);
}

TEST_F(GxFileCacheTest, ChangedTimeStampMissesAndRemoveAndClearKeepLimitsAndSwitch)
{
    ASSERT_TRUE(Add(L"f", 100, 5));
    EXPECT_TRUE(Has(L"f", 5) && !Has(L"f", 6));
    ASSERT_TRUE(Add(L"f", 150, 6));
    EXPECT_TRUE(Has(L"f", 6) && !Has(L"f", 5));
    EXPECT_EQ(m_Cache.GetTotalSize(), 150u);
    EXPECT_TRUE(m_Cache.Remove(L"f"));
    EXPECT_FALSE(m_Cache.Remove(L"f"));
    EXPECT_EQ(m_Cache.GetTotalSize(), 0u);
    ASSERT_TRUE(Add(L"a", 100));
    m_Cache.Clear();
    EXPECT_EQ(m_Cache.GetTotalSize(), 0u);
    EXPECT_TRUE(m_Cache.IsEnabled());
    EXPECT_EQ(m_Cache.GetCapacity(), 1000u);
    EXPECT_EQ(m_Cache.GetFileLimit(), 400u);
    EXPECT_TRUE(Add(L"a", 100));
}

TEST_F(GxFileCacheTest, OverflowDropsLeastRecentlyUsedUntilAQuarterIsFree)
{
    for (const wchar_t* key : {L"a", L"b", L"c", L"d", L"e", L"f", L"g", L"h", L"i"})
        ASSERT_TRUE(Add(key, 100));
    ++s_Now;
    EXPECT_TRUE(Has(L"a")); // a is now the most recent
    // 900 + 200 overflows 1000: at least 250 bytes (a quarter) go, oldest first: b, c, d.
    ASSERT_TRUE(Add(L"new", 200));
    EXPECT_EQ(Held({L"a", L"b", L"c", L"d", L"e", L"new"}), L"a e new");
    EXPECT_EQ(m_Cache.GetTotalSize(), 800u);
}

TEST_F(GxFileCacheTest, PurgeFreesTheNeededSizeOrAQuarterInLastUseThenKeyOrder)
{
    for (const wchar_t* key : {L"a", L"b", L"c", L"d", L"e"})
        ASSERT_TRUE(Add(key, 100));
    m_Cache.Purge(320);
    EXPECT_EQ(m_Cache.GetTotalSize(), 100u); // 4 x 100 freed to reach 320
    EXPECT_TRUE(Has(L"e"));
    m_Cache.Purge(5000);
    EXPECT_EQ(m_Cache.GetTotalSize(), 0u);
    EXPECT_EQ(m_Cache.GetEntryCount(), 0u);
    s_Now = 50;
    GxBinBuffer b;
    Fill(b, 100, 'y');
    for (const wchar_t* key : {L"d", L"b", L"c", L"a"})
        ASSERT_TRUE(m_Cache.Add(key, b, 1));
    m_Cache.Purge(150);
    // 250 (a quarter) is the target: a, b and c go in key order.
    EXPECT_EQ(Held({L"a", L"b", L"c", L"d"}), L"d");
}

// The file layer's whole-file loads through the process-wide cache.
class GxFileLoadCacheTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        GxFile::ClearCache();
        GxFile::SetCacheCapacity(0xB400000);
        GxFile::SetCacheFileLimit(0x100000);
        GxFile::SetCacheEnabled(true);
    }
    void TearDown() override
    {
        GxFile::ClearCache();
        GxFile::SetCacheEnabled(false);
    }
    KvTempDir m_Dir;
};

TEST_F(GxFileLoadCacheTest, OneMiBFileIsCachedButUncachedLoadsAndEmptyFilesNeverEnter)
{
    m_Dir.Write("exact.bin", KvPatternBytes(0x100000, 1));
    m_Dir.Write("over.bin", KvPatternBytes(0x100001, 2));
    GxBinBuffer a, b;
    ASSERT_TRUE(GxFile::LoadToBuffer(a, m_Dir.Wide("exact.bin"), true));
    EXPECT_EQ(GxFile::GetCache().GetTotalSize(), 0x100000u);
    ASSERT_TRUE(GxFile::LoadToBuffer(b, m_Dir.Wide("over.bin"), true));
    EXPECT_EQ(GxFile::GetCache().GetTotalSize(), 0x100000u);
    m_Dir.Write("plain.bin", "abc");
    m_Dir.Write("empty.bin", "");
    GxBinBuffer buffer;
    ASSERT_TRUE(GxFile::LoadToBuffer(buffer, m_Dir.Wide("plain.bin"), false));
    ASSERT_TRUE(GxFile::LoadToBuffer(buffer, m_Dir.Wide("empty.bin"), true));
    EXPECT_EQ(GxFile::GetCache().GetEntryCount(), 1u); // only exact.bin
}

TEST_F(GxFileLoadCacheTest, HitGivesTheCallerItsOwnCopy)
{
    m_Dir.Write("hit.bin", "cached bytes");
    GxBinBuffer first, second;
    ASSERT_TRUE(GxFile::LoadToBuffer(first, m_Dir.Wide("hit.bin"), true));
    first.GetData()[0] = 'X';
    ASSERT_TRUE(GxFile::LoadToBuffer(second, m_Dir.Wide("HIT.BIN"), true)); // same key, lowered
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(second.GetData()), second.GetSize()), "cached bytes");
    EXPECT_EQ(GxFile::GetCache().GetEntryCount(), 1u);
    // Keys fold case but keep separators.
    m_Dir.Write("dir/k.bin", "k");
    ASSERT_TRUE(GxFile::LoadToBuffer(second, m_Dir.Wide("DIR/K.BIN"), true));
    EXPECT_EQ(GxFile::GetCache().GetEntryCount(), 2u);
    ASSERT_TRUE(GxFile::LoadToBuffer(second, m_Dir.Wide("dir\\k.bin"), true));
    EXPECT_EQ(GxFile::GetCache().GetEntryCount(), 3u);
}

TEST_F(GxFileLoadCacheTest, EditedFileIsReadAgain)
{
    m_Dir.Write("edit.bin", "old");
    struct timeval then[2] = {{1600000000, 0}, {1600000000, 0}};
    utimes(m_Dir.Abs("edit.bin").c_str(), then);
    GxBinBuffer buffer;
    ASSERT_TRUE(GxFile::LoadToBuffer(buffer, m_Dir.Wide("edit.bin"), true));
    m_Dir.Write("edit.bin", "newer");
    ASSERT_TRUE(GxFile::LoadToBuffer(buffer, m_Dir.Wide("edit.bin"), true));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize()), "newer");
    EXPECT_EQ(GxFile::GetCache().GetTotalSize(), 5u);
}

} // namespace
