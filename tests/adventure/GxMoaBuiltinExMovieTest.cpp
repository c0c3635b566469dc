#include "../media/MovieTestSupport.h"
#include "../media/SoundTestSupport.h"
#include "BuiltinTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace BuiltinTest;

namespace
{
// The graphics device and movie slots, with "movies/" in a scratch folder made the current folder.
class MovieScene : public KvMovieFixture
{
protected:
    void SetUp() override
    {
        KvMovieFixture::SetUp();
        m_Home = std::filesystem::current_path();
        std::filesystem::create_directories(m_Dir + "/movies");
        std::filesystem::copy_file(KvMovie("64x48x2.mpg"), m_Dir + "/movies/clip.mpg");
        // The movie cut off inside its first picture, and after its first kilobyte.
        std::ifstream whole(m_Dir + "/movies/clip.mpg", std::ios::binary);
        std::vector<char> head(1024);
        whole.read(head.data(), static_cast<std::streamsize>(head.size()));
        std::ofstream(m_Dir + "/movies/head.mpg", std::ios::binary).write(head.data(), 200);
        std::ofstream(m_Dir + "/movies/cut.mpg", std::ios::binary).write(head.data(), whole.gcount());
        std::filesystem::current_path(m_Dir);
        m_Owned = std::make_unique<Scene>();
    }
    void TearDown() override
    {
        // The layers and their movie textures go before the device.
        m_Owned.reset();
        std::filesystem::current_path(m_Home);
        KvMovieFixture::TearDown();
    }
    std::filesystem::path m_Home;
    std::unique_ptr<Scene> m_Owned;
};
} // namespace

TEST_F(MovieScene, MoviePlaysOnTheMovieLayerAndADamagedOneIsLogged)
{
    GxTaskLayer* layer = m_Owned->Layer(L"$MOVIELAYER:SeqAvgMain");
    ASSERT_TRUE(m_Owned->Call(L"mv", Args({StrV(L"clip"), IntV(0), GxMoaVariable(), GxMoaVariable(), IntV(1)})));
    EXPECT_EQ(layer->GetCurrentContent().m_ContentType, GxLayerContent::kMovie);
    EXPECT_EQ(layer->GetCurrentContent().m_ContentFileName, L"movies/clip.mpg");
    EXPECT_EQ(layer->GetCurrentContent().m_Width, 1024);
    EXPECT_EQ(layer->GetCurrentContent().m_LoopCount, 0); // count 1 plays once: the slot gets 0
    EXPECT_TRUE(PumpUntil([&] { return layer->IsMoviePlaying(); }));
    // Without a name the movie goes.
    ASSERT_TRUE(m_Owned->Call(L"mv", Args({StrV(L""), IntV(0)})));
    EXPECT_NE(layer->GetCurrentContent().m_ContentType, GxLayerContent::kMovie);

    // Truncated movies: the script goes on and nothing reads past the data. One cut inside its first
    // picture does not open, which the movie layer logs; one cut later plays what it holds and ends
    // (a program stream carries no length, so that end looks like any other).
    sndtest::LogCapture log;
    EXPECT_TRUE(m_Owned->Call(L"mv", Args({StrV(L"head"), IntV(0)})));
    EXPECT_TRUE(log.Has(L"movies/head.mpg"));
    EXPECT_FALSE(layer->IsMoviePlaying());
    EXPECT_TRUE(m_Owned->Call(L"mv", Args({StrV(L"cut"), IntV(0), GxMoaVariable(), GxMoaVariable(), IntV(1)})));
    EXPECT_TRUE(PumpUntil([&] { return !layer->IsMoviePlaying(); }));
}
