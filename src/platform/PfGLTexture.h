// One OpenGL texture in the engine's terms: a size, a D3DFORMAT, a usage (plain, render target or
// depth-stencil) and, for colour formats, a processor-side copy of level 0 that LockRect hands out and
// UnlockRect uploads. Rows are stored top row first in the copy and in the texture alike, so texture
// coordinate v = 0 is the top of the picture. Render targets are drawn into through the device's frame
// buffer and read back into the copy on demand. Textures are created and drawn on the device's thread; a
// lock on another thread (movie frames) only touches the copy and leaves the upload to the next bind.
//
// The copy is kept only while it is needed. A fresh texture's zeros are neither written nor sent until
// used (the copy's memory comes zeroed from the system, untouched). A picture filled once (Upload, or a
// single LockRect and UnlockRect on the drawing thread) gives its copy up, as OpenGL holds the pixels; a
// render target has a copy once read back. A copy asked for again (a lock, GetData) is read back from
// OpenGL on the drawing thread. Textures locked for writing more than once, locked on another thread (or
// marked KeepCopy for it), or made dynamic keep theirs.
//
// A loaded picture may leave its pixels to be made at the first use (SetDeferredFill): until something
// draws with it, locks it, reads it or asks for its copy it holds neither a copy nor memory in OpenGL,
// so pictures a screen loads but does not show cost only what the loader keeps to make them again.
#pragma once

#include "platform/PfD3DTypes.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

class PfGLTexture
{
public:
    PfGLTexture() = default;
    ~PfGLTexture();
    PfGLTexture(const PfGLTexture&) = delete;
    PfGLTexture& operator=(const PfGLTexture&) = delete;

    // levels: 1 for one level, 0 for a full mip chain (rebuilt from level 0 after each upload).
    // usage: 0, D3DUSAGE_RENDERTARGET or D3DUSAGE_DEPTHSTENCIL. Needs the device's context.
    // samples: 2 or more gives a render target or depth-stencil surface that many samples a pixel (a
    // multisampled render buffer drawn into, resolved into the texture when read, sampled or shown);
    // counts the implementation lacks fall back to the largest it has, or to one sample where it has none.
    PfResult Create(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, D3DFORMAT format,
                    uint32_t samples = 0);
    void Destroy();
    bool IsCreated() const { return m_Name != 0; }

    uint32_t GetWidth() const { return m_Width; }
    uint32_t GetHeight() const { return m_Height; }
    uint32_t GetLevels() const { return m_Levels; }
    uint32_t GetUsage() const { return m_Usage; }
    D3DFORMAT GetFormat() const { return m_Format; }
    bool IsRenderTarget() const { return (m_Usage & D3DUSAGE_RENDERTARGET) != 0; }
    bool IsDepthStencil() const { return (m_Usage & D3DUSAGE_DEPTHSTENCIL) != 0; }
    uint32_t GetGLName() const { return m_Name; }
    // Gives the levels their memory in OpenGL if they have none yet (textures get it at their first use:
    // an upload, a bind, being drawn into). False when OpenGL runs out of memory.
    bool EnsureStorage();
    bool HasStorage() const { return m_HasStorage; }
    // Samples a pixel of the multisampled buffer, 0 without one.
    uint32_t GetSamples() const { return m_Samples; }
    // The multisampled render buffer drawn into instead of the texture (0 without one).
    uint32_t GetMultisampleBuffer() const { return m_MultisampleBuffer; }
    // The device drew into the multisampled buffer: the texture is resolved from it before it is next read.
    void NoteMultisampleDrawn() { m_ResolvePending = m_MultisampleBuffer != 0; }
    // Resolves the multisampled buffer into the texture if it was drawn into since the last resolve.
    void Resolve();
    // A depth-stencil surface without memory keeps the last whole clear (D3DCLEAR_ZBUFFER and
    // D3DCLEAR_STENCIL flags, values) for the device to make once it has memory.
    void SetPendingClear(uint32_t flags, float z, uint32_t stencil);
    bool TakePendingClear(uint32_t& flags, float& z, uint32_t& stencil);
    // Bytes of device memory (level 0 and its chain).
    size_t GetMemorySize() const;

    static bool IsFormatSupported(D3DFORMAT format, uint32_t usage);
    static uint32_t GetBytesPerPixel(D3DFORMAT format);

    // Processor-side access to level 0. rect null means the whole level. A render target is read back first
    // unless D3DLOCK_DISCARD is given. Returns the address of the rectangle's first pixel, or null.
    void* LockRect(const PfRect* rect, uint32_t flags, uint32_t* pitch);
    // Uploads the locked rows (not for D3DLOCK_READONLY locks).
    PfResult UnlockRect();
    bool IsLocked() const { return m_Locked; }

