#pragma once

// A strategy screen in the running engine (ZorEngineTest), built from the sample game's UI rows: the
// tests run in a sample game written by tools/samplegen, and the screens' widgets and windows come from
// its module and layout tables and picture sets, with its icon set in the icon pool. The rules' tables
// and the dungeon stay ZorTest's. A derived fixture builds its screens after SetUp and deletes them in
// its TearDown before calling this one's.
//
// The sample game is the one shared by every test program (support/SampleGameCache.h), only read.

#include "ZorEngineTestSupport.h"

#include "animation/GxNcCrammedImageSetFactory.h"
#include "animation/GxNcIconPool.h"
#include "animation/GxNcImageSetPool.h"
#include "appdata/DBUILayout.h"
#include "appdata/DBUIModule.h"
#include "graphics/GxGDIFontMap.h"
#include "support/SampleGameCache.h"
#include "task/GxTaskFolder.h"
#include "task/ui/GxTaskUIBase.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace zortest
{

class ZorSampleUITest : public ZorEngineTest
{
public:
    // The shared sample game's folder; "" when it cannot be had.
    static std::string SampleGame() { return kvtest::SharedSampleGame(); }

protected:
    void SetUp() override
    {
        ZorEngineTest::SetUp();
        const std::string game = SampleGame();
        ASSERT_FALSE(game.empty()) << "no sample game";
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        m_SavedCwd = cwd;
        ASSERT_EQ(chdir(game.c_str()), 0);
        for (const wchar_t* file : {L"data/db_uimodule.txt", L"data/db_uimodule_zor.txt"})
            ASSERT_TRUE(g_DBUIModule.Load(file));
        for (const wchar_t* file : {L"data/db_uilayout.txt", L"data/db_uilayout_zor.txt"})
            ASSERT_TRUE(g_DBUILayout.Load(file));
        for (int i = 0; i < GxSystemConfig::kFontSizes; ++i)
            g_GDIFontMaps[i].SetFont(GxTaskUIBase::GetSystemConfig().m_FontSize[i], nullptr);
        GxNcImageSetPool::Add(L"uigis/ui_iconpool.gis");
        GxNcIconPool::Build(GxNcImageSetPool::Find(L"uigis/ui_iconpool.gis"));
    }
    void TearDown() override
    {
        m_Manage.ClearSequence();
        GxNcIconPool::Clear();
        GxNcImageSetPool::ReleaseAll();
        GxNcCrammedImageSetFactory::GetInstance().ReleaseAll();
        for (auto& map : g_GDIFontMaps)
            map.Clear();
        dbtest::ResetTables(g_DBUIModule, g_DBUILayout);
        if (!m_SavedCwd.empty())
        {
            EXPECT_EQ(chdir(m_SavedCwd.c_str()), 0);
        }
        ZorEngineTest::TearDown();
    }

    // A widget of a folder by its layout name and index.
    GxTaskUIBase* Widget(const wchar_t* folder, const wchar_t* name, int32_t index = 0)
    {
        auto* f = dynamic_cast<GxTaskFolder*>(m_Manage.FindTaskByName(folder));
        return f ? dynamic_cast<GxTaskUIBase*>(f->FindTaskLocal(name, index)) : nullptr;
    }
    // A click in the middle of a widget as it stands on the screen.
    void ClickOn(const GxTaskUIBase* widget)
    {
        ASSERT_NE(widget, nullptr);
        const GxVector4 p = widget->GetWorldPos();
        Click(static_cast<int>(p.x + widget->GetWidth() / 2), static_cast<int>(p.y + widget->GetHeight() / 2));
    }

    std::string m_SavedCwd;
};

} // namespace zortest
