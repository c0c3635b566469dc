// The player's files across a real run of the program, headless: what a test wrote is read at start-up
// and written back unchanged at shut-down; a damaged progress file is kept aside and the run goes on.
#include "UserFileTestSupport.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserDataPerman.h"

#include <gtest/gtest.h>

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

fs::path ProgramPath()
{
    if (const char* tools = std::getenv("KV_TOOLS_DIR"))
        return fs::path(tools).parent_path() / "src" / "kestrelvane";
    return {};
}

bool WaitFor(const std::function<bool()>& ready, std::chrono::seconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end)
    {
        if (ready())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return ready();
}

// Starts the program in the folder, headless, and ends it with SIGTERM; the exit code.
class ProgramRun
{
public:
    ProgramRun(const fs::path& exe, const fs::path& folder, const fs::path& temp)
    {
        m_Pid = fork();
        if (m_Pid == 0)
        {
            if (chdir(folder.c_str()) != 0)
                _exit(120);
            const int fd = open((temp / "run.err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(fd, 1);
            dup2(fd, 2);
            setenv("SDL_VIDEODRIVER", "offscreen", 1);
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            setenv("XDG_RUNTIME_DIR", temp.c_str(), 1);
            setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
            execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
            _exit(121);
        }
    }
    ~ProgramRun()
    {
        if (m_Pid > 0)
        {
            kill(m_Pid, SIGKILL);
            waitpid(m_Pid, nullptr, 0);
        }
    }
    bool Running() const { return waitpid(m_Pid, nullptr, WNOHANG) == 0; }
    int Stop()
    {
        kill(m_Pid, SIGTERM);
        int status = 0;
        for (int i = 0; i < 3000 && waitpid(m_Pid, &status, WNOHANG) == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        m_Pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_Pid = -1;
};

class UserFilesRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_Exe = ProgramPath();
        if (m_Exe.empty() || !fs::exists(m_Exe))
            GTEST_SKIP() << "the kestrelvane program is not built";
        char pattern[] = "/tmp/kv_userfiles_XXXXXX";
        m_Temp = mkdtemp(pattern);
        m_Save = m_Temp / "game" / "Kestrelvane_SAVE";
        fs::create_directories(m_Save);
        std::ofstream(m_Temp / "game" / "setting.ini") << "SaveToMyDocuments=0\r\n";
    }
    void TearDown() override
    {
        if (!m_Temp.empty())
            fs::remove_all(m_Temp);
    }
    std::wstring Wide(const char* name) const { return GxString::FromUtf8((m_Save / name).string()); }
    // Start-up has read the files once the debug log exists and the device survey has settled.
    bool Started() const
    {
        return WaitFor([&] { return fs::exists(m_Save / "device.log") && fs::file_size(m_Save / "device.log") > 2; },
                       std::chrono::seconds(30));
    }

    fs::path m_Exe;
    fs::path m_Temp;
    fs::path m_Save;
};

} // namespace

TEST_F(UserFilesRun, OptionsAndProgressSurviveARun)
{
    GxUserConfig options;
    options.m_Volume_BGM = 50;
    options.m_AllowSkipUnreadText = true;
    options.m_LastGameDataFileNum = 3;
    ASSERT_TRUE(options.Save(Wide("userconf.dat")));
    GxUserDataPerman progress(nullptr);
    progress.SetReadedMessage(40, L"main");
    progress.m_ExtraOption.Set(10, true);
    ASSERT_TRUE(progress.Save(Wide("permanent.dat"), true));
    const std::string optionBytes = usertest::ReadBytes(Wide("userconf.dat"));
    const std::string progressBytes = usertest::ReadBytes(Wide("permanent.dat"));

    ProgramRun run(m_Exe, m_Temp / "game", m_Temp);
    ASSERT_TRUE(Started()) << usertest::ReadBytes(GxString::FromUtf8((m_Temp / "run.err").string()));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(run.Stop(), 0);
    EXPECT_TRUE(usertest::ReadBytes(Wide("userconf.dat")) == optionBytes);
    EXPECT_TRUE(usertest::ReadBytes(Wide("permanent.dat")) == progressBytes);
}

TEST_F(UserFilesRun, DamagedProgressIsKeptAsideAndTheRunGoesOn)
{
    GxUserDataPerman progress(nullptr);
    progress.SetReadedMessage(40, L"main");
    ASSERT_TRUE(progress.Save(Wide("permanent.dat"), true));
    std::string damaged = usertest::ReadBytes(Wide("permanent.dat"));
    damaged.resize(damaged.size() / 2);
    dbtest::WriteBytes(Wide("permanent.dat"), damaged);

    ProgramRun run(m_Exe, m_Temp / "game", m_Temp);
    ASSERT_TRUE(Started());
    ASSERT_TRUE(WaitFor([&] { return fs::exists(m_Save / "permanent.dat.damaged"); }, std::chrono::seconds(30)));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(run.Running());
    EXPECT_EQ(run.Stop(), 0);
    EXPECT_TRUE(usertest::ReadBytes(Wide("permanent.dat.damaged")) == damaged);
    const std::string log = usertest::ReadBytes(Wide("error.log"));
    EXPECT_NE(log.find(GxString::ToUtf16LE(L"permanent.dat.damaged")), std::string::npos);
    // A fresh, loadable progress file took its place at shut-down.
    GxUserDataPerman fresh(nullptr);
    EXPECT_TRUE(fresh.Load(Wide("permanent.dat")));
    EXPECT_TRUE(fresh.m_ReadedMessageFlags.empty());
}
