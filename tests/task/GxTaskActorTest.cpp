#include "TaskSaveSupport.h"
#include "TaskTestSupport.h"

#include "core/GxCrtRandom.h"
#include "core/GxString.h"
#include "task/GxTaskActor.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

struct ActorTree : TaskTree
{
    GxTaskActor* actor = new GxTaskActor(root, L"actor");
};

GxVector4 V(float x, float y, float z)
{
    return GxVector4(x, y, z, 0.0f);
}

// x, y and z to six digits, to compare a whole vector at once (never in the process locale's form).
std::string Xyz(const GxVector4& v)
{
    return GxString::ToUtf8(
        GxString::Format(L"%g %g %g", static_cast<double>(v.x), static_cast<double>(v.y), static_cast<double>(v.z)));
}

} // namespace

TEST(GxTaskActorActions, LeftoverTimeFlowsIntoTheNextActionOfTheChannel)
{
    ActorTree t;
    t.actor->AddActionMove(100, V(200, 100, 0), GX_INTER_LINEAR);
    t.actor->AddActionHide();
    EXPECT_FALSE(GxTaskActor::StepActions(t.actor, 150));
    EXPECT_EQ(Xyz(t.actor->GetPos()), "200 100 0");
    EXPECT_FALSE(t.actor->IsVisible());

    t.actor->AddActionWait(0, 30);
    t.actor->AddActionMove(100, V(300, 100, 0), GX_INTER_LINEAR);
    EXPECT_TRUE(GxTaskActor::StepActions(t.actor, 80)); // 30 for the wait, 50 for the move
    EXPECT_FLOAT_EQ(t.actor->GetPos().x, 250.0f);
    EXPECT_EQ(t.actor->GetActions(0).front().m_TimeLeft, 50);

    // A move by an offset is relative to the position when it begins.
    GxTaskActor::FinishActions(t.actor);
    t.actor->AddActionWait(1, 10);
    t.actor->AddAction(1, GxActionParam(GX_ACTION_POS_BY, 100, V(10, 0, 0)));
    GxTaskActor::StepActions(t.actor, 5);
    t.actor->SetPos(V(5, 0, 0)); // after queueing, before the move begins
    GxTaskActor::StepActions(t.actor, 200);
    EXPECT_FLOAT_EQ(t.actor->GetPos().x, 15.0f);
}

TEST(GxTaskActorActions, ZeroTimeActionsCompleteInOneStepAndActOnlyAtTheirEnd)
{
    ActorTree t;
    t.actor->Hide();
    t.actor->AddAction(0, GxActionParam(GX_ACTION_SHOW, 0, {}));
    t.actor->AddAction(0, GxActionParam(GX_ACTION_ALPHA_AT_END, 0, V(99.9f, 0, 0)));
    t.actor->AddActionSetColor0(V(0.5f, 0.25f, 0.125f));
    t.actor->AddAction(0, GxActionParam(GX_ACTION_COLOR1_AT_END, 0, V(1, 1, 1)));
    t.actor->AddAction(0, GxActionParam(GX_ACTION_BLEND_AT_END, 40, V(5, 0, 0)));
    t.actor->SetColor0(GxVector4(1, 1, 1, 0.75f));
    EXPECT_TRUE(GxTaskActor::StepActions(t.actor, 1));
    EXPECT_TRUE(t.actor->IsVisible());
    EXPECT_EQ(t.actor->GetAlpha(), 99);
    EXPECT_EQ(Xyz(t.actor->GetColor0()), "0.5 0.25 0.125");
    EXPECT_FLOAT_EQ(t.actor->GetColor0().w, 0.75f); // alpha unchanged
    EXPECT_FLOAT_EQ(t.actor->GetVisual().m_Color1.y, 1.0f);
    EXPECT_EQ(t.actor->GetBlendMode(), 2); // not before its time is up
    EXPECT_FALSE(GxTaskActor::StepActions(t.actor, 39));
    EXPECT_EQ(t.actor->GetBlendMode(), 5);
}

