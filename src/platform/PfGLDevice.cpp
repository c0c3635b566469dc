#include "platform/PfGLDevice.h"

#include "platform/PfGLIndexBuffer.h"
#include "platform/PfGLTexture.h"
#include "platform/PfGLVertexBuffer.h"
#include "platform/PfGLVertexDeclaration.h"
#include "platform/PfWindowPlacement.h"

#include <SDL2/SDL.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

// [SECTION] helpers
// [SECTION] creation and survey
// [SECTION] reset and swap chains
// [SECTION] targets and clear
// [SECTION] states
// [SECTION] state translation
bool PfGLDevice::PrepareFVFDraw()
{
    return PrepareDraw((m_FVF & D3DFVF_POSITION_MASK) == D3DFVF_XYZRHW);
}

void PfGLDevice::BindElementBuffer(uint32_t buffer)
{
    if (m_BoundElementBuffer == buffer)
        return;
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer);
    m_BoundElementBuffer = buffer;
}

// [SECTION] drawing

namespace
{

PfGLDevice* s_Current = nullptr;

// The streaming buffers take the vertices and indices of drawing from memory; when full they are orphaned
// and filled again from the start, so a draw never waits for the previous ones.
constexpr uint32_t STREAM_BYTES = 4u << 20;
constexpr uint32_t STREAM_INDEX_BYTES = 1u << 20;
// 16-bit indices address 65,536 vertices: 16,384 quads per batch.
constexpr uint32_t MAX_BATCH_QUADS = 16384;

uint32_t FloatBits(float f)
{
    uint32_t u;
    std::memcpy(&u, &f, sizeof(u));
    return u;
}

float BitsFloat(uint32_t u)
{
    float f;
    std::memcpy(&f, &u, sizeof(f));
    return f;
}

D3DMATRIX Identity()
{
    D3DMATRIX m = {};
    for (int i = 0; i < 4; ++i)
        m.m[i][i] = 1.0f;
    return m;
}

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

bool PrimitiveMode(D3DPRIMITIVETYPE type, uint32_t primitives, GLenum& mode, uint32_t& vertices)
{
    switch (type)
    {
    case D3DPT_POINTLIST:
        mode = GL_POINTS;
        vertices = primitives;
        return true;
    case D3DPT_LINELIST:
        mode = GL_LINES;
        vertices = primitives * 2;
        return true;
    case D3DPT_LINESTRIP:
        mode = GL_LINE_STRIP;
        vertices = primitives + 1;
        return true;
    case D3DPT_TRIANGLELIST:
        mode = GL_TRIANGLES;
        vertices = primitives * 3;
        return true;
    case D3DPT_TRIANGLESTRIP:
        mode = GL_TRIANGLE_STRIP;
        vertices = primitives + 2;
        return true;
    case D3DPT_TRIANGLEFAN:
        mode = GL_TRIANGLE_FAN;
        vertices = primitives + 2;
        return true;
    default:
        return false;
    }
}

void ColorToFloats(uint32_t argb, float out[4])
{
    out[0] = ((argb >> 16) & 0xFF) / 255.0f;
    out[1] = ((argb >> 8) & 0xFF) / 255.0f;
    out[2] = (argb & 0xFF) / 255.0f;
    out[3] = ((argb >> 24) & 0xFF) / 255.0f;
}

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
    glBufferData(GL_ARRAY_BUFFER, STREAM_BYTES, nullptr, GL_STREAM_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_StreamIndexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, STREAM_INDEX_BYTES, nullptr, GL_STREAM_DRAW);
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
    if (m_Context)
    {
        SDL_GL_MakeCurrent(m_Window, (SDL_GLContext)m_Context);
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
        SDL_GL_MakeCurrent(m_Window, nullptr);
        SDL_GL_DeleteContext((SDL_GLContext)m_Context);
    }
    if (s_Current == this)
        s_Current = nullptr;
    m_Context = nullptr;
    m_Window = nullptr;
    m_DeviceCreated = false;
    m_Framebuffer = m_VertexArray = m_StreamBuffer = m_StreamIndexBuffer = m_QuadIndexBuffer = 0;
    m_WhiteTexture = 0;
    m_StreamOffset = m_StreamIndexOffset = 0;
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
    SetDefaultStates();
    PfResult hr = m_ImplicitChain.Create(p);
    if (PfFailed(hr))
        return hr;
    m_RenderTargets[0] = m_ImplicitChain.GetBackBuffer();
    m_Viewport = {0, 0, p.BackBufferWidth, p.BackBufferHeight, 0.0f, 1.0f};
    for (uint32_t stage = 0; stage < PF_STAGE_COUNT; ++stage)
        ApplySampler(stage);
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

PfResult PfGLDevice::Present(PfGLSwapChain* chain, const PfRect* source, const PfRect* dest, PfWindowHandle window)
{
    if (!m_DeviceCreated || !chain)
        return D3DERR_INVALIDCALL;
    if (m_InjectedPresentResult != D3D_OK)
    {
        PfResult hr = m_InjectedPresentResult;
        m_InjectedPresentResult = D3D_OK;
        return hr;
    }
    FlushQuads();
    PfResult hr = chain->Present(source, dest, window);
    // Presenting rebinds frame buffers behind the device's back.
    m_Dirty |= DIRTY_FRAMEBUFFER;
    return hr;
}

// [SECTION] targets and clear

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
        const int32_t l = std::max(rects[i].left, vl), t = std::max(rects[i].top, vt);
        const int32_t r = std::min(rects[i].right, vr), b = std::min(rects[i].bottom, vb);
        if (l >= r || t >= b)
            continue;
        glScissor(l, t, r - l, b - t);
        glClear(mask);
    }
    m_Dirty |= DIRTY_RASTER | DIRTY_DEPTH | DIRTY_STENCIL;
    return D3D_OK;
}

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
    if (m_Context)
        glFinish();
}

