// What the real executable costs as a whole process, against the bare SDL2 + OpenGL 3.3 loop
// (kv_bench_bare_gl, which clears and presents a frame sixty times a second) measured the same way in the
// same run. Every present of the program is timed by a preloaded probe (kv_bench_present_probe), which
// also tells whether the first pictures sent held anything but black.
//
// - BareGLProcess, TitleProcess: from the exec to the first present (and whether it was black), to the
//   title complete (the last present before the picture stood still for a second), processor time of the
//   whole process (the software rasteriser's threads included) per second and presents per second from 3
//   to 8 s, the peak resident memory (VmHWM) at 8 s, and SIGTERM to the process's end.
// - DefenceStageProcess (needs an X server: DISPLAY, e.g. Xvfb; clicks and keys go through xdotool): the
//   sample game started with "zor_defence.flag", the title's start clicked; the defence screen opens
//   paused: five seconds paused, then X (normal speed) and five seconds running, then C (double speed)
//   and five seconds from 22 s while the first invaders walk in; the peak memory after.
//
// The probe counts swaps; a part of the picture copied to an X window without a swap
// (GLX_MESA_copy_sub_buffer) is not counted, so "presents" under X count whole pictures sent.
//
// Aims on Mesa's llvmpipe: title and paused defence near the bare loop's presenting once; paused defence
// at most 60 ms a second; first present at most 70 ms and not black; exit at most 70 ms; the title at
// most 30 MiB and the defence stage at most 50 MiB above the bare loop's peak.
//
// The machine's load average is reported with each figure. Without DISPLAY the program runs on SDL's
// offscreen driver.
//
//   build-rel/bench/kv_bench_adventure --benchmark_filter=Process
//   DISPLAY=:18 build-rel/bench/kv_bench_adventure --benchmark_filter=Process
//
// KV_GAME_EXE, KV_TOOLS_DIR, KV_BARE_GL and KV_PRESENT_PROBE override the build's programs and tools.
#include "support/BenchTools.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <signal.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

#ifndef KV_GAME_EXE_DEFAULT
#define KV_GAME_EXE_DEFAULT ""
#endif
#ifndef KV_TOOLS_DIR_DEFAULT
#define KV_TOOLS_DIR_DEFAULT ""
#endif
#ifndef KV_BARE_GL_DEFAULT
#define KV_BARE_GL_DEFAULT ""
#endif
#ifndef KV_PRESENT_PROBE_DEFAULT
#define KV_PRESENT_PROBE_DEFAULT ""
#endif

double LoadAverage()
{
    double load = 0.0;
    if (FILE* f = std::fopen("/proc/loadavg", "r"))
    {
        if (std::fscanf(f, "%lf", &load) != 1)
            load = 0.0;
        std::fclose(f);
    }
    return load;
}

// User and system time of a process, all its threads, in seconds.
double ProcessCpuSeconds(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const size_t close = text.rfind(')');
    if (close == std::string::npos)
        return -1.0;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    double utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i)
    {
        if (i == 14)
            utime = std::atof(field.c_str());
        if (i == 15)
            stime = std::atof(field.c_str());
    }
    return (utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double PeakMiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024.0;
    return -1.0;
}

// A generated sample game, made once per run; the defence one carries the flag that sends the story's
// first label to the defence stage.
fs::path SampleGame(bool defence)
{
    const fs::path folder =
        fs::temp_directory_path() / ("kvbench-proc-" + std::string(defence ? "def-" : "game-") + std::to_string(getpid()));
    if (fs::exists(folder / "setting.ini"))
        return folder;
    const std::string command =
        BenchTools::Setting("KV_TOOLS_DIR", KV_TOOLS_DIR_DEFAULT) + "/samplegen '" + folder.string() + "' > /dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        return {};
    if (defence)
        std::ofstream(folder / "zor_defence.flag") << "1\n";
    return folder;
}

