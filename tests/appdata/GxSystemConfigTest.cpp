#include "appdata/GxSystemConfig.h"
#include "core/GxINIFile.h"

#include <gtest/gtest.h>

#include "DBTestSupport.h"

#include <cstdio>

// Runs a test inside a fresh installation folder (the current directory).
class GxSystemConfigTest : public ::testing::Test
{
protected:
    void SetUp() override { std::filesystem::current_path(m_Folder.Path()); }
    void TearDown() override { std::filesystem::current_path(m_Old); }
    void Write(const std::wstring& name, const std::string& text) { dbtest::WriteBytes(m_Folder.File(name), text); }

    std::filesystem::path m_Old = std::filesystem::current_path();
    dbtest::TempFolder m_Folder;
};

// Which switches are on, in the order DebugModeFlag, AutoCompile, CleanErrorLog, SkipSlightError,
// SaveToMyDocuments, DisableMovie, ErrorStopNotFound_SE, ErrorStopNotFound_VO.
static std::string Switches(const GxSystemConfig& c)
{
    std::string on;
    for (bool flag : {c.m_DebugModeFlag, c.m_AutoCompile, c.m_CleanErrorLog, c.m_SkipSlightError, c.m_SaveToMyDocuments,
                      c.m_DisableMovie, c.m_ErrorStopNotFound_SE, c.m_ErrorStopNotFound_VO})
        on += flag ? '1' : '0';
    return on;
}

TEST_F(GxSystemConfigTest, DefaultsWithoutEitherFileOrWithAnEmptySetting)
{
    GxSystemConfig config;
    EXPECT_FALSE(config.LoadSysConf());
    EXPECT_FALSE(config.LoadSetting());
    EXPECT_EQ(config.GetAppTitle(), L"Kestrelvane");
    EXPECT_EQ(config.GetSaveDirName(), L"Kestrelvane_SAVE");
    EXPECT_EQ(Switches(config), "00011000");
    EXPECT_FALSE(config.m_DebugConsoleFlag);
    EXPECT_FALSE(config.m_ErrorStopNotFound_EV);
    EXPECT_EQ(config.m_FontSize[0], 11);
    EXPECT_EQ(config.m_FontSize[5], 38);
    const std::pair<int, const wchar_t*> strings[] = {{SYSSTR_DEFAULT_RULE, L"フェード.png"},
                                                      {SYSSTR_SYSSOUND_FIRST + 5, L"sounds/sys/decide.wav"},
                                                      {SYSSTR_SYSSOUND_FIRST + 6, L""},
                                                      {SYSSTR_QUICKSAVE_FILE, L"gamedata_quick.gd"},
                                                      {-1, L""},
                                                      {SYSSTR_COUNT, L""}};
    for (auto [index, text] : strings)
        EXPECT_EQ(config.GetString(index), text) << index;
    EXPECT_EQ(config.GetFontDir(), L"fonts/");
    EXPECT_EQ(config.GetGncDir(), L"gnc/");
    EXPECT_EQ(config.GetGisDir(), L"gnc/gis/");
    EXPECT_EQ(config.m_LineStartProhibited.size(), 47u);
    EXPECT_EQ(config.m_LineEndProhibited.size(), 12u);

    Write(L"setting.ini", "");
    GxSystemConfig empty;
    EXPECT_TRUE(empty.LoadSetting());
    EXPECT_EQ(Switches(empty), "00011000");
}

// Setting switches are true above zero; sysconf.ini sets the title, save folder, fonts and music.
TEST_F(GxSystemConfigTest, SysConfAndSettingKeysSetTheirValues)
{
    Write(L"setting.ini", "DebugModeFlag=2\nAutoCompile=-1\nCleanErrorLog=yes\nSkipSlightError=0\n"
                          "SaveToMyDocuments=0\nDisableMovie=1\nErrorStopNotFound_SE=1\nTextEditorCommand=vi +%d %s\n");
    Write(L"system/sysconf.ini", "APP_TITLE = My Game\r\nAPP_SAVEDIR=MyGame_SAVE\r\nFONTSIZE_2=30\r\n"
                                 "BGM_NAME_CGMODE=gallery.ogg\r\nBGM_LOOP_CGMODE=1234\r\nMOV_NAME_OPENING=op.mpg\r\n");
    GxSystemConfig config;
    EXPECT_TRUE(config.LoadSysConf());
    EXPECT_TRUE(config.LoadSetting());
    EXPECT_EQ(Switches(config), "10000110");
    EXPECT_EQ(config.m_TextEditorCommand, L"vi +%d %s");
    EXPECT_EQ(config.GetAppTitle(), L"My Game");
    EXPECT_EQ(config.GetString(SYSSTR_APP_TITLE), L"My Game");
    EXPECT_EQ(config.GetSaveDirName(), L"MyGame_SAVE");
    EXPECT_EQ(config.m_FontSize[2], 30);
    EXPECT_EQ(config.m_FontSize[3], 24);
    EXPECT_EQ(config.m_BGMName[1], L"gallery.ogg");
    EXPECT_EQ(config.m_BGMLoop[1], 1234);
    EXPECT_EQ(config.m_BGMName[0], L"");
    EXPECT_EQ(config.m_MovieOpening, L"op.mpg");
}

