// The window's first picture: a boot sequence that passes straight on in its first frame draws a black
// frame that is not presented; the next sequence's first frame is the first one shown. Once something was
// shown, a frame drawn while a sequence is being left is presented as before.
#include "support/KvEngineLoop.h"

#include "task/GxSeqBase.h"

#include <gtest/gtest.h>

namespace
{

// Fills the screen with its colour in each frame; asks for the next sequence in its update of frame
// m_LeaveIn (counting from 1) when it has one.
class FillSeq : public GxSeqBase
{
public:
    FillSeq(GxTaskBase* parent, const wchar_t* name, uint32_t color) : GxSeqBase(parent, name), m_Color(color) {}
    int32_t Update(int32_t, int64_t) override
    {
        if (m_Next && ++m_Frames == m_LeaveIn)
            GetManager()->ChangeSequence(m_Next, 0, 0);
        return 0;
    }
    int32_t Draw(int32_t, int32_t) override
    {
        GxGraphics::Clear(D3DCLEAR_TARGET, m_Color, 1.0f, 0);
        return 0;
    }
    uint32_t m_Color;
    GxTaskBase* m_Next = nullptr;
    int m_LeaveIn = 1;
    int m_Frames = 0;
};

TEST(GxCoreFirstPresent, ALeavingSequenceIsNotShownBeforeTheFirstPictureButIsAfter)
{
    KvEngineLoop loop;
    ASSERT_TRUE(loop.Start(L"GxCoreFirstPresentTest"));
    GxTaskManage* manage = loop.m_Core.m_TaskManage;
    GxTaskBase* root = new GxTaskBase(manage);
    auto* boot = new FillSeq(root, L"SeqBootFill", 0xFF000000u);
    auto* title = new FillSeq(root, L"SeqTitleFill", 0xFF3060C0u);
    auto* story = new FillSeq(root, L"SeqStoryFill", 0xFF20A040u);
    boot->m_Next = title;
    title->m_Next = story;
    title->m_LeaveIn = 2;
    PfGLDevice* device = GxGraphics::GetDevice();
    manage->ChangeSequence(boot, 0, 0);

    // The boot frame is drawn (its pixels are in the back buffer) but not shown.
    loop.Pass();
    EXPECT_EQ(device->GetPresentedFrameCount(), 0u);
    EXPECT_EQ(loop.Pixel(10, 10), 0xFF000000u);

    // The title's first frame is the first present.
    loop.Pass();
    EXPECT_EQ(device->GetPresentedFrameCount(), 1u);
    EXPECT_EQ(loop.Pixel(10, 10), 0xFF3060C0u);

    // The title leaves for the story in its second frame, shown now that the window has a picture (an
    // unchanged one: the title's picture again), then the story's.
    loop.Pass();
    EXPECT_EQ(device->GetPresentedFrameCount() + device->GetSkippedFrameCount(), 2u);
    loop.Pass();
    EXPECT_EQ(loop.Pixel(10, 10), 0xFF20A040u);
    const uint64_t presented = device->GetPresentedFrameCount();
    EXPECT_EQ(presented + device->GetSkippedFrameCount(), 3u);

    // An unchanged frame is still found equal to the last one shown.
    loop.Pass();
    EXPECT_EQ(device->GetPresentedFrameCount(), presented);
}

} // namespace
