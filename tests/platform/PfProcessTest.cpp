#include "platform/PfProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

TEST(PfProcess, RunGivesTheExitStatusOrMinusOneForAKilledProgram)
{
    struct Case
    {
        const char* script;
        int exitCode;
    };
    for (const Case& c : {Case{"exit 0", 0}, Case{"exit 3", 3}, Case{"kill -9 $$", -1}})
    {
        int code = 99;
        ASSERT_TRUE(PfProcess::Run({"/bin/sh", "-c", c.script}, code)) << c.script;
        EXPECT_EQ(code, c.exitCode) << c.script;
    }
    int code = 99;
    EXPECT_FALSE(PfProcess::Run({"/nonexistent/program"}, code));
    EXPECT_FALSE(PfProcess::Run({}, code));
}

// A program started without waiting is collected once it has ended, without anyone waiting for it, and
// one that is still running is left alone.
TEST(PfProcess, StartedProgramsAreReapedOnceTheyEnd)
{
    const size_t before = PfProcess::GetUnreapedCount();
    // The sleeper lets go of the output this test's runner waits on, so its long sleep holds nobody up.
    ASSERT_TRUE(PfProcess::Start({"sh", "-c", "exec sleep 90 > /dev/null 2>&1 < /dev/null"}));
    ASSERT_TRUE(PfProcess::Start({"sh", "-c", "exit 0"}));
    EXPECT_GE(PfProcess::GetUnreapedCount(), before + 1);
    EXPECT_FALSE(PfProcess::Start({"no-such-program-kv"}));
    EXPECT_FALSE(PfProcess::Start({""}));

    // Nobody here waits or calls ReapFinished: the reaper thread collects it.
    // The sleeper outlives the wait by far, however slowly a loaded machine reaps the short one.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (PfProcess::GetUnreapedCount() > before + 1 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    // The short one is gone; the sleeper stays a child until it ends.
    EXPECT_EQ(PfProcess::GetUnreapedCount(), before + 1);
}
