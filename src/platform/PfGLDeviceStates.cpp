// The states the device remembers: their initial values and the setters and getters. Nothing reaches
// OpenGL here beyond the sampler objects; the groups a change touches are marked dirty and turned into
// OpenGL state at the next draw (PfGLDeviceApply.cpp).
#include "platform/PfGLDevice.h"

#include "platform/PfGLDeviceConvert.h"
#include "platform/PfGLTexture.h"

#include <cstring>

using PfGLDeviceConvert::FloatBits;

namespace
{

D3DMATRIX Identity()
{
    D3DMATRIX m = {};
    for (int i = 0; i < 4; ++i)
        m.m[i][i] = 1.0f;
    return m;
}

} // namespace

void PfGLDevice::SetDefaultStates()
{
    // The initial values of a freshly created or reset device.
    std::memset(m_RenderState, 0, sizeof(m_RenderState));
    uint32_t* rs = m_RenderState;
    rs[D3DRS_ZENABLE] = 0;
    rs[D3DRS_FILLMODE] = D3DFILL_SOLID;
    rs[D3DRS_SHADEMODE] = 2;
    rs[D3DRS_ZWRITEENABLE] = 1;
    rs[D3DRS_LASTPIXEL] = 1;
    rs[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    rs[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    rs[D3DRS_CULLMODE] = D3DCULL_CCW;
    rs[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    rs[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
    rs[D3DRS_FOGEND] = FloatBits(1.0f);
    rs[D3DRS_FOGDENSITY] = FloatBits(1.0f);
    rs[D3DRS_STENCILFAIL] = D3DSTENCILOP_KEEP;
    rs[D3DRS_STENCILZFAIL] = D3DSTENCILOP_KEEP;
    rs[D3DRS_STENCILPASS] = D3DSTENCILOP_KEEP;
    rs[D3DRS_STENCILFUNC] = D3DCMP_ALWAYS;
    rs[D3DRS_STENCILMASK] = 0xFFFFFFFF;
    rs[D3DRS_STENCILWRITEMASK] = 0xFFFFFFFF;
    rs[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFF;
    rs[D3DRS_CLIPPING] = 1;
    rs[D3DRS_LIGHTING] = 1;
    rs[D3DRS_COLORVERTEX] = 1;
    rs[D3DRS_LOCALVIEWER] = 1;
    rs[D3DRS_DIFFUSEMATERIALSOURCE] = D3DMCS_COLOR1;
    rs[D3DRS_SPECULARMATERIALSOURCE] = D3DMCS_COLOR2;
    rs[D3DRS_AMBIENTMATERIALSOURCE] = D3DMCS_MATERIAL;
    rs[D3DRS_EMISSIVEMATERIALSOURCE] = D3DMCS_MATERIAL;
    rs[D3DRS_MULTISAMPLEANTIALIAS] = 1;
    rs[D3DRS_COLORWRITEENABLE] = 0xF;
    rs[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
    rs[D3DRS_BLENDFACTOR] = 0xFFFFFFFF;
    rs[D3DRS_SRCBLENDALPHA] = D3DBLEND_ONE;
    rs[D3DRS_DESTBLENDALPHA] = D3DBLEND_ZERO;
    rs[D3DRS_BLENDOPALPHA] = D3DBLENDOP_ADD;
    std::memset(m_StageState, 0, sizeof(m_StageState));
    for (uint32_t stage = 0; stage < PF_STAGE_COUNT; ++stage)
    {
        uint32_t* ss = m_StageState[stage];
        ss[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        ss[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        ss[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        ss[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        ss[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        ss[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        ss[D3DTSS_TEXCOORDINDEX] = stage;
        ss[D3DTSS_COLORARG0] = D3DTA_CURRENT;
        ss[D3DTSS_ALPHAARG0] = D3DTA_CURRENT;
        ss[D3DTSS_RESULTARG] = D3DTA_CURRENT;
        uint32_t* sm = m_SamplerState[stage];
        std::memset(sm, 0, sizeof(m_SamplerState[stage]));
        sm[D3DSAMP_ADDRESSU] = sm[D3DSAMP_ADDRESSV] = sm[D3DSAMP_ADDRESSW] = D3DTADDRESS_WRAP;
        sm[D3DSAMP_MAGFILTER] = sm[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
        sm[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
        sm[D3DSAMP_MAXANISOTROPY] = 1;
        m_Textures[stage] = nullptr;
    }
    m_World = m_View = m_Projection = Identity();
    std::memset(m_Lights, 0, sizeof(m_Lights));
    std::memset(m_LightEnabled, 0, sizeof(m_LightEnabled));
    std::memset(&m_Material, 0, sizeof(m_Material));
    for (PfGLTexture*& target : m_RenderTargets)
        target = nullptr;
    m_DepthStencil = nullptr;
    m_ScissorRect = {};
    m_FVF = 0;
    m_StreamSource = nullptr;
    m_StreamSourceOffset = m_StreamSourceStride = 0;
    m_Indices = nullptr;
    m_Declaration = nullptr;
    for (uint32_t s = 0; s < DECLARED_STREAMS; ++s)
    {
        m_Streams[s] = nullptr;
        m_StreamOffsets[s] = m_StreamStrides[s] = 0;
    }
    m_SoftwareVertexProcessing = false;
    m_Dirty = DIRTY_ALL;
}

PfResult PfGLDevice::SetRenderState(uint32_t state, uint32_t value)
{
    if (!m_DeviceCreated || state >= PF_RENDERSTATE_COUNT)
        return D3DERR_INVALIDCALL;
    ++m_RenderStateCalls;
    const bool changed = m_RenderState[state] != value;
    if (changed)
        FlushQuads();
    m_RenderState[state] = value;
    switch (state)
    {
    case D3DRS_ALPHABLENDENABLE:
    case D3DRS_SRCBLEND:
    case D3DRS_DESTBLEND:
    case D3DRS_BLENDOP:
    case D3DRS_SEPARATEALPHABLENDENABLE:
    case D3DRS_SRCBLENDALPHA:
    case D3DRS_DESTBLENDALPHA:
    case D3DRS_BLENDOPALPHA:
    case D3DRS_BLENDFACTOR:
        m_Dirty |= DIRTY_BLEND;
        break;
    case D3DRS_ZENABLE:
    case D3DRS_ZWRITEENABLE:
    case D3DRS_ZFUNC:
    case D3DRS_DEPTHBIAS:
    case D3DRS_SLOPESCALEDEPTHBIAS:
        m_Dirty |= DIRTY_DEPTH;
        break;
    case D3DRS_STENCILENABLE:
    case D3DRS_STENCILFAIL:
    case D3DRS_STENCILZFAIL:
    case D3DRS_STENCILPASS:
    case D3DRS_STENCILFUNC:
    case D3DRS_STENCILREF:
    case D3DRS_STENCILMASK:
    case D3DRS_STENCILWRITEMASK:
        m_Dirty |= DIRTY_STENCIL;
        break;
    case D3DRS_CULLMODE:
    case D3DRS_FILLMODE:
    case D3DRS_COLORWRITEENABLE:
    case D3DRS_SCISSORTESTENABLE:
    case D3DRS_MULTISAMPLEANTIALIAS:
        m_Dirty |= DIRTY_RASTER;
        break;
    default:
        if (changed)
            m_Dirty |= DIRTY_UNIFORMS;
        break;
    }
    return D3D_OK;
}

uint32_t PfGLDevice::GetRenderState(uint32_t state) const
{
    return state < PF_RENDERSTATE_COUNT ? m_RenderState[state] : 0;
}

PfResult PfGLDevice::SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value)
{
    if (!m_DeviceCreated || stage >= PF_STAGE_COUNT || type >= PF_STAGESTATE_COUNT)
        return D3DERR_INVALIDCALL;
    ++m_StageStateCalls;
    // Only the device sends the program's uniforms, so a value set again needs nothing sent: every
    // widget sets its stages afresh before it draws.
    if (m_StageState[stage][type] == value)
        return D3D_OK;
    FlushQuads();
    m_StageState[stage][type] = value;
    m_Dirty |= DIRTY_UNIFORMS;
    return D3D_OK;
}

uint32_t PfGLDevice::GetTextureStageState(uint32_t stage, uint32_t type) const
{
    return (stage < PF_STAGE_COUNT && type < PF_STAGESTATE_COUNT) ? m_StageState[stage][type] : 0;
}

PfResult PfGLDevice::SetSamplerState(uint32_t stage, uint32_t type, uint32_t value)
{
    if (!m_DeviceCreated || stage >= PF_STAGE_COUNT || type == 0 || type > D3DSAMP_MAXANISOTROPY)
        return D3DERR_INVALIDCALL;
    if (m_SamplerState[stage][type] == value)
        return D3D_OK;
    FlushQuads();
    // Sent with the next draw (PrepareDraw), which a deferred frame may never make.
    m_SamplerState[stage][type] = value;
    return D3D_OK;
}

uint32_t PfGLDevice::GetSamplerState(uint32_t stage, uint32_t type) const
{
    return (stage < PF_STAGE_COUNT && type <= D3DSAMP_MAXANISOTROPY) ? m_SamplerState[stage][type] : 0;
}

PfResult PfGLDevice::SetTexture(uint32_t stage, PfGLTexture* texture)
{
    if (!m_DeviceCreated || stage >= PF_STAGE_COUNT)
        return D3DERR_INVALIDCALL;
    if (texture && (!texture->IsCreated() || texture->IsDepthStencil()))
        texture = nullptr;
    if ((m_Textures[stage] == nullptr) != (texture == nullptr))
        m_Dirty |= DIRTY_UNIFORMS;
    m_Textures[stage] = texture;
    return D3D_OK;
}

PfGLTexture* PfGLDevice::GetTexture(uint32_t stage) const
{
    return stage < PF_STAGE_COUNT ? m_Textures[stage] : nullptr;
}

PfResult PfGLDevice::SetTransform(uint32_t type, const D3DMATRIX& matrix)
{
    if (!m_DeviceCreated)
        return D3DERR_INVALIDCALL;
    switch (type)
    {
    case D3DTS_WORLD:
        m_World = matrix;
        break;
    case D3DTS_VIEW:
        m_View = matrix;
        break;
    case D3DTS_PROJECTION:
        m_Projection = matrix;
        break;
    default:
        return D3DERR_INVALIDCALL;
    }
    m_Dirty |= DIRTY_UNIFORMS;
    return D3D_OK;
}

PfResult PfGLDevice::SetLight(uint32_t index, const D3DLIGHT9& light)
{
    if (!m_DeviceCreated || index >= MAX_LIGHTS)
        return D3DERR_INVALIDCALL;
    m_Lights[index] = light;
    m_Dirty |= DIRTY_UNIFORMS;
    return D3D_OK;
}

PfResult PfGLDevice::LightEnable(uint32_t index, bool enable)
{
    if (!m_DeviceCreated || index >= MAX_LIGHTS)
        return D3DERR_INVALIDCALL;
    m_LightEnabled[index] = enable;
    m_Dirty |= DIRTY_UNIFORMS;
    return D3D_OK;
}

bool PfGLDevice::IsLightEnabled(uint32_t index) const
{
    return index < MAX_LIGHTS && m_LightEnabled[index];
}

PfResult PfGLDevice::SetMaterial(const D3DMATERIAL9& material)
{
    if (!m_DeviceCreated)
        return D3DERR_INVALIDCALL;
    m_Material = material;
    m_Dirty |= DIRTY_UNIFORMS;
    return D3D_OK;
}

PfResult PfGLDevice::SetSoftwareVertexProcessing(bool software)
{
    if (!m_DeviceCreated)
        return D3DERR_INVALIDCALL;
    m_SoftwareVertexProcessing = software;
    return D3D_OK;
}
