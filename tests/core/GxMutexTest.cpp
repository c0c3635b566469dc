#include "core/GxMutex.h"
#include "core/GxMutexScopedLock.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

// The owner locks again inside its own lock, and every scoped lock lets go on exit: otherwise the other
// threads would wait for ever.
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
                    GxMutexScopedLock again(&mutex);
                    ++counter;
                }
            });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(counter, 80000);
    mutex.Lock();
    mutex.Unlock();
}
