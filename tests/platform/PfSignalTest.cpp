#include "platform/PfClock.h"
#include "platform/PfSignal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <pthread.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

TEST(PfSignal, TerminationInterruptAndHangUpRaiseTheQuitRequest)
{
    // Whatever the test runner was started under.
    std::signal(SIGHUP, SIG_DFL);
    PfSignal::Install();
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
    {
        PfSignal::ClearQuitRequest();
        EXPECT_FALSE(PfSignal::IsQuitRequested());
        std::raise(sig);
        EXPECT_TRUE(PfSignal::IsQuitRequested());
    }
    // Started under nohup: the hang-up stays ignored, the game outlives its terminal.
    PfSignal::ClearQuitRequest();
    std::signal(SIGHUP, SIG_IGN);
    PfSignal::Install();
    std::raise(SIGHUP);
    EXPECT_FALSE(PfSignal::IsQuitRequested());
    std::signal(SIGHUP, SIG_DFL);
}

// The kernel may hand the signal to any thread (a sound feeder, a driver's worker): the request taken there is
// seen by the main loop, which reads it while that thread runs on. (Under ThreadSanitizer a flag that is not
// an atomic shows as a race here.)
TEST(PfSignal, ARequestTakenOnAnotherThreadReachesTheMainLoop)
{
    std::signal(SIGHUP, SIG_DFL);
    PfSignal::Install();
    PfSignal::ClearQuitRequest();
    std::thread worker(
        []
        {
            while (!PfSignal::IsQuitRequested())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        });
    ASSERT_EQ(pthread_kill(worker.native_handle(), SIGTERM), 0);
    // Only a hang is judged by the clock.
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    bool seen = false;
    while (!(seen = PfSignal::IsQuitRequested()) && std::chrono::steady_clock::now() < limit)
        std::this_thread::yield();
    worker.join();
    EXPECT_TRUE(seen);
    PfSignal::ClearQuitRequest();
}

TEST(PfSignal, WhileABoxWaitsATerminationSignalEndsTheProcess)
{
    // In a child: with the exit switched on, SIGTERM (or a hang-up) ends it with status 0 at once; a pending
    // request ends it as the switch goes on; switched off again, the signal only raises the flag (status 3).
    const struct
    {
        bool pendingFirst;
        bool on;
        int status;
        int sig;
    } cases[] = {{false, true, 0, SIGTERM}, {true, true, 0, SIGTERM}, {false, false, 3, SIGTERM},
                 {false, true, 0, SIGHUP},  {true, true, 0, SIGHUP},  {false, false, 3, SIGHUP}};
    for (const auto& c : cases)
    {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
        {
            std::signal(SIGHUP, SIG_DFL);
            PfSignal::Install();
            PfSignal::ClearQuitRequest();
            if (c.pendingFirst)
                std::raise(c.sig);
            PfSignal::SetExitOnSignal(true);
            PfSignal::SetExitOnSignal(c.on);
            std::raise(c.sig);
            _exit(PfSignal::IsQuitRequested() ? 3 : 4);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << "signal " << c.sig;
        EXPECT_EQ(WEXITSTATUS(status), c.status) << c.pendingFirst << c.on << " signal " << c.sig;
    }
}

TEST(PfClock, NeverZeroAndNeverBackwards)
{
    const uint64_t a = PfClock::GetTimeMs();
    PfClock::SleepMs(2);
    const uint64_t b = PfClock::GetTimeMs();
    EXPECT_GT(a, 0u);
    EXPECT_GE(b, a + 2);
}
