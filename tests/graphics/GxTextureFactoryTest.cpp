// The named factories: case-blind lookup, reference counts, release, unknown objects and the shut-down
// warnings.
#include "GraphicsTestSupport.h"
#include "ImageTestSupport.h"

#include "graphics/GxResourceFactory.h"
#include "graphics/GxShaderEffect.h"
#include "graphics/GxShaderFactory.h"
#include "graphics/GxTexture.h"
#include "graphics/GxTextureFactory.h"
#include "graphics/GxTextureFlex.h"
#include "graphics/GxTextureFlexFactory.h"
#include "graphics/GxTextureMovie.h"
#include "graphics/GxTextureText.h"
#include "graphics/GxTextureTextEx.h"

#include <thread>

using namespace kvimg;

namespace
{

class GxTextureFactoryTest : public KvGraphicsFixture
{
protected:
    void TearDown() override
    {
        GxTextureFactory::GetInstance().Clear();
        GxTextureFlexFactory::GetInstance().Clear();
        GxShaderFactory::GetInstance().Clear();
        KvGraphicsFixture::TearDown();
    }
};

} // namespace

TEST_F(GxTextureFactoryTest, NamesDifferingInCaseShareOneObject)
{
    GxTextureFactory& f = GxTextureFactory::GetInstance();
    GxTextureBase* a = f.Get(L"Work/Plain", GxTextureFactory::kTexture, 64, 32, 1, D3DFMT_A8R8G8B8, 0, 0);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetRefCount(), 1u);
    EXPECT_EQ(f.GetA("WORK/plain", GxTextureFactory::kFile, 0, 0, 0, 0, 0, 0), a);
    EXPECT_EQ(f.Find(L"work/PLAIN"), a); // finding adds no reference
    KvExpectEq<uint32_t>({{a->GetRefCount(), 2}, {f.GetCount(), 1}});
    f.Release(a);
    EXPECT_EQ(f.GetCount(), 1u);
    f.Release(a);
    EXPECT_EQ(f.GetCount(), 0u);
    f.Release(a);
    EXPECT_TRUE(Logged(L"Warning/GxTextureFactory You tried to release the texture does not exist(0x"));
    f.ReleaseByName(L"nothing");
    EXPECT_TRUE(Logged(L"Warning/GxTextureFactory You tried to release the texture does not "
                       L"exist(nothing)"));
}

TEST_F(GxTextureFactoryTest, TypesSelectTheObjectAndUnknownTypesGiveNull)
{
    GxTextureFactory& f = GxTextureFactory::GetInstance();
    ASSERT_TRUE(WritePng(m_Dir + "/pic.png", Pattern(300, 200)));
    GxTexture* file = dynamic_cast<GxTexture*>(
        f.Get(GxString::FromUtf8(m_Dir + "/pic.png"), GxTextureFactory::kFile, 0, 0, 1, 0, 0, 1));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->GetWidth(), 512u);
    EXPECT_EQ(file->GetColourKey(), 0u);
    GxTexture* rt = dynamic_cast<GxTexture*>(f.Get(L"rt", GxTextureFactory::kRenderTarget, 256, 256, 0, 0, 0, 0));
    ASSERT_NE(rt, nullptr);
    EXPECT_EQ(rt->GetObjectType(), (uint32_t)OBJTYPE_RENDERTARGET);
    GxTextureMovie* movie = dynamic_cast<GxTextureMovie*>(f.Get(L"mv", GxTextureFactory::kMovie, 640, 480, 0, 0, 0, 0));
    ASSERT_NE(movie, nullptr);
    EXPECT_EQ(movie->GetWidth(), 1024u);
    EXPECT_NE(dynamic_cast<GxTextureText*>(f.Get(L"Text/Page", GxTextureFactory::kText, 128, 64, 1, 0, 0, 0)), nullptr);
    GxTextureTextEx* message =
        dynamic_cast<GxTextureTextEx*>(f.Get(L"Text/Message", GxTextureFactory::kTextEx, 256, 128, 1, 0, 0, 0));
    ASSERT_NE(message, nullptr);
    int32_t l, t, r, b;
    message->GetLayoutRect(l, t, r, b);
    KvExpectEq<int32_t>({{r, 256}, {b, 128}});
    const uint32_t count = f.GetCount();
    for (uint32_t type : {0u, 4u, 8u})
        EXPECT_EQ(f.Get(L"other", type, 4, 4, 1, 0, 0, 0), nullptr);
    EXPECT_EQ(f.GetCount(), count);
    // A failed load adds nothing, and a later Get tries again.
    EXPECT_EQ(f.Get(GxString::FromUtf8(m_Dir + "/late.png"), GxTextureFactory::kFile, 0, 0, 1, 0, 0, 1), nullptr);
    EXPECT_EQ(f.GetCount(), count);
    ASSERT_TRUE(WritePng(m_Dir + "/late.png", Pattern(4, 4)));
    EXPECT_NE(f.Get(GxString::FromUtf8(m_Dir + "/late.png"), GxTextureFactory::kFile, 0, 0, 1, 0, 0, 1), nullptr);
    EXPECT_EQ(f.GetCount(), count + 1);
}

