// Remembered render and stage states, the simple setters, lights, fog and the nine blend presets.
#include "graphics/GxGraphics.h"

#include "core/GxColor.h"
#include "core/GxVector3.h"
#include "core/GxVector4.h"
#include "graphics/GxGraphicsState.h"
#include "platform/PfGLDevice.h"

#include <cmath>
#include <cstring>

namespace
{

uint32_t FloatBits(float f)
{
    uint32_t u;
    std::memcpy(&u, &f, sizeof(u));
    return u;
}

D3DCOLORVALUE ToColorValue(const GxVector4& c)
{
    return {c.x, c.y, c.z, c.w};
}

} // namespace

bool GxGraphics::SetRenderState(uint32_t state, uint32_t value)
{
    GxGraphicsState& s = GxGraphicsGetState();
    if (state >= PF_RENDERSTATE_COUNT)
        return false;
    if (s.m_RenderStateSet[state] && s.m_RenderState[state] == value)
        return true;
    s.m_RenderState[state] = value;
    s.m_RenderStateSet[state] = true;
    PfGLDevice* device = GetDevice();
    return device && PfSucceeded(device->SetRenderState(state, value));
}

bool GxGraphics::SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value)
{
    GxGraphicsState& s = GxGraphicsGetState();
    if (stage >= PF_STAGE_COUNT || type >= PF_STAGESTATE_COUNT)
        return false;
    if (s.m_StageStateSet[stage][type] && s.m_StageState[stage][type] == value)
        return true;
    s.m_StageState[stage][type] = value;
    s.m_StageStateSet[stage][type] = true;
    PfGLDevice* device = GetDevice();
    return device && PfSucceeded(device->SetTextureStageState(stage, type, value));
}

bool GxGraphics::RestoreRenderStates()
{
    GxGraphicsState& s = GxGraphicsGetState();
    PfGLDevice* device = GetDevice();
    if (!device)
        return false;
    for (uint32_t state = 0; state < PF_RENDERSTATE_COUNT; ++state)
        if (s.m_RenderStateSet[state])
            device->SetRenderState(state, s.m_RenderState[state]);
    for (uint32_t stage = 0; stage < PF_STAGE_COUNT; ++stage)
        for (uint32_t type = 0; type < PF_STAGESTATE_COUNT; ++type)
            if (s.m_StageStateSet[stage][type])
                device->SetTextureStageState(stage, type, s.m_StageState[stage][type]);
    return true;
}

bool GxGraphics::SetZEnable(bool enable)
{
    return SetRenderState(D3DRS_ZENABLE, enable);
}

bool GxGraphics::SetZWriteEnable(bool enable)
{
    return SetRenderState(D3DRS_ZWRITEENABLE, enable);
}

bool GxGraphics::SetAlphaTest(bool enable, uint32_t reference)
{
    if (!enable)
        return SetRenderState(D3DRS_ALPHATESTENABLE, 0);
    SetRenderState(D3DRS_ALPHATESTENABLE, 1);
    SetRenderState(D3DRS_ALPHAREF, reference);
    return SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
}

bool GxGraphics::SetMultiSampleAntiAlias(bool enable)
{
    return SetRenderState(D3DRS_MULTISAMPLEANTIALIAS, enable);
}

bool GxGraphics::SetSpecularEnable(bool enable)
{
    return SetRenderState(D3DRS_SPECULARENABLE, enable);
}

bool GxGraphics::SetCullMode(uint32_t cull)
{
    return SetRenderState(D3DRS_CULLMODE, cull);
}

bool GxGraphics::SetFillMode(uint32_t fill)
{
    return SetRenderState(D3DRS_FILLMODE, fill);
}

bool GxGraphics::SetLighting(bool enable)
{
    return SetRenderState(D3DRS_LIGHTING, enable);
}

bool GxGraphics::SetFogEnable(bool enable)
{
    return SetRenderState(D3DRS_FOGENABLE, enable);
}

bool GxGraphics::SetAmbientColor(const GxVector4& color)
{
    return SetRenderState(D3DRS_AMBIENT, GxColor::ToARGB(color));
}

bool GxGraphics::SetFogColor(const GxVector4& color)
{
    return SetRenderState(D3DRS_FOGCOLOR, GxColor::ToARGB(color));
}

bool GxGraphics::SetTextureFilter(uint32_t filter)
{
    PfGLDevice* device = GetDevice();
    if (!device)
        return false;
    const bool mag = PfSucceeded(device->SetSamplerState(0, D3DSAMP_MAGFILTER, filter));
    const bool min = PfSucceeded(device->SetSamplerState(0, D3DSAMP_MINFILTER, filter));
    return mag && min;
}

bool GxGraphics::SetTexture(uint32_t stage, PfGLTexture* texture)
{
    PfGLDevice* device = GetDevice();
    return device && PfSucceeded(device->SetTexture(stage, texture));
}

