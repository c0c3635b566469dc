#include "platform/PfGLSwapChain.h"

#include "platform/PfPictureFit.h"

#include <SDL2/SDL.h>
#include <epoxy/gl.h>

PfResult PfGLSwapChain::Create(const D3DPRESENT_PARAMETERS& params)
{
    Destroy();
    if (params.BackBufferWidth == 0 || params.BackBufferHeight == 0)
        return D3DERR_INVALIDCALL;
    m_Params = params;
    // The back buffer keeps an alpha channel whatever its nominal format: render-target alpha follows the
    // blend equations like any other target's.
    // With multisampling the back buffer is drawn through a multisampled buffer, resolved when shown or read.
    const uint32_t samples = params.MultiSampleType >= D3DMULTISAMPLE_2_SAMPLES ? (uint32_t)params.MultiSampleType : 0;
    PfResult hr = m_BackBuffer.Create(params.BackBufferWidth, params.BackBufferHeight, 1, D3DUSAGE_RENDERTARGET,
                                      D3DFMT_A8R8G8B8, samples);
    if (PfFailed(hr))
        m_Params = {};
    return hr;
}

void PfGLSwapChain::Destroy()
{
    m_BackBuffer.Destroy();
    m_Params = {};
}

PfResult PfGLSwapChain::Present(const PfRect* source, const PfRect* dest, PfWindowHandle window)
{
    if (!m_BackBuffer.IsCreated())
        return D3DERR_INVALIDCALL;
    // A back buffer never drawn into shows its zeros.
    m_BackBuffer.UploadIfDirty();
    m_BackBuffer.Resolve();
    if (!window)
        window = m_Params.hDeviceWindow;
    if (!window)
        return D3DERR_INVALIDCALL;
    SDL_GLContext context = SDL_GL_GetCurrentContext();
    SDL_Window* previous = SDL_GL_GetCurrentWindow();
    if (window != previous && SDL_GL_MakeCurrent(window, context) != 0)
        return D3DERR_INVALIDCALL;
    int dw = 0, dh = 0;
    SDL_GL_GetDrawableSize(window, &dw, &dh);
    PfRect s = {0, 0, (int32_t)m_BackBuffer.GetWidth(), (int32_t)m_BackBuffer.GetHeight()};
    if (source)
        s = *source;
    // Without a destination the picture keeps its shape: scaled uniformly and centred, black bars beside
    // or above and below it (the mouse is mapped back through the same rectangle).
    const PfRect d = dest ? *dest : PfPictureFit::Fit(s.right - s.left, s.bottom - s.top, dw, dh);

    GLint drawPrevious = 0, readPrevious = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawPrevious);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readPrevious);
    GLuint fbo = 0;
    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, m_BackBuffer.GetGLName(), 0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDrawBuffer(GL_BACK);
    GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    // Bars only where the picture leaves part of the window uncovered.
    if (!dest && (d.left > 0 || d.top > 0 || d.right < dw || d.bottom < dh))
    {
        GLfloat clear[4] = {};
        glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
        GLboolean mask[4] = {};
        glGetBooleanv(GL_COLOR_WRITEMASK, mask);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(clear[0], clear[1], clear[2], clear[3]);
        glColorMask(mask[0], mask[1], mask[2], mask[3]);
    }
    // The window's rows run bottom first: the destination's top and bottom are swapped so row 0 shows at the
    // top.
    glBlitFramebuffer(s.left, s.top, s.right, s.bottom, d.left, dh - d.top, d.right, dh - d.bottom, GL_COLOR_BUFFER_BIT,
                      GL_LINEAR);
    if (scissor)
        glEnable(GL_SCISSOR_TEST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, (GLuint)readPrevious);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, (GLuint)drawPrevious);
    glDeleteFramebuffers(1, &fbo);
    SDL_GL_SwapWindow(window);
    if (window != previous && previous)
        SDL_GL_MakeCurrent(previous, context);
    GLenum error = glGetError();
    if (error == GL_OUT_OF_MEMORY)
        return D3DERR_DRIVERINTERNALERROR;
    return D3D_OK;
}
