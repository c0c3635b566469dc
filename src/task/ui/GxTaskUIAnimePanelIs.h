#pragma once

#include "task/ui/GxTaskUIPanelIs.h"

// An image-set panel played as a flip-book (UI type 16): every few update steps the next pattern of its
// image, wrapping to the first. It never blocks the pointer.
class GxTaskUIAnimePanelIs : public GxTaskUIPanelIs
{
public:
    static constexpr int32_t kTypeCode = 16;

    GxTaskUIAnimePanelIs(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                         int32_t localIndex = 0);
    ~GxTaskUIAnimePanelIs() override;

    int32_t Update(int32_t step, int64_t elapsed) override;
    // As the panel's, but a missing image keeps the module's size.
    bool LoadImages() override;
    int32_t ReleaseImages() override;

    // 0 freezes the current pattern.
    virtual void SetFramesPerPattern(int32_t frames) { m_FramesPerPattern = frames; }
    virtual int32_t GetFramesPerPattern() const { return m_FramesPerPattern; }

private:
    int32_t m_FramesPerPattern = 4;
};
