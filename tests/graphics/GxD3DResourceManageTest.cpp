// The device resource base and the registry: counts, names, walks and the leak report.
#include "GraphicsTestSupport.h"

#include "graphics/GxD3DResourceBase.h"
#include "graphics/GxD3DResourceManage.h"
#include "graphics/GxTextureFactory.h"

using GxD3DResourceManageTest = KvGraphicsFixture;

namespace
{

class CountingResource : public GxD3DResourceBase
{
public:
    uint32_t Release() override
    {
        ++m_Releases;
        return GxD3DResourceBase::Release();
    }
    void SetType(uint32_t type) { m_ObjectType = type; }
    int m_Releases = 0;
};

} // namespace

TEST(GxD3DResourceBase, CountsStopAtZeroReleaseAllCallsTheOverrideAndNamesLowerAscii)
{
    GxD3DResourceBase r;
    KvExpectEq<uint32_t>({{r.DecRef(), 0}, {r.Release(), 0}, {r.GetRefCount(), 0}});
    r.AddRef();
    r.AddRef();
    EXPECT_EQ(r.DecRef(), 1u);
    r.ResetRefCount();
    EXPECT_EQ(r.GetRefCount(), 0u);
    // Once per reference.
    CountingResource counting;
    for (int i = 0; i < 3; ++i)
        counting.AddRef();
    counting.ReleaseAll();
    EXPECT_EQ(counting.m_Releases, 3);
    EXPECT_EQ(counting.GetRefCount(), 0u);
    r.SetName(L"CG/Back_ÄÖ_Ｂ.PNG");
    EXPECT_EQ(r.GetName(), L"cg/back_ÄÖ_Ｂ.png");
}

TEST(GxD3DResourceManage, RegistersOnceAndUnregistersOnce)
{
    GxD3DResourceManage manage;
    CountingResource r[3];
    manage.Register(&r[2]);
    manage.Register(&r[0]);
    manage.Register(&r[1]);
    manage.Register(&r[0]);
    EXPECT_EQ(manage.GetCount(), 3u);
    EXPECT_TRUE(manage.Unregister(&r[1]));
    EXPECT_FALSE(manage.Unregister(&r[1]));
    EXPECT_EQ(manage.GetCount(), 2u);
}

TEST_F(GxD3DResourceManageTest, LeakReportNamesEachResourceAndClosesTheRegistry)
{
    GxD3DResourceManage manage;
    CountingResource target;
    target.SetType(OBJTYPE_RENDERTARGET);
    target.SetName(L"Capture");
    manage.Register(&target);
    manage.ReportLeaks();
    EXPECT_TRUE(Logged(L"Warning/未解放のまま終了したリソースがあります 0x"));
    EXPECT_TRUE(Logged(L" [OBJTYPE_RENDERTARGET:capture]\r\n"));
    EXPECT_TRUE(manage.IsClosed());
    EXPECT_EQ(manage.GetCount(), 0u);
    EXPECT_FALSE(manage.Unregister(&target));
}

TEST_F(GxD3DResourceManageTest, ShutDownReportsResourcesStillRegistered)
{
    CountingResource forgotten;
    forgotten.SetType(OBJTYPE_TEXTURE);
    forgotten.SetName(L"Forgotten");
    GxD3DResourceManage::GetInstance().Register(&forgotten);
    GxGraphics::Finalize();
    EXPECT_TRUE(Logged(L"[OBJTYPE_TEXTURE:forgotten]"));
    EXPECT_FALSE(Logged(L"OBJTYPE_SWAPCHAIN"));
    EXPECT_FALSE(GxD3DResourceManage::GetInstance().Unregister(&forgotten));
    ASSERT_TRUE(GxGraphics::Initialize(m_Window.GetSDLWindow(), nullptr, nullptr, nullptr));
    EXPECT_FALSE(GxD3DResourceManage::GetInstance().IsClosed());
}

TEST_F(GxD3DResourceManageTest, ShutDownWarnsOfFactoryHoldingsAndReleasesThemBeforeTheReport)
{
    ASSERT_NE(GxTextureFactory::GetInstance().Get(L"Held", GxTextureFactory::kTexture, 16, 16, 1, 0, 0, 0), nullptr);
    GxGraphics::Finalize();
    EXPECT_TRUE(Logged(L"Warning/GxTextureFactory is not Released(count=1)\r\n"));
    // The factory let go of it before the leak report ran: it is not reported as a leak.
    EXPECT_FALSE(Logged(L"[OBJTYPE_TEXTURE:held]"));
    EXPECT_EQ(GxTextureFactory::GetInstance().GetCount(), 0u);
    ASSERT_TRUE(GxGraphics::Initialize(m_Window.GetSDLWindow(), nullptr, nullptr, nullptr));
}
