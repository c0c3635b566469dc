#include "graphics/GxSurface.h"

#include "core/GxLog.h"
#include "core/GxString.h"
#include "graphics/GxD3DResourceManage.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxImage.h"
#include "graphics/GxPixelFormat.h"
#include "graphics/GxTexture.h"
#include "platform/PfGLTexture.h"
#include "platform/PfImage.h"

#include <cstring>
#include <vector>

GxSurface::~GxSurface()
{
    ReleaseAll();
}

void GxSurface::ResetFields()
{
    delete m_pTexture;
    m_pTexture = nullptr;
    m_pMemoryTexture = nullptr;
    m_Usage = 0;
    ResetSurfaceFields();
}

uint32_t GxSurface::Release()
{
    return ReleaseRegistered([this] { ResetFields(); });
}

bool GxSurface::Create(const std::wstring& name, uint32_t width, uint32_t height, D3DFORMAT format, D3DPOOL pool,
                       uint32_t objectType, uint32_t usage, const wchar_t* failureFormat, uint32_t samples)
{
    ReleaseAll();
    ResetFields();
    m_Width = m_ImageWidth = width;
    m_Height = m_ImageHeight = height;
    m_Format = format;
    m_Pool = pool;
    m_Usage = usage;
    m_ObjectType = objectType;
    SetName(name);
    if (!GxGraphics::GetDevice())
        return false;
    PfGLTexture* surface = new PfGLTexture();
    const PfResult hr = surface->Create(width, height, 1, usage, format, samples);
    if (PfFailed(hr))
    {
        delete surface;
        GxLog::Error(failureFormat, name.c_str(), width, height, GxGraphics::GetErrorText(hr).c_str());
        ResetFields();
        return false;
    }
    m_pTexture = surface;
    m_Format = surface->GetFormat();
    m_Width = surface->GetWidth();
    m_Height = surface->GetHeight();
    GxD3DResourceManage::GetInstance().Register(this);
    AddRef();
    return true;
}

bool GxSurface::CreateSurface(const std::wstring& name, uint32_t width, uint32_t height, D3DFORMAT format)
{
    return Create(name, width, height, format ? format : GxGraphics::GetTextureFormat(), D3DPOOL_DEFAULT,
                  OBJTYPE_SURFACE, 0, L"Error/Surface CreateSurface Failed(Name:\"%s\" Size:%d,%d %s)\n");
}

bool GxSurface::CreateScratch(const std::wstring& name, uint32_t width, uint32_t height, D3DFORMAT format)
{
    return Create(name, width, height, format ? format : GxGraphics::GetTextureFormat(), D3DPOOL_SCRATCH,
                  OBJTYPE_SURFACE, 0, L"Error/Surface CreateScratch Failed(Name:\"%s\" Size:%d,%d %s)\n");
}

bool GxSurface::CreateSystemMemory(const std::wstring& name, uint32_t width, uint32_t height, D3DFORMAT format)
{
    return Create(name, width, height, format ? format : GxGraphics::GetTextureFormat(), D3DPOOL_SYSTEMMEM,
                  OBJTYPE_SURFACE, 0, L"Error/Surface CreateSystemMemory Failed(Name:\"%s\" Size:%d,%d %s)\n");
}

bool GxSurface::CreateDepthStencil(const std::wstring& name, uint32_t width, uint32_t height, D3DFORMAT format,
                                   D3DMULTISAMPLE_TYPE multiSample, uint32_t quality)
{
    (void)quality;
    return Create(name, width, height, format ? format : GxGraphics::GetDepthStencilFormat(), D3DPOOL_DEFAULT,
                  OBJTYPE_DEPTHSTENCIL, D3DUSAGE_DEPTHSTENCIL,
                  L"Error/Surface CreateDepthStencil Failed(Name:\"%s\" Size:%d,%d %s)\n", (uint32_t)multiSample);
}

