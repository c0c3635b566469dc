// The program's message boxes on a real X server, where SDL draws them from a child process it forks:
// a box goes with the program that shows it, and no such child keeps the single-instance lock. Real copies
// of the program on the sample game, on an Xvfb of the test's own (KvXServer), each copy in a process group
// of its own so the test sees every process it left.
#include "support/GameRun.h"
#include "support/KvXServer.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/file.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{

// The processes of a process group.
std::vector<pid_t> GroupMembers(pid_t group)
{
    std::vector<pid_t> members;
    DIR* proc = opendir("/proc");
    if (!proc)
        return members;
    while (dirent* entry = readdir(proc))
    {
        const pid_t pid = static_cast<pid_t>(std::atoi(entry->d_name));
        if (pid <= 0)
            continue;
        // One line; a process that ends between the open and the read fails the read (no exception, as a
        // stream iterator would throw) and is passed over.
        std::ifstream stat("/proc/" + std::string(entry->d_name) + "/stat");
        std::string text;
        if (!std::getline(stat, text))
            continue;
        // pid (comm) state ppid pgrp ...: the name may hold blanks, so fields are read after its ")".
        const size_t close = text.rfind(')');
        if (close == std::string::npos)
            continue;
        char state = 0;
        int parent = 0, pgrp = 0;
        if (std::sscanf(text.c_str() + close + 1, " %c %d %d", &state, &parent, &pgrp) == 3 && pgrp == group &&
            state != 'Z')
            members.push_back(pid);
    }
    closedir(proc);
    return members;
}

// How long a program and its box may take to go after a kill or a signal. A box left waiting for its click
// never goes; a loaded machine has taken many seconds over an exit's teardown and file syncs.
constexpr int kEndSeconds = 120;

bool WaitFor(const std::function<bool()>& ready, int seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!ready())
    {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// A copy of the program on the X server (no input script: it runs as a player starts it), in a process
// group of its own, its output in the scratch folder.
pid_t StartCopy(const GameRun& run, const std::string& outName)
{
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry)
    {
        const std::string text = *entry;
        const std::string key = text.substr(0, text.find('='));
        if (key != "HOME" && key != "XDG_RUNTIME_DIR" && key != "XDG_DOCUMENTS_DIR" && key != "SDL_AUDIODRIVER" &&
            key != "KV_INPUT_SCRIPT" && key != "ASAN_OPTIONS")
            variables.push_back(text);
    }
    const char* asan = std::getenv("ASAN_OPTIONS");
    variables.push_back("ASAN_OPTIONS=" + std::string(asan && *asan ? std::string(asan) + ":" : "") + "detect_leaks=0");
    variables.push_back("HOME=" + run.HomeDir());
    variables.push_back("XDG_RUNTIME_DIR=" + run.Path("run"));
    variables.push_back("XDG_DOCUMENTS_DIR=" + run.HomeDir() + "/Documents");
    variables.push_back("SDL_AUDIODRIVER=dummy");
    std::vector<char*> envp;
    for (std::string& text : variables)
        envp.push_back(text.data());
    envp.push_back(nullptr);
    std::string program = std::getenv("KV_GAME_EXE") ? std::getenv("KV_GAME_EXE") : "";
    char* argv[] = {program.data(), nullptr};
    const std::string gameDir = run.GameDir(), outPath = run.Path(outName);
    const pid_t child = fork();
    if (child == 0)
    {
        setpgid(0, 0);
        if (chdir(gameDir.c_str()) != 0)
            _exit(126);
        if (FILE* out = std::freopen(outPath.c_str(), "w", stdout))
            dup2(fileno(out), STDERR_FILENO);
        execve(program.c_str(), argv, envp.data());
        _exit(127);
    }
    if (child > 0)
        setpgid(child, child);
    return child;
}

// True when some process holds a lock file of the folder (the run's runtime folder, its save folder).
bool LockHeld(const std::string& path)
{
    DIR* folder = opendir(path.c_str());
    if (!folder)
        return false;
    bool held = false;
    while (dirent* entry = readdir(folder))
    {
        const std::string name = entry->d_name;
        if (name.size() < 5 || name.substr(name.size() - 5) != ".lock")
            continue;
        const int fd = open((path + "/" + name).c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (flock(fd, LOCK_EX | LOCK_NB) != 0)
            held = true;
        close(fd);
    }
    closedir(folder);
    return held;
}

// Ends whatever is left of a copy (so a failed case leaves no box behind) and reaps the copy.
void EndGroup(pid_t group)
{
    kill(-group, SIGKILL);
    int status = 0;
    waitpid(group, &status, WNOHANG);
}

int WaitExit(pid_t pid, int seconds)
{
    int status = 0;
    if (!WaitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }, seconds))
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string Output(const GameRun& run, const std::string& name)
{
    std::ifstream in(run.Path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class MessageBoxOnX : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!m_Server.Start(1024, 768))
            GTEST_SKIP() << "no X server to test on: " << m_Server.Why();
        ASSERT_TRUE(m_Run.Generate());
    }
    KvXServer m_Server;
    GameRun m_Run{"msgbox"};
};

} // namespace

