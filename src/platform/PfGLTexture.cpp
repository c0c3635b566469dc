#include "platform/PfGLTexture.h"

#include "platform/PfGLDevice.h"

#include <SDL2/SDL.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace
{

// Quads queued on the device, and a frame it has written down but not drawn, may still sample this
// texture or draw into it: they go first.
void BeforeChange(const PfGLTexture* texture, bool write, bool destroy = false)
{
    if (PfGLDevice* device = PfGLDevice::GetCurrent())
        device->NoteTextureChange(texture, write, destroy);
}

std::atomic<uint64_t> s_NextGeneration{1};

// Copies rows top..bottom between a colour texture and a multisampled render buffer of its size: from the
// buffer into the texture (a resolve) or back. The frame buffer bindings and the scissor test are put back.
void BlitBetween(GLuint texture, GLuint buffer, bool resolve, uint32_t width, uint32_t top, uint32_t bottom)
{
    GLint drawPrevious = 0, readPrevious = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawPrevious);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readPrevious);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    GLuint fbo[2] = {};
    glGenFramebuffers(2, fbo);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo[0]);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, fbo[1]);
    if (resolve)
    {
        glFramebufferRenderbuffer(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, buffer);
        glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    }
    else
    {
        glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
        glFramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, buffer);
    }
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    const GLenum attachment = GL_COLOR_ATTACHMENT0;
    glDrawBuffers(1, &attachment);
    glBlitFramebuffer(0, (GLint)top, (GLint)width, (GLint)bottom, 0, (GLint)top, (GLint)width, (GLint)bottom,
                      GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, (GLuint)readPrevious);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, (GLuint)drawPrevious);
    glDeleteFramebuffers(2, fbo);
    if (scissor)
        glEnable(GL_SCISSOR_TEST);
}

struct FormatInfo
{
    GLenum internalFormat;
    GLenum format;
    GLenum type;
    GLint swizzle[4];
    uint32_t bytes;
};

// Formats kept in memory as the engine lays them out: a 32-bit A8R8G8B8 pixel is the bytes B, G, R, A, which
// OpenGL reads as BGRA with 8_8_8_8_REV; X formats read their alpha as 1 through the swizzle.
bool GetFormatInfo(D3DFORMAT format, FormatInfo& info)
{
    const GLint rgba[4] = {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA};
    const GLint rgb1[4] = {GL_RED, GL_GREEN, GL_BLUE, GL_ONE};
    switch (format)
    {
    case D3DFMT_A8R8G8B8:
        info = {GL_RGBA8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, {}, 4};
        std::memcpy(info.swizzle, rgba, sizeof(rgba));
        return true;
    case D3DFMT_X8R8G8B8:
        info = {GL_RGBA8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, {}, 4};
        std::memcpy(info.swizzle, rgb1, sizeof(rgb1));
        return true;
    case D3DFMT_A4R4G4B4:
        info = {GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV, {}, 2};
        std::memcpy(info.swizzle, rgba, sizeof(rgba));
        return true;
    case D3DFMT_X4R4G4B4:
        info = {GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV, {}, 2};
        std::memcpy(info.swizzle, rgb1, sizeof(rgb1));
        return true;
    case D3DFMT_A1R5G5B5:
        info = {GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, {}, 2};
        std::memcpy(info.swizzle, rgba, sizeof(rgba));
        return true;
    case D3DFMT_X1R5G5B5:
        info = {GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, {}, 2};
        std::memcpy(info.swizzle, rgb1, sizeof(rgb1));
        return true;
    case D3DFMT_R5G6B5:
        info = {GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, {}, 2};
        std::memcpy(info.swizzle, rgb1, sizeof(rgb1));
        return true;
    case D3DFMT_A8:
        info = {GL_R8, GL_RED, GL_UNSIGNED_BYTE, {GL_ZERO, GL_ZERO, GL_ZERO, GL_RED}, 1};
        return true;
    case D3DFMT_L8:
        info = {GL_R8, GL_RED, GL_UNSIGNED_BYTE, {GL_RED, GL_RED, GL_RED, GL_ONE}, 1};
        return true;
    case D3DFMT_A8L8:
        info = {GL_RG8, GL_RG, GL_UNSIGNED_BYTE, {GL_RED, GL_RED, GL_RED, GL_GREEN}, 2};
        return true;
    case D3DFMT_D24S8:
    case D3DFMT_D24X8:
    case D3DFMT_D24X4S4:
    case D3DFMT_D15S1:
        info = {GL_DEPTH24_STENCIL8, GL_DEPTH_STENCIL, GL_UNSIGNED_INT_24_8, {}, 4};
        std::memcpy(info.swizzle, rgba, sizeof(rgba));
        return true;
    case D3DFMT_D16:
    case D3DFMT_D16_LOCKABLE:
        info = {GL_DEPTH_COMPONENT16, GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, {}, 2};
        std::memcpy(info.swizzle, rgba, sizeof(rgba));
        return true;
    case D3DFMT_D32:
        info = {GL_DEPTH_COMPONENT32, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, {}, 4};
        std::memcpy(info.swizzle, rgba, sizeof(rgba));
        return true;
    default:
        return false;
    }
}

