// The frame comparison: each frame's clears and draws are written down as a log of records (a state block
// when the states changed, then the command's arguments and vertices). While the last shown frame's log is
// there to compare with, nothing is sent to OpenGL until Present: it finds the two logs equal and neither
// draws nor swaps, or plays the log where the frames differ (the damage, PfGLDeviceDamage.cpp) or whole.
// When something may observe a target the log draws into or change a texture or buffer the log uses before
// that, the log is played whole and the frame goes on drawing as it comes.
//
// How each input to the picture is covered:
// - states, transforms, lights, material, viewport, scissor, targets, the vertex format or declaration:
//   the state block, compared whole (a declaration by its address, which a new one takes only after the
//   old one has played the log and ended the comparison);
// - textures: their address and content generation, which every lock for writing, upload, re-creation and
//   draw into them as a target changes; a texture the log uses that is about to change (on the drawing
//   thread) leaves a copy of its contents that the commands written before bind when they are played, or
//   has the log played first, so the commands see the contents they were written down with;
// - a render target drawn earlier in the same frame: its contents are what the frame's own commands made
//   (it was cleared whole before them), so it is recorded as this frame's and not by its generation;
// - vertices and indices from memory: copied into the log; from buffers: the buffers, their contents
//   generations, offsets and strides, the index buffer and the declaration (a buffer about to change or go
//   away has the log played first);
// - what a target held before: the frame is compared only when a whole-target clear comes before its
//   first draw into each target (for the back buffer, a quad covering it opaquely does too), and a draw
//   that uses depth or stencil only after those were cleared whole too;
// - several targets at once, writes into the back buffer by lock or upload: the frame is drawn; so is one
//   after a target the last frame drew into was written by lock or upload, which its pass must draw over;
// - the window: an expose, a size change or other present rectangles show the kept picture again.
#include "platform/PfGLDevice.h"

#include "platform/PfGLIndexBuffer.h"
#include "platform/PfGLTexture.h"
#include "platform/PfGLVertexBuffer.h"

#include <SDL2/SDL.h>
#include <epoxy/gl.h>

#include <cstring>

// [SECTION] the log

void PfGLDevice::BeginFrameLog()
{
    ReleaseHeldContents();
    ++m_FrameSerial;
    m_FrameLog.clear();
    m_LoggedStateValid = false;
    m_FrameLogging = m_DeviceCreated;
    m_FrameDeferred = m_FrameLogging && m_ReferenceValid;
    m_FrameCleared.clear();
    m_FrameWroteTargets = false;
    m_FrameUsedDepth = false;
    m_DepthClearTarget = {};
    m_DepthClearArgs = {};
}

void PfGLDevice::CaptureFrameState(FrameState& s) const
{
    // Whole-struct comparisons need the padding bytes to be equal too.
    std::memset(&s, 0, sizeof(s));
    std::memcpy(s.RenderState, m_RenderState, sizeof(s.RenderState));
    std::memcpy(s.StageState, m_StageState, sizeof(s.StageState));
    std::memcpy(s.SamplerState, m_SamplerState, sizeof(s.SamplerState));
    for (uint32_t stage = 0; stage < PF_STAGE_COUNT; ++stage)
    {
        s.Textures[stage] = m_Textures[stage];
        if (m_Textures[stage])
        {
            // A target this frame drew into holds what the frame's own commands made: 0 stands for that.
            s.TextureGenerations[stage] = m_Textures[stage]->GetWrittenStamp() == m_FrameSerial
                                              ? 0
                                              : m_Textures[stage]->GetContentGeneration();
            m_Textures[stage]->SetFrameStamp(m_FrameSerial);
        }
    }
    s.World = m_World;
    s.View = m_View;
    s.Projection = m_Projection;
    std::memcpy(s.Lights, m_Lights, sizeof(s.Lights));
    for (uint32_t i = 0; i < MAX_LIGHTS; ++i)
        s.LightEnabled[i] = m_LightEnabled[i] ? 1 : 0;
    s.Material = m_Material;
    for (uint32_t i = 0; i < MAX_RENDER_TARGETS; ++i)
    {
        s.RenderTargets[i] = m_RenderTargets[i];
        if (m_RenderTargets[i])
            m_RenderTargets[i]->SetFrameStamp(m_FrameSerial);
    }
    s.DepthStencil = m_DepthStencil;
    if (m_DepthStencil)
        m_DepthStencil->SetFrameStamp(m_FrameSerial);
    s.Viewport = m_Viewport;
    s.ScissorRect = m_ScissorRect;
    s.FVF = m_FVF;
    s.Declaration = m_Declaration;
}