// [SECTION] states

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
    m_SamplerState[stage][type] = value;
    ApplySampler(stage);
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

// [SECTION] state translation

void PfGLDevice::CreateSamplers()
{
    GLuint names[PF_STAGE_COUNT] = {};
    glGenSamplers(PF_STAGE_COUNT, names);
    for (uint32_t stage = 0; stage < PF_STAGE_COUNT; ++stage)
    {
        m_Samplers[stage] = names[stage];
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

void PfGLDevice::ApplyFramebuffer(bool useDepth)
{
    glBindFramebuffer(GL_FRAMEBUFFER, m_Framebuffer);
    const uint32_t depth = useDepth && m_DepthStencil ? m_DepthStencil->GetGLName() : 0;
    if (!(m_Dirty & DIRTY_FRAMEBUFFER) && depth == m_AttachedDepth)
        return;
    if (m_Dirty & DIRTY_FRAMEBUFFER)
    {
        m_Dirty &= ~DIRTY_FRAMEBUFFER;
        // Attachments are made again on every change: a deleted texture's name may come back for a new one.
        GLenum buffers[MAX_RENDER_TARGETS];
        for (uint32_t i = 0; i < MAX_RENDER_TARGETS; ++i)
        {
            const uint32_t name = m_RenderTargets[i] ? m_RenderTargets[i]->GetGLName() : 0;
            glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + i, GL_TEXTURE_2D, name, 0);
            buffers[i] = name ? GL_COLOR_ATTACHMENT0 + i : GL_NONE;
        }
        glDrawBuffers(MAX_RENDER_TARGETS, buffers);
    }
    const bool stencil = depth && m_DepthStencil->GetFormat() != D3DFMT_D16 &&
                         m_DepthStencil->GetFormat() != D3DFMT_D16_LOCKABLE &&
                         m_DepthStencil->GetFormat() != D3DFMT_D32;
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_TEXTURE_2D, 0, 0);
    if (depth)
        glFramebufferTexture2D(GL_FRAMEBUFFER, stencil ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT,
                               GL_TEXTURE_2D, depth, 0);
    m_AttachedDepth = depth;
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
    const uint32_t fill = rs[D3DRS_FILLMODE];
    glPolygonMode(GL_FRONT_AND_BACK, fill == D3DFILL_POINT ? GL_POINT : fill == D3DFILL_WIREFRAME ? GL_LINE : GL_FILL);
    const uint32_t mask = rs[D3DRS_COLORWRITEENABLE];
    // Write-enable bits are red 1, green 2, blue 4, alpha 8.
    glColorMask((mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0, (mask & 8) != 0);
    if (rs[D3DRS_SCISSORTESTENABLE])
    {
        glEnable(GL_SCISSOR_TEST);
        glScissor(m_ScissorRect.left, m_ScissorRect.top, std::max(0, m_ScissorRect.right - m_ScissorRect.left),
                  std::max(0, m_ScissorRect.bottom - m_ScissorRect.top));
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
        if (texture)
            texture->UploadIfDirty();
        // Bound at every draw: names of deleted textures come back for new ones, so a remembered binding
        // could point at an object that no longer exists.
        glActiveTexture(GL_TEXTURE0 + stage);
        glBindTexture(GL_TEXTURE_2D, texture ? texture->GetGLName() : m_WhiteTexture);
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
    BindTextures();
    glBindVertexArray(m_VertexArray);
    return true;
}

// [SECTION] drawing

PfResult PfGLDevice::SetFVF(uint32_t fvf)
{
    if (!m_DeviceCreated)
        return D3DERR_INVALIDCALL;
    if (fvf != m_FVF)
    {
        FlushQuads();
        m_Dirty |= DIRTY_UNIFORMS;
    }
    m_FVF = fvf;
    if (fvf != 0 && m_Declaration)
    {
        m_Declaration = nullptr;
        m_Dirty |= DIRTY_UNIFORMS;
    }
    return D3D_OK;
}

PfResult PfGLDevice::SetVertexDeclaration(PfGLVertexDeclaration* declaration)
{
    if (!m_DeviceCreated)
        return D3DERR_INVALIDCALL;
    if (declaration && !declaration->IsCreated())
        return D3DERR_INVALIDCALL;
    if (declaration != m_Declaration || (declaration && m_FVF != 0))
    {
        // Batched quads were made for the FVF that this replaces.
        FlushQuads();
        m_Dirty |= DIRTY_UNIFORMS;
    }
    m_Declaration = declaration;
    if (declaration)
        m_FVF = 0;
    return D3D_OK;
}

uint32_t PfGLDevice::ShaderFVF() const
{
    return (m_FVF == 0 && m_Declaration) ? m_Declaration->GetEquivalentFVF() : m_FVF;
}

PfResult PfGLDevice::SetStreamSource(uint32_t stream, PfGLVertexBuffer* buffer, uint32_t offset, uint32_t stride)
{
    if (!m_DeviceCreated || stream >= 16)
        return D3DERR_INVALIDCALL;
    if (stream < DECLARED_STREAMS)
    {
        m_Streams[stream] = buffer;
        m_StreamOffsets[stream] = offset;
        m_StreamStrides[stream] = stride;
    }
    // Stream 0 feeds the FVF draws; streams 1 to 3 only a vertex declaration, the others are dropped.
    if (stream != 0)
        return D3D_OK;
    m_StreamSource = buffer;
    m_StreamSourceOffset = offset;
    m_StreamSourceStride = stride;
    return D3D_OK;
}

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
    if (m_Indices == buffer)
        m_Indices = nullptr;
    // The name goes back to OpenGL and may come out again for a new buffer, which the remembered binding
    // would then wrongly claim is bound.
    if (buffer->GetGLName() != 0 && buffer->GetGLName() == m_BoundElementBuffer)
        m_BoundElementBuffer = 0;
}

void PfGLDevice::Unbind(const PfGLVertexDeclaration* declaration)
{
    if (declaration && m_Declaration == declaration)
    {
        m_Declaration = nullptr;
        m_Dirty |= DIRTY_UNIFORMS;
    }
}

PfResult PfGLDevice::SetIndices(PfGLIndexBuffer* buffer)
{
    if (!m_DeviceCreated)
        return D3DERR_INVALIDCALL;
    m_Indices = buffer;
    return D3D_OK;
}

void PfGLDevice::BindVertexLayout(uint32_t buffer, uint32_t fvf, uint32_t stride, uintptr_t baseOffset)
{
    // Only the device's own streaming buffer may skip the layout: a caller's buffer may have been deleted and
    // its name given to a new one since the last draw.
    if (buffer == m_StreamBuffer && buffer == m_LayoutBuffer && fvf == m_LayoutFVF && stride == m_LayoutStride &&
        baseOffset == m_LayoutOffset)
        return;
    m_LayoutBuffer = buffer;
    m_LayoutFVF = fvf;
    m_LayoutStride = stride;
    m_LayoutOffset = baseOffset;
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    uintptr_t offset = baseOffset;
    auto attribute = [&](GLuint index, bool present, GLint size, GLenum type, GLboolean normalized, uint32_t bytes)
    {
        if (!present)
        {
            glDisableVertexAttribArray(index);
            return;
        }
        glEnableVertexAttribArray(index);
        glVertexAttribPointer(index, size, type, normalized, (GLsizei)stride, (const void*)offset);
        offset += bytes;
    };
    const uint32_t position = fvf & D3DFVF_POSITION_MASK;
    if (position == D3DFVF_XYZRHW)
        attribute(PfGLShader::A_POSITION, true, 4, GL_FLOAT, GL_FALSE, 16);
    else
        attribute(PfGLShader::A_POSITION, true, 3, GL_FLOAT, GL_FALSE, 12);
    attribute(PfGLShader::A_NORMAL, (fvf & D3DFVF_NORMAL) != 0, 3, GL_FLOAT, GL_FALSE, 12);
    if (fvf & D3DFVF_PSIZE)
        offset += 4;
    // Packed ARGB colours are the bytes B, G, R, A: OpenGL's BGRA size.
    attribute(PfGLShader::A_DIFFUSE, (fvf & D3DFVF_DIFFUSE) != 0, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, 4);
    attribute(PfGLShader::A_SPECULAR, (fvf & D3DFVF_SPECULAR) != 0, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, 4);
    const uint32_t texCount = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    attribute(PfGLShader::A_TEX0, texCount >= 1, 2, GL_FLOAT, GL_FALSE, 8);
    attribute(PfGLShader::A_TEX1, texCount >= 2, 2, GL_FLOAT, GL_FALSE, 8);
    if (texCount < 1)
        glVertexAttrib2f(PfGLShader::A_TEX0, 0.0f, 0.0f);
    if (texCount < 2)
        glVertexAttrib2f(PfGLShader::A_TEX1, 0.0f, 0.0f);
}

bool PfGLDevice::StreamVertices(const void* data, uint32_t bytes, uint32_t stride, uint32_t& firstVertex)
{
    if (!data || bytes == 0 || stride == 0 || bytes > STREAM_BYTES)
        return false;
    // Vertices start on a multiple of the stride so one layout serves every draw of that stride.
    uint32_t offset = (m_StreamOffset + stride - 1) / stride * stride;
    glBindBuffer(GL_ARRAY_BUFFER, m_StreamBuffer);
    if (offset + bytes > STREAM_BYTES)
    {
        glBufferData(GL_ARRAY_BUFFER, STREAM_BYTES, nullptr, GL_STREAM_DRAW);
        offset = 0;
    }
    void* target = glMapBufferRange(GL_ARRAY_BUFFER, offset, bytes,
                                    GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT);
    if (!target)
        return false;
    std::memcpy(target, data, bytes);
    glUnmapBuffer(GL_ARRAY_BUFFER);
    m_StreamOffset = offset + bytes;
    firstVertex = offset / stride;
    return true;
}

bool PfGLDevice::StreamIndices(const void* data, uint32_t bytes, uint32_t& offset)
{
    if (!data || bytes == 0 || bytes > STREAM_INDEX_BYTES)
        return false;
    offset = (m_StreamIndexOffset + 3) & ~3u;
    BindElementBuffer(m_StreamIndexBuffer);
    if (offset + bytes > STREAM_INDEX_BYTES)
    {
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, STREAM_INDEX_BYTES, nullptr, GL_STREAM_DRAW);
        offset = 0;
    }
    glBufferSubData(GL_ELEMENT_ARRAY_BUFFER, offset, bytes, data);
    m_StreamIndexOffset = offset + bytes;
    return true;
}