bool IsDepthFormat(D3DFORMAT format)
{
    switch (format)
    {
    case D3DFMT_D24S8:
    case D3DFMT_D24X8:
    case D3DFMT_D24X4S4:
    case D3DFMT_D15S1:
    case D3DFMT_D16:
    case D3DFMT_D16_LOCKABLE:
    case D3DFMT_D32:
        return true;
    default:
        return false;
    }
}

uint32_t FullChainLevels(uint32_t width, uint32_t height)
{
    uint32_t levels = 1;
    for (uint32_t s = std::max(width, height); s > 1; s >>= 1)
        ++levels;
    return levels;
}

// Binds the texture on the active unit for an upload and puts the previous binding back afterwards, so the
// device's view of its units stays true.
class ScopedBind
{
public:
    explicit ScopedBind(GLuint name)
    {
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &m_Previous);
        glBindTexture(GL_TEXTURE_2D, name);
    }
    ~ScopedBind() { glBindTexture(GL_TEXTURE_2D, (GLuint)m_Previous); }

private:
    GLint m_Previous = 0;
};

} // namespace

PfGLTexture::~PfGLTexture()
{
    Destroy();
}

bool PfGLTexture::IsFormatSupported(D3DFORMAT format, uint32_t usage)
{
    FormatInfo info;
    if (!GetFormatInfo(format, info))
        return false;
    if (usage & D3DUSAGE_DEPTHSTENCIL)
        return IsDepthFormat(format);
    if (usage & D3DUSAGE_RENDERTARGET)
        return !IsDepthFormat(format) && format != D3DFMT_A8 && format != D3DFMT_L8 && format != D3DFMT_A8L8;
    return !IsDepthFormat(format);
}

uint32_t PfGLTexture::GetBytesPerPixel(D3DFORMAT format)
{
    FormatInfo info;
    return GetFormatInfo(format, info) ? info.bytes : 0;
}

