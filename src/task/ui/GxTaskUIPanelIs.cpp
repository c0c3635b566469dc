#include "task/ui/GxTaskUIPanelIs.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxMatrix.h"
#include "graphics/GxGraphics.h"

GxTaskUIPanelIs::GxTaskUIPanelIs(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName,
                                 int32_t localIndex)
    : GxTaskUIBase(parent, globalName, localName, localIndex)
{
    SetTypeCode(kTypeCode);
}

GxTaskUIPanelIs::~GxTaskUIPanelIs() = default;

int32_t GxTaskUIPanelIs::Update(int32_t, int64_t elapsed)
{
    return UpdatePanel(elapsed);
}

int32_t GxTaskUIPanelIs::OnMouseMove(const float* point, uint32_t)
{
    return PanelMouseMove(point[0], point[1]);
}

int32_t GxTaskUIPanelIs::OnMouseLeftDown(const float* point, uint32_t, int32_t)
{
    return PanelMouseLeftDown(point[0], point[1]);
}

void GxTaskUIPanelIs::ApplyModule(const DBUIModuleData& row)
{
    GxTaskUIBase::ApplyModule(row);
    m_Images.ApplyModule(row);
}

bool GxTaskUIPanelIs::LoadImageSet(const wchar_t* path)
{
    return m_Images.LoadImageSet(path);
}

bool GxTaskUIPanelIs::ResolveImage(const wchar_t* setMissingFormat, const wchar_t* imageMissingFormat)
{
    return m_Images.Fetch({{0, L".png"}}, 0, setMissingFormat, imageMissingFormat, GetTaskPath());
}

bool GxTaskUIPanelIs::LoadImages()
{
    bool found = false;
    if (m_Images.m_ImageName.empty())
        m_Images.Release();
    else
        found = ResolveImage(L"GxTaskUIPanelIs/ImageSet wasn't Loaded:%s [%s]\n",
                             L"GxTaskUIPanelIs/Image not found:%s [%s]\n");
    if (found)
    {
        int32_t w = 0;
        int32_t h = 0;
        GxUIImageTable::GetPatternSize(GetImage(), 0, w, h);
        if (m_Width == 0)
            m_Width = w;
        if (m_Height == 0)
            m_Height = h;
    }
    else
    {
        m_Width = 0;
        m_Height = 0;
    }
    if (m_ClientWidth == 0)
        m_ClientWidth = m_Width - 2 * m_ClientLeft;
    if (m_ClientHeight == 0)
        m_ClientHeight = m_Height - 2 * m_ClientTop;
    return found;
}

int32_t GxTaskUIPanelIs::ReleaseImages()
{
    m_Images.Release();
    return 0;
}

int32_t GxTaskUIPanelIs::GetPatternCount() const
{
    return GxUIImageTable::GetPatternCount(GetImage());
}

void GxTaskUIPanelIs::DrawImage() const
{
    if (!GetImage())
        return;
    GxMatrix m;
    MakeWidgetMatrix(m);
    const GxActorVisualParam& v = GetVisual();
    GxUIImageTable::DrawPattern(GetImage(), m_PatternIndex, m, static_cast<float>(v.m_Alpha) / 255.0f, v.m_Color0,
                                v.m_Color1, static_cast<uint32_t>(v.m_BlendMode));
}

int32_t GxTaskUIPanelIs::Draw(int32_t, int32_t)
{
    if (!GetImage() || !IsShown())
        return 0;
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    GxGraphics::SetTextureFilter(1);
    DrawImage();
    GxGraphics::EndScene();
    return 0;
}

bool GxTaskUIPanelIs::Save(GxContentWriterBase* writer)
{
    if (!writer)
        return false;
    GxTaskUIBase::Save(writer);
    m_Images.SaveNames(writer);
    writer->Write("m_PatternIndex", m_PatternIndex);
    return writer->GetErrorCount() == 0;
}

bool GxTaskUIPanelIs::Load(GxContentReaderBase* reader)
{
    if (!reader)
        return false;
    if (!GxTaskUIBase::Load(reader))
        return false;
    m_Images.LoadNames(reader);
    reader->Read("m_PatternIndex", m_PatternIndex);
    ReleaseImages();
    ResetInputState();
    return reader->GetErrorCount() == 0;
}
