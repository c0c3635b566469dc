#include "graphics/GxTexture.h"

#include "core/GxBinBuffer.h"
#include "core/GxFile.h"
#include "core/GxLog.h"
#include "core/GxString.h"
#include "graphics/GxD3DResourceManage.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxImage.h"
#include "graphics/GxPixelFormat.h"
#include "platform/PfGLDevice.h"
#include "platform/PfGLTexture.h"
#include "platform/PfImage.h"
#include "platform/PfImageResample.h"

#include <cstring>
#include <memory>
#include <vector>

GxTexture::~GxTexture()
{
    ReleaseAll();
}

void GxTexture::ResetFields()
{
    delete m_pTexture;
    delete m_pMemoryTexture;
    m_pTexture = nullptr;
    m_pMemoryTexture = nullptr;
    m_MipLevels = 0;
    m_Locked = false;
    m_ColourKey = 0;
    m_Stretch = true;
    ResetSurfaceFields();
}

uint32_t GxTexture::Release()
{
    return ReleaseRegistered([this] { ResetFields(); });
}

void GxTexture::OnLostDevice()
{
    if (m_Pool == D3DPOOL_DEFAULT && m_pTexture)
    {
        delete m_pTexture;
        m_pTexture = nullptr;
    }
}

void GxTexture::OnResetDevice()
{
    if (m_Pool != D3DPOOL_DEFAULT || m_ObjectType != OBJTYPE_RENDERTARGET || m_pTexture)
        return;
    PfGLTexture* texture = new PfGLTexture();
    const PfResult hr = texture->Create(m_Width, m_Height, 1, D3DUSAGE_RENDERTARGET, m_Format);
    if (PfFailed(hr))
    {
        delete texture;
        GxLog::Error(L"Error/Texture CreateTexture Failed at OnReset Device(Name:\"%s\" Size:%d,%d %s)\n",
                     m_Name.c_str(), m_Width, m_Height, GxGraphics::GetErrorText(hr).c_str());
        return;
    }
    m_pTexture = texture;
}

uint32_t GxTexture::GetMemorySize() const
{
    if (GxPixelFormat::Is32Bit(m_Format))
        return m_Width * m_Height * 4;
    if (GxPixelFormat::Is4444(m_Format))
        return m_Width * m_Height * 2;
    return 0;
}

void GxTexture::BeginCreate(const std::wstring& name, uint32_t imageWidth, uint32_t imageHeight, D3DFORMAT format,
                            D3DPOOL pool, uint32_t mipLevels, uint32_t objectType)
{
    ReleaseAll();
    ResetFields();
    m_ImageWidth = imageWidth;
    m_ImageHeight = imageHeight;
    GetTextureSize(imageWidth, imageHeight, m_Width, m_Height);
    m_Format = format;
    m_Pool = pool;
    m_MipLevels = mipLevels;
    m_Locked = false;
    m_ObjectType = objectType;
    SetName(name);
}

bool GxTexture::FinishCreate()
{
    m_Width = m_pTexture->GetWidth();
    m_Height = m_pTexture->GetHeight();
    m_Format = m_pTexture->GetFormat();
    GxD3DResourceManage::GetInstance().Register(this);
    AddRef();
    return true;
}

bool GxTexture::CreateDeviceTexture(const std::wstring& name, uint32_t usage, const wchar_t* failureFormat)
{
    if (!GxGraphics::GetDevice())
        return false;
    PfGLTexture* texture = new PfGLTexture();
    const PfResult hr = texture->Create(m_Width, m_Height, m_MipLevels, usage, m_Format);
    if (PfFailed(hr))
    {
        delete texture;
        GxLog::Error(failureFormat, name.c_str(), m_Width, m_Height, GxGraphics::GetErrorText(hr).c_str());
        ResetFields();
        return false;
    }
    m_pTexture = texture;
    return FinishCreate();
}

bool GxTexture::CreateTexture(const std::wstring& name, uint32_t width, uint32_t height, D3DFORMAT format,
                              uint32_t mipLevels)
{
    if (format == D3DFMT_UNKNOWN)
        format = GxGraphics::GetTextureFormat();
    BeginCreate(name, width, height, format, D3DPOOL_MANAGED, mipLevels, OBJTYPE_TEXTURE);
    return CreateDeviceTexture(name, 0, L"Error/Texture CreateTexture Failed(Name:\"%s\" Size:%d,%d %s)\n");
}

bool GxTexture::CreateBufferedTexture(const std::wstring& name, uint32_t width, uint32_t height, D3DFORMAT format)
{
    if (format == D3DFMT_UNKNOWN)
        format = GxGraphics::GetTextureFormat();
    BeginCreate(name, width, height, format, D3DPOOL_MANAGED, 1, OBJTYPE_BUFFEREDTEXTURE);
    return CreateDeviceTexture(name, 0, L"Error/Texture CreateBufferedTexture Failed(Name:\"%s\" Size:%d,%d %s)\n");
}

