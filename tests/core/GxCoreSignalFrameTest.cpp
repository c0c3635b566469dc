// A quit signal that comes while a frame is being drawn: the frame is given up, neither shown nor drawn
// later (its held-back commands would otherwise be played when the back buffer is read or a texture goes),
// and the next frame is drawn whole and shown.
#include "support/KvEngineLoop.h"

#include "platform/PfSignal.h"
#include "task/GxSeqBase.h"

#include <gtest/gtest.h>

#include <csignal>

namespace
{

// Fills the screen with its colour in each frame; raises SIGTERM after the fill while m_Signal is set.
class SignalFillSeq : public GxSeqBase
{
public:
    SignalFillSeq(GxTaskBase* parent, uint32_t color) : GxSeqBase(parent, L"SeqSignalFill"), m_Color(color) {}
    int32_t Draw(int32_t, int32_t) override
    {
        GxGraphics::Clear(D3DCLEAR_TARGET, m_Color, 1.0f, 0);
        if (m_Signal)
            std::raise(SIGTERM);
        return 0;
    }
    uint32_t m_Color;
    bool m_Signal = false;
};

TEST(GxCoreSignalFrame, ASignalWhileDrawingGivesTheFrameUp)
{
    KvEngineLoop loop;
    ASSERT_TRUE(loop.Start(L"GxCoreSignalFrameTest"));
    GxTaskManage* manage = loop.m_Core.m_TaskManage;
    auto* seq = new SignalFillSeq(new GxTaskBase(manage), 0xFF3060C0u);
    manage->ChangeSequence(seq, 0, 0);
    PfGLDevice* device = GxGraphics::GetDevice();
    // Shown once, so that the next frame is held back for the comparison with it.
    loop.Passes(2);
    ASSERT_EQ(loop.Pixel(10, 10), 0xFF3060C0u);
    const uint64_t presented = device->GetPresentedFrameCount();
    const uint64_t skipped = device->GetSkippedFrameCount();

    PfSignal::Install();
    seq->m_Color = 0xFF20A040u;
    seq->m_Signal = true;
    loop.Pass();
    PfSignal::ClearQuitRequest();
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    EXPECT_EQ(device->GetPresentedFrameCount(), presented);
    EXPECT_EQ(device->GetSkippedFrameCount(), skipped);
    // Reading the back buffer back plays nothing: it still holds the last frame shown.
    EXPECT_EQ(loop.Pixel(10, 10), 0xFF3060C0u);

    seq->m_Signal = false;
    loop.Pass();
    EXPECT_EQ(device->GetPresentedFrameCount(), presented + 1);
    EXPECT_EQ(loop.Pixel(10, 10), 0xFF20A040u);
}

} // namespace
