// The damage search: where a frame that differs from the last one shown can differ in its pixels; the
// states under which a quad's pixels can be read from its vertices (the covering quad, a section of its
// own); and frames whose whole picture is one known colour (the last section).
//
// Each command acts on the pixels inside its reach only, and on each of them the same way whatever the
// other pixels hold (blending and the tests read the pixel's own values; the back buffer is never
// sampled). Two frames that both start with a whole clear therefore end with the same pixel wherever
// every command of one is matched by an equal command (the same record under the same state block, and
// so the same texture contents) of the other in the same order, and commands without a match reach
// nowhere. The commands are matched from the start and from the end; those left in between, in both
// frames, make the damage: the union of their reaches. A batch of quads matched against a batch under the
// same states is matched quad by quad, so a new glyph adds one quad's reach, not the line's.
//
// The reach of a draw is the box of its vertices after the transforms (for pre-transformed vertices, their
// screen positions), widened by two pixels for rasterisation and lines, cut to its viewport and scissor
// rectangle; that of a clear, its rectangles in its viewport. Points, vertices behind the eye or not
// finite reach the whole viewport. A frame whose draws use depth or stencil, draw into other targets,
// draw from buffers, sample the back buffer, or sample a texture another thread changed after the draw
// was written down, is drawn whole.
#include "platform/PfGLDevice.h"

#include "platform/PfGLTexture.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{

// A damaged region over more than this share of the back buffer is drawn whole.
constexpr int64_t kMaxDamageShareNumerator = 1;
constexpr int64_t kMaxDamageShareDenominator = 2;
// Rasterisation rules, line widths and filtering across a quad's edge stay within this margin.
constexpr float kReachMargin = 2.0f;

void Unite(PfRect& into, const PfRect& r)
{
    if (r.left >= r.right || r.top >= r.bottom)
        return;
    if (into.left >= into.right || into.top >= into.bottom)
    {
        into = r;
        return;
    }
    into.left = std::min(into.left, r.left);
    into.top = std::min(into.top, r.top);
    into.right = std::max(into.right, r.right);
    into.bottom = std::max(into.bottom, r.bottom);
}

PfRect Intersect(const PfRect& a, const PfRect& b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

PfRect ViewportRect(const D3DVIEWPORT9& v)
{
    return {(int32_t)v.X, (int32_t)v.Y, (int32_t)(v.X + v.Width), (int32_t)(v.Y + v.Height)};
}

// Row vector times matrix, as the transforms are written.
void Transform(const float in[4], const D3DMATRIX& m, float out[4])
{
    for (int c = 0; c < 4; ++c)
        out[c] = in[0] * m.m[0][c] + in[1] * m.m[1][c] + in[2] * m.m[2][c] + in[3] * m.m[3][c];
}

} // namespace

void PfGLDevice::ReadFrameLog(const std::vector<uint8_t>& log, std::vector<LoggedCommand>& commands)
{
    commands.clear();
    const uint8_t* at = log.data();
    const uint8_t* const end = at + log.size();
    const uint8_t* state = nullptr;
    while (at < end)
    {
        LoggedCommand c;
        c.Record = at;
        std::memcpy(&c.Op, at, sizeof(c.Op));
        at += sizeof(c.Op);
        if (c.Op == FrameOp::STATE)
        {
            state = at;
            at += sizeof(FrameState);
            continue;
        }
        std::memcpy(&c.Args, at, sizeof(c.Args));
        at += sizeof(c.Args);
        std::memcpy(&c.Bytes, at, sizeof(c.Bytes));
        at += sizeof(c.Bytes);
        std::memcpy(&c.Bytes2, at, sizeof(c.Bytes2));
        at += sizeof(c.Bytes2);
        c.Data = at;
        c.Data2 = at + c.Bytes;
        at += (size_t)c.Bytes + c.Bytes2;
        c.RecordBytes = (size_t)(at - c.Record);
        c.State = c.Op == FrameOp::CLEAR ? nullptr : state;
        commands.push_back(c);
    }
}

bool PfGLDevice::SameCommand(const LoggedCommand& a, const LoggedCommand& b)
{
    if (a.RecordBytes != b.RecordBytes || std::memcmp(a.Record, b.Record, a.RecordBytes) != 0)
        return false;
    if (!a.State || !b.State)
        return a.State == b.State;
    return a.State == b.State || std::memcmp(a.State, b.State, sizeof(FrameState)) == 0;
}

