// Device start-up and shut-down: the survey of the implementation and the displays written to the device
// log, the choice of formats and modes, device creation and the first states.
//
// [SECTION] state and accessors
// [SECTION] survey
// [SECTION] start-up and shut-down
#include "graphics/GxGraphics.h"

#include "core/GxLog.h"
#include "core/GxMessageBox.h"
#include "core/GxString.h"
#include "graphics/GxD3DResourceManage.h"
#include "graphics/GxGraphicsState.h"
#include "graphics/GxResourceFactory.h"
#include "graphics/GxSwapChain.h"
#include "platform/PfGLDevice.h"
#include "platform/PfGLTexture.h"

#include <algorithm>
#include <cstring>

// [SECTION] state and accessors

GxGraphicsState& GxGraphicsGetState()
{
    static GxGraphicsState s_State;
    return s_State;
}

namespace
{

GxSwapChain& DefaultSwapChain()
{
    static GxSwapChain s_DefaultSwapChain;
    return s_DefaultSwapChain;
}

// Every texture-stage operation the device's shader carries out.
const uint32_t s_SupportedOps[] = {
    D3DTOP_DISABLE,
    D3DTOP_SELECTARG1,
    D3DTOP_SELECTARG2,
    D3DTOP_MODULATE,
    D3DTOP_MODULATE2X,
    D3DTOP_MODULATE4X,
    D3DTOP_ADD,
    D3DTOP_ADDSIGNED,
    D3DTOP_ADDSIGNED2X,
    D3DTOP_SUBTRACT,
    D3DTOP_ADDSMOOTH,
    D3DTOP_BLENDDIFFUSEALPHA,
    D3DTOP_BLENDTEXTUREALPHA,
    D3DTOP_BLENDFACTORALPHA,
    D3DTOP_BLENDTEXTUREALPHAPM,
    D3DTOP_BLENDCURRENTALPHA,
    D3DTOP_MODULATEALPHA_ADDCOLOR,
    D3DTOP_MODULATECOLOR_ADDALPHA,
    D3DTOP_MODULATEINVALPHA_ADDCOLOR,
    D3DTOP_MODULATEINVCOLOR_ADDALPHA,
    D3DTOP_DOTPRODUCT3,
};

void SetFallbackCaps(GxDeviceCaps& c)
{
    c = GxDeviceCaps{};
    c.MaxTextureWidth = 4096;
    c.MaxTextureHeight = 4096;
    c.MaxTextureRepeat = 8192;
    c.MaxTextureAspectRatio = 8192;
    c.MaxVertexW = 1.0e10f;
    c.GuardBandLeft = -1.0e8f;
    c.GuardBandTop = -1.0e8f;
    c.GuardBandRight = 1.0e8f;
    c.GuardBandBottom = 1.0e8f;
    c.MaxPointSize = 8192.0f;
    c.MaxTextureBlendStages = 8;
    c.MaxSimultaneousTextures = 8;
    c.MaxActiveLights = 8;
    c.Pow2 = 1;
    c.MaxVertexIndex = 0xFFFFFF;
    c.MaxStreams = 16;
    c.MaxStreamStride = 255;
    c.NumSimultaneousRTs = 1;
    c.VertexShaderVersion = 1;
    c.PixelShaderVersion = 1;
    c.MaxVertexShaderConst = 256;
}

void FillCaps(GxDeviceCaps& c, const PfGLAdapterInfo& a)
{
    c = GxDeviceCaps{};
    c.Caps2 = D3DCAPS2_DYNAMICTEXTURES | D3DCAPS2_CANAUTOGENMIPMAP;
    c.DevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_HWRASTERIZATION;
    c.RasterCaps = D3DPRASTERCAPS_DITHER | D3DPRASTERCAPS_DEPTHBIAS | 0x01000000 /* scissor test */;
    c.ZCmpCaps = 0xFF;
    c.AlphaCmpCaps = 0xFF;
    c.SrcBlendCaps = 0x3FFF;
    c.DestBlendCaps = 0x3FFF;
    c.ShadeCaps = 0x00084208;
    c.TextureCaps = D3DPTEXTURECAPS_PERSPECTIVE | D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_MIPMAP;
    c.TextureFilterCaps = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MAGFPOINT |
                          D3DPTFILTERCAPS_MAGFLINEAR | 0x00030000 /* mip point and linear */;
    if (a.MaxAnisotropy > 1.0f)
        c.TextureFilterCaps |= D3DPTFILTERCAPS_MINFANISOTROPIC | D3DPTFILTERCAPS_MAGFANISOTROPIC;
    c.StretchRectFilterCaps =
        D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MAGFLINEAR;
    for (uint32_t op : s_SupportedOps)
    {
        c.TextureOpCaps |= 1u << (op - 1);
        c.TextureOp[op] = 1;
    }
    c.HWTransformAndLight = 1;
    c.HWRasterization = 1;
    c.Dither = 1;
    c.DepthBias = 1;
    c.CanAutoGenMipmap = 1;
    c.MipMap = 1;
    c.Perspective = 1;
    c.DynamicTextures = 1;
    c.MinFAnisotropic = c.MagFAnisotropic = a.MaxAnisotropy > 1.0f ? 1 : 0;
    c.MaxTextureWidth = (uint32_t)std::max(a.MaxTextureSize, 0);
    c.MaxTextureHeight = (uint32_t)std::max(a.MaxTextureSize, 0);
    c.MaxTextureRepeat = 8192;
    c.MaxTextureAspectRatio = (uint32_t)std::max(a.MaxTextureSize, 0);
    c.MaxAnisotropy = (uint32_t)std::max(a.MaxAnisotropy, 1.0f);
    c.MaxVertexW = 1.0e10f;
    c.GuardBandLeft = -1.0e8f;
    c.GuardBandTop = -1.0e8f;
    c.GuardBandRight = 1.0e8f;
    c.GuardBandBottom = 1.0e8f;
    c.MaxPointSize = a.MaxPointSize;
    c.MaxPrimitiveCount = 0xFFFFFF;
    c.MaxVertexIndex = 0xFFFFFF;
    c.MaxStreams = 16;
    c.MaxStreamStride = 255;
    c.NumSimultaneousRTs = (uint32_t)std::clamp(a.MaxDrawBuffers, 1, (int32_t)PfGLDevice::MAX_RENDER_TARGETS);
    c.MaxTextureBlendStages = PF_STAGE_COUNT;
    c.MaxSimultaneousTextures = PF_STAGE_COUNT;
    c.MaxActiveLights = PfGLDevice::MAX_LIGHTS;
    c.VertexShaderVersion = 0xFFFE0300;
    c.PixelShaderVersion = 0xFFFF0300;
    c.MaxVertexShaderConst = 256;
    c.PixelShader1xMaxValue = 65504.0f;
    c.DynamicFlowControlDepth = 24;
    c.StaticFlowControlDepth = 4;
    c.MaxVShaderInstructionsExecuted = 65535;
    c.MaxPShaderInstructionsExecuted = 65535;
}

bool FormatSupported(D3DFORMAT format, uint32_t usage)
{
    return PfGLTexture::IsFormatSupported(format, usage);
}

// The preferred format when the device takes it for `usage`, else the other one when that is taken, else
// the preferred one all the same.
D3DFORMAT PreferredFormat(D3DFORMAT preferred, D3DFORMAT other, uint32_t usage)
{
    return FormatSupported(preferred, usage) ? preferred : FormatSupported(other, usage) ? other : preferred;
}

void LogMode(const D3DDISPLAYMODE& m)
{
    GxLog::Device(L"\t・%u x %u %uHz (%s)\n", m.Width, m.Height, m.RefreshRate,
                  GxGraphics::GetFormatName(m.Format).c_str());
}

// The display-mode search of one size: every matching mode of the candidate formats is logged, the first
// 128 take part in the choice, which goes by the refresh preferences and else takes the first one.
bool FindFullScreenMode(const PfGLAdapterInfo& a, uint32_t width, uint32_t height, const wchar_t* header,
                        const wchar_t* found, const wchar_t* notFound, D3DDISPLAYMODE& result)
{
    const GxDisplaySettings& ds = GxDisplaySettings::Get();
    static const D3DFORMAT s_Formats16[] = {D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_X8R8G8B8, D3DFMT_A2R10G10B10};
    static const D3DFORMAT s_Formats32[] = {D3DFMT_X8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_A2R10G10B10};
    const D3DFORMAT* formats = ds.m_BackBufferBits == 16 ? s_Formats16 : s_Formats32;
    const uint32_t refresh[] = {ds.m_RefreshRate, 60, 70, 72, 75, 85, 0};
    GxLog::Device(L"%s", header);
    std::vector<D3DDISPLAYMODE> list;
    for (int f = 0; f < 4; ++f)
        for (const D3DDISPLAYMODE& m : a.DisplayModes)
            if (m.Width == width && m.Height == height && m.Format == formats[f])
            {
                LogMode(m);
                if (list.size() < 128)
                    list.push_back(m);
            }
    const D3DDISPLAYMODE* chosen = nullptr;
    for (uint32_t rate : refresh)
    {
        for (const D3DDISPLAYMODE& m : list)
            if (m.RefreshRate == rate)
            {
                chosen = &m;
                break;
            }
        if (chosen)
            break;
    }
    if (!chosen && !list.empty())
        chosen = &list[0];
    if (chosen)
    {
        result = *chosen;
        GxLog::Device(L"%s", found);
        LogMode(result);
        return true;
    }
    GxLog::Device(L"%s", notFound);
    // Full screen covers the desktop and stretches the back buffer over it without a display-mode change,
    // so a mode of the requested size exists even where no display lists one.
    result = {width, height, a.DesktopMode.RefreshRate, a.DesktopMode.Format ? a.DesktopMode.Format : formats[0]};
    return false;
}

} // namespace

