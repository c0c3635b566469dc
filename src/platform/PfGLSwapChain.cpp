#include "platform/PfGLSwapChain.h"

#include "platform/PfPictureFit.h"

#include <SDL2/SDL.h>
#include <epoxy/egl.h>
#include <epoxy/gl.h>
#include <epoxy/glx.h>

#include <algorithm>
#include <cmath>
#include <cstring>

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

bool PfGLSwapChain::WindowKeepsPicture()
{
    // SDL makes its contexts through GLX on X11 unless told to use EGL, and through EGL everywhere else;
    // the other interface is not touched (asking it would load its library).
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver)
        return false;
    const bool glx = std::strcmp(driver, "x11") == 0 && !SDL_GetHintBoolean("SDL_VIDEO_X11_FORCE_EGL", SDL_FALSE);
    if (glx)
    {
        Display* display = glXGetCurrentDisplay();
        const GLXDrawable drawable = glXGetCurrentDrawable();
        if (!display || !drawable || !epoxy_has_glx_extension(display, DefaultScreen(display), "GLX_EXT_buffer_age"))
            return false;
        unsigned int age = 0;
        glXQueryDrawable(display, drawable, GLX_BACK_BUFFER_AGE_EXT, &age);
        return age == 1;
    }
    EGLDisplay display = eglGetCurrentDisplay();
    EGLSurface surface = eglGetCurrentSurface(EGL_DRAW);
    if (display == EGL_NO_DISPLAY || surface == EGL_NO_SURFACE)
        return false;
    if (epoxy_has_egl_extension(display, "EGL_EXT_buffer_age"))
    {
        EGLint age = 0;
        return eglQuerySurface(display, surface, EGL_BUFFER_AGE_EXT, &age) && age == 1;
    }
    // Only a pixel buffer answers this query; a swap leaves it untouched.
    EGLint largest = -1;
    if (eglQuerySurface(display, surface, EGL_LARGEST_PBUFFER, &largest) && largest != -1)
        return true;
    EGLint behaviour = 0;
    return eglQuerySurface(display, surface, EGL_SWAP_BEHAVIOR, &behaviour) && behaviour == EGL_BUFFER_PRESERVED;
}

bool PfGLSwapChain::CanCopySubBuffer()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0 || SDL_GetHintBoolean("SDL_VIDEO_X11_FORCE_EGL", SDL_FALSE))
        return false;
    Display* display = glXGetCurrentDisplay();
    return display && glXGetCurrentDrawable() &&
           epoxy_has_glx_extension(display, DefaultScreen(display), "GLX_MESA_copy_sub_buffer");
}

void PfGLSwapChain::CopySubBuffer(int32_t x, int32_t y, int32_t width, int32_t height)
{
    // The rectangle's rows count from the bottom, as OpenGL's do.
    glXCopySubBufferMESA(glXGetCurrentDisplay(), glXGetCurrentDrawable(), x, y, width, height);
}

bool PfGLSwapChain::DrawableSize(int32_t& width, int32_t& height) const
{
    if (m_InjectedDrawable.right > 0 && m_InjectedDrawable.bottom > 0)
    {
        width = m_InjectedDrawable.right;
        height = m_InjectedDrawable.bottom;
        return true;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0 || SDL_GetHintBoolean("SDL_VIDEO_X11_FORCE_EGL", SDL_FALSE))
        return false;
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    Window root = 0;
    int x = 0, y = 0;
    unsigned int w = 0, h = 0, border = 0, depth = 0;
    if (!display || !drawable || !XGetGeometry(display, drawable, &root, &x, &y, &w, &h, &border, &depth))
        return false;
    width = static_cast<int32_t>(w);
    height = static_cast<int32_t>(h);
    return true;
}

namespace
{

// The search of the queued events for a notice of the window's size other than the one looked for.
struct QueuedResize
{
    GLXDrawable window;
    int32_t width, height;
    bool found;