    // The copy of level 0 as last uploaded or read back, GetPitch bytes a row, top row first (made again
    // from the texture when it was given up).
    const uint8_t* GetData() const { return EnsureCopy() ? m_Data.get() : nullptr; }
    uint8_t* GetData() { return EnsureCopy() ? m_Data.get() : nullptr; }
    // Whether the processor-side copy exists now (tests of the memory rules).
    bool HasCopy() const { return m_Data != nullptr; }
    // The copy is kept from now on: for a texture that another thread will lock (movie frames), as the copy
    // cannot be read back from OpenGL there.
    void KeepCopy() { m_KeepCopy = true; }
    uint32_t GetPitch() const { return m_Width * GetBytesPerPixel(m_Format); }
    // Copies a render target's pixels into the processor-side copy.
    PfResult ReadBack();
    // Uploads the whole processor-side copy now.
    PfResult Upload();
    // Called by the device before it binds the texture: uploads a copy changed on another thread, or the
    // pixels of a deferred fill.
    void UploadIfDirty();

    // Writes level 0 (GetPitch bytes a row, top row first) into the memory given; false when it cannot, the
    // texture then staying zero.
    using Fill = std::function<bool(uint8_t* data, uint32_t pitch)>;
    // For a plain texture on the drawing thread: the copy is given up and fill makes the pixels at the
    // first use instead (a bind uploads them and gives the copy up again; a lock, GetData or a read-back
    // keeps the copy as an ordinary fill would). On a fresh texture the contents are unchanged as far as
    // anyone can see: no new content generation. On one drawn with already they change as a lock's would.
    void SetDeferredFill(Fill fill);
    bool HasDeferredFill() const { return static_cast<bool>(m_DeferredFill); }

    // A number that changes whenever the contents may have changed (creation, an unlock for writing, an
    // upload, a clear or draw into it as a target), on any thread. Numbers are unique in the process, so
    // a texture made anew at the address of a destroyed one never repeats the old one's number.
    uint64_t GetContentGeneration() const { return m_Generation.load(std::memory_order_acquire); }
    void BumpContentGeneration();
    // The device's frame whose written-down commands use this texture (the device's own bookkeeping).
    uint64_t GetFrameStamp() const { return m_FrameStamp; }
    // A new OpenGL texture holding a copy of the contents OpenGL has now, for draws held back from before a
    // change to keep seeing them; the caller deletes it. 0 where no copy can be made (several levels, a
    // multisampled buffer, contents not yet sent, no copy between images in the driver).
    uint32_t CopyContents() const;
    void SetFrameStamp(uint64_t frame) const { m_FrameStamp = frame; }
    // The colour every pixel holds (ARGB as a draw samples it, an X format's alpha opaque), where the
    // contents were last sent whole from the copy and are of one colour (a black background); false where
    // that is not known. Found for one contents generation, so any change makes it unknown again.
    bool GetUniformColour(uint32_t& argb) const;
    // The device's frame whose written-down commands draw into this texture as a target.
    uint64_t GetWrittenStamp() const { return m_WrittenStamp; }
    void SetWrittenStamp(uint64_t frame) const { m_WrittenStamp = frame; }

private:
    struct FreeDeleter
    {
        void operator()(uint8_t* p) const;
    };
    void UploadRows(uint32_t top, uint32_t bottom);
    // Notes the copy's colour when all its pixels are of one (GetUniformColour).
    void FindUniformColour();
    size_t CopyBytes() const { return (size_t)GetPitch() * m_Height; }
    // Makes the copy when there is none: zeros while the texture has never been sent anything, else the
    // texture's level 0 read from OpenGL. False when memory runs out.
    bool EnsureCopy() const;
    void ReleaseCopy();

    uint32_t m_Name = 0;
    uint32_t m_Width = 0;
    uint32_t m_Height = 0;
    uint32_t m_Levels = 1;
    uint32_t m_Usage = 0;
    D3DFORMAT m_Format = D3DFMT_UNKNOWN;
    mutable std::unique_ptr<uint8_t, FreeDeleter> m_Data;
    // The copy is kept after uploads (see the class comment). Atomic: a lock on another thread (a movie
    // frame) sets it while the drawing thread's uploads read it.
    std::atomic<bool> m_KeepCopy{false};
    // Makes the pixels at the first use (SetDeferredFill); empty once run.
    mutable Fill m_DeferredFill;
    uint32_t m_WriteLocks = 0;
    bool m_HasStorage = false;
    uint32_t m_Samples = 0;
    uint32_t m_MultisampleBuffer = 0;
    bool m_ResolvePending = false;
    uint32_t m_PendingClearFlags = 0;
    float m_PendingClearZ = 1.0f;
    uint32_t m_PendingClearStencil = 0;
    bool m_Locked = false;
    uint32_t m_LockFlags = 0;
    PfRect m_LockRect = {};
    std::atomic<bool> m_Dirty{false};
    std::atomic<uint64_t> m_Generation{0};
    // The one colour of the contents of generation m_UniformGeneration (0: none known).
    uint32_t m_UniformColour = 0;
    uint64_t m_UniformGeneration = 0;
    mutable uint64_t m_FrameStamp = 0;
    mutable uint64_t m_WrittenStamp = 0;
};
