// Textures on the device: sizes from pictures of every format, the colour key, fills, scrolls, blends,
// copies with conversion, pixel read-back, save and reload, locking and the render-target copy.
#include "GraphicsTestSupport.h"
#include "ImageTestSupport.h"

#include "core/GxColor.h"
#include "graphics/GxD3DResourceManage.h"
#include "graphics/GxTexture.h"
#include "platform/PfGLTexture.h"

#include <algorithm>

using namespace kvimg;

namespace
{

class GxTextureTest : public KvGraphicsFixture
{
protected:
    // Writes the 300 x 200 pattern in the five formats; returns their names.
    std::vector<std::string> WriteAllFormats()
    {
        const PfImage pattern = Pattern(300, 200);
        EXPECT_TRUE(WritePng(Path("pic.png"), pattern));
        EXPECT_TRUE(WriteJpeg(Path("pic.jpg"), 300, 200));
        WriteFile(Path("pic.bmp"), EncodeBmp(pattern));
        WriteFile(Path("pic.tga"), EncodeTga(pattern));
        WriteFile(Path("pic.dds"), EncodeDds(pattern));
        return {"pic.png", "pic.jpg", "pic.bmp", "pic.tga", "pic.dds"};
    }
    // Texture and picture sizes, then the reference count.
    static std::vector<uint32_t> Sizes(GxTexture& t)
    {
        return {t.GetWidth(), t.GetHeight(), t.GetImageWidth(), t.GetImageHeight(), t.GetRefCount()};
    }
    // Writes one texel: the low 16 bits on 16-bit formats (little-endian, so the same leading bytes).
    void SetTexel(GxTexture& t, uint32_t x, uint32_t y, uint32_t argb)
    {
        PfRect r = {(int32_t)x, (int32_t)y, (int32_t)x + 1, (int32_t)y + 1};
        void* bits = nullptr;
        ASSERT_TRUE(t.LockRect(&r, &bits, nullptr, nullptr, nullptr, nullptr, false));
        const bool wide = t.GetFormat() == D3DFMT_A8R8G8B8 || t.GetFormat() == D3DFMT_X8R8G8B8;
        std::memcpy(bits, &argb, wide ? 4 : 2);
        t.UnlockRect();
    }
};

} // namespace

TEST_F(GxTextureTest, PicturesOfEveryFormatLoadAsPowerOfTwoTextures)
{
    for (const std::string& name : WriteAllFormats())
    {
        SCOPED_TRACE(name);
        GxTexture t;
        ASSERT_TRUE(t.CreateFromFile(Wide(Path(name)), D3DFMT_A8R8G8B8, 1, 0, false));
        EXPECT_EQ(Sizes(t), (std::vector<uint32_t>{512, 256, 300, 200, 1}));
        EXPECT_TRUE(GxD3DResourceManage::GetInstance().IsRegistered(&t));
        // Unscaled at the top left, transparent black beyond the picture.
        EXPECT_LE(ChannelDistance(t.GetPixel(299, 199), Pattern(300, 200).GetPixel(299, 199)), 12);
        KvExpectPixels(t, {{300, 0, 0u}, {0, 200, 0u}});
        t.Release();
        EXPECT_FALSE(GxD3DResourceManage::GetInstance().IsRegistered(&t));
    }
}

TEST_F(GxTextureTest, StretchScalesOverTheWholeTextureAndSquareRuleApplies)
{
    WriteAllFormats();
    GxTexture t;
    ASSERT_TRUE(t.CreateFromFile(Wide(Path("pic.png")), D3DFMT_UNKNOWN, 1, 0, true));
    EXPECT_EQ(t.GetFormat(), GxGraphics::GetTextureFormat());
    // The right and bottom edges of the texture hold the picture's edges.
    const uint32_t corner = t.GetPixel(511, 255);
    EXPECT_EQ(corner >> 24, 0xFFu);
    EXPECT_LE(ChannelDistance(corner, Pattern(300, 200).GetPixel(299, 199)), 4);
    t.Release();
    GxDisplaySettings::Get().m_SquareTextures = true;
    GxGraphics::Finalize();
    ASSERT_TRUE(GxGraphics::Initialize(m_Window.GetSDLWindow(), nullptr, nullptr, nullptr));
    ASSERT_TRUE(t.CreateFromFile(Wide(Path("pic.bmp")), D3DFMT_UNKNOWN, 1, 0, true));
    EXPECT_EQ(Sizes(t), (std::vector<uint32_t>{512, 512, 300, 200, 1}));
    GxTexture tiny;
    ASSERT_TRUE(tiny.CreateTexture(L"Tiny", 0, 1, D3DFMT_A8R8G8B8, 1));
    EXPECT_EQ(tiny.GetWidth(), 1u);
    EXPECT_EQ(tiny.GetName(), L"tiny");
}

