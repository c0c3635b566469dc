#include "task/ui/GxTaskUIHBarIs.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxMatrix.h"
#include "graphics/GxGraphics.h"

#include <cmath>

GxTaskUIHBarIs::GxTaskUIHBarIs(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName,
                               int32_t localIndex)
    : GxTaskUIBase(parent, globalName, localName, localIndex)
{
    SetTypeCode(kTypeCode);
    m_EventBlockFlag = false;
}

GxTaskUIHBarIs::~GxTaskUIHBarIs() = default;

// ---------------------------------------------------------------------------------------------------
// Value and glide

double GxTaskUIHBarIs::Clamp(double value) const
{
    if (std::isnan(value) || value < m_Min)
        return m_Min;
    if (value > m_Max)
        return m_Max;
    return value;
}

void GxTaskUIHBarIs::SetValue(double value)
{
    m_Value = Clamp(value);
    m_OldValue = m_Value;
    m_ChangeTimeLeft = 0;
    m_ChangeTimeTotal = 0;
}

void GxTaskUIHBarIs::SetMax(double max)
{
    m_Max = max;
    for (double* v : {&m_Value, &m_OldValue})
    {
        if (*v < m_Min)
            *v = m_Min;
        else if (max < *v)
            *v = max;
    }
}

void GxTaskUIHBarIs::SetMin(double min)
{
    m_Min = min;
    for (double* v : {&m_Value, &m_OldValue})
    {
        if (*v < min)
            *v = min;
        else if (m_Max < *v)
            *v = m_Max;
    }
}

double GxTaskUIHBarIs::GetShownValue() const
{
    if (m_ChangeTimeTotal > 0 && m_ChangeTimeLeft != 0)
    {
        const float t =
            static_cast<float>(m_ChangeTimeTotal - m_ChangeTimeLeft) / static_cast<float>(m_ChangeTimeTotal);
        return (1.0 - t) * m_OldValue + t * m_Value;
    }
    return m_Value;
}

int32_t GxTaskUIHBarIs::ChangeValue(int32_t value, int32_t ms)
{
    return ChangeValue(static_cast<double>(value), ms);
}

int32_t GxTaskUIHBarIs::ChangeValue(double value, int32_t ms)
{
    // A new target during a glide starts from what is on screen now, blended with the old target, so
    // the bar glides on instead of jumping.
    const double shown = GetShownValue();
    m_Value = Clamp(value);
    m_OldValue = ms > 0 ? shown : m_Value;
    m_ChangeTimeLeft = ms > 0 ? ms : 0;
    m_ChangeTimeTotal = m_ChangeTimeLeft;
    return ms;
}

int32_t GxTaskUIHBarIs::FinishChange()
{
    m_OldValue = m_Value;
    m_ChangeTimeLeft = 0;
    m_ChangeTimeTotal = 0;
    return 0;
}

int32_t GxTaskUIHBarIs::GetFilledWidth() const
{
    const double ratio = m_Max == m_Min ? 0.0 : (GetShownValue() - m_Min) / (m_Max - m_Min);
    const double filled = std::trunc(ratio * static_cast<double>(m_ClientWidth));
    return std::isnan(filled) ? 0 : static_cast<int32_t>(filled);
}

// ---------------------------------------------------------------------------------------------------
// Update and input

int32_t GxTaskUIHBarIs::Update(int32_t, int64_t elapsed)
{
    const int32_t ms = static_cast<int32_t>(elapsed / 1000);
    StepActions(this, ms);
    float x = 0.0f;
    float y = 0.0f;
    GetCursorPos(x, y);
    if (m_ChangeTimeTotal != 0)
    {
        m_ChangeTimeLeft -= ms;
        if (m_ChangeTimeLeft < 1)
            FinishChange();
    }
    else
    {
        m_OldValue = m_Value;
    }
    TrackMouseLeave(HitArea::Whole, x, y);
    return 0;
}

int32_t GxTaskUIHBarIs::OnMouseMove(const float* point, uint32_t)
{
    return PanelMouseMove(point[0], point[1]);
}

int32_t GxTaskUIHBarIs::OnMouseLeftDown(const float* point, uint32_t, int32_t)
{
    return PanelMouseLeftDown(point[0], point[1]);
}

