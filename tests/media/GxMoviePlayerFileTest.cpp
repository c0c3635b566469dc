// Movie players: frames into the texture, texture formats, the renderer's own texture, exact seeks, loops.
#include "MovieTestSupport.h"

#include <cmath>

using GxMoviePlayerFileTest = KvMovieFixture;

namespace
{

// The frame times at which playback jumped back (a loop's restart).
std::vector<double> Restarts(const std::vector<GxMovieRenderer::CopyRecord>& records)
{
    std::vector<double> restarts;
    for (size_t i = 1; i < records.size(); ++i)
        if (records[i].FrameTime < records[i - 1].FrameTime)
            restarts.push_back(records[i].FrameTime);
    return restarts;
}

} // namespace

TEST_F(GxMoviePlayerFileTest, FramesLandUprightInTheTopLeftOfTheTexture)
{
    GxTextureMovie texture;
    ASSERT_TRUE(texture.Create(L"movie", 1024, 512, D3DFMT_A8R8G8B8, 0xFF000000u, false));
    ASSERT_TRUE(GxMovie::Open(0, Wide(KvMovie("640x480x4.mpg")), &texture, false, false));
    GxMoviePlayerFile* player = GxMovie::GetPlayer(0);
    float sx = 0, sy = 0;
    player->GetTextureScale(&sx, &sy);
    EXPECT_EQ(sx, 0.625f);
    EXPECT_EQ(sy, 0.9375f);
    KvExpectEq<int32_t>(
        {{player->GetVideoWidth(), 640}, {player->GetVideoHeight(), 480}, {player->GetVideoPitch(), 1920}});
    ASSERT_TRUE(PlayOneFrame(0));
    // What the device holds after the main thread's upload, read back.
    texture.UploadCurrent();
    PfGLTexture* current = texture.GetD3DResource();
    ASSERT_EQ(current->ReadBack(), D3D_OK);
    for (int bar = 0; bar < 8; ++bar)
    {
        const uint32_t texel = KvTexel(current, bar * 80 + 40, 100);
        EXPECT_LE(ChannelDistance(texel, 0xFF000000u | MoviePattern::kBarColours[bar]), 4)
            << "bar " << bar << std::hex << " " << texel;
    }
    // Below the bars the grey band with frame number 0 (all squares black); beyond the video, the clear colour.
    EXPECT_LE(ChannelDistance(KvTexel(current, 20, 340), 0xFF404040u), 4);
    EXPECT_LE(ChannelDistance(KvTexel(current, 40, 400), 0xFF000000u), 4);
    KvExpectEq<uint32_t>({{KvTexel(current, 700, 10), 0xFF000000u}, {KvTexel(current, 10, 490), 0xFF000000u}});
}

TEST_F(GxMoviePlayerFileTest, SixteenBitTexturesGetTheirConversions)
{
    const struct
    {
        D3DFORMAT Format;
        uint32_t White, Red, Blue;
    } cases[] = {{D3DFMT_A1R5G5B5, 0xFFFF, 0xFC00, 0x801F}, {D3DFMT_A4R4G4B4, 0xFFFF, 0xFF00, 0xF00F}};
    for (const auto& c : cases)
    {
        GxTextureMovie texture;
        ASSERT_TRUE(texture.Create(L"", 64, 48, c.Format, 0, false));
        ASSERT_TRUE(GxMovie::Open(1, Wide(KvMovie("64x48x4.avi")), &texture, false, false));
        ASSERT_TRUE(PlayOneFrame(1));
        KvExpectEq<uint32_t>({{TexturePixel(&texture, 4, 10), c.White},
                              {TexturePixel(&texture, 44, 10), c.Red},
                              {TexturePixel(&texture, 52, 10), c.Blue}});
        GxMovie::Destroy(1);
    }
}

