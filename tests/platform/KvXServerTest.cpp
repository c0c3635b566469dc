// The X server the window cases start for themselves: where it takes its display, and what a missing one
// does to a run under CI.
#include "support/KvScopedEnv.h"
#include "support/KvXServer.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstdlib>

// Outside CI a machine without Xvfb skips the window cases; under CI they fail, or a suite whose X server
// never starts would report every one of them passed.
TEST(KvXServer, AServerThatCannotStartFailsTheCaseOnlyUnderCI)
{
    KvScopedEnv path("PATH", "/nonexistent");
    KvXServer server;
    {
        KvScopedEnv ci("CI");
        EXPECT_FALSE(server.Start(64, 64));
    }
    KvScopedEnv ci("CI", "true");
    EXPECT_NONFATAL_FAILURE(server.Start(64, 64), "Xvfb is not installed");
}

// KV_X_DISPLAY_BASE moves the displays the servers take, so that two suites on one machine keep apart.
TEST(KvXServer, TakesItsDisplayFromTheBaseTheEnvironmentNames)
{
    KvScopedEnv base("KV_X_DISPLAY_BASE", "170");
    KvXServer server;
    if (!server.Start(64, 64))
        GTEST_SKIP() << "no X server to test on: " << server.Why();
    const int number = std::atoi(server.GetDisplay().c_str() + 1);
    EXPECT_GE(number, 170);
    EXPECT_LT(number, 210);
}
