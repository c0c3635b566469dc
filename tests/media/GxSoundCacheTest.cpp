#include "SoundTestSupport.h"

#include "media/GxSoundCache.h"
#include "media/GxWavData.h"

using namespace sndtest;

namespace
{
uint32_t s_Now = 1000;
uint32_t FakeClock()
{
    return s_Now;
}

// A tiny 16-bit mono WAVE file of frames frames.
void WriteWave(const std::string& path, uint32_t frames)
{
    std::vector<uint8_t> b = {'R',  'I',  'F', 'F', 0, 0, 0,  0, 'W', 'A', 'V',  'E',  'f', 'm',
                              't',  ' ',  16,  0,   0, 0, 1,  0, 1,   0,   0x22, 0x56, 0,   0,
                              0x44, 0xAC, 0,   0,   2, 0, 16, 0, 'd', 'a', 't',  'a'};
    const uint32_t bytes = frames * 2;
    b.insert(b.end(), {static_cast<uint8_t>(bytes), static_cast<uint8_t>(bytes >> 8), 0, 0});
    b.resize(b.size() + bytes, 1);
    const uint32_t riff = static_cast<uint32_t>(b.size() - 8);
    std::memcpy(b.data() + 4, &riff, 4);
    WriteBytes(path, b);
}

class GxSoundCacheTest : public ::testing::Test
{
protected:
    void SetUp() override { PfAudioDevice::SetClock(FakeClock); }
    void TearDown() override { PfAudioDevice::SetClock(nullptr); }
    ScratchFolder m_Folder;
    GxSoundCache m_Cache;
};
} // namespace

// One decode per name whatever its case; each Get counts a use and refreshes the last-use time.
TEST_F(GxSoundCacheTest, OneDecodePerName)
{
    WriteWave(m_Folder.Path("a.wav"), 100);
    GxWavData* first = m_Cache.Get(m_Folder.Wide("a.wav"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(m_Cache.GetLastUseTime(m_Folder.Wide("A.WAV")), 1000u);
    s_Now = 2000;
    EXPECT_EQ(m_Cache.Get(m_Folder.Wide("A.wav")), first);
    EXPECT_EQ(first->GetUseCount(), 2);
    EXPECT_EQ(m_Cache.GetCount(), 1u);
    EXPECT_EQ(m_Cache.GetTotalBytes(), 200u);
    EXPECT_EQ(m_Cache.GetLastUseTime(m_Folder.Wide("a.wav")), 2000u);
    EXPECT_TRUE(m_Cache.EndUse(m_Folder.Wide("a.wav")));
    EXPECT_TRUE(m_Cache.EndUse(m_Folder.Wide("a.wav")));
    EXPECT_TRUE(m_Cache.EndUse(m_Folder.Wide("a.wav")));
    EXPECT_EQ(first->GetUseCount(), 0);
    // A name that cannot be decoded leaves nothing.
    LogCapture log;
    EXPECT_EQ(m_Cache.Get(m_Folder.Wide("missing.wav")), nullptr);
    EXPECT_EQ(m_Cache.Get(m_Folder.Wide("a.mp3")), nullptr);
    EXPECT_EQ(m_Cache.GetCount(), 1u);
    EXPECT_EQ(m_Cache.GetLastUseTime("nothing.wav"), 0u);
}

// Past 1,024 entries every unused, non-resident entry goes and the new one is inserted; residents stay
// until released from that flag. The byte limit purges the same way.
TEST_F(GxSoundCacheTest, PurgeBeforeInsertionPastTheLimits)
{
    for (int i = 0; i < 1025; ++i)
        WriteWave(m_Folder.Path("s" + std::to_string(i) + ".wav"), 4);
    ASSERT_TRUE(m_Cache.Preload(m_Folder.Wide("s0.wav"), true));
    ASSERT_NE(m_Cache.Get(m_Folder.Wide("s1.wav")), nullptr); // stays in use
    for (int i = 2; i < 1024; ++i)
        ASSERT_TRUE(m_Cache.Preload(m_Folder.Wide("s" + std::to_string(i) + ".wav"), false));
    EXPECT_EQ(m_Cache.GetCount(), 1024u);
    ASSERT_NE(m_Cache.Get(m_Folder.Wide("s1024.wav")), nullptr);
    EXPECT_EQ(m_Cache.GetCount(), 3u);
    EXPECT_TRUE(m_Cache.Contains(m_Folder.Wide("s0.wav")));
    EXPECT_TRUE(m_Cache.Contains(m_Folder.Wide("s1.wav")));
    EXPECT_TRUE(m_Cache.SetResident(m_Folder.Wide("s0.wav"), false));
    EXPECT_TRUE(m_Cache.PurgeUnused());
    EXPECT_FALSE(m_Cache.Contains(m_Folder.Wide("s0.wav")));
    EXPECT_EQ(m_Cache.GetTotalBytes(), 16u);

    // A sound larger than what is left of the 20 MiB purges first, then goes in anyway.
    WriteWave(m_Folder.Path("big.wav"), GxSoundCache::kMaxBytes / 2 - 10);
    ASSERT_TRUE(m_Cache.Preload(m_Folder.Wide("big.wav"), false));
    ASSERT_TRUE(m_Cache.Preload(m_Folder.Wide("s5.wav"), false));
    EXPECT_EQ(m_Cache.GetCount(), 4u);
    m_Cache.EndUse(m_Folder.Wide("s1.wav"));
    m_Cache.EndUse(m_Folder.Wide("s1024.wav"));
    WriteWave(m_Folder.Path("big2.wav"), 100);
    ASSERT_NE(m_Cache.Get(m_Folder.Wide("big2.wav")), nullptr);
    EXPECT_EQ(m_Cache.GetCount(), 5u); // nothing over the limit yet
    m_Cache.Clear();
    EXPECT_EQ(m_Cache.GetCount(), 0u);
    EXPECT_EQ(m_Cache.GetTotalBytes(), 0u);
}
