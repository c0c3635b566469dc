#pragma once

#include "task/ui/GxTaskUIBase.h"
#include "task/ui/GxUIImageTable.h"

// The image-set slider shared by the horizontal and vertical ones: a track and a knob the player drags,
// or moves by pressing the track, between m_Min and m_Max. Everything is measured along the slider's
// axis (x and the client width for the horizontal one, y and the client height for the vertical one).
//
// Images: 0 knob off ("_off", required), 1 on (dragging), 2 over, 3 na; 4 track ("_back"), 5 disabled
// track ("_backna"). A press on the track jumps the value there, posts event 19 and slides the shown knob
// over 100 updates; every move of a drag posts event 19. Only input-driven changes reach the linked widget.
class GxTaskUISliderIs : public GxTaskUIBase
{
public:
    enum class Axis
    {
        Horizontal,
        Vertical,
    };
    // Updates of the knob's slide after a press on the track.
    static constexpr int32_t kSlideSteps = 100;

    ~GxTaskUISliderIs() override;

    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    void ResetInputState() override;
    void ApplyModule(const DBUIModuleData& row) override;
    bool LoadImageSet(const wchar_t* path) override;
    bool LoadImages() override;
    int32_t ReleaseImages() override;
    using GxTaskUIBase::SetValue;
    // Clamped into the range; the knob follows at once; no event, no linked widget.
    void SetValue(double value) override;
    void SetMax(double max) override;
    void SetMin(double min) override;
    // The client rectangle widened by half a knob at both ends of the axis (both edges included).
    bool HitTestClient(const GxVector4& origin, float x, float y) const override;
    int32_t OnMouseMove(const float* point, uint32_t keys) override;
    int32_t OnMouseLeftDown(const float* point, uint32_t keys, int32_t dbl) override;
    int32_t OnMouseLeftUp(const float* point, uint32_t keys) override;

    virtual bool HitTestKnob(const GxVector4& origin, float x, float y) const;
    virtual double ValueToPos(double value) const;
    virtual double PosToValue(double pos) const;
    virtual double PosDeltaToValueDelta(double delta) const;
    virtual void SetLinkedWidget(GxTaskUIBase* widget) { m_LinkedWidget = widget; }

    Axis GetAxis() const { return m_Axis; }
    int32_t GetImageIndex() const { return m_ImageIndex; }
    float GetKnobPos() const { return m_KnobPos[AxisIndex()]; }
    float GetShownKnobPos() const { return m_ShownKnobPos[AxisIndex()]; }
    int32_t GetSlideCount() const { return m_SlideCount; }
    const GxUIImageTable& GetImages() const { return m_Images; }

protected:
    GxTaskUISliderIs(Axis axis, GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName,
                     int32_t localIndex);

private:
    int AxisIndex() const { return m_Axis == Axis::Horizontal ? 0 : 1; }
    float Along(float x, float y) const { return m_Axis == Axis::Horizontal ? x : y; }
    int32_t ClientStart() const { return m_Axis == Axis::Horizontal ? m_ClientLeft : m_ClientTop; }
    int32_t ClientLength() const { return m_Axis == Axis::Horizontal ? m_ClientWidth : m_ClientHeight; }
    int32_t KnobLength() const { return m_Axis == Axis::Horizontal ? m_KnobWidth : m_KnobHeight; }
    // The range is empty (or the track has no length): every position is m_Min.
    bool IsDegenerate() const;
    double Clamp(double value) const;
    // The knob (and the shown knob, when not sliding) at the value; the knob's axis coordinate.
    void PlaceKnob(float along, bool slide);
    void StartDrag(float x, float y);
    // An input-driven change: event 19 and the linked widget.
    void ReportChange(float x, float y);

    Axis m_Axis;
    GxUIImageTable m_Images;
    int32_t m_ImageIndex = 0;
    int32_t m_PatternIndex = 0;
    int32_t m_KnobWidth = 0;
    int32_t m_KnobHeight = 0;
    // Along the axis in client coordinates (x for the horizontal slider, y for the vertical one).
    float m_KnobPos[4] = {};
    float m_ShownKnobPos[4] = {};
    int32_t m_SlideCount = 0;
    double m_DragStartValue = 0.0;
    GxTaskUIBase* m_LinkedWidget = nullptr;
};
