// What the program costs while nothing or little changes on screen, against a bare SDL2 + OpenGL 3.3 loop
// that clears and presents one frame sixty times a second, measured in the same run:
//
// - the real executable on the sample game's title screen, left alone: processor time of the whole
//   process (the software rasteriser's threads included) per second from 3 to 8 s after its start, and
//   its peak resident memory (VmHWM) at 8 s; the bare loop (kv_bench_bare_gl) the same way. Aims on
//   Mesa's llvmpipe: the title at most 100 ms a second, its peak at most 60 MiB above the bare loop's.
// - the engine's full loop (frame timer, update steps, drawing, present) on the adventure screen while a
//   long message types, five seconds at the real pace, against the bare clear-and-present loop run in
//   the same process: processor time per second of the whole process. Aim: at most 250 ms a second.
//   Also how many of its frames a second were drawn again, and sent to the window, only where they
//   changed.
//
// The machine's load average is reported with each figure: other work on a shared machine slows the
// rasteriser's threads and the figures with them.
//
//   cmake -S . -B build-rel -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_BUILD_BENCH=ON -DKV_BUILD_TESTS=OFF
//   cmake --build build-rel -j3 --target kestrelvane samplegen kv_bench_bare_gl kv_bench_adventure
//   build-rel/bench/kv_bench_adventure --benchmark_filter=Idle
//
// KV_GAME_EXE, KV_TOOLS_DIR and KV_BARE_GL override the executables and the tools folder of the build.
#include "adventure/SeqAvgMain.h"
#include "graphics/GxGraphics.h"
#include "platform/PfClock.h"
#include "platform/PfGLDevice.h"
#include "support/BenchAdventureScreen.h"
#include "support/BenchTools.h"
#include "task/ui/GxTaskUIMessageWindowFx.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <signal.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{

namespace fs = std::filesystem;

#ifndef KV_GAME_EXE_DEFAULT
#define KV_GAME_EXE_DEFAULT ""
#endif
#ifndef KV_TOOLS_DIR_DEFAULT
#define KV_TOOLS_DIR_DEFAULT ""
#endif
#ifndef KV_BARE_GL_DEFAULT
#define KV_BARE_GL_DEFAULT ""
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
    // Fields after the command's closing parenthesis: state is field 3, utime 14, stime 15.
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

struct ProcessFigures
{
    double cpuMsPerSecond = -1.0;
    double peakMiB = -1.0;
};

