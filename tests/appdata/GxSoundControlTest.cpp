#include "../media/SoundTestSupport.h"

#include "appdata/DBAvgChar.h"
#include "appdata/GxSoundControl.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "media/GxSound.h"
#include "media/GxSoundPlayerStream.h"

using namespace sndtest;

namespace
{
class GxSoundControlTest : public SoundServiceFixture
{
protected:
    void SetUp() override
    {
        SoundServiceFixture::SetUp();
        s_Now = 1;
        GxSoundControl::SetTargets(&m_Config, &m_Data);
        WriteToneWave(m_Folder.Path("blip.wav"), 0.1, 441);
        WriteToneWave(m_Folder.Path("tone.wav"), 3.0, 441);
    }
    void TearDown() override
    {
        GxSoundControl::SetTargets(nullptr, nullptr);
        SoundServiceFixture::TearDown();
        g_BGMRestrainFactor = 100;
    }

    GxUserConfig m_Config;
    GxUserData m_Data{nullptr};
};
} // namespace

// The volume curve and the shares it is given, as the options set them; damaged values stay in range.
TEST_F(GxSoundControlTest, VolumeCurveAndShares)
{
    struct Case
    {
        int32_t master, sound, expected;
    } cases[] = {{100, 50, -1440}, {50, 50, -2784}, {100, 0, -9600}, {100, 100, 0}, {-20, 100, -9600}, {300, 100, 0}};
    for (const Case& c : cases)
    {
        m_Config.m_Volume_Master = c.master;
        m_Config.m_Volume_Sound = c.sound;
        EXPECT_EQ(m_Config.GetSoundVolume(), c.expected) << c.master << "/" << c.sound;
    }
    m_Config.SetDefault();
    m_Config.m_Volume_BGM = 80;
    m_Config.m_Volume_RestrainBGM = 50;
    g_BGMRestrainFactor = 100;
    EXPECT_EQ(m_Config.GetBGMVolume(), GxUserConfig::LevelToAttenuation(80));
    g_BGMRestrainFactor = 0;
    EXPECT_EQ(m_Config.GetBGMVolume(), GxUserConfig::LevelToAttenuation(80 * 50 / 100));
    EXPECT_EQ(m_Config.GetBGVVolume(true), -9600);
    m_Config.m_Volume_Voice[0] = 50;
    m_Config.m_Volume_Voice[31] = 25;
    EXPECT_EQ(m_Config.GetVoiceVolume(31), -2784);
    EXPECT_EQ(m_Config.GetVoiceVolume(32), -1440); // outside 0..31: id 0
    EXPECT_EQ(m_Config.GetVoiceVolume(-1), -1440);
    g_DBAvgChar.GetRow(0)->m_VoiceVolumeID = 0;
    EXPECT_EQ(m_Config.GetCharVoiceVolume(100000), -1440); // outside the table: row 0
    EXPECT_EQ(m_Config.GetCharVoiceVolume(-7), -1440);
}

// Loop counts 0 (endless), 1 and 3 heard as that many passes; the skip flag keeps the music as it is.
TEST_F(GxSoundControlTest, LoopCountsAndSkipIfSame)
{
    m_Config.m_Volume_BGM = 100;
    const size_t passSamples = 4410 * 2;
    for (int count : {1, 3, 0})
    {
        SCOPED_TRACE(count);
        ASSERT_TRUE(GxSoundControl::StopBGM(0));
        ASSERT_TRUE(GxSoundControl::PlayBGM(File("blip.wav"), count, 0, 0, 0, false));
        EXPECT_EQ(m_Data.m_BGMRecord.m_Loop, count);
        const std::vector<int16_t> out = Pull(4410 * 6);
        size_t lastSound = 0;
        for (size_t i = 0; i < out.size(); ++i)
            if (out[i] != 0)
                lastSound = i;
        if (count == 0)
            EXPECT_GE(lastSound, out.size() - 100);
        else
            EXPECT_EQ((lastSound + passSamples / 2) / passSamples, static_cast<size_t>(count));
        GxSound::Update();
        EXPECT_EQ(GxSound::GetChannelState(GxSound::GetCurrentBGMChannel()), count == 0);
    }
    ASSERT_TRUE(GxSoundControl::PlayBGM(File("tone.wav"), 0, 0, 500, 0, false));
    const int current = GxSound::GetCurrentBGMChannel();
    EXPECT_TRUE(GxSoundControl::PlayBGM(File("tone.wav"), 3, 100, 500, 0, true));
    EXPECT_EQ(GxSound::GetCurrentBGMChannel(), current);
    EXPECT_EQ(m_Data.m_BGMRecord.m_Loop, 0);
    EXPECT_TRUE(GxSoundControl::PlayBGM(File("tone.wav"), 3, 100, 500, 0, false));
    EXPECT_NE(GxSound::GetCurrentBGMChannel(), current);
    EXPECT_EQ(m_Data.m_BGMRecord.m_Loop, 3);

    // The incoming music of a cross-fade follows a level change at once.
    m_Config.m_Volume_BGM = 50;
    ASSERT_TRUE(GxSoundControl::UpdateBGMVolume());
    EXPECT_EQ(GxSound::GetChannel(1 - current)->GetTargetVolume(), m_Config.GetBGMVolume());
}