bool PfGLDevice::LiveStateIsLogged() const
{
    const FrameState& s = m_LoggedState;
    const auto same = [](const auto& a, const auto& b) { return std::memcmp(&a, &b, sizeof(a)) == 0; };
    if (!same(s.RenderState, m_RenderState) || !same(s.StageState, m_StageState) ||
        !same(s.SamplerState, m_SamplerState) || !same(s.Textures, m_Textures))
        return false;
    for (uint32_t stage = 0; stage < PF_STAGE_COUNT; ++stage)
    {
        if (!m_Textures[stage])
            continue;
        const uint64_t generation = m_Textures[stage]->GetWrittenStamp() == m_FrameSerial
                                        ? 0
                                        : m_Textures[stage]->GetContentGeneration();
        if (s.TextureGenerations[stage] != generation)
            return false;
    }
    for (uint32_t i = 0; i < MAX_LIGHTS; ++i)
        if (s.LightEnabled[i] != (m_LightEnabled[i] ? 1 : 0))
            return false;
    // The textures, targets and depth surface named are those of the logged state: they carry this frame's
    // stamp from its capture already.
    return same(s.World, m_World) && same(s.View, m_View) && same(s.Projection, m_Projection) &&
           same(s.Lights, m_Lights) && same(s.Material, m_Material) && same(s.RenderTargets, m_RenderTargets) &&
           s.DepthStencil == m_DepthStencil && same(s.Viewport, m_Viewport) && same(s.ScissorRect, m_ScissorRect) &&
           s.FVF == m_FVF && s.Declaration == m_Declaration;
}

void PfGLDevice::RestoreFrameState(const FrameState& s)
{
    std::memcpy(m_RenderState, s.RenderState, sizeof(s.RenderState));
    std::memcpy(m_StageState, s.StageState, sizeof(s.StageState));
    std::memcpy(m_SamplerState, s.SamplerState, sizeof(s.SamplerState));
    std::memcpy(m_Textures, s.Textures, sizeof(s.Textures));
    std::memcpy(m_PlayedGenerations, s.TextureGenerations, sizeof(s.TextureGenerations));
    m_World = s.World;
    m_View = s.View;
    m_Projection = s.Projection;
    std::memcpy(m_Lights, s.Lights, sizeof(s.Lights));
    for (uint32_t i = 0; i < MAX_LIGHTS; ++i)
        m_LightEnabled[i] = s.LightEnabled[i] != 0;
    m_Material = s.Material;
    std::memcpy(m_RenderTargets, s.RenderTargets, sizeof(s.RenderTargets));
    m_DepthStencil = s.DepthStencil;
    m_Viewport = s.Viewport;
    m_ScissorRect = s.ScissorRect;
    m_FVF = s.FVF;
    m_Declaration = s.Declaration;
    m_Dirty = DIRTY_ALL;
}

void PfGLDevice::AppendLog(const void* data, size_t bytes)
{
    if (bytes == 0)
        return;
    // Inserted, not resized and copied over: the log's bytes are written once, not zeroed first.
    const uint8_t* from = static_cast<const uint8_t*>(data);
    m_FrameLog.insert(m_FrameLog.end(), from, from + bytes);
}

