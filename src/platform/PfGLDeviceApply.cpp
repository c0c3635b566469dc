// State translation: the remembered states turned into OpenGL state, sampler parameters and the shader's
// uniforms, group by group as they were marked dirty, when a draw is prepared.
#include "platform/PfGLDevice.h"

#include "platform/PfGLDeviceConvert.h"
#include "platform/PfGLTexture.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cstring>

using PfGLDeviceConvert::BitsFloat;
using PfGLDeviceConvert::ColorToFloats;

namespace
{

GLenum BlendFactor(uint32_t blend)
{
    switch (blend)
    {
    case D3DBLEND_ZERO:
        return GL_ZERO;
    case D3DBLEND_ONE:
        return GL_ONE;
    case D3DBLEND_SRCCOLOR:
        return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR:
        return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA:
        return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA:
        return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA:
        return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA:
        return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR:
        return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR:
        return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT:
        return GL_SRC_ALPHA_SATURATE;
    case D3DBLEND_BLENDFACTOR:
        return GL_CONSTANT_COLOR;
    case D3DBLEND_INVBLENDFACTOR:
        return GL_ONE_MINUS_CONSTANT_COLOR;
    default:
        return GL_ONE;
    }
}

GLenum BlendEquation(uint32_t op)
{
    switch (op)
    {
    case D3DBLENDOP_SUBTRACT:
        return GL_FUNC_SUBTRACT; // source - destination
    case D3DBLENDOP_REVSUBTRACT:
        return GL_FUNC_REVERSE_SUBTRACT; // destination - source
    case D3DBLENDOP_MIN:
        return GL_MIN;
    case D3DBLENDOP_MAX:
        return GL_MAX;
    default:
        return GL_FUNC_ADD;
    }
}

GLenum CompareFunc(uint32_t func)
{
    switch (func)
    {
    case D3DCMP_NEVER:
        return GL_NEVER;
    case D3DCMP_LESS:
        return GL_LESS;
    case D3DCMP_EQUAL:
        return GL_EQUAL;
    case D3DCMP_LESSEQUAL:
        return GL_LEQUAL;
    case D3DCMP_GREATER:
        return GL_GREATER;
    case D3DCMP_NOTEQUAL:
        return GL_NOTEQUAL;
    case D3DCMP_GREATEREQUAL:
        return GL_GEQUAL;
    default:
        return GL_ALWAYS;
    }
}

GLenum StencilOp(uint32_t op)
{
    switch (op)
    {
    case D3DSTENCILOP_ZERO:
        return GL_ZERO;
    case D3DSTENCILOP_REPLACE:
        return GL_REPLACE;
    case D3DSTENCILOP_INCRSAT:
        return GL_INCR;
    case D3DSTENCILOP_DECRSAT:
        return GL_DECR;
    case D3DSTENCILOP_INVERT:
        return GL_INVERT;
    case D3DSTENCILOP_INCR:
        return GL_INCR_WRAP;
    case D3DSTENCILOP_DECR:
        return GL_DECR_WRAP;
    default:
        return GL_KEEP;
    }
}

GLenum AddressMode(uint32_t mode)
{
    switch (mode)
    {
    case D3DTADDRESS_MIRROR:
        return GL_MIRRORED_REPEAT;
    case D3DTADDRESS_CLAMP:
        return GL_CLAMP_TO_EDGE;
    case D3DTADDRESS_BORDER:
        return GL_CLAMP_TO_BORDER;
    case D3DTADDRESS_MIRRORONCE:
        return GL_CLAMP_TO_EDGE;
    default:
        return GL_REPEAT;
    }
}

} // namespace

void PfGLDevice::CreateSamplers()
{
    GLuint names[PF_STAGE_COUNT] = {};
    glGenSamplers(PF_STAGE_COUNT, names);
    for (uint32_t stage = 0; stage < PF_STAGE_COUNT; ++stage)
    {
        m_Samplers[stage] = names[stage];
        m_BoundSamplers[stage] = names[stage];
        glBindSampler(stage, names[stage]);
        ApplySampler(stage);
    }
}