TEST_F(GxTextureTest, PowerOfTwoPicturesAreNeverFilteredAndColourKeyClearsKeyPixels)
{
    const PfImage pattern = Pattern(256, 256);
    WriteFile(Path("square.tga"), EncodeTga(pattern));
    GxTexture t;
    ASSERT_TRUE(t.CreateFromFile(Wide(Path("square.tga")), D3DFMT_A8R8G8B8, 1, 0, true));
    EXPECT_EQ(t.GetWidth(), 256u);
    for (uint32_t i = 0; i < 256; i += 17)
        EXPECT_EQ(t.GetPixel(i, 255 - i), pattern.GetPixel(i, 255 - i));
    // The colour key turns key pixels transparent.
    PfImage keyed = Pattern(16, 16);
    keyed.SetPixel(3, 4, 0xFF00FF00u);
    WriteFile(Path("key.tga"), EncodeTga(keyed));
    ASSERT_TRUE(t.CreateFromFile(Wide(Path("key.tga")), D3DFMT_A8R8G8B8, 1, 0xFF00FF00u, false));
    // Loaded but not yet used: the pixels are made at the first use from the bytes read at the load, with
    // the colour key, whatever the file holds by then.
    ASSERT_NE(t.GetD3DTexture(), nullptr);
    EXPECT_TRUE(t.GetD3DTexture()->HasDeferredFill());
    EXPECT_FALSE(t.GetD3DTexture()->HasStorage());
    WriteFile(Path("key.tga"), EncodeTga(Pattern(8, 8)));
    KvExpectPixels(t, {{3, 4, 0u}, {2, 4, keyed.GetPixel(2, 4)}});
    EXPECT_FALSE(t.GetD3DTexture()->HasDeferredFill());
}

// A picture loaded but not drawn holds neither pixels nor memory in OpenGL; loaded again it shows the same
// pixels. Written by one lock it gives the copy up again, the change kept.
TEST_F(GxTextureTest, LoadedPictureHoldsNoPixelsUntilUsedAndOneLockGivesItsCopyUp)
{
    const PfImage pattern = Pattern(64, 32);
    ASSERT_TRUE(WritePng(Path("held.png"), pattern));
    GxTexture t;
    ASSERT_TRUE(t.CreateFromFile(Wide(Path("held.png")), D3DFMT_A8R8G8B8, 1, 0, false));
    ASSERT_NE(t.GetD3DTexture(), nullptr);
    EXPECT_TRUE(t.GetD3DTexture()->HasDeferredFill());
    EXPECT_FALSE(t.GetD3DTexture()->HasCopy());
    EXPECT_FALSE(t.GetD3DTexture()->HasStorage());
    GxTexture again;
    ASSERT_TRUE(again.CreateFromFile(Wide(Path("held.png")), D3DFMT_A8R8G8B8, 1, 0, false));
    KvExpectPixels(again, {{5, 7, pattern.GetPixel(5, 7)}, {63, 31, pattern.GetPixel(63, 31)}});

    SetTexel(t, 9, 9, 0xFF123456u);
    EXPECT_FALSE(t.GetD3DTexture()->HasCopy()) << "filled by one lock, OpenGL holds it";
    KvExpectPixels(t, {{9, 9, 0xFF123456u}, {10, 9, pattern.GetPixel(10, 9)}});
}

TEST_F(GxTextureTest, Fill16BitStoresReducedColourReadsBackWidenedAndRefusesASecondLock)
{
    GxTexture t;
    ASSERT_TRUE(t.CreateTexture(L"T16", 8, 8, D3DFMT_A4R4G4B4, 1));
    EXPECT_EQ(t.GetMemorySize(), 8u * 8u * 2u);
    ASSERT_TRUE(t.Fill(0xFF102030u));
    void* bits = nullptr;
    uint32_t pitch = 0;
    ASSERT_TRUE(t.LockRect(nullptr, &bits, &pitch, nullptr, nullptr, nullptr, true));
    for (uint32_t i = 0; i < 64; ++i)
    {
        uint16_t v;
        std::memcpy(&v, static_cast<uint8_t*>(bits) + (i / 8) * pitch + (i % 8) * 2, 2);
        ASSERT_EQ(v, 0xF123) << i;
    }
    // A second lock is refused with its line and keeps the first.
    EXPECT_FALSE(t.LockRect(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, false));
    EXPECT_TRUE(t.IsLocked());
    EXPECT_TRUE(Logged(L"Error/Texture LockRect Failed(Name:\"t16\" Size:8,8 Texture Already Locked)"));
    EXPECT_TRUE(t.UnlockRect());
    EXPECT_FALSE(t.UnlockRect());
    SetTexel(t, 1, 1, 0xABCD);
    KvExpectPixels(t, {{1, 1, 0xAABBCCDDu}, {8, 0, 0u}});
}

