#pragma once

#include "task/ui/GxTaskUIBase.h"
#include "task/ui/GxUIImageTable.h"

// A panel drawn from one image of a crammed image set with a chosen pattern (UI type 15). The base of
// the animated panel and of the image-set text panel.
class GxTaskUIPanelIs : public GxTaskUIBase
{
public:
    static constexpr int32_t kTypeCode = 15;

    GxTaskUIPanelIs(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                    int32_t localIndex = 0);
    ~GxTaskUIPanelIs() override;

    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    int32_t OnMouseMove(const float* point, uint32_t keys) override;
    int32_t OnMouseLeftDown(const float* point, uint32_t keys, int32_t dbl) override;
    bool Save(GxContentWriterBase* writer) override;
    bool Load(GxContentReaderBase* reader) override;
    void ApplyModule(const DBUIModuleData& row) override;
    bool LoadImageSet(const wchar_t* path) override;
    // m_ImageName + ".png" of the pooled set; the size from it only where the row gave none.
    bool LoadImages() override;
    int32_t ReleaseImages() override;

    virtual void SetPatternIndex(int32_t index) { m_PatternIndex = index; }
    virtual int32_t GetPatternIndex() const { return m_PatternIndex; }
    virtual int32_t GetPatternCount() const;

    const GxNcOriginImage* GetImage() const { return m_Images.m_Images[0]; }
    const GxUIImageTable& GetImages() const { return m_Images; }

protected:
    // Finds the image with the class's own messages; false without it.
    bool ResolveImage(const wchar_t* setMissingFormat, const wchar_t* imageMissingFormat);
    void DrawImage() const;

    GxUIImageTable m_Images;
    int32_t m_PatternIndex = 0;
};