TEST(GxTaskActorActions, ChannelsRunInParallelAndFadesAreLinearInTruncatedAlpha)
{
    ActorTree t;
    t.actor->SetAlpha(255);
    t.actor->AddActionFadeOut(200);
    t.actor->AddActionMoveByQuick(V(0, 40, 0));
    EXPECT_TRUE(GxTaskActor::StepActions(t.actor, 100));
    EXPECT_EQ(t.actor->GetAlpha(), 127); // 127.5 cut
    EXPECT_FLOAT_EQ(t.actor->GetPos().y, 20.0f);
    EXPECT_EQ(t.actor->GetActions(1).size(), 1u);
    EXPECT_FALSE(GxTaskActor::StepActions(t.actor, 100));
    EXPECT_EQ(t.actor->GetAlpha(), 0);
    EXPECT_FLOAT_EQ(t.actor->GetPos().y, 40.0f);
    t.actor->AddActionFadeIn(500);
    EXPECT_TRUE(GxTaskActor::StepActions(t.actor, 250));
    EXPECT_EQ(t.actor->GetAlpha(), 127);
    EXPECT_FALSE(GxTaskActor::StepActions(t.actor, 250));
    EXPECT_EQ(t.actor->GetAlpha(), 255);
    EXPECT_TRUE(GxTaskActor::IsActionEmpty(t.actor));
}

TEST(GxTaskActorActions, InterpolationModes)
{
    const struct
    {
        uint32_t mode;
        int32_t time, left;
        float progress, within;
    } cases[] = {
        {GX_INTER_LINEAR, 100, 50, 0.5f, 0.0f},
        {GX_INTER_EASE_OUT, 100, 50, 0.83505f, 1e-4f},
        {GX_INTER_EASE_IN, 100, 50, 0.16494f, 1e-4f},
        {GX_INTER_SMOOTH, 100, 75, 0.25f - 0.159155f, 1e-5f},
        {GX_INTER_SMOOTH, 100, 150, 0.0f, 0.0f} /*clamped*/,
        {GX_INTER_LINEAR, 0, 0, 1.0f, 0.0f} /*instant*/,
    };
    for (const auto& c : cases)
    {
        GxActionParam action(GX_ACTION_POS, c.time, {});
        action.m_InterMode = c.mode;
        action.m_TimeLeft = c.left;
        EXPECT_NEAR(action.GetProgress(), c.progress, c.within + 1e-7f) << c.mode << " " << c.left;
    }
}

TEST(GxTaskActorShake, DrawsFourNumbersInOrderOnEvenFramesAndClearsAtTheEnd)
{
    ActorTree t;
    GxCrtRandom::Seed(1); // draws 41, 18467, 6334, 26500
    t.actor->AddAction(0, GxActionParam(GX_ACTION_SHAKE, 100, V(100, 100, 0)));
    t.actor->GetVisual().m_ShakeOffsetPos.z = 3.0f;
    GxTaskActor::StepActions(t.actor, 10);
    // x: sin(41 deg) x 8467 / 10000 x 100 = 55.5; y: 6500 x cos(214 deg) / 10000 x 100 = -53.9.
    EXPECT_EQ(Xyz(t.actor->GetVisual().m_ShakeOffsetPos), "55 -53 3");
    EXPECT_FLOAT_EQ(t.actor->GetWorldPos().x, 55.0f);

    t.actor->SetFrameCount(1); // odd: the offset stays and nothing is drawn
    GxTaskActor::StepActions(t.actor, 10);
    EXPECT_FLOAT_EQ(t.actor->GetVisual().m_ShakeOffsetPos.x, 55.0f);
    EXPECT_EQ(GxCrtRandom::Next(), 19169); // the fifth draw after seed 1

    GxTaskActor::StepActions(t.actor, 100);
    EXPECT_EQ(Xyz(t.actor->GetVisual().m_ShakeOffsetPos), "0 0 0");
}

TEST(GxTaskActorFinish, FinishRunsEveryActionToItsEndAtOnce)
{
    ActorTree t;
    t.actor->AddActionWait(0, 30000);
    t.actor->AddActionMove(500, V(64, 32, 0), GX_INTER_SMOOTH);
    t.actor->AddAction(1, GxActionParam(GX_ACTION_SHAKE, 25000, V(8, 8, 0)));
    t.actor->AddAction(1, GxActionParam(GX_ACTION_ALPHA_AT_END, 10, V(12, 0, 0)));
    GxTaskActor::FinishActions(t.actor);
    EXPECT_TRUE(GxTaskActor::IsActionEmpty(t.actor));
    EXPECT_EQ(Xyz(t.actor->GetPos()), "64 32 0");
    EXPECT_EQ(t.actor->GetAlpha(), 12);
    EXPECT_FLOAT_EQ(t.actor->GetVisual().m_ShakeOffsetPos.x, 0.0f);
}