bool PfGLDevice::AddCommandReach(const LoggedCommand& command, uint32_t firstQuad, uint32_t quadCount,
                                 PfRect& damage) const
{
    if (command.Op == FrameOp::CLEAR)
    {
        ClearTarget target;
        std::memcpy(&target, command.Data2, sizeof(target));
        const PfRect viewport = ViewportRect(target.Viewport);
        const uint32_t count = command.Bytes / sizeof(PfRect);
        if (count == 0)
            Unite(damage, viewport);
        for (uint32_t i = 0; i < count; ++i)
        {
            PfRect r;
            std::memcpy(&r, command.Data + i * sizeof(PfRect), sizeof(r));
            Unite(damage, Intersect(r, viewport));
        }
        return true;
    }
    if (!command.State)
        return false;
    FrameState s;
    std::memcpy(&s, command.State, sizeof(s));
    PfRect limit = ViewportRect(s.Viewport);
    if (s.RenderState[D3DRS_SCISSORTESTENABLE])
        limit = Intersect(limit, s.ScissorRect);
    if (limit.left >= limit.right || limit.top >= limit.bottom)
        return true;

    uint32_t stride = 0, first = 0, count = 0;
    D3DPRIMITIVETYPE type = D3DPT_TRIANGLELIST;
    switch (command.Op)
    {
    case FrameOp::DRAW_UP:
        type = (D3DPRIMITIVETYPE)command.Args.A[0];
        stride = command.Args.A[2];
        break;
    case FrameOp::DRAW_INDEXED_UP:
        type = (D3DPRIMITIVETYPE)command.Args.A[0];
        stride = command.Args.A[5];
        break;
    case FrameOp::DRAW_QUADS:
        stride = command.Args.A[1];
        first = firstQuad * 4;
        count = quadCount * 4;
        break;
    default:
        return false;
    }
    const bool preTransformed = (s.FVF & D3DFVF_POSITION_MASK) == D3DFVF_XYZRHW;
    const uint32_t positionBytes = preTransformed ? 16 : 12;
    if (stride < positionBytes || (s.FVF & D3DFVF_POSITION_MASK) == 0)
        return false;
    if (command.Op != FrameOp::DRAW_QUADS)
        count = command.Bytes / stride;
    if ((uint64_t)(first + count) * stride > command.Bytes)
        return false;
    // Points are as large as their size states say; whatever that is, they stay in the viewport.
    if (type == D3DPT_POINTLIST || s.RenderState[D3DRS_FILLMODE] == D3DFILL_POINT)
    {
        Unite(damage, limit);
        return true;
    }
    D3DMATRIX worldView = {}, worldViewProjection = {};
    if (!preTransformed)
    {
        for (int r = 0; r < 4; ++r)
        {
            Transform(s.World.m[r], s.View, worldView.m[r]);
            Transform(worldView.m[r], s.Projection, worldViewProjection.m[r]);
        }
    }
    const float vx = (float)s.Viewport.X, vy = (float)s.Viewport.Y;
    const float vw = (float)s.Viewport.Width, vh = (float)s.Viewport.Height;
    float minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (uint32_t i = 0; i < count; ++i)
    {
        float p[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        std::memcpy(p, command.Data + (size_t)(first + i) * stride, positionBytes);
        float x, y;
        if (preTransformed)
        {
            // Screen positions; the pixel centres lie half a pixel in. A negative reciprocal w puts the
            // vertex behind the eye.
            if (p[3] < 0.0f)
            {
                Unite(damage, limit);
                return true;
            }
            x = p[0] + 0.5f;
            y = p[1] + 0.5f;
        }
        else
        {
            p[3] = 1.0f;
            float clip[4];
            Transform(p, worldViewProjection, clip);
            if (!(clip[3] > 1e-6f))
            {
                Unite(damage, limit);
                return true;
            }
            x = vx + (clip[0] / clip[3] + 1.0f) * 0.5f * vw + 0.5f;
            y = vy + (1.0f - clip[1] / clip[3]) * 0.5f * vh + 0.5f;
        }
        if (!std::isfinite(x) || !std::isfinite(y))
        {
            Unite(damage, limit);
            return true;
        }
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
    }
    if (count == 0)
        return true;
    auto clampToInt = [](float v) { return (int32_t)std::clamp(v, -1.0e8f, 1.0e8f); };
    const PfRect reach = {clampToInt(std::floor(minX - kReachMargin)), clampToInt(std::floor(minY - kReachMargin)),
                          clampToInt(std::ceil(maxX + kReachMargin)), clampToInt(std::ceil(maxY + kReachMargin))};
    Unite(damage, Intersect(reach, limit));
    return true;
}

bool PfGLDevice::FindFrameDamage(PfRect& damage)
{
    damage = {};
    const PfGLTexture* backBuffer = m_ImplicitChain.GetBackBuffer();
    if (!backBuffer)
        return false;
    ReadFrameLog(m_ReferenceLog, m_ReferenceCommands);
    ReadFrameLog(m_FrameLog, m_FrameCommands);
    // Depth and stencil keep values outside the region, and a sampled back buffer reads them: drawn whole.
    for (const std::vector<LoggedCommand>* commands : {&m_ReferenceCommands, &m_FrameCommands})
        for (const LoggedCommand& c : *commands)
        {
            if (c.Op == FrameOp::CLEAR)
            {
                // Clears of other targets: the frame is drawn whole.
                ClearTarget target;
                std::memcpy(&target, c.Data2, sizeof(target));
                if (target.Target != backBuffer)
                    return false;
            }
            if (!c.State)
                continue;
            FrameState s;
            std::memcpy(&s, c.State, sizeof(s));
            if (s.RenderTargets[0] != backBuffer ||
                (s.DepthStencil && (s.RenderState[D3DRS_ZENABLE] || s.RenderState[D3DRS_STENCILENABLE])))
                return false;
            for (uint32_t stage = 0; stage < PF_STAGE_COUNT; ++stage)
            {
                const PfGLTexture* texture = s.Textures[stage];
                if (texture == backBuffer)
                    return false;
                // This frame's textures hold what its commands were written with, or left a copy of it;
                // another thread's change since then is drawn whole.
                if (commands == &m_FrameCommands && texture &&
                    texture->GetContentGeneration() != s.TextureGenerations[stage] &&
                    !HeldCopy(texture, s.TextureGenerations[stage]))
                    return false;
            }
        }
    const std::vector<LoggedCommand>& before = m_ReferenceCommands;
    const std::vector<LoggedCommand>& now = m_FrameCommands;
    size_t head = 0;
    while (head < before.size() && head < now.size() && SameCommand(before[head], now[head]))
        ++head;
    size_t tail = 0;
    while (tail < before.size() - head && tail < now.size() - head &&
           SameCommand(before[before.size() - 1 - tail], now[now.size() - 1 - tail]))
        ++tail;
    const size_t beforeCount = before.size() - head - tail, nowCount = now.size() - head - tail;
    for (size_t i = 0; i < std::max(beforeCount, nowCount); ++i)
    {
        const LoggedCommand* a = i < beforeCount ? &before[head + i] : nullptr;
        const LoggedCommand* b = i < nowCount ? &now[head + i] : nullptr;
        const bool quadPair = a && b && a->Op == FrameOp::DRAW_QUADS && b->Op == FrameOp::DRAW_QUADS &&
                              a->Args.A[1] == b->Args.A[1] && a->State && b->State &&
                              std::memcmp(a->State, b->State, sizeof(FrameState)) == 0;
        if (quadPair)
        {
            // Quads matched from the batches' starts and ends; those in between reach the damage.
            const uint32_t quadBytes = a->Args.A[1] * 4;
            const uint32_t na = a->Args.A[0], nb = b->Args.A[0];
            uint32_t qh = 0, qt = 0;
            while (qh < na && qh < nb &&
                   std::memcmp(a->Data + (size_t)qh * quadBytes, b->Data + (size_t)qh * quadBytes, quadBytes) == 0)
                ++qh;
            while (qt < na - qh && qt < nb - qh &&
                   std::memcmp(a->Data + (size_t)(na - 1 - qt) * quadBytes, b->Data + (size_t)(nb - 1 - qt) * quadBytes,
                               quadBytes) == 0)
                ++qt;
            if (!AddCommandReach(*a, qh, na - qh - qt, damage) || !AddCommandReach(*b, qh, nb - qh - qt, damage))
                return false;
            continue;
        }
        if ((a && !AddCommandReach(*a, 0, a->Op == FrameOp::DRAW_QUADS ? a->Args.A[0] : 0, damage)) ||
            (b && !AddCommandReach(*b, 0, b->Op == FrameOp::DRAW_QUADS ? b->Args.A[0] : 0, damage)))
            return false;
    }
    damage = Intersect(damage, {0, 0, (int32_t)backBuffer->GetWidth(), (int32_t)backBuffer->GetHeight()});
    if (damage.left >= damage.right || damage.top >= damage.bottom)
        damage = {};
    const int64_t area = (int64_t)(damage.right - damage.left) * (damage.bottom - damage.top);
    const int64_t whole = (int64_t)backBuffer->GetWidth() * backBuffer->GetHeight();
    return area * kMaxDamageShareDenominator <= whole * kMaxDamageShareNumerator;
}

bool PfGLDevice::ReadBackRegion(const PfRect& region, std::vector<uint8_t>& pixels)
{
    PfGLTexture* backBuffer = m_ImplicitChain.GetBackBuffer();
    // A multisampled back buffer would have to be resolved first: not worth it for this.
    if (!backBuffer || backBuffer->GetMultisampleBuffer() || region.left >= region.right ||
        region.top >= region.bottom)
        return false;
    const GLsizei w = region.right - region.left, h = region.bottom - region.top;
    pixels.resize((size_t)w * h * 4);
    GLint previous = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previous);
    if (!m_ReadFramebuffer)
        glGenFramebuffers(1, &m_ReadFramebuffer);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m_ReadFramebuffer);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, backBuffer->GetGLName(), 0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glReadPixels(region.left, region.top, w, h, GL_BGRA, GL_UNSIGNED_BYTE, pixels.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, (GLuint)previous);
    return glGetError() == GL_NO_ERROR;
}

