// The real program on the defence stage at double speed under recorded input, ended by SIGTERM while every
// core is busy: no pass after the one under way is drawn, the process ends with status 0, and the options
// and progress are still written on the way out.
#include "support/GameRun.h"
#include "support/KvBusyCores.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace
{

// Only a hang is judged by the clock: on a loaded machine the teardown and the syncs of the exit writes
// alone have taken 17 s, while passes drawn on after the signal show in the captures however long they
// take. The time each attempt took is printed.
constexpr std::chrono::seconds kHangBound{180};

// A run that draws on past the signal does so at every attempt, wherever the stop lands; each attempt is a
// whole start-up of the program, which takes seconds, and more than ten on a busy machine.
constexpr int kAttempts = 4;

// The passes the script captures.
constexpr int kFirstCapture = 400;
constexpr int kLastCapture = 999;

// The highest pass of the script's captures ("c<pass>.png") written so far, 0 when none.
int LastCapture(const GameRun& run)
{
    int last = 0;
    for (int pass = kFirstCapture; pass <= kLastCapture; ++pass)
        if (std::filesystem::exists(run.Path("c" + std::to_string(pass) + ".png")))
            last = pass;
    return last;
}

} // namespace

// Each attempt stops the program at some point of a pass, sends the signal and lets it go on: no pass after
// the one under way is drawn out (each pass's capture tells which passes were; the capture file is made
// first, so the one being written when the program stopped counts as written), and the process ends by
// itself with status 0.
TEST(GameDefenceSignalRun, SigtermOnABusyMachineEndsADoubleSpeedRunAfterThePassUnderWay)
{
    namespace fs = std::filesystem;
    GameRun run("signal");
    ASSERT_TRUE(run.Generate());
    std::ofstream(run.GameDir() + "/zor_defence.flag") << "1\n";
    // The opening banner clicked away, normal then double speed, then a capture at every pass. The script
    // has no end of its own: the signal ends the run.
    std::string script = "90 click 512 384\n340 key X\n350 key C\n";
    for (int pass = kFirstCapture; pass <= kLastCapture; ++pass)
        script += std::to_string(pass) + " capture c" + std::to_string(pass) + ".png\n";
    const std::string options = run.SaveDir() + "/userconf.dat";
    const std::string progress = run.SaveDir() + "/permanent.dat";
    for (int attempt = 0; attempt < kAttempts; ++attempt)
    {
        std::error_code error;
        for (int pass = kFirstCapture; pass <= kLastCapture; ++pass)
            fs::remove(run.Path("c" + std::to_string(pass) + ".png"), error);
        fs::remove(options, error);
        fs::remove(progress, error);
        const pid_t child = run.Start(script);
        ASSERT_GT(child, 0);
        const auto startLimit = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (LastCapture(run) == 0 && std::chrono::steady_clock::now() < startLimit)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (LastCapture(run) == 0)
        {
            run.Finish(child, std::chrono::milliseconds(0));
            FAIL() << "the stage never ran, attempt " << attempt;
        }
        int stoppedAt = 0;
        std::chrono::steady_clock::duration took{};
        GameRun::Result result;
        {
            KvBusyCores busy(std::chrono::seconds(30));
            // The stop lands at a different point of a pass each time.
            std::this_thread::sleep_for(std::chrono::milliseconds(200 + attempt * 83));
            kill(child, SIGSTOP);
            int status = 0;
            if (waitpid(child, &status, WUNTRACED) != child || !WIFSTOPPED(status))
                FAIL() << "the program ended before the signal, attempt " << attempt;
            stoppedAt = LastCapture(run);
            kill(child, SIGTERM);
            const auto resumed = std::chrono::steady_clock::now();
            kill(child, SIGCONT);
            result = run.Finish(child, kHangBound);
            took = std::chrono::steady_clock::now() - resumed;
        }
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(took).count();
        ASSERT_LT(stoppedAt, kLastCapture) << "the script ran out before the signal";
        // The pass under way may still write its capture when it was past its frame; none after it does.
        EXPECT_LE(LastCapture(run), stoppedAt + 1) << "attempt " << attempt;
        EXPECT_EQ(result.exitCode, 0) << "attempt " << attempt;
        EXPECT_FALSE(result.timedOut) << "still running " << kHangBound.count() << " s after the signal, attempt "
                                      << attempt;
        EXPECT_TRUE(fs::exists(options)) << "attempt " << attempt;
        EXPECT_TRUE(fs::exists(progress)) << "attempt " << attempt;
        std::cout << "[ signal  ] attempt " << attempt << ": stopped at pass " << stoppedAt << ", gone after " << ms
                  << " ms" << std::endl;
    }
    EXPECT_EQ(run.ReadSaveText("error.log"), "");
}