// One run of a program: started with the probe preloaded and a scratch HOME, ended with SIGTERM.
class ProcessRun
{
public:
    ProcessRun(const std::string& exe, const std::string& argument, const fs::path& folder)
    {
        m_Root = fs::temp_directory_path() / ("kvbench-proc-run-" + std::to_string(getpid()));
        std::error_code error;
        fs::remove_all(m_Root, error);
        // The save folder made beforehand: a first start tells the player it made one, in a box an X
        // server shows.
        fs::create_directories(m_Root / "home" / "Documents" / "Kestrelvane_SAVE");
        fs::create_directories(m_Root / "xdg");
        fs::permissions(m_Root / "xdg", fs::perms::owner_all, error);
        m_Log = m_Root / "presents.txt";
        const std::string probe = BenchTools::Setting("KV_PRESENT_PROBE", KV_PRESENT_PROBE_DEFAULT);
        m_Start = Clock::now();
        m_Pid = fork();
        if (m_Pid == 0)
        {
            if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
                setenv("SDL_VIDEODRIVER", "offscreen", 0);
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            setenv("HOME", (m_Root / "home").c_str(), 1);
            setenv("XDG_RUNTIME_DIR", (m_Root / "xdg").c_str(), 1);
            setenv("KV_PRESENT_LOG", m_Log.c_str(), 1);
            if (!probe.empty())
                setenv("LD_PRELOAD", probe.c_str(), 1);
            if (FILE* out = std::freopen("/dev/null", "w", stdout))
                dup2(fileno(out), STDERR_FILENO);
            if (chdir(folder.c_str()) == 0)
                execl(exe.c_str(), exe.c_str(), argument.empty() ? nullptr : argument.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~ProcessRun()
    {
        if (m_Pid > 0 && !m_Ended)
            Terminate();
        std::error_code error;
        fs::remove_all(m_Root, error);
    }

    pid_t Pid() const { return m_Pid; }
    double Since() const { return std::chrono::duration<double>(Clock::now() - m_Start).count(); }
    void SleepUntil(double seconds) const
    {
        std::this_thread::sleep_until(m_Start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds)));
    }
    bool Alive() { return !m_Ended && waitpid(m_Pid, nullptr, WNOHANG) == 0; }

    // The presents so far: seconds since the exec, and the probe's look at the picture ('1', '0', '-').
    std::vector<std::pair<double, char>> Presents() const
    {
        std::vector<std::pair<double, char>> presents;
        std::ifstream log(m_Log);
        long long ns = 0;
        char look = '-';
        const long long start = std::chrono::duration_cast<std::chrono::nanoseconds>(m_Start.time_since_epoch()).count();
        while (log >> ns >> look)
            presents.push_back({static_cast<double>(ns - start) * 1e-9, look});
        return presents;
    }
    size_t PresentsBetween(double from, double to) const
    {
        size_t n = 0;
        for (const auto& p : Presents())
            n += p.first >= from && p.first < to ? 1 : 0;
        return n;
    }

    // Processor time per second and presents per second over the next `seconds`.
    std::pair<double, double> Measure(double seconds) const
    {
        const double cpu0 = ProcessCpuSeconds(m_Pid), t0 = Since();
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        const double cpu1 = ProcessCpuSeconds(m_Pid), t1 = Since();
        if (cpu0 < 0.0 || cpu1 < cpu0)
            return {-1.0, -1.0};
        return {(cpu1 - cpu0) * 1000.0 / (t1 - t0), static_cast<double>(PresentsBetween(t0, t1)) / (t1 - t0)};
    }

    // SIGTERM to the end of the process, in seconds.
    double Terminate()
    {
        const auto t0 = Clock::now();
        kill(m_Pid, SIGTERM);
        int status = 0;
        waitpid(m_Pid, &status, 0);
        m_Ended = true;
        return std::chrono::duration<double>(Clock::now() - t0).count();
    }

    // xdotool on the program's window: "mousemove --window W 512 384 click 1" and the like, W standing for
    // the window. False without a window within five seconds.
    bool Xdo(const std::string& command)
    {
        if (m_Window.empty())
        {
            for (int i = 0; i < 50 && m_Window.empty(); ++i)
            {
                const std::string search = "xdotool search --pid " + std::to_string(m_Pid) + " 2>/dev/null | tail -1";
                if (FILE* p = popen(search.c_str(), "r"))
                {
                    char line[64] = {};
                    if (std::fgets(line, sizeof(line), p))
                        m_Window = std::to_string(std::atoll(line));
                    pclose(p);
                }
                if (m_Window == "0")
                    m_Window.clear();
                if (m_Window.empty())
                    std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            if (m_Window.empty())
                return false;
        }
        std::string text = command;
        for (size_t at = text.find(" W "); at != std::string::npos; at = text.find(" W "))
            text.replace(at, 3, " " + m_Window + " ");
        return std::system(("xdotool " + text + " >/dev/null 2>&1").c_str()) == 0;
    }

private:
    fs::path m_Root;
    fs::path m_Log;
    Clock::time_point m_Start;
    pid_t m_Pid = -1;
    bool m_Ended = false;
    std::string m_Window;
};

// The first present (seconds, and 1 when it was not black), and the last present before the presents
// paused for a second (the start-up's pictures complete), from the presents of the first `until` seconds.
void ReportStart(benchmark::State& state, const ProcessRun& run)
{
    const auto presents = run.Presents();
    if (presents.empty())
        return;
    state.counters["first_present_ms"] = presents.front().first * 1000.0;
    state.counters["first_present_not_black"] = presents.front().second == '1' ? 1.0 : 0.0;
    double complete = presents.front().first;
    for (size_t i = 1; i < presents.size() && presents[i].first - complete < 1.0; ++i)
        complete = presents[i].first;
    state.counters["complete_ms"] = complete * 1000.0;
}

void MeasureIdle(benchmark::State& state, const std::string& exe, const std::string& argument)
{
    const fs::path game = SampleGame(false);
    if (game.empty() || exe.empty())
    {
        state.SkipWithError("no sample game or executable (KV_TOOLS_DIR, KV_GAME_EXE, KV_BARE_GL?)");
        return;
    }
    for (auto _ : state)
    {
        state.counters["load_avg_1min"] = LoadAverage();
        ProcessRun run(exe, argument, game);
        run.SleepUntil(3.0);
        const auto [cpu, presents] = run.Measure(5.0);
        if (cpu < 0.0 || !run.Alive())
        {
            state.SkipWithError("the program ended before 8 s");
            return;
        }
        state.counters["cpu_ms_per_s"] = cpu;
        state.counters["swaps_per_s"] = presents;
        state.counters["peak_MiB"] = PeakMiB(run.Pid());
        ReportStart(state, run);
        state.counters["exit_ms"] = run.Terminate() * 1000.0;
    }
}

void BM_BareGLProcess(benchmark::State& state)
{
    MeasureIdle(state, BenchTools::Setting("KV_BARE_GL", KV_BARE_GL_DEFAULT), "60");
}

void BM_TitleProcess(benchmark::State& state)
{
    MeasureIdle(state, BenchTools::Setting("KV_GAME_EXE", KV_GAME_EXE_DEFAULT), "");
}

void BM_DefenceStageProcess(benchmark::State& state)
{
    const std::string exe = BenchTools::Setting("KV_GAME_EXE", KV_GAME_EXE_DEFAULT);
    if (!std::getenv("DISPLAY") || std::system("command -v xdotool >/dev/null 2>&1") != 0)
    {
        state.SkipWithError("needs an X server (DISPLAY) and xdotool");
        return;
    }
    const fs::path game = SampleGame(true);
    if (game.empty() || exe.empty())
    {
        state.SkipWithError("no sample game or executable (KV_TOOLS_DIR, KV_GAME_EXE?)");
        return;
    }
    for (auto _ : state)
    {
        state.counters["load_avg_1min"] = LoadAverage();
        ProcessRun run(exe, "", game);
        run.SleepUntil(2.0);
        // The title's start; the stage loads and the defence screen opens paused.
        if (!run.Xdo("mousemove --window W 512 384 click 1"))
        {
            state.SkipWithError("no window for xdotool");
            return;
        }
        run.SleepUntil(9.0);
        const auto [pausedCpu, pausedPresents] = run.Measure(5.0);
        // Normal speed (the pointer rests over the map, which takes the keys): the stage's clock runs, no
        // invader yet. Then double speed, until the first parties walk in, measured while they do.
        run.Xdo("key x");
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const auto [runningCpu, runningPresents] = run.Measure(5.0);
        run.Xdo("key c");
        run.SleepUntil(22.0);
        const auto [invadedCpu, invadedPresents] = run.Measure(5.0);
        if (pausedCpu < 0.0 || runningCpu < 0.0 || !run.Alive())
        {
            state.SkipWithError("the program ended early");
            return;
        }
        state.counters["paused_cpu_ms_per_s"] = pausedCpu;
        state.counters["paused_swaps_per_s"] = pausedPresents;
        state.counters["running_cpu_ms_per_s"] = runningCpu;
        state.counters["running_swaps_per_s"] = runningPresents;
        state.counters["invaded_cpu_ms_per_s"] = invadedCpu;
        state.counters["invaded_swaps_per_s"] = invadedPresents;
        state.counters["peak_MiB"] = PeakMiB(run.Pid());
        state.counters["exit_ms"] = run.Terminate() * 1000.0;
    }
}

} // namespace

BENCHMARK(BM_BareGLProcess)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TitleProcess)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DefenceStageProcess)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