// [SECTION] the states the rules model
//
// Two rules read a frame's picture from its commands rather than from its pixels: the covering quad (a quad
// over the whole back buffer that replaces every pixel lets the frame drop what came before it) and the
// colour point (below). Each reads a pre-transformed quad's vertices and the few states it follows itself;
// its reading holds only where every other state has the value it takes for granted. The table below holds
// both columns, one line per state the device knows; a state it does not name must keep its initial value
// (0), so a state added to the device later refuses both rules until it is named here.

namespace
{

// The values a rule accepts of a state: any, or those of a set (each below 32).
struct Accepts
{
    bool Any;
    uint32_t Values;
};
constexpr Accepts ANY = {true, 0};
template <typename... V> constexpr Accepts Only(V... values)
{
    return {false, ((1u << (uint32_t)values) | ...)};
}

enum class StateGroup : uint8_t
{
    RENDER,
    STAGE,   // of the first stage; of later ones the rules ask only that they be off where that matters
    SAMPLER, // of the first stage, where it has a texture
};

// COVERING: the quad writes every pixel of the back buffer, and (FirstCoveringQuad) from its own vertices
// alone. The colour point asks the same of a quad that covers. ONE_COLOUR: the pixels a quad writes have
// the colour QuadSourceColour reads from its vertices, first stage and blend.
struct ModelledState
{
    StateGroup Group;
    uint32_t State;
    Accepts Covering;
    Accepts OneColour;
};

constexpr StateGroup RS = StateGroup::RENDER, TSS = StateGroup::STAGE, SAMP = StateGroup::SAMPLER;
constexpr ModelledState kModelledStates[] = {
    // Depth and stencil in use refuse both rules (RulesModel); otherwise these do nothing.
    {RS, D3DRS_ZENABLE, ANY, ANY},
    {RS, D3DRS_ZWRITEENABLE, ANY, ANY},
    {RS, D3DRS_ZFUNC, ANY, ANY},
    {RS, D3DRS_DEPTHBIAS, ANY, ANY},
    {RS, D3DRS_SLOPESCALEDEPTHBIAS, ANY, ANY},
    {RS, D3DRS_STENCILENABLE, ANY, ANY},
    {RS, D3DRS_STENCILFAIL, ANY, ANY},
    {RS, D3DRS_STENCILZFAIL, ANY, ANY},
    {RS, D3DRS_STENCILPASS, ANY, ANY},
    {RS, D3DRS_STENCILFUNC, ANY, ANY},
    {RS, D3DRS_STENCILREF, ANY, ANY},
    {RS, D3DRS_STENCILMASK, ANY, ANY},
    {RS, D3DRS_STENCILWRITEMASK, ANY, ANY},
    // Where a quad writes. The fan (top-left, bottom-left, bottom-right, top-right) turns counter-clockwise
    // on the screen: culling counter-clockwise faces leaves nothing drawn. Whatever does not cover the
    // back buffer keeps the colour point only where it writes the colour held (FindColourPoint).
    {RS, D3DRS_FILLMODE, Only(D3DFILL_SOLID), ANY},
    {RS, D3DRS_CULLMODE, Only(D3DCULL_NONE, D3DCULL_CW), ANY},
    {RS, D3DRS_SCISSORTESTENABLE, Only(0), ANY},
    {RS, D3DRS_ALPHATESTENABLE, Only(0), ANY},
    {RS, D3DRS_ALPHAFUNC, ANY, ANY},
    {RS, D3DRS_ALPHAREF, ANY, ANY},
    {RS, D3DRS_COLORWRITEENABLE, Only(0xF), ANY},
    // The last pixel of lines, and multisampling: a quad over every pixel covers each of its samples, and
    // the colour point is not looked for in a multisampled back buffer.
    {RS, D3DRS_LASTPIXEL, ANY, ANY},
    {RS, D3DRS_MULTISAMPLEANTIALIAS, ANY, ANY},
    // Blending: followed by each rule itself (FirstCoveringQuad, BlendOf).
    {RS, D3DRS_ALPHABLENDENABLE, ANY, ANY},
    {RS, D3DRS_SRCBLEND, ANY, ANY},
    {RS, D3DRS_DESTBLEND, ANY, ANY},
    {RS, D3DRS_BLENDOP, ANY, ANY},
    {RS, D3DRS_SEPARATEALPHABLENDENABLE, ANY, ANY},
    {RS, D3DRS_SRCBLENDALPHA, ANY, ANY},
    {RS, D3DRS_DESTBLENDALPHA, ANY, ANY},
    {RS, D3DRS_BLENDOPALPHA, ANY, ANY},
    {RS, D3DRS_BLENDFACTOR, ANY, ANY},
    // The colour: the covering quad's does not matter (fog and specular leave alpha as it is); the colour
    // point follows the texture factor and a black specular colour, not fog.
    {RS, D3DRS_TEXTUREFACTOR, ANY, ANY},
    {RS, D3DRS_SPECULARENABLE, ANY, ANY},
    {RS, D3DRS_FOGENABLE, ANY, Only(0)},
    {RS, D3DRS_FOGCOLOR, ANY, ANY},
    {RS, D3DRS_FOGTABLEMODE, ANY, ANY},
    {RS, D3DRS_FOGVERTEXMODE, ANY, ANY},
    {RS, D3DRS_FOGSTART, ANY, ANY},
    {RS, D3DRS_FOGEND, ANY, ANY},
    {RS, D3DRS_FOGDENSITY, ANY, ANY},
    {RS, D3DRS_RANGEFOGENABLE, ANY, ANY},
    // Pre-transformed vertices are neither lit nor clipped (their depth is clamped); shading and dithering
    // are not applied, and vertices of one colour shade alike.
    {RS, D3DRS_LIGHTING, ANY, ANY},
    {RS, D3DRS_AMBIENT, ANY, ANY},
    {RS, D3DRS_COLORVERTEX, ANY, ANY},
    {RS, D3DRS_LOCALVIEWER, ANY, ANY},
    {RS, D3DRS_NORMALIZENORMALS, ANY, ANY},
    {RS, D3DRS_DIFFUSEMATERIALSOURCE, ANY, ANY},
    {RS, D3DRS_SPECULARMATERIALSOURCE, ANY, ANY},
    {RS, D3DRS_AMBIENTMATERIALSOURCE, ANY, ANY},
    {RS, D3DRS_EMISSIVEMATERIALSOURCE, ANY, ANY},
    {RS, D3DRS_CLIPPING, ANY, ANY},
    {RS, D3DRS_SHADEMODE, ANY, ANY},
    {RS, D3DRS_DITHERENABLE, ANY, ANY},
    // The first stage: its operations and arguments are followed (the covering quad's alpha where it
    // blends, the colour point's colour); coordinates do not change a texture of one colour, and only the
    // operations neither rule follows read the third arguments and the constant. Its result is the
    // pixel's: kept aside in the temporary register, the pixel is the diffuse colour.
    {TSS, D3DTSS_COLOROP, ANY, ANY},
    {TSS, D3DTSS_COLORARG1, ANY, ANY},
    {TSS, D3DTSS_COLORARG2, ANY, ANY},
    {TSS, D3DTSS_ALPHAOP, ANY, ANY},
    {TSS, D3DTSS_ALPHAARG1, ANY, ANY},
    {TSS, D3DTSS_ALPHAARG2, ANY, ANY},
    {TSS, D3DTSS_TEXCOORDINDEX, ANY, ANY},
    {TSS, D3DTSS_TEXTURETRANSFORMFLAGS, ANY, ANY},
    {TSS, D3DTSS_COLORARG0, ANY, ANY},
    {TSS, D3DTSS_ALPHAARG0, ANY, ANY},
    {TSS, D3DTSS_CONSTANT, ANY, ANY},
    {TSS, D3DTSS_RESULTARG, Only(D3DTA_CURRENT), Only(D3DTA_CURRENT)},
    // Its texture: every texel and level of a texture of one colour is that colour, but the border's is
    // another.
    {SAMP, D3DSAMP_ADDRESSU, ANY,
     Only(D3DTADDRESS_WRAP, D3DTADDRESS_MIRROR, D3DTADDRESS_CLAMP, D3DTADDRESS_MIRRORONCE)},
    {SAMP, D3DSAMP_ADDRESSV, ANY,
     Only(D3DTADDRESS_WRAP, D3DTADDRESS_MIRROR, D3DTADDRESS_CLAMP, D3DTADDRESS_MIRRORONCE)},
    {SAMP, D3DSAMP_ADDRESSW, ANY, ANY},
    {SAMP, D3DSAMP_BORDERCOLOR, ANY, ANY},
    {SAMP, D3DSAMP_MAGFILTER, ANY, ANY},
    {SAMP, D3DSAMP_MINFILTER, ANY, ANY},
    {SAMP, D3DSAMP_MIPFILTER, ANY, ANY},
    {SAMP, D3DSAMP_MIPMAPLODBIAS, ANY, ANY},
    {SAMP, D3DSAMP_MAXMIPLEVEL, ANY, ANY},
    {SAMP, D3DSAMP_MAXANISOTROPY, ANY, ANY},
};

enum QuadRule : uint32_t
{
    COVERING,
    ONE_COLOUR,
    QUAD_RULE_COUNT,
};
constexpr uint32_t kSamplerStateCount = 14;

// The table by state, each state not named at its initial value.
struct RuleTable
{
    Accepts Render[PF_RENDERSTATE_COUNT];
    Accepts Stage[PF_STAGESTATE_COUNT];
    Accepts Sampler[kSamplerStateCount];
};
struct RuleTables
{
    RuleTable Rule[QUAD_RULE_COUNT];
};
constexpr RuleTables BuildRuleTables()
{
    RuleTables tables = {};
    for (RuleTable& table : tables.Rule)
    {
        for (Accepts& a : table.Render)
            a = Only(0);
        for (Accepts& a : table.Stage)
            a = Only(0);
        for (Accepts& a : table.Sampler)
            a = Only(0);
    }
    for (const ModelledState& m : kModelledStates)
        for (uint32_t rule = 0; rule < QUAD_RULE_COUNT; ++rule)
        {
            RuleTable& table = tables.Rule[rule];
            Accepts& a = m.Group == StateGroup::RENDER  ? table.Render[m.State]
                         : m.Group == StateGroup::STAGE ? table.Stage[m.State]
                                                        : table.Sampler[m.State];
            a = rule == COVERING ? m.Covering : m.OneColour;
        }
    return tables;
}
constexpr RuleTables kRuleTables = BuildRuleTables();

bool Accepted(const Accepts& a, uint32_t value)
{
    return a.Any || (value < 32 && ((a.Values >> value) & 1));
}

// The states a quad is drawn under, read in place from the device or from a state block.
struct QuadStates
{
    const uint32_t* RenderState;
    const uint32_t (*StageState)[PF_STAGESTATE_COUNT];
    const uint32_t (*SamplerState)[kSamplerStateCount];
    PfGLTexture* const* Textures;
    const PfGLTexture* DepthStencil;
    const D3DVIEWPORT9& Viewport;
    uint32_t FVF;
};

// The vertex layout bits the rules read: a pre-transformed position, a normal (skipped), a point size
// (skipped), the diffuse and specular colours and texture coordinates (after the colours).
constexpr uint32_t kKnownFVF =
    D3DFVF_POSITION_MASK | D3DFVF_NORMAL | D3DFVF_PSIZE | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEXCOUNT_MASK;

// Where the diffuse colour lies in a pre-transformed vertex, as the device lays the attributes out.
uint32_t DiffuseOffset(uint32_t fvf)
{
    return 16 + ((fvf & D3DFVF_NORMAL) ? 12 : 0) + ((fvf & D3DFVF_PSIZE) ? 4 : 0);
}

// Whether the rule's reading of a quad holds under these states, into a back buffer of this size.
bool RulesModel(QuadRule rule, const QuadStates& s, uint32_t width, uint32_t height)
{
    const RuleTable& table = kRuleTables.Rule[rule];
    const uint32_t* rs = s.RenderState;
    for (uint32_t i = 0; i < PF_RENDERSTATE_COUNT; ++i)
        if (!Accepted(table.Render[i], rs[i]))
            return false;
    for (uint32_t i = 0; i < PF_STAGESTATE_COUNT; ++i)
        if (!Accepted(table.Stage[i], s.StageState[0][i]))
            return false;
    // A stage without a texture reads white through no sampler (BindTextures): its sampler states matter
    // only with a texture.
    for (uint32_t i = 0; s.Textures[0] && i < kSamplerStateCount; ++i)
        if (!Accepted(table.Sampler[i], s.SamplerState[0][i]))
            return false;
    if ((s.FVF & D3DFVF_POSITION_MASK) != D3DFVF_XYZRHW || !(s.FVF & D3DFVF_DIFFUSE) || (s.FVF & ~kKnownFVF) ||
        (s.DepthStencil && (rs[D3DRS_ZENABLE] || rs[D3DRS_STENCILENABLE])))
        return false;
    if (rule == COVERING)
        return s.Viewport.X == 0 && s.Viewport.Y == 0 && s.Viewport.Width >= width && s.Viewport.Height >= height;
    // The first stage alone, as the shader's cascade runs it: a later one with a texture takes part.
    return s.StageState[0][D3DTSS_COLOROP] != D3DTOP_DISABLE &&
           !(s.Textures[1] && s.StageState[1][D3DTSS_COLOROP] != D3DTOP_DISABLE);
}

// How a quad's source meets the pixel under it: written as it is, laid over it by the source's alpha, or
// otherwise. alphaCounts: the alpha channel's own blend counts too (else only the colour's is read).
enum class QuadBlend
{
    SOURCE,
    OVER,
    OTHER,
};
QuadBlend BlendOf(const uint32_t* rs, bool alphaCounts)
{
    if (!rs[D3DRS_ALPHABLENDENABLE])
        return QuadBlend::SOURCE;
    // One times the source, zero times the destination, added or subtracted: MIN, MAX and REVSUBTRACT
    // ignore the factors or turn the source around.
    auto source = [](uint32_t src, uint32_t dest, uint32_t op)
    { return src == D3DBLEND_ONE && dest == D3DBLEND_ZERO && (op == D3DBLENDOP_ADD || op == D3DBLENDOP_SUBTRACT); };
    const bool alphaApart = alphaCounts && rs[D3DRS_SEPARATEALPHABLENDENABLE];
    if (source(rs[D3DRS_SRCBLEND], rs[D3DRS_DESTBLEND], rs[D3DRS_BLENDOP]) &&
        (!alphaApart || source(rs[D3DRS_SRCBLENDALPHA], rs[D3DRS_DESTBLENDALPHA], rs[D3DRS_BLENDOPALPHA])))
        return QuadBlend::SOURCE;
    if (!alphaApart && rs[D3DRS_BLENDOP] == D3DBLENDOP_ADD && rs[D3DRS_SRCBLEND] == D3DBLEND_SRCALPHA &&
        rs[D3DRS_DESTBLEND] == D3DBLEND_INVSRCALPHA)
        return QuadBlend::OVER;
    return QuadBlend::OTHER;
}

// Whether a draw's colour depends on the alpha the back buffer holds.
bool ReadsDestinationAlpha(const uint32_t* rs)
{
    auto reads = [](uint32_t factor)
    { return factor == D3DBLEND_DESTALPHA || factor == D3DBLEND_INVDESTALPHA || factor == D3DBLEND_SRCALPHASAT; };
    return rs[D3DRS_ALPHABLENDENABLE] && (reads(rs[D3DRS_SRCBLEND]) || reads(rs[D3DRS_DESTBLEND]));
}

// How far past the back buffer's edges a covering quad's corners may lie, in sizes of the back buffer. Its
// clip coordinates then stay within a few units, which any rasteriser clips and fills exactly; corners far
// out are not drawn whole (at 1e30 a software rasteriser fills half the target, at infinity nothing).
constexpr float kCoverReach = 1.0f;

// The reciprocal w a covering quad's corners may have. The device draws a pre-transformed vertex at
// w = 1 / rhw, so the clip coordinates scale with w: a tiny w underflows (at rhw 1e38 nothing is drawn) and a
// huge one loses the colour's interpolation (at rhw 2e-38 the quad comes out black). Within 2^-16..2^16 both
// stay a few orders of magnitude from float's limits; a 2D quad has rhw 1.
constexpr float kRhwLeast = 1.0f / 65536.0f, kRhwMost = 65536.0f;

// Whether a pre-transformed quad (fan order: top-left, bottom-left, bottom-right, top-right) is drawn over
// every pixel of a width x height back buffer: its corners past the outer pixel centres, finite and within
// reach, its depth inside the range and its reciprocal w within bounds.
bool QuadCoversTarget(const uint8_t* quad, uint32_t stride, uint32_t width, uint32_t height)
{
    const float right = (float)width - 0.5f, bottom = (float)height - 0.5f;
    const float reachX = (float)width * kCoverReach, reachY = (float)height * kCoverReach;
    float p[4][4];
    for (uint32_t v = 0; v < 4; ++v)
    {
        std::memcpy(p[v], quad + (size_t)v * stride, sizeof(p[v]));
        // Each test fails for NaN.
        if (!(p[v][0] >= -0.5f - reachX && p[v][0] <= right + reachX && p[v][1] >= -0.5f - reachY &&
              p[v][1] <= bottom + reachY && p[v][2] >= 0.0f && p[v][2] <= 1.0f && p[v][3] >= kRhwLeast &&
              p[v][3] <= kRhwMost))
            return false;
    }
    return p[0][0] <= -0.5f && p[1][0] <= -0.5f && p[2][0] >= right && p[3][0] >= right && p[0][1] <= -0.5f &&
           p[3][1] <= -0.5f && p[1][1] >= bottom && p[2][1] >= bottom;
}

} // namespace