void PfGLDevice::NoteClear(uint32_t count, const PfRect* rects, uint32_t flags)
{
    PfGLTexture* target = m_RenderTargets[0];
    const bool wholeViewport = m_Viewport.X == 0 && m_Viewport.Y == 0 && m_Viewport.Width >= target->GetWidth() &&
                               m_Viewport.Height >= target->GetHeight();
    bool whole = wholeViewport && (!rects || count == 0);
    for (uint32_t i = 0; wholeViewport && rects && i < count && !whole; ++i)
        whole = rects[i].left <= 0 && rects[i].top <= 0 && rects[i].right >= (int32_t)target->GetWidth() &&
                rects[i].bottom >= (int32_t)target->GetHeight();
    if (!whole)
        return;
    auto note = [this](const PfGLTexture* texture, uint32_t cleared)
    {
        if (!texture || !cleared)
            return;
        for (auto& entry : m_FrameCleared)
            if (entry.first == texture)
            {
                entry.second |= cleared;
                return;
            }
        m_FrameCleared.push_back({texture, cleared});
    };
    note(target, flags & D3DCLEAR_TARGET);
    // The depth-stencil surface is cleared whole only where it is no larger than the target.
    if (m_DepthStencil && m_DepthStencil->GetWidth() <= target->GetWidth() &&
        m_DepthStencil->GetHeight() <= target->GetHeight())
        note(m_DepthStencil, flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL));
}

bool PfGLDevice::ClearedInFrame(const PfGLTexture* texture, uint32_t flags) const
{
    for (const auto& entry : m_FrameCleared)
        if (entry.first == texture)
            return (entry.second & flags) == flags;
    return false;
}