PfResult PfGLDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertices,
                                     uint32_t stride)
{
    FlushQuads();
    GLenum mode;
    uint32_t count;
    if (!vertices || primitiveCount == 0 || !PrimitiveMode(type, primitiveCount, mode, count))
        return D3DERR_INVALIDCALL;
    NoteVertexSpecular(vertices, count, stride);
    if (!PrepareFVFDraw())
        return D3DERR_INVALIDCALL;
    uint32_t first = 0;
    if (!StreamVertices(vertices, count * stride, stride, first))
        return D3DERR_INVALIDCALL;
    BindVertexLayout(m_StreamBuffer, m_FVF, stride, 0);
    glDrawArrays(mode, (GLint)first, (GLsizei)count);
    ++m_DrawCalls;
    return D3D_OK;
}

PfResult PfGLDevice::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t minIndex, uint32_t vertexCount,
                                            uint32_t primitiveCount, const void* indices, D3DFORMAT indexFormat,
                                            const void* vertices, uint32_t stride)
{
    FlushQuads();
    GLenum mode;
    uint32_t count;
    if (!vertices || !indices || primitiveCount == 0 || !PrimitiveMode(type, primitiveCount, mode, count))
        return D3DERR_INVALIDCALL;
    const uint32_t indexSize = indexFormat == D3DFMT_INDEX32 ? 4 : 2;
    NoteVertexSpecular(vertices, minIndex + vertexCount, stride);
    if (!PrepareFVFDraw())
        return D3DERR_INVALIDCALL;
    uint32_t first = 0, indexOffset = 0;
    if (!StreamVertices(vertices, (minIndex + vertexCount) * stride, stride, first) ||
        !StreamIndices(indices, count * indexSize, indexOffset))
        return D3DERR_INVALIDCALL;
    BindVertexLayout(m_StreamBuffer, m_FVF, stride, 0);
    glDrawElementsBaseVertex(mode, (GLsizei)count, indexSize == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                             (const void*)(uintptr_t)indexOffset, (GLint)first);
    ++m_DrawCalls;
    return D3D_OK;
}

