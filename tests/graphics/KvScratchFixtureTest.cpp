// The scratch fixture's own promise: its folder, and the test process's log folder, go however the process
// ends.
#include "GraphicsTestSupport.h"

#include "support/KvScopedEnv.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>

// A test process killed by the runner's time limit (SIGKILL) runs no TearDown and no exit handler; its two
// folders are removed a moment later all the same. The case runs this program again on itself alone, as
// the process that is killed: that copy names its folders in the report file and waits.
TEST_F(KvScratchFixture, AKilledTestProcessLeavesNeitherItsLogsNorItsScratchFolder)
{
    if (const char* report = std::getenv("KV_KILLED_CASE_REPORT"))
    {
        std::ofstream(std::string(report) + ".part")
            << std::filesystem::path(GxString::ToUtf8(m_SavedError)).parent_path().string() << "\n"
            << m_Dir << "\n";
        std::filesystem::rename(std::string(report) + ".part", report);
        std::this_thread::sleep_for(std::chrono::minutes(5));
        return;
    }
    const std::string report = Path("killed.txt");
    KvScopedEnv reportTo("KV_KILLED_CASE_REPORT", report.c_str());
    const ::testing::TestInfo* self = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter = std::string("--gtest_filter=") + self->test_suite_name() + "." + self->name();
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child == 0)
    {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execl("/proc/self/exe", "kv_killed_case", filter.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(child, 0);
    // Only a hang is judged by the clock.
    auto waitFor = [](const std::function<bool()>& done)
    {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (!done() && std::chrono::steady_clock::now() < limit)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return done();
    };
    const bool named = waitFor([&] { return std::filesystem::exists(report); });
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    ASSERT_TRUE(named) << "the copy never named its folders";
    std::string logs, scratch;
    std::ifstream(report) >> logs >> scratch;
    ASSERT_NE(logs.find("kvlogs-"), std::string::npos) << logs;
    ASSERT_NE(scratch.find("kvgfx"), std::string::npos) << scratch;
    EXPECT_TRUE(waitFor([&] { return !std::filesystem::exists(logs) && !std::filesystem::exists(scratch); }))
        << logs << " and " << scratch << " stay";
}