bool GxGraphics::IsInitialized()
{
    return GxGraphicsGetState().m_DeviceCreated;
}

PfGLDevice* GxGraphics::GetDevice()
{
    GxGraphicsState& s = GxGraphicsGetState();
    return s.m_DeviceCreated ? s.m_pDevice.get() : nullptr;
}

PfWindowHandle GxGraphics::GetWindow()
{
    return GxGraphicsGetState().m_hWnd;
}

D3DFORMAT GxGraphics::GetTextureFormat()
{
    return GxGraphicsGetState().m_TextureFormat;
}

D3DFORMAT GxGraphics::GetRenderTargetFormat()
{
    return GxGraphicsGetState().m_RenderTargetFormat;
}

D3DFORMAT GxGraphics::GetDepthStencilFormat()
{
    return GxGraphicsGetState().m_DepthStencilFormat;
}

const GxDeviceCaps& GxGraphics::GetDeviceCaps()
{
    return GxGraphicsGetState().m_Caps;
}

bool GxGraphics::IsSoftwareVertexProcessingForced()
{
    return GxGraphicsGetState().m_SoftwareVertexProcessingForced;
}

bool GxGraphics::IsReferenceDevice()
{
    return GxGraphicsGetState().m_ReferenceDevice;
}

bool GxGraphics::IsSquareTextures()
{
    return GxGraphicsGetState().m_SquareTextures;
}