bool PfGLDevice::LogCommand(FrameOp op, const FrameArgs& args, const void* data, uint32_t bytes, const void* data2,
                            uint32_t bytes2)
{
    if (m_Replaying || !m_FrameLogging)
        return false;
    PfGLTexture* const target = m_RenderTargets[0];
    PfGLTexture* const backBuffer = m_ImplicitChain.GetBackBuffer();
    // One target at a time; the back buffer's picture, and those of targets cleared whole in the frame.
    bool comparable = target != nullptr && backBuffer != nullptr;
    for (uint32_t i = 1; i < MAX_RENDER_TARGETS; ++i)
        comparable = comparable && !m_RenderTargets[i];
    const bool usesDepth = m_DepthStencil && (m_RenderState[D3DRS_ZENABLE] || m_RenderState[D3DRS_STENCILENABLE]);
    uint32_t firstQuad = 0;
    if (comparable && op == FrameOp::CLEAR)
    {
        NoteClear(args.A[0], (const PfRect*)data, args.A[1]);
        // The last whole clear of depth and stencil, which a covering quad keeps.
        const uint32_t depthFlags = args.A[1] & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL);
        if (depthFlags && m_DepthStencil && ClearedInFrame(m_DepthStencil, depthFlags))
        {
            m_DepthClearArgs = args;
            m_DepthClearArgs.A[0] = 0;
            m_DepthClearArgs.A[1] = depthFlags;
            m_DepthClearArgs.A[2] = 0;
            std::memset(&m_DepthClearTarget, 0, sizeof(m_DepthClearTarget));
            m_DepthClearTarget.Target = target;
            m_DepthClearTarget.DepthStencil = m_DepthStencil;
            m_DepthClearTarget.Viewport = m_Viewport;
        }
    }
    else if (comparable)
    {
        // A quad over the whole back buffer drawn opaquely frees the frame from what came before it, as a
        // clear does: what the frame drew before is left out (a black hold over a moving scene).
        if (op == FrameOp::DRAW_QUADS && target == backBuffer && !m_FrameWroteTargets && !m_FrameUsedDepth &&
            !usesDepth)
        {
            // Commands already sent are drawn over by the quad: the log describes the picture all the same.
            firstQuad = FirstCoveringQuad(args.A[0], (const uint8_t*)data, args.A[1]);
            if (firstQuad < args.A[0])
            {
                // Depth and stencil cleared whole before stay so, and their clear stays in the log.
                const PfGLTexture* depth = m_DepthClearTarget.DepthStencil;
                const uint32_t depthFlags = m_DepthClearArgs.A[1];
                const bool keepDepth = depth && ClearedInFrame(depth, depthFlags);
                m_FrameLog.clear();
                m_LoggedStateValid = false;
                m_FrameCleared.clear();
                m_FrameCleared.push_back({backBuffer, D3DCLEAR_TARGET});
                if (keepDepth)
                {
                    m_FrameCleared.push_back({depth, depthFlags});
                    const FrameOp clearOp = FrameOp::CLEAR;
                    const uint32_t rectBytes = 0, targetBytes = sizeof(m_DepthClearTarget);
                    AppendLog(&clearOp, sizeof(clearOp));
                    AppendLog(&m_DepthClearArgs, sizeof(m_DepthClearArgs));
                    AppendLog(&rectBytes, sizeof(rectBytes));
                    AppendLog(&targetBytes, sizeof(targetBytes));
                    AppendLog(&m_DepthClearTarget, sizeof(m_DepthClearTarget));
                }
            }
            else
                firstQuad = 0;
        }
        // A draw blends with, or is tested against, what the targets held: it must be this frame's.
        comparable = ClearedInFrame(target, D3DCLEAR_TARGET);
        if (usesDepth)
        {
            m_FrameUsedDepth = true;
            comparable = comparable &&
                         ClearedInFrame(m_DepthStencil, m_RenderState[D3DRS_STENCILENABLE]
                                                            ? D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL
                                                            : D3DCLEAR_ZBUFFER);
        }
    }
    if (!comparable)
    {
        MarkFrameIncomparable();
        return false;
    }
    if (target != backBuffer)
    {
        target->SetWrittenStamp(m_FrameSerial);
        m_FrameWroteTargets = true;
    }

    // A clear depends on its targets and viewport alone: it carries them itself, so the textures or
    // blending left from the last frame's end do not make the frames differ.
    ClearTarget clearTarget;
    if (op == FrameOp::CLEAR)
    {
        std::memset(&clearTarget, 0, sizeof(clearTarget));
        clearTarget.Target = target;
        clearTarget.DepthStencil = m_DepthStencil;
        clearTarget.Viewport = m_Viewport;
        data2 = &clearTarget;
        bytes2 = sizeof(clearTarget);
        target->SetFrameStamp(m_FrameSerial);
        if (m_DepthStencil)
            m_DepthStencil->SetFrameStamp(m_FrameSerial);
    }
    if (op != FrameOp::CLEAR && !(m_LoggedStateValid && LiveStateIsLogged()))
    {
        const FrameOp stateOp = FrameOp::STATE;
        CaptureFrameState(m_LoggedState);
        m_LoggedStateValid = true;
        AppendLog(&stateOp, sizeof(stateOp));
        AppendLog(&m_LoggedState, sizeof(m_LoggedState));
    }
    FrameArgs logged = args;
    if (firstQuad > 0)
    {
        // Only the quads from the covering one on.
        const uint32_t quadBytes = args.A[1] * 4;
        logged.A[0] -= firstQuad;
        data = (const uint8_t*)data + (size_t)firstQuad * quadBytes;
        bytes -= firstQuad * quadBytes;
    }
    AppendLog(&op, sizeof(op));
    AppendLog(&logged, sizeof(logged));
    AppendLog(&bytes, sizeof(bytes));
    AppendLog(&bytes2, sizeof(bytes2));
    AppendLog(data, bytes);
    AppendLog(data2, bytes2);
    // The whole frame is held back: Present compares it with the last one shown, and draws it whole, only
    // where it differs, or not at all.
    return m_FrameDeferred;
}

// [SECTION] playing the log

