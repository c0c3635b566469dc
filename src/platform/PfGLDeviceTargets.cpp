// Targets and clear: the render targets, depth-stencil surface, viewport and scissor rectangle, the
// frame buffer they are bound through, and clears.
#include "platform/PfGLDevice.h"

#include "platform/PfGLDeviceConvert.h"
#include "platform/PfGLTexture.h"

#include <epoxy/gl.h>

#include <algorithm>

using PfGLDeviceConvert::ColorToFloats;

PfResult PfGLDevice::SetRenderTarget(uint32_t index, PfGLTexture* target)
{
    if (!m_DeviceCreated || index >= MAX_RENDER_TARGETS)
        return D3DERR_INVALIDCALL;
    if (index == 0 && !target)
        return D3DERR_INVALIDCALL;
    if (target && (!target->IsCreated() || !target->IsRenderTarget()))
        return D3DERR_INVALIDCALL;
    if (m_RenderTargets[index] != target)
        FlushQuads();
    m_RenderTargets[index] = target;
    m_Dirty |= DIRTY_FRAMEBUFFER;
    if (index == 0)
    {
        // As with the device the engine was made for, a new target 0 brings a viewport over all of it.
        m_Viewport = {0, 0, target->GetWidth(), target->GetHeight(), 0.0f, 1.0f};
        m_Dirty |= DIRTY_VIEWPORT | DIRTY_UNIFORMS;
    }
    return D3D_OK;
}

PfGLTexture* PfGLDevice::GetRenderTarget(uint32_t index) const
{
    return index < MAX_RENDER_TARGETS ? m_RenderTargets[index] : nullptr;
}

PfResult PfGLDevice::SetDepthStencilSurface(PfGLTexture* depth)
{
    if (!m_DeviceCreated)
        return D3DERR_INVALIDCALL;
    if (depth && (!depth->IsCreated() || !depth->IsDepthStencil()))
        return D3DERR_INVALIDCALL;
    if (m_DepthStencil != depth)
        FlushQuads();
    m_DepthStencil = depth;
    m_Dirty |= DIRTY_FRAMEBUFFER;
    return D3D_OK;
}

PfResult PfGLDevice::SetViewport(const D3DVIEWPORT9& viewport)
{
    if (!m_DeviceCreated)
        return D3DERR_INVALIDCALL;
    if (viewport.Width == 0 || viewport.Height == 0)
        return D3DERR_INVALIDCALL;
    FlushQuads();
    m_Viewport = viewport;
    m_Dirty |= DIRTY_VIEWPORT | DIRTY_UNIFORMS;
    return D3D_OK;
}

PfResult PfGLDevice::SetScissorRect(const PfRect& rect)
{
    if (!m_DeviceCreated)
        return D3DERR_INVALIDCALL;
    FlushQuads();
    m_ScissorRect = rect;
    m_Dirty |= DIRTY_RASTER;
    return D3D_OK;
}

PfResult PfGLDevice::Clear(uint32_t count, const PfRect* rects, uint32_t flags, uint32_t color, float z,
                           uint32_t stencil)
{
    if (!m_DeviceCreated || !m_RenderTargets[0])
        return D3DERR_INVALIDCALL;
    if ((flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && !m_DepthStencil)
        return D3DERR_INVALIDCALL;
    FlushQuads();
    if (!(flags & (D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)))
        return D3D_OK;
    FrameArgs args = {{count, flags, color, stencil, 0, 0}, z};
    if (LogCommand(FrameOp::CLEAR, args, rects, rects ? count * (uint32_t)sizeof(PfRect) : 0))
        return D3D_OK;
    return ClearNow(count, rects, flags, color, z, stencil);
}

PfResult PfGLDevice::ClearNow(uint32_t count, const PfRect* rects, uint32_t flags, uint32_t color, float z,
                              uint32_t stencil)
{
    // A depth-stencil surface that has no memory yet keeps a whole clear as its first contents, made when
    // a draw first tests against it: screens that clear depth every frame but draw without it never give
    // it memory.
    const uint32_t depthFlags = flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL);
    if (depthFlags && m_DepthStencil && !m_DepthStencil->HasStorage())
    {
        const PfGLTexture* depth = m_DepthStencil;
        auto covers = [&](const PfRect& r)
        {
            return r.left <= (int32_t)m_Viewport.X && r.top <= (int32_t)m_Viewport.Y &&
                   r.right >= (int32_t)(m_Viewport.X + m_Viewport.Width) &&
                   r.bottom >= (int32_t)(m_Viewport.Y + m_Viewport.Height);
        };
        bool whole = m_Viewport.X == 0 && m_Viewport.Y == 0 && m_Viewport.Width >= depth->GetWidth() &&
                     m_Viewport.Height >= depth->GetHeight();
        if (whole && rects && count > 0)
        {
            bool any = false;
            for (uint32_t i = 0; i < count && !any; ++i)
                any = covers(rects[i]);
            whole = any;
        }
        if (whole)
        {
            m_DepthStencil->SetPendingClear(depthFlags, std::clamp(z, 0.0f, 1.0f), stencil);
            flags &= ~depthFlags;
            if (!(flags & D3DCLEAR_TARGET))
                return D3D_OK;
        }
    }
    ApplyFramebuffer((flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) != 0);
    ApplyViewport();
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET)
    {
        float c[4];
        ColorToFloats(color, c);
        glClearColor(c[0], c[1], c[2], c[3]);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_ZBUFFER)
    {
        glClearDepth(std::clamp(z, 0.0f, 1.0f));
        glDepthMask(GL_TRUE);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_STENCIL)
    {
        glClearStencil((GLint)stencil);
        glStencilMask(0xFF);
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    if (!mask)
        return D3D_OK;
    // A clear reaches the viewport only, or the parts of the given rectangles inside it.
    const int32_t vl = (int32_t)m_Viewport.X, vt = (int32_t)m_Viewport.Y;
    const int32_t vr = vl + (int32_t)m_Viewport.Width, vb = vt + (int32_t)m_Viewport.Height;
    glEnable(GL_SCISSOR_TEST);
    const PfRect whole = {vl, vt, vr, vb};
    if (!rects || count == 0)
    {
        rects = &whole;
        count = 1;
    }
    for (uint32_t i = 0; i < count; ++i)
    {
        int32_t l = std::max(rects[i].left, vl), t = std::max(rects[i].top, vt);
        int32_t r = std::min(rects[i].right, vr), b = std::min(rects[i].bottom, vb);
        if (m_DamageClipActive)
        {
            // A partial redraw clears inside the damaged region only.
            l = std::max(l, m_DamageClip.left);
            t = std::max(t, m_DamageClip.top);
            r = std::min(r, m_DamageClip.right);
            b = std::min(b, m_DamageClip.bottom);
        }
        if (l >= r || t >= b)
            continue;
        glScissor(l, t, r - l, b - t);
        glClear(mask);
    }
    m_Dirty |= DIRTY_RASTER | DIRTY_DEPTH | DIRTY_STENCIL;
    BumpTargetGenerations();
    return D3D_OK;
}

