#include "graphics/GxTextureMovie.h"

#include "core/GxColor.h"
#include "core/GxLog.h"
#include "core/GxMutexScopedLock.h"
#include "core/GxString.h"
#include "graphics/GxD3DResourceManage.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxPixelFormat.h"
#include "platform/PfGLDevice.h"
#include "platform/PfGLTexture.h"

#include <cstring>

namespace
{

constexpr PfResult kPointerError = (PfResult)0x80004003u;
constexpr PfResult kUnexpected = (PfResult)0x8000FFFFu;

} // namespace

GxTextureMovie::~GxTextureMovie()
{
    ReleaseAll();
    ReleaseTextures();
}

void GxTextureMovie::ReleaseTextures()
{
    GxMutexScopedLock lock(m_Lock);
    for (int i = 0; i < 2; ++i)
    {
        delete m_pTextures[i];
        m_pTextures[i] = nullptr;
        m_Filled[i] = false;
    }
    m_FrameWidth = 0;
    m_FrameHeight = 0;
}

uint32_t GxTextureMovie::Release()
{
    return ReleaseRegistered(
        [this]
        {
            ReleaseTextures();
            m_MipLevels = 0;
            m_Locked = false;
            m_Usage = 0;
            ResetSurfaceFields();
        });
}

uint32_t GxTextureMovie::GetMemorySize() const
{
    if (GxPixelFormat::Is32Bit(m_Format))
        return m_Width * m_Height * 8;
    if (GxPixelFormat::Is4444(m_Format))
        return m_Width * m_Height * 4;
    return 0;
}

bool GxTextureMovie::SetRenderTarget(uint32_t index)
{
    PfGLDevice* device = GxGraphics::GetDevice();
    PfGLTexture* texture = m_pTextures[m_Current];
    if (!device || !texture)
        return false;
    return PfSucceeded(device->SetRenderTarget(index, texture));
}

bool GxTextureMovie::CreateOne(uint32_t index, const wchar_t* failureFormat, bool withName)
{
    PfGLTexture* texture = new PfGLTexture();
    const PfResult hr = texture->Create(m_Width, m_Height, 1, 0, m_Format);
    if (PfFailed(hr))
    {
        delete texture;
        if (withName)
            GxLog::Error(failureFormat, m_Name.c_str(), m_Width, m_Height, index, GxGraphics::GetErrorText(hr).c_str());
        else
            GxLog::Error(failureFormat, m_Width, m_Height, index, GxGraphics::GetErrorText(hr).c_str());
        return false;
    }
    // Frames are written on the decoding thread, where the copy could not be read back from OpenGL: the
    // clear colour filled here stays in the copy for them.
    texture->KeepCopy();
    m_pTextures[index] = texture;
    Fill(index, m_ClearColour);
    return true;
}

bool GxTextureMovie::Create(const std::wstring& name, uint32_t width, uint32_t height, D3DFORMAT format,
                            uint32_t clearColour, bool dynamic)
{
    ReleaseAll();
    ReleaseTextures();
    m_ClearColour = clearColour;
    m_ImageWidth = width;
    m_ImageHeight = height;
    GetTextureSize(width, height, m_Width, m_Height);
    m_Format = format == D3DFMT_UNKNOWN ? GxGraphics::GetTextureFormat() : format;
    m_MipLevels = 1;
    m_ObjectType = OBJTYPE_TEXTURE;
    m_Locked = false;
    SetName(name);
    if (!GxGraphics::GetDevice())
        return false;
    if (dynamic && GxGraphics::GetDeviceCaps().DynamicTextures)
    {
        m_Pool = D3DPOOL_DEFAULT;
        m_Usage = D3DUSAGE_DYNAMIC;
    }
    else
    {
        m_Pool = D3DPOOL_MANAGED;
        m_Usage = 0;
    }
    for (uint32_t index = 0; index < 2; ++index)
    {
        if (!CreateOne(index,
                       L"Error/GxTextureMovie::Create Failed(Type:Texture Name:\"%s\" Size:%d,%d CachePos:%d %s)\n",
                       true))
        {
            // The first texture is not left allocated behind a failed creation.
            ReleaseTextures();
            return false;
        }
    }
    m_Width = m_pTextures[0]->GetWidth();
    m_Height = m_pTextures[0]->GetHeight();
    m_Format = m_pTextures[0]->GetFormat();
    GxD3DResourceManage::GetInstance().Register(this);
    AddRef();
    return true;
}

bool GxTextureMovie::CreateA(const char* name, uint32_t width, uint32_t height, D3DFORMAT format, uint32_t clearColour,
                             bool dynamic)
{
    return Create(GxString::ToWide(name), width, height, format, clearColour, dynamic);
}