TEST_F(GxTextureTest, ScrollVerticalMovesRowsAndFillsTheRest)
{
    GxTexture t;
    ASSERT_TRUE(t.CreateTexture(L"scroll", 4, 4, D3DFMT_A8R8G8B8, 1));
    for (uint32_t i = 0; i < 16; ++i)
        SetTexel(t, i % 4, i / 4, 0xFF000000u | i / 4);
    const uint32_t c = 0x80FFFFFFu;
    ASSERT_TRUE(t.ScrollVertical(2, c));
    KvExpectPixels(t, {{0, 0, c}, {3, 1, c}, {0, 2, 0xFF000000u}, {0, 3, 0xFF000001u}});
    ASSERT_TRUE(t.ScrollVertical(-1, 0x1));
    KvExpectPixels(t, {{0, 1, 0xFF000000u}, {0, 3, 0x1u}});
    ASSERT_TRUE(t.ScrollVertical(-5, 0x22));
    KvExpectPixels(t, {{2, 0, 0x22u}, {2, 1, 0x22u}, {2, 2, 0x22u}, {2, 3, 0x22u}});
}

TEST_F(GxTextureTest, BlendImageFromFileMixesByAlpha)
{
    PfImage src;
    src.Allocate(2, 1);
    src.SetPixel(0, 0, 0xFFF0A050u); // opaque: replaces the colour
    src.SetPixel(1, 0, 0x00FFFFFFu); // transparent: keeps the destination
    ASSERT_TRUE(WritePng(Path("blend.png"), src));
    GxTexture t;
    ASSERT_TRUE(t.CreateTexture(L"blend", 4, 4, D3DFMT_A8R8G8B8, 1));
    ASSERT_TRUE(t.Fill(0xFF808080u));
    ASSERT_TRUE(t.BlendImageFromFile(Wide(Path("blend.png")), 2, 0, 0));
    KvExpectPixels(t, {{2, 0, 0xFFF0A050u}, {3, 0, 0xFF808080u}, {1, 0, 0xFF808080u}});
    // On 16 bits the top four bits of each channel are kept.
    GxTexture t16;
    ASSERT_TRUE(t16.CreateTexture(L"b16", 2, 2, D3DFMT_A4R4G4B4, 1));
    ASSERT_TRUE(t16.Fill(0xFF303030u));
    ASSERT_TRUE(t16.BlendImageFromFile(Wide(Path("blend.png")), 0, 0, 0));
    KvExpectPixels(t16, {{0, 0, 0xFFFFAA55u}, {1, 0, 0xFF333333u}});
    // Placed partly outside: clipped, not written outside.
    EXPECT_TRUE(t.BlendImageFromFile(Wide(Path("blend.png")), -1, 3, 0));
    EXPECT_EQ(t.GetPixel(0, 3), 0xFF808080u);
    // A format that is not blended is a failure, and so is a missing file.
    GxTexture other;
    ASSERT_TRUE(other.CreateTexture(L"x8", 4, 4, D3DFMT_X8R8G8B8, 1));
    EXPECT_FALSE(other.BlendImageFromFile(Wide(Path("blend.png")), 0, 0, 0));
    EXPECT_FALSE(t.BlendImageFromFile(Wide(Path("missing.png")), 0, 0, 0));
    // On an empty texture the file is loaded instead.
    GxTexture empty;
    ASSERT_TRUE(empty.BlendImageFromFile(Wide(Path("blend.png")), 0, 0, 0));
    KvExpectEq<uint32_t>({{empty.GetWidth(), 2}, {empty.GetMipLevels(), 1}});
}

