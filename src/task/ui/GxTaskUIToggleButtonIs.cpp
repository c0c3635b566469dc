#include "task/ui/GxTaskUIToggleButtonIs.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "graphics/GxGraphics.h"

GxTaskUIToggleButtonIs::GxTaskUIToggleButtonIs(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName,
                                               int32_t localIndex)
    : GxTaskUIButtonIs(parent, globalName, localName, localIndex)
{
    SetTypeCode(kTypeCode);
}

GxTaskUIToggleButtonIs::~GxTaskUIToggleButtonIs() = default;

void GxTaskUIToggleButtonIs::Toggle()
{
    SetValue(!GetValueAsBool());
}

int32_t GxTaskUIToggleButtonIs::OnMouseLeftDown(const float* point, uint32_t, int32_t)
{
    if (!CanAcceptInput() || !HitsArea(HitArea::Client, point[0], point[1]))
        return 0;
    m_EventState = GX_UIEVENT_CLICK;
    if (m_AutoToggleFlag)
        Toggle();
    // The state changes even when the event is not reported; such a press is never taken.
    if (!IsEventReported(GX_UIEVENT_CLICK))
        return 0;
    PostMouseEvent(GX_UIEVENT_CLICK, point[0], point[1]);
    return m_EventBlockFlag ? 1 : 0;
}

bool GxTaskUIToggleButtonIs::LoadImages()
{
    if (!m_Images.Fetch({{0, L"_off.png"},
                         {1, L"_on.png"},
                         {2, L"_over.png"},
                         {3, L"_na.png"},
                         {4, L"_onover.png"},
                         {5, L"_onna.png"}},
                        0, L"GxTaskUIToggleButtonIs/ImageSet wasn't Loaded:%s [%s]\n",
                        L"GxTaskUIToggleButtonIs/Image not found:%s [%s]\n", GetTaskPath()))
        return false;
    // In this order: a set without an on look shows over for on and off for hovered-off; the on-hover
    // and on-disabled looks fall back on the (possibly replaced) on and na looks.
    const GxNcOriginImage** images = m_Images.m_Images;
    if (!images[1])
    {
        images[1] = images[2];
        images[2] = images[0];
    }
    if (!images[3])
        images[3] = images[0];
    if (!images[4])
        images[4] = images[1];
    if (!images[5])
        images[5] = images[3];
    GxUIImageTable::ApplySizeDefaults(images[0], m_Width, m_Height, m_ClientWidth, m_ClientHeight, m_ClientLeft,
                                      m_ClientTop);
    return true;
}

int32_t GxTaskUIToggleButtonIs::ChooseLook() const
{
    const bool hover = m_HoverCount != 0;
    if (GetValueAsBool())
        return hover ? 4 : 1;
    return hover ? 2 : 0;
}

int32_t GxTaskUIToggleButtonIs::Draw(int32_t, int32_t)
{
    if (!IsShown())
        return 0;
    m_ImageIndex = ChooseLook();
    const GxNcOriginImage* const* images = m_Images.m_Images;
    const GxNcOriginImage* image = nullptr;
    if (IsEnabled())
        image = images[m_ImageIndex] ? images[m_ImageIndex] : images[0];
    else
        image = GetValueAsBool() ? images[5] : images[3];
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    GxGraphics::SetTextureFilter(1);
    DrawImage(image, static_cast<float>(GetVisual().m_Alpha) / 255.0f);
    GxGraphics::EndScene();
    return 0;
}

bool GxTaskUIToggleButtonIs::Save(GxContentWriterBase* writer)
{
    if (!writer)
        return false;
    GxTaskUIButtonIs::Save(writer);
    writer->Write("m_AutoToggleFlag", m_AutoToggleFlag);
    return writer->GetErrorCount() == 0;
}

bool GxTaskUIToggleButtonIs::Load(GxContentReaderBase* reader)
{
    if (!reader)
        return false;
    if (!GxTaskUIButtonIs::Load(reader))
        return false;
    reader->Read("m_AutoToggleFlag", m_AutoToggleFlag);
    return reader->GetErrorCount() == 0;
}
