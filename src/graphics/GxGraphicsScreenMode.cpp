// Screen modes, the window style and the device reset.
#include "graphics/GxGraphics.h"

#include "core/GxLog.h"
#include "graphics/GxD3DResourceManage.h"
#include "graphics/GxGraphicsState.h"
#include "platform/PfGLDevice.h"
#include "platform/PfWindowFullScreen.h"

const D3DPRESENT_PARAMETERS& GxGraphics::GetPresentParameters(uint32_t mode)
{
    GxGraphicsState& s = GxGraphicsGetState();
    static const D3DPRESENT_PARAMETERS s_None = {};
    return mode < 15 ? s.m_PresentParameters[mode] : s_None;
}

void GxGraphics::MakePresentParameters(D3DPRESENT_PARAMETERS& p, PfWindowHandle window, uint32_t kind)
{
    GxGraphicsState& s = GxGraphicsGetState();
    GxDisplaySettings& ds = GxDisplaySettings::Get();
    p = {};
    const D3DDISPLAYMODE* mode = &s.m_FullScreenMode;
    if (kind == 0)
        mode = &s.m_WindowMode;
    else if (kind == 1)
        mode = &s.m_DesktopMode;
    else if (kind == 3)
        mode = &s.m_FullScreenX2Mode;
    p.BackBufferWidth = mode->Width;
    p.BackBufferHeight = mode->Height;
    p.BackBufferFormat = mode->Format;
    p.BackBufferCount = 1;
    p.Windowed = (kind == 0 || kind == 1) ? 1 : 0;
    p.FullScreen_RefreshRateInHz = p.Windowed ? 0 : mode->RefreshRate;
    p.SwapEffect = (D3DSWAPEFFECT)ds.m_SwapEffect;
    p.hDeviceWindow = window;
    // Each swap chain makes its own depth-stencil surface.
    p.EnableAutoDepthStencil = 0;
    p.AutoDepthStencilFormat = s.m_DepthStencilFormat;
    p.Flags = ds.m_LockableBackBuffer ? (uint32_t)D3DPRESENTFLAG_LOCKABLE_BACKBUFFER : 0u;
    switch (ds.m_VSyncInterval)
    {
    case 0:
        p.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        break;
    case 1:
        p.PresentationInterval = D3DPRESENT_INTERVAL_ONE;
        break;
    case 2:
        p.PresentationInterval = D3DPRESENT_INTERVAL_TWO;
        break;
    case 3:
        p.PresentationInterval = D3DPRESENT_INTERVAL_THREE;
        break;
    case 4:
        p.PresentationInterval = D3DPRESENT_INTERVAL_FOUR;
        break;
    default:
        p.PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
        break;
    }
    p.MultiSampleType = D3DMULTISAMPLE_NONE;
    p.MultiSampleQuality = 0;
    if (ds.m_MultiSampleMode == 2 || ds.m_MultiSampleMode == 4)
    {
        const uint32_t type = ds.m_MultiSampleMode;
        if (s.m_MultiSampleFull[type] != 0 && s.m_MultiSampleWindow[type] != 0)
        {
            p.MultiSampleType = (D3DMULTISAMPLE_TYPE)type;
            p.MultiSampleQuality = s.m_MultiSampleWindow[type] - 1;
        }
        else
            ds.m_MultiSampleMode = 0;
    }
}

bool GxGraphics::ChangeScreenMode(uint32_t mode)
{
    GxGraphicsState& s = GxGraphicsGetState();
    GxDisplaySettings& ds = GxDisplaySettings::Get();
    if (!s.m_DeviceCreated)
        return false;
    // Only the modes with present parameters of their own can be shown; the others are refused and nothing
    // changes.
    if (mode >= SCRMODE_COUNT || s.m_PresentParameters[mode].BackBufferWidth == 0 ||
        s.m_PresentParameters[mode].BackBufferHeight == 0)
    {
        GxLog::Error(L"GxGraphics::ChangeScreenMode/画面モード%uには切り替えられません\n", mode);
        return false;
    }
    const uint32_t oldMode = ds.m_ScreenMode;
    ds.m_ScreenMode = mode;
    const bool result = Reset(true, mode, oldMode);
    SetWindowStyle(s.m_PresentParameters[ds.m_ScreenMode].Windowed != 0);
    return result;
}

bool GxGraphics::Reset(bool force, uint32_t newMode, uint32_t oldMode)
{
    GxGraphicsState& s = GxGraphicsGetState();
    GxDisplaySettings& ds = GxDisplaySettings::Get();
    PfGLDevice* device = GetDevice();
    if (!device)
        return false;
    if (!force && device->TestCooperativeLevel() == D3D_OK)
        return true;
    GxD3DResourceManage::GetInstance().OnLostDevice();
    if (s.m_pListener)
        s.m_pListener->OnBeforeReset(newMode, oldMode);
    if (s.m_BeforeReset)
        s.m_BeforeReset(newMode, oldMode);
    bool result = true;
    if (PfFailed(device->Reset(s.m_PresentParameters[ds.m_ScreenMode < 15 ? ds.m_ScreenMode : 0])))
    {
        GxLog::Error(L"Resetでデバイスの復帰に失敗しました\n");
        result = false;
    }
    NoteSwapInterval();
    GxD3DResourceManage::GetInstance().OnResetDevice();
    RestoreRenderTargets();
    RestoreRenderStates();
    if (s.m_pListener)
        s.m_pListener->OnAfterReset(newMode, oldMode);
    if (s.m_AfterReset)
        s.m_AfterReset(newMode, oldMode);
    return result;
}

void GxGraphics::NoteSwapInterval()
{
    static bool s_Told = false;
    PfGLDevice* device = GetDevice();
    if (!device || s_Told || device->GetSwapInterval() >= device->GetWantedSwapInterval())
        return;
    s_Told = true;
    GxLog::Device(L"\t・VSYNCインターバル%dは使えないため%dで表示します\n", device->GetWantedSwapInterval(),
                  device->GetSwapInterval());
}

void GxGraphics::SetWindowStyle(bool windowed)
{
    PfGLDevice* device = GetDevice();
    const GxDisplaySettings& ds = GxDisplaySettings::Get();
    // Full screen was asked for by the device reset (made by hand where no window manager acts on it); a
    // window gets its framed size back. Either way the window then tells of its new size.
    if (device && windowed)
        device->PlaceWindow(ds.m_WindowWidth, ds.m_WindowHeight);
    else if (!windowed)
        PfWindowFullScreen::Cover(GxGraphicsGetState().m_hWnd);
    PfWindowFullScreen::NoteChange(GxGraphicsGetState().m_hWnd);
}

bool GxGraphics::NeedsSoftwareVertexShader(uint32_t major, uint32_t minor)
{
    const GxDeviceCaps& caps = GxGraphicsGetState().m_Caps;
    if (!caps.HWTransformAndLight)
        return true;
    const uint32_t version = 0xFFFE0000u | (major << 8) | minor;
    return version > caps.VertexShaderVersion;
}

void GxGraphics::SelectVertexProcessing(uint32_t major, uint32_t minor)
{
    GxGraphicsState& s = GxGraphicsGetState();
    PfGLDevice* device = GetDevice();
    if (!device)
        return;
    if (s.m_SoftwareVertexProcessingForced || s.m_ReferenceDevice)
        device->SetSoftwareVertexProcessing(true);
    else
        device->SetSoftwareVertexProcessing(NeedsSoftwareVertexShader(major, minor));
}
