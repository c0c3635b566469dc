// The movie texture: sizes, swapping, locking, and frames written on a playback thread and uploaded by
// the main thread.
#include "GraphicsTestSupport.h"

#include "graphics/GxD3DResourceManage.h"
#include "graphics/GxTextureMovie.h"

#include <thread>
#include <tuple>
#include <vector>

using GxTextureMovieTest = KvGraphicsFixture;

namespace
{

// A bottom-up 24-bit frame whose top row is blue-green-red (1, 2, 3) and every other row (4, 5, 6).
std::vector<uint8_t> Frame(uint32_t w, uint32_t h)
{
    std::vector<uint8_t> frame((size_t)w * h * 3);
    for (uint32_t row = 0; row < h; ++row)
        for (uint32_t x = 0; x < w; ++x)
        {
            for (int c = 0; c < 3; ++c)
                frame[((size_t)row * w + x) * 3 + c] = (uint8_t)(c + (row == h - 1 ? 1 : 4));
        }
    return frame;
}

} // namespace

TEST_F(GxTextureMovieTest, CreatesTwoClearedPowerOfTwoTextures)
{
    GxTextureMovie movie;
    ASSERT_TRUE(movie.Create(L"Movie", 640, 480, D3DFMT_A8R8G8B8, 0xFF000000u, false));
    KvExpectEq<uint32_t>({{movie.GetWidth(), 1024},
                          {movie.GetHeight(), 512},
                          {movie.GetMemorySize(), 4194304},
                          {KvTexel(movie.GetD3DResource(), 5, 5), 0xFF000000u},
                          {KvTexel(movie.GetBackTexture(), 1023, 511), 0xFF000000u}});
    EXPECT_TRUE(GxD3DResourceManage::GetInstance().IsRegistered(&movie));
    // Managed textures are untouched by a device reset.
    PfGLTexture* before = movie.GetD3DResource();
    movie.OnLostDevice();
    movie.OnResetDevice();
    EXPECT_EQ(movie.GetD3DResource(), before);
    movie.Release();
    EXPECT_EQ(movie.GetD3DResource(), nullptr);
    EXPECT_FALSE(GxD3DResourceManage::GetInstance().IsRegistered(&movie));
}

TEST_F(GxTextureMovieTest, SwapReturnsThePreviousIndexAndMarksItFilled)
{
    GxTextureMovie movie;
    ASSERT_TRUE(movie.Create(L"", 16, 16, D3DFMT_UNKNOWN, 0, false));
    PfGLTexture* first = movie.GetD3DResource();
    EXPECT_FALSE(movie.IsFilled());
    KvExpectEq<uint32_t>({{movie.Swap(), 0}, {movie.GetCurrentIndex(), 1}});
    EXPECT_EQ(movie.GetBackTexture(), first);
    EXPECT_FALSE(movie.IsFilled());
    EXPECT_EQ(movie.Swap(), 1u);
    EXPECT_TRUE(movie.IsFilled());
}

TEST_F(GxTextureMovieTest, SecondLockFailsWithTheAlreadyLockedLine)
{
    GxTextureMovie movie;
    ASSERT_TRUE(movie.Create(L"lock", 8, 8, D3DFMT_A4R4G4B4, 0xFF102030u, false));
    void* bits = nullptr;
    ASSERT_TRUE(movie.LockRect(0, nullptr, &bits, nullptr, nullptr, nullptr, nullptr, true));
    uint16_t v;
    std::memcpy(&v, bits, 2);
    EXPECT_EQ(v, 0xF123);
    EXPECT_FALSE(movie.LockRect(1, nullptr, &bits, nullptr, nullptr, nullptr, nullptr, false));
    EXPECT_TRUE(Logged(L"Error/Texture LockRect Failed(Name:\"lock\" Size:8,8 Texture Already Locked)"));
    EXPECT_TRUE(movie.UnlockRect(0));
    EXPECT_FALSE(movie.UnlockRect(0));
}

TEST_F(GxTextureMovieTest, FramesFromAPlaybackThreadReachTheDeviceAfterUpload)
{
    GxTextureMovie movie;
    ASSERT_TRUE(movie.Create(L"play", 640, 480, D3DFMT_X8R8G8B8, 0xFF000000u, false));
    const std::vector<uint8_t> frame = Frame(640, 480);
    PfResult hr = E_FAIL;
    std::thread player([&] { hr = movie.CopyFrame(frame.data(), 640, 480, 640 * 3); });
    player.join();
    ASSERT_EQ(hr, S_OK);
    EXPECT_EQ(movie.GetCurrentIndex(), 1u);
    movie.UploadCurrent();
    PfGLTexture* current = movie.GetD3DResource();
    // Read the device's copy back over the processor copy: it must hold the frame, top row first.
    ASSERT_EQ(current->ReadBack(), D3D_OK);
    KvExpectEq<uint32_t>({{KvTexel(current, 0, 0), 0xFF030201u},
                          {KvTexel(current, 639, 1), 0xFF060504u},
                          {KvTexel(current, 640, 1), 0xFF000000u}});
    // A second frame goes into the other texture.
    std::thread again([&] { hr = movie.CopyFrame(frame.data(), 640, 480, 640 * 3); });
    again.join();
    EXPECT_EQ(movie.GetCurrentIndex(), 0u);
    EXPECT_EQ(movie.CopyFrame(nullptr, 640, 480, 0), (PfResult)0x80004003u);
}

TEST_F(GxTextureMovieTest, SixteenBitFramesConvertByFormat)
{
    GxTextureMovie movie;
    ASSERT_TRUE(movie.Create(L"p16", 4, 4, D3DFMT_A4R4G4B4, 0, false));
    std::vector<uint8_t> frame(4 * 4 * 3, 0);
    // The top-left pixel (last row, bottom-up): blue 0x3F, green 0x80, red 0xF0.
    std::tie(frame[36], frame[37], frame[38]) = std::tuple(0x3F, 0x80, 0xF0);
    ASSERT_EQ(movie.CopyFrame(frame.data(), 4, 4, 12), S_OK);
    uint16_t v;
    std::memcpy(&v, movie.GetD3DResource()->GetData(), 2);
    EXPECT_EQ(v, 0xFF83);
}
