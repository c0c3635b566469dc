// A movie in a layer: its frames reach the screen, and a layer saved while its movie plays resumes the movie
// from where it was.
#include "../task/TaskSaveSupport.h"
#include "MovieTestSupport.h"

#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"

namespace
{

class GxMovieLayerTest : public KvMovieFixture
{
protected:
    void SetUp() override
    {
        KvMovieFixture::SetUp();
        Rebuild();
    }
    void TearDown() override
    {
        m_Manage.reset();
        KvMovieFixture::TearDown();
    }
    // A fresh task tree; the old one goes with its manager (and its layers' movies with it).
    void Rebuild()
    {
        m_Manage = std::make_unique<GxTaskManage>();
        m_Root = new GxTaskBase(m_Manage.get());
    }
    static int Slot(GxTaskLayer* layer) { return (int)layer->GetCurrentContent().m_MyChannel; }
    std::unique_ptr<GxTaskManage> m_Manage;
    GxTaskBase* m_Root = nullptr;
};

} // namespace

TEST_F(GxMovieLayerTest, LayerShowsItsMovieAndResumesItAfterALoad)
{
    GxTaskLayer* layer = new GxTaskLayer(m_Root, L"movie");
    // Endless (the layer hands the slot its count less one), so the save finds it playing.
    ASSERT_TRUE(layer->SetMovie(Wide(KvMovie("640x480x4.mpg")), 640, 480, 0, 0.0, 0, true, 0));
    const int slot = Slot(layer);
    ASSERT_NE(GxMovie::GetPlayer(slot), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return GxMovie::GetPosition(slot) > 1.2; }));
    EXPECT_TRUE(layer->IsMoviePlaying());
    layer->Update(0, 16667);
    ASSERT_TRUE(GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0));
    layer->Draw(0, 5);
    // The layer at the origin draws the movie's 640 x 480 share of its texture 1:1 at the screen's top left.
    const std::vector<uint32_t> screen = Screen(640, 480);
    for (int bar = 0; bar < 8; ++bar)
        EXPECT_LE(ChannelDistance(screen[100 * 640 + bar * 80 + 40], 0xFF000000u | MoviePattern::kBarColours[bar]), 8)
            << "bar " << bar;
    const int shown =
        MoviePattern::ReadFrameNumber([&](int x, int y) { return screen[(size_t)y * 640 + x]; }, 640, 480);
    EXPECT_GE(shown, 25);
    EXPECT_LT(shown, 100);

    const auto bytes = SaveRecord(ContentForm::Binary, [&](GxContentWriterBase* w) { return layer->Save(w); });
    const double saved = layer->GetCurrentContent().m_MovieCurrentTime;
    EXPECT_GT(saved, 1.2);
    Rebuild();
    EXPECT_EQ(GxMovie::GetPlayer(slot), nullptr);
    GxTaskLayer* loaded = new GxTaskLayer(m_Root);
    ASSERT_TRUE(loaded->Load(OpenRecord(ContentForm::Binary, bytes).get()));
    ASSERT_NE(GxMovie::GetPlayer(slot), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return Copies(slot) > 0; }));
    const double resumed = GxMovie::GetPlayer(slot)->GetRenderer()->GetCopyRecords().front().FrameTime;
    EXPECT_GE(resumed, saved - 1e-3);
    EXPECT_LT(resumed, saved + 0.1);
    EXPECT_EQ(GxMovie::GetLoopFlag(slot), -1);
}

TEST_F(GxMovieLayerTest, MoviePlayedOnceStaysUntilItEndsThenDisappears)
{
    GxTaskLayer* layer = new GxTaskLayer(m_Root, L"once");
    ASSERT_TRUE(layer->SetMovie(Wide(KvMovie("64x48x4-silent.mpg")), 64, 48, 1, 0.0, 0, true, 0));
    const int slot = Slot(layer);
    EXPECT_EQ(GxMovie::GetLoopFlag(slot), 0);
    layer->Update(0, 16667);
    EXPECT_EQ(layer->GetCurrentContent().m_ContentType, GxLayerContent::kMovie);
    EXPECT_TRUE(layer->IsMoviePlaying());
    ASSERT_TRUE(GxMovie::SetPosition(slot, 3.9));
    ASSERT_TRUE(PumpUntil([&] { return !layer->IsMoviePlaying(); }));
    layer->Update(0, 16667);
    EXPECT_EQ(layer->GetCurrentContent().m_ContentType, GxLayerContent::kNone);
}