bool GxGraphics::SetViewport(const PfRect* rect)
{
    GxGraphicsState& s = GxGraphicsGetState();
    D3DVIEWPORT9 vp = {};
    // A rectangle turned inside out or reaching left of or above the target gives an empty viewport, which the
    // device refuses, rather than a size wrapped round to billions.
    if (rect && rect->left >= 0 && rect->top >= 0 && rect->right >= rect->left && rect->bottom >= rect->top)
        vp = {(uint32_t)rect->left,
              (uint32_t)rect->top,
              (uint32_t)(rect->right - rect->left),
              (uint32_t)(rect->bottom - rect->top),
              0.0f,
              1.0f};
    else if (rect)
        vp = {0, 0, 0, 0, 0.0f, 1.0f};
    else
    {
        const D3DPRESENT_PARAMETERS& p = GetPresentParameters(GxDisplaySettings::Get().m_ScreenMode);
        vp = {0, 0, p.BackBufferWidth, p.BackBufferHeight, 0.0f, 1.0f};
    }
    s.m_Viewport = vp;
    PfGLDevice* device = GetDevice();
    return device && PfSucceeded(device->SetViewport(vp));
}

const D3DVIEWPORT9& GxGraphics::GetViewport()
{
    return GxGraphicsGetState().m_Viewport;
}

bool GxGraphics::SetDirectionalLight(const GxVector4& color, const GxVector3& direction)
{
    GxGraphicsState& s = GxGraphicsGetState();
    PfGLDevice* device = GetDevice();
    if (!device)
        return false;
    device->LightEnable(0, true);
    D3DLIGHT9& light = s.m_DirectionalLight;
    light = {};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = light.Specular = light.Ambient = ToColorValue(color);
    GxVector3 d = direction;
    d.SetLength(1.0f);
    light.Direction = {d.x, d.y, d.z};
    return PfSucceeded(device->SetLight(0, light));
}

bool GxGraphics::SetPointLight(uint32_t index, const GxVector4& color, const GxVector3& position, float range)
{
    GxGraphicsState& s = GxGraphicsGetState();
    PfGLDevice* device = GetDevice();
    if (!device || index >= 4)
        return false;
    D3DLIGHT9& light = s.m_PointLights[index];
    light = {};
    light.Type = D3DLIGHT_POINT;
    light.Diffuse = light.Specular = light.Ambient = ToColorValue(color);
    light.Position = {position.x, position.y, position.z};
    light.Range = range;
    light.Attenuation0 = 0.0f;
    light.Attenuation1 = range != 0.0f ? 1.0f / range : 0.0f;
    light.Attenuation2 = 0.0f;
    return PfSucceeded(device->SetLight(index + 1, light));
}

bool GxGraphics::EnablePointLights(uint32_t count)
{
    PfGLDevice* device = GetDevice();
    if (!device)
        return false;
    bool result = true;
    for (uint32_t i = 0; i < count && i < 4; ++i)
        result = PfSucceeded(device->LightEnable(i + 1, true));
    return result;
}

bool GxGraphics::SetFog(float start, float end, bool pixelFog)
{
    GxGraphicsState& s = GxGraphicsGetState();
    if (pixelFog)
    {
        SetRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_NONE);
        SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_LINEAR);
        SetRenderState(D3DRS_FOGSTART, FloatBits(start));
        return SetRenderState(D3DRS_FOGEND, FloatBits(end));
    }
    const float d = std::fabs(s.m_ProjectionFar - s.m_ProjectionNear);
    SetRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_LINEAR);
    SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_NONE);
    SetRenderState(D3DRS_FOGSTART, FloatBits(d * start));
    return SetRenderState(D3DRS_FOGEND, FloatBits(d * end));
}

void GxGraphics::SetProjectionDepth(float nearZ, float farZ)
{
    GxGraphicsState& s = GxGraphicsGetState();
    s.m_ProjectionNear = nearZ;
    s.m_ProjectionFar = farZ;
}