PfResult PfGLDevice::DrawQuadsUP(uint32_t quadCount, const void* vertices, uint32_t stride)
{
    if (!vertices || quadCount == 0 || stride == 0)
        return D3DERR_INVALIDCALL;
    NoteVertexSpecular(vertices, quadCount * 4, stride);
    if (!PrepareFVFDraw())
        return D3DERR_INVALIDCALL;
    const uint8_t* bytes = (const uint8_t*)vertices;
    const uint32_t perBatch = std::min(MAX_BATCH_QUADS, STREAM_BYTES / (4 * stride));
    while (quadCount > 0)
    {
        const uint32_t n = std::min(quadCount, perBatch);
        uint32_t first = 0;
        if (!StreamVertices(bytes, n * 4 * stride, stride, first))
            return D3DERR_INVALIDCALL;
        BindVertexLayout(m_StreamBuffer, m_FVF, stride, 0);
        BindElementBuffer(m_QuadIndexBuffer);
        glDrawElementsBaseVertex(GL_TRIANGLES, (GLsizei)(n * 6), GL_UNSIGNED_SHORT, nullptr, (GLint)first);
        ++m_DrawCalls;
        bytes += (size_t)n * 4 * stride;
        quadCount -= n;
    }
    return D3D_OK;
}

PfResult PfGLDevice::QueueQuadsUP(uint32_t quadCount, const void* vertices, uint32_t stride)
{
    if (!m_DeviceCreated || !vertices || quadCount == 0 || stride == 0)
        return D3DERR_INVALIDCALL;
    if (m_QueuedQuadCount > 0 && (stride != m_QueuedStride || m_QueuedQuadCount + quadCount > MAX_QUEUED_QUADS ||
                                  std::memcmp(m_QueuedTextures, m_Textures, sizeof(m_Textures)) != 0))
        FlushQuads();
    if (m_QueuedQuadCount == 0)
        std::memcpy(m_QueuedTextures, m_Textures, sizeof(m_Textures));
    m_QueuedStride = stride;
    const size_t bytes = (size_t)quadCount * 4 * stride;
    const size_t at = (size_t)m_QueuedQuadCount * 4 * stride;
    // The queue keeps its memory from frame to frame.
    if (m_QueuedQuads.size() < at + bytes)
        m_QueuedQuads.resize(at + bytes);
    std::memcpy(m_QueuedQuads.data() + at, vertices, bytes);
    m_QueuedQuadCount += quadCount;
    return D3D_OK;
}

