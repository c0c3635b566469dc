// The state of the graphics layer shared by the GxGraphics files. Private to the graphics folder.
#pragma once

#include "graphics/GxDeviceCaps.h"
#include "graphics/GxDisplaySettings.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxRenderTargetEntry.h"
#include "platform/PfD3DTypes.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

class GxSwapChain;
class PfGLDevice;

struct GxGraphicsState
{
    std::unique_ptr<PfGLDevice> m_pDevice;
    bool m_DeviceCreated = false;
    uint32_t m_Adapter = 0;
    uint32_t m_AdapterCount = 0;
    PfWindowHandle m_hWnd = nullptr;
    GxGraphicsResetListener* m_pListener = nullptr;
    GxGraphicsResetCallback m_BeforeReset = nullptr;
    GxGraphicsResetCallback m_AfterReset = nullptr;
    GxGraphics::QuitRequest m_QuitRequest = nullptr;
    std::wstring m_CardName;
    std::wstring m_DriverName;
    std::wstring m_DriverVersion;

    int32_t m_SceneCount = 0;
    GxSwapChain* m_pSwapChain = nullptr;

    D3DFORMAT m_TextureFormat = D3DFMT_UNKNOWN;
    D3DFORMAT m_RenderTargetFormat = D3DFMT_UNKNOWN;
    D3DFORMAT m_DepthStencilFormat = D3DFMT_UNKNOWN;
    D3DDISPLAYMODE m_WindowMode = {};
    D3DDISPLAYMODE m_DesktopMode = {};
    D3DDISPLAYMODE m_FullScreenMode = {};
    D3DDISPLAYMODE m_FullScreenX2Mode = {};
    bool m_WindowModeEnabled = false;
    bool m_FullScreenFound = false;
    bool m_FullScreenX2Found = false;
    bool m_ForceFullScreen = false;
    uint32_t m_MultiSampleFull[17] = {};
    uint32_t m_MultiSampleWindow[17] = {};
    bool m_SoftwareVertexProcessingForced = false;
    bool m_ReferenceDevice = false;
    bool m_SquareTextures = false;
    GxDeviceCaps m_Caps = {};
    D3DPRESENT_PARAMETERS m_PresentParameters[15] = {};

    // Remembered render and stage states: a value and a "set" flag each.
    uint32_t m_RenderState[PF_RENDERSTATE_COUNT] = {};
    bool m_RenderStateSet[PF_RENDERSTATE_COUNT] = {};
    uint32_t m_StageState[PF_STAGE_COUNT][PF_STAGESTATE_COUNT] = {};
    bool m_StageStateSet[PF_STAGE_COUNT][PF_STAGESTATE_COUNT] = {};
    uint32_t m_BlendPreset[PF_STAGE_COUNT] = {};
    D3DVIEWPORT9 m_Viewport = {};
    D3DLIGHT9 m_DirectionalLight = {};
    D3DLIGHT9 m_PointLights[4] = {};
    float m_ProjectionNear = 0.0f;
    float m_ProjectionFar = 1.0f;

    std::vector<std::deque<GxRenderTargetEntry>> m_RenderTargetStacks;
};

// The one state of the process.
GxGraphicsState& GxGraphicsGetState();
