#include "task/ui/GxTaskUISliderIs.h"

#include "core/GxMath.h"
#include "core/GxMatrix.h"
#include "core/GxVector3.h"
#include "graphics/GxGraphics.h"

#include <cmath>

GxTaskUISliderIs::GxTaskUISliderIs(Axis axis, GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName,
                                   int32_t localIndex)
    : GxTaskUIBase(parent, globalName, localName, localIndex), m_Axis(axis)
{
    m_Max = 100.0;
    m_Min = 0.0;
    m_DragStartValue = m_Value;
}

GxTaskUISliderIs::~GxTaskUISliderIs() = default;

// ---------------------------------------------------------------------------------------------------
// Value and position

bool GxTaskUISliderIs::IsDegenerate() const
{
    // A slider without a track image and without a row size has no length; dividing by it would turn
    // every position into NaN. It behaves as an empty range instead.
    return m_Min == m_Max || ClientLength() <= 0;
}

double GxTaskUISliderIs::Clamp(double value) const
{
    if (std::isnan(value) || value < m_Min)
        return m_Min;
    if (value > m_Max)
        return m_Max;
    return value;
}

double GxTaskUISliderIs::ValueToPos(double value) const
{
    if (IsDegenerate())
        return 0.0;
    const double length = static_cast<double>(ClientLength());
    const double pos = (value - m_Min) / (m_Max - m_Min) * length;
    return pos < 0.0 ? 0.0 : pos > length ? length : pos;
}

double GxTaskUISliderIs::PosToValue(double pos) const
{
    if (IsDegenerate() || pos < 0.0)
        return m_Min;
    const double length = static_cast<double>(ClientLength());
    if (pos > length)
        return m_Max;
    return (m_Max - m_Min) * (pos / length) + m_Min;
}

double GxTaskUISliderIs::PosDeltaToValueDelta(double delta) const
{
    if (IsDegenerate())
        return 0.0;
    return delta / (static_cast<double>(ClientLength()) / (m_Max - m_Min));
}

void GxTaskUISliderIs::PlaceKnob(float along, bool slide)
{
    for (float& f : m_KnobPos)
        f = 0.0f;
    m_KnobPos[AxisIndex()] = along;
    if (!slide)
    {
        for (int i = 0; i < 4; ++i)
            m_ShownKnobPos[i] = m_KnobPos[i];
    }
}

void GxTaskUISliderIs::SetValue(double value)
{
    m_Value = Clamp(value);
    PlaceKnob(static_cast<float>(ValueToPos(m_Value)), false);
}

void GxTaskUISliderIs::SetMax(double max)
{
    m_Max = max;
    SetValue(m_Value);
}

void GxTaskUISliderIs::SetMin(double min)
{
    m_Min = min;
    SetValue(m_Value);
}

// ---------------------------------------------------------------------------------------------------
// Hit tests

bool GxTaskUISliderIs::HitTestClient(const GxVector4& origin, float x, float y) const
{
    const float half = static_cast<float>(KnobLength() / 2);
    float left = origin.x + static_cast<float>(m_ClientLeft);
    float right = left + static_cast<float>(m_ClientWidth);
    float top = origin.y + static_cast<float>(m_ClientTop);
    float bottom = top + static_cast<float>(m_ClientHeight);
    if (m_Axis == Axis::Horizontal)
    {
        left -= half;
        right += half;
    }
    else
    {
        top -= half;
        bottom += half;
    }
    return left <= x && x <= right && top <= y && y <= bottom;
}

bool GxTaskUISliderIs::HitTestKnob(const GxVector4& origin, float x, float y) const
{
    if (!HitTestClient(origin, x, y))
        return false;
    const float start = Along(origin.x, origin.y) + static_cast<float>(ClientStart());
    const float knob = m_KnobPos[AxisIndex()];
    const float half = static_cast<float>(KnobLength() / 2);
    const float at = Along(x, y);
    return start + knob - half <= at && at <= start + knob + half;
}

// ---------------------------------------------------------------------------------------------------
// Update and input

void GxTaskUISliderIs::ResetInputState()
{
    GxTaskUIBase::ResetInputState();
    ResetDragState();
    m_SlideCount = 0;
    m_DragStartValue = m_Value;
    for (int i = 0; i < 4; ++i)
        m_ShownKnobPos[i] = m_KnobPos[i];
}

