// The device's life: the context and its survey, device creation and reset, swap chains and present, and
// the slots cleared when a bound object goes away.
//
// Sections: creation and survey, reset and swap chains, scenes, bound objects.
#include "platform/PfGLDevice.h"

#include "platform/PfGLDriverOptions.h"
#include "platform/PfGLIndexBuffer.h"
#include "platform/PfGLTexture.h"
#include "platform/PfGLVertexBuffer.h"
#include "platform/PfGLVertexDeclaration.h"
#include "platform/PfWindowPlacement.h"

#include <SDL2/SDL.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <cstring>

namespace
{

PfGLDevice* s_Current = nullptr;

D3DFORMAT SdlFormatToD3D(uint32_t format)
{
    switch (format)
    {
    case SDL_PIXELFORMAT_RGB565:
        return D3DFMT_R5G6B5;
    case SDL_PIXELFORMAT_RGB555:
        return D3DFMT_X1R5G5B5;
    case SDL_PIXELFORMAT_ARGB2101010:
        return D3DFMT_A2R10G10B10;
    default:
        return D3DFMT_X8R8G8B8;
    }
}

} // namespace

// [SECTION] creation and survey

PfGLDevice::PfGLDevice()
{
    SetDefaultStates();
}

PfGLDevice::~PfGLDevice()
{
    Destroy();
}

PfGLDevice* PfGLDevice::GetCurrent()
{
    return s_Current;
}

PfResult PfGLDevice::CreateContext(PfWindowHandle window)
{
    Destroy();
    m_ErrorLog.clear();
    if (!window)
        return D3DERR_INVALIDCALL;
    // Done already where PfWindow made the window; a window made otherwise may not have loaded the driver yet.
    PfGLDriverOptions::Apply();
    // One hold on the OpenGL library for the rest of the process: destroying the last window would
    // otherwise unload the driver, and with it the attribution of its own allocations.
    static const bool s_LibraryHeld = SDL_GL_LoadLibrary(nullptr) == 0;
    (void)s_LibraryHeld;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context)
    {
        m_ErrorLog = SDL_GetError();
        return D3DERR_NOTAVAILABLE;
    }
    if (epoxy_gl_version() < 33)
    {
        m_ErrorLog = "OpenGL 3.3 is not available";
        SDL_GL_DeleteContext(context);
        return D3DERR_NOTAVAILABLE;
    }
    m_Window = window;
    m_Context = context;
    s_Current = this;
    SDL_AddEventWatch(WindowEventWatch, this);
    m_EventWatch = true;

    PfGLAdapterInfo& a = m_Adapter;
    a = PfGLAdapterInfo();
    auto str = [](GLenum name)
    {
        const GLubyte* s = glGetString(name);
        return s ? std::string((const char*)s) : std::string();
    };
    a.Renderer = str(GL_RENDERER);
    a.Vendor = str(GL_VENDOR);
    a.Version = str(GL_VERSION);
    a.ShadingLanguageVersion = str(GL_SHADING_LANGUAGE_VERSION);
    const char* driver = SDL_GetCurrentVideoDriver();
    a.VideoDriver = driver ? driver : "";
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &a.MaxTextureSize);
    glGetIntegerv(GL_MAX_DRAW_BUFFERS, &a.MaxDrawBuffers);
    glGetIntegerv(GL_MAX_COLOR_ATTACHMENTS, &a.MaxColorAttachments);
    glGetIntegerv(GL_MAX_SAMPLES, &a.MaxSamples);
    glGetIntegerv(GL_MAX_TEXTURE_IMAGE_UNITS, &a.MaxTextureUnits);
    glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &a.MaxVertexAttribs);
    GLint dims[2] = {};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dims);
    a.MaxViewportWidth = dims[0];
    a.MaxViewportHeight = dims[1];
    GLfloat range[2] = {};
    glGetFloatv(GL_POINT_SIZE_RANGE, range);
    a.MaxPointSize = range[1];
    if (epoxy_has_gl_extension("GL_EXT_texture_filter_anisotropic"))
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &a.MaxAnisotropy);
    int displays = SDL_GetNumVideoDisplays();
    a.DisplayCount = displays > 0 ? (uint32_t)displays : 0;
    int display = SDL_GetWindowDisplayIndex(window);
    if (display < 0)
        display = 0;
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(display, &mode) == 0)
        a.DesktopMode = {(uint32_t)std::max(mode.w, 0), (uint32_t)std::max(mode.h, 0),
                         (uint32_t)std::max(mode.refresh_rate, 0), SdlFormatToD3D(mode.format)};
    int count = SDL_GetNumDisplayModes(display);
    for (int i = 0; i < count; ++i)
    {
        if (SDL_GetDisplayMode(display, i, &mode) != 0 || mode.w <= 0 || mode.h <= 0)
            continue;
        a.DisplayModes.push_back({(uint32_t)mode.w, (uint32_t)mode.h, (uint32_t)std::max(mode.refresh_rate, 0),
                                  SdlFormatToD3D(mode.format)});
    }
    return D3D_OK;
}