uint32_t PfGLDevice::FirstCoveringQuad(uint32_t quadCount, const uint8_t* vertices, uint32_t stride) const
{
    // The states under which a quad's pixels do not depend on what the back buffer held: written whole,
    // untested, and blended (if at all) so that an opaque source replaces the destination.
    const uint32_t* rs = m_RenderState;
    const PfGLTexture* target = m_RenderTargets[0];
    if (!target ||
        !RulesModel(COVERING,
                    {m_RenderState, m_StageState, m_SamplerState, m_Textures, m_DepthStencil, m_Viewport, m_FVF},
                    target->GetWidth(), target->GetHeight()))
        return quadCount;
    const bool blended = BlendOf(rs, true) != QuadBlend::SOURCE;
    if (blended)
    {
        // The source's alpha is the vertices' alone: no texture on the first two stages, and the first
        // stage's alpha taken from the diffuse colour (or the first stage's opaque white) unmodified.
        const uint32_t op = m_StageState[0][D3DTSS_ALPHAOP];
        auto plain = [](uint32_t arg) { return arg == D3DTA_DIFFUSE || arg == D3DTA_CURRENT || arg == D3DTA_TEXTURE; };
        if (m_Textures[0] || m_Textures[1] || rs[D3DRS_SEPARATEALPHABLENDENABLE] ||
            rs[D3DRS_BLENDOP] != D3DBLENDOP_ADD ||
            !(rs[D3DRS_SRCBLEND] == D3DBLEND_SRCALPHA || rs[D3DRS_SRCBLEND] == D3DBLEND_ONE) ||
            !(rs[D3DRS_DESTBLEND] == D3DBLEND_INVSRCALPHA || rs[D3DRS_DESTBLEND] == D3DBLEND_ZERO) ||
            !(op == D3DTOP_MODULATE || op == D3DTOP_SELECTARG1 || op == D3DTOP_SELECTARG2) ||
            !plain(m_StageState[0][D3DTSS_ALPHAARG1]) || !plain(m_StageState[0][D3DTSS_ALPHAARG2]))
            return quadCount;
    }
    const uint32_t diffuseOffset = DiffuseOffset(m_FVF);
    if (stride < diffuseOffset + 4)
        return quadCount;
    for (uint32_t q = quadCount; q-- > 0;)
    {
        const uint8_t* quad = vertices + (size_t)q * 4 * stride;
        bool opaque = true;
        for (uint32_t v = 0; v < 4 && blended; ++v)
        {
            uint32_t diffuse = 0;
            std::memcpy(&diffuse, quad + (size_t)v * stride + diffuseOffset, sizeof(diffuse));
            opaque = opaque && (diffuse >> 24) == 0xFF;
        }
        if (opaque && QuadCoversTarget(quad, stride, target->GetWidth(), target->GetHeight()))
            return q;
    }
    return quadCount;
}