void PfGLDevice::ApplySampler(uint32_t stage)
{
    const GLuint sampler = m_Samplers[stage];
    if (!sampler)
        return;
    const uint32_t* s = m_SamplerState[stage];
    std::memcpy(m_AppliedSamplerState[stage], s, sizeof(m_AppliedSamplerState[stage]));
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, (GLint)AddressMode(s[D3DSAMP_ADDRESSU]));
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, (GLint)AddressMode(s[D3DSAMP_ADDRESSV]));
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_R, (GLint)AddressMode(s[D3DSAMP_ADDRESSW]));
    float border[4];
    ColorToFloats(s[D3DSAMP_BORDERCOLOR], border);
    glSamplerParameterfv(sampler, GL_TEXTURE_BORDER_COLOR, border);
    const bool magLinear = s[D3DSAMP_MAGFILTER] >= D3DTEXF_LINEAR;
    const bool minLinear = s[D3DSAMP_MINFILTER] >= D3DTEXF_LINEAR;
    glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, magLinear ? GL_LINEAR : GL_NEAREST);
    GLint minFilter = minLinear ? GL_LINEAR : GL_NEAREST;
    if (s[D3DSAMP_MIPFILTER] == D3DTEXF_POINT)
        minFilter = minLinear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    else if (s[D3DSAMP_MIPFILTER] >= D3DTEXF_LINEAR)
        minFilter = minLinear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, minFilter);
    glSamplerParameterf(sampler, GL_TEXTURE_LOD_BIAS, BitsFloat(s[D3DSAMP_MIPMAPLODBIAS]));
    glSamplerParameterf(sampler, GL_TEXTURE_MIN_LOD, (float)s[D3DSAMP_MAXMIPLEVEL]);
    if (m_Adapter.MaxAnisotropy > 0.0f)
    {
        float anisotropy = 1.0f;
        if (s[D3DSAMP_MINFILTER] == D3DTEXF_ANISOTROPIC || s[D3DSAMP_MAGFILTER] == D3DTEXF_ANISOTROPIC)
            anisotropy = std::clamp((float)s[D3DSAMP_MAXANISOTROPY], 1.0f, m_Adapter.MaxAnisotropy);
        glSamplerParameterf(sampler, GL_TEXTURE_MAX_ANISOTROPY_EXT, anisotropy);
    }
}

void PfGLDevice::ApplySamplers()
{
    for (uint32_t stage = 0; stage < PF_STAGE_COUNT; ++stage)
        if (std::memcmp(m_AppliedSamplerState[stage], m_SamplerState[stage], sizeof(m_SamplerState[stage])) != 0)
            ApplySampler(stage);
}

void PfGLDevice::ApplyBlend()
{
    const uint32_t* rs = m_RenderState;
    if (rs[D3DRS_ALPHABLENDENABLE])
        glEnable(GL_BLEND);
    else
        glDisable(GL_BLEND);
    const GLenum colorEquation = BlendEquation(rs[D3DRS_BLENDOP]);
    GLenum src = BlendFactor(rs[D3DRS_SRCBLEND]);
    GLenum dst = BlendFactor(rs[D3DRS_DESTBLEND]);
    // The two "both" factors set source and destination together.
    if (rs[D3DRS_SRCBLEND] == D3DBLEND_BOTHSRCALPHA)
    {
        src = GL_SRC_ALPHA;
        dst = GL_ONE_MINUS_SRC_ALPHA;
    }
    else if (rs[D3DRS_SRCBLEND] == D3DBLEND_BOTHINVSRCALPHA)
    {
        src = GL_ONE_MINUS_SRC_ALPHA;
        dst = GL_SRC_ALPHA;
    }
    if (rs[D3DRS_SEPARATEALPHABLENDENABLE])
    {
        glBlendEquationSeparate(colorEquation, BlendEquation(rs[D3DRS_BLENDOPALPHA]));
        glBlendFuncSeparate(src, dst, BlendFactor(rs[D3DRS_SRCBLENDALPHA]), BlendFactor(rs[D3DRS_DESTBLENDALPHA]));
    }
    else
    {
        glBlendEquation(colorEquation);
        glBlendFunc(src, dst);
    }
    float factor[4];
    ColorToFloats(rs[D3DRS_BLENDFACTOR], factor);
    glBlendColor(factor[0], factor[1], factor[2], factor[3]);
}

