#pragma once

// A strategy screen in the running engine (ZorEngineTest), built from the sample game's UI rows: the
// tests run in a sample game written by tools/samplegen, and the screens' widgets and windows come from
// its module and layout tables and picture sets, with its icon set in the icon pool. The rules' tables
// and the dungeon stay ZorTest's. A derived fixture builds its screens after SetUp and deletes them in
// its TearDown before calling this one's.
//
// CTest runs every case in a process of its own, and writing the sample game takes seconds, so it is
// written once per build of samplegen into the tools folder (zor-sample-game-<stamp>) and only read
// from then on: made in a temporary folder beside it and renamed into place, a process sees it whole or
// not at all, and one that loses the race drops its own copy.

#include "ZorEngineTestSupport.h"

#include "animation/GxNcCrammedImageSetFactory.h"
#include "animation/GxNcIconPool.h"
#include "animation/GxNcImageSetPool.h"
#include "appdata/DBUILayout.h"
#include "appdata/DBUIModule.h"
#include "graphics/GxGDIFontMap.h"
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
    // The shared sample game's folder, written first when this build of samplegen has none; "" when it
    // cannot be had.
    static std::string SampleGame()
    {
        namespace fs = std::filesystem;
        const char* tools = std::getenv("KV_TOOLS_DIR");
        struct stat exe = {};
        if (!tools || stat((std::string(tools) + "/samplegen").c_str(), &exe) != 0)
            return std::string();
        const std::string name = "zor-sample-game-" + std::to_string(exe.st_mtime) + "-" + std::to_string(exe.st_size);
        const fs::path dir = fs::path(tools) / name;
        std::error_code ec;
        if (fs::is_directory(dir, ec))
            return dir.string();
        std::string temp = (fs::path(tools) / "zor-sample-temp-XXXXXX").string();
        if (!mkdtemp(temp.data()))
            return std::string();
        const std::string command = std::string(tools) + "/samplegen '" + temp + "' > /dev/null 2>&1";
        if (std::system(command.c_str()) != 0 || (rename(temp.c_str(), dir.c_str()) != 0 && !fs::is_directory(dir, ec)))
        {
            fs::remove_all(temp, ec);
            return std::string();
        }
        fs::remove_all(temp, ec); // left only when another process renamed its copy first
        // Games of earlier builds of samplegen are not read again.
        for (const fs::directory_entry& e : fs::directory_iterator(tools, ec))
        {
            const std::string other = e.path().filename().string();
            if (other.rfind("zor-sample-game-", 0) == 0 && other != name)
                fs::remove_all(e.path(), ec);
        }
        return dir.string();
    }

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