PfResult PfGLDevice::CreateDevice(const D3DPRESENT_PARAMETERS& params)
{
    if (!m_Context)
        return D3DERR_INVALIDCALL;
    if (!m_Shader.Create())
    {
        m_ErrorLog = m_Shader.GetErrorLog();
        return D3DERR_NOTAVAILABLE;
    }
    GLuint names[3] = {};
    glGenFramebuffers(1, names);
    m_Framebuffer = names[0];
    glGenVertexArrays(1, names);
    m_VertexArray = names[0];
    glBindVertexArray(m_VertexArray);
    glGenBuffers(3, names);
    m_StreamBuffer = names[0];
    m_StreamIndexBuffer = names[1];
    m_QuadIndexBuffer = names[2];
    glBindBuffer(GL_ARRAY_BUFFER, m_StreamBuffer);
    m_StreamCapacity = STREAM_START_BYTES;
    m_StreamIndexCapacity = STREAM_INDEX_START_BYTES;
    glBufferData(GL_ARRAY_BUFFER, m_StreamCapacity, nullptr, GL_STREAM_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_StreamIndexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, m_StreamIndexCapacity, nullptr, GL_STREAM_DRAW);
    std::vector<uint16_t> quads(MAX_BATCH_QUADS * 6);
    for (uint32_t q = 0; q < MAX_BATCH_QUADS; ++q)
    {
        const uint16_t base = (uint16_t)(q * 4);
        const uint16_t fan[6] = {base, (uint16_t)(base + 1), (uint16_t)(base + 2),
                                 base, (uint16_t)(base + 2), (uint16_t)(base + 3)};
        std::memcpy(&quads[q * 6], fan, sizeof(fan));
    }
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_QuadIndexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, (GLsizeiptr)(quads.size() * 2), quads.data(), GL_STATIC_DRAW);
    m_BoundElementBuffer = m_QuadIndexBuffer;

    glGenTextures(1, names);
    m_WhiteTexture = names[0];
    glBindTexture(GL_TEXTURE_2D, m_WhiteTexture);
    const uint32_t white = 0xFFFFFFFF;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, &white);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    // Read through these and no sampler object (BindTextures): white at any coordinate.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    CreateSamplers();
    glUseProgram(m_Shader.GetProgram());
    m_DeviceCreated = true;
    PfResult hr = Reset(params);
    if (PfFailed(hr))
    {
        m_ErrorLog = "the back buffer could not be created";
        Destroy();
    }
    return hr;
}