int32_t GxTaskUISliderIs::Update(int32_t, int64_t elapsed)
{
    const int32_t ms = static_cast<int32_t>(elapsed / 1000);
    StepActions(this, ms);
    float x = 0.0f;
    float y = 0.0f;
    GetCursorPos(x, y);
    TrackMouseLeave(HitArea::Client, x, y);
    if (m_SlideCount != 0)
    {
        // shown := target + (shown - target) x (c / 100)^81: the knob closes most of the way within the
        // first few updates and creeps in after.
        const GxVector3 target(m_KnobPos[0], m_KnobPos[1], m_KnobPos[2]);
        const GxVector3 shown(m_ShownKnobPos[0], m_ShownKnobPos[1], m_ShownKnobPos[2]);
        const float t = static_cast<float>(m_SlideCount) / static_cast<float>(kSlideSteps);
        const GxVector3 next = GxMath::EaseLerpVec3(target, shown, t, -20.0f);
        m_ShownKnobPos[0] = next.x;
        m_ShownKnobPos[1] = next.y;
        m_ShownKnobPos[2] = next.z;
        m_ShownKnobPos[3] = 0.0f;
        if (--m_SlideCount == 0)
        {
            for (int i = 0; i < 4; ++i)
                m_ShownKnobPos[i] = m_KnobPos[i];
        }
    }
    m_ImageIndex = m_Dragging ? 1 : m_HoverCount != 0 ? 2 : 0;
    StepAutoHelp(ms, x, y);
    AdvanceFrameCount();
    return 0;
}

void GxTaskUISliderIs::ReportChange(float x, float y)
{
    m_EventState = GX_UIEVENT_VALUE_CHANGED;
    PostMouseEvent(GX_UIEVENT_VALUE_CHANGED, x, y);
    if (m_LinkedWidget)
        m_LinkedWidget->SetValue(m_Value);
}

void GxTaskUISliderIs::StartDrag(float x, float y)
{
    m_Dragging = true;
    m_DragOrigin[0] = m_DragOrigin[2] = x;
    m_DragOrigin[1] = m_DragOrigin[3] = y;
    m_DragValue[0] = GetFrameCount();
    m_DragStartValue = m_Value;
}

int32_t GxTaskUISliderIs::OnMouseMove(const float* point, uint32_t)
{
    if (!CanAcceptInput())
        return 0;
    const float x = point[0];
    const float y = point[1];
    if (!m_Dragging)
    {
        TrackMouseEnter(HitArea::Client, x, y);
    }
    else
    {
        // From the press point, so the knob keeps its offset under the pointer; event 19 on every move.
        const float travel = Along(x, y) - Along(m_DragOrigin[0], m_DragOrigin[1]);
        m_Value = Clamp(m_DragStartValue + PosDeltaToValueDelta(travel));
        PlaceKnob(static_cast<float>(ValueToPos(m_Value)), false);
        m_SlideCount = 0;
        m_DragOrigin[2] = x;
        m_DragOrigin[3] = y;
        ReportChange(x, y);
    }
    return m_EventBlockFlag && HitsArea(HitArea::Client, x, y) ? 1 : 0;
}

int32_t GxTaskUISliderIs::OnMouseLeftDown(const float* point, uint32_t, int32_t)
{
    const float x = point[0];
    const float y = point[1];
    if (!CanAcceptInput() || !HitsArea(HitArea::Client, x, y))
        return 0;
    const GxVector4 origin = GetWorldPos();
    if (!HitTestKnob(origin, x, y))
    {
        // A press on the track jumps there and lets the shown knob slide after.
        const float along = Along(x, y) - Along(origin.x, origin.y) - static_cast<float>(ClientStart());
        m_Value = Clamp(PosToValue(along));
        PlaceKnob(std::trunc(static_cast<float>(ValueToPos(m_Value))), true);
        m_SlideCount = kSlideSteps;
        StartDrag(x, y);
        ReportChange(x, y);
    }
    else
    {
        StartDrag(x, y);
    }
    return m_EventBlockFlag ? 1 : 0;
}