bool GxSurface::CreateRenderTarget(const std::wstring& name, uint32_t width, uint32_t height, D3DFORMAT format,
                                   D3DMULTISAMPLE_TYPE multiSample, uint32_t quality)
{
    (void)quality;
    return Create(name, width, height, format ? format : GxGraphics::GetRenderTargetFormat(), D3DPOOL_DEFAULT,
                  OBJTYPE_RENDERTARGET, D3DUSAGE_RENDERTARGET,
                  L"Error/Surface CreateRenderTarget Failed(Name:\"%s\" Size:%d,%d %s)\n", (uint32_t)multiSample);
}

bool GxSurface::CreateFromFile(const std::wstring& fileName, D3DFORMAT format, uint32_t colourKey)
{
    ReleaseAll();
    ResetFields();
    m_Format = format ? format : GxGraphics::GetTextureFormat();
    m_Pool = D3DPOOL_SCRATCH;
    m_ObjectType = OBJTYPE_SURFACE;
    SetName(fileName);
    if (!GxGraphics::GetDevice())
        return false;
    PfImage image;
    GxImageInfo info;
    if (!GxImage::CreateScratchSurfaceFromFile(fileName, image, m_Format, &info, colourKey))
    {
        ResetFields();
        return false;
    }
    PfGLTexture* surface = new PfGLTexture();
    const PfResult hr = surface->Create(image.GetWidth(), image.GetHeight(), 1, 0, m_Format);
    if (PfFailed(hr) || !GxTexture::FillFromImage(*surface, image, false))
    {
        delete surface;
        GxLog::Error(L"Error/CreateScratchSurfaceFromFile Failed(Name:\"%s\" %s)\n", fileName.c_str(),
                     GxGraphics::GetErrorText(PfFailed(hr) ? hr : D3DERR_INVALIDCALL).c_str());
        ResetFields();
        return false;
    }
    m_pTexture = surface;
    m_ImageWidth = info.Width;
    m_ImageHeight = info.Height;
    m_Width = surface->GetWidth();
    m_Height = surface->GetHeight();
    GxD3DResourceManage::GetInstance().Register(this);
    AddRef();
    return true;
}

void GxSurface::OnLostDevice()
{
    if (m_Pool != D3DPOOL_SCRATCH && m_pTexture)
    {
        delete m_pTexture;
        m_pTexture = nullptr;
    }
}

void GxSurface::OnResetDevice()
{
    if (m_Pool == D3DPOOL_SCRATCH || m_ObjectType == OBJTYPE_NONE || m_pTexture)
        return;
    PfResult hr = E_FAIL;
    PfGLTexture* surface = new PfGLTexture();
    if (m_ObjectType == OBJTYPE_RENDERTARGET || m_ObjectType == OBJTYPE_DEPTHSTENCIL || m_ObjectType == OBJTYPE_SURFACE)
        hr = surface->Create(m_Width, m_Height, 1, m_Usage, m_Format);
    if (PfFailed(hr))
    {
        delete surface;
        GxLog::Error(L"Error/Surface OnReset Failed(Name:\"%s\" Size:%d,%d %s)\n", m_Name.c_str(), m_Width, m_Height,
                     GxGraphics::GetErrorText(hr).c_str());
        return;
    }
    m_pTexture = surface;
}