void GxGraphics::SetQuitRequest(QuitRequest request)
{
    GxGraphicsGetState().m_QuitRequest = request;
}

GxSwapChain& GxGraphics::GetDefaultSwapChain()
{
    return DefaultSwapChain();
}

// [SECTION] survey

namespace
{

bool QueryAdapter()
{
    GxGraphicsState& s = GxGraphicsGetState();
    const GxDisplaySettings& ds = GxDisplaySettings::Get();
    const PfGLAdapterInfo& a = s.m_pDevice->GetAdapterInfo();
    s.m_AdapterCount = 1;
    GxLog::Device(L"\t・ビデオカード数:%u\n", s.m_AdapterCount);
    s.m_CardName = GxString::FromUtf8(a.Renderer);
    s.m_DriverName = GxString::FromUtf8(a.Vendor + " / " + a.VideoDriver);
    s.m_DriverVersion = GxString::FromUtf8(a.Version);
    GxLog::Device(L"\t・ビデオカード名:%s\n", s.m_CardName.c_str());
    GxLog::Device(L"\t・ドライバ名:%s (%s)\n", s.m_DriverName.c_str(), s.m_DriverVersion.c_str());
    GxLog::Device(L"\t・シェーダ言語:%S\n", a.ShadingLanguageVersion.c_str());

    s.m_DesktopMode = a.DesktopMode;
    if (s.m_DesktopMode.Format == D3DFMT_UNKNOWN)
        s.m_DesktopMode.Format = D3DFMT_X8R8G8B8;
    s.m_WindowMode = s.m_DesktopMode;
    // A windowed OpenGL context is always accelerated as far as the implementation goes.
    s.m_WindowModeEnabled = true;
    s.m_WindowMode.Width = ds.m_BackBufferWidth;
    s.m_WindowMode.Height = ds.m_BackBufferHeight;

    s.m_FullScreenFound = FindFullScreenMode(
        a, ds.m_BackBufferWidth, ds.m_BackBufferHeight, L"フルスクリーンモードで利用可能な画面モード一覧\n",
        L"\tフルスクリーンモードで利用する画面モードが見つかりました\n",
        L"\tフルスクリーンモードで利用する画面モードが見つかりませんでした\n", s.m_FullScreenMode);
    s.m_FullScreenX2Found = FindFullScreenMode(
        a, ds.m_BackBufferWidth * 2, ds.m_BackBufferHeight * 2, L"フルスクリーンX2モードで利用可能な画面モード一覧\n",
        L"\tフルスクリーンX2モードで利用する画面モードが見つかりました\n",
        L"\tフルスクリーンX2モードで利用する画面モードが見つかりませんでした\n", s.m_FullScreenX2Mode);

    GxLog::Device(L"使用するリソースのフォーマットを検索します\n");
    if (ds.m_TextureBits == 16)
        s.m_TextureFormat = PreferredFormat(D3DFMT_A4R4G4B4, D3DFMT_A8R8G8B8, 0);
    else
        s.m_TextureFormat = PreferredFormat(D3DFMT_A8R8G8B8, D3DFMT_A4R4G4B4, 0);
    s.m_RenderTargetFormat = PreferredFormat(D3DFMT_A8R8G8B8, D3DFMT_A4R4G4B4, D3DUSAGE_RENDERTARGET);
    static const D3DFORMAT s_Depth16[] = {D3DFMT_D15S1, D3DFMT_D24S8, D3DFMT_D24X8, D3DFMT_D24X4S4};
    static const D3DFORMAT s_Depth24[] = {D3DFMT_D24S8, D3DFMT_D24X8, D3DFMT_D24X4S4, D3DFMT_D15S1};
    const D3DFORMAT* depth = ds.m_DepthStencilBits == 16 ? s_Depth16 : s_Depth24;
    s.m_DepthStencilFormat = D3DFMT_D24S8;
    for (int i = 0; i < 4; ++i)
        if (FormatSupported(depth[i], D3DUSAGE_DEPTHSTENCIL))
        {
            s.m_DepthStencilFormat = depth[i];
            break;
        }
    GxLog::Device(L"\t・TextureFormat:%s\n", GxGraphics::GetFormatName(s.m_TextureFormat).c_str());
    GxLog::Device(L"\t・RenderTargetFormat:%s\n", GxGraphics::GetFormatName(s.m_RenderTargetFormat).c_str());
    GxLog::Device(L"\t・DepthStencilFormat:%s\n", GxGraphics::GetFormatName(s.m_DepthStencilFormat).c_str());
    return true;
}

bool LogDeviceCaps()
{
    GxGraphicsState& s = GxGraphicsGetState();
    if (!s.m_pDevice || !s.m_pDevice->HasContext())
    {
        GxLog::Device(L"ビデオデバイス情報が取得できませんでした\n");
        SetFallbackCaps(s.m_Caps);
        return false;
    }
    FillCaps(s.m_Caps, s.m_pDevice->GetAdapterInfo());
    const GxDeviceCaps& c = s.m_Caps;
    GxLog::Device(L"ビデオデバイスの能力情報\n");
    const struct
    {
        const wchar_t* name;
        uint32_t value;
    } words[] = {{L"Caps", c.Caps},
                 {L"Caps2", c.Caps2},
                 {L"Caps3", c.Caps3},
                 {L"DevCaps", c.DevCaps},
                 {L"RasterCaps", c.RasterCaps},
                 {L"ZCmpCaps", c.ZCmpCaps},
                 {L"SrcBlendCaps", c.SrcBlendCaps},
                 {L"DestBlendCaps", c.DestBlendCaps},
                 {L"AlphaCmpCaps", c.AlphaCmpCaps},
                 {L"ShadeCaps", c.ShadeCaps},
                 {L"TextureCaps", c.TextureCaps},
                 {L"TextureOpCaps", c.TextureOpCaps}};
    for (const auto& w : words)
        GxLog::Device(L"\t・%s:0x%08X\n", w.name, w.value);

    GxLog::Device(L"ビデオデバイスの能力情報(概要)\n");
    const struct
    {
        const wchar_t* name;
        int value;
    } flags[] = {{L"D3DDEVCAPS_PUREDEVICE", c.PureDevice},
                 {L"D3DDEVCAPS_HWTRANSFORMANDLIGHT", c.HWTransformAndLight},
                 {L"D3DDEVCAPS_HWRASTERIZATION", c.HWRasterization},
                 {L"D3DPRASTERCAPS_DITHER", c.Dither},
                 {L"D3DPRASTERCAPS_DEPTHBIAS", c.DepthBias},
                 {L"D3DPRASTERCAPS_WBUFFER", c.WBuffer},
                 {L"D3DCAPS2_CANAUTOGENMIPMAP", c.CanAutoGenMipmap},
                 {L"D3DPTEXTURECAPS_CUBEMAP", c.CubeMap},
                 {L"D3DPTEXTURECAPS_MIPMAP", c.MipMap},
                 {L"D3DPTEXTURECAPS_PERSPECTIVE", c.Perspective},
                 {L"D3DPTEXTURECAPS_POW2", c.Pow2},
                 {L"D3DPTEXTURECAPS_SQUAREONLY", c.SquareOnly},
                 {L"D3DPTEXTURECAPS_NONPOW2CONDITIONAL", c.NonPow2Conditional},
                 {L"D3DCAPS2_DYNAMICTEXTURES", c.DynamicTextures}};
    for (const auto& f : flags)
        GxLog::Device(L"\t・%s:%d\n", f.name, f.value);

    GxLog::Device(L"\t・MaxTextureWidth:%u\n", c.MaxTextureWidth);
    GxLog::Device(L"\t・MaxTextureHeight:%u\n", c.MaxTextureHeight);
    GxLog::Device(L"\t・MaxTextureRepeat:%u\n", c.MaxTextureRepeat);
    GxLog::Device(L"\t・MaxTextureAspectRatio:%u\n", c.MaxTextureAspectRatio);
    GxLog::Device(L"\t・MaxAnisotropy:%u\n", c.MaxAnisotropy);
    GxLog::Device(L"\t・MaxVertexBlendMatrices:%u\n", c.MaxVertexBlendMatrices);
    GxLog::Device(L"\t・MaxVertexBlendMatrixIndex:%u\n", c.MaxVertexBlendMatrixIndex);
    GxLog::Device(L"\t・StretchRectFilterCaps:0x%X\n", c.StretchRectFilterCaps);
    if (c.StretchRectFilterCaps & D3DPTFILTERCAPS_MINFPOINT)
        GxLog::Device(L"\t\t・D3DPTFILTERCAPS_MINFPOINT\n");
    if (c.StretchRectFilterCaps & D3DPTFILTERCAPS_MAGFPOINT)
        GxLog::Device(L"\t\t・D3DPTFILTERCAPS_MAGFPOINT\n");
    if (c.StretchRectFilterCaps & D3DPTFILTERCAPS_MINFLINEAR)
        GxLog::Device(L"\t\t・D3DPTFILTERCAPS_MINFLINEAR\n");
    if (c.StretchRectFilterCaps & D3DPTFILTERCAPS_MAGFLINEAR)
        GxLog::Device(L"\t\t・D3DPTFILTERCAPS_MAGFLINEAR\n");
    GxLog::Device(L"\t・MaxVertexW:%.4lf\n", (double)c.MaxVertexW);
    GxLog::Device(L"\t・GuardBandLeft:%.4lf\n", (double)c.GuardBandLeft);
    GxLog::Device(L"\t・GuardBandTop:%.4lf\n", (double)c.GuardBandTop);
    GxLog::Device(L"\t・GuardBandRight:%.4lf\n", (double)c.GuardBandRight);
    GxLog::Device(L"\t・GuardBandBottom:%.4lf\n", (double)c.GuardBandBottom);
    GxLog::Device(L"\t・MaxPointSize:%.4lf\n", (double)c.MaxPointSize);
    GxLog::Device(L"\t・MaxVertexIndex:%u\n", c.MaxVertexIndex);
    GxLog::Device(L"\t・MaxStreams:%u\n", c.MaxStreams);
    GxLog::Device(L"\t・MaxStreamStride:%u\n", c.MaxStreamStride);
    GxLog::Device(L"\t・MaxRenderTarget:%u\n", c.NumSimultaneousRTs);
    GxLog::Device(L"\t・MaxTextureBlendStages:%u\n", c.MaxTextureBlendStages);
    GxLog::Device(L"\t・MaxSimultaneousTextures:%u\n", c.MaxSimultaneousTextures);
    GxLog::Device(L"\t・MaxActiveLights:%u\n", c.MaxActiveLights);
    GxLog::Device(L"\t・VertexShaderVersion:%u.%u\n", (c.VertexShaderVersion >> 8) & 0xFF,
                  c.VertexShaderVersion & 0xFF);
    GxLog::Device(L"\t・PixelShaderVersion:%u.%u\n", (c.PixelShaderVersion >> 8) & 0xFF, c.PixelShaderVersion & 0xFF);
    GxLog::Device(L"\t・MaxVertexShaderConst:%u\n", c.MaxVertexShaderConst);
    GxLog::Device(L"\t・PixelShader1xMaxValue:%f\n", (double)c.PixelShader1xMaxValue);
    GxLog::Device(L"\t・DynamicFlowControlDepth:%u\n", c.DynamicFlowControlDepth);
    GxLog::Device(L"\t・StaticFlowControlDepth:%u\n", c.StaticFlowControlDepth);
    GxLog::Device(L"\t・MaxVShaderInstructionsExecuted:%u\n", c.MaxVShaderInstructionsExecuted);
    GxLog::Device(L"\t・MaxPShaderInstructionsExecuted:%u\n", c.MaxPShaderInstructionsExecuted);

    GxLog::Device(L"有効なテクスチャオペレーション\n");
    static const wchar_t* const s_OpNames[] = {L"ADD",
                                               L"ADDSIGNED",
                                               L"ADDSIGNED2X",
                                               L"ADDSMOOTH",
                                               L"BLENDCURRENTALPHA",
                                               L"BLENDDIFFUSEALPHA",
                                               L"BLENDFACTORALPHA",
                                               L"BLENDTEXTUREALPHA",
                                               L"BLENDTEXTUREALPHAPM",
                                               L"BUMPENVMAP",
                                               L"BUMPENVMAPLUMINANCE",
                                               L"DISABLE",
                                               L"DOTPRODUCT3",
                                               L"LERP",
                                               L"MODULATE",
                                               L"MODULATE2X",
                                               L"MODULATE4X",
                                               L"MODULATEALPHA_ADDCOLOR",
                                               L"MODULATECOLOR_ADDALPHA",
                                               L"MODULATEINVALPHA_ADDCOLOR",
                                               L"MODULATEINVCOLOR_ADDALPHA",
                                               L"MULTIPLYADD",
                                               L"PREMODULATE",
                                               L"SELECTARG1",
                                               L"SELECTARG2",
                                               L"SUBTRACT"};
    static const uint32_t s_OpValues[] = {D3DTOP_ADD,
                                          D3DTOP_ADDSIGNED,
                                          D3DTOP_ADDSIGNED2X,
                                          D3DTOP_ADDSMOOTH,
                                          D3DTOP_BLENDCURRENTALPHA,
                                          D3DTOP_BLENDDIFFUSEALPHA,
                                          D3DTOP_BLENDFACTORALPHA,
                                          D3DTOP_BLENDTEXTUREALPHA,
                                          D3DTOP_BLENDTEXTUREALPHAPM,
                                          D3DTOP_BUMPENVMAP,
                                          D3DTOP_BUMPENVMAPLUMINANCE,
                                          D3DTOP_DISABLE,
                                          D3DTOP_DOTPRODUCT3,
                                          D3DTOP_LERP,
                                          D3DTOP_MODULATE,
                                          D3DTOP_MODULATE2X,
                                          D3DTOP_MODULATE4X,
                                          D3DTOP_MODULATEALPHA_ADDCOLOR,
                                          D3DTOP_MODULATECOLOR_ADDALPHA,
                                          D3DTOP_MODULATEINVALPHA_ADDCOLOR,
                                          D3DTOP_MODULATEINVCOLOR_ADDALPHA,
                                          D3DTOP_MULTIPLYADD,
                                          D3DTOP_PREMODULATE,
                                          D3DTOP_SELECTARG1,
                                          D3DTOP_SELECTARG2,
                                          D3DTOP_SUBTRACT};
    for (size_t i = 0; i < sizeof(s_OpValues) / sizeof(s_OpValues[0]); ++i)
        GxLog::Device(L"\t・TEXOP_%s:%u\n", s_OpNames[i], (c.TextureOpCaps >> (s_OpValues[i] - 1)) & 1u);
    return true;
}

void CheckMultiSample(bool withDepth)
{
    GxGraphicsState& s = GxGraphicsGetState();
    std::memset(s.m_MultiSampleFull, 0, sizeof(s.m_MultiSampleFull));
    std::memset(s.m_MultiSampleWindow, 0, sizeof(s.m_MultiSampleWindow));
    GxLog::Device(withDepth ? L"有効なアンチエイリアス処理(深度バッファあり)\n"
                            : L"有効なアンチエイリアス処理(深度バッファ無し)\n");
    const int32_t maxSamples = s.m_pDevice->GetAdapterInfo().MaxSamples;
    for (uint32_t type = 0; type <= 16; ++type)
    {
        // One quality level for every power-of-two sample count the implementation offers; the same in a
        // window as in full screen.
        const bool pow2 = (type & (type - 1)) == 0;
        const uint32_t levels = (type <= 1 || (pow2 && (int32_t)type <= maxSamples)) ? 1 : 0;
        s.m_MultiSampleFull[type] = levels;
        s.m_MultiSampleWindow[type] = levels;
    }
    GxLog::Device(L"\t・SAMPLES\tFUL\tWIN\n");
    GxLog::Device(L"\t・NONE   \t%u\t%u\n", s.m_MultiSampleFull[0], s.m_MultiSampleWindow[0]);
    GxLog::Device(L"\t・NONMASK\t%u\t%u\n", s.m_MultiSampleFull[1], s.m_MultiSampleWindow[1]);
    for (uint32_t type = 2; type <= 16; ++type)
        GxLog::Device(L"\t・%02u x %02u\t%u\t%u\n", type, type, s.m_MultiSampleFull[type], s.m_MultiSampleWindow[type]);
}

} // namespace