void PfGLDevice::FlushQuads()
{
    // Only the thread that draws may send; a movie thread locking a texture leaves the queue alone.
    if (m_QueuedQuadCount == 0 || SDL_GL_GetCurrentContext() != (SDL_GLContext)m_Context)
        return;
    const uint32_t count = m_QueuedQuadCount;
    m_QueuedQuadCount = 0;
    if (std::memcmp(m_QueuedTextures, m_Textures, sizeof(m_Textures)) == 0)
    {
        DrawQuadsUP(count, m_QueuedQuads.data(), m_QueuedStride);
        return;
    }
    // The textures changed after the quads were queued: they are drawn with the ones they were queued
    // under, and the current ones come back for what follows.
    PfGLTexture* current[PF_STAGE_COUNT];
    std::memcpy(current, m_Textures, sizeof(m_Textures));
    std::memcpy(m_Textures, m_QueuedTextures, sizeof(m_Textures));
    m_Dirty |= DIRTY_UNIFORMS;
    DrawQuadsUP(count, m_QueuedQuads.data(), m_QueuedStride);
    std::memcpy(m_Textures, current, sizeof(m_Textures));
    m_Dirty |= DIRTY_UNIFORMS;
}

PfResult PfGLDevice::DrawPrimitive(D3DPRIMITIVETYPE type, uint32_t startVertex, uint32_t primitiveCount)
{
    FlushQuads();
    GLenum mode;
    uint32_t count;
    if (!m_StreamSource || !m_StreamSource->IsCreated() || m_StreamSourceStride == 0 || primitiveCount == 0 ||
        !PrimitiveMode(type, primitiveCount, mode, count))
        return D3DERR_INVALIDCALL;
    if (m_StreamSourceOffset + (uint64_t)(startVertex + count) * m_StreamSourceStride > m_StreamSource->GetLength())
        return D3DERR_INVALIDCALL;
    if (!PrepareFVFDraw())
        return D3DERR_INVALIDCALL;
    BindVertexLayout(m_StreamSource->GetGLName(), m_FVF, m_StreamSourceStride, m_StreamSourceOffset);
    glDrawArrays(mode, (GLint)startVertex, (GLsizei)count);
    ++m_DrawCalls;
    return D3D_OK;
}

