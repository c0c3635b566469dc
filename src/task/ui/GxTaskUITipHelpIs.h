#pragma once

#include "task/ui/GxTaskUIBase.h"
#include "task/ui/GxUIImageTable.h"
#include "task/ui/GxUITextLayout.h"

// The help tip (UI type 45): a box of 16-pixel cells cut from a 48 x 48 frame image, sized to its text,
// placed beside the pointer and kept inside the 1024 x 768 screen. The system sequence owns one
// ("tip_help"); with m_AutoHide the next pointer move hides it, and the move still reaches the widgets
// below.
class GxTaskUITipHelpIs : public GxTaskUIBase
{
public:
    static constexpr int32_t kTypeCode = 45;
    static constexpr int32_t kCell = 16;

    GxTaskUITipHelpIs(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                      int32_t localIndex = 0);
    ~GxTaskUITipHelpIs() override;

    // The actions only: the tip has no pointer or help logic of its own.
    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    int32_t OnMouseMove(const float* point, uint32_t keys) override;
    void ApplyModule(const DBUIModuleData& row) override;
    bool LoadImageSet(const wchar_t* path) override;
    // The frame image; the size never comes from it.
    bool LoadImages() override;
    int32_t ReleaseImages() override;
    // Sizes the box to the text in whole cells, at least 2 x 2, one spare line below the last row. An
    // empty text hides the tip.
    void SetText(const wchar_t* text) override;
    bool Save(GxContentWriterBase* writer) override;
    bool Load(GxContentReaderBase* reader) override;

    virtual void SetTextFontIndex(int32_t index);
    virtual void SetTextColor(uint32_t color) { m_Layout.m_TextColor = color; }
    virtual void SetEdgeColor(uint32_t color) { m_Layout.m_EdgeColor = color; }
    virtual void SetNewLineWidth(int32_t width) { m_NewLineWidth = width; }
    virtual int32_t GetNewLineWidth() const { return m_NewLineWidth; }
    virtual void SetPadding(int32_t padding) { m_Padding = padding; }
    virtual int32_t GetPadding() const { return m_Padding; }
    virtual void SetPatternIndex(int32_t index) { m_PatternIndex = index; }
    virtual int32_t GetPatternIndex() const { return m_PatternIndex; }
    virtual int32_t GetPatternCount() const;
    // Below and left of the point, flipped left of or above it near the right or bottom edge, then kept
    // on the screen.
    virtual void SetTipPosition(float x, float y);
    // The last row index; widest gets the widest row.
    virtual int32_t MeasureText(int32_t& widest) const;

    const GxUITextLayout& GetLayout() const { return m_Layout; }
    bool GetAutoHide() const { return m_AutoHide; }
    void SetAutoHide(bool autoHide) { m_AutoHide = autoHide; }

private:
    GxUIImageTable m_Images;
    int32_t m_PatternIndex = 0;
    GxUITextLayout m_Layout{1};
    int32_t m_NewLineWidth = 256;
    bool m_AutoHide = true;
    int32_t m_Padding = 8;
};