// [SECTION] start-up and shut-down

bool GxGraphics::Initialize(PfWindowHandle window, GxGraphicsResetListener* listener,
                            GxGraphicsResetCallback beforeReset, GxGraphicsResetCallback afterReset)
{
    GxGraphicsState& s = GxGraphicsGetState();
    GxDisplaySettings& ds = GxDisplaySettings::Get();
    if (s.m_DeviceCreated)
        Finalize();
    // Every field back to zero; the remembered states of a previous device go with it.
    const QuitRequest quit = s.m_QuitRequest;
    s.~GxGraphicsState();
    new (&s) GxGraphicsState();
    s.m_QuitRequest = quit;
    s.m_hWnd = window;
    s.m_pListener = listener;
    s.m_BeforeReset = beforeReset;
    s.m_AfterReset = afterReset;
    s.m_SquareTextures = ds.m_SquareTextures;
    // A new device session: resources register afresh.
    GxD3DResourceManage::GetInstance().Reopen();

    GxLog::Device(L"Direct3D9の初期化を開始します\n");
    if (!window)
    {
        GxLog::Error(L"Direct3DCreate9 Failed m_hWnd is NULL\n");
        GxMessageBoxEndingOnSignal(L"起動できません", L"ウインドウハンドルが取得できません");
        return false;
    }
    s.m_pDevice = std::make_unique<PfGLDevice>();
    PfResult hr = s.m_pDevice->CreateContext(window);
    if (PfFailed(hr))
    {
        GxLog::Error(L"Direct3DCreate9 Failed\n");
        GxLog::Error(L"%S\n", s.m_pDevice->GetErrorLog().c_str());
        GxMessageBoxEndingOnSignal(
            L"起動できません",
            L"Direct3Dの初期化に失敗しました\n1.DirectX9.0c August "
            L"2009以降の最新版をインストールして下さい\n2.ビデオカードが推奨環境を満たしているか確認して下さい");
        s.m_pDevice.reset();
        return false;
    }
    if (!QueryAdapter())
    {
        GxLog::Error(L"D3D9 GetAdapterInfo Failed\n");
        s.m_pDevice.reset();
        return false;
    }
    if (!LogDeviceCaps())
    {
        GxMessageBoxEndingOnSignal(L"ビデオデバイス情報が取得できません",
                                   L"デフォルト設定で起動しますが正常に動作しない可能性があります");
        s.m_WindowModeEnabled = true;
        s.m_ForceFullScreen = false;
    }
    CheckMultiSample(true);
    for (uint32_t mode = 0; mode < 4; ++mode)
        MakePresentParameters(s.m_PresentParameters[mode], window, mode);

    GxLog::Device(L"要求された画面モード\n");
    GxLog::Device(L"\t・画面モード:%s\n", GetScreenModeName(ds.m_RequestScreenMode));
    GxLog::Device(L"\t・VSYNCインターバル回数:%u\n", ds.m_VSyncInterval);
    GxLog::Device(L"\t・ロック可能なバックバッファ:%u\n", (unsigned)ds.m_LockableBackBuffer);
    GxLog::Device(L"\t・BackBufferWidth:%u\n", ds.m_BackBufferWidth);
    GxLog::Device(L"\t・BackBufferHeight:%u\n", ds.m_BackBufferHeight);
    GxLog::Device(L"\t・RefreshRate:%u\n", ds.m_RefreshRate);
    GxLog::Device(L"\t・TextureBits:%u\n", ds.m_TextureBits);
    GxLog::Device(L"\t・BackBufferBits:%u\n", ds.m_BackBufferBits);
    GxLog::Device(L"\t・DepthStencilBits:%u\n", ds.m_DepthStencilBits);
    GxLog::Device(L"\t・MultiSampleMode:%u\n", ds.m_MultiSampleMode);

    ds.m_ScreenMode = ds.m_RequestScreenMode;
    if (ds.m_ScreenMode == SCRMODE_WINDOW && s.m_ForceFullScreen)
        ds.m_ScreenMode = SCRMODE_FULLSCREEN;
    // Only the modes with present parameters can start the device.
    if (ds.m_ScreenMode > SCRMODE_FULLSCREENX2)
        ds.m_ScreenMode = SCRMODE_WINDOW;

    GxLog::Device(L"起動前画面モード\n");
    GxLog::Device(L"\t・BackBufferWidth:%u\n", s.m_DesktopMode.Width);
    GxLog::Device(L"\t・BackBufferHeight:%u\n", s.m_DesktopMode.Height);
    GxLog::Device(L"\t・RefreshRate:%u\n", s.m_DesktopMode.RefreshRate);
    GxLog::Device(L"\t・BackBufferFormat:%s\n", GetFormatName(s.m_DesktopMode.Format).c_str());

    const D3DPRESENT_PARAMETERS& pp = s.m_PresentParameters[ds.m_ScreenMode];
    GxLog::Device(L"起動画面モード\n");
    GxLog::Device(L"\t・画面モード:%s\n", GetScreenModeName(ds.m_ScreenMode));
    GxLog::Device(L"\t・VSYNCインターバル回数:%u\n", ds.m_VSyncInterval);
    GxLog::Device(L"\t・ロック可能なバックバッファ:%u\n", (unsigned)ds.m_LockableBackBuffer);
    GxLog::Device(L"\t・BackBufferWidth:%u\n", pp.BackBufferWidth);
    GxLog::Device(L"\t・BackBufferHeight:%u\n", pp.BackBufferHeight);
    GxLog::Device(L"\t・RefreshRate:%u\n", pp.FullScreen_RefreshRateInHz);
    GxLog::Device(L"\t・TextureFormat:%s\n", GetFormatName(s.m_TextureFormat).c_str());
    GxLog::Device(L"\t・BackBufferFormat:%s\n", GetFormatName(pp.BackBufferFormat).c_str());
    GxLog::Device(L"\t・RenderTargetFormat:%s\n", GetFormatName(s.m_RenderTargetFormat).c_str());
    GxLog::Device(L"\t・DepthStencilFormat:%s\n", GetFormatName(s.m_DepthStencilFormat).c_str());
    GxLog::Device(L"\t・MultiSampleMode:%u\n", ds.m_MultiSampleMode);
    if (s.m_WindowModeEnabled)
        GxLog::Device(L"\t・ウインドウモードで起動が可能です\n");
    else
        GxLog::Device(
            L"\t・ウインドウモードではアクセラレーションが効きません(強制的にフルスクリーンモードにします)\n");

    hr = s.m_pDevice->CreateDevice(pp);
    if (PfFailed(hr))
    {
        GxLog::Error(L"D3D9 CreateDevice Failed(Code:0x%x %s)\n", (unsigned)hr, GetErrorText(hr).c_str());
        GxLog::Error(L"%S\n", s.m_pDevice->GetErrorLog().c_str());
        GxMessageBoxEndingOnSignal(
            L"起動できません",
            L"Direct3Dデバイスの作成に失敗しました(Code:0x%x)\n1.最新のDirectX(August "
            L"2009以降)をインストールして下さい\n2.ビデオカードが推奨環境を満たしているか確認して下さい",
            (unsigned)hr);
        s.m_pDevice.reset();
        return false;
    }
    s.m_DeviceCreated = true;
    NoteSwapInterval();
    GxLog::Device(L"\t・Direct3Dを D3DDEVTYPE_HAL - D3DCREATE_MIXED_VERTEXPROCESSING で初期化しました\n");
    GxLog::Device(L"\t・VRAM残量:%uMByte\n", (unsigned)(s.m_pDevice->GetAvailableTextureMem() >> 20));

    s.m_pSwapChain = nullptr;
    s.m_RenderTargetStacks.assign(std::max(1u, s.m_Caps.NumSimultaneousRTs), {});
    DefaultSwapChain().CreateDefault(nullptr);
    SetSwapChain(nullptr, nullptr);
    InitRenderStates();
    return true;
}

void GxGraphics::Finalize()
{
    GxGraphicsState& s = GxGraphicsGetState();
    ReleaseDefaultMaterial();
    DefaultSwapChain().ReleaseAll();
    // Warnings on textures, flexible textures and shaders still held, then the factories are emptied.
    GxResourceFactory::FinalizeAll();
    // What is still registered now was never released; reported while the logs still exist.
    GxD3DResourceManage::GetInstance().ReportLeaks();
    s.m_pSwapChain = nullptr;
    s.m_RenderTargetStacks.clear();
    s.m_SceneCount = 0;
    s.m_DeviceCreated = false;
    if (s.m_pDevice)
        s.m_pDevice->Destroy();
    s.m_pDevice.reset();
}
