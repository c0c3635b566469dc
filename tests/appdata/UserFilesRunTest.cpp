// The player's files across real runs of the program, headless: what a test wrote is read at start-up
// and written back unchanged at shut-down; a damaged progress file is kept aside and the run goes on.
#include "UserFileTestSupport.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserDataPerman.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

bool WaitFor(const std::function<bool()>& ready)
{
    for (int i = 0; i < 1500 && !ready(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return ready();
}

// Starts the program in game/ under the folder until the device log has its survey, then lets it run a
// moment and ends it with SIGTERM; the exit code, or -1.
int RunOnce(const fs::path& exe, const fs::path& temp, bool& stillRunning)
{
    const fs::path deviceLog = temp / "game" / "Kestrelvane_SAVE" / "device.log";
    fs::remove(deviceLog);
    const pid_t pid = fork();
    if (pid == 0)
    {
        const int fd = open((temp / "run.err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, 1);
        dup2(fd, 2);
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("XDG_RUNTIME_DIR", temp.c_str(), 1);
        setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        if (chdir((temp / "game").c_str()) == 0)
            execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
        _exit(121);
    }
    WaitFor([&] { return fs::exists(deviceLog) && fs::file_size(deviceLog) > 2; });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    stillRunning = waitpid(pid, nullptr, WNOHANG) == 0;
    kill(pid, SIGTERM);
    int status = 0;
    if (!WaitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }))
    {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(UserFilesRun, OptionsAndProgressSurviveARunAndDamagedProgressIsKeptAside)
{
    const char* tools = std::getenv("KV_TOOLS_DIR");
    const fs::path exe = tools ? fs::path(tools).parent_path() / "src" / "kestrelvane" : fs::path();
    if (exe.empty() || !fs::exists(exe))
        GTEST_SKIP() << "the kestrelvane program is not built";
    dbtest::TempFolder temp;
    const fs::path save = temp.Path() / "game" / "Kestrelvane_SAVE";
    fs::create_directories(save);
    std::ofstream(temp.Path() / "game" / "setting.ini") << "SaveToMyDocuments=0\r\n";
    auto file = [&](const char* name) { return GxString::FromUtf8((save / name).string()); };

    GxUserConfig options;
    options.m_Volume_BGM = 50;
    options.m_LastGameDataFileNum = 3;
    ASSERT_TRUE(options.Save(file("userconf.dat")));
    GxUserDataPerman progress(nullptr);
    progress.SetReadedMessage(40, L"main");
    progress.m_ExtraOption.Set(10, true);
    ASSERT_TRUE(progress.Save(file("permanent.dat"), true));
    const std::string optionBytes = usertest::ReadBytes(file("userconf.dat"));
    const std::string progressBytes = usertest::ReadBytes(file("permanent.dat"));
    bool running = false;
    EXPECT_EQ(RunOnce(exe, temp.Path(), running), 0)
        << usertest::ReadBytes(GxString::FromUtf8((temp.Path() / "run.err").string()));
    EXPECT_TRUE(usertest::ReadBytes(file("userconf.dat")) == optionBytes);
    EXPECT_TRUE(usertest::ReadBytes(file("permanent.dat")) == progressBytes);

    // Half a progress file: logged, kept under the backup name, the run goes on and ends with a fresh file.
    const std::string damaged = progressBytes.substr(0, progressBytes.size() / 2);
    dbtest::WriteBytes(file("permanent.dat"), damaged);
    EXPECT_EQ(RunOnce(exe, temp.Path(), running), 0);
    EXPECT_TRUE(running);
    EXPECT_TRUE(usertest::ReadBytes(file("permanent.dat.damaged")) == damaged);
    EXPECT_NE(usertest::ReadBytes(file("error.log")).find(GxString::ToUtf16LE(L"permanent.dat.damaged")),
              std::string::npos);
    GxUserDataPerman fresh(nullptr);
    EXPECT_TRUE(fresh.Load(file("permanent.dat")));
    EXPECT_TRUE(fresh.m_ReadedMessageFlags.empty());
}