TEST_F(GxMoviePlayerFileTest, WithoutATextureTheRendererMakesAnOpaqueBlackOneOfTheVideoSize)
{
    ASSERT_TRUE(GxMovie::Open(2, Wide(KvMovie("64x48x4.mpg")), nullptr, false, true));
    GxMoviePlayerFile* player = GxMovie::GetPlayer(2);
    GxTextureMovie* texture = player->GetTextureMovie();
    ASSERT_NE(texture, nullptr);
    KvExpectEq<uint32_t>({{texture->GetImageWidth(), 64},
                          {texture->GetImageHeight(), 48},
                          {texture->GetFormat(), D3DFMT_A8R8G8B8},
                          {TexturePixel(texture, 10, 10), 0xFF000000u},
                          {player->GetD3DTexture() == texture->GetD3DTexture(), 1}});
    EXPECT_EQ(texture->GetUsage() != 0, GxGraphics::GetDeviceCaps().DynamicTextures);
    float sx = 0, sy = 0;
    player->GetTextureScale(&sx, &sy);
    EXPECT_EQ(sx, 64.0f / texture->GetWidth());
    EXPECT_EQ(sy, 48.0f / texture->GetHeight());
}

TEST_F(GxMoviePlayerFileTest, SeeksLandOnTheFirstFrameAtOrAfterTheTime)
{
    // MPEG-1 with predicted pictures (the seek must go back to a key picture), the same as a bare stream
    // without time stamps (pictures timed by their count) and all-key MJPEG.
    for (const char* name : {"64x48x4.mpg", "64x48x4.mpv", "64x48x4.avi"})
    {
        ASSERT_TRUE(GxMovie::Open(0, Wide(KvMovie(name)), nullptr, false, false));
        GxTextureMovie* texture = GxMovie::GetPlayer(0)->GetTextureMovie();
        for (const auto& [at, frame] : std::vector<std::pair<double, int>>{{2.52, 63}, {0.5, 13}, {1.03, 26}, {0.0, 0}})
        {
            ASSERT_TRUE(GxMovie::SetPosition(0, at));
            EXPECT_NEAR(GxMovie::GetPosition(0), at, 1e-6);
            ASSERT_TRUE(PlayOneFrame(0));
            EXPECT_EQ(ShownFrame(texture, 64, 48), frame) << name << " at " << at;
        }
    }
}

TEST_F(GxMoviePlayerFileTest, LoopCountRestartsAtTheLoopPositionThenStopsAtZeroAndMinusOneLoopsForEver)
{
    ASSERT_TRUE(GxMovie::Open(3, Wide(KvMovie("64x48x4-silent.mpg")), nullptr, false, false));
    GxMovie::SetLoopPosition(3, 3.5);
    ASSERT_TRUE(GxMovie::SetPosition(3, 3.2));
    EXPECT_EQ(GxMovie::GetLoopFlag(3), 0);
    ASSERT_TRUE(GxMovie::Play(3, 2, 0));
    EXPECT_EQ(GxMovie::GetLoopFlag(3), 2);
    GxMoviePlayerFile* player = GxMovie::GetPlayer(3);
    ASSERT_TRUE(PumpUntil([&] { return !player->IsPlaying(); }));
    const std::vector<double> restarts = Restarts(player->GetRenderer()->GetCopyRecords());
    ASSERT_EQ(restarts.size(), 2u);
    for (double t : restarts)
        EXPECT_TRUE(t >= 3.5 && t < 3.5 + 0.04) << t;
    EXPECT_EQ(GxMovie::GetPosition(3), 0.0);
    EXPECT_EQ(GxMovie::GetLoopFlag(3), 0);
    EXPECT_FALSE(player->IsPlaying());

    // A count of -1 loops for ever.
    ASSERT_TRUE(GxMovie::Open(0, Wide(KvMovie("64x48x4.avi")), nullptr, false, false));
    GxMovie::SetLoopPosition(0, 3.8);
    ASSERT_TRUE(GxMovie::SetPosition(0, 3.8));
    ASSERT_TRUE(GxMovie::Play(0, -1, 0));
    GxMoviePlayerFile* endless = GxMovie::GetPlayer(0);
    ASSERT_TRUE(PumpUntil([&] { return Restarts(endless->GetRenderer()->GetCopyRecords()).size() >= 3; }));
    EXPECT_TRUE(endless->IsPlaying());
    EXPECT_EQ(GxMovie::GetLoopFlag(0), -1);
}