bool GxTextureMovie::Fill(uint32_t index, uint32_t colour)
{
    if (index > 1 || !GxGraphics::GetDevice() || !m_pTextures[index])
        return false;
    void* bits = nullptr;
    uint32_t pitch = 0, w = 0, h = 0;
    if (!LockRect(index, nullptr, &bits, &pitch, &w, &h, nullptr, false))
        return false;
    const bool wide = GxPixelFormat::Is32Bit(m_Format);
    const bool narrow = PfGLTexture::GetBytesPerPixel(m_Format) == 2;
    const uint16_t v16 = GxColor::ToA4R4G4B4(colour);
    for (uint32_t y = 0; y < h; ++y)
    {
        uint8_t* row = static_cast<uint8_t*>(bits) + (size_t)y * pitch;
        for (uint32_t x = 0; x < w && (wide || narrow); ++x)
        {
            if (wide)
                std::memcpy(row + 4 * x, &colour, 4);
            else
                std::memcpy(row + 2 * x, &v16, 2);
        }
    }
    UnlockRect(index);
    return true;
}

bool GxTextureMovie::LockRect(uint32_t index, const PfRect* rect, void** bits, uint32_t* pitch, uint32_t* width,
                              uint32_t* height, D3DFORMAT* format, bool readOnly)
{
    if (index > 1 || !m_pTextures[index] || !GxGraphics::GetDevice())
        return false;
    return LockDeviceTexture(*m_pTextures[index], m_Locked, &GxLog::Error, rect, bits, pitch, width, height, format,
                             readOnly);
}

bool GxTextureMovie::UnlockRect(uint32_t index)
{
    if (index > 1 || !m_pTextures[index] || !GxGraphics::GetDevice() || !m_Locked)
        return false;
    m_pTextures[index]->UnlockRect();
    m_Locked = false;
    return true;
}

uint32_t GxTextureMovie::Swap()
{
    const uint32_t previous = m_Current;
    m_Filled[previous] = true;
    m_Current = (previous + 1) % 2;
    return previous;
}

void GxTextureMovie::OnLostDevice()
{
    GxMutexScopedLock lock(m_Lock);
    if (m_Pool != D3DPOOL_DEFAULT)
        return;
    for (int i = 0; i < 2; ++i)
    {
        delete m_pTextures[i];
        m_pTextures[i] = nullptr;
        m_Filled[i] = false;
    }
}

void GxTextureMovie::OnResetDevice()
{
    GxMutexScopedLock lock(m_Lock);
    if (m_Pool != D3DPOOL_DEFAULT)
        return;
    for (uint32_t index = 0; index < 2; ++index)
        if (!m_pTextures[index])
            CreateOne(index, L"Error/GxTextureMovie::Restore Failed(Size:%d,%d CachePos:%d %s)\n", false);
}

PfResult GxTextureMovie::CopyFrame(const uint8_t* frame, uint32_t videoWidth, uint32_t videoHeight, uint32_t stride)
{
    GxMutexScopedLock lock(m_Lock);
    if (!frame)
        return kPointerError;
    PfGLTexture* back = GetBackTexture();
    if (!back)
        return kUnexpected;
    uint32_t pitch = 0;
    uint8_t* bits = static_cast<uint8_t*>(back->LockRect(nullptr, m_Usage ? (uint32_t)D3DLOCK_DISCARD : 0u, &pitch));
    if (!bits)
        return E_FAIL;
    const uint32_t w = videoWidth < m_Width ? videoWidth : m_Width;
    const uint32_t h = videoHeight < m_Height ? videoHeight : m_Height;
    const D3DFORMAT format = m_Format;
    for (uint32_t y = 0; y < h; ++y)
    {
        // The frame is bottom-up: its last row is the top of the picture.
        const uint8_t* src = frame + (size_t)(videoHeight - 1 - y) * stride;
        uint8_t* dst = bits + (size_t)y * pitch;
        if (GxPixelFormat::Is32Bit(format))
        {
            for (uint32_t x = 0; x < w; ++x, src += 3, dst += 4)
            {
                dst[0] = src[0];
                dst[1] = src[1];
                dst[2] = src[2];
                dst[3] = 0xFF;
            }
        }
        else if (format == D3DFMT_A1R5G5B5 || GxPixelFormat::Is4444(format))
        {
            const bool a1 = format == D3DFMT_A1R5G5B5;
            for (uint32_t x = 0; x < w; ++x, src += 3, dst += 2)
            {
                const uint32_t b = src[0], g = src[1], r = src[2];
                const uint16_t v = a1 ? (uint16_t)(0x8000 | (r & 0xF8) << 7 | (g & 0xF8) << 2 | b >> 3)
                                      : (uint16_t)(0xF000 | (r & 0xF0) << 4 | (g & 0xF0) | b >> 4);
                dst[0] = (uint8_t)v;
                dst[1] = (uint8_t)(v >> 8);
            }
        }
    }
    if (PfFailed(back->UnlockRect()))
        return E_FAIL;
    m_FrameWidth = w;
    m_FrameHeight = h;
    Swap();
    return S_OK;
}

void GxTextureMovie::UploadCurrent()
{
    GxMutexScopedLock lock(m_Lock);
    if (m_pTextures[m_Current])
        m_pTextures[m_Current]->UploadIfDirty();
}
