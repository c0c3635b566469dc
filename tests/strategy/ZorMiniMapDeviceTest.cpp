#include "ZorTestSupport.h"

#include "appdata/GxUserConfig.h"
#include "core/GxCore.h"
#include "graphics/GxDisplaySettings.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxTexture.h"
#include "graphics/GxTextureFactory.h"
#include "platform/PfWindow.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "strategy/screens/ZorTaskUIMiniMap.h"

namespace
{

// The test dungeon with a real device (llvmpipe under the offscreen driver).
class ZorMiniMapDevice : public zortest::ZorTest
{
protected:
    void SetUp() override
    {
        ZorTest::SetUp();
        GxDisplaySettings& ds = GxDisplaySettings::Get() = GxDisplaySettings();
        ds.m_WindowWidth = ds.m_BackBufferWidth = 1024;
        ds.m_WindowHeight = ds.m_BackBufferHeight = 768;
        ds.m_LockableBackBuffer = false;
        ds.m_VSyncInterval = 0;
        m_Core.m_Title = L"ZorMiniMapDevice";
        ASSERT_TRUE(m_Core.CreateMainWindow());
        ASSERT_TRUE(GxGraphics::Initialize(m_Core.m_MainWindow->GetSDLWindow(), nullptr, nullptr, nullptr));
    }
    void TearDown() override
    {
        delete m_Map;
        GxTextureFactory::GetInstance().Clear();
        GxGraphics::Finalize();
        if (m_Core.m_MainWindow)
        {
            m_Core.m_MainWindow->Destroy();
            delete m_Core.m_MainWindow;
            m_Core.m_MainWindow = nullptr;
        }
        ZorTest::TearDown();
    }

    GxCore m_Core;
    ZorTaskUIMiniMap* m_Map = nullptr;
};

} // namespace

TEST_F(ZorMiniMapDevice, UploadedTexelsReadBackAsTheBlockColours)
{
    m_Map = new ZorTaskUIMiniMap(nullptr, nullptr, nullptr);
    m_Map->DrawMapTexture(&State());
    GxTexture* texture = m_Map->GetTexture();
    ASSERT_NE(texture, nullptr);
    int checked7 = 0, checked8 = 0;
    for (uint32_t bz = 0; bz < 40; ++bz)
    {
        for (uint32_t bx = 0; bx < 40; ++bx)
        {
            const int32_t st = State().GetBlockState(static_cast<int32_t>(bx), static_cast<int32_t>(bz));
            if (st != 7 && st != 8)
                continue;
            EXPECT_EQ(texture->GetPixel(bx, bz), st == 7 ? 0xFFB04020u : 0xFF50AFAFu) << bx << "," << bz;
            (st == 7 ? checked7 : checked8) += 1;
        }
    }
    EXPECT_GT(checked7, 0);
    EXPECT_GT(checked8, 0);
    EXPECT_EQ(texture->GetPixel(100, 100) >> 24, 0u); // outside the 40 x 40 corner: transparent
}