bool GxTexture::CreateRenderTarget(const std::wstring& name, uint32_t width, uint32_t height, D3DFORMAT format)
{
    if (format == D3DFMT_UNKNOWN)
        format = GxGraphics::GetRenderTargetFormat();
    BeginCreate(name, width, height, format, D3DPOOL_DEFAULT, 1, OBJTYPE_RENDERTARGET);
    // The platform texture of a render target carries its own processor-side copy, filled on demand
    // from the frame buffer, so there is no separate memory texture to make (or to leak on failure).
    return CreateDeviceTexture(name, D3DUSAGE_RENDERTARGET,
                               L"Error/Texture CreateRenderTarget Failed(Type:Texture Name:\"%s\" Size:%d,%d %s)\n");
}

bool GxTexture::FillFromImage(PfGLTexture& texture, const PfImage& image, bool stretch)
{
    uint8_t* data = texture.GetData();
    return data &&
           FillRows(image, texture.GetFormat(), texture.GetWidth(), texture.GetHeight(), stretch, data,
                    texture.GetPitch()) &&
           PfSucceeded(texture.Upload());
}

bool GxTexture::FillRows(const PfImage& image, D3DFORMAT format, uint32_t tw, uint32_t th, bool stretch,
                         uint8_t* data, uint32_t pitch)
{
    const uint32_t bytes = GxPixelFormat::GetBytes(format);
    if (bytes == 0 || bytes != PfGLTexture::GetBytesPerPixel(format))
        return false;
    const bool scale = stretch && (tw != image.GetWidth() || th != image.GetHeight());
    // 32-bit textures are scaled straight into the texture's memory.
    if (scale && GxPixelFormat::Is32Bit(format))
        return PfImageResample::Triangle(image, tw, th, data, pitch);
    PfImage scaled;
    const PfImage* from = &image;
    if (scale)
    {
        if (!PfImageResample::Triangle(image, tw, th, scaled))
            return false;
        from = &scaled;
    }
    const uint32_t w = from->GetWidth() < tw ? from->GetWidth() : tw;
    const uint32_t h = from->GetHeight() < th ? from->GetHeight() : th;
    // Texels outside the picture are transparent black.
    const size_t used = (size_t)w * bytes;
    for (uint32_t y = 0; y < h; ++y)
    {
        uint8_t* row = data + (size_t)y * pitch;
        GxPixelFormat::FromArgbRow(row, format, from->GetRow(y), w);
        if (used < pitch)
            std::memset(row + used, 0, pitch - used);
    }
    if (h < th)
        std::memset(data + (size_t)h * pitch, 0, (size_t)(th - h) * pitch);
    return true;
}

bool GxTexture::LoadImageInto(const std::wstring& fileName, const wchar_t* failureFormat,
                              const std::wstring& messageName)
{
    GxBinBuffer buffer;
    GxFile::LoadToBuffer(buffer, fileName, true);
    return DecodeInto(buffer.GetData(), buffer.GetSize(), failureFormat, messageName, fileName);
}

bool GxTexture::DecodeInto(const void* data, uint32_t size, const wchar_t* failureFormat,
                           const std::wstring& messageName, const std::wstring& fileName)
{
    PfImage image;
    std::string error;
    PfResult hr = D3DXERR_INVALIDDATA;
    if (data && size != 0 && GxImage::DecodeMemory(data, size, image, m_ColourKey, error))
    {
        PfGLTexture* texture = new PfGLTexture();
        hr = texture->Create(m_Width, m_Height, m_MipLevels, 0, m_Format);
        // The picture decoded and fits: its pixels are made again from the file's bytes when it is first
        // drawn or read, so a picture loaded for a later screen holds only those bytes until then.
        if (PfSucceeded(hr) && !DeferFill(*texture, data, size, fileName))
            hr = D3DERR_INVALIDCALL;
        if (PfSucceeded(hr))
        {
            m_pTexture = texture;
            return true;
        }
        delete texture;
    }
    GxLog::Error(failureFormat, messageName.c_str(), m_Width, m_Height, GxGraphics::GetErrorText(hr).c_str());
    if (!error.empty())
        GxLog::Debug(L"%s: %S\n", fileName.c_str(), error.c_str());
    return false;
}

bool GxTexture::DeferFill(PfGLTexture& texture, const void* data, uint32_t size, const std::wstring& fileName)
{
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    auto file = std::make_shared<const std::vector<uint8_t>>(bytes, bytes + size);
    const uint32_t colourKey = m_ColourKey;
    const bool stretch = m_Stretch;
    const D3DFORMAT format = texture.GetFormat();
    const uint32_t width = texture.GetWidth(), height = texture.GetHeight();
    if (GxPixelFormat::GetBytes(format) != PfGLTexture::GetBytesPerPixel(format))
        return false;
    texture.SetDeferredFill(
        [file, colourKey, stretch, format, width, height, fileName](uint8_t* pixels, uint32_t pitch)
        {
            PfImage image;
            std::string error;
            if (GxImage::DecodeMemory(file->data(), (uint32_t)file->size(), image, colourKey, error) &&
                FillRows(image, format, width, height, stretch, pixels, pitch))
                return true;
            GxLog::Error(L"Error/Texture picture could not be made again (File=%s %S)\n", fileName.c_str(),
                         error.c_str());
            return false;
        });
    return true;
}