    // Notes a match and keeps every event queued.
    static Bool Match(Display*, XEvent* event, XPointer arg)
    {
        auto* look = reinterpret_cast<QueuedResize*>(arg);
        if (event->type == ConfigureNotify && event->xconfigure.window == look->window &&
            (event->xconfigure.width != look->width || event->xconfigure.height != look->height))
            look->found = true;
        return False;
    }
};

} // namespace

bool PfGLSwapChain::ResizeQueued(int32_t width, int32_t height)
{
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (!display || !drawable)
        return false;
    // Every size the server gives the window is told to this connection (SDL asks for the window's
    // structure changes) before any answer the server sends after it, the driver's look at the size among
    // them: a look that saw another size than width x height left that size's notice in the queue. The
    // scan reads what has come in without waiting and takes no event from SDL.
    QueuedResize look = {drawable, width, height, false};
    XEvent event;
    XCheckIfEvent(display, &event, &QueuedResize::Match, reinterpret_cast<XPointer>(&look));
    return look.found;
}

PfResult PfGLSwapChain::Present(const PfRect* source, const PfRect* dest, PfWindowHandle window, const PfRect* damage,
                                bool* sentPart)
{
    if (sentPart)
        *sentPart = false;
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
    // The picture is fitted to SDL's size of the window; it shows as drawn only where the window system's
    // drawable has that size too (PfGLDevice keeps presenting until one present has had it). A size the
    // server takes while this picture goes out is seen by the next present: either SDL reports it by then
    // (a new size, presented whole) or the server's and SDL's still differ.
    int32_t serverWidth = 0, serverHeight = 0;
    const bool sizeKnown = DrawableSize(serverWidth, serverHeight);
    const bool atDrawableSize = !sizeKnown || (serverWidth == dw && serverHeight == dh);
    // Only the changed part where the window still shows the rest (see below).
    const bool keeps = damage && s.right > s.left && s.bottom > s.top && WindowKeepsPicture();
    // Without a kept picture, a platform that copies a part of the window's back buffer to the screen
    // (GLX_MESA_copy_sub_buffer: Xvfb's and other software GLX) is sent the changed part alone. The
    // window's back buffer then keeps the whole picture for the next part, unless a swap came between.
    // Software GLX sizes that buffer from the server's window when it first draws to the window after a
    // swap (at the blit below), and cuts a copied part from it as given: a part outside it is a request
    // the X server refuses (ending the program), or, without shared memory, a read past the buffer. So a
    // part is copied only where the driver's buffer is known to be the size it is drawn for: after a part
    // sent here (no swap since) the driver kept the size that part was drawn for, which must be this one;
    // after a swap it reads the server's size at the blit, which is the one looked at above unless the
    // window took another size meanwhile (ResizeQueued, asked once the driver has read it). Another window
    // shown since leaves the driver's buffer for this one unknown: the picture goes whole.
    const bool driverAtSize =
        window == m_CopiedWindow && (!m_CopiedPart || (m_CopiedWidth == dw && m_CopiedHeight == dh));
    bool copyPart = damage && s.right > s.left && s.bottom > s.top && !keeps && CanCopySubBuffer() && sizeKnown &&
                    atDrawableSize && driverAtSize;
    if (m_StepWatch)
        m_StepWatch(PresentStep::Looked, copyPart);
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
    // Software GL (Mesa's, as on Xvfb) learns a window's new size only from a viewport set while the
    // window is drawn to; every draw of ours goes to the back buffer texture, so without this a window
    // resized from outside keeps being shown through a buffer of its old size (the picture cut to the old
    // size, and parts copied outside that buffer refused by the X server). The same is done for every
    // present while the server's size and SDL's disagree and for the first one after, so the buffer takes
    // the size the server settles on.
    if (window != m_CopiedWindow || dw != m_CopiedWidth || dh != m_CopiedHeight || !atDrawableSize ||
        !m_ShownAtDrawableSize)
    {
        GLint viewport[4] = {};
        glGetIntegerv(GL_VIEWPORT, viewport);
        glViewport(0, 0, dw, dh);
        glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
        ++m_SizeNotices;
    }
    GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    GLint scissorBox[4] = {};
    glGetIntegerv(GL_SCISSOR_BOX, scissorBox);
    glDisable(GL_SCISSOR_TEST);
    // The changed part: the damage widened by a pixel of the back buffer (the filter reads the neighbours)
    // taken to the window and widened by one of its pixels. The bars are there already.
    const bool backHoldsPicture =
        copyPart && m_CopiedPart && m_CopiedWindow == window && m_CopiedWidth == dw && m_CopiedHeight == dh;
    const bool part = keeps || backHoldsPicture;
    PfRect windowPart = {};
    if (keeps || copyPart)
    {
        const double sx = (double)(d.right - d.left) / (s.right - s.left);
        const double sy = (double)(d.bottom - d.top) / (s.bottom - s.top);
        int32_t l = d.left + (int32_t)std::floor((damage->left - 1 - s.left) * sx) - 1;
        int32_t t = d.top + (int32_t)std::floor((damage->top - 1 - s.top) * sy) - 1;
        int32_t r = d.left + (int32_t)std::ceil((damage->right + 1 - s.left) * sx) + 1;
        int32_t b = d.top + (int32_t)std::ceil((damage->bottom + 1 - s.top) * sy) + 1;
        l = std::max({l, d.left, 0});
        t = std::max({t, d.top, 0});
        r = std::min({r, d.right, dw});
        b = std::min({b, d.bottom, dh});
        windowPart = {l, t, r, b};
        if (part)
        {
            glEnable(GL_SCISSOR_TEST);
            glScissor(l, dh - std::max(b, t), std::max(0, r - l), std::max(0, b - t));
        }
        if (sentPart)
            *sentPart = true;
    }
    // Bars only where the picture leaves part of the window uncovered.
    if (!part && !dest && (d.left > 0 || d.top > 0 || d.right < dw || d.bottom < dh))
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
    glScissor(scissorBox[0], scissorBox[1], scissorBox[2], scissorBox[3]);
    if (scissor)
        glEnable(GL_SCISSOR_TEST);
    else
        glDisable(GL_SCISSOR_TEST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, (GLuint)readPrevious);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, (GLuint)drawPrevious);
    glDeleteFramebuffers(1, &fbo);
    // A size the window took after the look is not copied into: the picture goes whole by a swap instead,
    // which sends the driver's whole buffer (cut by the server to the window whatever their sizes; one
    // that held the whole picture before this part still does) and has the driver read the size again, and
    // the next present is sent whole at the size then.
    const bool resized = copyPart && ResizeQueued(dw, dh);
    copyPart = copyPart && !resized;
    if (resized && sentPart)
        *sentPart = false;
    if (m_StepWatch)
        m_StepWatch(PresentStep::Drawn, copyPart);
    if (copyPart)
        CopySubBuffer(windowPart.left, dh - std::max(windowPart.bottom, windowPart.top),
                      std::max(0, windowPart.right - windowPart.left), std::max(0, windowPart.bottom - windowPart.top));
    else
        SDL_GL_SwapWindow(window);
    if (m_StepWatch)
        m_StepWatch(PresentStep::Sent, copyPart);
    m_CopiedPart = copyPart;
    m_ShownAtDrawableSize = atDrawableSize && !resized;
    m_CopiedWindow = window;
    m_CopiedWidth = dw;
    m_CopiedHeight = dh;
    if (window != previous && previous)
        SDL_GL_MakeCurrent(previous, context);
    GLenum error = glGetError();
    if (error == GL_OUT_OF_MEMORY)
        return D3DERR_DRIVERINTERNALERROR;
    return D3D_OK;
}