// [SECTION] frames of one colour
//
// Where a frame's picture is all one colour at some point, what came before that point no longer matters:
// two frames whose pictures are the same colour there, and whose commands after it are equal, make the
// same picture (each command acts on each pixel from that pixel's own values). So a black picture faded
// in over black under the same message window needs neither drawing nor showing however the fade's alpha
// differs.
//
// The colour is followed through the log only where every step is exact in any rasteriser: a whole clear
// gives it; a quad whose source colour is known (vertices of one colour, a texture of one colour or none,
// modulated where one factor of each channel is 0 or 255) gives it where the quad covers the target and
// replaces what was there, and keeps it where it blends that same colour back (a black quad of any alpha
// over black). Anything else drawn into the back buffer makes it unknown until the next whole cover.
// Frames that draw into other targets or use depth or stencil are left to the comparisons above.
//
// Where the back buffer's format has no alpha, the alpha channel is not part of the picture: a frame left
// out this way keeps the alpha the last drawn one left. The target keeps an alpha channel all the same, which
// the colour does not follow: a blend after the point that reads it makes the point no use.

namespace
{

// A stage argument's value: the vertices' colour, the texture's or the texture factor (no modifiers).
bool StageArgument(uint32_t arg, uint32_t diffuse, uint32_t texel, uint32_t factor, uint32_t& value)
{
    switch (arg)
    {
    case D3DTA_DIFFUSE:
    case D3DTA_CURRENT:
        value = diffuse;
        return true;
    case D3DTA_TEXTURE:
        value = texel;
        return true;
    case D3DTA_TFACTOR:
        value = factor;
        return true;
    default:
        return false;
    }
}

// One stage operation on the channels of mask (colour or alpha), exact only where each product has a
// factor of 0 or 255.
bool StageOperation(uint32_t op, uint32_t a, uint32_t b, uint32_t mask, uint32_t& result)
{
    if (op == D3DTOP_SELECTARG1 || op == D3DTOP_SELECTARG2)
    {
        result = (op == D3DTOP_SELECTARG1 ? a : b) & mask;
        return true;
    }
    if (op != D3DTOP_MODULATE)
        return false;
    result = 0;
    for (uint32_t shift = 0; shift < 32; shift += 8)
    {
        if (!((mask >> shift) & 0xFF))
            continue;
        const uint32_t x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
        if (x != 0 && x != 0xFF && y != 0 && y != 0xFF)
            return false;
        result |= (x == 0 || y == 0 ? 0 : x == 0xFF ? y : x) << shift;
    }
    return true;
}

} // namespace