PfResult PfGLDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, int32_t baseVertex, uint32_t minIndex,
                                          uint32_t vertexCount, uint32_t startIndex, uint32_t primitiveCount)
{
    FlushQuads();
    GLenum mode;
    uint32_t count;
    if (m_Declaration && m_FVF == 0)
    {
        if (primitiveCount == 0 || !PrimitiveMode(type, primitiveCount, mode, count))
            return D3DERR_INVALIDCALL;
        return DrawIndexedDeclared(mode, count, baseVertex, minIndex, vertexCount, startIndex);
    }
    (void)minIndex;
    (void)vertexCount;
    if (!m_StreamSource || !m_StreamSource->IsCreated() || !m_Indices || !m_Indices->IsCreated() ||
        m_StreamSourceStride == 0 || primitiveCount == 0 || !PrimitiveMode(type, primitiveCount, mode, count))
        return D3DERR_INVALIDCALL;
    const uint32_t indexSize = m_Indices->GetIndexSize();
    if ((uint64_t)(startIndex + count) * indexSize > m_Indices->GetLength())
        return D3DERR_INVALIDCALL;
    if (!PrepareFVFDraw())
        return D3DERR_INVALIDCALL;
    BindVertexLayout(m_StreamSource->GetGLName(), m_FVF, m_StreamSourceStride, m_StreamSourceOffset);
    BindElementBuffer(m_Indices->GetGLName());
    glDrawElementsBaseVertex(mode, (GLsizei)count, indexSize == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                             (const void*)(uintptr_t)(startIndex * indexSize), baseVertex);
    ++m_DrawCalls;
    return D3D_OK;
}