PfResult PfGLTexture::Create(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, D3DFORMAT format,
                             uint32_t samples)
{
    Destroy();
    if (width == 0 || height == 0 || width > 16384 || height > 16384)
        return D3DERR_INVALIDCALL;
    if (!IsFormatSupported(format, usage))
        return D3DERR_INVALIDCALL;
    FormatInfo info;
    GetFormatInfo(format, info);
    const bool depth = (usage & D3DUSAGE_DEPTHSTENCIL) != 0;
    m_Width = width;
    m_Height = height;
    m_Usage = usage;
    m_Format = format;
    m_Levels = (depth || (usage & D3DUSAGE_RENDERTARGET)) ? 1 : (levels == 0 ? FullChainLevels(width, height) : levels);
    if (samples >= 2 && (depth || (usage & D3DUSAGE_RENDERTARGET)))
    {
        GLint most = 0;
        glGetIntegerv(GL_MAX_SAMPLES, &most);
        m_Samples = most >= 2 ? std::min(samples, (uint32_t)most) : 0;
    }
    while (glGetError() != GL_NO_ERROR)
    {
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    m_Name = name;
    ScopedBind bind(m_Name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, (GLint)m_Levels - 1);
    if (!depth)
        glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, info.swizzle);
    if (glGetError() != GL_NO_ERROR)
    {
        Destroy();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    BumpContentGeneration();
    if (depth)
        return D3D_OK;
    // The contents start out zero, as the engine's fresh textures are. The zeros are sent at the first use
    // (a bind, a draw into it, a read-back), unless a fill and upload come first: loaders fill a plain
    // texture's copy at once, and many targets are never used at all. The copy comes zeroed from the
    // system without being written, so it costs no memory until a loader fills it.
    if (!IsRenderTarget())
    {
        m_Data.reset(static_cast<uint8_t*>(std::calloc(CopyBytes(), 1)));
        if (!m_Data)
        {
            Destroy();
            return D3DERR_OUTOFVIDEOMEMORY;
        }
    }
    m_KeepCopy = (usage & D3DUSAGE_DYNAMIC) != 0;
    m_Dirty = true;
    return D3D_OK;
}

bool PfGLTexture::EnsureStorage()
{
    if (m_HasStorage || !m_Name)
        return m_HasStorage;
    // The levels are given their memory at the first use, not at creation: the software rasteriser
    // fills a texture's memory when it is made, and many textures made at start-up (capture surfaces,
    // transition targets) are never used on most screens.
    FormatInfo info;
    GetFormatInfo(m_Format, info);
    while (glGetError() != GL_NO_ERROR)
    {
    }
    ScopedBind bind(m_Name);
    uint32_t w = m_Width, h = m_Height;
    for (uint32_t level = 0; level < m_Levels; ++level)
    {
        glTexImage2D(GL_TEXTURE_2D, (GLint)level, (GLint)info.internalFormat, (GLsizei)w, (GLsizei)h, 0, info.format,
                     info.type, nullptr);
        w = std::max(1u, w / 2);
        h = std::max(1u, h / 2);
    }
    if (m_Samples >= 2)
    {
        GLuint buffer = 0;
        glGenRenderbuffers(1, &buffer);
        m_MultisampleBuffer = buffer;
        glBindRenderbuffer(GL_RENDERBUFFER, buffer);
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, (GLsizei)m_Samples, info.internalFormat, (GLsizei)m_Width,
                                         (GLsizei)m_Height);
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
    }
    m_HasStorage = glGetError() == GL_NO_ERROR;
    return m_HasStorage;
}

void PfGLTexture::SetPendingClear(uint32_t flags, float z, uint32_t stencil)
{
    m_PendingClearFlags |= flags;
    if (flags & D3DCLEAR_ZBUFFER)
        m_PendingClearZ = z;
    if (flags & D3DCLEAR_STENCIL)
        m_PendingClearStencil = stencil;
}

bool PfGLTexture::TakePendingClear(uint32_t& flags, float& z, uint32_t& stencil)
{
    if (!m_PendingClearFlags)
        return false;
    flags = m_PendingClearFlags;
    z = m_PendingClearZ;
    stencil = m_PendingClearStencil;
    m_PendingClearFlags = 0;
    return true;
}

void PfGLTexture::FreeDeleter::operator()(uint8_t* p) const
{
    std::free(p);
}

bool PfGLTexture::EnsureCopy() const
{
    if (m_Data)
        return true;
    if (!m_Name || IsDepthStencil())
        return false;
    m_Data.reset(static_cast<uint8_t*>(std::calloc(CopyBytes(), 1)));
    if (!m_Data)
        return false;
    if (m_DeferredFill)
    {
        // The pixels are made now; they reach OpenGL with the next upload (nothing was ever sent).
        Fill fill = std::move(m_DeferredFill);
        m_DeferredFill = nullptr;
        fill(m_Data.get(), GetPitch());
        const_cast<PfGLTexture*>(this)->m_Dirty = true;
        return true;
    }
    if (SDL_GL_GetCurrentContext() != nullptr)
        const_cast<PfGLTexture*>(this)->Resolve();
    // Zeros not yet sent are the contents. Away from the drawing thread OpenGL cannot be asked: the copy
    // starts as zeros (a texture given its pixels by Upload is not locked on another thread).
    if (m_Dirty || SDL_GL_GetCurrentContext() == nullptr)
        return true;
    FormatInfo info;
    GetFormatInfo(m_Format, info);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    ScopedBind bind(m_Name);
    glGetTexImage(GL_TEXTURE_2D, 0, info.format, info.type, m_Data.get());
    return true;
}