void PfGLDevice::PlayDeferredFrame(const PfRect* clip)
{
    if (!m_FrameDeferred)
        return;
    m_FrameDeferred = false;
    if (m_FrameLog.empty() || SDL_GL_GetCurrentContext() != (SDL_GLContext)m_Context)
        return;
    FrameState live;
    CaptureFrameState(live);
    const uint64_t drawCalls = m_DrawCalls;
    m_Replaying = true;
    m_DamageClipActive = clip != nullptr;
    if (clip)
        m_DamageClip = *clip;
    const uint8_t* at = m_FrameLog.data();
    const uint8_t* const end = at + m_FrameLog.size();
    const uint8_t* stateRecord = nullptr;
    while (at < end)
    {
        FrameOp op;
        std::memcpy(&op, at, sizeof(op));
        at += sizeof(op);
        if (op == FrameOp::STATE)
        {
            FrameState state;
            std::memcpy(&state, at, sizeof(state));
            stateRecord = at;
            at += sizeof(state);
            RestoreFrameState(state);
            continue;
        }
        FrameArgs args;
        uint32_t bytes = 0, bytes2 = 0;
        std::memcpy(&args, at, sizeof(args));
        at += sizeof(args);
        std::memcpy(&bytes, at, sizeof(bytes));
        at += sizeof(bytes);
        std::memcpy(&bytes2, at, sizeof(bytes2));
        at += sizeof(bytes2);
        const uint8_t* data = at;
        const uint8_t* data2 = at + bytes;
        at += (size_t)bytes + bytes2;
        const uint32_t* a = args.A;
        // Drawn again only where it differs: a draw that reaches nowhere inside the damaged region would
        // only be cut away by the scissor, after the rasteriser had taken it in.
        if (clip && op != FrameOp::CLEAR && !ReachesRegion(op, args, data, bytes, data2, bytes2, stateRecord, *clip))
        {
            ++m_DrawsLeftOut;
            continue;
        }
        switch (op)
        {
        case FrameOp::CLEAR:
        {
            ClearTarget target;
            std::memcpy(&target, data2, sizeof(target));
            PfGLTexture* targets[MAX_RENDER_TARGETS];
            std::memcpy(targets, m_RenderTargets, sizeof(targets));
            PfGLTexture* const depth = m_DepthStencil;
            const D3DVIEWPORT9 viewport = m_Viewport;
            std::memset(m_RenderTargets, 0, sizeof(m_RenderTargets));
            m_RenderTargets[0] = target.Target;
            m_DepthStencil = target.DepthStencil;
            m_Viewport = target.Viewport;
            m_Dirty |= DIRTY_FRAMEBUFFER | DIRTY_VIEWPORT;
            ClearNow(a[0], bytes ? (const PfRect*)data : nullptr, a[1], a[2], args.Z, a[3]);
            std::memcpy(m_RenderTargets, targets, sizeof(targets));
            m_DepthStencil = depth;
            m_Viewport = viewport;
            m_Dirty |= DIRTY_FRAMEBUFFER | DIRTY_VIEWPORT | DIRTY_UNIFORMS;
            break;
        }
        case FrameOp::DRAW_UP:
            DrawPrimitiveUPNow((D3DPRIMITIVETYPE)a[0], a[1], data, a[2]);
            break;
        case FrameOp::DRAW_INDEXED_UP:
            DrawIndexedPrimitiveUPNow((D3DPRIMITIVETYPE)a[0], a[1], a[2], a[3], data2, (D3DFORMAT)a[4], data, a[5]);
            break;
        case FrameOp::DRAW_QUADS:
            DrawQuadsUPNow(a[0], data, a[1]);
            break;
        case FrameOp::DRAW_BUFFERS:
        {
            BufferBinding binding;
            std::memcpy(&binding, data, sizeof(binding));
            PlayBufferDraw(args, binding);
            break;
        }
        default:
            break;
        }
    }
    m_Replaying = false;
    m_DamageClipActive = false;
    m_DrawCalls = drawCalls;
    RestoreFrameState(live);
    ReleaseHeldContents();
}

bool PfGLDevice::ReachesRegion(FrameOp op, const FrameArgs& args, const uint8_t* data, uint32_t bytes,
                               const uint8_t* data2, uint32_t bytes2, const uint8_t* state, const PfRect& region) const
{
    LoggedCommand command = {};
    command.Op = op;
    command.State = state;
    command.Args = args;
    command.Data = data;
    command.Bytes = bytes;
    command.Data2 = data2;
    command.Bytes2 = bytes2;
    PfRect reach = {};
    // A reach that cannot be worked out (draws from buffers, unknown layouts) counts as everywhere.
    if (!AddCommandReach(command, 0, op == FrameOp::DRAW_QUADS ? args.A[0] : 0, reach))
        return true;
    return reach.left < reach.right && reach.top < reach.bottom && reach.left < region.right &&
           region.left < reach.right && reach.top < region.bottom && region.top < reach.bottom;
}

