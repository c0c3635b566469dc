#include "task/ui/GxTaskUIAnimePanelIs.h"

GxTaskUIAnimePanelIs::GxTaskUIAnimePanelIs(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName,
                                           int32_t localIndex)
    : GxTaskUIPanelIs(parent, globalName, localName, localIndex)
{
    SetTypeCode(kTypeCode);
    m_EventBlockFlag = false;
}

GxTaskUIAnimePanelIs::~GxTaskUIAnimePanelIs() = default;

int32_t GxTaskUIAnimePanelIs::Update(int32_t step, int64_t elapsed)
{
    GxTaskUIPanelIs::Update(step, elapsed);
    const int32_t count = GetPatternCount();
    // The first change falls in the first step (frame 0), then one every m_FramesPerPattern steps.
    if (GetImage() && m_FramesPerPattern != 0 && count > 0 && GetFrameCount() % m_FramesPerPattern == 0)
    {
        m_PatternIndex = (m_PatternIndex + 1) % count;
        // A pattern index from a damaged save may be negative; the flip-book then starts over.
        if (m_PatternIndex < 0)
            m_PatternIndex = 0;
    }
    AdvanceFrameCount();
    return 0;
}

bool GxTaskUIAnimePanelIs::LoadImages()
{
    if (!ResolveImage(L"GxTaskUIAnimePanelIs/ImageSet wasn't Loaded:%s[%s]\n",
                      L"GxTaskUIAnimePanelIs/Image not found:%s[%s]\n"))
        return false;
    GxUIImageTable::ApplySizeDefaults(GetImage(), m_Width, m_Height, m_ClientWidth, m_ClientHeight, m_ClientLeft,
                                      m_ClientTop);
    return true;
}

int32_t GxTaskUIAnimePanelIs::ReleaseImages()
{
    return GxTaskUIPanelIs::ReleaseImages();
}
