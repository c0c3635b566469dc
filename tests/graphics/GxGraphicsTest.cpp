// Device start-up and shut-down: the first clear, the device-log survey, the result and format names.
#include "GraphicsTestSupport.h"

#include <thread>
#include <vector>

using GxGraphicsStartupTest = KvGraphicsFixture;

TEST_F(GxGraphicsStartupTest, StartUpClearToOpaqueRedReachesTheBackBuffer)
{
    ASSERT_TRUE(GxGraphics::Clear(D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0));
    KvExpectEq<uint32_t>({{Pixel(0, 0), 0xFFFF0000u},
                          {Pixel(1023, 767), 0xFFFF0000u},
                          {Device()->GetRenderTarget(0)->GetWidth(), 1024},
                          {Device()->GetRenderTarget(0)->GetHeight(), 768}});
    EXPECT_TRUE(GxGraphics::Present(nullptr, nullptr, nullptr));
}

TEST_F(GxGraphicsStartupTest, DeviceLogHoldsTheSurvey)
{
    const std::wstring log = ReadLog("device.log");
    for (const wchar_t* line :
         {L"Direct3D9の初期化を開始します\r\n",
          L"\t・ビデオカード数:1\r\n",
          L"\t・ビデオカード名:",
          L"\t・ドライバ名:",
          L"フルスクリーンモードで利用可能な画面モード一覧\r\n",
          L"使用するリソースのフォーマットを検索します\r\n",
          L"\t・TextureFormat:D3DFMT_A8R8G8B8\r\n",
          L"\t・RenderTargetFormat:D3DFMT_A8R8G8B8\r\n",
          L"\t・DepthStencilFormat:D3DFMT_D24S8\r\n",
          L"ビデオデバイスの能力情報\r\n",
          L"\t・DevCaps:0x",
          L"ビデオデバイスの能力情報(概要)\r\n",
          L"\t・D3DDEVCAPS_HWTRANSFORMANDLIGHT:1\r\n",
          L"\t・MaxTextureWidth:",
          L"\t・MaxRenderTarget:",
          L"\t・VertexShaderVersion:3.0\r\n",
          L"有効なテクスチャオペレーション\r\n",
          L"\t・TEXOP_MODULATE:1\r\n",
          L"\t・TEXOP_MODULATE2X:1\r\n",
          L"有効なアンチエイリアス処理(深度バッファあり)\r\n",
          L"\t・SAMPLES\tFUL\tWIN\r\n",
          L"\t・NONE   \t1\t1\r\n",
          L"要求された画面モード\r\n",
          L"\t・画面モード:SCRMODE_WINDOW\r\n",
          L"起動前画面モード\r\n",
          L"起動画面モード\r\n",
          L"\t・BackBufferWidth:1024\r\n",
          L"\t・ウインドウモードで起動が可能です\r\n",
          L"\t・Direct3Dを D3DDEVTYPE_HAL - D3DCREATE_MIXED_VERTEXPROCESSING で初期化しました\r\n",
          L"\t・VRAM残量:"})
        EXPECT_NE(log.find(line), std::wstring::npos) << GxString::ToUtf8(line);
    // The card name is what the implementation calls itself.
    const size_t at = log.find(L"\t・ビデオカード名:");
    ASSERT_NE(at, std::wstring::npos);
    EXPECT_NE(log.substr(at, 40).find(L"llvmpipe"), std::wstring::npos);
}

TEST_F(GxGraphicsStartupTest, CapabilitiesReachTheirReaders)
{
    const GxDeviceCaps& caps = GxGraphics::GetDeviceCaps();
    EXPECT_GE(caps.MaxTextureWidth, 4096u);
    EXPECT_GE(caps.NumSimultaneousRTs, 1u);
    EXPECT_EQ(GxGraphics::GetRenderTargetStackCount(), caps.NumSimultaneousRTs);
    EXPECT_EQ(caps.DynamicTextures, 1);
    EXPECT_FALSE(GxGraphics::NeedsSoftwareVertexShader(0, 0));
    EXPECT_FALSE(GxGraphics::NeedsSoftwareVertexShader(3, 0));
    EXPECT_TRUE(GxGraphics::NeedsSoftwareVertexShader(3, 1));
}

TEST_F(GxGraphicsStartupTest, FinalizeLeavesNoDeviceAndOperationsFailAndStartWithoutWindowFails)
{
    GxGraphics::Finalize();
    EXPECT_EQ(GxGraphics::GetDevice(), nullptr);
    EXPECT_FALSE(GxGraphics::Clear(D3DCLEAR_TARGET, 0, 1.0f, 0));
    EXPECT_FALSE(GxGraphics::BeginScene());
    EXPECT_FALSE(GxGraphics::Present(nullptr, nullptr, nullptr));
    EXPECT_FALSE(GxGraphics::ChangeScreenMode(SCRMODE_FULLSCREEN));
    EXPECT_FALSE(GxGraphics::Initialize(nullptr, nullptr, nullptr, nullptr));
    EXPECT_TRUE(Logged(L"Direct3DCreate9 Failed m_hWnd is NULL\r\n"));
    // Start again for the fixture's own shut-down.
    ASSERT_TRUE(GxGraphics::Initialize(m_Window.GetSDLWindow(), nullptr, nullptr, nullptr));
}

TEST(GxGraphicsText, ErrorTextsAndFormatNamesByValue)
{
    KvExpectEq<std::wstring>({{GxGraphics::GetErrorText(D3D_OK), L"エラーは発生していません"},
                              {GxGraphics::GetErrorText(D3DERR_DEVICELOST),
                               L"デバイスは消失していますが現在リセットできません。レンダリングは不可能です。"},
                              {GxGraphics::GetErrorText(D3DXERR_CANNOTREMOVELASTITEM), L"最後の項目が削除できません。"},
                              {GxGraphics::GetErrorText((PfResult)0x8899ABCDu), L"未知のエラーです。(code:0x8899abcd)"},
                              {GxGraphics::GetFormatName(D3DFMT_DXT5), L"D3DFMT_DXT5"},
                              {GxGraphics::GetFormatName(D3DFMT_G8R8_G8B8), L"D3DFMT_G8R8_G8B8"},
                              {GxGraphics::GetFormatName((D3DFORMAT)9999), L"ERROR"}});
}

TEST(GxGraphicsText, NamesStayIntactWhileOtherThreadsAsk)
{
    // Each caller holds its own copy: a name asked for on another thread cannot overwrite it.
    const std::wstring first = GxGraphics::GetFormatName(D3DFMT_D24S8);
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i)
        threads.emplace_back(
            []
            {
                for (int n = 0; n < 1000; ++n)
                {
                    EXPECT_EQ(GxGraphics::GetFormatName(D3DFMT_X8R8G8B8), L"D3DFMT_X8R8G8B8");
                    EXPECT_EQ(GxGraphics::GetErrorText(E_FAIL),
                              L"Direct3D サブシステム内で原因不明のエラーが発生しました。");
                }
            });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(first, L"D3DFMT_D24S8");
}
