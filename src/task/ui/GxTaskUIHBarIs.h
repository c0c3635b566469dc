#pragma once

#include "task/ui/GxTaskUIBase.h"
#include "task/ui/GxUIImageTable.h"

// The horizontal image-set gauge (UI type 41): a back image, the bar ("_on", required) shown from its
// left edge to a width proportional to the value, and a front frame. A new value shows at once or
// glides there linearly from the value last shown. It never blocks the pointer.
class GxTaskUIHBarIs : public GxTaskUIBase
{
public:
    static constexpr int32_t kTypeCode = 41;

    GxTaskUIHBarIs(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                   int32_t localIndex = 0);
    ~GxTaskUIHBarIs() override;

    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    int32_t OnMouseMove(const float* point, uint32_t keys) override;
    int32_t OnMouseLeftDown(const float* point, uint32_t keys, int32_t dbl) override;
    bool Save(GxContentWriterBase* writer) override;
    bool Load(GxContentReaderBase* reader) override;
    void ApplyModule(const DBUIModuleData& row) override;
    bool LoadImageSet(const wchar_t* path) override;
    bool LoadImages() override;
    int32_t ReleaseImages() override;
    using GxTaskUIBase::SetValue;
    // Clamped, shown at once: any glide ends.
    void SetValue(double value) override;
    void SetMax(double max) override;
    void SetMin(double min) override;

    // Clamped into m_Value; glides there over ms from the value shown now (0 ms or less: at once).
    virtual int32_t ChangeValue(int32_t value, int32_t ms);
    virtual int32_t ChangeValue(double value, int32_t ms);
    virtual int32_t FinishChange();
    virtual bool IsChanging() const { return m_ChangeTimeLeft > 0; }
    virtual int32_t GetImageIndex() const { return m_ImageIndex; }
    virtual void SetPatternIndex(int32_t index) { m_PatternIndex = index; }
    virtual int32_t GetPatternIndex() const { return m_PatternIndex; }
    virtual int32_t GetPatternCount() const;

    // The value the bar shows now, between m_OldValue and m_Value while gliding.
    double GetShownValue() const;
    // The bar's filled width: the integer part of the shown ratio x the client width.
    int32_t GetFilledWidth() const;
    const GxUIImageTable& GetImages() const { return m_Images; }

private:
    double Clamp(double value) const;

    GxUIImageTable m_Images;
    int32_t m_ImageIndex = 0;
    int32_t m_PatternIndex = 0;
    double m_OldValue = 0.0;
    int32_t m_ChangeTimeLeft = 0;
    int32_t m_ChangeTimeTotal = 0;
};