bool PfGLDevice::QuadSourceColour(const FrameState& s, const uint8_t* quad, uint32_t stride, uint32_t& argb) const
{
    // The states are those the rule models (RulesModel); the quad's vertices of one colour, their specular
    // colour black where it is added.
    const uint32_t* rs = s.RenderState;
    const uint32_t diffuseOffset = DiffuseOffset(s.FVF);
    const bool specular = (s.FVF & D3DFVF_SPECULAR) && rs[D3DRS_SPECULARENABLE];
    if (stride < diffuseOffset + (specular ? 8 : 4))
        return false;
    uint32_t diffuse = 0;
    std::memcpy(&diffuse, quad + diffuseOffset, sizeof(diffuse));
    for (uint32_t v = 0; v < 4; ++v)
    {
        uint32_t d = 0, sp = 0;
        std::memcpy(&d, quad + v * stride + diffuseOffset, sizeof(d));
        if (specular)
            std::memcpy(&sp, quad + v * stride + diffuseOffset + 4, sizeof(sp));
        if (d != diffuse || (sp & 0xFFFFFF) != 0)
            return false;
    }
    const uint32_t* stage = s.StageState[0];
    uint32_t texel = 0xFFFFFFFFu;
    if (const PfGLTexture* texture = s.Textures[0])
    {
        // The contents the draw was written down with, of one colour.
        if (s.TextureGenerations[0] != texture->GetContentGeneration() || !texture->GetUniformColour(texel))
            return false;
    }
    const uint32_t factor = rs[D3DRS_TEXTUREFACTOR];
    uint32_t c1 = 0, c2 = 0, a1 = 0, a2 = 0, colour = 0, alpha = 0;
    if (!StageArgument(stage[D3DTSS_COLORARG1], diffuse, texel, factor, c1) ||
        !StageArgument(stage[D3DTSS_COLORARG2], diffuse, texel, factor, c2) ||
        !StageArgument(stage[D3DTSS_ALPHAARG1], diffuse, texel, factor, a1) ||
        !StageArgument(stage[D3DTSS_ALPHAARG2], diffuse, texel, factor, a2) ||
        !StageOperation(stage[D3DTSS_COLOROP], c1, c2, 0x00FFFFFFu, colour) ||
        !StageOperation(stage[D3DTSS_ALPHAOP], a1, a2, 0xFF000000u, alpha))
        return false;
    argb = colour | alpha;
    return true;
}