void PfGLTexture::Resolve()
{
    if (!m_ResolvePending)
        return;
    m_ResolvePending = false;
    if (m_MultisampleBuffer && !IsDepthStencil())
        BlitBetween(m_Name, m_MultisampleBuffer, true, m_Width, 0, m_Height);
}

uint32_t PfGLTexture::CopyContents() const
{
    FormatInfo info;
    if (!m_Name || !m_HasStorage || m_Levels != 1 || m_MultisampleBuffer || m_Dirty || IsDepthStencil() ||
        !GetFormatInfo(m_Format, info))
        return 0;
    static const bool s_CopyImage = epoxy_gl_version() >= 43 || epoxy_has_gl_extension("GL_ARB_copy_image");
    if (!s_CopyImage)
        return 0;
    GLuint copy = 0;
    glGenTextures(1, &copy);
    {
        ScopedBind bind(copy);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, info.swizzle);
        glTexImage2D(GL_TEXTURE_2D, 0, (GLint)info.internalFormat, (GLsizei)m_Width, (GLsizei)m_Height, 0, info.format,
                     info.type, nullptr);
    }
    glCopyImageSubData(m_Name, GL_TEXTURE_2D, 0, 0, 0, 0, copy, GL_TEXTURE_2D, 0, 0, 0, 0, (GLsizei)m_Width,
                       (GLsizei)m_Height, 1);
    return copy;
}

void PfGLTexture::ReleaseCopy()
{
    m_Data.reset();
}

void PfGLTexture::BumpContentGeneration()
{
    m_Generation.store(s_NextGeneration.fetch_add(1, std::memory_order_relaxed), std::memory_order_release);
}

void PfGLTexture::Destroy()
{
    BeforeChange(this, true, true);
    PfGLDevice::UnbindFromCurrent(this);
    if (m_Name)
    {
        GLuint name = m_Name;
        glDeleteTextures(1, &name);
    }
    if (m_MultisampleBuffer)
    {
        GLuint buffer = m_MultisampleBuffer;
        glDeleteRenderbuffers(1, &buffer);
    }
    m_MultisampleBuffer = 0;
    m_Samples = 0;
    m_ResolvePending = false;
    m_Name = 0;
    m_Width = m_Height = 0;
    m_Levels = 1;
    m_Usage = 0;
    m_Format = D3DFMT_UNKNOWN;
    m_Data.reset();
    m_DeferredFill = nullptr;
    m_UniformGeneration = 0;
    m_KeepCopy = false;
    m_WriteLocks = 0;
    m_HasStorage = false;
    m_PendingClearFlags = 0;
    m_Locked = false;
    m_LockFlags = 0;
    m_Dirty = false;
}

size_t PfGLTexture::GetMemorySize() const
{
    size_t total = 0;
    uint32_t w = m_Width, h = m_Height;
    for (uint32_t level = 0; level < m_Levels && m_Name; ++level)
    {
        total += (size_t)w * h * GetBytesPerPixel(m_Format);
        w = std::max(1u, w / 2);
        h = std::max(1u, h / 2);
    }
    return total;
}

