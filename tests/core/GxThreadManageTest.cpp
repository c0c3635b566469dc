#include "core/GxThreadManage.h"

#include "core/GxThreadListenerBase.h"
#include "core/GxThreadObject.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace
{

struct Heard
{
    int op;
    std::wstring name;
    GxThreadObject* thread;
    uint32_t v1, v2;
    bool operator==(const Heard&) const = default;
};

struct RecordingListener : GxThreadListenerBase
{
    std::vector<Heard> heard;
    int OnThread0(const wchar_t* name, GxThreadObject* thread, uint32_t v1, uint32_t v2) override
    {
        heard.push_back({0, name, thread, v1, v2});
        return 1;
    }
    int OnThread1(const wchar_t* name, GxThreadObject* thread, uint32_t v1, uint32_t v2) override
    {
        heard.push_back({1, name, thread, v1, v2});
        return 1;
    }
};

} // namespace

TEST(GxThreadManage, RecordsGoToTheThreadListenerInOrder)
{
    RecordingListener own, fallback;
    GxThreadManage manage(&fallback);
    GxThreadObject worker(&own);
    EXPECT_EQ(manage.Poll(), 0u); // an empty queue
    ASSERT_TRUE(manage.Register(&worker));
    EXPECT_FALSE(manage.Register(&worker));
    EXPECT_FALSE(manage.Register(nullptr));
    EXPECT_EQ(manage.GetLiveCount(), 1u);
    manage.PostMessage(&worker, L"load", 1, 2);
    manage.PostMessage(&worker, L"load", 3, 4);
    manage.Finish(&worker, L"done", 7, 8);
    EXPECT_EQ(manage.GetLiveCount(), 0u);
    EXPECT_FALSE(worker.IsFinished()); // only delivery marks it
    EXPECT_EQ(manage.Poll(), 3u);
    EXPECT_EQ(own.heard, (std::vector<Heard>{
                             {0, L"load", &worker, 1, 2}, {0, L"load", &worker, 3, 4}, {1, L"done", &worker, 7, 8}}));
    EXPECT_TRUE(fallback.heard.empty());
    EXPECT_TRUE(worker.IsFinished());
    EXPECT_EQ(worker.GetResult(), 7u);
    EXPECT_EQ(manage.Poll(), 0u);
    EXPECT_EQ(own.heard.size(), 3u);
}

TEST(GxThreadManage, DefaultListenerOrNoneTakesRecordsOfThreadsWithoutOne)
{
    RecordingListener fallback;
    GxThreadManage manage(&fallback);
    GxThreadObject worker;
    manage.PostMessage(&worker, L"m", 5, 6);
    EXPECT_EQ(manage.Poll(), 1u);
    EXPECT_EQ(fallback.heard, (std::vector<Heard>{{0, L"m", &worker, 5, 6}}));
    // Without any listener a finished record still marks its thread and is removed.
    GxThreadManage bare(nullptr);
    GxThreadObject finished;
    ASSERT_TRUE(bare.Register(&finished));
    bare.Finish(&finished, L"end", 42, 0);
    EXPECT_EQ(bare.Poll(), 1u);
    EXPECT_TRUE(finished.IsFinished());
    EXPECT_EQ(finished.GetResult(), 42u);
    EXPECT_EQ(bare.Poll(), 0u);
    // With no worker left WaitAll returns at once: a wait for a worker that is not there never would. The
    // bound only tells that from a loaded machine's lateness.
    auto start = std::chrono::steady_clock::now();
    bare.WaitAll();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

TEST(GxThreadManage, StopRefusesNewWorkersAndWaitAllSeesRunningOnesEnd)
{
    RecordingListener own;
    GxThreadManage manage(nullptr);
    std::vector<GxThreadObject*> objects;
    std::vector<std::thread> threads;
    for (int i = 0; i < 3; ++i)
    {
        auto* object = new GxThreadObject(&own);
        ASSERT_TRUE(manage.Register(object));
        objects.push_back(object);
        threads.emplace_back(
            [&manage, object, i]
            {
                while (!manage.IsStopRequested())
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                manage.PostMessage(object, L"stopping", static_cast<uint32_t>(i), 0);
                manage.Finish(object, L"end", static_cast<uint32_t>(i), 0);
            });
    }
    manage.RequestStop();
    GxThreadObject late;
    EXPECT_FALSE(manage.Register(&late));
    manage.WaitAll();
    EXPECT_EQ(manage.GetLiveCount(), 0u);
    EXPECT_EQ(manage.Poll(), 6u);
    for (std::thread& thread : threads)
        thread.join();
    for (GxThreadObject* object : objects)
    {
        EXPECT_TRUE(object->IsFinished());
        delete object;
    }
    EXPECT_EQ(own.heard.size(), 6u);
}