PfResult PfGLDevice::DrawIndexedDeclared(uint32_t mode, uint32_t count, int32_t baseVertex, uint32_t minIndex,
                                         uint32_t vertexCount, uint32_t startIndex)
{
    if (!m_Indices || !m_Indices->IsCreated() || baseVertex < 0)
        return D3DERR_INVALIDCALL;
    const uint32_t indexSize = m_Indices->GetIndexSize();
    if ((uint64_t)(startIndex + (uint64_t)count) * indexSize > m_Indices->GetLength())
        return D3DERR_INVALIDCALL;
    // Every stream the shader reads must hold the vertices the call names; the caller vouches that its
    // indices stay below minIndex + vertexCount.
    const uint64_t lastVertex = (uint64_t)baseVertex + minIndex + vertexCount;
    for (uint32_t s = 0; s < DECLARED_STREAMS; ++s)
    {
        if (!(m_Declaration->GetUsedStreams() & (1u << s)))
            continue;
        PfGLVertexBuffer* buffer = m_Streams[s];
        const uint32_t stride = m_StreamStrides[s];
        if (!buffer || !buffer->IsCreated() || stride < m_Declaration->GetStreamExtent(s) || lastVertex == 0)
            return D3DERR_INVALIDCALL;
        if (m_StreamOffsets[s] + (lastVertex - 1) * stride + m_Declaration->GetStreamExtent(s) > buffer->GetLength())
            return D3DERR_INVALIDCALL;
    }
    if (!PrepareDraw(false))
        return D3DERR_INVALIDCALL;
    m_Declaration->Bind(m_Streams, m_StreamOffsets, m_StreamStrides, m_Indices);
    glDrawElementsBaseVertex((GLenum)mode, (GLsizei)count, indexSize == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                             (const void*)(uintptr_t)(startIndex * indexSize), baseVertex);
    // Back to the device's own vertex array, whose bindings the other draws rely on.
    glBindVertexArray(m_VertexArray);
    ++m_DrawCalls;
    return D3D_OK;
}