void* PfGLTexture::LockRect(const PfRect* rect, uint32_t flags, uint32_t* pitch)
{
    BeforeChange(this, (flags & D3DLOCK_READONLY) == 0);
    if (!m_Name || m_Locked || IsDepthStencil())
        return nullptr;
    PfRect r = {0, 0, (int32_t)m_Width, (int32_t)m_Height};
    if (rect)
    {
        r = *rect;
        if (r.left < 0 || r.top < 0 || r.right > (int32_t)m_Width || r.bottom > (int32_t)m_Height ||
            r.left >= r.right || r.top >= r.bottom)
            return nullptr;
    }
    // A texture written more than once (text, movie frames) or from another thread keeps its copy.
    if (!(flags & D3DLOCK_READONLY) && (++m_WriteLocks > 1 || SDL_GL_GetCurrentContext() == nullptr))
        m_KeepCopy = true;
    if (IsRenderTarget() && !(flags & D3DLOCK_DISCARD))
    {
        if (PfFailed(ReadBack()))
            return nullptr;
    }
    else if ((flags & D3DLOCK_DISCARD) && !m_Data)
    {
        // The contents are given up: a deferred fill has nothing left to make.
        m_DeferredFill = nullptr;
        m_Data.reset(static_cast<uint8_t*>(std::calloc(CopyBytes(), 1)));
    }
    if (!EnsureCopy())
        return nullptr;
    m_Locked = true;
    m_LockFlags = flags;
    m_LockRect = r;
    if (pitch)
        *pitch = GetPitch();
    return m_Data.get() + (size_t)r.top * GetPitch() + (size_t)r.left * GetBytesPerPixel(m_Format);
}

PfResult PfGLTexture::UnlockRect()
{
    if (!m_Locked)
        return D3DERR_INVALIDCALL;
    m_Locked = false;
    if (m_LockFlags & D3DLOCK_READONLY)
        return D3D_OK;
    BeforeChange(this, true);
    BumpContentGeneration();
    // Only the thread with the device's context current may upload; others leave it to the next bind.
    if (SDL_GL_GetCurrentContext() != nullptr)
    {
        // Rows outside the lock that were never sent go with it.
        if (m_Dirty.exchange(false))
            UploadRows(0, m_Height);
        else
            UploadRows((uint32_t)m_LockRect.top, (uint32_t)m_LockRect.bottom);
        // A picture filled by one lock: OpenGL holds it now, as after Upload. A later lock or GetData reads
        // it back; a second lock for writing keeps the copy from then on.
        if (!m_KeepCopy && !IsRenderTarget() && m_HasStorage)
            ReleaseCopy();
    }
    else
        m_Dirty = true;
    return D3D_OK;
}

void PfGLTexture::UploadIfDirty()
{
    // Drawn with before anything asked for its pixels: made, sent, and the copy given up again.
    const bool deferred = m_DeferredFill && m_Name && EnsureCopy();
    if (m_Dirty.exchange(false) && m_Name)
        UploadRows(0, m_Height);
    if (deferred && !m_KeepCopy && !m_Locked)
        ReleaseCopy();
}

void PfGLTexture::SetDeferredFill(Fill fill)
{
    if (!m_Name || IsRenderTarget() || IsDepthStencil() || m_Locked)
        return;
    // A texture drawn with already (its contents sent, or written into a frame's commands) gets new
    // pixels: the draws made or held back before keep the old ones, and the frames after see new contents.
    if (m_HasStorage || m_FrameStamp != 0)
    {
        BeforeChange(this, true);
        BumpContentGeneration();
    }
    m_DeferredFill = std::move(fill);
    m_UniformGeneration = 0;
    // The fill's pixels are the contents OpenGL gets next.
    ReleaseCopy();
    m_Dirty = true;
}

PfResult PfGLTexture::Upload()
{
    BeforeChange(this, true);
    if (!m_Name || IsDepthStencil())
        return D3DERR_INVALIDCALL;
    BumpContentGeneration();
    if (!EnsureCopy())
        return D3DERR_OUTOFVIDEOMEMORY;
    m_Dirty = false;
    UploadRows(0, m_Height);
    // A picture filled once: OpenGL holds it now.
    if (!m_KeepCopy && !IsRenderTarget())
        ReleaseCopy();
    return D3D_OK;
}

