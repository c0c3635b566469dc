#include "appdata/GxUserConfig.h"

#include "UserFileTestSupport.h"
#include "appdata/GxUserFile.h"

using usertest::Golden;

namespace
{

// Every field away from its default, so a swapped pair of keys shows.
GxUserConfig Sample()
{
    GxUserConfig c;
    c.m_ScreenMode = 1;
    c.m_TextWaitTime = 61;
    c.m_TextLongWaitTime = 481;
    c.m_AutoWaitTime = 2500;
    c.m_TextWindowOpacity = 200;
    c.m_AllowSkipUnreadText = true;
    c.m_FastShowReadedText = false;
    c.m_ChangeColorReadedText = false;
    c.m_ChangeColorSelectedMenu = true;
    c.m_KeepAutoModeAfterSelect = true;
    c.m_KeepSkipModeAfterSelect = false;
    c.m_StopScreenSaver = false;
    c.m_VoiceStopTiming = true;
    c.m_WaitVoiceEndOnAutoMode = false;
    c.m_GameDataPage = 3;
    c.m_LastGameDataFileNum = 27;
    int32_t v = 11;
    for (int32_t* p : {&c.m_Volume_Master, &c.m_Volume_BGM, &c.m_Volume_BGV, &c.m_Volume_System, &c.m_Volume_Sound,
                       &c.m_Volume_Movie, &c.m_Volume_RestrainBGM, &c.m_Volume_VoiceMaster})
        *p = v++;
    for (int i = 0; i < 32; ++i)
        c.m_Volume_Voice[i] = 50 + i;
    c.m_Game_SkipBattleEffect = true;
    c.m_Game_SkipSpecialAttackEffect = false;
    c.m_Game_SkipBattleVoice = true;
    c.m_Game_MapScrollSpeed_ScreenEdge = 70;
    c.m_Game_MapScrollSpeed_CursorKey = 30;
    return c;
}

Golden SampleGolden()
{
    Golden g;
    g.I("m_ScreenMode", 1).I("m_TextWaitTime", 61).I("m_TextLongWaitTime", 481).I("m_AutoWaitTime", 2500);
    g.I("m_TextWindowOpacity", 200);
    g.B("m_AllowSkipUnreadText", true).B("m_FastShowReadedText", false).B("m_ChangeColorReadedText", false);
    g.B("m_ChangeColorSelectedMenu", true).B("m_KeepAutoModeAfterSelect", true);
    g.B("m_KeepSkipModeAfterSelect", false).B("m_StopScreenSaver", false).B("m_VoiceStopTiming", true);
    g.B("m_WaitVoiceEndOnAutoMode", false);
    g.I("m_GameDataPage", 3).I("m_LastGameDataFileNum", 27);
    g.I("m_Volume_Master", 11).I("m_Volume_BGM", 12).I("m_Volume_BGV", 13).I("m_Volume_System", 14);
    g.I("m_Volume_Sound", 15).I("m_Volume_Movie", 16).I("m_Volume_RestrainBGM", 17).I("m_Volume_VoiceMaster", 18);
    for (int i = 0; i < 32; ++i)
        g.I("m_Volume_Voice", 50 + i);
    g.B("m_Game_SkipBattleEffect", true).B("m_Game_SkipSpecialAttackEffect", false).B("m_Game_SkipBattleVoice", true);
    g.I("m_Game_MapScrollSpeed_ScreenEdge", 70).I("m_Game_MapScrollSpeed_CursorKey", 30);
    return g;
}

std::string Dump(const GxUserConfig& c)
{
    std::string bytes;
    GxUserFile::WriteToMemory(bytes, GxUserFile::Form::Binary, "CD",
                              [&](GxContentWriterBase& w) { c.Write(w); });
    return bytes;
}

} // namespace

TEST(GxUserConfig, FileMatchesTheGoldenAndReadsBackWhole)
{
    dbtest::TempFolder folder;
    const std::wstring path = folder.File(L"userconf.dat");
    ASSERT_TRUE(Sample().Save(path));
    const std::string written = usertest::ReadBytes(path);
    EXPECT_EQ(written, SampleGolden().Bytes(false, "CD"));

    GxUserConfig loaded;
    ASSERT_TRUE(loaded.Load(path));
    EXPECT_EQ(Dump(loaded), written);

    // Defaults: the construction alone sets the save page and the last slot; SetDefault keeps them.
    GxUserConfig fresh;
    EXPECT_EQ(fresh.m_LastGameDataFileNum, -1);
    loaded.SetDefault();
    EXPECT_EQ(loaded.m_GameDataPage, 3);
    EXPECT_EQ(loaded.m_LastGameDataFileNum, 27);
    EXPECT_EQ(loaded.m_Volume_BGM, 80);
    EXPECT_EQ(loaded.m_Volume_Voice[31], 100);
}

TEST(GxUserConfig, DamagedOrForeignFilesAreRefusedAndNothingChanges)
{
    dbtest::TempFolder folder;
    dbtest::LogCapture log(folder);
    const std::wstring path = folder.File(L"userconf.dat");
    const std::string good = SampleGolden().Bytes(false, "CD");
    std::vector<std::string> bad = usertest::DamagedCopies(good, 20, {});
    bad.push_back(SampleGolden().Bytes(true, "CD")); // the text form is never read for the options
    bad.push_back(SampleGolden().Bytes(false, "PD"));
    bad.push_back(good + std::string("\x05\x00\x00\x00\x01", 5)); // a value after the record's end
    GxUserConfig config;
    const std::string before = Dump(config);
    for (size_t i = 0; i < bad.size(); ++i)
    {
        dbtest::WriteBytes(path, bad[i]);
        const size_t lines = log.Lines().size();
        EXPECT_FALSE(config.Load(path)) << "case " << i;
        EXPECT_GT(log.Lines().size(), lines) << "case " << i;
        ASSERT_EQ(Dump(config), before) << "case " << i;
    }
    // A missing file is a first run: false without a log line.
    const size_t lines = log.Lines().size();
    EXPECT_FALSE(config.Load(folder.File(L"none.dat")));
    EXPECT_EQ(log.Lines().size(), lines);
}

TEST(GxUserConfig, OutOfRangeLevelsAreClampedOnLoad)
{
    dbtest::TempFolder folder;
    const std::wstring path = folder.File(L"userconf.dat");
    GxUserConfig damaged = Sample();
    damaged.m_Volume_Master = 150;
    damaged.m_Volume_BGM = -5;
    damaged.m_Volume_Voice[3] = 1000;
    damaged.m_TextWindowOpacity = 300;
    ASSERT_TRUE(damaged.Save(path));
    GxUserConfig loaded;
    ASSERT_TRUE(loaded.Load(path));
    EXPECT_EQ(loaded.m_Volume_Master, 100);
    EXPECT_EQ(loaded.m_Volume_BGM, 0);
    EXPECT_EQ(loaded.m_Volume_Voice[3], 100);
    EXPECT_EQ(loaded.m_TextWindowOpacity, 255);
    EXPECT_EQ(loaded.m_AutoWaitTime, 2500);
}
