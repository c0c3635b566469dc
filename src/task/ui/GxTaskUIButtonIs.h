#pragma once

#include "task/ui/GxTaskUIBase.h"
#include "task/ui/GxUIImageTable.h"

// The image-set push button (UI type 18). Looks: 0 off ("_off", required), 1 on ("_on", pressed),
// 2 over ("_over", hovered), 3 na ("_na", disabled). It acts on the press, never on the release; the
// on look lasts the one update that follows a press.
class GxTaskUIButtonIs : public GxTaskUIBase
{
public:
    static constexpr int32_t kTypeCode = 18;

    // Runtime kind bit of the buttons.
    static constexpr uint32_t kKindButton = 128;

    GxTaskUIButtonIs(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                     int32_t localIndex = 0);
    ~GxTaskUIButtonIs() override;

    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    bool Save(GxContentWriterBase* writer) override;
    bool Load(GxContentReaderBase* reader) override;
    void ResetInputState() override;
    void ApplyModule(const DBUIModuleData& row) override;
    bool LoadImageSet(const wchar_t* path) override;
    bool LoadImages() override;
    int32_t ReleaseImages() override;
    int32_t OnMouseMove(const float* point, uint32_t keys) override;
    int32_t OnMouseLeftDown(const float* point, uint32_t keys, int32_t dbl) override;

    virtual int32_t GetImageIndex() const { return m_ImageIndex; }

    const GxUIImageTable& GetImages() const { return m_Images; }
    int32_t GetPatternIndex() const { return m_PatternIndex; }
    void SetPatternIndex(int32_t index) { m_PatternIndex = index; }

protected:
    // The image the button shows now: na when disabled, else the look's image, else off.
    virtual const GxNcOriginImage* GetDrawImage() const;
    // Draws the image with the widget matrix and alpha.
    void DrawImage(const GxNcOriginImage* image, float alpha) const;
    // The look the button shows now, as its Draw draws it.
    void DrawImage() const { DrawImage(GetDrawImage(), GetImageDrawAlpha()); }
    float GetImageDrawAlpha() const;

    GxUIImageTable m_Images;
    int32_t m_ImageIndex = 0;
    int32_t m_PatternIndex = 0;
};
