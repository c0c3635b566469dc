#include "appdata/GxGlobalRenderTargets.h"

#include "core/GxLog.h"
#include "graphics/GxDisplaySettings.h"
#include "graphics/GxFontData.h"
#include "graphics/GxGDIFontMap.h"
#include "graphics/GxImage.h"
#include "platform/PfGLTexture.h"
#include "platform/PfPngWriter.h"

#include <algorithm>

GxGlobalRenderTargets g_GlobalRenderTargets;

namespace
{

// Both pictures are 32-bit, bytes blue, green, red, alpha.
constexpr uint32_t kRed = 2;
constexpr uint32_t kAlpha = 3;

} // namespace

uint8_t GxGlobalRenderTargets::RuleAlpha(uint8_t ruleRed, float progress)
{
    const int32_t k = static_cast<int32_t>(progress * 510.0f);
    return static_cast<uint8_t>(std::clamp(static_cast<int32_t>(ruleRed) - k + 255, 0, 255));
}

void GxGlobalRenderTargets::ReduceToThumbnail(const uint8_t* pixels, uint32_t pitch, uint32_t width, uint32_t height,
                                              uint8_t* out)
{
    const uint32_t columns = width / 8;
    const uint32_t rows = height / 8;
    // Sums of the eight rows of one band of blocks, per block and channel.
    std::vector<uint32_t> sum(static_cast<size_t>(columns) * 3);
    for (uint32_t j = 0; j < rows; ++j)
    {
        std::fill(sum.begin(), sum.end(), 0u);
        for (uint32_t y = 0; y < 8; ++y)
        {
            const uint8_t* p = pixels + static_cast<size_t>(j * 8 + y) * pitch;
            for (uint32_t i = 0; i < columns; ++i, p += 32)
            {
                uint32_t b = 0, g = 0, r = 0;
                for (uint32_t x = 0; x < 32; x += 4)
                {
                    b += p[x];
                    g += p[x + 1];
                    r += p[x + 2];
                }
                sum[i * 3] += b;
                sum[i * 3 + 1] += g;
                sum[i * 3 + 2] += r;
            }
        }
        uint8_t* o = out + static_cast<size_t>(j) * columns * 4;
        for (uint32_t i = 0; i < columns; ++i, o += 4)
        {
            o[0] = static_cast<uint8_t>(sum[i * 3] / 64);
            o[1] = static_cast<uint8_t>(sum[i * 3 + 1] / 64);
            o[2] = static_cast<uint8_t>(sum[i * 3 + 2] / 64);
            o[3] = 255;
        }
    }
}

bool CreateGlobalRenderTargets()
{
    GxGlobalRenderTargets& g = g_GlobalRenderTargets;
    const GxDisplaySettings& ds = GxDisplaySettings::Get();
    g.m_Width = ds.m_BackBufferWidth;
    g.m_Height = ds.m_BackBufferHeight;
    bool ok = true;
    for (GxSurface& surface : g.m_ScreenSurface)
        ok = surface.CreateSurface(L"", g.m_Width, g.m_Height, D3DFMT_X8R8G8B8) && ok;
    // Both carry the same name, as they always have; only the first is ever looked at by name.
    for (GxTexture& texture : g.m_RenderTexture)
        ok = texture.CreateRenderTarget(L"GlobalRenderTexture0", g.m_Width, g.m_Height, D3DFMT_A8R8G8B8) && ok;
    ok = g.m_DepthStencil.CreateDepthStencil(L"GlobalDepthStencil", g.m_RenderTexture[0].GetWidth(),
                                             g.m_RenderTexture[0].GetHeight(), D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0) &&
         ok;
    ok = LoadTransitionRuleImage(L"") != nullptr && ok;
    g.m_ThumbnailWidth = g.m_Width / 8;
    g.m_ThumbnailHeight = g.m_Height / 8;
    g.m_Thumbnail.assign(static_cast<size_t>(g.m_ThumbnailWidth) * g.m_ThumbnailHeight * 4, 0);
    g.m_Capturing = false;
    return ok;
}

void ReleaseGlobalRenderTargets()
{
    GxGlobalRenderTargets& g = g_GlobalRenderTargets;
    for (GxSurface& surface : g.m_ScreenSurface)
        surface.Release();
    for (GxTexture& texture : g.m_RenderTexture)
        texture.Release();
    g.m_DepthStencil.Release();
    g.m_RuleSurface.Release();
    g.m_Capturing = false;
    g.m_Thumbnail.clear();
    g.m_Thumbnail.shrink_to_fit();
    g.m_ThumbnailWidth = g.m_ThumbnailHeight = 0;
}

GxSurface* LoadTransitionRuleImage(const std::wstring& imageName)
{
    GxGlobalRenderTargets& g = g_GlobalRenderTargets;
    const bool ok = imageName.empty() ? g.m_RuleSurface.CreateSurface(L"", g.m_Width, g.m_Height, D3DFMT_A8R8G8B8)
                                      : g.m_RuleSurface.CreateFromFile(imageName, D3DFMT_A8R8G8B8, 0);
    return ok ? &g.m_RuleSurface : nullptr;
}