void PfGLDevice::ApplyFramebuffer(bool useDepth)
{
    glBindFramebuffer(GL_FRAMEBUFFER, m_Framebuffer);
    // A depth-stencil surface goes with targets of its own sample count only (as the frame buffer needs).
    const bool depthMatches = m_DepthStencil && m_RenderTargets[0] &&
                              m_DepthStencil->GetSamples() == m_RenderTargets[0]->GetSamples();
    const uint32_t depth =
        useDepth && depthMatches && m_DepthStencil->EnsureStorage() ? m_DepthStencil->GetGLName() : 0;
    if (!(m_Dirty & DIRTY_FRAMEBUFFER) && depth == m_AttachedDepth)
        return;
    if (m_Dirty & DIRTY_FRAMEBUFFER)
    {
        m_Dirty &= ~DIRTY_FRAMEBUFFER;
        // Attachments are made again on every change: a deleted texture's name may come back for a new one.
        GLenum buffers[MAX_RENDER_TARGETS];
        for (uint32_t i = 0; i < MAX_RENDER_TARGETS; ++i)
        {
            // A fresh target's zeros go before anything is drawn into it.
            if (m_RenderTargets[i])
                m_RenderTargets[i]->UploadIfDirty();
            const uint32_t name = m_RenderTargets[i] ? m_RenderTargets[i]->GetGLName() : 0;
            // A multisampled target is drawn through its render buffer and resolved when read.
            const uint32_t samples = m_RenderTargets[i] ? m_RenderTargets[i]->GetMultisampleBuffer() : 0;
            if (samples)
                glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + i, GL_RENDERBUFFER, samples);
            else
                glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + i, GL_TEXTURE_2D, name, 0);
            buffers[i] = name ? GL_COLOR_ATTACHMENT0 + i : GL_NONE;
        }
        glDrawBuffers(MAX_RENDER_TARGETS, buffers);
    }
    const bool stencil = depth && m_DepthStencil->GetFormat() != D3DFMT_D16 &&
                         m_DepthStencil->GetFormat() != D3DFMT_D16_LOCKABLE &&
                         m_DepthStencil->GetFormat() != D3DFMT_D32;
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_TEXTURE_2D, 0, 0);
    const GLenum depthAttachment = stencil ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT;
    if (depth && m_DepthStencil->GetMultisampleBuffer())
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, depthAttachment, GL_RENDERBUFFER,
                                  m_DepthStencil->GetMultisampleBuffer());
    else if (depth)
        glFramebufferTexture2D(GL_FRAMEBUFFER, depthAttachment, GL_TEXTURE_2D, depth, 0);
    m_AttachedDepth = depth;
    uint32_t pendingFlags = 0;
    float pendingZ = 1.0f;
    uint32_t pendingStencil = 0;
    if (depth && m_DepthStencil->TakePendingClear(pendingFlags, pendingZ, pendingStencil))
    {
        // The whole clear kept while the surface had no memory, over all of it.
        GLbitfield mask = 0;
        if (pendingFlags & D3DCLEAR_ZBUFFER)
        {
            glClearDepth(pendingZ);
            glDepthMask(GL_TRUE);
            mask |= GL_DEPTH_BUFFER_BIT;
        }
        if ((pendingFlags & D3DCLEAR_STENCIL) && stencil)
        {
            glClearStencil((GLint)pendingStencil);
            glStencilMask(0xFF);
            mask |= GL_STENCIL_BUFFER_BIT;
        }
        glDisable(GL_SCISSOR_TEST);
        if (mask)
            glClear(mask);
        m_Dirty |= DIRTY_RASTER | DIRTY_STENCIL;
    }
    // A depth test without a depth buffer is off, so the depth group follows the attachment.
    m_Dirty |= DIRTY_DEPTH;
}

bool PfGLDevice::DrawUsesDepth() const
{
    return m_DepthStencil && (m_RenderState[D3DRS_ZENABLE] || m_RenderState[D3DRS_STENCILENABLE]);
}

void PfGLDevice::ApplyViewport()
{
    if (!(m_Dirty & DIRTY_VIEWPORT))
        return;
    m_Dirty &= ~DIRTY_VIEWPORT;
    glViewport((GLint)m_Viewport.X, (GLint)m_Viewport.Y, (GLsizei)m_Viewport.Width, (GLsizei)m_Viewport.Height);
    glDepthRange(m_Viewport.MinZ, m_Viewport.MaxZ);
}
