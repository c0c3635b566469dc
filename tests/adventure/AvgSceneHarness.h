#pragma once

// A scene harness for the adventure screens: the sample game (tools/samplegen) with a story script of
// the test's own (compiled by tools/moabuild), started through the game's real start-up hook on the
// offscreen device, so the real task manager, tables, screens, script host and builtin dispatch are in
// place. Steps are run as the core's frame runs them, with a fake clock: each Step says how many
// microseconds passed. Input goes through the manager's listener walks, as the core dispatches it.
//
// Use: derive a fixture (or use AvgScene directly), call Start with the script's lines, then Enter to
// switch to "SeqAvgMain" with the main worker at a label, then Step, Click, Key, Wheel.
#include "../appdata/DBTestSupport.h"
#include "graphics/GraphicsTestSupport.h"

#include "adventure/AvgSharedState.h"
#include "adventure/SeqAvgMain.h"
#include "appdata/DBAvgChar.h"
#include "appdata/DBBGMMode.h"
#include "appdata/DBCGMode.h"
#include "appdata/DBEffect.h"
#include "appdata/DBRPMode.h"
#include "appdata/DBUILayout.h"
#include "appdata/DBUIModule.h"
#include "appdata/DBZorCommand.h"
#include "appdata/DBZorEnemy.h"
#include "appdata/DBZorSkill.h"
#include "appdata/DBZorStruct.h"
#include "appdata/DBZorTown.h"
#include "appdata/DBZorUnit.h"
#include "appdata/DBZorVoice.h"
#include "appdata/GxSoundControl.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxCore.h"
#include "core/GxCoreScreenService.h"
#include "core/GxFile.h"
#include "core/GxInput.h"
#include "core/GxLog.h"
#include "core/GxString.h"
#include "media/GxSound.h"
#include "platform/PfAudioDevice.h"
#include "script/GxMoaHost.h"
#include "script/GxMoaWorkerEx.h"
#include "support/SampleGameCache.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUIMessageWindowFx.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

class AvgScene : public KvGraphicsFixture
{
protected:
    // One frame at 60 Hz, in microseconds.
    static constexpr int64_t kFrame = 16667;

    void SetUp() override
    {
        KvGraphicsFixture::SetUp();
        ResetTables();
        m_Game = Path("game");
        m_OldDir = std::filesystem::current_path();
        const char* tools = std::getenv("KV_TOOLS_DIR");
        ASSERT_NE(tools, nullptr);
        m_Tools = tools;
        ASSERT_TRUE(kvtest::CopySampleGame(m_Game));
        GxLog::ResetErrorCount();
    }
    void TearDown() override
    {
        Stop();
        GxLog::SetConsole(nullptr);
        ResetTables();
        KvGraphicsFixture::TearDown();
    }

    static void ResetTables()
    {
        dbtest::ResetTables(g_DBAvgChar, g_DBBGMMode, g_DBCGMode, g_DBRPMode, g_DBUIModule, g_DBUILayout, g_DBEffect,
                            g_DBZorEnemy, g_DBZorSkill, g_DBZorStruct, g_DBZorUnit, g_DBZorVoice, g_DBZorTown,
                            g_DBZorCommand);
    }

    // Writes the story script (UTF-8 lines, CR LF added) as "scripts/main.txt", compiles it with
    // moabuild and starts the game: configuration, user data and progress, then the start-up hook.
    // Further scripts come as (file name, lines).
    void Start(const std::vector<std::string>& script,
               const std::vector<std::pair<std::string, std::vector<std::string>>>& others = {})
    {
        WriteScript("main.txt", script);
        for (const auto& [file, lines] : others)
            WriteScript(file, lines);
        const std::string compile =
            m_Tools + "/moabuild '" + m_Game + "/scripts' '" + m_Game + "/bincode' > '" + Path("moabuild.log") + "'";
        ASSERT_EQ(std::system(compile.c_str()), 0) << "the test's script does not compile";
        std::filesystem::current_path(m_Game);
        m_Core = std::make_unique<GxCore>();
        g_Core = m_Core.get();
        m_Core->m_SystemConfig = new GxSystemConfig();
        m_Core->m_SystemConfig->LoadSysConf();
        m_Core->m_SystemConfig->LoadSetting();
        m_Core->m_SystemConfig->m_AutoCompile = false;
        m_Core->m_UserConfig = new GxUserConfig();
        m_Core->m_UserData = new GxUserData(m_Core.get());
        m_Core->m_UserDataPerman = new GxUserDataPerman(m_Core.get());
        m_Core->m_SavePath = Folder();
        m_Core->m_Active = true;
        m_Core->m_TaskManage = new GxTaskManage(m_Core.get());
        m_Core->m_TaskManage->SetRenderLists(m_Core->m_RenderManage, &m_Core->m_RenderBank);
        m_Core->m_TaskManage->SetScreenService(m_Core->GetScreenService());
        ASSERT_TRUE(m_Core->OnGameInit());
        m_Screen = SeqAvgMain::Find();
        ASSERT_NE(m_Screen, nullptr);
        // The Ctrl key of the machine running the tests is never held.
        SeqAvgMain::s_CtrlHeld = [] { return s_Ctrl; };
        s_Ctrl = false;
    }

    void WriteScript(const std::string& file, const std::vector<std::string>& lines)
    {
        std::ofstream out(m_Game + "/scripts/" + file, std::ios::binary | std::ios::trunc);
        out << "\xEF\xBB\xBF";
        for (const std::string& line : lines)
            out << line << "\r\n";
    }

