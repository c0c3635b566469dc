#include "task/GxSubLayerContent.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "graphics/GxTextureFlex.h"

GxSubLayerContent::~GxSubLayerContent()
{
    delete m_pImage;
}

bool GxSubLayerContent::Save(GxContentWriterBase* w)
{
    if (!w)
        return false;
    const uint32_t before = w->GetErrorCount();
    w->Write("m_Alpha", m_Alpha);
    w->WriteString("m_ContentFileName", m_ContentFileName);
    w->Write("m_Width", m_Width);
    w->Write("m_Height", m_Height);
    w->Write("m_OffsetPos", &m_OffsetPos);
    return w->GetErrorCount() == before;
}

bool GxSubLayerContent::Load(GxContentReaderBase* r)
{
    Clear();
    if (!r)
        return false;
    const uint32_t before = r->GetErrorCount();
    r->Read("m_Alpha", m_Alpha);
    r->ReadString("m_ContentFileName", m_ContentFileName);
    r->Read("m_Width", m_Width);
    r->Read("m_Height", m_Height);
    r->Read("m_OffsetPos", m_OffsetPos);
    return r->GetErrorCount() == before;
}

void GxSubLayerContent::Clear()
{
    delete m_pImage;
    m_pImage = nullptr;
    m_Alpha = 255;
    m_ContentFileName.clear();
    m_Width = m_Height = 0;
    m_OffsetPos = GxVector2();
}

bool GxSubLayerContent::LoadImage()
{
    delete m_pImage;
    m_pImage = new GxTextureFlex();
    if (!m_pImage->CreateFromFile(m_ContentFileName, D3DFMT_UNKNOWN, 0))
        return false;
    m_Width = static_cast<int32_t>(m_pImage->GetWidth());
    m_Height = static_cast<int32_t>(m_pImage->GetHeight());
    return true;
}

bool GxSubLayerContent::SetImage(const std::wstring& fileName)
{
    Clear();
    if (fileName.empty())
        return false;
    m_ContentFileName = fileName;
    return LoadImage();
}

bool GxSubLayerContent::Restore()
{
    if (m_ContentFileName.empty())
        return false;
    return LoadImage();
}