bool PfGLDevice::FindColourPoint(const std::vector<uint8_t>& log, std::vector<LoggedCommand>& commands, uint32_t& argb,
                                 size_t& after)
{
    const PfGLTexture* backBuffer = m_ImplicitChain.GetBackBuffer();
    if (!backBuffer || backBuffer->GetMultisampleBuffer())
        return false;
    // The window shows no alpha, and a back buffer asked for in a format without alpha (the X formats the
    // display modes give) has none to show: only its colour channels make the picture. The target itself
    // keeps an alpha channel whatever its format, which blending still follows when the frame is drawn.
    const D3DFORMAT format = m_ImplicitChain.GetPresentParameters().BackBufferFormat;
    const bool alphaKept = format == D3DFMT_A8R8G8B8 || format == D3DFMT_A1R5G5B5 || format == D3DFMT_A4R4G4B4 ||
                           format == D3DFMT_A2R10G10B10;
    const uint32_t kept = alphaKept ? 0xFFFFFFFFu : 0x00FFFFFFu;
    const int32_t width = (int32_t)backBuffer->GetWidth(), height = (int32_t)backBuffer->GetHeight();
    ReadFrameLog(log, commands);
    bool known = false, found = false;
    uint32_t held = 0;
    // Under the state block read last: whether the rule reads its quads' colours, whether a quad over the
    // target writes all of it, the blend, and whether the blend reads the alpha the colour does not follow.
    const uint8_t* stateRecord = nullptr;
    bool colourRead = false, writesAll = false, readsAlpha = false;
    QuadBlend blend = QuadBlend::OTHER;
    // A command after the point found so far reads that alpha.
    bool alphaRead = false;
    FrameState& s = m_ColourState;
    for (size_t i = 0; i < commands.size(); ++i)
    {
        const LoggedCommand& c = commands[i];
        if (c.Op == FrameOp::CLEAR)
        {
            ClearTarget target;
            std::memcpy(&target, c.Data2, sizeof(target));
            if (target.Target != backBuffer)
                return false;
            const D3DVIEWPORT9& v = target.Viewport;
            const bool whole =
                c.Bytes == 0 && v.X == 0 && v.Y == 0 && (int32_t)v.Width >= width && (int32_t)v.Height >= height;
            if (c.Args.A[1] & D3DCLEAR_TARGET)
            {
                const bool same = known && ((c.Args.A[2] ^ held) & kept) == 0;
                if (whole)
                    held = c.Args.A[2] & kept;
                known = whole || same;
            }
        }
        else
        {
            if (c.State != stateRecord)
            {
                stateRecord = c.State;
                std::memcpy(&s, c.State, sizeof(s));
                const uint32_t* rs = s.RenderState;
                if (s.RenderTargets[0] != backBuffer ||
                    (s.DepthStencil && (rs[D3DRS_ZENABLE] || rs[D3DRS_STENCILENABLE])))
                    return false;
                for (const PfGLTexture* texture : s.Textures)
                    if (texture == backBuffer)
                        return false;
                const QuadStates states = {s.RenderState,  s.StageState, s.SamplerState, s.Textures,
                                           s.DepthStencil, s.Viewport,   s.FVF};
                colourRead = RulesModel(ONE_COLOUR, states, (uint32_t)width, (uint32_t)height);
                writesAll = RulesModel(COVERING, states, (uint32_t)width, (uint32_t)height);
                blend = BlendOf(rs, alphaKept);
                readsAlpha = !alphaKept && ReadsDestinationAlpha(rs);
            }
            alphaRead = alphaRead || readsAlpha;
            const uint32_t stride = c.Args.A[1];
            if (c.Op != FrameOp::DRAW_QUADS || (uint64_t)c.Args.A[0] * 4 * stride > c.Bytes || !colourRead ||
                blend == QuadBlend::OTHER)
                known = false;
            for (uint32_t q = 0; c.Op == FrameOp::DRAW_QUADS && colourRead && q < c.Args.A[0] &&
                                 (uint64_t)(q + 1) * 4 * stride <= c.Bytes;
                 ++q)
            {
                const uint8_t* quad = c.Data + (size_t)q * 4 * stride;
                uint32_t source = 0;
                if (!QuadSourceColour(s, quad, stride, source))
                {
                    known = false;
                    continue;
                }
                const uint32_t alpha = source >> 24;
                // The pixels the quad writes, from the colour held (when known) where it blends.
                bool exact = blend != QuadBlend::OTHER;
                uint32_t result = source & kept;
                if (blend == QuadBlend::OVER && alpha == 0)
                    result = held, exact = exact && known;
                else if (blend == QuadBlend::OVER && alpha != 0xFF)
                    exact = exact && known && !alphaKept && (source & 0xFFFFFF) == 0 && (held & 0xFFFFFF) == 0;
                // Where it covers: every pixel of the target written, untested and unclipped.
                const bool covers =
                    writesAll && exact && QuadCoversTarget(quad, stride, (uint32_t)width, (uint32_t)height);
                if (covers)
                {
                    known = true;
                    held = result;
                }
                else
                    known = known && exact && result == held;
            }
        }
        if (known)
        {
            found = true;
            argb = held;
            after = i + 1;
            alphaRead = false;
        }
    }
    return found && !alphaRead;
}

bool PfGLDevice::SameAfterColourPoint(size_t frameAfter, size_t referenceAfter)
{
    ReadFrameLog(m_ReferenceLog, m_ReferenceCommands);
    const std::vector<LoggedCommand>& frame = m_ColourCommands;
    const std::vector<LoggedCommand>& reference = m_ReferenceCommands;
    if (frame.size() - frameAfter != reference.size() - referenceAfter)
        return false;
    for (size_t i = 0; frameAfter + i < frame.size(); ++i)
        if (!SameCommand(frame[frameAfter + i], reference[referenceAfter + i]))
            return false;
    return true;
}