// Records: written before the play and kept when it fails, emptied by the stops; replay needs one.
TEST_F(GxSoundControlTest, ChannelRecords)
{
    EXPECT_FALSE(GxSoundControl::ReplayVoice(1));
    EXPECT_FALSE(GxSound::GetChannelState(9));
    EXPECT_FALSE(GxSoundControl::PlaySE(2, File("missing.wav"), 2, 10, 20, 30));
    EXPECT_EQ(m_Data.m_SERecord[2].m_FileName, File("missing.wav"));
    EXPECT_EQ(m_Data.m_SERecord[2].m_Loop, 2);
    EXPECT_EQ(m_Data.m_SERecord[2].m_StartSeekPosTime, 10u);
    EXPECT_EQ(m_Data.m_SERecord[2].m_FadeInTime, 20);
    EXPECT_EQ(m_Data.m_SERecord[2].m_LoopPosTime, 30u);
    ASSERT_TRUE(GxSoundControl::PlaySE(0, File("tone.wav"), 0, 0, 0, 0));
    m_Data.m_SERecord[3].m_FileName = L"x";
    EXPECT_TRUE(GxSoundControl::StopAllSE());
    for (const GxSoundChannelRecord& record : m_Data.m_SERecord)
        EXPECT_TRUE(record.IsEmpty());
    EXPECT_FALSE(GxSound::GetChannelState(4));

    ASSERT_TRUE(GxSoundControl::PlayVoice(1, File("tone.wav"), 7));
    EXPECT_EQ(m_Data.m_VoiceRecord[1].m_CharID, 7);
    EXPECT_EQ(m_Data.m_VoiceRecord[1].m_Loop, 1);
    EXPECT_TRUE(GxSoundControl::IsAnyVoicePlaying());
    EXPECT_TRUE(GxSoundControl::ReplayVoice(1));
    EXPECT_TRUE(GxSoundControl::StopAllVoices());
    EXPECT_FALSE(GxSoundControl::IsAnyVoicePlaying());
    EXPECT_TRUE(m_Data.m_VoiceRecord[1].IsEmpty());

    ASSERT_TRUE(GxSoundControl::PlayBGV(File("tone.wav"), 0, 0, 0, 0));
    EXPECT_TRUE(GxSound::GetChannelState(2));
    EXPECT_TRUE(GxSoundControl::StopBGV(0));
    EXPECT_TRUE(m_Data.m_BGVRecord.IsEmpty());
    EXPECT_FALSE(GxSoundControl::PlaySE(4, File("tone.wav"), 0, 0, 0, 0));
    EXPECT_TRUE(GxSoundControl::PlayOneShot(File("blip.wav")));

    // Log entries take the voice records; leaving the story keeps the music and its record.
    m_Data.m_VoiceRecord[2].m_FileName = L"v.ogg";
    m_Data.m_VoiceRecord[2].m_CharID = 7;
    m_Data.AddMessageLog(L"n", L"m", false, false);
    const GxMessageLogElement& entry = m_Data.m_MessageLog.back();
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ(entry.m_VoiceFileName[i], i == 2 ? L"v.ogg" : L"");
        EXPECT_EQ(entry.m_VoiceCharID[i], i == 2 ? 7 : 0);
    }
    ASSERT_TRUE(GxSoundControl::PlayBGM(File("tone.wav"), 0, 0, 0, 0, false));
    ASSERT_TRUE(GxSoundControl::PlaySE(1, File("tone.wav"), 0, 0, 0, 0));
    m_Data.ResetAdventure(false);
    EXPECT_EQ(m_Data.m_BGMRecord.m_FileName, File("tone.wav"));
    EXPECT_TRUE(GxSound::GetChannelState(GxSound::GetCurrentBGMChannel()));
    EXPECT_FALSE(GxSound::GetChannelState(5));
    EXPECT_TRUE(m_Data.m_SERecord[1].IsEmpty());
    m_Data.ResetAdventure(true);
    EXPECT_TRUE(m_Data.m_BGMRecord.IsEmpty());
    EXPECT_FALSE(GxSound::GetChannelState(0) || GxSound::GetChannelState(1));
}
