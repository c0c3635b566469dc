// Runs the built program headless from a temporary installation folder, as a player would start it.
#include "FileTestSupport.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxCore.h"
#include "core/GxString.h"
#include "support/KvFolderGuard.h"
#include "support/KvSignalName.h"
#include "support/SampleGameCache.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <vector>
#include <unistd.h>

namespace fs = std::filesystem;

// Set when a started program was ended by a signal: the case's folder, with the program's output and logs,
// stays for reading.
static bool s_KeepFolder = false;

// How long a start-up step or an exit may take before the program counts as hung. Only a hang is judged by
// the clock: a loaded machine has taken 17 s over an exit's teardown and file syncs.
constexpr std::chrono::seconds kPatience{120};

// A started copy of the program, its standard error going to a file.
class RunningProgram
{
public:
    RunningProgram(const fs::path& exe, const fs::path& folder, const fs::path& runtimeDir, const fs::path& errFile,
                   const char* videoDriver = "offscreen", const char* home = nullptr)
        : m_ErrFile(errFile)
    {
        const pid_t parent = getpid();
        m_Pid = fork();
        if (m_Pid == 0)
        {
            // It dies with a test process killed by the runner's time limit.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (getppid() != parent)
                _exit(122);
            // A runner started by nohup ignores hang-ups, and so would the program.
            signal(SIGHUP, SIG_DFL);
            if (chdir(folder.c_str()) != 0)
                _exit(120);
            int fd = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(fd, 2);
            dup2(fd, 1);
            setenv("SDL_VIDEODRIVER", videoDriver, 1);
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);
            if (home)
            {
                setenv("HOME", home, 1);
                unsetenv("XDG_CONFIG_HOME");
                unsetenv("XDG_DOCUMENTS_DIR");
            }
            // No leak check at exit: the GL driver unloads itself before it, leaving reports that name no
            // module and cannot be suppressed; the engine's own code is leak-checked by the unit tests.
            setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
            execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
            _exit(121);
        }
    }
    ~RunningProgram()
    {
        if (m_Pid > 0 && !m_Done)
        {
            kill(m_Pid, SIGKILL);
            waitpid(m_Pid, nullptr, 0);
        }
    }
    // Waits for the end up to the time given; the exit code, or -1 when still running or killed. A program
    // ended by a signal is a failure that names it.
    int WaitExit(std::chrono::milliseconds limit)
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end)
        {
            int status = 0;
            if (waitpid(m_Pid, &status, WNOHANG) == m_Pid)
            {
                m_Done = true;
                if (WIFSIGNALED(status))
                {
                    s_KeepFolder = true;
                    ADD_FAILURE() << "the program was ended by " << KvSignalName(WTERMSIG(status))
                                  << "; its folder is kept: " << m_ErrFile.parent_path().string();
                }
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return -1;
    }
    pid_t m_Pid = -1;
    bool m_Done = false;
    fs::path m_ErrFile;
};

class KestrelvaneRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_Exe = std::getenv("KV_GAME_EXE"); // the test main always sets it
        if (!fs::exists(m_Exe))
            GTEST_SKIP() << "the kestrelvane program is not built";
        char pattern[] = "/tmp/kv_run_XXXXXX";
        m_Temp = mkdtemp(pattern);
        m_Guard.emplace(m_Temp.string());
        m_Install = m_Temp / "game";
        m_Runtime = m_Temp / "runtime";
        fs::create_directories(m_Install);
        fs::create_directories(m_Runtime);
    }
    void TearDown() override
    {
        if (!m_Temp.empty() && !s_KeepFolder)
            fs::remove_all(m_Temp);
        s_KeepFolder = false;
        m_Guard.reset();
    }
    static bool WaitFor(const std::function<bool()>& ready, std::chrono::milliseconds limit)
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end)
        {
            if (ready())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return ready();
    }
    // How many runs came through start-up with this save folder: each writes its line to "debug.log",
    // which grows across runs.
    static size_t StartUps(const fs::path& save)
    {
        const std::string log = KvFileBytes(save / "debug.log");
        const std::string line = GxString::ToUtf16LE(L"GxCore::Initialize/起動しました");
        size_t count = 0;
        for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + line.size()))
            ++count;
        return count;
    }
    // Starts the program in the folder, lets start-up finish (the player's files are read then, and the
    // start-up's line is in the save folder's "debug.log") and the loop run a while, then ends it with
    // SIGTERM (or the signal given): it must still be running then and end with code 0.
    void RunAWhile(const fs::path& folder, const fs::path& save, const std::string& err, const char* home = nullptr,
                   int sig = SIGTERM)
    {
        const size_t before = StartUps(save);
        RunningProgram run(m_Exe, folder, m_Runtime, m_Temp / err, "offscreen", home);
        ASSERT_TRUE(WaitFor([&] { return StartUps(save) > before; }, kPatience)) << KvFileBytes(m_Temp / err);
        ASSERT_EQ(run.WaitExit(std::chrono::milliseconds(300)), -1) << KvFileBytes(m_Temp / err);
        kill(run.m_Pid, sig);
        EXPECT_EQ(run.WaitExit(kPatience), 0) << KvFileBytes(m_Temp / err);
    }

    fs::path m_Exe;
    fs::path m_Temp;
    std::optional<KvFolderGuard> m_Guard;
    fs::path m_Install;
    fs::path m_Runtime;
};

TEST_F(KestrelvaneRun, MakesItsSaveFolderAndLogsAndEndsCleanlyOnSigterm)
{
    std::ofstream(m_Install / "setting.ini") << "SaveToMyDocuments=0\r\n";
    const fs::path save = m_Install / "Kestrelvane_SAVE";
    const char* logs[] = {"debug.log", "error.log", "device.log"};

    RunningProgram first(m_Exe, m_Install, m_Runtime, m_Temp / "first.err");
    ASSERT_TRUE(WaitFor(
        [&]
        {
            // A log exists a moment before its byte-order mark is written.
            std::error_code error;
            for (const char* log : logs)
                if (fs::file_size(save / log, error) < 2 || error)
                    return false;
            return true;
        },
        kPatience))
        << KvFileBytes(m_Temp / "first.err");
    for (const char* log : logs)
        EXPECT_EQ(KvFileBytes(save / log).substr(0, 2), "\xFF\xFE") << log;
    // Start-up is over when the device surveys in "device.log" (graphics, then sound, whose device takes
    // a moment to open on a loaded machine) have stopped growing for 600 ms; then the main loop runs a
    // while.
    uintmax_t lastSize = 0;
    int stableReadings = 0;
    ASSERT_TRUE(WaitFor(
        [&]
        {
            const uintmax_t size = fs::file_size(save / "device.log");
            stableReadings = size > 2 && size == lastSize ? stableReadings + 1 : 0;
            lastSize = size;
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
            return stableReadings >= 4;
        },
        kPatience));
    ASSERT_EQ(first.WaitExit(std::chrono::milliseconds(0)), -1) << KvFileBytes(m_Temp / "first.err");

    // A second copy from the same folder says so and ends without touching the logs.
    const auto before = fs::last_write_time(save / "error.log");
    const auto sizeBefore = fs::file_size(save / "device.log");
    {
        RunningProgram second(m_Exe, m_Install, m_Runtime, m_Temp / "second.err");
        EXPECT_EQ(second.WaitExit(kPatience), 0);
    }
    EXPECT_NE(KvFileBytes(m_Temp / "second.err").find("既に起動中です"), std::string::npos)
        << KvFileBytes(m_Temp / "second.err");
    EXPECT_EQ(fs::last_write_time(save / "error.log"), before);
    EXPECT_EQ(fs::file_size(save / "device.log"), sizeBefore);

    const auto sent = std::chrono::steady_clock::now();
    kill(first.m_Pid, SIGTERM);
    // The bound only catches a hang: a loaded machine may take longer than the usual tens of
    // milliseconds, and the shut-down time is recorded rather than asserted.
    EXPECT_EQ(first.WaitExit(kPatience), 0) << KvFileBytes(m_Temp / "first.err");
    RecordProperty(
        "ShutDownMilliseconds",
        static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - sent).count()));
}

