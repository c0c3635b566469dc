// The texture movie playback writes decoded frames into while the main thread draws from it: two
// textures of one size and format. The playback thread writes a frame into the texture that is not
// current (only its processor copy: OpenGL belongs to the main thread) under the texture's lock and then
// swaps; the main thread uploads the current texture when it has changed (UploadCurrent, or the device
// when it binds the texture) and always draws a complete frame.
#pragma once

#include "core/GxMutex.h"
#include "graphics/GxTextureBase.h"
#include "platform/PfD3DTypes.h"

#include <atomic>
#include <cstdint>
#include <string>

class PfGLTexture;

class GxTextureMovie : public GxTextureBase
{
public:
    GxTextureMovie() = default;
    ~GxTextureMovie() override;

    uint32_t Release() override;
    void OnLostDevice() override;
    void OnResetDevice() override;
    uint32_t GetMemorySize() const override;
    bool SetRenderTarget(uint32_t index) override;
    bool IsLocked() const override { return m_Locked; }
    // The current texture, so drawing always uses the last complete frame.
    PfGLTexture* GetD3DResource() const override { return m_pTextures[m_Current]; }

    // The texture that is not current, no ownership passed.
    virtual PfGLTexture* GetBackTexture() const { return m_pTextures[(m_Current + 1) % 2]; }
    virtual bool IsFilled() const { return m_Filled[m_Current]; }
    virtual bool Create(const std::wstring& name, uint32_t width, uint32_t height, D3DFORMAT format,
                        uint32_t clearColour, bool dynamic);
    bool CreateA(const char* name, uint32_t width, uint32_t height, D3DFORMAT format, uint32_t clearColour,
                 bool dynamic);
    virtual bool Fill(uint32_t index, uint32_t colour);
    virtual bool LockRect(uint32_t index, const PfRect* rect, void** bits, uint32_t* pitch, uint32_t* width,
                          uint32_t* height, D3DFORMAT* format, bool readOnly);
    virtual bool UnlockRect(uint32_t index);
    // Marks the current texture filled, makes the other current and returns the index that was current.
    virtual uint32_t Swap();
    virtual PfGLTexture* GetD3DTexture() const { return m_pTextures[m_Current]; }
    // Level 0 of the current texture. As with GxTexture the platform texture is its own surface, so this is
    // the current texture itself (no ownership passed); null before creation.
    virtual PfGLTexture* GetSurface() const { return m_pTextures[m_Current]; }
    // The size of the last frame written: the video's, cut to the texture. 0 x 0 before the first frame.
    // A movie smaller than the texture fills only this top-left part, which drawing then stretches.
    uint32_t GetFrameWidth() const { return m_FrameWidth; }
    uint32_t GetFrameHeight() const { return m_FrameHeight; }

    // The frame copy of the movie renderer, on the playback thread: under the lock, the bottom-up 24-bit
    // frame (bytes blue, green, red; stride bytes a row) is converted into the back texture by its format
    // and the textures are swapped. S_OK, E_POINTER without a frame, E_UNEXPECTED without a back texture,
    // E_FAIL when the lock fails.
    PfResult CopyFrame(const uint8_t* frame, uint32_t videoWidth, uint32_t videoHeight, uint32_t stride);
    // Main thread: uploads the current texture when a frame was written into it since the last upload.
    void UploadCurrent();

    GxMutex& GetLock() { return m_Lock; }
    uint32_t GetCurrentIndex() const { return m_Current; }
    uint32_t GetClearColour() const { return m_ClearColour; }
    uint32_t GetUsage() const { return m_Usage; }

private:
    void ReleaseTextures();
    bool CreateOne(uint32_t index, const wchar_t* failureFormat, bool withName);

    // Written by the playback thread's swap, read by the drawing side.
    std::atomic<uint32_t> m_Current{0};
    PfGLTexture* m_pTextures[2] = {nullptr, nullptr};
    std::atomic<bool> m_Filled[2] = {false, false};
    std::atomic<uint32_t> m_FrameWidth{0};
    std::atomic<uint32_t> m_FrameHeight{0};
    uint32_t m_ClearColour = 0;
    uint32_t m_MipLevels = 0;
    bool m_Locked = false;
    uint32_t m_Usage = 0;
    GxMutex m_Lock;
};