bool BuildRuleTransitionTexture(GxTexture* target, float progress)
{
    GxGlobalRenderTargets& g = g_GlobalRenderTargets;
    PfGLTexture* rule = g.m_RuleSurface.GetD3DSurface();
    if (!target || !rule || rule->GetFormat() != D3DFMT_A8R8G8B8 || g.m_RuleSurface.GetWidth() < g.m_Width ||
        g.m_RuleSurface.GetHeight() < g.m_Height)
        return false;
    void* captureBits = nullptr;
    uint32_t capturePitch = 0, captureWidth = 0, captureHeight = 0;
    if (!g.m_RenderTexture[0].LockRect(nullptr, &captureBits, &capturePitch, &captureWidth, &captureHeight, nullptr,
                                       true))
        return false;
    void* targetBits = nullptr;
    uint32_t targetPitch = 0, targetWidth = 0, targetHeight = 0;
    D3DFORMAT targetFormat = D3DFMT_UNKNOWN;
    if (!target->LockRect(nullptr, &targetBits, &targetPitch, &targetWidth, &targetHeight, &targetFormat, false))
    {
        g.m_RenderTexture[0].UnlockRect();
        return false;
    }
    // Every picture must hold the whole W x H area in 32-bit pixels, or the target stays as it was.
    const bool fits = captureWidth >= g.m_Width && captureHeight >= g.m_Height && targetWidth >= g.m_Width &&
                      targetHeight >= g.m_Height && PfGLTexture::GetBytesPerPixel(targetFormat) == 4;
    if (fits)
    {
        const int32_t k = static_cast<int32_t>(progress * 510.0f);
        const uint8_t* ruleData = rule->GetData();
        const uint32_t rulePitch = rule->GetPitch();
        for (uint32_t y = 0; y < g.m_Height; ++y)
        {
            const uint8_t* c = static_cast<const uint8_t*>(captureBits) + static_cast<size_t>(y) * capturePitch;
            const uint8_t* r = ruleData + static_cast<size_t>(y) * rulePitch;
            uint8_t* t = static_cast<uint8_t*>(targetBits) + static_cast<size_t>(y) * targetPitch;
            for (uint32_t x = 0; x < g.m_Width * 4; x += 4)
            {
                t[x] = c[x];
                t[x + 1] = c[x + 1];
                t[x + 2] = c[x + 2];
                t[x + kAlpha] = static_cast<uint8_t>(std::clamp(r[x + kRed] - k + 255, 0, 255));
            }
        }
    }
    target->UnlockRect();
    g.m_RenderTexture[0].UnlockRect();
    return fits;
}

bool MakeThumbnailImage()
{
    GxGlobalRenderTargets& g = g_GlobalRenderTargets;
    void* bits = nullptr;
    uint32_t pitch = 0, width = 0, height = 0;
    D3DFORMAT format = D3DFMT_UNKNOWN;
    if (g.m_Thumbnail.empty() || !g.m_RenderTexture[0].LockRect(nullptr, &bits, &pitch, &width, &height, &format, true))
        return false;
    const bool fits = width >= g.m_Width && height >= g.m_Height && PfGLTexture::GetBytesPerPixel(format) == 4;
    if (fits)
        GxGlobalRenderTargets::ReduceToThumbnail(static_cast<const uint8_t*>(bits), pitch, g.m_Width, g.m_Height,
                                                 g.m_Thumbnail.data());
    g.m_RenderTexture[0].UnlockRect();
    return fits;
}

bool SaveThumbnailImage(const std::wstring& path)
{
    GxGlobalRenderTargets& g = g_GlobalRenderTargets;
    if (g.m_Thumbnail.empty())
    {
        GxLog::Error(L"SaveThumbnailImage/サムネイルがありません(%s)\n", path.c_str());
        return false;
    }
    return GxImage::SaveToPNG(path, g.m_ThumbnailWidth, g.m_ThumbnailHeight, g.m_Thumbnail.data()) != 0;
}

bool EncodeThumbnailImage(std::string& png, const std::wstring& path)
{
    GxGlobalRenderTargets& g = g_GlobalRenderTargets;
    std::vector<uint8_t> bytes;
    if (g.m_Thumbnail.empty() ||
        !PfPngWriter::Encode(g.m_ThumbnailWidth, g.m_ThumbnailHeight, g.m_Thumbnail.data(), bytes))
    {
        GxLog::Error(L"SaveThumbnailImage/サムネイルがありません(%s)\n", path.c_str());
        return false;
    }
    png.assign(bytes.begin(), bytes.end());
    return true;
}

void ReleaseGlobalFonts()
{
    for (GxGDIFontMap& map : g_GDIFontMaps)
        map.Clear();
    for (GxFontData& font : g_FontDataTable)
        font.Release();
}