// Starts the program in `folder` with a scratch HOME, measures it from 3 to 8 s, then ends it.
ProcessFigures MeasureProcess(const std::string& exe, const std::string& argument, const fs::path& folder)
{
    const fs::path run = fs::temp_directory_path() / ("kvbench-idle-" + std::to_string(getpid()));
    std::error_code error;
    fs::remove_all(run, error);
    fs::create_directories(run / "home");
    fs::create_directories(run / "xdg");
    fs::permissions(run / "xdg", fs::perms::owner_all, error);
    const pid_t child = fork();
    if (child == 0)
    {
        if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
            setenv("SDL_VIDEODRIVER", "offscreen", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("HOME", (run / "home").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", (run / "xdg").c_str(), 1);
        if (FILE* out = std::freopen("/dev/null", "w", stdout))
            dup2(fileno(out), STDERR_FILENO);
        if (chdir(folder.c_str()) == 0)
            execl(exe.c_str(), exe.c_str(), argument.empty() ? nullptr : argument.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    ProcessFigures figures;
    std::this_thread::sleep_for(std::chrono::seconds(3));
    const double cpu0 = ProcessCpuSeconds(child);
    const auto wall0 = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(5));
    const double cpu1 = ProcessCpuSeconds(child);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
    figures.peakMiB = PeakMiB(child);
    if (cpu0 >= 0.0 && cpu1 >= cpu0)
        figures.cpuMsPerSecond = (cpu1 - cpu0) * 1000.0 / wall;
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    fs::remove_all(run, error);
    return figures;
}

const fs::path& GameFolder()
{
    static const fs::path s_Folder = []
    {
        const fs::path folder = fs::temp_directory_path() / ("kvbench-idle-game-" + std::to_string(getpid()));
        const std::string command =
            BenchTools::Setting("KV_TOOLS_DIR", KV_TOOLS_DIR_DEFAULT) + "/samplegen '" + folder.string() + "' > /dev/null 2>&1";
        return std::system(command.c_str()) == 0 ? folder : fs::path();
    }();
    return s_Folder;
}

void ReportProcess(benchmark::State& state, const std::string& exe, const std::string& argument)
{
    if (GameFolder().empty() || exe.empty())
    {
        state.SkipWithError("no sample game or executable (KV_TOOLS_DIR, KV_GAME_EXE, KV_BARE_GL?)");
        return;
    }
    for (auto _ : state)
    {
        const double load = LoadAverage();
        const ProcessFigures figures = MeasureProcess(exe, argument, GameFolder());
        if (figures.cpuMsPerSecond < 0.0)
        {
            state.SkipWithError("the program ended before 8 s");
            return;
        }
        state.counters["cpu_ms_per_s"] = figures.cpuMsPerSecond;
        state.counters["peak_MiB"] = figures.peakMiB;
        state.counters["load_avg_1min"] = load;
    }
}

// The reference for the two below.
void BM_IdleBareGLProcess(benchmark::State& state)
{
    ReportProcess(state, BenchTools::Setting("KV_BARE_GL", KV_BARE_GL_DEFAULT), "9");
}

void BM_IdleTitleProcess(benchmark::State& state)
{
    ReportProcess(state, BenchTools::Setting("KV_GAME_EXE", KV_GAME_EXE_DEFAULT), "");
}

// Processor time of this whole process, in seconds.
double SelfCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

constexpr double kLoopSeconds = 5.0;

struct TypingStage : BenchAdventureScreen
{
    bool Start() { return BenchAdventureScreen::Start("GameIdleCostBench"); }
};

TypingStage& Typing()
{
    static TypingStage s_Stage;
    if (!s_Stage.ready)
        s_Stage.Start();
    return s_Stage;
}

// A line long enough to type for the whole measurement.
const wchar_t* const kLongLine =
    L"これは速さを測るための長いメッセージです。一文字ずつ表示されていきます。画面の変わらない部分は描き直されません。"
    L"文字が一つ増えるたびに、その文字の入った絵だけが新しくなります。測り終わるまで、まだまだ続きます。"
    L"これは速さを測るための長いメッセージです。一文字ずつ表示されていきます。画面の変わらない部分は描き直されません。";

void BM_IdleTypingLineEngineLoop(benchmark::State& state)
{
    TypingStage& stage = Typing();
    if (!stage.ready)
    {
        state.SkipWithError("no adventure screen");
        return;
    }
    for (auto _ : state)
    {
        const double load = LoadAverage();
        stage.screen->ShowMessage(kLongLine, false, false, false);
        GxTaskUIMessageWindowFx* window = stage.screen->GetMessageWindow();
        const uint32_t remainBefore = window->GetRemainCharCount();
        PfGLDevice* device = GxGraphics::GetDevice();
        const uint64_t shown0 = device->GetPresentedFrameCount();
        const uint64_t inPart0 = device->GetPartialFrameCount();
        const uint64_t sentPart0 = device->GetPartialPresentCount();
        const double cpu0 = SelfCpuSeconds();
        const uint64_t wall0 = PfClock::GetTimeUs();
        double typed = 0.0;
        uint32_t remain = remainBefore;
        while (PfClock::GetTimeUs() - wall0 < static_cast<uint64_t>(kLoopSeconds * 1e6))
        {
            stage.core->Frame();
            const uint32_t now = window->GetRemainCharCount();
            typed += static_cast<double>(remain - now);
            remain = now;
            // A finished line starts again: the screen keeps typing.
            if (now == 0)
            {
                stage.screen->ShowMessage(kLongLine, false, false, false);
                remain = window->GetRemainCharCount();
            }
        }
        const double wall = static_cast<double>(PfClock::GetTimeUs() - wall0) * 1e-6;
        state.counters["cpu_ms_per_s"] = (SelfCpuSeconds() - cpu0) * 1000.0 / wall;
        state.counters["chars_per_s"] = typed / wall;
        state.counters["frames_drawn_per_s"] = static_cast<double>(device->GetPresentedFrameCount() - shown0) / wall;
        // Of those, drawn again only where they changed, and sent to the window only there.
        state.counters["drawn_in_part_per_s"] = static_cast<double>(device->GetPartialFrameCount() - inPart0) / wall;
        state.counters["sent_in_part_per_s"] = static_cast<double>(device->GetPartialPresentCount() - sentPart0) / wall;
        state.counters["load_avg_1min"] = load;
    }
}

// The same process presenting one cleared frame sixty times a second, sleeping in between.
void BM_IdleBareClearPresentLoop(benchmark::State& state)
{
    TypingStage& stage = Typing();
    if (!stage.ready)
    {
        state.SkipWithError("no device");
        return;
    }
    for (auto _ : state)
    {
        const double load = LoadAverage();
        const double cpu0 = SelfCpuSeconds();
        const uint64_t wall0 = PfClock::GetTimeUs();
        uint64_t next = wall0;
        uint32_t shade = 0;
        while (PfClock::GetTimeUs() - wall0 < static_cast<uint64_t>(kLoopSeconds * 1e6))
        {
            // A colour that changes every frame, so each frame is drawn and shown.
            GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF000000u | (shade++ & 1), 1.0f, 0);
            GxGraphics::Present(nullptr, nullptr, nullptr);
            next += 1000000 / 60;
            PfClock::SleepUntilUs(next);
        }
        const double wall = static_cast<double>(PfClock::GetTimeUs() - wall0) * 1e-6;
        state.counters["cpu_ms_per_s"] = (SelfCpuSeconds() - cpu0) * 1000.0 / wall;
        state.counters["load_avg_1min"] = load;
    }
}

} // namespace

BENCHMARK(BM_IdleBareGLProcess)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleTitleProcess)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleBareClearPresentLoop)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleTypingLineEngineLoop)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