void PfGLDevice::Destroy()
{
    m_QueuedQuads.clear();
    m_QueuedQuadCount = 0;
    m_FrameDeferred = false;
    m_FrameLogging = false;
    m_ReferenceValid = false;
    m_FrameLog.clear();
    m_ReferenceLog.clear();
    m_FrameLog.shrink_to_fit();
    m_ReferenceLog.shrink_to_fit();
    if (m_EventWatch)
        SDL_DelEventWatch(WindowEventWatch, this);
    m_EventWatch = false;
    if (m_Context)
    {
        SDL_GL_MakeCurrent(m_Window, (SDL_GLContext)m_Context);
        ReleaseHeldContents();
        m_ImplicitChain.Destroy();
        m_Shader.Destroy();
        GLuint buffers[3] = {m_StreamBuffer, m_StreamIndexBuffer, m_QuadIndexBuffer};
        glDeleteBuffers(3, buffers);
        GLuint name = m_VertexArray;
        if (name)
            glDeleteVertexArrays(1, &name);
        name = m_Framebuffer;
        if (name)
            glDeleteFramebuffers(1, &name);
        name = m_ReadFramebuffer;
        if (name)
            glDeleteFramebuffers(1, &name);
        name = m_WhiteTexture;
        if (name)
            glDeleteTextures(1, &name);
        for (uint32_t& sampler : m_Samplers)
        {
            name = sampler;
            if (name)
                glDeleteSamplers(1, &name);
            sampler = 0;
        }
        for (uint32_t& bound : m_BoundSamplers)
            bound = 0;
        SDL_GL_MakeCurrent(m_Window, nullptr);
        SDL_GL_DeleteContext((SDL_GLContext)m_Context);
    }
    if (s_Current == this)
        s_Current = nullptr;
    m_Context = nullptr;
    m_Window = nullptr;
    m_DeviceCreated = false;
    m_Framebuffer = m_VertexArray = m_StreamBuffer = m_StreamIndexBuffer = m_QuadIndexBuffer = 0;
    m_ReadFramebuffer = 0;
    m_WhiteTexture = 0;
    m_StreamOffset = m_StreamIndexOffset = 0;
    m_StreamCapacity = m_StreamIndexCapacity = 0;
    m_BoundElementBuffer = 0;
    m_InjectedPresentResult = D3D_OK;
    SetDefaultStates();
}

uint64_t PfGLDevice::GetAvailableTextureMem() const
{
    if (!m_Context)
        return 0;
    // Mesa and NVIDIA answer in KiB through their own extensions; an implementation without either is taken
    // to have the 512 MiB a modest card brought.
    GLint kib[4] = {};
    if (epoxy_has_gl_extension("GL_NVX_gpu_memory_info"))
    {
        glGetIntegerv(GL_GPU_MEMORY_INFO_CURRENT_AVAILABLE_VIDMEM_NVX, kib);
        return (uint64_t)kib[0] << 10;
    }
    if (epoxy_has_gl_extension("GL_ATI_meminfo"))
    {
        glGetIntegerv(GL_TEXTURE_FREE_MEMORY_ATI, kib);
        return (uint64_t)kib[0] << 10;
    }
    return 512ull << 20;
}

// [SECTION] reset and swap chains

