#include "strategy/screens/ZorTaskProxy.h"

#include "task/GxTaskManage.h"

#include <gtest/gtest.h>

namespace
{

// Counts the calls each walk makes on it.
class CountingTask : public GxTaskBase
{
public:
    using GxTaskBase::GxTaskBase;
    void OnSequenceEnter() override { ++m_Enter; }
    void OnSequenceLeave() override { ++m_Leave; }
    void OnExtraHook1() override { ++m_Hook[0]; }
    void OnExtraHook2() override { ++m_Hook[1]; }
    void OnExtraHook3() override { ++m_Hook[2]; }
    int32_t Update(int32_t, int64_t elapsed) override
    {
        ++m_Update;
        m_Elapsed = elapsed;
        return 0;
    }
    int32_t RegisterDraw(int32_t, int64_t) override { return ++m_Draw, 0; }

    int m_Enter = 0, m_Leave = 0, m_Update = 0, m_Draw = 0;
    int m_Hook[3] = {};
    int64_t m_Elapsed = 0;
};

// A target folder elsewhere in the tree holding an effect, its nested child and a suspended one.
class ZorTaskProxyTest : public ::testing::Test
{
protected:
    ZorTaskProxyTest()
    {
        m_Root = new GxTaskBase(&m_Manage);
        m_Target = new CountingTask(m_Root, L"$EFFECTEND:Elsewhere");
        m_Effect = new CountingTask(m_Target);
        m_Nested = new CountingTask(m_Effect);
        m_Paused = new CountingTask(m_Target);
        m_Paused->Suspend();
        m_Proxy = new ZorTaskProxy(m_Root, L"$PROXYEND:Here");
    }
    void AllWalks()
    {
        m_Proxy->OnSequenceEnter();
        m_Proxy->OnSequenceLeave();
        m_Proxy->OnExtraHook1();
        m_Proxy->OnExtraHook2();
        m_Proxy->OnExtraHook3();
        EXPECT_EQ(m_Proxy->Update(1, 16000), 0);
        EXPECT_EQ(m_Proxy->UpdatePreStart(1, 16000), 0);
        EXPECT_EQ(m_Proxy->RegisterDraw(1, 16000), 0);
    }

    GxTaskManage m_Manage;
    GxTaskBase* m_Root = nullptr;
    CountingTask* m_Target = nullptr;
    CountingTask* m_Effect = nullptr;
    CountingTask* m_Nested = nullptr;
    CountingTask* m_Paused = nullptr;
    ZorTaskProxy* m_Proxy = nullptr;
};

TEST_F(ZorTaskProxyTest, WithoutTargetNothingIsWalked)
{
    AllWalks();
    EXPECT_EQ(m_Effect->m_Update + m_Effect->m_Draw + m_Effect->m_Enter + m_Effect->m_Hook[0], 0);
    m_Proxy->SetTarget(m_Nested); // no children: empty walks
    AllWalks();
    EXPECT_EQ(m_Nested->m_Update + m_Nested->m_Enter, 0);
}

TEST_F(ZorTaskProxyTest, TargetChildrenTakeEveryWalkButNotTheTarget)
{
    m_Proxy->SetTarget(m_Target);
    AllWalks();
    for (CountingTask* t : {m_Effect, m_Nested})
    {
        EXPECT_EQ(t->m_Enter, 1);
        EXPECT_EQ(t->m_Leave, 1);
        EXPECT_EQ(t->m_Hook[0] + t->m_Hook[1] + t->m_Hook[2], 3);
        EXPECT_EQ(t->m_Update, 1);
        EXPECT_EQ(t->m_Elapsed, 16000);
        EXPECT_EQ(t->m_Draw, 1);
    }
    EXPECT_EQ(m_Target->m_Update + m_Target->m_Draw + m_Target->m_Enter, 0);
    EXPECT_EQ(m_Paused->m_Update + m_Paused->m_Draw, 0) << "the walks' own state tests still apply";

    m_Effect->AddTaskFlags(GX_TASKFLAG_NOCHILD_UPDATE);
    m_Proxy->Update(1, 16000);
    EXPECT_EQ(m_Effect->m_Update, 2);
    EXPECT_EQ(m_Nested->m_Update, 1);
    m_Proxy->SetTarget(nullptr);
    m_Proxy->Update(1, 16000);
    EXPECT_EQ(m_Effect->m_Update, 2);
}

} // namespace
