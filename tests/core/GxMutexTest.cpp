#include "core/GxMutex.h"
#include "core/GxMutexScopedLock.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(GxMutex, OwnerMayLockAgain)
{
    GxMutex mutex;
    GxMutexScopedLock outer(mutex);
    {
        GxMutexScopedLock inner(&mutex);
        GxMutexScopedLock innermost(mutex);
    }
    SUCCEED();
}

TEST(GxMutex, GuardsSharedCounterAcrossThreads)
{
    GxMutex mutex;
    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back(
            [&]
            {
                for (int i = 0; i < 20000; ++i)
                {
                    GxMutexScopedLock lock(mutex);
                    GxMutexScopedLock again(mutex);
                    ++counter;
                }
            });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(counter, 80000);
}

TEST(GxMutex, ScopedLockReleasesOnExit)
{
    GxMutex mutex;
    {
        GxMutexScopedLock lock(mutex);
    }
    bool taken = false;
    std::thread other(
        [&]
        {
            mutex.Lock();
            taken = true;
            mutex.Unlock();
        });
    other.join();
    EXPECT_TRUE(taken);
}