    // Opens the sound service on the pull output after Start, so the script's sounds play and are recorded.
    // Nothing drains the output: a sound plays until it is stopped.
    void StartSound()
    {
        ASSERT_TRUE(PfAudioDevice::Open(PfAudioDevice::kOutputPull));
        ASSERT_TRUE(GxSound::Initialize(nullptr));
        GxSoundControl::SetTargets(m_Core->m_UserConfig, m_Core->m_UserData);
        m_Sound = true;
    }

    void Stop()
    {
        if (m_Sound)
        {
            GxSoundControl::SetTargets(nullptr, nullptr);
            GxSound::Finalize();
            PfAudioDevice::Close();
            m_Sound = false;
        }
        if (!m_Core)
            return;
        delete m_Core->m_TaskManage;
        m_Core->m_TaskManage = nullptr;
        m_Core->OnGameTerm();
        m_Core.reset();
        g_Core = nullptr;
        SeqAvgMain::s_CtrlHeld = &GxInput::IsCtrlHeld;
        m_Screen = nullptr;
        std::filesystem::current_path(m_OldDir);
    }

    // Switches to the adventure screen with the main worker at the label and steps until the screen
    // has started (its fade-in transition over).
    void Enter(const std::wstring& label)
    {
        GxTaskManage* manage = m_Core->m_TaskManage;
        manage->ChangeSequence(L"SeqAvgMain", 0, 0);
        manage->ApplyPendingSequence();
        ASSERT_TRUE(g_MoaMainWorker->StartAtLabel(label)) << GxString::ToUtf8(label);
        for (int i = 0; i < 600 && !manage->IsSequenceStarted(); ++i)
            Step();
        ASSERT_TRUE(manage->IsSequenceStarted());
    }

    // One update step of a frame as the core runs it (render lists emptied, dead tasks deleted, the
    // pre-start and update walks over the current and the system sequence, draw registration), with
    // elapsed microseconds on step 0.
    void Step(int64_t elapsed = kFrame, int32_t step = 0)
    {
        GxTaskManage* manage = m_Core->m_TaskManage;
        m_Core->ClearRenderLayers();
        manage->DeleteDeadTasks(manage->GetRootTask());
        manage->ClearStepFlags();
        GxTaskBase* current = manage->GetCurrentSequence();
        GxTaskBase* system = manage->GetSystemSequence();
        if (current)
        {
            if (!manage->IsSequenceStarted())
                manage->WalkUpdatePreStart(current, step, elapsed);
            manage->WalkUpdate(current, step, elapsed);
        }
        if (system)
            manage->WalkUpdate(system, step, elapsed);
        manage->WalkRegisterDraw(manage->GetCurrentSequence(), step, elapsed);
        if (system)
            manage->WalkRegisterDraw(system, step, elapsed);
        manage->ApplyPendingSequence();
    }
    void Steps(int n, int64_t elapsed = kFrame)
    {
        for (int i = 0; i < n; ++i)
            Step(elapsed);
    }
    // Draws the registered lists into the back buffer (for pixel checks).
    void Draw() { m_Core->DrawRenderLayers(); }

    // Input through the walks, the system sequence first, then the current one, as the core does.
    template <class WalkFn> GxTaskBase* Walk(WalkFn&& walk)
    {
        GxTaskManage* manage = m_Core->m_TaskManage;
        if (GxTaskBase* system = manage->GetSystemSequence(); system)
            if (GxTaskBase* taken = walk(manage, system))
                return taken;
        return walk(manage, manage->GetCurrentSequence());
    }
    GxTaskBase* Click(float x = 512.0f, float y = 300.0f)
    {
        const float point[2] = {x, y};
        return Walk([&](GxTaskManage* m, GxTaskBase* first) { return m->WalkMouseLeftDown(first, point, 1); });
    }
    GxTaskBase* RightClick(float x = 512.0f, float y = 300.0f)
    {
        const float point[2] = {x, y};
        return Walk([&](GxTaskManage* m, GxTaskBase* first) { return m->WalkMouseRightDown(first, point, 2); });
    }
    GxTaskBase* Key(uint32_t vk)
    {
        return Walk([&](GxTaskManage* m, GxTaskBase* first) { return m->WalkKeyDown(first, vk, 0); });
    }
    GxTaskBase* Wheel(int32_t delta, float x = 512.0f, float y = 300.0f)
    {
        const float point[2] = {x, y};
        return Walk([&](GxTaskManage* m, GxTaskBase* first) { return m->WalkMouseWheel(first, point, delta, 0); });
    }

    GxUserData& Data() { return *m_Core->m_UserData; }
    GxUserConfig& Options() { return *m_Core->m_UserConfig; }
    GxTaskUIMessageWindowFx* Window() { return m_Screen->GetMessageWindow(); }
    GxTaskLayer* Layer(const wchar_t* name) { return m_Screen->FindLayer(name); }
    // The error log of the run ("error.log" of the save folder), as text.
    std::wstring ErrorLog() const
    {
        std::ifstream in(Path("error.log"), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::u16string units(bytes.size() / 2, u'\0');
        for (size_t i = 0; i < units.size(); ++i)
            units[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                             (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
        std::wstring text;
        for (char16_t u : units)
            if (u != 0xFEFF && u != u'\r')
                text.push_back(static_cast<wchar_t>(u));
        return text;
    }

    static inline bool s_Ctrl = false;
    bool m_Sound = false;
    std::unique_ptr<GxCore> m_Core;
    SeqAvgMain* m_Screen = nullptr;
    std::string m_Game;
    std::string m_Tools;
    std::filesystem::path m_OldDir;
};