// A copy started from another session (over ssh: another runtime folder, or none) on the same save folder
// would write back at its end the progress it read at its start over the first copy's: it says so and
// ends before it reads or logs anything, and the first copy's progress is what its own end writes.
TEST_F(KestrelvaneRun, ACopyFromAnotherSessionOnTheSameSaveFolderIsRefused)
{
    std::ofstream(m_Install / "setting.ini") << "SaveToMyDocuments=0\r\n";
    const fs::path save = m_Install / "Kestrelvane_SAVE";
    fs::create_directories(save);
    GxUserDataPerman progress(nullptr);
    progress.SetReadedMessage(40, L"main");
    ASSERT_TRUE(progress.Save(GxString::FromUtf8((save / "permanent.dat").string()), true));
    const std::string progressBytes = KvFileBytes(save / "permanent.dat");

    RunningProgram first(m_Exe, m_Install, m_Runtime, m_Temp / "first.err");
    ASSERT_TRUE(WaitFor([&] { return StartUps(save) == 1; }, kPatience)) << KvFileBytes(m_Temp / "first.err");
    const fs::path otherRuntime = m_Temp / "other-runtime";
    fs::create_directories(otherRuntime);
    {
        RunningProgram second(m_Exe, m_Install, otherRuntime, m_Temp / "second.err");
        // It ends, or (let in) comes through start-up: whichever comes first.
        int code = -1;
        ASSERT_TRUE(WaitFor(
            [&]
            {
                code = second.WaitExit(std::chrono::milliseconds(1));
                return code != -1 || StartUps(save) > 1;
            },
            kPatience));
        EXPECT_EQ(code, 0);
        EXPECT_EQ(StartUps(save), 1u);
    }
    EXPECT_NE(KvFileBytes(m_Temp / "second.err").find("既に起動中です"), std::string::npos)
        << KvFileBytes(m_Temp / "second.err");

    kill(first.m_Pid, SIGTERM);
    EXPECT_EQ(first.WaitExit(kPatience), 0) << KvFileBytes(m_Temp / "first.err");
    EXPECT_TRUE(KvFileBytes(save / "permanent.dat") == progressBytes);
}

// A save folder whose lock file cannot be opened (a folder stands under its name): the run goes on, and
// the error log names the file and the reason.
TEST_F(KestrelvaneRun, ASaveFolderLockThatCannotBeOpenedIsLogged)
{
    std::ofstream(m_Install / "setting.ini") << "SaveToMyDocuments=0\r\n";
    const fs::path save = m_Install / "Kestrelvane_SAVE";
    const fs::path lock = save / GxCore::kSaveFolderLockName;
    fs::create_directories(lock);
    RunAWhile(m_Install, save, "run.err");
    const std::string log = KvFileBytes(save / "error.log");
    const std::wstring named = L"ロックファイルを使えません(" + GxString::FromUtf8(lock.string()) + L": ";
    EXPECT_NE(log.find(GxString::ToUtf16LE(named)), std::string::npos)
        << GxString::ToUtf8(GxString::FromUtf16LE(log.data(), log.size()));
}

