// Effect tasks: one frame per update step after the start delay, keys before the frame advances, death at
// the motion's length, draw registration, and the instant-load task's project reference.
#include "../../tools/gncwriter/GncProjectWriter.h"

#include "animation/GxNcProjectEx.h"
#include "animation/GxNcProjectFactory.h"
#include "animation/GxNcSoundKey.h"
#include "core/GxLog.h"
#include "core/GxString.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskNcEffect2D.h"
#include "task/GxTaskNcEffectInstantLoad2D.h"
#include "task/GxTaskRenderManage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace
{

// Notes the frame of every sound key it is handed (the keys are named after their frame).
class KvEffect : public GxTaskNcEffect2D
{
public:
    using GxTaskNcEffect2D::GxTaskNcEffect2D;
    bool OnSoundKey(void*, int32_t, int32_t, const GxNcSoundKey& key) override
    {
        m_Heard.push_back(key.m_Time);
        return false;
    }
    std::vector<int32_t> m_Heard;
};

// A motion of the given length with a sound key on every frame from 0 to the length.
std::unique_ptr<GxNcMotion> Motion(int32_t length)
{
    auto m = std::make_unique<GxNcMotion>();
    m->m_MotionName = L"m";
    m->m_EndTime = length;
    for (int32_t t = 0; t <= length; ++t)
        m->m_SoundKeys.push_back({t, L"se" + std::to_wstring(t), 0, 0});
    return m;
}

struct Tree
{
    Tree()
    {
        manage.SetRenderLists(lists, &bank);
        root = new GxTaskBase(&manage);
    }
    GxTaskRenderManage lists[2 * GxTaskManage::kRenderLayerCount];
    int32_t bank = 1;
    GxTaskManage manage;
    GxTaskBase* root = nullptr;
};

} // namespace

TEST(GxTaskNcEffect2D, PlaysEachFrameOnceAndDiesAtTheLength)
{
    Tree t;
    std::unique_ptr<GxNcMotion> motion = Motion(30);
    KvEffect* e = new KvEffect(t.root);
    EXPECT_EQ(e->GetTypeCode(), 20);
    e->Setup(nullptr, motion.get(), 10, 20, 5.0f, GxVector4(2, 3, 1, 0), GxVector2(2, 1), GxVector4(1, 0, 0, 0),
             GxVector4(0, 1, 0, 0));
    e->m_StartDelay = 5;
    for (int step = 0; step < 5; ++step)
        e->Update(0, 0);
    EXPECT_TRUE(e->m_Heard.empty()); // nothing during the delay
    for (int step = 0; step < 29; ++step)
        e->Update(0, 0);
    EXPECT_FALSE(e->IsDead());
    e->Update(0, 0);
    EXPECT_TRUE(e->IsDead());
    std::vector<int32_t> frames(30);
    for (int32_t i = 0; i < 30; ++i)
        frames[i] = i;
    EXPECT_EQ(e->m_Heard, frames);
    EXPECT_EQ(e->GetFrameCount(), 30);
    // Moved by the velocity, which grew by the acceleration each step; scaled by both scales.
    EXPECT_FLOAT_EQ(e->m_Position.x, 40.0f);
    EXPECT_FLOAT_EQ(e->m_Position.y, 20.0f + 29 * 30 / 2);
    EXPECT_FLOAT_EQ(e->m_Transform.m[0][0], 4.0f);
    EXPECT_FLOAT_EQ(e->m_Transform.m[1][1], 3.0f);

    // Registered in render list 5 of the current bank, by its depth key.
    e->RegisterDraw(0, 0);
    ASSERT_EQ(t.lists[GxTaskManage::kRenderLayerCount + 5].GetCount(), 1u);
    EXPECT_EQ(t.lists[GxTaskManage::kRenderLayerCount + 5].GetEntry(0).key, 5.0f);
}

TEST(GxTaskNcEffect2D, ZeroLengthAndMissingMotionsEndAtOnce)
{
    Tree t;
    std::unique_ptr<GxNcMotion> motion = Motion(0);
    KvEffect* e = new KvEffect(t.root);
    e->Setup(nullptr, motion.get(), 0, 0, 1.0f, GxVector4(1, 1, 1, 0), GxVector2(1, 1), GxVector4(), GxVector4());
    EXPECT_EQ(e->GetLength(), 1);
    e->Draw(0, 5); // frame 0 modulo length 1, no device: nothing to see, nothing to divide by zero
    e->Update(0, 0);
    EXPECT_TRUE(e->IsDead());
    KvEffect* none = new KvEffect(t.root);
    none->Update(0, 0);
    EXPECT_TRUE(none->IsDead());
}

TEST(GxTaskNcEffectInstantLoad2D, HoldsItsProjectUntilKilled)
{
    char pattern[] = "/tmp/kvfxXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dir = pattern;
    const std::wstring saved = GxLog::GetErrorLogPath();
    GxLog::SetErrorLogPath(GxString::FromUtf8(dir + "/error.log"));
    GxNcProject p;
    p.m_MotionGroups.push_back(std::make_unique<GxNcMotionGroup>());
    p.m_MotionGroups[0]->m_MotionGroupName = L"g";
    p.m_MotionGroups[0]->m_Motions.push_back(Motion(3));
    ASSERT_TRUE(GncProjectWriter::Write(dir + "/fx.gnc", p, {}, GncForm::Binary));

    Tree t;
    GxNcProjectFactory& factory = GxNcProjectFactory::GetInstance();
    auto* e = new GxTaskNcEffectInstantLoad2D(t.root);
    ASSERT_TRUE(e->Setup(GxString::FromUtf8(dir + "/fx.gnc"), L"", L"g", L"m", 0, 0, 1.0f, GxVector4(1, 1, 1, 0)));
    ASSERT_NE(e->m_pProject, nullptr);
    EXPECT_EQ(e->m_pProject->GetRefCount(), 1u);
    for (int step = 0; step < 3; ++step)
        e->Update(0, 0);
    EXPECT_TRUE(e->IsDead());
    EXPECT_EQ(e->m_pProject, nullptr);
    EXPECT_EQ(factory.GetCount(), 0u);

    auto* missing = new GxTaskNcEffectInstantLoad2D(t.root);
    EXPECT_FALSE(
        missing->Setup(GxString::FromUtf8(dir + "/fx.gnc"), L"", L"g", L"absent", 0, 0, 1.0f, GxVector4(1, 1, 1, 0)));
    missing->Update(0, 0);
    EXPECT_TRUE(missing->IsDead());
    EXPECT_EQ(factory.GetCount(), 0u);

    GxLog::SetErrorLogPath(saved);
    std::remove((dir + "/fx.gnc").c_str());
    std::remove((dir + "/error.log").c_str());
    std::remove(dir.c_str());
}