void PfGLDevice::ApplyDepth()
{
    const uint32_t* rs = m_RenderState;
    // Without a depth buffer the depth test has nothing to test against: it is off.
    if (rs[D3DRS_ZENABLE] && m_AttachedDepth)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
    glDepthFunc(CompareFunc(rs[D3DRS_ZFUNC]));
    glDepthMask(rs[D3DRS_ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
    const float bias = BitsFloat(rs[D3DRS_DEPTHBIAS]);
    const float slope = BitsFloat(rs[D3DRS_SLOPESCALEDEPTHBIAS]);
    if (bias != 0.0f || slope != 0.0f)
    {
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(slope, bias * 16777215.0f);
    }
    else
        glDisable(GL_POLYGON_OFFSET_FILL);
}

void PfGLDevice::ApplyStencil()
{
    const uint32_t* rs = m_RenderState;
    if (rs[D3DRS_STENCILENABLE])
        glEnable(GL_STENCIL_TEST);
    else
        glDisable(GL_STENCIL_TEST);
    glStencilFunc(CompareFunc(rs[D3DRS_STENCILFUNC]), (GLint)rs[D3DRS_STENCILREF], rs[D3DRS_STENCILMASK]);
    glStencilOp(StencilOp(rs[D3DRS_STENCILFAIL]), StencilOp(rs[D3DRS_STENCILZFAIL]), StencilOp(rs[D3DRS_STENCILPASS]));
    glStencilMask(rs[D3DRS_STENCILWRITEMASK]);
}

void PfGLDevice::ApplyRaster()
{
    const uint32_t* rs = m_RenderState;
    // Rows run top first, which mirrors the picture for OpenGL: what the engine calls clockwise, OpenGL
    // sees as counter-clockwise, the front face of its default winding.
    switch (rs[D3DRS_CULLMODE])
    {
    case D3DCULL_CW:
        glEnable(GL_CULL_FACE);
        glCullFace(GL_FRONT);
        break;
    case D3DCULL_CCW:
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        break;
    default:
        glDisable(GL_CULL_FACE);
        break;
    }
    if (rs[D3DRS_MULTISAMPLEANTIALIAS])
        glEnable(GL_MULTISAMPLE);
    else
        glDisable(GL_MULTISAMPLE);
    const uint32_t fill = rs[D3DRS_FILLMODE];
    glPolygonMode(GL_FRONT_AND_BACK, fill == D3DFILL_POINT ? GL_POINT : fill == D3DFILL_WIREFRAME ? GL_LINE : GL_FILL);
    const uint32_t mask = rs[D3DRS_COLORWRITEENABLE];
    // Write-enable bits are red 1, green 2, blue 4, alpha 8.
    glColorMask((mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0, (mask & 8) != 0);
    if (rs[D3DRS_SCISSORTESTENABLE] || m_DamageClipActive)
    {
        // A partial redraw cuts every draw to the damaged region as well.
        PfRect r = rs[D3DRS_SCISSORTESTENABLE] ? m_ScissorRect : m_DamageClip;
        if (m_DamageClipActive)
            r = {std::max(r.left, m_DamageClip.left), std::max(r.top, m_DamageClip.top),
                 std::min(r.right, m_DamageClip.right), std::min(r.bottom, m_DamageClip.bottom)};
        glEnable(GL_SCISSOR_TEST);
        glScissor(r.left, r.top, std::max(0, r.right - r.left), std::max(0, r.bottom - r.top));
    }
    else
        glDisable(GL_SCISSOR_TEST);
}

uint32_t PfGLDevice::StageCount() const
{
    uint32_t count = 0;
    for (uint32_t stage = 0; stage < PF_STAGE_COUNT; ++stage)
    {
        if (m_StageState[stage][D3DTSS_COLOROP] == D3DTOP_DISABLE)
            break;
        if (stage > 0 && !m_Textures[stage])
            break;
        count = stage + 1;
    }
    return count;
}

uint32_t PfGLDevice::ShaderFeatures(bool preTransformed) const
{
    const uint32_t* rs = m_RenderState;
    uint32_t features = 0;
    if (rs[D3DRS_SPECULARENABLE])
    {
        // Unlit vertices pass their own specular colour (black without one); adding black changes nothing.
        const uint32_t fvf = ShaderFVF();
        const bool unlit = preTransformed || !rs[D3DRS_LIGHTING] || !(fvf & D3DFVF_NORMAL);
        if (!unlit || ((fvf & D3DFVF_SPECULAR) && !m_VertexSpecularBlack))
            features |= PfGLShader::FEATURE_SPECULAR;
    }
    if (rs[D3DRS_ALPHATESTENABLE] && rs[D3DRS_ALPHAFUNC] != D3DCMP_ALWAYS)
        features |= PfGLShader::FEATURE_ALPHA_TEST;
    if (rs[D3DRS_FOGENABLE] &&
        (rs[D3DRS_FOGTABLEMODE] != D3DFOG_NONE || rs[D3DRS_FOGVERTEXMODE] != D3DFOG_NONE || preTransformed))
        features |= PfGLShader::FEATURE_FOG;
    return features;
}

void PfGLDevice::NoteVertexSpecular(const void* vertices, uint32_t count, uint32_t stride)
{
    m_VertexSpecularBlack = false;
    const uint32_t fvf = m_FVF;
    if (!(fvf & D3DFVF_SPECULAR) || !vertices)
        return;
    // The same layout BindVertexLayout gives the attributes.
    uint32_t offset = (fvf & D3DFVF_POSITION_MASK) == D3DFVF_XYZRHW ? 16 : 12;
    if (fvf & D3DFVF_NORMAL)
        offset += 12;
    if (fvf & D3DFVF_PSIZE)
        offset += 4;
    if (fvf & D3DFVF_DIFFUSE)
        offset += 4;
    if (offset + 4 > stride)
        return;
    const uint8_t* bytes = (const uint8_t*)vertices + offset;
    for (uint32_t i = 0; i < count; ++i, bytes += stride)
    {
        uint32_t specular;
        std::memcpy(&specular, bytes, 4);
        // Packed ARGB: the specular alpha is not added (it carries the vertex fog factor).
        if (specular & 0x00FFFFFF)
            return;
    }
    m_VertexSpecularBlack = true;
}

void PfGLDevice::ApplyUniforms(bool preTransformed, uint32_t features)
{
    // The program for the active stages; every uniform below is then sent to it.
    const uint32_t stages = StageCount();
    const uint32_t* s0 = m_StageState[0];
    // On stage 0 the current colour is the diffuse colour.
    auto isDiffuse = [](uint32_t arg) { return arg == D3DTA_DIFFUSE || arg == D3DTA_CURRENT; };
    const bool modulate = stages == 1 && s0[D3DTSS_COLOROP] == D3DTOP_MODULATE &&
                          s0[D3DTSS_COLORARG1] == D3DTA_TEXTURE && isDiffuse(s0[D3DTSS_COLORARG2]) &&
                          s0[D3DTSS_ALPHAOP] == D3DTOP_MODULATE && s0[D3DTSS_ALPHAARG1] == D3DTA_TEXTURE &&
                          isDiffuse(s0[D3DTSS_ALPHAARG2]) && s0[D3DTSS_RESULTARG] != D3DTA_TEMP &&
                          (s0[D3DTSS_TEXCOORDINDEX] & 0xFFFF) == 0;
    m_Shader.Select(modulate ? PfGLShader::MODULATE_VARIANT : stages, features);
    const PfGLShader& sh = m_Shader;
    const uint32_t* rs = m_RenderState;
    auto loc = [&](PfGLShader::Uniform u) { return sh.GetLocation(u); };
    float c[4];

    glUniform1i(loc(PfGLShader::U_PRETRANSFORMED), preTransformed ? 1 : 0);
    glUniform4f(loc(PfGLShader::U_VIEWPORT), (float)m_Viewport.X, (float)m_Viewport.Y, (float)m_Viewport.Width,
                (float)m_Viewport.Height);
    glUniformMatrix4fv(loc(PfGLShader::U_WORLD), 1, GL_FALSE, &m_World.m[0][0]);
    glUniformMatrix4fv(loc(PfGLShader::U_VIEW), 1, GL_FALSE, &m_View.m[0][0]);
    glUniformMatrix4fv(loc(PfGLShader::U_PROJ), 1, GL_FALSE, &m_Projection.m[0][0]);
    // The eye lies where the inverse view sends the origin; for a rigid view that is -t R^T.
    const auto& v = m_View.m;
    float eye[3];
    for (int i = 0; i < 3; ++i)
        eye[i] = -(v[3][0] * v[i][0] + v[3][1] * v[i][1] + v[3][2] * v[i][2]);
    glUniform3fv(loc(PfGLShader::U_EYE), 1, eye);
    glUniform1i(loc(PfGLShader::U_LIGHTING), rs[D3DRS_LIGHTING] ? 1 : 0);
    ColorToFloats(rs[D3DRS_AMBIENT], c);
    glUniform4fv(loc(PfGLShader::U_AMBIENT), 1, c);
    glUniform4fv(loc(PfGLShader::U_MATDIFFUSE), 1, &m_Material.Diffuse.r);
    glUniform4fv(loc(PfGLShader::U_MATAMBIENT), 1, &m_Material.Ambient.r);
    glUniform4fv(loc(PfGLShader::U_MATSPECULAR), 1, &m_Material.Specular.r);
    glUniform4fv(loc(PfGLShader::U_MATEMISSIVE), 1, &m_Material.Emissive.r);
    glUniform1f(loc(PfGLShader::U_MATPOWER), m_Material.Power);
    auto source = [&](uint32_t state) { return rs[D3DRS_COLORVERTEX] ? (GLint)std::min(rs[state], 2u) : 0; };
    glUniform4i(loc(PfGLShader::U_MATSOURCES), source(D3DRS_DIFFUSEMATERIALSOURCE),
                source(D3DRS_SPECULARMATERIALSOURCE), source(D3DRS_AMBIENTMATERIALSOURCE),
                source(D3DRS_EMISSIVEMATERIALSOURCE));
    GLint enabled[SHADER_LIGHTS], type[SHADER_LIGHTS];
    float diffuse[SHADER_LIGHTS][4], specular[SHADER_LIGHTS][4], ambient[SHADER_LIGHTS][4];
    float position[SHADER_LIGHTS][3], direction[SHADER_LIGHTS][3], range[SHADER_LIGHTS], atten[SHADER_LIGHTS][3];
    for (uint32_t i = 0; i < SHADER_LIGHTS; ++i)
    {
        const D3DLIGHT9& l = m_Lights[i];
        enabled[i] = m_LightEnabled[i] ? 1 : 0;
        type[i] = (GLint)l.Type;
        std::memcpy(diffuse[i], &l.Diffuse, sizeof(diffuse[i]));
        std::memcpy(specular[i], &l.Specular, sizeof(specular[i]));
        std::memcpy(ambient[i], &l.Ambient, sizeof(ambient[i]));
        std::memcpy(position[i], &l.Position, sizeof(position[i]));
        std::memcpy(direction[i], &l.Direction, sizeof(direction[i]));
        range[i] = l.Range;
        atten[i][0] = l.Attenuation0;
        atten[i][1] = l.Attenuation1;
        atten[i][2] = l.Attenuation2;
    }
    glUniform1iv(loc(PfGLShader::U_LIGHTENABLED), SHADER_LIGHTS, enabled);
    glUniform1iv(loc(PfGLShader::U_LIGHTTYPE), SHADER_LIGHTS, type);
    glUniform4fv(loc(PfGLShader::U_LIGHTDIFFUSE), SHADER_LIGHTS, &diffuse[0][0]);
    glUniform4fv(loc(PfGLShader::U_LIGHTSPECULAR), SHADER_LIGHTS, &specular[0][0]);
    glUniform4fv(loc(PfGLShader::U_LIGHTAMBIENT), SHADER_LIGHTS, &ambient[0][0]);
    glUniform3fv(loc(PfGLShader::U_LIGHTPOSITION), SHADER_LIGHTS, &position[0][0]);
    glUniform3fv(loc(PfGLShader::U_LIGHTDIRECTION), SHADER_LIGHTS, &direction[0][0]);
    glUniform1fv(loc(PfGLShader::U_LIGHTRANGE), SHADER_LIGHTS, range);
    glUniform3fv(loc(PfGLShader::U_LIGHTATTEN), SHADER_LIGHTS, &atten[0][0]);

    const uint32_t fvf = ShaderFVF();
    glUniform1i(loc(PfGLShader::U_HASDIFFUSE), (fvf & D3DFVF_DIFFUSE) ? 1 : 0);
    glUniform1i(loc(PfGLShader::U_HASSPECULAR), (fvf & D3DFVF_SPECULAR) ? 1 : 0);
    glUniform1i(loc(PfGLShader::U_HASNORMAL), (fvf & D3DFVF_NORMAL) ? 1 : 0);

    GLint stageA[PF_STAGE_COUNT][4], stageB[PF_STAGE_COUNT][4];
    for (uint32_t i = 0; i < PF_STAGE_COUNT; ++i)
    {
        const uint32_t* ss = m_StageState[i];
        stageA[i][0] = (GLint)ss[D3DTSS_COLOROP];
        stageA[i][1] = (GLint)ss[D3DTSS_COLORARG1];
        stageA[i][2] = (GLint)ss[D3DTSS_COLORARG2];
        stageA[i][3] = (GLint)ss[D3DTSS_ALPHAOP];
        stageB[i][0] = (GLint)ss[D3DTSS_ALPHAARG1];
        stageB[i][1] = (GLint)ss[D3DTSS_ALPHAARG2];
        stageB[i][2] = (GLint)(ss[D3DTSS_TEXCOORDINDEX] & 0xFFFF);
        stageB[i][3] = ss[D3DTSS_RESULTARG] == D3DTA_TEMP ? 1 : 0;
    }
    glUniform1i(loc(PfGLShader::U_STAGECOUNT), (GLint)StageCount());
    glUniform4iv(loc(PfGLShader::U_STAGEA), PF_STAGE_COUNT, &stageA[0][0]);
    glUniform4iv(loc(PfGLShader::U_STAGEB), PF_STAGE_COUNT, &stageB[0][0]);
    ColorToFloats(rs[D3DRS_TEXTUREFACTOR], c);
    glUniform4fv(loc(PfGLShader::U_TFACTOR), 1, c);
    glUniform1i(loc(PfGLShader::U_SPECULARENABLE), rs[D3DRS_SPECULARENABLE] ? 1 : 0);
    glUniform1i(loc(PfGLShader::U_ALPHAFUNC), rs[D3DRS_ALPHATESTENABLE] ? (GLint)rs[D3DRS_ALPHAFUNC] : 0);
    glUniform1i(loc(PfGLShader::U_ALPHAREF), (GLint)(rs[D3DRS_ALPHAREF] & 0xFF));
    // Linear fog only: per pixel on depth when the table mode asks for it, else per vertex.
    GLint fogMode = 0;
    if (rs[D3DRS_FOGENABLE])
    {
        if (rs[D3DRS_FOGTABLEMODE] != D3DFOG_NONE)
            fogMode = 1;
        else if (rs[D3DRS_FOGVERTEXMODE] != D3DFOG_NONE || preTransformed)
            fogMode = 2;
    }
    glUniform1i(loc(PfGLShader::U_FOGMODE), fogMode);
    glUniform1f(loc(PfGLShader::U_FOGSTART), BitsFloat(rs[D3DRS_FOGSTART]));
    float fogEnd = BitsFloat(rs[D3DRS_FOGEND]);
    if (fogEnd == BitsFloat(rs[D3DRS_FOGSTART]))
        fogEnd += 1e-6f;
    glUniform1f(loc(PfGLShader::U_FOGEND), fogEnd);
    ColorToFloats(rs[D3DRS_FOGCOLOR], c);
    glUniform4fv(loc(PfGLShader::U_FOGCOLOR), 1, c);
}

void PfGLDevice::BindTextures()
{
    const uint32_t count = std::max(1u, StageCount());
    for (uint32_t stage = 0; stage < count; ++stage)
    {
        PfGLTexture* texture = m_Textures[stage];
        // A command played from the log whose texture changed since binds the copy of what it saw.
        const uint32_t held = texture && m_Replaying ? HeldCopy(texture, m_PlayedGenerations[stage]) : 0;
        if (texture && !held)
        {
            texture->UploadIfDirty();
            texture->Resolve();
        }
        // Bound at every draw: names of deleted textures come back for new ones, so a remembered binding
        // could point at an object that no longer exists.
        glActiveTexture(GL_TEXTURE0 + stage);
        glBindTexture(GL_TEXTURE_2D, held ? held : texture ? texture->GetGLName() : m_WhiteTexture);
        // A stage without a texture reads opaque white whatever its sampler states say: the stand-in is
        // read through no sampler object, by its own nearest, clamped filtering, so a border address mode
        // or a border colour left on the stage does not blend into it.
        const uint32_t sampler = texture ? m_Samplers[stage] : 0;
        if (m_BoundSamplers[stage] != sampler)
        {
            glBindSampler(stage, sampler);
            m_BoundSamplers[stage] = sampler;
        }
    }
    glActiveTexture(GL_TEXTURE0);
}

bool PfGLDevice::PrepareDraw(bool preTransformed)
{
    if (!m_DeviceCreated || !m_RenderTargets[0])
        return false;
    ApplyFramebuffer(DrawUsesDepth());
    ApplyViewport();
    if (m_Dirty & DIRTY_BLEND)
        ApplyBlend();
    if (m_Dirty & DIRTY_DEPTH)
        ApplyDepth();
    if (m_Dirty & DIRTY_STENCIL)
        ApplyStencil();
    if (m_Dirty & DIRTY_RASTER)
        ApplyRaster();
    // Pre-transformed vertices are not clipped by depth, as on devices that do not clip transformed
    // vertices: a screen-space sprite turned about x or y (a map laid flat) reaches z far outside 0..1
    // and would otherwise vanish. Its depth is clamped instead.
    const bool depthDirty = (m_Dirty & DIRTY_DEPTH) != 0;
    if (depthDirty || preTransformed != m_LastPreTransformed)
    {
        if (preTransformed)
            glEnable(GL_DEPTH_CLAMP);
        else
            glDisable(GL_DEPTH_CLAMP);
    }
    const uint32_t features = ShaderFeatures(preTransformed);
    if ((m_Dirty & DIRTY_UNIFORMS) || preTransformed != m_LastPreTransformed || features != m_LastFeatures)
        ApplyUniforms(preTransformed, features);
    m_LastPreTransformed = preTransformed;
    m_LastFeatures = features;
    // Vertices in memory say what they hold for the draw at hand only.
    m_VertexSpecularBlack = false;
    m_Dirty = 0;
    ApplySamplers();
    BindTextures();
    BumpTargetGenerations();
    glBindVertexArray(m_VertexArray);
    return true;
}