TEST_F(GxTextureTest, CopyFromConvertsAndClipsOnAllSides)
{
    GxTexture src32, dst32, dst16;
    ASSERT_TRUE(src32.CreateTexture(L"src", 128, 128, D3DFMT_A8R8G8B8, 1));
    ASSERT_TRUE(dst32.CreateTexture(L"dst", 256, 256, D3DFMT_A8R8G8B8, 1));
    ASSERT_TRUE(dst16.CreateTexture(L"dst16", 256, 256, D3DFMT_A4R4G4B4, 1));
    ASSERT_TRUE(src32.Fill(0xFF123456u));
    ASSERT_TRUE(dst32.Fill(0));
    // A 100 x 100 rectangle to (200, 0) of a 256-wide texture copies only 56 columns.
    const PfRect r = {0, 0, 100, 100};
    ASSERT_TRUE(dst32.CopyFrom(&src32, &r, 200, 0));
    KvExpectPixels(dst32, {{255, 99, 0xFF123456u}, {199, 0, 0u}, {200, 100, 0u}});
    // Negative positions clip the rectangle instead of writing before the picture.
    ASSERT_TRUE(dst32.Fill(0));
    ASSERT_TRUE(dst32.CopyFrom(&src32, &r, -90, -95));
    KvExpectPixels(dst32, {{9, 4, 0xFF123456u}, {10, 0, 0u}, {0, 5, 0u}});
    // Entirely outside: nothing copied, and said so.
    EXPECT_FALSE(dst32.CopyFrom(&src32, &r, 300, 0));
    EXPECT_FALSE(dst32.CopyFrom(&src32, &r, -100, 0));
    // 32 to 16 keeps the top nibbles; 16 back to 32 repeats them.
    ASSERT_TRUE(dst16.CopyFrom(&src32, nullptr, 0, 0));
    EXPECT_EQ(dst16.GetPixel(5, 5), 0xFF113355u);
    GxTexture back;
    ASSERT_TRUE(back.CreateTexture(L"back", 128, 128, D3DFMT_A8R8G8B8, 1));
    ASSERT_TRUE(back.CopyFrom(&dst16, nullptr, 0, 0));
    EXPECT_EQ(back.GetPixel(127, 127), 0xFF113355u);
}

TEST_F(GxTextureTest, StretchFromConvertsBetweenThirtyTwoAndSixteenBitFormats)
{
    GxTexture a8, x8, a4, r565;
    ASSERT_TRUE(a8.CreateTexture(L"a8", 4, 4, D3DFMT_A8R8G8B8, 1));
    ASSERT_TRUE(x8.CreateTexture(L"x8", 8, 8, D3DFMT_X8R8G8B8, 1));
    ASSERT_TRUE(a4.CreateTexture(L"a4", 8, 8, D3DFMT_A4R4G4B4, 1));
    ASSERT_TRUE(r565.CreateTexture(L"r565", 8, 8, D3DFMT_R5G6B5, 1));
    // Left half one colour, right half another, half transparent.
    const PfRect left = {0, 0, 2, 4}, right = {2, 0, 4, 4};
    ASSERT_TRUE(a8.FillRect(&left, 0xFF123456u));
    ASSERT_TRUE(a8.FillRect(&right, 0x80ABCDEFu));
    const PfRect all8 = {0, 0, 8, 8}, all4 = {0, 0, 4, 4};
    // A8R8G8B8 doubled into A4R4G4B4: top nibbles kept, each source texel over 2 x 2.
    ASSERT_TRUE(a4.StretchFrom(all8, &a8, all4, D3DTEXF_POINT));
    KvExpectPixels(a4, {{0, 0, 0xFF113355u}, {3, 7, 0xFF113355u}, {4, 0, 0x88AACCEEu}, {7, 7, 0x88AACCEEu}});
    // A4R4G4B4 back into X8R8G8B8 at half size: widened nibbles; then X8 into A8 is opaque.
    ASSERT_TRUE(x8.Fill(0));
    const PfRect quarter = {0, 0, 4, 4};
    ASSERT_TRUE(x8.StretchFrom(quarter, &a4, all8, D3DTEXF_POINT));
    EXPECT_EQ(x8.GetPixel(0, 0) & 0xFFFFFF, 0x113355u);
    EXPECT_EQ(x8.GetPixel(3, 3) & 0xFFFFFF, 0xAACCEEu);
    ASSERT_TRUE(a8.StretchFrom(all4, &x8, quarter, D3DTEXF_LINEAR));
    KvExpectPixels(a8, {{0, 0, 0xFF113355u}, {3, 3, 0xFFAACCEEu}});
    // Formats outside that family are still refused.
    EXPECT_FALSE(r565.StretchFrom(all8, &a8, all4, D3DTEXF_POINT));
    EXPECT_FALSE(a8.StretchFrom(all4, &r565, all4, D3DTEXF_POINT));
}