int32_t GxTaskUISliderIs::OnMouseLeftUp(const float*, uint32_t)
{
    // Never taken, so the release reaches every widget below as well.
    m_Dragging = false;
    return 0;
}

// ---------------------------------------------------------------------------------------------------
// Images and drawing

void GxTaskUISliderIs::ApplyModule(const DBUIModuleData& row)
{
    GxTaskUIBase::ApplyModule(row);
    m_Images.ApplyModule(row);
}

bool GxTaskUISliderIs::LoadImageSet(const wchar_t* path)
{
    return m_Images.LoadImageSet(path);
}

bool GxTaskUISliderIs::LoadImages()
{
    const bool horizontal = m_Axis == Axis::Horizontal;
    if (!m_Images.Fetch({{0, L"_off.png"},
                         {1, L"_on.png"},
                         {2, L"_over.png"},
                         {3, L"_na.png"},
                         {4, L"_back.png"},
                         {5, L"_backna.png"}},
                        0,
                        horizontal ? L"GxTaskUIHSliderIs/ImageSet wasn't Loaded:%s [%s]\n"
                                   : L"GxTaskUIVSliderIs/ImageSet wasn't Loaded:%s [%s]\n",
                        horizontal ? L"GxTaskUIHSliderIs/Image not found:%s [%s]\n"
                                   : L"GxTaskUIVSliderIs/Image not found:%s [%s]\n",
                        GetTaskPath()))
        return false;
    const GxNcOriginImage** images = m_Images.m_Images;
    if (!images[1])
        images[1] = images[2];
    if (!images[3])
        images[3] = images[0];
    if (!images[5])
        images[5] = images[4];
    GxUIImageTable::ApplySizeDefaults(images[4], m_Width, m_Height, m_ClientWidth, m_ClientHeight, m_ClientLeft,
                                      m_ClientTop);
    m_KnobWidth = 0;
    m_KnobHeight = 0;
    GxUIImageTable::GetPatternSize(images[0], 0, m_KnobWidth, m_KnobHeight);
    PlaceKnob(static_cast<float>(ValueToPos(m_Value)), false);
    return true;
}

int32_t GxTaskUISliderIs::ReleaseImages()
{
    m_Images.Release();
    return 0;
}

int32_t GxTaskUISliderIs::Draw(int32_t, int32_t)
{
    if (!IsShown())
        return 0;
    const GxActorVisualParam& v = GetVisual();
    GxMatrix widget;
    MakeWidgetMatrix(widget);
    GxMatrix knob;
    if (m_Axis == Axis::Horizontal)
        MakeWidgetMatrix(
            knob,
            std::trunc(static_cast<float>(m_ClientLeft) + m_ShownKnobPos[0] - static_cast<float>(m_KnobWidth / 2)),
            static_cast<float>(m_ClientTop + m_ClientHeight / 2 - m_KnobHeight / 2), m_ShownKnobPos[2]);
    else
        MakeWidgetMatrix(
            knob, static_cast<float>(m_ClientLeft + m_ClientWidth / 2 - m_KnobWidth / 2),
            std::trunc(static_cast<float>(m_ClientTop) + m_ShownKnobPos[1] - static_cast<float>(m_KnobHeight / 2)),
            m_ShownKnobPos[2]);
    const GxNcOriginImage* const* images = m_Images.m_Images;
    const GxNcOriginImage* track = images[5];
    const GxNcOriginImage* knobImage = images[3];
    if (IsEnabled() && m_Min < m_Max)
    {
        track = images[4];
        knobImage = m_ImageIndex >= 0 && m_ImageIndex <= 2 && images[m_ImageIndex] ? images[m_ImageIndex] : images[0];
    }
    const float alpha = static_cast<float>(v.m_Alpha) / 255.0f;
    const uint32_t blend = static_cast<uint32_t>(v.m_BlendMode);
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    GxGraphics::SetTextureFilter(1);
    GxUIImageTable::DrawPattern(track, m_PatternIndex, widget, alpha, v.m_Color0, v.m_Color1, blend);
    GxUIImageTable::DrawPattern(knobImage, m_PatternIndex, knob, alpha, v.m_Color0, v.m_Color1, blend);
    GxGraphics::EndScene();
    return 0;
}
