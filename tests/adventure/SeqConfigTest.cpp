// The configuration screen's round trip through its controls: negated waits, the long wait that follows
// the text speed, the effects slider that also sets the background voice, a reset that keeps the screen
// mode, and controls missing from the layout skipped.
#include "../media/SoundTestSupport.h"
#include "../task/TaskTestSupport.h"

#include "adventure/SeqConfig.h"
#include "appdata/GxUserConfig.h"
#include "core/GxCore.h"
#include "task/GxTaskFolder.h"
#include "task/ui/GxTaskUIButtonIs.h"
#include "task/ui/GxTaskUIPanelFx.h"

#include <gtest/gtest.h>

namespace
{

struct ConfigScreen
{
    ConfigScreen()
    {
        core.m_UserConfig = new GxUserConfig();
        g_Core = &core;
    }
    ~ConfigScreen() { g_Core = nullptr; }
    GxTaskUIBase* Add(SeqConfig::Folder f, const wchar_t* name, int32_t index)
    {
        return new GxTaskUIButtonIs(config->GetFolder(f), nullptr, name, index);
    }

    sndtest::LogCapture log;
    TaskTree tree;
    GxCore core;
    SeqConfig* config = new SeqConfig(tree.root);
};

} // namespace

TEST(SeqConfig, LeavingStoresNegatedSlidersTheLongWaitAndTheEffectsLevelTwice)
{
    ConfigScreen s;
    GxUserConfig& c = *s.core.m_UserConfig;
    c.m_TextWaitTime = 30;
    c.m_TextWindowOpacity = 200;
    GxTaskUIBase* speed = s.Add(SeqConfig::kFolderSystem, L"hsld_textspeed", 0);
    GxTaskUIBase* alpha = s.Add(SeqConfig::kFolderSystem, L"hsld_winalpha", 0);
    GxTaskUIBase* se = s.Add(SeqConfig::kFolderSound, L"hsld_vol_se", 0);
    GxTaskUIBase* skip = s.Add(SeqConfig::kFolderSystem, L"btn_on", 2);
    s.config->LoadControls();
    EXPECT_EQ(speed->GetValueAsInt(), -30);
    EXPECT_EQ(alpha->GetValueAsInt(), -200);
    EXPECT_FALSE(skip->GetValueAsBool());

    speed->SetValue(-60);
    se->SetValue(35);
    skip->SetValue(true);
    s.config->OnSequenceLeave();
    EXPECT_EQ(c.m_TextWaitTime, 60);
    EXPECT_EQ(c.m_TextLongWaitTime, 480);
    EXPECT_EQ(c.m_TextWindowOpacity, 200);
    EXPECT_EQ(c.m_Volume_Sound, 35);
    EXPECT_EQ(c.m_Volume_BGV, 35);
    EXPECT_TRUE(c.m_AllowSkipUnreadText);
    // Every other control is missing from this layout: reported, skipped, its option untouched.
    EXPECT_TRUE(s.log.Has(L"ローカルタスクが存在しません"));
    EXPECT_EQ(c.m_AutoWaitTime, 3000);
}

TEST(SeqConfig, ResetKeepsTheScreenModeAndReloadsTheControls)
{
    ConfigScreen s;
    GxUserConfig& c = *s.core.m_UserConfig;
    GxTaskUIBase* master = s.Add(SeqConfig::kFolderSound, L"hsld_vol_master", 0);
    c.m_ScreenMode = 1;
    c.m_Volume_Master = 10;
    c.m_TextWaitTime = 5;
    s.config->ResetToDefaults();
    EXPECT_EQ(c.m_ScreenMode, 1);
    EXPECT_EQ(c.m_Volume_Master, GxUserConfig().m_Volume_Master);
    EXPECT_EQ(c.m_TextWaitTime, GxUserConfig().m_TextWaitTime);
    EXPECT_EQ(master->GetValueAsInt(), c.m_Volume_Master);
}

TEST(SeqConfig, LeavingAndResettingGiveTheAdventureWindowsTheOpacity)
{
    ConfigScreen s;
    GxTaskUIBase* windows[] = {new GxTaskUIPanelFx(s.tree.root, L"$MESWIN:SeqAvgMain"),
                               new GxTaskUIPanelFx(s.tree.root, L"$NAMEWIN:SeqAvgMain")};
    s.Add(SeqConfig::kFolderSystem, L"hsld_winalpha", 0)->SetValue(-120);
    s.config->OnSequenceLeave();
    EXPECT_EQ(windows[0]->GetImageAlpha() + windows[1]->GetImageAlpha(), 240);
    s.config->ResetToDefaults();
    EXPECT_EQ(windows[0]->GetImageAlpha() + windows[1]->GetImageAlpha(), 2 * GxUserConfig().m_TextWindowOpacity);
}