// The first run makes the save folder and says so in a box, holding the single-instance lock. Killed while
// the box is open, it leaves nothing behind: the box's process goes with it, and the next copy starts.
TEST_F(MessageBoxOnX, AKilledCopyTakesItsBoxAndItsLockWithIt)
{
    const pid_t first = StartCopy(m_Run, "first.log");
    ASSERT_GT(first, 0);
    const bool boxShown = WaitFor([&] { return GroupMembers(first).size() >= 2; }, 60);
    EXPECT_TRUE(boxShown) << "no box process: " << Output(m_Run, "first.log");
    EXPECT_TRUE(LockHeld(m_Run.Path("run")));
    // The folder just made is locked before the box waits: a copy started meanwhile from another session
    // is kept out of it.
    EXPECT_TRUE(LockHeld(m_Run.SaveDir()));
    kill(first, SIGKILL);
    EXPECT_EQ(WaitExit(first, kEndSeconds), 128 + SIGKILL);
    EXPECT_TRUE(WaitFor([&] { return GroupMembers(first).empty(); }, kEndSeconds)) << "the box outlived its program";
    EXPECT_FALSE(LockHeld(m_Run.Path("run"))) << "a child of the killed copy holds the lock";
    EXPECT_FALSE(LockHeld(m_Run.SaveDir())) << "a child of the killed copy holds the save folder's lock";
    EndGroup(first);

    // The next copy is not refused: it runs and ends by its script.
    const GameRun::Result next = m_Run.Run("120 close\n160 click 436 304\n", {}, 120);
    EXPECT_FALSE(next.timedOut);
    EXPECT_EQ(next.exitCode, 0);
    const std::string output = Output(m_Run, "stdout.log");
    EXPECT_EQ(output.find("既に起動中です"), std::string::npos) << output;
}

// The first run's box saying the save folder was made waits for a click; a SIGTERM while it is open (a
// logout, a service stop) ends the program at once with status 0, and the box goes with it.
TEST_F(MessageBoxOnX, AFirstRunsBoxGoesWithItsSignal)
{
    const pid_t first = StartCopy(m_Run, "first.log");
    ASSERT_GT(first, 0);
    ASSERT_TRUE(WaitFor([&] { return GroupMembers(first).size() >= 2; }, 60))
        << "no box process: " << Output(m_Run, "first.log");
    ASSERT_EQ(access(m_Run.SaveDir().c_str(), F_OK), 0) << "the box came before the save folder was made";
    kill(first, SIGTERM);
    EXPECT_EQ(WaitExit(first, kEndSeconds), 0) << "still running " << kEndSeconds << " s after the signal";
    EXPECT_TRUE(WaitFor([&] { return GroupMembers(first).empty(); }, kEndSeconds)) << "the box outlived its program";
    EndGroup(first);
}

// A second copy says "already running" in a box; ended by SIGTERM while the box is open (status 0), it
// takes the box with it. The first copy goes on and ends by SIGTERM too.
TEST_F(MessageBoxOnX, ASecondCopysBoxGoesWithItsSignal)
{
    // A first run makes the save folder (its box written to the output, off the server).
    ASSERT_EQ(m_Run.Run("120 close\n160 click 436 304\n", {}, 120).exitCode, 0);
    const pid_t first = StartCopy(m_Run, "first.log");
    ASSERT_GT(first, 0);
    ASSERT_TRUE(WaitFor([&] { return LockHeld(m_Run.Path("run")); }, 60)) << Output(m_Run, "first.log");
    const pid_t second = StartCopy(m_Run, "second.log");
    ASSERT_GT(second, 0);
    EXPECT_TRUE(WaitFor([&] { return GroupMembers(second).size() >= 2; }, 60))
        << "no box process: " << Output(m_Run, "second.log");
    kill(second, SIGTERM);
    EXPECT_EQ(WaitExit(second, kEndSeconds), 0);
    EXPECT_TRUE(WaitFor([&] { return GroupMembers(second).empty(); }, kEndSeconds)) << "the box outlived its program";
    EndGroup(second);
    kill(first, SIGTERM);
    EXPECT_EQ(WaitExit(first, kEndSeconds), 0) << Output(m_Run, "first.log");
    EndGroup(first);
}
