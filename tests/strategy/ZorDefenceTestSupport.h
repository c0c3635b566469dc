#pragma once

// The defence screen with its loader and releaser in the running engine (ZorEngineTest), built from the
// sample game's UI rows: tools/samplegen writes the game once per suite, the tests run in its folder, and
// the screen's widgets, windows and bars come from its module and layout tables and picture sets, with
// its icon set in the icon pool. The rules' tables and the dungeon stay ZorTest's. The screen makes its
// own unit lists, so the test tree's are removed first.
//
// Sample-game places used by the tests: the speed radios at (200 + 44 i, 583), the throne and zoom buttons
// at (352 + 44 i, 583), the unit cards' pick-up buttons at (260 + 90 i, 619), the minimap's diamond
// centred on (101, 672).

#include "ZorEngineTestSupport.h"

#include "support/GameRun.h"

#include "animation/GxNcCrammedImageSetFactory.h"
#include "animation/GxNcIconPool.h"
#include "animation/GxNcImageSetPool.h"
#include "appdata/DBUILayout.h"
#include "appdata/DBUIModule.h"
#include "graphics/GxGDIFontMap.h"
#include "strategy/ZorMapModelPool.h"
#include "strategy/ZorNcPoolUnit.h"
#include "strategy/screens/SeqZorLoader.h"
#include "strategy/screens/SeqZorMain.h"
#include "strategy/screens/SeqZorReleaser.h"
#include "task/GxTaskFolder.h"
#include "task/ui/GxTaskUIRadioButtonIs.h"

#include <memory>
#include <unistd.h>

namespace zortest
{

class ZorDefenceTest : public ZorEngineTest
{
protected:
    static void SetUpTestSuite()
    {
        s_Game = std::make_unique<GameRun>("zordefence");
        s_Generated = s_Game->Generate();
    }
    static void TearDownTestSuite() { s_Game.reset(); }

    void SetUp() override
    {
        ZorEngineTest::SetUp();
        ASSERT_TRUE(s_Generated);
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        m_SavedCwd = cwd;
        ASSERT_EQ(chdir(s_Game->GameDir().c_str()), 0);
        for (const wchar_t* file : {L"data/db_uimodule.txt", L"data/db_uimodule_zor.txt"})
            ASSERT_TRUE(g_DBUIModule.Load(file));
        for (const wchar_t* file : {L"data/db_uilayout.txt", L"data/db_uilayout_zor.txt"})
            ASSERT_TRUE(g_DBUILayout.Load(file));
        for (int i = 0; i < GxSystemConfig::kFontSizes; ++i)
            g_GDIFontMaps[i].SetFont(GxTaskUIBase::GetSystemConfig().m_FontSize[i], nullptr);
        GxNcImageSetPool::Add(L"uigis/ui_iconpool.gis");
        GxNcIconPool::Build(GxNcImageSetPool::Find(L"uigis/ui_iconpool.gis"));

        for (const wchar_t* name : {ZorCore::kUnitReadyList, ZorCore::kUnitPlayerList, ZorCore::kUnitEnemyList})
            delete List(name);
        m_Loader = new SeqZorLoader(m_Root);
        m_Releaser = new SeqZorReleaser(m_Root);
        m_Screen = new SeqZorMain(m_Root);
        State().m_RemainEnemyLeft = 5;
        State().m_Resource_AstarosHP = 100;
    }
    void TearDown() override
    {
        m_Manage.ClearSequence();
        delete m_Screen;
        delete m_Releaser;
        delete m_Loader;
        ZorMapModelPool::ReleaseAll();
        ZorNcPoolUnit::ReleaseAll();
        GxNcIconPool::Clear();
        GxNcImageSetPool::ReleaseAll();
        GxNcCrammedImageSetFactory::GetInstance().ReleaseAll();
        for (auto& map : g_GDIFontMaps)
            map.Clear();
        dbtest::ResetTables(g_DBUIModule, g_DBUILayout);
        if (!m_SavedCwd.empty())
            EXPECT_EQ(chdir(m_SavedCwd.c_str()), 0);
        ZorEngineTest::TearDown();
    }

    // A widget of a folder of the screen by its layout name and index.
    GxTaskUIBase* Widget(const wchar_t* name, int32_t index = 0, const wchar_t* folder = L"$ZORBOTTOM1:SeqZorMain")
    {
        auto* f = dynamic_cast<GxTaskFolder*>(m_Manage.FindTaskByName(folder));
        return f ? dynamic_cast<GxTaskUIBase*>(f->FindTaskLocal(name, index)) : nullptr;
    }
    GxTaskUIRadioButtonIs* Radio(const wchar_t* name) { return dynamic_cast<GxTaskUIRadioButtonIs*>(Widget(name)); }
    GxTaskBase* Folder(const wchar_t* name) { return m_Manage.FindTaskByName(name); }

    static inline std::unique_ptr<GameRun> s_Game;
    static inline bool s_Generated = false;
    std::string m_SavedCwd;
    SeqZorLoader* m_Loader = nullptr;
    SeqZorReleaser* m_Releaser = nullptr;
    SeqZorMain* m_Screen = nullptr;
};

} // namespace zortest
