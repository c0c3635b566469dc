#include "BuiltinTestSupport.h"
#include "support/KvScopedWorkingDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace BuiltinTest;

TEST(GxMoaBuiltinExScreen, FadesFlashAndShake)
{
    Scene s;
    GxTaskLayer* fade = s.Layer(L"$GLOBALFADE:SeqAvgMain");
    fade->SetAlpha(255);
    ASSERT_TRUE(s.Call(L"fin", Args({IntV(0)})));
    EXPECT_EQ(fade->GetAlpha(), 0);
    EXPECT_TRUE(GxTaskActor::IsActionEmpty(fade));
    ASSERT_TRUE(s.Call(L"fout"));
    ASSERT_EQ(fade->GetActions(0).size(), 1u);
    EXPECT_EQ(fade->GetActions(0).front().m_TimeTotal, 1000);

    // A colour with alpha 0 still flashes fully opaque in that colour.
    GxTaskLayer* flash = s.Layer(L"$GLOBALFLASH:SeqAvgMain");
    ASSERT_TRUE(s.Call(L"flash", Args({IntV(100), IntV(200), IntV(0x00FF0000)})));
    ASSERT_EQ(flash->GetActions(0).size(), 3u);
    GxTaskActor::StepActions(flash, 100);
    EXPECT_EQ(flash->GetAlpha(), 255);
    EXPECT_FLOAT_EQ(flash->GetColor0().x, 1.0f);
    EXPECT_FLOAT_EQ(flash->GetColor0().y, 0.0f);
    GxTaskActor::StepActions(flash, 200);
    EXPECT_EQ(flash->GetAlpha(), 0);
    ASSERT_TRUE(s.Call(L"flash.wa", Args({GxMoaVariable(), IntV(8)})));
    EXPECT_EQ(s.Data().m_Hold_EndOfLayerActionSeparate, 9);
    EXPECT_EQ(s.Data().m_Hold_EndOfLayerActionSeparate_LayerName, L"$GLOBALFLASH:SeqAvgMain");

    GxTaskLayer* visual = s.Layer(L"$VISUAL:SeqAvgMain");
    ASSERT_TRUE(s.Call(L"shake", Args({IntV(500)})));
    EXPECT_TRUE(visual->m_Shake);
    EXPECT_FLOAT_EQ(visual->m_ShakeAmplitude.x, 0.0f);
    ASSERT_TRUE(s.Call(L"shake", Args({GxMoaVariable(), IntV(6), IntV(4)})));
    EXPECT_EQ(visual->m_ShakeTimeTotal, 800); // a new shake replaces the old, character effect time
    EXPECT_FLOAT_EQ(visual->m_ShakeAmplitude.y, 4.0f);
    ASSERT_TRUE(s.Call(L"shake.end"));
    EXPECT_FALSE(visual->m_Shake);
}

TEST(GxMoaBuiltinExScreen, MovieNamesAnEmptyOrMissingFile)
{
    Scene s;
    // The movie folder is relative to the current folder, as in the game.
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "kv_builtin_movie";
    std::filesystem::create_directories(dir / "movies");
    std::ofstream(dir / "movies" / "empty.mpg").close();
    // Back in the previous folder, and the folder gone, however the case ends.
    struct RemoveDir
    {
        std::filesystem::path m_Dir;
        ~RemoveDir()
        {
            std::error_code ignored;
            std::filesystem::remove_all(m_Dir, ignored);
        }
    } removeDir{dir};
    KvScopedWorkingDir inDir(dir);
    // An empty file removes the movie; a missing one always fails, whatever the switches.
    EXPECT_TRUE(s.Call(L"mv", Args({StrV(L"empty")})));
    GxTaskLayer* movie = s.Layer(L"$MOVIELAYER:SeqAvgMain");
    EXPECT_NE(movie->GetCurrentContent().m_ContentType, GxLayerContent::kMovie);
    EXPECT_FALSE(s.Call(L"mv", Args({StrV(L"nothing_here")})));
    ASSERT_FALSE(s.Errors().empty());
    EXPECT_NE(s.Errors().back().find(L"mv:動画ファイルが見つかりません[movies/nothing_here]"), std::wstring::npos);
    ASSERT_TRUE(s.Call(L"mv.autostop"));
    EXPECT_EQ(movie->GetMovieAutoDisappearTime(), 800);
    ASSERT_TRUE(s.Call(L"mv.wa", Args({IntV(1)})));
    EXPECT_EQ(s.Data().m_Hold_EndOfMovie, 15);
    EXPECT_TRUE(s.Data().m_HideWindowByCommandFlag);
}