bool GxTexture::CreateFromResource(const std::wstring& name, const void* data, uint32_t size, D3DFORMAT format,
                                   uint32_t mipLevels, uint32_t ignored, bool stretch)
{
    (void)ignored;
    if (format == D3DFMT_UNKNOWN)
        format = GxGraphics::GetTextureFormat();
    // The colour key field survives the reset below only as its constructed value, 0.
    BeginCreate(name, 0, 0, format, D3DPOOL_MANAGED, mipLevels, OBJTYPE_TEXTURE);
    m_Stretch = stretch;
    if (!GxGraphics::GetDevice())
        return false;
    if (!data)
    {
        GxLog::Error(L"Error/Texture CreateFromResource Failed(Resource pointer is null)\n");
        ResetFields();
        return false;
    }
    uint32_t width = 0, height = 0;
    if (!GxImage::GetInfoFromMemory(data, size, &width, &height))
    {
        ResetFields();
        return false;
    }
    m_ImageWidth = width;
    m_ImageHeight = height;
    GetTextureSize(width, height, m_Width, m_Height);
    const std::wstring stored = m_Name;
    if (!DecodeInto(data, size, L"Error/Texture CreateFromResource Failed(Name:\"%s\" Size:%d,%d %s)\n", stored,
                    stored))
    {
        ResetFields();
        return false;
    }
    return FinishCreate();
}

bool GxTexture::CreateFromResourceA(const char* name, const void* data, uint32_t size, D3DFORMAT format,
                                    uint32_t mipLevels, uint32_t ignored, bool stretch)
{
    return CreateFromResource(GxString::ToWide(name), data, size, format, mipLevels, ignored, stretch);
}

bool GxTexture::CreateFromFile(const std::wstring& fileName, D3DFORMAT format, uint32_t mipLevels, uint32_t colourKey,
                               bool stretch)
{
    if (format == D3DFMT_UNKNOWN)
        format = GxGraphics::GetTextureFormat();
    BeginCreate(fileName, 0, 0, format, D3DPOOL_MANAGED, mipLevels, OBJTYPE_TEXTURE);
    m_ColourKey = colourKey;
    m_Stretch = stretch;
    if (!GxGraphics::GetDevice())
        return false;
    GxImageInfo info;
    if (!GxImage::GetInfoFromFile(fileName, info))
    {
        ResetFields();
        return false;
    }
    m_ImageWidth = info.Width;
    m_ImageHeight = info.Height;
    GetTextureSize(info.Width, info.Height, m_Width, m_Height);
    if (!LoadImageInto(fileName, L"Error/Texture CreateFromFile Failed(Name:\"%s\" Size:%d,%d %s)\n", fileName))
    {
        ResetFields();
        return false;
    }
    return FinishCreate();
}

bool GxTexture::ReloadFromFile()
{
    if (!GxGraphics::GetDevice())
        return false;
    GxImageInfo info;
    if (!GxImage::GetInfoFromFile(m_Name, info))
        return false;
    m_ImageWidth = info.Width;
    m_ImageHeight = info.Height;
    GetTextureSize(info.Width, info.Height, m_Width, m_Height);
    delete m_pTexture;
    m_pTexture = nullptr;
    m_Locked = false;
    if (!LoadImageInto(m_Name, L"Error/Texture ReloadFromFile Failed(Name:\"%s\" Size:%d,%d %s)\n", m_Name))
        return false;
    m_Width = m_pTexture->GetWidth();
    m_Height = m_pTexture->GetHeight();
    m_Format = m_pTexture->GetFormat();
    return true;
}

bool GxTexture::CreateTextureA(const char* name, uint32_t width, uint32_t height, D3DFORMAT format, uint32_t mipLevels)
{
    return CreateTexture(GxString::ToWide(name), width, height, format, mipLevels);
}

bool GxTexture::CreateRenderTargetA(const char* name, uint32_t width, uint32_t height, D3DFORMAT format)
{
    return CreateRenderTarget(GxString::ToWide(name), width, height, format);
}

bool GxTexture::CreateBufferedTextureA(const char* name, uint32_t width, uint32_t height, D3DFORMAT format)
{
    return CreateBufferedTexture(GxString::ToWide(name), width, height, format);
}

bool GxTexture::CreateFromFileA(const char* fileName, D3DFORMAT format, uint32_t mipLevels, uint32_t colourKey,
                                bool stretch)
{
    return CreateFromFile(GxString::ToWide(fileName), format, mipLevels, colourKey, stretch);
}

bool GxTexture::BlendImageFromFileA(const char* fileName, int32_t x, int32_t y, uint32_t colourKey)
{
    return BlendImageFromFile(GxString::ToWide(fileName), x, y, colourKey);
}

bool GxTexture::SaveToFileA(const char* fileName)
{
    return SaveToFile(GxString::ToWide(fileName));
}