bool GxSurface::StretchFrom(const PfRect* destRect, GxSurface* source, const PfRect* sourceRect, uint32_t filter)
{
    if (!source || !m_pTexture || !source->m_pTexture || source == this ||
        !CanStretchBetween(m_Format, source->m_Format))
        return false;
    const PfRect d = destRect ? *destRect : PfRect{0, 0, (int32_t)m_Width, (int32_t)m_Height};
    const PfRect s = sourceRect ? *sourceRect : PfRect{0, 0, (int32_t)source->m_Width, (int32_t)source->m_Height};
    const uint32_t bytes = GxPixelFormat::GetBytes(m_Format);
    if (bytes == 0 || d.left < 0 || d.top < 0 || d.right > (int32_t)m_Width || d.bottom > (int32_t)m_Height ||
        d.left >= d.right || d.top >= d.bottom || s.left < 0 || s.top < 0 || s.right > (int32_t)source->m_Width ||
        s.bottom > (int32_t)source->m_Height || s.left >= s.right || s.top >= s.bottom)
        return false;
    if (source->m_pTexture->IsRenderTarget() && PfFailed(source->m_pTexture->ReadBack()))
        return false;
    const uint8_t* from = source->m_pTexture->GetData();
    const uint32_t fromPitch = source->m_pTexture->GetPitch();
    uint32_t pitch = 0;
    // A render target is written whole: its content is read back first so the rest survives.
    uint8_t* to = static_cast<uint8_t*>(m_pTexture->LockRect(&d, 0, &pitch));
    if (!to)
        return false;
    StretchTexels(to, pitch, d, m_Format, from, fromPitch, s, source->m_Format, filter);
    return PfSucceeded(m_pTexture->UnlockRect());
}

bool GxSurface::SaveToFile(const std::wstring& fileName)
{
    if (!m_pTexture)
        return false;
    const uint32_t bytes = GxPixelFormat::GetBytes(m_Format);
    if (bytes == 0)
        return false;
    if (m_pTexture->IsRenderTarget() && PfFailed(m_pTexture->ReadBack()))
        return false;
    std::vector<uint8_t> pixels((size_t)m_Width * m_Height * 4);
    const uint8_t* data = m_pTexture->GetData();
    const uint32_t pitch = m_pTexture->GetPitch();
    for (uint32_t y = 0; y < m_Height; ++y)
        for (uint32_t x = 0; x < m_Width; ++x)
        {
            uint32_t argb = GxPixelFormat::ToArgb(data + (size_t)y * pitch + (size_t)x * bytes, m_Format);
            if (m_Format == D3DFMT_X8R8G8B8 || m_Format == D3DFMT_X4R4G4B4 || m_Format == D3DFMT_R5G6B5 ||
                m_Format == D3DFMT_X1R5G5B5)
                argb |= 0xFF000000u;
            std::memcpy(&pixels[((size_t)y * m_Width + x) * 4], &argb, 4);
        }
    return GxImage::SaveToPNG(fileName, m_Width, m_Height, pixels.data()) == 1;
}

bool GxSurface::CreateSurfaceA(const char* name, uint32_t width, uint32_t height, D3DFORMAT format)
{
    return CreateSurface(GxString::ToWide(name), width, height, format);
}

bool GxSurface::CreateScratchA(const char* name, uint32_t width, uint32_t height, D3DFORMAT format)
{
    return CreateScratch(GxString::ToWide(name), width, height, format);
}

bool GxSurface::CreateSystemMemoryA(const char* name, uint32_t width, uint32_t height, D3DFORMAT format)
{
    return CreateSystemMemory(GxString::ToWide(name), width, height, format);
}

bool GxSurface::CreateDepthStencilA(const char* name, uint32_t width, uint32_t height, D3DFORMAT format,
                                    D3DMULTISAMPLE_TYPE multiSample, uint32_t quality)
{
    return CreateDepthStencil(GxString::ToWide(name), width, height, format, multiSample, quality);
}

bool GxSurface::CreateRenderTargetA(const char* name, uint32_t width, uint32_t height, D3DFORMAT format,
                                    D3DMULTISAMPLE_TYPE multiSample, uint32_t quality)
{
    return CreateRenderTarget(GxString::ToWide(name), width, height, format, multiSample, quality);
}

bool GxSurface::CreateFromFileA(const char* fileName, D3DFORMAT format, uint32_t colourKey)
{
    return CreateFromFile(GxString::ToWide(fileName), format, colourKey);
}

bool GxSurface::SaveToFileA(const char* fileName)
{
    return SaveToFile(GxString::ToWide(fileName));
}
