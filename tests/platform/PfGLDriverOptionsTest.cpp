// The software rasteriser's options as the program runs with them: no worker threads, whose late writes to
// freed fences corrupt the heap on a busy machine.
#include "platform/PfGLDriverOptions.h"
#include "support/GameRun.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace
{

// The rasteriser names its workers "llvmpipe-0", "llvmpipe-1", ...: how many of the process's threads
// carry such a name.
int RasterizerWorkers(pid_t pid)
{
    namespace fs = std::filesystem;
    int workers = 0;
    std::error_code error;
    for (const fs::directory_entry& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", error))
    {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        if (std::getline(comm, name) && name.rfind("llvmpipe-", 0) == 0)
            ++workers;
    }
    return workers;
}

} // namespace

// The program started as the tests start it (the offscreen video driver, which is the software rasteriser
// where no graphics hardware is exposed), with no worker count in its environment (empty is the driver's
// "unset"; the test process's own may have been set by an earlier case): once it has drawn its first
// frames, none of its threads is a rasteriser worker.
TEST(PfGLDriverOptions, TheProgramDrawsWithoutRasterizerWorkerThreads)
{
    GameRun run("lpthreads");
    ASSERT_TRUE(run.Generate());
    const pid_t child = run.Start("30 capture first.png\n", {{PfGLDriverOptions::kRasterizerThreads, ""}});
    ASSERT_GT(child, 0);
    // Only a hang is judged by the clock: a loaded machine takes many seconds over the start-up.
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!std::filesystem::exists(run.Path("first.png")) && std::chrono::steady_clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const bool drawn = std::filesystem::exists(run.Path("first.png"));
    const int workers = RasterizerWorkers(child);
    kill(child, SIGTERM);
    const GameRun::Result result = run.Finish(child, std::chrono::seconds(180));
    ASSERT_TRUE(drawn) << "the program never drew its first frames";
    EXPECT_EQ(workers, 0);
    EXPECT_EQ(result.exitCode, 0);
}