void PfGLDevice::DropFrame()
{
    m_QueuedQuadCount = 0;
    m_FrameDeferred = false;
    m_ReferenceValid = false;
    if (m_DeviceCreated)
        BeginFrameLog();
}

void PfGLDevice::MarkFrameIncomparable()
{
    PlayDeferredFrame();
    m_FrameLogging = false;
    m_FrameLog.clear();
    m_LoggedStateValid = false;
}

void PfGLDevice::NoteTextureChange(const PfGLTexture* texture, bool write, bool destroy)
{
    // Only the drawing thread sends anything; a movie thread's lock changes the processor-side copy,
    // uploaded at the next bind, and the generation it changes keeps the next frame from matching.
    if (!m_Context || SDL_GL_GetCurrentContext() != (SDL_GLContext)m_Context)
        return;
    FlushQuads();
    if (!texture)
        return;
    // A target the held-back commands draw into does not hold their picture yet.
    if (m_FrameDeferred && texture->GetWrittenStamp() == m_FrameSerial)
        PlayDeferredFrame();
    if (m_FrameDeferred && texture->GetFrameStamp() == m_FrameSerial)
    {
        // The held-back commands read the back buffer's picture or the contents written before: reading
        // another texture needs nothing; a change keeps a copy of what the commands saw when it can.
        const bool backBuffer = texture == m_ImplicitChain.GetBackBuffer();
        const uint64_t generation = texture->GetContentGeneration();
        if (backBuffer || destroy)
            PlayDeferredFrame();
        else if (write && !HeldCopy(texture, generation))
        {
            const uint32_t copy = m_HeldContents.size() < MAX_HELD_CONTENTS ? texture->CopyContents() : 0;
            if (copy)
                m_HeldContents.push_back({texture, generation, copy});
            else
                PlayDeferredFrame();
        }
    }
    // The back buffer written around the device: its picture is no longer what the log says.
    if (write && texture == m_ImplicitChain.GetBackBuffer())
    {
        MarkFrameIncomparable();
        m_ReferenceValid = false;
    }
    // A target the last frame drew into, written around the device before this frame draws into it: a
    // frame equal to the last one would leave the target holding what was written, not what its commands
    // make. The frame is drawn, and shown, as it comes.
    else if (write && texture->GetWrittenStamp() != 0 && texture->GetWrittenStamp() + 1 == m_FrameSerial)
    {
        PlayDeferredFrame();
        m_ReferenceValid = false;
    }
}

void PfGLDevice::NoteBufferChange(const PfGLBuffer* buffer)
{
    if (!m_Context || SDL_GL_GetCurrentContext() != (SDL_GLContext)m_Context)
        return;
    if (m_FrameDeferred && buffer && buffer->GetFrameStamp() == m_FrameSerial)
        PlayDeferredFrame();
}

uint32_t PfGLDevice::HeldCopy(const PfGLTexture* texture, uint64_t generation) const
{
    for (const HeldContents& held : m_HeldContents)
        if (held.Texture == texture && held.Generation == generation)
            return held.Copy;
    return 0;
}

void PfGLDevice::ReleaseHeldContents()
{
    if (m_HeldContents.empty())
        return;
    if (m_Context && SDL_GL_GetCurrentContext() == (SDL_GLContext)m_Context)
        for (const HeldContents& held : m_HeldContents)
        {
            const GLuint name = held.Copy;
            glDeleteTextures(1, &name);
        }
    m_HeldContents.clear();
}

void PfGLDevice::BumpTargetGenerations()
{
    for (PfGLTexture* target : m_RenderTargets)
        if (target)
        {
            target->BumpContentGeneration();
            target->NoteMultisampleDrawn();
        }
}

int PfGLDevice::WindowEventWatch(void* userdata, SDL_Event* event)
{
    auto* device = static_cast<PfGLDevice*>(userdata);
    if (event->type != SDL_WINDOWEVENT || !device->m_Window ||
        event->window.windowID != SDL_GetWindowID(device->m_Window))
        return 0;
    switch (event->window.event)
    {
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_RESIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
        device->InvalidatePresented();
        break;
    default:
        break;
    }
    return 0;
}