TEST_F(GxTextureFactoryTest, ClearDeletesHeldObjectsAndShutDownWarns)
{
    GxTextureFactory::GetInstance().Get(L"a", GxTextureFactory::kTexture, 4, 4, 1, 0, 0, 0);
    GxTextureFactory::GetInstance().Get(L"a", GxTextureFactory::kTexture, 4, 4, 1, 0, 0, 0);
    GxTextureFlex* flex = GxTextureFlexFactory::GetInstance().Get(L"Flex", GxTextureFlexFactory::kTexture, 300, 10, 0);
    ASSERT_NE(flex, nullptr);
    EXPECT_EQ(GxTextureFlexFactory::GetInstance().Get(L"flex", 3, 0, 0, 0), flex);
    EXPECT_EQ(GxTextureFlexFactory::GetInstance().Get(L"other", 3, 0, 0, 0), nullptr);
    std::ofstream(m_Dir + "/s.fx") << "float4x4 World; technique T { pass P {} }";
    GxShaderEffect* fx = GxShaderFactory::GetInstance().Get(GxString::FromUtf8(m_Dir + "/s.fx"), false);
    ASSERT_NE(fx, nullptr);
    EXPECT_EQ(GxShaderFactory::GetInstance().GetA((m_Dir + "/S.fx").c_str(), false), fx);
    GxShaderFactory::GetInstance().ReleaseByName(GxString::FromUtf8(m_Dir + "/s.FX"));
    EXPECT_EQ(fx->GetRefCount(), 1u);
    GxResourceFactory::FinalizeAll();
    for (const wchar_t* factory : {L"GxTextureFactory", L"GxTextureFlexFactory", L"GxShaderFactory"})
        EXPECT_TRUE(Logged(L"Warning/" + std::wstring(factory) + L" is not Released(count=1)")) << factory;
    const std::wstring log = ReadLog("error.log");
    EXPECT_LT(log.find(L"GxTextureFactory is not"), log.find(L"GxShaderFactory is not"));
    KvExpectEq<uint32_t>(
        {{GxTextureFactory::GetInstance().GetCount(), 0}, {GxShaderFactory::GetInstance().GetCount(), 0}});
    GxShaderFactory::GetInstance().Release(fx);
    EXPECT_TRUE(Logged(L"Warning/GxShaderFactory You tried to release the shader does not exist"));
}

TEST_F(GxTextureFactoryTest, TwoThreadsAskingForOneNameGetOneObject)
{
    GxShaderFactory& f = GxShaderFactory::GetInstance();
    std::ofstream(m_Dir + "/t.fx") << "float Time;";
    const std::wstring name = GxString::FromUtf8(m_Dir + "/t.fx");
    GxShaderEffect* second = nullptr;
    std::thread other([&] { second = f.Get(name, false); });
    GxShaderEffect* first = f.Get(name, false);
    other.join();
    EXPECT_EQ(first, second);
    KvExpectEq<uint32_t>({{first->GetRefCount(), 2}, {f.GetCount(), 1}});
}