TEST(GxTaskActorState, ResetValuesAndDrawColour)
{
    ActorTree t;
    const GxActorVisualParam& v = t.actor->GetVisual();
    EXPECT_TRUE(v.m_Visible);
    EXPECT_FLOAT_EQ(v.m_OrderZ, 1000.0f);
    EXPECT_EQ(v.m_Alpha, 255);
    EXPECT_FLOAT_EQ(t.actor->GetScale().x, 1.0f);
    EXPECT_FLOAT_EQ(t.actor->GetScale().w, 0.0f);
    EXPECT_EQ(v.m_BlendMode, 2);
    EXPECT_TRUE(t.actor->HasKind(GX_TASKKIND_ACTOR | GX_TASKKIND_FOLDER));
    EXPECT_FLOAT_EQ(v.GetDrawColor(255).w, 1.0f);
    t.actor->SetColor0ARGB(0x80FF8000u);
    EXPECT_FLOAT_EQ(t.actor->GetColor0().y, 128.0f / 255.0f);
    t.actor->SetAlpha(51);
    EXPECT_EQ(Xyz(v.GetDrawColor(255)), Xyz(V(1.0f, 128.0f / 255.0f, 0.0f)));
    EXPECT_NEAR(v.GetDrawColor(255).w, 0.2f * 128.0f / 255.0f, 1e-6);
    EXPECT_NEAR(v.GetDrawColor(0).w, 0.0f, 1e-6);

    // The world position adds every ancestor's.
    auto* folder = new GxTaskFolder(t.actor, L"f");
    auto* child = new GxTaskActor(folder, L"c");
    t.actor->SetPos(V(10, 20, 0));
    child->SetPos(V(1, 2, 3));
    EXPECT_EQ(Xyz(child->GetWorldPos()), "11 22 3");
    EXPECT_FLOAT_EQ(t.root->GetWorldPos().x, 0.0f);
    GxTaskManage lone;
    GxTaskFolder orphan(static_cast<GxTaskBase*>(nullptr));
    EXPECT_FLOAT_EQ(orphan.GetWorldPos().x, 0.0f);
}

class GxTaskActorSave : public ::testing::TestWithParam<ContentForm>
{
};

TEST_P(GxTaskActorSave, HalfDoneActionsResumeFromTheirStoredStart)
{
    ActorTree t;
    t.actor->SetTaskID(77);
    t.actor->SetPos(V(10, 0, 0));
    t.actor->AddActionMove(100, V(110, 50, 0), GX_INTER_EASE_OUT);
    t.actor->AddActionHide();
    t.actor->AddAction(1, GxActionParam(GX_ACTION_SCALE_BY, 200, V(1, 0, 0)));
    t.actor->SetAlpha(200);
    t.actor->SetColor0(GxVector4(0.5f, 0.25f, 1.0f, 0.75f));
    t.actor->SetUVOffset(0.5f, 0.125f);
    t.actor->SetActionPause(true);
    GxTaskActor::StepActions(t.actor, 40);
    t.actor->Suspend();
    const std::vector<uint8_t> bytes = SaveRecord(GetParam(), [&](GxContentWriterBase* w) { return t.actor->Save(w); });
    ASSERT_FALSE(bytes.empty());

    // A twin that finishes in memory is the reference for the loaded copy.
    ActorTree twinTree;
    auto* loaded = new GxTaskActor(twinTree.root, L"loaded");
    loaded->SetTaskID(5); // replaced by the stored ID
    auto reader = OpenRecord(GetParam(), bytes);
    ASSERT_TRUE(loaded->Load(reader.get()));
    EXPECT_TRUE(loaded->IsSuspended());
    EXPECT_EQ(loaded->GetTaskID(), 77u);
    EXPECT_EQ(twinTree.manage.FindTaskByID(77), loaded);
    EXPECT_EQ(twinTree.manage.FindTaskByID(5), nullptr);
    EXPECT_TRUE(loaded->IsActionPause());
    EXPECT_EQ(loaded->GetAlpha(), 200);
    EXPECT_FLOAT_EQ(loaded->GetColor0().w, 0.75f);
    EXPECT_FLOAT_EQ(loaded->GetVisual().m_UVOffset.y, 0.125f);
    ASSERT_EQ(loaded->GetActions(0).size(), 2u);
    ASSERT_EQ(loaded->GetActions(1).size(), 1u);
    EXPECT_TRUE(loaded->GetActions(0).front().m_InitCompleted);
    EXPECT_EQ(loaded->GetActions(0).front().m_TimeLeft, 60);

    GxTaskActor::StepActions(t.actor, 30);
    GxTaskActor::StepActions(loaded, 30);
    EXPECT_EQ(Xyz(loaded->GetPos()), Xyz(t.actor->GetPos()));
    GxTaskActor::FinishActions(loaded);
    EXPECT_FLOAT_EQ(loaded->GetPos().x, 110.0f);
    EXPECT_FLOAT_EQ(loaded->GetScale().x, 2.0f);
    EXPECT_FALSE(loaded->IsVisible());
}

