// A termination signal during the core's start-up, with a real window and device: start-up stops at its
// next step, the main loop runs no pass (the first sequence is not even entered), and the shut-down leaves
// the player's options, not read yet, as they were.
#include "FileTestSupport.h"
#include "appdata/GxUserConfig.h"
#include "core/GxCore.h"
#include "core/GxGameHooks.h"
#include "graphics/GraphicsTestSupport.h"
#include "platform/PfFontconfigStart.h"
#include "platform/PfSignal.h"
#include "support/KvScopedEnv.h"
#include "support/KvScopedWorkingDir.h"
#include "task/GxSeqBase.h"
#include "task/GxTaskManage.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>

namespace
{

// The first sequence of the game below: counts its entries.
class CountingSeq : public GxSeqBase
{
public:
    explicit CountingSeq(GxTaskBase* parent) : GxSeqBase(parent, L"SeqCounting") {}
    void OnSequenceEnter() override { ++m_Entered; }
    int m_Entered = 0;
};

// A game whose start-up builds one sequence and asks for it, then raises SIGTERM when told to (the
// signal coming during the game's own loading).
class CountingGame : public GxGameHooks
{
public:
    bool OnGameInit(GxCore& core) override
    {
        ++m_Inits;
        m_Seq = new CountingSeq(new GxTaskBase(core.m_TaskManage));
        core.m_TaskManage->ChangeSequence(m_Seq, 0, 0);
        if (m_SignalInGame)
            std::raise(SIGTERM);
        return true;
    }
    bool OnGameTerm(GxCore&) override
    {
        ++m_Terms;
        return true;
    }
    bool m_SignalInGame = false;
    int m_Inits = 0;
    int m_Terms = 0;
    CountingSeq* m_Seq = nullptr; // the task manager's; gone after Finalize
};

class GxCoreStartUpSignal : public KvScratchFixture
{
protected:
    void TearDown() override
    {
        GxCore::SetGameHooks(nullptr);
        PfSignal::ClearQuitRequest();
        for (int sig : {SIGTERM, SIGINT, SIGHUP})
            std::signal(sig, SIG_DFL);
        KvScratchFixture::TearDown();
    }
};

} // namespace

TEST_F(GxCoreStartUpSignal, ASignalBetweenTheStepsEndsStartUpBeforeTheFirstPass)
{
    namespace fs = std::filesystem;
    fs::create_directories(Path("game/Kestrelvane_SAVE"));
    fs::create_directories(Path("runtime"));
    std::ofstream(Path("game/setting.ini")) << "SaveToMyDocuments=0\r\n";
    const std::wstring options = GxString::FromUtf8(Path("game/Kestrelvane_SAVE/userconf.dat"));
    GxUserConfig players;
    players.m_Volume_BGM = 35;
    ASSERT_TRUE(players.Save(options));
    const std::string before = KvFileBytes(Path("game/Kestrelvane_SAVE/userconf.dat"));
    KvScopedWorkingDir folder(Path("game"));
    KvScopedEnv runtime("XDG_RUNTIME_DIR", Path("runtime").c_str());
    PfSignal::Install();

    // {step at whose check the signal comes (none: in the game's start-up), the game's start-up ran}
    const struct
    {
        const wchar_t* step;
        int inits;
    } cases[] = {{L"window", 0}, {L"device", 0}, {L"input and sound", 0}, {L"game", 0}, {nullptr, 1}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.step ? GxString::ToUtf8(c.step) : "in the game's start-up");
        PfSignal::ClearQuitRequest();
        CountingGame game;
        game.m_SignalInGame = c.step == nullptr;
        GxCore::SetGameHooks(&game);
        GxCore core;
        core.m_StartUpProbe = [&](const wchar_t* step)
        {
            if (c.step && std::wstring(step) == c.step)
                std::raise(SIGTERM);
        };
        ASSERT_TRUE(core.Initialize());
        EXPECT_TRUE(core.m_Quit);
        EXPECT_EQ(game.m_Inits, c.inits);
        core.Run();
        EXPECT_EQ(core.m_FrameTimer.m_FrameCount, 0u);
        if (game.m_Seq)
        {
            EXPECT_EQ(game.m_Seq->m_Entered, 0);
        }
        core.Finalize();
        EXPECT_EQ(game.m_Terms, 1);
        // Nobody read the options: the player's file stays as it was.
        EXPECT_TRUE(KvFileBytes(Path("game/Kestrelvane_SAVE/userconf.dat")) == before);
    }
}

// Start-up begins fontconfig's loading on a thread of its own, joined by the first text; a start cut short
// before any text leaves that thread to the shut-down, which joins it rather than exit with it still loading.
TEST_F(GxCoreStartUpSignal, AStartEndedBeforeAnyTextJoinsTheFontconfigLoading)
{
    namespace fs = std::filesystem;
    fs::create_directories(Path("game/Kestrelvane_SAVE"));
    fs::create_directories(Path("runtime"));
    std::ofstream(Path("game/setting.ini")) << "SaveToMyDocuments=0\r\n";
    KvScopedWorkingDir folder(Path("game"));
    KvScopedEnv runtime("XDG_RUNTIME_DIR", Path("runtime").c_str());
    PfSignal::Install();
    PfSignal::ClearQuitRequest();
    PfFontconfigStart::Shutdown();
    CountingGame game;
    GxCore::SetGameHooks(&game);
    GxCore core;
    core.m_StartUpProbe = [&](const wchar_t* step)
    {
        if (std::wstring(step) == L"game")
            std::raise(SIGTERM);
    };
    ASSERT_TRUE(core.Initialize());
    ASSERT_TRUE(PfFontconfigStart::IsPending());
    core.Run();
    core.Finalize();
    EXPECT_FALSE(PfFontconfigStart::IsPending());
}
