#include "../media/SoundTestSupport.h"
#include "BuiltinTestSupport.h"
#include "appdata/DBAvgChar.h"
#include "appdata/GxSoundControl.h"
#include "media/GxSound.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace BuiltinTest;

namespace
{
// The sound service on the pull device, the game's folders made relative to a scratch folder that is
// the current folder for the test.
class SoundScene : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_Home = std::filesystem::current_path();
        for (const char* dir : {"bgms", "sounds/se", "sounds/bgvs", "voice/d"})
            std::filesystem::create_directories(m_Folder.Path(dir));
        for (const char* file :
             {"bgms/theme.wav", "sounds/se/door.wav", "sounds/se/bell.wav", "voice/d/v001.wav", "voice/d/v002.wav"})
            sndtest::WriteToneWave(m_Folder.Path(file), 2.0, 441);
        std::filesystem::current_path(m_Folder.Path(""));
        m_OldDeviceLog = GxLog::GetDeviceLogPath();
        GxLog::SetDeviceLogPath(m_Folder.Wide("device.log"));
        // The sound service's complaints are slight errors: a start-up hook run earlier in the same
        // process (SkipSlightError is on by default) must not hide them from these cases.
        m_OldSkipSlight = GxLog::GetSkipSlightError();
        GxLog::SetSkipSlightError(false);
        ASSERT_TRUE(PfAudioDevice::Open(PfAudioDevice::kOutputPull));
        ASSERT_TRUE(GxSound::Initialize(nullptr));
        GxSoundControl::SetTargets(m_Scene.m_Core.m_UserConfig, m_Scene.m_Core.m_UserData);
        g_DBAvgChar.GetRow(4)->m_VoicePath = L"voice/d/";
    }
    void TearDown() override
    {
        g_DBAvgChar.GetRow(4)->m_VoicePath.clear();
        GxSoundControl::SetTargets(nullptr, nullptr);
        GxSound::Finalize();
        PfAudioDevice::Close();
        GxLog::SetDeviceLogPath(m_OldDeviceLog);
        GxLog::SetSkipSlightError(m_OldSkipSlight);
        std::filesystem::current_path(m_Home);
    }

    sndtest::ScratchFolder m_Folder{"kv_builtin_sound"};
    sndtest::LogCapture m_Log;
    std::filesystem::path m_Home;
    std::wstring m_OldDeviceLog;
    bool m_OldSkipSlight = false;
    Scene m_Scene;
};
} // namespace

TEST_F(SoundScene, SlotsRecordsAndTheKeepFlag)
{
    GxUserData& data = m_Scene.Data();
    // "se" and "se_0" are one slot; a new effect on a slot cuts its old one.
    ASSERT_TRUE(m_Scene.Call(L"se", Args({StrV(L"door"), IntV(0), IntV(1)})));
    ASSERT_TRUE(m_Scene.Call(L"se_0", Args({StrV(L"bell")})));
    EXPECT_EQ(data.m_SERecord[0].m_FileName, L"sounds/se/bell.wav");
    EXPECT_EQ(data.m_SERecord[0].m_Loop, 0); // no loop count: endless
    ASSERT_TRUE(m_Scene.Call(L"se_2", Args({StrV(L"door")})));
    ASSERT_TRUE(m_Scene.Call(L"se_2", Args({StrV(L"bell")})));
    EXPECT_EQ(data.m_SERecord[2].m_FileName, L"sounds/se/bell.wav");
    EXPECT_TRUE(GxSound::GetChannelState(6));

    // Voices: found in the fourth character's folder; stopping slot 1 leaves slot 0 playing.
    ASSERT_TRUE(m_Scene.Call(L"vo", Args({StrV(L"v001")})));
    ASSERT_TRUE(m_Scene.Call(L"vo_1", Args({StrV(L"v002")})));
    EXPECT_EQ(data.m_VoiceRecord[0].m_CharID, 4);
    ASSERT_TRUE(m_Scene.Call(L"vo_1"));
    EXPECT_TRUE(data.m_VoiceRecord[1].IsEmpty());
    EXPECT_FALSE(GxSound::GetChannelState(9));
    EXPECT_TRUE(GxSound::GetChannelState(8));
    // "vo.wa" empties the voice records and leaves the voices playing.
    ASSERT_TRUE(m_Scene.Call(L"vo.wa", Args({IntV(1)})));
    EXPECT_EQ(data.m_Hold_EndOfVoice, 15);
    EXPECT_TRUE(data.m_HideWindowByCommandFlag);
    EXPECT_TRUE(data.m_VoiceRecord[0].IsEmpty());
    EXPECT_TRUE(GxSound::GetChannelState(8));

    // The keep flag leaves the recorded music alone; without it the music starts again.
    ASSERT_TRUE(m_Scene.Call(L"bgm", Args({StrV(L"theme"), IntV(0), IntV(0), IntV(500)})));
    EXPECT_EQ(data.m_BGMRecord.m_LoopPosTime, 500u);
    ASSERT_TRUE(m_Scene.Call(L"bgm", Args({StrV(L"theme"), IntV(0), IntV(0), IntV(900), IntV(1)})));
    EXPECT_EQ(data.m_BGMRecord.m_LoopPosTime, 500u);
    ASSERT_TRUE(m_Scene.Call(L"bgm", Args({StrV(L"theme"), IntV(0), IntV(0), IntV(900), IntV(0)})));
    EXPECT_EQ(data.m_BGMRecord.m_LoopPosTime, 900u);
    ASSERT_TRUE(m_Scene.Call(L"bgm", Args({StrV(L""), IntV(2000)})));
    EXPECT_TRUE(data.m_BGMRecord.IsEmpty());
    ASSERT_TRUE(m_Scene.Call(L"se.wa", Args({GxMoaVariable(), IntV(8)})));
    EXPECT_EQ(data.m_Hold_EndOfSE, 9);
}