TEST_F(GxSystemConfigTest, PackKeysRunFromZeroToThirtySkippingEmptyValues)
{
    std::string text;
    for (int n = 0; n <= 31; ++n)
    {
        char line[64];
        std::snprintf(line, sizeof line, "PACK_FILE_%02d=%s\n", n,
                      n == 5 ? "" : ("p" + std::to_string(n) + ".gxp").c_str());
        text += line;
    }
    Write(L"system/sysconf.ini", text);
    GxINIFile ini;
    ASSERT_TRUE(ini.Load(L"system/sysconf.ini"));
    const std::vector<std::wstring> packs = GxSystemConfig::GetPackNames(ini);
    ASSERT_EQ(packs.size(), 30u); // 31 keys, the empty one skipped; key 31 is never read
    EXPECT_EQ(packs.front(), L"p0.gxp");
    EXPECT_EQ(packs[4], L"p4.gxp");
    EXPECT_EQ(packs[5], L"p6.gxp");
    EXPECT_EQ(packs.back(), L"p30.gxp");
}

// A damaged or mistyped settings file still gives a run with the values it could read, and says what was
// wrong once the logs have their place: one line a file, naming it. A clean file says nothing.
TEST_F(GxSystemConfigTest, DamagedSettingsFilesAreReportedOnceTheLogsArePlaced)
{
    struct Case
    {
        const char* what;
        std::string setting;
        std::string line; // the report, after "GxSystemConfig/setting.ini: "; "" for none
    };
    const Case cases[] = {
        {"clean", "SkipSlightError=0\r\nDebugModeFlag=1\r\n", ""},
        {"empty", "", "the file is empty: every setting keeps its default"},
        {"garbled", "SkipSlightError=0\r\n\x01\x7F garbage\r\nDebugModeFlag=1\r\n",
         "1 line(s) are no known \"key=value\" and were ignored (the first is line 2: \"?\x7F garbage\")"},
        {"mistyped key", "SkipSlightError=0\r\nDebugModeFlg=1\r\nAutoCompile\r\n",
         "2 line(s) are no known \"key=value\" and were ignored (the first is line 2: \"DebugModeFlg\")"},
        {"NUL inside", std::string("SkipSlightError=0\r\nDebug\0ModeFlag=1\r\n", 37),
         "a NUL byte at offset 24 ends the text: nothing after it is read; 1 line(s) are no known \"key=value\" and "
         "were ignored (the first is line 2: \"Debug\")"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Write(L"setting.ini", c.setting);
        GxSystemConfig config;
        EXPECT_TRUE(config.LoadSetting());
        // What could be read is taken.
        if (c.setting.size() > 20)
        {
            EXPECT_FALSE(config.m_SkipSlightError);
        }
        dbtest::LogCapture log(m_Folder);
        config.ReportLoadProblems();
        if (c.line.empty())
        {
            EXPECT_TRUE(log.Lines().empty());
        }
        else
        {
            EXPECT_EQ(log.Lines(), std::vector<std::wstring>{GxString::FromUtf8("GxSystemConfig/setting.ini: " + c.line +
                                                                                "\n")});
        }
    }
    // The product file is checked the same way, and a missing one is no damage.
    Write(L"system/sysconf.ini", "APP_TITLE=Game\r\nAPP_TITEL=typo\r\n");
    GxSystemConfig config;
    EXPECT_TRUE(config.LoadSysConf());
    std::filesystem::remove(m_Folder.Path() / "setting.ini");
    EXPECT_FALSE(config.LoadSetting());
    dbtest::LogCapture log(m_Folder);
    config.ReportLoadProblems();
    EXPECT_EQ(log.Lines(), std::vector<std::wstring>{L"GxSystemConfig/system/sysconf.ini: 1 line(s) are no known "
                                                     L"\"key=value\" and were ignored (the first is line 2: "
                                                     L"\"APP_TITEL\")\n"});
}