TEST_P(GxTaskActorSave, TruncatedRecordOrImplausibleActionCountFailsSafely)
{
    ActorTree t;
    t.actor->AddActionWait(0, 100);
    t.actor->AddActionWait(1, 100);
    const std::vector<uint8_t> bytes = SaveRecord(GetParam(), [&](GxContentWriterBase* w) { return t.actor->Save(w); });
    for (size_t cut : {bytes.size() / 4, bytes.size() / 2, bytes.size() - 3})
    {
        ActorTree other;
        const std::vector<uint8_t> part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_FALSE(other.actor->Load(OpenRecord(GetParam(), part).get()));
    }

    for (uint32_t i = 0; i < GxTaskActor::kMaxSavedActions; ++i)
        t.actor->AddActionWait(0, 1);
    const std::vector<uint8_t> many = SaveRecord(GetParam(), [&](GxContentWriterBase* w) { return t.actor->Save(w); });
    ActorTree other;
    other.actor->AddActionWait(1, 5);
    EXPECT_FALSE(other.actor->Load(OpenRecord(GetParam(), many).get()));
    EXPECT_TRUE(GxTaskActor::IsActionEmpty(other.actor));
}

TEST_P(GxTaskActorSave, VisualRecordReadsWithTheShakeOffsetBeforeOrAfterTheUVOffset)
{
    // The record as written, and the same values with the five three-component vectors together.
    for (bool shakeFirst : {false, true})
    {
        const std::vector<uint8_t> bytes = SaveRecord(GetParam(),
                                                      [&](GxContentWriterBase* w)
                                                      {
                                                          const GxFColor white(1.0f, 1.0f, 1.0f, 1.0f);
                                                          const GxVector3 zero, one(1.0f, 1.0f, 1.0f),
                                                              shake(3.0f, 4.0f, 0.0f);
                                                          const GxVector2 uv(0.25f, 0.5f);
                                                          w->Write("m_Visible", true);
                                                          w->Write("m_OrderZ", 5.0f);
                                                          w->Write("m_Alpha", int32_t(200));
                                                          w->Write("m_Color0", &white);
                                                          w->Write("m_Color1", &white);
                                                          for (const GxVector3* v : {&zero, &one, &zero, &zero})
                                                              w->Write("v", v);
                                                          if (shakeFirst)
                                                              w->Write("m_ShakeOffsetPos", &shake);
                                                          w->Write("m_UVOffset", &uv);
                                                          if (!shakeFirst)
                                                              w->Write("m_ShakeOffsetPos", &shake);
                                                          return w->Write("m_BlendMode", int32_t(3));
                                                      });
        GxActorVisualParam visual;
        std::unique_ptr<GxContentReaderBase> reader = OpenRecord(GetParam(), bytes);
        reader->SetCheckValueName(0);
        ASSERT_TRUE(visual.Load(reader.get())) << shakeFirst;
        EXPECT_EQ(visual.m_UVOffset.x, 0.25f);
        EXPECT_EQ(visual.m_ShakeOffsetPos.y, 4.0f);
        EXPECT_EQ(visual.m_BlendMode, 3);
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, GxTaskActorSave, ::testing::Values(ContentForm::Binary, ContentForm::Text));