PfResult PfGLDevice::Reset(const D3DPRESENT_PARAMETERS& params)
{
    FlushQuads();
    if (!m_DeviceCreated)
        return D3DERR_INVALIDCALL;
    if (params.BackBufferWidth == 0 || params.BackBufferHeight == 0 ||
        (int32_t)params.BackBufferWidth > m_Adapter.MaxTextureSize ||
        (int32_t)params.BackBufferHeight > m_Adapter.MaxTextureSize)
        return D3DERR_INVALIDCALL;
    D3DPRESENT_PARAMETERS p = params;
    if (!p.hDeviceWindow)
        p.hDeviceWindow = m_Window;
    // Full screen covers the desktop, the back buffer shown in it with its shape kept (Present); no display
    // mode changes.
    SDL_SetWindowFullscreen(p.hDeviceWindow, p.Windowed ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    // Presents wait that many vertical blanks where the driver can; one where it cannot go beyond one.
    m_WantedSwapInterval = SwapIntervalFor(p.PresentationInterval);
    m_SwapInterval = m_WantedSwapInterval;
    if (SDL_GL_SetSwapInterval(m_SwapInterval) != 0)
    {
        m_SwapInterval = m_WantedSwapInterval > 1 && SDL_GL_SetSwapInterval(1) == 0 ? 1 : SDL_GL_GetSwapInterval();
    }
    // A new back buffer holds no frame: nothing held back is drawn into the old one, nothing compared.
    m_FrameDeferred = false;
    m_FrameLogging = false;
    m_ReferenceValid = false;
    SetDefaultStates();
    PfResult hr = m_ImplicitChain.Create(p);
    if (PfFailed(hr))
        return hr;
    m_RenderTargets[0] = m_ImplicitChain.GetBackBuffer();
    m_Viewport = {0, 0, p.BackBufferWidth, p.BackBufferHeight, 0.0f, 1.0f};
    for (uint32_t stage = 0; stage < PF_STAGE_COUNT; ++stage)
        ApplySampler(stage);
    BeginFrameLog();
    return D3D_OK;
}

void PfGLDevice::PlaceWindow(uint32_t width, uint32_t height)
{
    if (!m_Window)
        return;
    SDL_SetWindowBordered(m_Window, SDL_TRUE);
    PfWindowPlacement::Apply(m_Window, (int)width, (int)height);
}

int PfGLDevice::SwapIntervalFor(uint32_t presentationInterval)
{
    switch (presentationInterval)
    {
    case D3DPRESENT_INTERVAL_IMMEDIATE:
        return 0;
    case D3DPRESENT_INTERVAL_TWO:
        return 2;
    case D3DPRESENT_INTERVAL_THREE:
        return 3;
    case D3DPRESENT_INTERVAL_FOUR:
        return 4;
    default:
        return 1;
    }
}

PfGLSwapChain* PfGLDevice::GetSwapChain(uint32_t index)
{
    if (index != 0 || !m_ImplicitChain.IsCreated())
        return nullptr;
    return &m_ImplicitChain;
}

PfResult PfGLDevice::CreateAdditionalSwapChain(const D3DPRESENT_PARAMETERS& params,
                                               std::unique_ptr<PfGLSwapChain>& chain)
{
    chain.reset();
    if (!m_DeviceCreated)
        return D3DERR_INVALIDCALL;
    D3DPRESENT_PARAMETERS p = params;
    if (!p.hDeviceWindow)
        p.hDeviceWindow = m_Window;
    auto created = std::make_unique<PfGLSwapChain>();
    PfResult hr = created->Create(p);
    if (PfFailed(hr))
        return hr;
    chain = std::move(created);
    return D3D_OK;
}

PfResult PfGLDevice::DiscardFrame()
{
    if (!m_DeviceCreated)
        return D3DERR_INVALIDCALL;
    FlushQuads();
    PlayDeferredFrame();
    // The back buffer no longer holds the picture the window shows.
    m_ReferenceValid = false;
    BeginFrameLog();
    return D3D_OK;
}

PfResult PfGLDevice::Present(PfGLSwapChain* chain, const PfRect* source, const PfRect* dest, PfWindowHandle window)
{
    if (!m_DeviceCreated || !chain)
        return D3DERR_INVALIDCALL;
    if (m_InjectedPresentResult != D3D_OK)
    {
        PfResult hr = m_InjectedPresentResult;
        m_InjectedPresentResult = D3D_OK;
        MarkFrameIncomparable();
        m_ReferenceValid = false;
        BeginFrameLog();
        return hr;
    }
    FlushQuads();
    if (chain != &m_ImplicitChain)
    {
        // Its back buffer holds the commands held back for it only once they are made.
        NoteTextureChange(chain->GetBackBuffer(), false);
        PfResult hr = chain->Present(source, dest, window);
        m_Dirty |= DIRTY_FRAMEBUFFER | DIRTY_RASTER;
        // The window may be the implicit chain's: its picture is not the one the next frame starts from.
        m_ShownWindow = nullptr;
        return hr;
    }
    // The picture is shown again where the window lost it or its size or the present's rectangles changed.
    PfWindowHandle shownWindow = window ? window : chain->GetPresentParameters().hDeviceWindow;
    int dw = 0, dh = 0;
    if (shownWindow)
        SDL_GL_GetDrawableSize(shownWindow, &dw, &dh);
    const bool sameShow = !m_WindowExposed.exchange(false) && shownWindow == m_ShownWindow && dw == m_ShownWidth &&
                          dh == m_ShownHeight && (source != nullptr) == m_ShownHasSource &&
                          (dest != nullptr) == m_ShownHasDest &&
                          (!source || std::memcmp(source, &m_ShownSource, sizeof(PfRect)) == 0) &&
                          (!dest || std::memcmp(dest, &m_ShownDest, sizeof(PfRect)) == 0);
    // A frame still held back is compared whole with the last one shown.
    const bool sameFrame = m_FrameDeferred && m_FrameLog.size() == m_ReferenceLog.size() &&
                           (m_FrameLog.empty() ||
                            std::memcmp(m_FrameLog.data(), m_ReferenceLog.data(), m_FrameLog.size()) == 0);
    if (sameFrame && sameShow)
    {
        ++m_SkippedFrames;
        m_FrameDeferred = false;
        BeginFrameLog();
        return D3D_OK;
    }
    // Other commands may still give the same picture: where both frames' pictures are of one colour at a
    // point and their commands after it are equal (PfGLDeviceDamage.cpp). The log then describes what the
    // back buffer holds as well as the last one did. A held-back frame's log names only textures that are
    // still there (one going away has it drawn).
    const bool heldBack = m_FrameDeferred;
    uint32_t colour = 0;
    size_t after = 0;
    if (!sameFrame && heldBack && sameShow && m_ReferenceColourKnown &&
        FindColourPoint(m_FrameLog, m_ColourCommands, colour, after) && colour == m_ReferenceColour &&
        SameAfterColourPoint(after, m_ReferenceColourAfter))
    {
        ++m_SkippedFrames;
        m_FrameDeferred = false;
        m_ReferenceLog.swap(m_FrameLog);
        m_ReferenceColourAfter = after;
        BeginFrameLog();
        return D3D_OK;
    }
    // The back buffer holds the last shown picture: a frame that differs from it in a few places is drawn
    // again there only.
    PfRect damage = {};
    bool partial = false;
    if (sameFrame)
        m_FrameDeferred = false; // the back buffer holds this picture already
    else if (m_FrameDeferred && FindFrameDamage(damage))
    {
        // Different commands may still make the same pixels (a glyph drawn on its own in one frame and
        // with its line in the next): where the region drawn again holds what it held, nothing is shown.
        const bool looked = sameShow && ReadBackRegion(damage, m_RegionBefore);
        PlayDeferredFrame(&damage);
        partial = true;
        ++m_PartialFrames;
        const bool unchanged = sameShow && (damage.left >= damage.right || damage.top >= damage.bottom ||
                                            (looked && ReadBackRegion(damage, m_RegionAfter) &&
                                             m_RegionBefore == m_RegionAfter));
        if (unchanged)
        {
            ++m_SkippedFrames;
            m_ReferenceLog.swap(m_FrameLog);
            m_ReferenceValid = true;
            m_ReferenceColourKnown =
                FindColourPoint(m_ReferenceLog, m_ColourCommands, m_ReferenceColour, m_ReferenceColourAfter);
            BeginFrameLog();
            return D3D_OK;
        }
    }
    else
        PlayDeferredFrame();
    bool sentPart = false;
    PfResult hr = chain->Present(source, dest, window, partial && sameShow ? &damage : nullptr, &sentPart);
    if (sentPart)
        ++m_PartialPresents;
    // Presenting rebinds frame buffers and moves the scissor behind the device's back.
    m_Dirty |= DIRTY_FRAMEBUFFER | DIRTY_RASTER;
    ++m_PresentedFrames;
    // A window resized from outside may take its new size in the driver only after this present's swap
    // (software GL reads it then), so this present may have gone through a buffer of the old size: the next
    // one is sent whole too, even when its frame is unchanged.
    if (shownWindow == m_ShownWindow && (dw != m_ShownWidth || dh != m_ShownHeight))
        m_WindowExposed = true;
    // Nor is a present safe that was drawn for a size the window system's drawable did not have then (the
    // server applies a resize later than SDL reports it, or earlier): every following one is sent whole,
    // even when its frame is unchanged, until one has been drawn at the drawable's own size.
    if (!chain->WasShownAtDrawableSize())
        m_WindowExposed = true;
    // A failed present leaves the window's picture unknown: the next one is sent whole.
    m_ShownWindow = hr == D3D_OK ? shownWindow : nullptr;
    m_ShownWidth = dw;
    m_ShownHeight = dh;
    m_ShownHasSource = source != nullptr;
    m_ShownHasDest = dest != nullptr;
    m_ShownSource = source ? *source : PfRect{};
    m_ShownDest = dest ? *dest : PfRect{};
    if (m_FrameLogging && !sameFrame)
    {
        m_ReferenceLog.swap(m_FrameLog);
        // Its textures' colours are known now that it has been drawn (a picture made at its first use).
        m_ReferenceColourKnown =
            heldBack && FindColourPoint(m_ReferenceLog, m_ColourCommands, m_ReferenceColour, m_ReferenceColourAfter);
    }
    m_ReferenceValid = m_FrameLogging && hr == D3D_OK;
    BeginFrameLog();
    return hr;
}

// [SECTION] scenes

PfResult PfGLDevice::BeginScene()
{
    return m_DeviceCreated ? D3D_OK : D3DERR_INVALIDCALL;
}

PfResult PfGLDevice::EndScene()
{
    if (!m_DeviceCreated)
        return D3DERR_INVALIDCALL;
    // The quads queued in the scene stay queued: each widget draws in a scene of its own, and sending
    // them here would cut a screen of widgets into a draw call each. Present, read-backs, target
    // changes and state changes send them.
    return D3D_OK;
}

void PfGLDevice::Finish()
{
    FlushQuads();
    PlayDeferredFrame();
    if (m_Context)
        glFinish();
}

// [SECTION] bound objects

void PfGLDevice::Unbind(const PfGLTexture* texture)
{
    if (!texture)
        return;
    for (PfGLTexture*& bound : m_Textures)
        if (bound == texture)
        {
            bound = nullptr;
            m_Dirty |= DIRTY_UNIFORMS;
        }
    for (PfGLTexture*& target : m_RenderTargets)
        if (target == texture)
        {
            target = nullptr;
            m_Dirty |= DIRTY_FRAMEBUFFER;
        }
    if (m_DepthStencil == texture)
    {
        m_DepthStencil = nullptr;
        m_Dirty |= DIRTY_FRAMEBUFFER;
    }
}

void PfGLDevice::Unbind(const PfGLVertexBuffer* buffer)
{
    if (!buffer)
        return;
    NoteBufferChange(buffer);
    if (m_StreamSource == buffer)
        m_StreamSource = nullptr;
    for (PfGLVertexBuffer*& stream : m_Streams)
        if (stream == buffer)
            stream = nullptr;
}

void PfGLDevice::Unbind(const PfGLIndexBuffer* buffer)
{
    if (!buffer)
        return;
    NoteBufferChange(buffer);
    if (m_Indices == buffer)
        m_Indices = nullptr;
    // The name goes back to OpenGL and may come out again for a new buffer, which the remembered binding
    // would then wrongly claim is bound.
    if (buffer->GetGLName() != 0 && buffer->GetGLName() == m_BoundElementBuffer)
        m_BoundElementBuffer = 0;
}

void PfGLDevice::Unbind(const PfGLVertexDeclaration* declaration)
{
    // Draws written down name their declaration by its address, which a new one may take: held-back draws
    // are made now, and the next frame is not compared with this one.
    if (declaration && m_Context && SDL_GL_GetCurrentContext() == (SDL_GLContext)m_Context)
    {
        MarkFrameIncomparable();
        m_ReferenceValid = false;
    }
    if (declaration && m_Declaration == declaration)
    {
        m_Declaration = nullptr;
        m_Dirty |= DIRTY_UNIFORMS;
    }
}