// ---------------------------------------------------------------------------------------------------
// Images and drawing

void GxTaskUIHBarIs::ApplyModule(const DBUIModuleData& row)
{
    GxTaskUIBase::ApplyModule(row);
    m_Images.ApplyModule(row);
}

bool GxTaskUIHBarIs::LoadImageSet(const wchar_t* path)
{
    return m_Images.LoadImageSet(path);
}

bool GxTaskUIHBarIs::LoadImages()
{
    if (!m_Images.Fetch({{0, L"_front.png"}, {1, L"_on.png"}, {5, L"_back.png"}}, 1,
                        L"GxTaskUIHBarIs/ImageSet wasn't Loaded:%s [%s]\n", L"GxTaskUIHBarIs/Image not found:%s [%s]\n",
                        GetTaskPath()))
        return false;
    GxUIImageTable::ApplySizeDefaults(m_Images.m_Images[1], m_Width, m_Height, m_ClientWidth, m_ClientHeight,
                                      m_ClientLeft, m_ClientTop);
    return true;
}

int32_t GxTaskUIHBarIs::ReleaseImages()
{
    m_Images.Release();
    return 0;
}

int32_t GxTaskUIHBarIs::GetPatternCount() const
{
    return GxUIImageTable::GetPatternCount(m_Images.m_Images[1]);
}

int32_t GxTaskUIHBarIs::Draw(int32_t, int32_t)
{
    if (!IsShown())
        return 0;
    const GxActorVisualParam& v = GetVisual();
    const float alpha = static_cast<float>(v.m_Alpha) / 255.0f;
    const uint32_t blend = static_cast<uint32_t>(v.m_BlendMode);
    GxMatrix widget;
    MakeWidgetMatrix(widget);
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    GxGraphics::SetTextureFilter(1);
    const GxNcOriginImage* const* images = m_Images.m_Images;
    GxUIImageTable::DrawPattern(images[5], m_PatternIndex, widget, alpha, v.m_Color0, v.m_Color1, blend);
    int32_t ox = 0;
    int32_t oy = 0;
    if (GxUIImageTable::GetPatternOffset(images[1], m_PatternIndex, ox, oy))
    {
        GxMatrix bar;
        MakeWidgetMatrix(bar, static_cast<float>(m_ClientLeft - ox), static_cast<float>(m_ClientTop - oy));
        GxUIImageTable::DrawPatternEx(images[1], m_PatternIndex, bar, m_ClientLeft, m_ClientTop,
                                      m_ClientLeft + GetFilledWidth(), m_ClientTop + m_ClientHeight, alpha, v.m_Color0,
                                      v.m_Color1, blend);
    }
    GxUIImageTable::DrawPattern(images[0], m_PatternIndex, widget, alpha, v.m_Color0, v.m_Color1, blend);
    GxGraphics::EndScene();
    return 0;
}

// ---------------------------------------------------------------------------------------------------
// Save and load

bool GxTaskUIHBarIs::Save(GxContentWriterBase* writer)
{
    if (!writer)
        return false;
    GxTaskUIBase::Save(writer);
    m_Images.SaveNames(writer);
    writer->Write("m_ImageIndex", m_ImageIndex);
    writer->Write("m_PatternIndex", m_PatternIndex);
    writer->Write("m_OldValue", m_OldValue);
    writer->Write("m_ChangeTimeLeft", m_ChangeTimeLeft);
    writer->Write("m_ChangeTimeTotal", m_ChangeTimeTotal);
    return writer->GetErrorCount() == 0;
}

bool GxTaskUIHBarIs::Load(GxContentReaderBase* reader)
{
    if (!reader)
        return false;
    if (!GxTaskUIBase::Load(reader))
        return false;
    m_Images.LoadNames(reader);
    reader->Read("m_ImageIndex", m_ImageIndex);
    reader->Read("m_PatternIndex", m_PatternIndex);
    reader->Read("m_OldValue", m_OldValue);
    reader->Read("m_ChangeTimeLeft", m_ChangeTimeLeft);
    reader->Read("m_ChangeTimeTotal", m_ChangeTimeTotal);
    return reader->GetErrorCount() == 0;
}