void PfGLTexture::UploadRows(uint32_t top, uint32_t bottom)
{
    FormatInfo info;
    if (!GetFormatInfo(m_Format, info) || top >= bottom)
        return;
    // Without a copy the contents are the zeros a fresh texture starts with; memory the system gives zeroed
    // and that is only read stays untouched.
    if (!EnsureStorage())
        return;
    m_UniformGeneration = 0;
    // A picture sent whole once (a loaded background) is looked at for one colour; copies kept to be
    // written again (text, movie frames) are not.
    if (top == 0 && bottom == m_Height && m_Data && !m_KeepCopy)
        FindUniformColour();
    std::unique_ptr<uint8_t, FreeDeleter> zeros;
    const uint8_t* rows = m_Data ? m_Data.get() + (size_t)top * GetPitch() : nullptr;
    if (!rows)
    {
        zeros.reset(static_cast<uint8_t*>(std::calloc((size_t)(bottom - top) * GetPitch(), 1)));
        if (!zeros)
            return;
        rows = zeros.get();
    }
    ScopedBind bind(m_Name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, (GLint)top, (GLsizei)m_Width, (GLsizei)(bottom - top), info.format, info.type,
                    rows);
    // What is drawn next goes into the multisampled buffer: it takes the uploaded rows too.
    if (m_MultisampleBuffer)
        BlitBetween(m_Name, m_MultisampleBuffer, false, m_Width, top, bottom);
    if (m_Levels > 1)
        glGenerateMipmap(GL_TEXTURE_2D);
}

void PfGLTexture::FindUniformColour()
{
    if (m_Format != D3DFMT_A8R8G8B8 && m_Format != D3DFMT_X8R8G8B8)
        return;
    const uint64_t generation = GetContentGeneration();
    const uint8_t* pixels = m_Data.get();
    const size_t pitch = GetPitch();
    // The first row of one colour, then every row equal to it; a picture stops at its first differing pixel.
    for (size_t x = 4; x < pitch; x += 4)
        if (std::memcmp(pixels + x, pixels, 4) != 0)
            return;
    for (uint32_t y = 1; y < m_Height; ++y)
        if (std::memcmp(pixels + y * pitch, pixels, pitch) != 0)
            return;
    std::memcpy(&m_UniformColour, pixels, 4);
    if (m_Format == D3DFMT_X8R8G8B8)
        m_UniformColour |= 0xFF000000u;
    m_UniformGeneration = generation;
}

bool PfGLTexture::GetUniformColour(uint32_t& argb) const
{
    if (m_UniformGeneration == 0 || m_UniformGeneration != GetContentGeneration() || m_DeferredFill || m_Dirty)
        return false;
    argb = m_UniformColour;
    return true;
}

PfResult PfGLTexture::ReadBack()
{
    BeforeChange(this, false);
    if (!m_Name || IsDepthStencil())
        return D3DERR_INVALIDCALL;
    UploadIfDirty();
    Resolve();
    // Read back once, read back again: the copy stays.
    m_KeepCopy = true;
    if (!m_Data)
        m_Data.reset(static_cast<uint8_t*>(std::calloc(CopyBytes(), 1)));
    if (!m_Data)
        return D3DERR_OUTOFVIDEOMEMORY;
    FormatInfo info;
    GetFormatInfo(m_Format, info);
    GLint previous = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previous);
    GLuint fbo = 0;
    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, m_Name, 0);
    PfResult hr = D3D_OK;
    if (glCheckFramebufferStatus(GL_READ_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        hr = D3DERR_INVALIDCALL;
    else
    {
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glPixelStorei(GL_PACK_ROW_LENGTH, 0);
        glReadBuffer(GL_COLOR_ATTACHMENT0);
        glReadPixels(0, 0, (GLsizei)m_Width, (GLsizei)m_Height, info.format, info.type, m_Data.get());
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, (GLuint)previous);
    glDeleteFramebuffers(1, &fbo);
    // An X format reads back whatever alpha the target holds; the engine sees it as opaque.
    if (m_Format == D3DFMT_X8R8G8B8)
        for (size_t i = 3; i < CopyBytes(); i += 4)
            m_Data.get()[i] = 0xFF;
    return hr;
}
