#include "TaskSaveSupport.h"
#include "TaskTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{

const float kPoint[2] = {100.0f, 100.0f};

struct TransitTree : TaskTree
{
    Journal j;
    RecordingScreenService service;
    RecSeq* sys = new RecSeq(&j, L"sys", root, L"SeqSystem");
    RecTransit* a = new RecTransit(&j, L"A", root, L"SeqA");
    RecTask* a1 = new RecTask(&j, L"a1", a);
    RecTransit* b = new RecTransit(&j, L"B", root, L"SeqB");
    RecTask* b1 = new RecTask(&j, L"b1", b);
    RecSeq* plain = new RecSeq(&j, L"plain", root, L"SeqPlain");

    TransitTree()
    {
        service.tree = this;
        manage.SetScreenService(&service);
        manage.SetSystemSequence(sys);
        b1->m_Take = 1;
        Enter(a);
        Step(0, 0);
        j.clear();
    }
};

} // namespace

TEST(GxSeqTransit, LeavingCapturesTheOldScreenInputIsMaskedAndTheSequenceStartsWhenTheTimeIsUsedUp)
{
    TransitTree t;
    t.service.transitTime = 400;
    t.Enter(t.b);
    EXPECT_EQ(t.service.captures, 1);
    // A and the system sequence registered their screen clears: the old screen, in bank 1.
    EXPECT_EQ(t.service.capturedRegistrations, 2);
    EXPECT_EQ(t.lists[10].GetCount(), 0u);
    EXPECT_EQ(t.bank, 0);
    EXPECT_TRUE(t.b->IsTransit());
    EXPECT_EQ(t.b->GetTransitParam().m_TransitTimeTotal, 400);
    EXPECT_EQ(t.b->GetListenerMask() & 0x38u, 0x38u);
    EXPECT_FALSE(t.a->IsTransit());
    t.j.clear();

    for (int frame = 0; frame < 3; ++frame)
    {
        t.Step(0, 100000); // 100 ms
        t.Step(1, 0);      // a catch-up step gets no time
        EXPECT_FALSE(t.manage.IsSequenceStarted());
        EXPECT_EQ(t.manage.OnMouseMove(kPoint, 0), 0); // b1 would take it, but B is masked
        EXPECT_EQ(t.manage.OnKeyDown(32, 0), 0);
    }
    EXPECT_EQ(t.b->GetTransitParam().m_TransitTimeLeft, 100);
    // B counts down but gets no Update; its plain child does.
    EXPECT_EQ(std::count(t.j.begin(), t.j.end(), L"U:B"), 0);
    EXPECT_EQ(std::count(t.j.begin(), t.j.end(), L"U:b1"), 6);
    EXPECT_EQ(std::count(t.j.begin(), t.j.end(), L"P:B"), 6);

    // The transit picture is registered on layer 9 and drawn at alpha 1 - progress.
    EXPECT_EQ(t.List(9).GetCount(), 1u);
    EXPECT_EQ(t.List(9).GetEntry(0).param, 1);
    t.DrawLayers();
    ASSERT_EQ(t.service.drawnColors.size(), 1u);
    EXPECT_EQ(t.service.drawnColors[0], 0x40FFFFFFu); // progress 0.75: alpha 0.25 -> 64

    t.j.clear();
    t.Step(0, 100999); // 100.999 ms counts as 100
    EXPECT_TRUE(t.manage.IsSequenceStarted());
    EXPECT_FALSE(t.b->IsTransit());
    EXPECT_EQ(t.b->GetListenerMask() & 0x38u, 0u);
    EXPECT_EQ(t.List(9).GetCount(), 0u);
    EXPECT_EQ(t.j[0], L"P:B");
    EXPECT_EQ(t.j[1], L"U:B"); // started in this very step
    EXPECT_NE(t.manage.OnMouseMove(kPoint, 0), 0);
}

TEST(GxSeqTransit, ElapsedMillisecondsAreTruncatedPerStepAndZeroTimeStartsInTheFirstStep)
{
    TransitTree t;
    t.service.transitTime = 50;
    t.Enter(t.b);
    for (int i = 0; i < 3; ++i)
        t.Step(0, 16999); // 16 ms each, not 17
    EXPECT_EQ(t.b->GetTransitParam().m_TransitTimeLeft, 2);
    EXPECT_FALSE(t.manage.IsSequenceStarted());
    t.Step(0, 16999);
    EXPECT_TRUE(t.manage.IsSequenceStarted());
    EXPECT_EQ(t.b->GetTransitParam().m_TransitTimeLeft, 0);

    t.service.transitTime = 0;
    t.Enter(t.a);
    EXPECT_TRUE(t.a->IsTransit());
    EXPECT_FLOAT_EQ(t.a->GetTransitParam().GetProgress(), 1.0f);
    t.Step(0, 0);
    EXPECT_TRUE(t.manage.IsSequenceStarted());
}

TEST(GxSeqTransit, SwitchToOrFromAPlainSequenceCapturesNothing)
{
    TransitTree t;
    t.Enter(t.plain);
    t.Enter(t.b);
    EXPECT_EQ(t.service.captures, 0);
    EXPECT_FALSE(t.b->IsTransit());
}

TEST(GxSeqTransit, ProgressRunsFromZeroToOneAndCancelClearsTheMask)
{
    TaskTree tree;
    auto* seq = new GxSeqTransitBase(tree.root, L"SeqT");
    EXPECT_FLOAT_EQ(seq->GetTransitParam().GetProgress(), 1.0f); // none running
    seq->StartTransit(200);
    EXPECT_FLOAT_EQ(seq->GetTransitParam().GetProgress(), 0.0f);
    seq->GetTransitParam().m_TransitTimeLeft = 50;
    EXPECT_FLOAT_EQ(seq->GetTransitParam().GetProgress(), 0.75f);
    seq->GetTransitParam().m_TransitTimeLeft = -10;
    EXPECT_FLOAT_EQ(seq->GetTransitParam().GetProgress(), 1.0f);
    seq->AddListenerMask(GX_LISTENER_WINDOW);
    EXPECT_TRUE(seq->CancelTransit());
    EXPECT_FALSE(seq->CancelTransit());
    EXPECT_EQ(seq->GetListenerMask(), static_cast<uint32_t>(GX_LISTENER_WINDOW));
    EXPECT_EQ(seq->GetTransitParam().m_TransitTimeLeft, 0);
}

TEST(GxSeqTransit, TransitParamRoundTrip)
{
    GxTransitParam param;
    param.m_Transit = true;
    param.m_TransitTimeLeft = 123;
    param.m_TransitTimeTotal = 400;
    for (ContentForm form : {ContentForm::Binary, ContentForm::Text})
    {
        const std::vector<uint8_t> bytes = SaveRecord(form, [&](GxContentWriterBase* w) { return param.Save(w); });
        GxTransitParam loaded;
        EXPECT_TRUE(loaded.Load(OpenRecord(form, bytes).get()));
        EXPECT_TRUE(loaded.m_Transit);
        EXPECT_EQ(loaded.m_TransitTimeLeft, 123);
        EXPECT_EQ(loaded.m_TransitTimeTotal, 400);
    }
}
