// The engine's texture: one device texture of one mip chain, created empty, as a render target, or from
// an image file, with a processor-side copy of level 0 standing in for the managed pool (the platform
// texture keeps it). Processor work on texture memory lives here too: locking, filling, scrolling,
// copying between textures with format conversion, blending an image file onto the texture, reading a
// pixel and saving to PNG.
//
// Sizes are powers of two, the size asked for (or the picture's) kept beside them for texture-coordinate
// arithmetic. Creation first drops every reference, so a texture in use is re-created in place; on
// success it holds one reference and is registered with GxD3DResourceManage.
//
// Sections: GxTexture.cpp creation and lifetime; GxTextureEdit.cpp locking and processor-side editing.
#pragma once

#include "graphics/GxTextureBase.h"
#include "platform/PfD3DTypes.h"

#include <cstdint>
#include <string>

class PfImage;

class GxTexture : public GxTextureBase
{
public:
    GxTexture() = default;
    ~GxTexture() override;

    uint32_t Release() override;
    void OnLostDevice() override;
    void OnResetDevice() override;
    uint32_t GetMemorySize() const override;
    bool IsLocked() const override { return m_Locked; }

    // [creation]
    virtual bool CreateTexture(const std::wstring& name, uint32_t width, uint32_t height, D3DFORMAT format,
                               uint32_t mipLevels);
    bool CreateTextureA(const char* name, uint32_t width, uint32_t height, D3DFORMAT format, uint32_t mipLevels);
    virtual bool CreateRenderTarget(const std::wstring& name, uint32_t width, uint32_t height, D3DFORMAT format);
    bool CreateRenderTargetA(const char* name, uint32_t width, uint32_t height, D3DFORMAT format);
    virtual bool CreateBufferedTexture(const std::wstring& name, uint32_t width, uint32_t height, D3DFORMAT format);
    bool CreateBufferedTextureA(const char* name, uint32_t width, uint32_t height, D3DFORMAT format);
    virtual bool CreateFromFile(const std::wstring& fileName, D3DFORMAT format, uint32_t mipLevels, uint32_t colourKey,
                                bool stretch);
    bool CreateFromFileA(const char* fileName, D3DFORMAT format, uint32_t mipLevels, uint32_t colourKey, bool stretch);
    virtual bool ReloadFromFile();
    // A picture file already in memory (the program's own embedded resources); the sixth argument is not
    // read, the colour key stored on the texture is used.
    virtual bool CreateFromResource(const std::wstring& name, const void* data, uint32_t size, D3DFORMAT format,
                                    uint32_t mipLevels, uint32_t ignored, bool stretch);
    bool CreateFromResourceA(const char* name, const void* data, uint32_t size, D3DFORMAT format, uint32_t mipLevels,
                             uint32_t ignored, bool stretch);

    // [editing]
    virtual bool BlendImageFromFile(const std::wstring& fileName, int32_t x, int32_t y, uint32_t colourKey);
    bool BlendImageFromFileA(const char* fileName, int32_t x, int32_t y, uint32_t colourKey);
    virtual bool Fill(uint32_t colour);
    virtual bool FillRect(const PfRect* rect, uint32_t colour);
    virtual bool FillRectScaled(const PfRect& rect, uint32_t colour);
    virtual bool ScrollVertical(int32_t rows, uint32_t colour);
    // Scales a source rectangle into a destination rectangle (D3DTEXF_LINEAR blends, other filters take
    // the nearest texel), converting between A8R8G8B8, X8R8G8B8, A4R4G4B4 and X4R4G4B4.
    virtual bool StretchFrom(const PfRect& destRect, GxTexture* source, const PfRect& sourceRect, uint32_t filter);
    // Every out pointer may be null.
    virtual bool LockRect(const PfRect* rect, void** bits, uint32_t* pitch, uint32_t* width, uint32_t* height,
                          D3DFORMAT* format, bool readOnly);
    virtual bool UnlockRect();
    virtual PfGLTexture* GetD3DTexture() const { return m_pTexture; }
    // Level 0 of the texture. The platform texture carries its own processor copy, so the lockable
    // surface and texture are the texture itself.
    virtual PfGLTexture* GetSurface() const { return m_pTexture; }
    virtual PfGLTexture* GetLockableSurface() const { return m_pTexture; }
    virtual PfGLTexture* GetLockableTexture() const { return m_pTexture; }
    virtual bool TransferRenderTargetToMemory();
    virtual bool UpdateTexture();
    virtual bool SaveToFile(const std::wstring& fileName);
    bool SaveToFileA(const char* fileName);
    virtual uint32_t GetPixel(uint32_t x, uint32_t y);
    // Copies a rectangle of another texture to (x, y), converting between 32- and 16-bit formats; the
    // rectangle is clipped to both textures on all four sides. False when nothing could be copied.
    virtual bool CopyFrom(GxTexture* source, const PfRect* sourceRect, int32_t x, int32_t y);
    virtual bool CopyRect32To32(GxTexture* source, const PfRect& sourceRect, int32_t x, int32_t y);
    virtual bool CopyRect16To16(GxTexture* source, const PfRect& sourceRect, int32_t x, int32_t y);
    virtual bool CopyRect32To16(GxTexture* source, const PfRect& sourceRect, int32_t x, int32_t y);
    virtual bool CopyRect16To32(GxTexture* source, const PfRect& sourceRect, int32_t x, int32_t y);

    uint32_t GetMipLevels() const { return m_MipLevels; }
    uint32_t GetColourKey() const { return m_ColourKey; }
    bool GetStretch() const { return m_Stretch; }

    // Puts a decoded picture into the device texture: scaled with the triangle filter when stretch is set
    // and the sizes differ, else at the top left over transparent black. Then uploads.
    static bool FillFromImage(PfGLTexture& texture, const PfImage& image, bool stretch);
    // The same into texture memory of that format and size, pitch bytes a row.
    static bool FillRows(const PfImage& image, D3DFORMAT format, uint32_t width, uint32_t height, bool stretch,
                         uint8_t* data, uint32_t pitch);

protected:
    // Creation steps shared by the operations: drop every reference, store the parameters and the name.
    void BeginCreate(const std::wstring& name, uint32_t imageWidth, uint32_t imageHeight, D3DFORMAT format,
                     D3DPOOL pool, uint32_t mipLevels, uint32_t objectType);
    // Takes the device texture's size and format, registers and takes the first reference.
    bool FinishCreate();
    // After BeginCreate: makes the device texture at the stored size, format and mip levels and finishes;
    // on failure logs failureFormat (name, size, error text) and clears the fields.
    bool CreateDeviceTexture(const std::wstring& name, uint32_t usage, const wchar_t* failureFormat);
    void ResetFields();
    bool CopyRect(GxTexture* source, const PfRect& sourceRect, int32_t x, int32_t y);
    bool LoadImageInto(const std::wstring& fileName, const wchar_t* failureFormat, const std::wstring& messageName);
    bool DecodeInto(const void* data, uint32_t size, const wchar_t* failureFormat, const std::wstring& messageName,
                    const std::wstring& fileName);
    // Leaves the decoded picture's pixels to the texture's first use, made again from a copy of the bytes.
    bool DeferFill(PfGLTexture& texture, const void* data, uint32_t size, const std::wstring& fileName);

    uint32_t m_MipLevels = 0;
    bool m_Locked = false;
    uint32_t m_ColourKey = 0;
    bool m_Stretch = true;
};
