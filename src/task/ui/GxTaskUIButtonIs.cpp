#include "task/ui/GxTaskUIButtonIs.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxMatrix.h"
#include "graphics/GxGraphics.h"

GxTaskUIButtonIs::GxTaskUIButtonIs(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName,
                                   int32_t localIndex)
    : GxTaskUIBase(parent, globalName, localName, localIndex)
{
    SetTypeCode(kTypeCode);
    AddTaskKind(kKindButton);
}

GxTaskUIButtonIs::~GxTaskUIButtonIs() = default;

int32_t GxTaskUIButtonIs::Update(int32_t, int64_t elapsed)
{
    const int32_t ms = static_cast<int32_t>(elapsed / 1000);
    StepActions(this, ms);
    float x = 0.0f;
    float y = 0.0f;
    GetCursorPos(x, y);
    TrackMouseLeave(HitArea::Client, x, y);
    m_ImageIndex = m_EventState == GX_UIEVENT_CLICK ? 1 : m_HoverCount > 0 ? 2 : 0;
    m_EventState = 0;
    StepAutoHelp(ms, x, y);
    return 0;
}

int32_t GxTaskUIButtonIs::OnMouseMove(const float* point, uint32_t)
{
    if (!CanAcceptInput())
        return 0;
    TrackMouseEnter(HitArea::Client, point[0], point[1]);
    return m_EventBlockFlag && HitsArea(HitArea::Client, point[0], point[1]) ? 1 : 0;
}

int32_t GxTaskUIButtonIs::OnMouseLeftDown(const float* point, uint32_t, int32_t)
{
    if (!CanAcceptInput() || !HitsArea(HitArea::Client, point[0], point[1]))
        return 0;
    m_EventState = GX_UIEVENT_CLICK;
    PostMouseEvent(GX_UIEVENT_CLICK, point[0], point[1]);
    return m_EventBlockFlag ? 1 : 0;
}

void GxTaskUIButtonIs::ResetInputState()
{
    m_HoverCount = 0;
    m_EventState = 0;
    m_HoverTime = 0;
    m_ImageIndex = 0;
}

void GxTaskUIButtonIs::ApplyModule(const DBUIModuleData& row)
{
    GxTaskUIBase::ApplyModule(row);
    m_Images.ApplyModule(row);
}

bool GxTaskUIButtonIs::LoadImageSet(const wchar_t* path)
{
    return m_Images.LoadImageSet(path);
}

bool GxTaskUIButtonIs::LoadImages()
{
    if (!m_Images.Fetch({{0, L"_off.png"}, {1, L"_on.png"}, {2, L"_over.png"}, {3, L"_na.png"}}, 0,
                        L"GxTaskUIButtonIs/ImageSet wasn't Loaded:%s [%s]\n",
                        L"GxTaskUIButtonIs/Image not found:%s [%s]\n", GetTaskPath()))
        return false;
    const GxNcOriginImage** images = m_Images.m_Images;
    if (!images[1])
        images[1] = images[2];
    if (!images[3])
        images[3] = images[0];
    GxUIImageTable::ApplySizeDefaults(images[0], m_Width, m_Height, m_ClientWidth, m_ClientHeight, m_ClientLeft,
                                      m_ClientTop);
    return true;
}

int32_t GxTaskUIButtonIs::ReleaseImages()
{
    m_Images.Release();
    return 0;
}

const GxNcOriginImage* GxTaskUIButtonIs::GetDrawImage() const
{
    if (!IsEnabled())
        return m_Images.m_Images[3];
    // A saved look outside the three is damage; the off image stands in as for a missing look.
    const GxNcOriginImage* image = m_ImageIndex >= 0 && m_ImageIndex <= 2 ? m_Images.m_Images[m_ImageIndex] : nullptr;
    return image ? image : m_Images.m_Images[0];
}

float GxTaskUIButtonIs::GetImageDrawAlpha() const
{
    return static_cast<float>(m_ImageAlpha) * static_cast<float>(GetVisual().m_Alpha) / 255.0f / 255.0f;
}

void GxTaskUIButtonIs::DrawImage(const GxNcOriginImage* image, float alpha) const
{
    GxMatrix m;
    MakeWidgetMatrix(m);
    const GxActorVisualParam& v = GetVisual();
    GxUIImageTable::DrawPattern(image, m_PatternIndex, m, alpha, v.m_Color0, v.m_Color1,
                                static_cast<uint32_t>(v.m_BlendMode));
}

int32_t GxTaskUIButtonIs::Draw(int32_t, int32_t)
{
    if (!IsShown())
        return 0;
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    GxGraphics::SetTextureFilter(1);
    DrawImage(GetDrawImage(), GetImageDrawAlpha());
    GxGraphics::EndScene();
    return 0;
}

bool GxTaskUIButtonIs::Save(GxContentWriterBase* writer)
{
    if (!writer)
        return false;
    GxTaskUIBase::Save(writer);
    m_Images.SaveNames(writer);
    writer->Write("m_ImageIndex", m_ImageIndex);
    writer->Write("m_PatternIndex", m_PatternIndex);
    return writer->GetErrorCount() == 0;
}

bool GxTaskUIButtonIs::Load(GxContentReaderBase* reader)
{
    if (!reader)
        return false;
    if (!GxTaskUIBase::Load(reader))
        return false;
    m_Images.LoadNames(reader);
    reader->Read("m_ImageIndex", m_ImageIndex);
    reader->Read("m_PatternIndex", m_PatternIndex);
    return reader->GetErrorCount() == 0;
}