bool GxGraphics::SetBlendMode(uint32_t stage, uint32_t preset)
{
    GxGraphicsState& s = GxGraphicsGetState();
    if (stage >= PF_STAGE_COUNT)
        return false;
    if (preset != 0)
        s.m_BlendPreset[stage] = preset;
    else
        preset = s.m_BlendPreset[stage];

    // One row per preset: blending, colour op, alpha arg1 (0 = unchanged), alpha op, blend op, factors.
    struct Row
    {
        bool blend;
        uint32_t colorOp;
        uint32_t alphaArg1;
        uint32_t alphaOp;
        uint32_t blendOp;
        uint32_t src;
        uint32_t dest;
    };
    static const Row s_Rows[10] = {
        // fallback
        {true, D3DTOP_MODULATE, 0, D3DTOP_MODULATE, D3DBLENDOP_ADD, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
        // 1 opaque copy
        {false, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTOP_MODULATE, D3DBLENDOP_ADD, D3DBLEND_SRCALPHA,
         D3DBLEND_INVSRCALPHA},
        // 2 normal alpha blending
        {true, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTOP_MODULATE, D3DBLENDOP_ADD, D3DBLEND_SRCALPHA,
         D3DBLEND_INVSRCALPHA},
        // 3 additive
        {true, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTOP_MODULATE, D3DBLENDOP_ADD, D3DBLEND_SRCALPHA, D3DBLEND_ONE},
        // 4 additive, texture times vertex colour doubled
        {true, D3DTOP_MODULATE2X, D3DTA_TEXTURE, D3DTOP_MODULATE2X, D3DBLENDOP_ADD, D3DBLEND_SRCALPHA, D3DBLEND_ONE},
        // 5 subtractive: frame minus picture
        {true, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTOP_MODULATE, D3DBLENDOP_REVSUBTRACT, D3DBLEND_SRCALPHA,
         D3DBLEND_ONE},
        // 6 multiply
        {true, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTOP_MODULATE, D3DBLENDOP_ADD, D3DBLEND_ZERO, D3DBLEND_SRCCOLOR},
        // 7 exclusion
        {true, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTOP_MODULATE, D3DBLENDOP_ADD, D3DBLEND_INVDESTCOLOR,
         D3DBLEND_INVSRCCOLOR},
        // 8 screen
        {true, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTOP_MODULATE, D3DBLENDOP_ADD, D3DBLEND_INVDESTCOLOR, D3DBLEND_ONE},
        // 9 picture minus frame
        {true, D3DTOP_MODULATE, 0, D3DTOP_MODULATE, D3DBLENDOP_SUBTRACT, D3DBLEND_ONE, D3DBLEND_ONE},
    };
    const Row& row = s_Rows[(preset >= 1 && preset <= 9) ? preset : 0];
    SetRenderState(D3DRS_ALPHABLENDENABLE, row.blend);
    SetTextureStageState(stage, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    SetTextureStageState(stage, D3DTSS_COLOROP, row.colorOp);
    if (row.alphaArg1 != 0)
        SetTextureStageState(stage, D3DTSS_ALPHAARG1, row.alphaArg1);
    SetTextureStageState(stage, D3DTSS_ALPHAOP, row.alphaOp);
    SetRenderState(D3DRS_BLENDOP, row.blendOp);
    SetRenderState(D3DRS_SRCBLEND, row.src);
    return SetRenderState(D3DRS_DESTBLEND, row.dest);
}

uint32_t GxGraphics::GetBlendMode(uint32_t stage)
{
    return stage < PF_STAGE_COUNT ? GxGraphicsGetState().m_BlendPreset[stage] : 0;
}

void GxGraphics::ResetRenderStates()
{
    SetZEnable(false);
    SetZWriteEnable(false);
    SetAlphaTest(false, 128);
    SetMultiSampleAntiAlias(true);
    SetSpecularEnable(true);
    SetCullMode(D3DCULL_NONE);
    SetFillMode(D3DFILL_SOLID);
    SetLighting(false);
    PfGLDevice* device = GetDevice();
    for (uint32_t stage = 0; stage < PF_STAGE_COUNT; ++stage)
        SetTexture(stage, nullptr);
    if (device)
        for (uint32_t stream = 0; stream < 4; ++stream)
            device->SetStreamSource(stream, nullptr, 0, 0);
}

void GxGraphics::InitRenderStates()
{
    GxGraphicsState& s = GxGraphicsGetState();
    SetViewport(nullptr);
    for (uint32_t stage = 0; stage < PF_STAGE_COUNT; ++stage)
    {
        SetBlendMode(stage, 0);
        SetTextureStageState(stage, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        SetTextureStageState(stage, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
        SetTextureStageState(stage, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
        s.m_BlendPreset[stage] = 2;
    }
    SetTextureFilter(D3DTEXF_POINT);
    SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    SetRenderState(D3DRS_SEPARATEALPHABLENDENABLE, 1);
    // The target's alpha keeps the larger of the two alphas whatever the colour blend.
    SetRenderState(D3DRS_BLENDOPALPHA, D3DBLENDOP_MAX);
    SetRenderState(D3DRS_COLORVERTEX, 1);
    SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1);
    SetRenderState(D3DRS_SPECULARMATERIALSOURCE, D3DMCS_MATERIAL);
    SetRenderState(D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL);
    SetRenderState(D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL);
    SetZEnable(false);
    SetZWriteEnable(false);
    SetAlphaTest(false, 128);
    SetMultiSampleAntiAlias(true);
    SetSpecularEnable(true);
    SetCullMode(D3DCULL_NONE);
    SetFillMode(D3DFILL_SOLID);
    SetLighting(false);
    SetDirectionalLight(GxVector4(1.0f, 1.0f, 1.0f, 1.0f), GxVector3(0.0f, -1.0f, 1.0f));
    EnablePointLights(0);
    for (uint32_t i = 0; i < 4; ++i)
        SetPointLight(i, GxVector4(1.0f, 1.0f, 1.0f, 1.0f), GxVector3(0.0f, 0.0f, 0.0f), 30.0f);
    SetAmbientColor(GxVector4(0.3f, 0.3f, 0.3f, 0.3f));
    SetFogEnable(false);
    SetFogColor(GxVector4(1.0f, 1.0f, 1.0f, 1.0f));
    SetFog(0.7f, 1.0f, true);
}
