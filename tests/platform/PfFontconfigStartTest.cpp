// fontconfig loaded on a thread of its own at start-up: a face asked for while the loading still runs waits
// for it and resolves as after a plain load, the loading runs once, and a failed loading is reported once
// and leaves the faces unresolved as before, until a fresh start succeeds.
#include "platform/PfFontconfigStart.h"

#include "platform/PfDebugWindow.h"
#include "platform/PfFontFace.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace
{

std::atomic<int> s_Loads{0};
std::thread::id s_LoaderThread;
std::vector<std::string> s_Logged;

bool SlowLoader()
{
    ++s_Loads;
    s_LoaderThread = std::this_thread::get_id();
    // Long enough that the lookup below surely comes while this still runs.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    return PfFontconfigStart::LoadConfiguration();
}

bool FailingLoader()
{
    ++s_Loads;
    return false;
}

void Log(const std::string& text)
{
    s_Logged.push_back(text);
}

class PfFontconfigStartTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PfFontFace::ClearCache();
        PfFontconfigStart::SetLoader(nullptr);
        PfFontconfigStart::SetFailureLog(Log);
        s_Loads = 0;
        s_Logged.clear();
    }
    void TearDown() override
    {
        PfFontFace::ClearCache();
        PfFontconfigStart::SetLoader(nullptr);
        PfFontconfigStart::SetFailureLog(nullptr);
    }
};

} // namespace

TEST_F(PfFontconfigStartTest, FaceAskedForDuringBackgroundLoadResolvesAsAfterPlainLoad)
{
    PfFontFace* plain = PfFontFace::Get(L"ＭＳ ゴシック", 16);
    ASSERT_NE(plain, nullptr);
    const std::string path = plain->GetFilePath();
    const std::string family = plain->GetFamilyName();
    PfFontFace::ClearCache();

    PfFontconfigStart::SetLoader(SlowLoader);
    PfFontconfigStart::Begin();
    PfFontconfigStart::Begin(); // a second start changes nothing
    EXPECT_TRUE(PfFontconfigStart::IsPending());
    PfFontFace* early = PfFontFace::Get(L"ＭＳ ゴシック", 16);
    ASSERT_NE(early, nullptr);
    EXPECT_EQ(early->GetFilePath(), path);
    EXPECT_EQ(early->GetFamilyName(), family);
    PfGlyphBitmap glyph;
    EXPECT_TRUE(early->RenderGlyph(0x3042, glyph));
    EXPECT_GT(glyph.Width, 0);
    // Loaded once, on the background thread; the lookup waited for it instead of loading again.
    EXPECT_EQ(s_Loads, 1);
    EXPECT_NE(s_LoaderThread, std::this_thread::get_id());
    EXPECT_FALSE(PfFontconfigStart::IsPending());
    EXPECT_NE(PfFontFace::Get(L"ＭＳ 明朝", 20), nullptr);
    EXPECT_EQ(s_Loads, 1);
    EXPECT_TRUE(s_Logged.empty());
}

TEST_F(PfFontconfigStartTest, WithoutBeginTheFirstLookupLoadsOnItsOwnThread)
{
    PfFontconfigStart::SetLoader(SlowLoader);
    EXPECT_FALSE(PfFontconfigStart::IsPending());
    EXPECT_NE(PfFontFace::Get(L"ＭＳ ゴシック", 16), nullptr);
    EXPECT_EQ(s_Loads, 1);
    EXPECT_EQ(s_LoaderThread, std::this_thread::get_id());
}

TEST_F(PfFontconfigStartTest, FailedBackgroundLoadIsLoggedOnceAndLeavesNoFace)
{
    PfFontconfigStart::SetLoader(FailingLoader);
    PfFontconfigStart::Begin();
    EXPECT_EQ(PfFontFace::Get(L"ＭＳ ゴシック", 16), nullptr);
    EXPECT_EQ(PfFontFace::Get(L"ＭＳ ゴシック", 24), nullptr);
    EXPECT_FALSE(PfFontconfigStart::Wait());
    EXPECT_EQ(s_Loads, 1);
    ASSERT_EQ(s_Logged.size(), 1u);
    EXPECT_NE(s_Logged[0].find("fontconfig"), std::string::npos);

    // A fresh start with fontconfig's own loading finds the face again.
    PfFontFace::ClearCache();
    PfFontconfigStart::SetLoader(nullptr);
    PfFontconfigStart::Begin();
    EXPECT_NE(PfFontFace::Get(L"ＭＳ ゴシック", 16), nullptr);
    EXPECT_EQ(s_Logged.size(), 1u);
}

TEST_F(PfFontconfigStartTest, DebugWindowLooksItsFontUpAtFirstPaint)
{
    PfFontconfigStart::SetLoader(SlowLoader);
    // Made before anything loaded fontconfig, the window loads nothing itself.
    {
        PfDebugWindow debug;
        ASSERT_TRUE(debug.Create());
        EXPECT_FALSE(PfFontconfigStart::IsPending());
        EXPECT_EQ(s_Loads, 0);
        debug.Destroy();
    }
    // Painted while the background loading still runs: the paint waits for it (the text it then draws is
    // checked in PfDebugWindowTest).
    PfFontconfigStart::Begin();
    PfDebugWindow debug;
    ASSERT_TRUE(debug.Create());
    EXPECT_TRUE(PfFontconfigStart::IsPending());
    debug.Paint("WWWW\n");
    EXPECT_FALSE(PfFontconfigStart::IsPending());
    EXPECT_EQ(s_Loads, 1);
    debug.Destroy();
}
