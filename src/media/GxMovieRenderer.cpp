#include "media/GxMovieRenderer.h"

#include "graphics/GxTextureMovie.h"
#include "platform/PfMovieVideoConverter.h"

#include <cstdlib>

GxMovieRenderer::GxMovieRenderer(GxTextureMovie* texture, bool dynamic)
    : m_pTexture(texture), m_OwnTexture(texture == nullptr), m_Dynamic(dynamic)
{
}

GxMovieRenderer::~GxMovieRenderer()
{
    if (m_OwnTexture)
        delete m_pTexture;
}

PfResult GxMovieRenderer::SetMediaType(int32_t width, int32_t height)
{
    if (width <= 0 || height == 0)
        return E_INVALIDARG;
    m_VideoWidth = width;
    m_VideoHeight = std::abs(height);
    m_VideoPitch = (int32_t)PfMovieVideoConverter::PitchFor((uint32_t)width);
    if (!m_OwnTexture)
        return S_OK;
    delete m_pTexture;
    m_pTexture = new GxTextureMovie();
    if (!m_pTexture->Create(L"", (uint32_t)m_VideoWidth, (uint32_t)m_VideoHeight, D3DFMT_A8R8G8B8, 0xFF000000u,
                            m_Dynamic))
    {
        delete m_pTexture;
        m_pTexture = nullptr;
        return E_FAIL;
    }
    return S_OK;
}

PfResult GxMovieRenderer::DoRenderSample(const uint8_t* frame, double frameTime, double clock)
{
    if (!m_pTexture)
        return (PfResult)0x8000FFFFu; // E_UNEXPECTED
    const PfResult hr =
        m_pTexture->CopyFrame(frame, (uint32_t)m_VideoWidth, (uint32_t)m_VideoHeight, (uint32_t)m_VideoPitch);
    if (PfSucceeded(hr))
    {
        std::lock_guard<std::mutex> lock(m_RecordLock);
        if (m_Records.size() < kCopyRecords)
            m_Records.push_back({frameTime, clock});
        else
            m_Records[m_RecordCount % kCopyRecords] = {frameTime, clock};
        ++m_RecordCount;
    }
    return hr;
}

void GxMovieRenderer::GetVideoSize(int32_t* width, int32_t* height, int32_t* pitch) const
{
    if (width)
        *width = m_VideoWidth;
    if (height)
        *height = m_VideoHeight;
    if (pitch)
        *pitch = m_VideoPitch;
}

std::vector<GxMovieRenderer::CopyRecord> GxMovieRenderer::GetCopyRecords() const
{
    std::lock_guard<std::mutex> lock(m_RecordLock);
    if (m_Records.size() < kCopyRecords)
        return m_Records;
    std::vector<CopyRecord> ordered;
    ordered.reserve(kCopyRecords);
    for (size_t i = 0; i < kCopyRecords; ++i)
        ordered.push_back(m_Records[(m_RecordCount + i) % kCopyRecords]);
    return ordered;
}
