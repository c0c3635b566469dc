// The end-to-end runner's own promises: a run that goes wrong says how and leaves what it wrote for reading.
#include "support/GameRun.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>

// A program killed from outside (the kernel's out-of-memory killer, a crash in a build without the
// sanitizers) is a failure that names the signal, and its folder stays with the log in it. SIGKILL is
// the one signal neither the program nor the sanitizers can answer.
TEST(GameRun, ARunEndedByASignalNamesItAndKeepsItsFolder)
{
    std::string root;
    {
        GameRun run("crash");
        ASSERT_TRUE(run.Generate());
        root = run.Root();
        // No end in the script: only the signal ends the run.
        const pid_t child = run.Start("");
        ASSERT_GT(child, 0);
        kill(child, SIGKILL);
        EXPECT_NONFATAL_FAILURE(run.Finish(child, std::chrono::seconds(120)), "SIGKILL");
    }
    EXPECT_TRUE(std::filesystem::exists(root + "/game/setting.ini"));
    std::error_code error;
    std::filesystem::remove_all(root, error);
}