TEST_F(GxTextureTest, SaveToFileAndReloadRoundTrip)
{
    GxTexture t;
    ASSERT_TRUE(t.CreateTexture(L"save", 16, 8, D3DFMT_A8R8G8B8, 1));
    ASSERT_TRUE(t.Fill(0x80402010u));
    SetTexel(t, 3, 2, 0xFFABCDEFu);
    ASSERT_TRUE(t.SaveToFile(Wide(Path("saved.bmp"))));
    // Always PNG whatever the extension.
    EXPECT_EQ(ReadFile(Path("saved.bmp"))[1], 'P');
    GxTexture r;
    ASSERT_TRUE(r.CreateFromFile(Wide(Path("saved.bmp")), D3DFMT_A8R8G8B8, 1, 0, false));
    KvExpectPixels(r, {{3, 2, 0xFFABCDEFu}, {0, 0, 0x80402010u}});
    SetTexel(r, 0, 0, 0);
    ASSERT_TRUE(r.ReloadFromFile());
    EXPECT_EQ(r.GetPixel(0, 0), 0x80402010u);
    EXPECT_EQ(r.GetRefCount(), 1u);
}

TEST_F(GxTextureTest, RenderTargetReadsBackWhatWasDrawn)
{
    GxTexture rt;
    ASSERT_TRUE(rt.CreateRenderTarget(L"RT", 64, 32, D3DFMT_UNKNOWN));
    EXPECT_EQ(rt.GetFormat(), GxGraphics::GetRenderTargetFormat());
    ASSERT_TRUE(GxGraphics::PushRenderTarget(0, &rt, nullptr));
    ASSERT_TRUE(GxGraphics::BeginScene());
    ASSERT_TRUE(GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF00FF00u, 1.0f, 0));
    GxGraphics::EndScene();
    GxGraphics::PopRenderTarget(0);
    EXPECT_EQ(rt.GetPixel(63, 31) & 0x00FFFFFFu, 0x0000FF00u);
    // Lost and reset: re-created blank.
    rt.OnLostDevice();
    EXPECT_EQ(rt.GetD3DResource(), nullptr);
    EXPECT_FALSE(rt.Fill(0));
    rt.OnResetDevice();
    ASSERT_NE(rt.GetD3DResource(), nullptr);
    EXPECT_EQ(rt.GetPixel(0, 0) & 0x00FFFFFFu, 0u);
}

TEST_F(GxTextureTest, CreatingAgainKeepsOneRegistrationAndOneReference)
{
    GxTexture t;
    ASSERT_TRUE(t.CreateTexture(L"first", 4, 4, D3DFMT_A8R8G8B8, 1));
    t.AddRef();
    const size_t before = GxD3DResourceManage::GetInstance().GetCount();
    ASSERT_TRUE(t.CreateTexture(L"second", 8, 8, D3DFMT_A8R8G8B8, 1));
    EXPECT_EQ(t.GetRefCount(), 1u);
    EXPECT_EQ(GxD3DResourceManage::GetInstance().GetCount(), before);
    EXPECT_EQ(t.GetName(), L"second");
    GxTexture missing;
    EXPECT_FALSE(missing.CreateFromFile(Wide(Path("none.png")), D3DFMT_UNKNOWN, 1, 0, true));
    EXPECT_EQ(missing.GetRefCount(), 0u);
    EXPECT_FALSE(GxD3DResourceManage::GetInstance().IsRegistered(&missing));
}

TEST_F(GxTextureTest, ResourcePicturesLoadFromMemory)
{
    std::vector<uint8_t> bmp = EncodeBmp(Pattern(300, 200));
    GxTexture t;
    ASSERT_TRUE(t.CreateFromResource(L"Res/Title", bmp.data(), (uint32_t)bmp.size(), D3DFMT_A8R8G8B8, 1, 0, false));
    // The texture made its own copy of the bytes for its first use: the caller's memory may go.
    std::fill(bmp.begin() + 64, bmp.end(), 0x5A);
    EXPECT_EQ(Sizes(t), (std::vector<uint32_t>{512, 256, 300, 200, 1}));
    EXPECT_EQ(t.GetName(), L"res/title");
    EXPECT_EQ(t.GetPixel(10, 10), Pattern(300, 200).GetPixel(10, 10));
    EXPECT_FALSE(t.CreateFromResource(L"none", nullptr, 0, D3DFMT_A8R8G8B8, 1, 0, false));
    EXPECT_TRUE(Logged(L"Error/Texture CreateFromResource Failed(Resource pointer is null)"));
    EXPECT_EQ(t.GetRefCount(), 0u);
}

TEST(GxTextureNoDevice, OperationsReturnFalseWithoutADevice)
{
    GxTexture t;
    EXPECT_FALSE(t.CreateTexture(L"x", 4, 4, D3DFMT_A8R8G8B8, 1));
    EXPECT_FALSE(t.Fill(0));
    EXPECT_EQ(t.GetPixel(0, 0), 0u);
    EXPECT_EQ(t.GetRefCount(), 0u);
}