TEST_F(SoundScene, MissingFilesFailOnlyUnderTheirSwitch)
{
    GxUserData& data = m_Scene.Data();
    ASSERT_TRUE(m_Scene.Call(L"se_1", Args({StrV(L"door")})));
    // Switch off: nothing plays, nothing stops, no message.
    EXPECT_TRUE(m_Scene.Call(L"se_1", Args({StrV(L"gone")})));
    EXPECT_EQ(data.m_SERecord[1].m_FileName, L"sounds/se/door.wav");
    EXPECT_TRUE(GxSound::GetChannelState(5));
    EXPECT_TRUE(m_Scene.Call(L"vo", Args({StrV(L"v999")})));
    EXPECT_TRUE(m_Scene.Errors().empty());

    // Damaged files, each through a static (effect) and a streamed (background voice) slot: cut off
    // inside the header, or halfway through the sound. The failure or the short sound is the sound
    // service's to log; the script goes on and nothing reads past the data.
    const auto cutCopy = [&](const std::string& from, const char* to, size_t keep)
    {
        std::vector<uint8_t> bytes = sndtest::ReadBytes(from);
        bytes.resize(std::min(bytes.size(), keep ? keep : bytes.size() / 2));
        sndtest::WriteBytes(m_Folder.Path(std::string("sounds/se/") + to), bytes);
    };
    cutCopy(sndtest::Fixtures().Path("pcm16_stereo.wav"), "head.wav", 20);
    cutCopy(sndtest::Fixtures().Path("pcm16_stereo.wav"), "half.wav", 0);
    cutCopy(sndtest::Fixtures().Path("vorbis_stereo.ogg"), "head.ogg", 6);
    cutCopy(sndtest::Fixtures().Path("vorbis_stereo.ogg"), "half.ogg", 0);
    for (const wchar_t* name : {L"head.wav", L"half.wav", L"head.ogg", L"half.ogg"})
    {
        const size_t logged = m_Log.Count();
        EXPECT_TRUE(m_Scene.Call(L"se_3", Args({StrV(name)}))) << GxString::ToUtf8(name);
        EXPECT_TRUE(m_Scene.Call(L"bgv", Args({StrV(std::wstring(L"../se/") + name)}))) << GxString::ToUtf8(name);
        for (int i = 0; i < 20; ++i)
            sndtest::PullSynced(4096, [] { return true; });
        EXPECT_GE(m_Log.Count() - logged, 2u) << GxString::ToUtf8(name); // once per slot
    }
    EXPECT_FALSE(GxSound::GetChannelState(7));

    m_Scene.Config().m_ErrorStopNotFound_SE = true;
    m_Scene.Config().m_ErrorStopNotFound_VO = true;
    EXPECT_FALSE(m_Scene.Call(L"se_1", Args({StrV(L"gone")})));
    EXPECT_FALSE(m_Scene.Call(L"vo", Args({StrV(L"v999")})));
    const auto errors = m_Scene.Errors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_NE(errors[0].find(L"se_1:SEファイルが見つかりません[sounds/se/gone]"), std::wstring::npos);
    EXPECT_NE(errors[1].find(L"vo:ボイスファイルが見つかりません[v999]"), std::wstring::npos);
}