TEST_F(KestrelvaneRun, RefusesAnInstallationPathLongerThan244Characters)
{
    // Grow the folder so that the current directory with its trailing "/" is 245 characters.
    fs::path folder = m_Install;
    std::string text = folder.string() + "/";
    const size_t want = 245;
    ASSERT_LT(text.size() + 2, want);
    folder /= std::string(want - text.size() - 1, 'p');
    fs::create_directories(folder);
    ASSERT_EQ(folder.string().size() + 1, want);
    std::ofstream(folder / "setting.ini") << "SaveToMyDocuments=0\n";

    {
        RunningProgram run(m_Exe, folder, m_Runtime, m_Temp / "long.err");
        EXPECT_EQ(run.WaitExit(kPatience), 0);
    }
    const std::string err = KvFileBytes(m_Temp / "long.err");
    EXPECT_NE(err.find("インストール先のパスが長すぎます"), std::string::npos) << err;
    EXPECT_NE(err.find("245"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(folder / "Kestrelvane_SAVE"));

    // One character less starts.
    fs::path shorter = m_Install / std::string(want - text.size() - 2, 'q');
    fs::create_directories(shorter);
    std::ofstream(shorter / "setting.ini") << "SaveToMyDocuments=0\n";
    RunningProgram ok(m_Exe, shorter, m_Runtime, m_Temp / "short.err");
    EXPECT_TRUE(WaitFor([&] { return fs::exists(shorter / "Kestrelvane_SAVE" / "error.log"); }, kPatience))
        << KvFileBytes(m_Temp / "short.err");
    kill(ok.m_Pid, SIGTERM);
    EXPECT_EQ(ok.WaitExit(kPatience), 0);
}

// Runs a program with its arguments quoted and waits for it; true when it ended with exit code 0.
static bool RunTool(const std::vector<std::string>& args)
{
    std::string command;
    for (const std::string& a : args)
        command += "'" + a + "' ";
    return std::system((command + "> /dev/null").c_str()) == 0;
}

TEST_F(KestrelvaneRun, SettingsFromPacksNameTheSaveFolder)
{
    const fs::path gxpack = fs::path(std::getenv("KV_TOOLS_DIR")) / "gxpack";
    // "system.gxp", scrambled, names the title, the save folder and a second pack; the second pack
    // holds "setting.ini", which puts the save folder into the installation folder.
    const fs::path sys = m_Temp / "sys";
    const fs::path data = m_Temp / "data";
    fs::create_directories(sys / "system");
    fs::create_directories(data);
    std::ofstream(sys / "system" / "sysconf.ini") << "APP_TITLE=Pack Title\r\nAPP_SAVEDIR=PackSave\r\n"
                                                     "PACK_FILE_00=data.gxp\r\n";
    std::ofstream(data / "setting.ini") << "SaveToMyDocuments=0\r\n";
    ASSERT_TRUE(RunTool({gxpack.string(), "--scramble", "-o", (m_Install / "system.gxp").string(), sys.string()}));
    ASSERT_TRUE(RunTool({gxpack.string(), "-o", (m_Install / "data.gxp").string(), data.string()}));

    RunningProgram run(m_Exe, m_Install, m_Runtime, m_Temp / "pack.err");
    EXPECT_TRUE(WaitFor([&] { return fs::exists(m_Install / "PackSave" / "device.log"); }, kPatience))
        << KvFileBytes(m_Temp / "pack.err");
    EXPECT_FALSE(fs::exists(m_Install / "Kestrelvane_SAVE"));
    // The lock is the title's.
    EXPECT_TRUE(fs::exists(m_Runtime / "Pack Title.lock"));
    kill(run.m_Pid, SIGTERM);
    EXPECT_EQ(run.WaitExit(kPatience), 0);
}

TEST_F(KestrelvaneRun, WithoutAWindowTheLoopEndsAndShutDownRuns)
{
    std::ofstream(m_Install / "setting.ini") << "SaveToMyDocuments=0\n";
    RunningProgram run(m_Exe, m_Install, m_Runtime, m_Temp / "nowindow.err", "no-such-video-driver");
    EXPECT_EQ(run.WaitExit(kPatience), 0) << KvFileBytes(m_Temp / "nowindow.err");
    EXPECT_TRUE(fs::exists(m_Install / "Kestrelvane_SAVE" / "error.log"));
}

TEST_F(KestrelvaneRun, FreshAccountGetsItsDocumentsFolderMadeWithParents)
{
    // No "setting.ini": the save folder goes under the documents folder, which does not exist yet,
    // nor does the home folder above it.
    const fs::path home = m_Temp / "home" / "player";
    RunningProgram run(m_Exe, m_Install, m_Runtime, m_Temp / "home.err", "offscreen", home.c_str());
    const fs::path save = home / "Documents" / "Kestrelvane_SAVE";
    EXPECT_TRUE(WaitFor([&] { return fs::exists(save / "error.log"); }, kPatience)) << KvFileBytes(m_Temp / "home.err");
    EXPECT_NE(
        KvFileBytes(m_Temp / "home.err").find("マイドキュメントにセーブフォルダ[Kestrelvane_SAVE]を作成しました。"),
        std::string::npos);
    kill(run.m_Pid, SIGTERM);
    EXPECT_EQ(run.WaitExit(kPatience), 0);
}

TEST_F(KestrelvaneRun, SampleGameRunsWithoutAnErrorAndKeepsFullScreenAcrossRuns)
{
    ASSERT_TRUE(kvtest::CopySampleGame(m_Install.string()));
    const fs::path home = m_Temp / "home";
    const fs::path save = home / "Documents" / "Kestrelvane_SAVE";
    auto runOnce = [&](const char* name)
    {
        RunAWhile(m_Install, save, name, home.c_str());
        EXPECT_EQ(KvFileBytes(save / "error.log"), "\xFF\xFE");
    };
    runOnce("first.err");
    // The player leaves the options saying full screen: the next run starts in it and still says so after.
    GxUserConfig options;
    ASSERT_TRUE(options.Load(GxString::FromUtf8((save / "userconf.dat").string())));
    options.m_ScreenMode = 1;
    ASSERT_TRUE(options.Save(GxString::FromUtf8((save / "userconf.dat").string())));
    runOnce("second.err");
    ASSERT_TRUE(options.Load(GxString::FromUtf8((save / "userconf.dat").string())));
    EXPECT_EQ(options.m_ScreenMode, 1);
}

// The player's files: what a test wrote is read at start-up and written back unchanged at shut-down; a
// damaged progress file is kept aside and the run goes on.
TEST_F(KestrelvaneRun, OptionsAndProgressSurviveARunAndDamagedProgressIsKeptAside)
{
    std::ofstream(m_Install / "setting.ini") << "SaveToMyDocuments=0\r\n";
    const fs::path save = m_Install / "Kestrelvane_SAVE";
    fs::create_directories(save);
    auto file = [&](const char* name) { return GxString::FromUtf8((save / name).string()); };
    GxUserConfig options;
    options.m_Volume_BGM = 50;
    options.m_LastGameDataFileNum = 3;
    ASSERT_TRUE(options.Save(file("userconf.dat")));
    GxUserDataPerman progress(nullptr);
    progress.SetReadedMessage(40, L"main");
    progress.m_ExtraOption.Set(10, true);
    ASSERT_TRUE(progress.Save(file("permanent.dat"), true));
    const std::string optionBytes = KvFileBytes(save / "userconf.dat");
    const std::string progressBytes = KvFileBytes(save / "permanent.dat");
    RunAWhile(m_Install, save, "first.err");
    EXPECT_TRUE(KvFileBytes(save / "userconf.dat") == optionBytes);
    EXPECT_TRUE(KvFileBytes(save / "permanent.dat") == progressBytes);

    // Half a progress file: logged, kept under the backup name, the run goes on and ends with a fresh file.
    const std::string damaged = progressBytes.substr(0, progressBytes.size() / 2);
    std::ofstream(save / "permanent.dat", std::ios::binary | std::ios::trunc) << damaged;
    RunAWhile(m_Install, save, "second.err");
    EXPECT_TRUE(KvFileBytes(save / "permanent.dat.damaged") == damaged);
    EXPECT_NE(KvFileBytes(save / "error.log").find(GxString::ToUtf16LE(L"permanent.dat.damaged")), std::string::npos);
    GxUserDataPerman fresh(nullptr);
    EXPECT_TRUE(fresh.Load(file("permanent.dat")));
    EXPECT_TRUE(fresh.m_ReadedMessageFlags.empty());
}

// The terminal that started the game closes (SIGHUP): the run ends as on SIGTERM, options and progress
// written on the way out.
TEST_F(KestrelvaneRun, AHangUpEndsTheRunWithTheExitWrites)
{
    std::ofstream(m_Install / "setting.ini") << "SaveToMyDocuments=0\r\n";
    const fs::path save = m_Install / "Kestrelvane_SAVE";
    RunAWhile(m_Install, save, "hangup.err", nullptr, SIGHUP);
    GxUserConfig options;
    EXPECT_TRUE(options.Load(GxString::FromUtf8((save / "userconf.dat").string())));
    GxUserDataPerman progress(nullptr);
    EXPECT_TRUE(progress.Load(GxString::FromUtf8((save / "permanent.dat").string())));
}

// Options and progress that cannot be written at a shut-down asked for by SIGTERM (each name is a link
// into a folder that is not there: nothing to read at start-up, and the write through it fails even for
// root): the log names both and the folder, and no box is shown (headless, a box's text would go to the
// program's standard error).
TEST_F(KestrelvaneRun, ExitWritesRefusedAfterSigtermAreLoggedWithoutABox)
{
    std::ofstream(m_Install / "setting.ini") << "SaveToMyDocuments=0\r\n";
    const fs::path save = m_Install / "Kestrelvane_SAVE";
    fs::create_directories(save);
    for (const char* name : {"userconf.dat", "permanent.dat"})
        fs::create_symlink(fs::path("missing") / name, save / name);
    RunAWhile(m_Install, save, "run.err");
    const std::string log = KvFileBytes(save / "error.log");
    const std::wstring line =
        L"終了時に設定と進行状況を保存できませんでした(" + GxString::FromUtf8(save.string()) + L"/)";
    EXPECT_NE(log.find(GxString::ToUtf16LE(line)), std::string::npos);
    EXPECT_EQ(KvFileBytes(m_Temp / "run.err").find("保存できませんでした"), std::string::npos)
        << KvFileBytes(m_Temp / "run.err");
}

// A documents folder that cannot be made (a plain file stands where the home folder should be): the
// player's files live in the game folder, and start-up reads them from there, where shut-down writes
// them. Options come back as saved; a damaged progress file and a damaged options file are kept aside,
// not overwritten.
TEST_F(KestrelvaneRun, WithoutASaveFolderTheFilesInTheGameFolderAreReadAndDamageKeptAside)
{
    std::ofstream(m_Temp / "blocker") << "not a folder";
    const fs::path home = m_Temp / "blocker" / "player";
    auto file = [&](const char* name) { return GxString::FromUtf8((m_Install / name).string()); };
    GxUserConfig options;
    options.m_Volume_BGM = 30;
    options.m_LastGameDataFileNum = 7;
    ASSERT_TRUE(options.Save(file("userconf.dat")));
    GxUserDataPerman progress(nullptr);
    progress.SetReadedMessage(12, L"main");
    ASSERT_TRUE(progress.Save(file("permanent.dat"), true));
    const std::string optionBytes = KvFileBytes(m_Install / "userconf.dat");
    const std::string progressBytes = KvFileBytes(m_Install / "permanent.dat");
    RunAWhile(m_Install, m_Install, "nofolder.err", home.c_str());
    EXPECT_NE(KvFileBytes(m_Temp / "nofolder.err").find("セーブフォルダの作成に失敗しました。"), std::string::npos);
    EXPECT_TRUE(KvFileBytes(m_Install / "userconf.dat") == optionBytes);
    EXPECT_TRUE(KvFileBytes(m_Install / "permanent.dat") == progressBytes);

    const std::string damagedProgress = progressBytes.substr(0, progressBytes.size() / 2);
    const std::string damagedOptions = optionBytes.substr(0, optionBytes.size() - 3);
    std::ofstream(m_Install / "permanent.dat", std::ios::binary | std::ios::trunc) << damagedProgress;
    std::ofstream(m_Install / "userconf.dat", std::ios::binary | std::ios::trunc) << damagedOptions;
    RunAWhile(m_Install, m_Install, "nofolder2.err", home.c_str());
    EXPECT_TRUE(KvFileBytes(m_Install / "permanent.dat.damaged") == damagedProgress);
    EXPECT_TRUE(KvFileBytes(m_Install / "userconf.dat.damaged") == damagedOptions);
    GxUserConfig fresh;
    ASSERT_TRUE(fresh.Load(file("userconf.dat")));
    EXPECT_EQ(fresh.m_Volume_BGM, GxUserConfig().m_Volume_BGM);
}

// Game files damaged on their way to the player (a table emptied or cut, a garbled settings file, a map
// cut short, a key file out of range): the run goes on, each file is named in the error log at start-up
// with what is wrong, and nothing the player keeps changes.
TEST_F(KestrelvaneRun, DamagedGameFilesAreNamedAtStartUpAndThePlayersFilesStay)
{
    ASSERT_TRUE(kvtest::CopySampleGame(m_Install.string()));
    const fs::path home = m_Temp / "home";
    const fs::path save = home / "Documents" / "Kestrelvane_SAVE";
    RunAWhile(m_Install, save, "clean.err", home.c_str());
    ASSERT_EQ(KvFileBytes(save / "error.log"), "\xFF\xFE");
    const std::string optionBytes = KvFileBytes(save / "userconf.dat");
    const std::string progressBytes = KvFileBytes(save / "permanent.dat");
    ASSERT_FALSE(progressBytes.empty());

    // Cut a file in the middle of a line, so that what is left ends inside it.
    auto cut = [&](const char* name)
    {
        std::string bytes = KvFileBytes(m_Install / name);
        size_t at = bytes.size() / 2;
        while (at > 0 && (bytes[at - 1] == '\n' || bytes[at - 1] == '\r' || bytes[at - 1] == '\t'))
            --at;
        std::ofstream(m_Install / name, std::ios::binary | std::ios::trunc) << bytes.substr(0, at);
    };
    std::ofstream(m_Install / "data/db_avgchar.txt", std::ios::trunc);
    cut("data/db_uilayout.txt");
    cut("data/db_zormap01.txt");
    std::ofstream(m_Install / "setting.ini", std::ios::app) << "SkipSlightErorr=0\r\n";
    std::ofstream(m_Install / "key.ini") << "[player]\n0\nkeys\n999\n";
    RunAWhile(m_Install, save, "damaged.err", home.c_str());

    const std::string log = KvFileBytes(save / "error.log");
    for (const wchar_t* line : {L"File read error:data/db_avgchar.txt (the file is empty)",
                                L"DBUILayout/data/db_uilayout.txt ends inside line", L"the file seems cut short",
                                L"ZorMapData::LoadFromFile/data/db_zormap01.txt ends inside its last row",
                                L"GxSystemConfig/setting.ini: 1 line(s) are no known \"key=value\"",
                                L"\"SkipSlightErorr\"", L"GxKeyAssignment/key.ini: 1 value line(s)"})
        EXPECT_NE(log.find(GxString::ToUtf16LE(line)), std::string::npos) << GxString::ToUtf8(line);
    EXPECT_TRUE(KvFileBytes(save / "userconf.dat") == optionBytes);
    EXPECT_TRUE(KvFileBytes(save / "permanent.dat") == progressBytes);
}

// Saves cut short by a kill leave "<name>.tmp<pid>" in the save folder: start-up removes those of
// processes that no longer run, and nothing else (other names, a live writer's file, folders, files
// below the save folder).
TEST_F(KestrelvaneRun, LeftoverTemporariesOfKilledSavesGoAtStartUp)
{
    std::ofstream(m_Install / "setting.ini") << "SaveToMyDocuments=0\r\n";
    const fs::path save = m_Install / "Kestrelvane_SAVE";
    fs::create_directories(save / "backup");
    fs::create_directories(save / "old.tmp9999997");
    // Process numbers above the kernel's largest (4,194,304) never run.
    const std::vector<std::string> leftovers = {"gamedata001.gd.tmp9999999", "permanent.dat.tmp9999998",
                                                "thumb001.png.tmp99999999"};
    const std::vector<std::string> kept = {"notes.tmp", "mine.tmp12x", "permanent.dat.tmp" + std::to_string(getpid()),
                                           "backup/gamedata002.gd.tmp9999996", ".tmp9999995"};
    for (const std::string& name : leftovers)
        std::ofstream(save / name) << "cut";
    for (const std::string& name : kept)
        std::ofstream(save / name) << "kept";
    RunAWhile(m_Install, save, "run.err");
    for (const std::string& name : leftovers)
        EXPECT_FALSE(fs::exists(save / name)) << name;
    for (const std::string& name : kept)
        EXPECT_EQ(KvFileBytes(save / name), "kept") << name;
    EXPECT_TRUE(fs::is_directory(save / "old.tmp9999997"));
}
