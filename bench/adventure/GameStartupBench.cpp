// Start-up of the real program on the sample game, by wall clock: from starting the executable to its
// first title frame, and to the story's first message, each against a bare start of the same executable
// in a folder without game data (to its first frame, or its end when it gives up), measured in the same
// run. The program runs headless with a recorded-input script (virtual clock, no pacing), so the time is
// the program's own work: start-up, loading, the frames up to the capture.
//
//   cmake -S . -B build-rel -DCMAKE_BUILD_TYPE=Release -DKV_BUILD_TESTS=OFF
//   cmake --build build-rel -j3 --target kestrelvane samplegen kv_bench_adventure
//   build-rel/bench/kv_bench_adventure --benchmark_filter=GameStart
//
// KV_GAME_EXE and KV_TOOLS_DIR override the executable and the tools folder of the build.
#include "support/BenchTools.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <signal.h>
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

// A scratch folder with the generated game (made once for the whole run) and an empty one.
struct Folders
{
    fs::path root;
    fs::path game;
    fs::path bare;
    bool ok = false;

    Folders()
    {
        root = fs::temp_directory_path() / ("kvbench-start-" + std::to_string(getpid()));
        game = root / "game";
        bare = root / "bare";
        fs::create_directories(bare);
        const std::string command = BenchTools::Setting("KV_TOOLS_DIR", KV_TOOLS_DIR_DEFAULT) + "/samplegen '" + game.string() +
                                    "' > /dev/null 2>&1";
        ok = std::system(command.c_str()) == 0;
    }
    ~Folders()
    {
        std::error_code error;
        fs::remove_all(root, error);
    }
};

Folders& Shared()
{
    static Folders s_Folders;
    return s_Folders;
}

// Starts the program in `folder` with the script, waits for the capture file (or the program's end),
// then ends it. Returns the seconds from the start to the capture; negative when neither came in 60 s.
double TimeToCapture(const fs::path& folder, const std::string& script)
{
    const fs::path run = Shared().root / ("run-" + folder.filename().string());
    std::error_code error;
    fs::remove_all(run, error);
    fs::create_directories(run / "home");
    fs::create_directories(run / "xdg");
    fs::permissions(run / "xdg", fs::perms::owner_all, error);
    const fs::path capture = run / "frame.png";
    const fs::path scriptPath = run / "input.txt";
    std::ofstream(scriptPath) << script << " capture " << capture.string() << "\n";

    const std::string exe = BenchTools::Setting("KV_GAME_EXE", KV_GAME_EXE_DEFAULT);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0)
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("HOME", (run / "home").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", (run / "xdg").c_str(), 1);
        setenv("KV_INPUT_SCRIPT", scriptPath.c_str(), 1);
        if (FILE* out = std::freopen("/dev/null", "w", stdout))
            dup2(fileno(out), STDERR_FILENO);
        if (chdir(folder.c_str()) == 0)
            execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    double seconds = -1.0;
    int status = 0;
    bool ended = false;
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(60))
    {
        // The capture's first bytes mark the frame; writing the rest of the file is not counted.
        if (fs::exists(capture, error) && fs::file_size(capture, error) > 0)
        {
            seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            break;
        }
        if (waitpid(child, &status, WNOHANG) == child)
        {
            ended = true;
            seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    if (!ended)
    {
        kill(child, SIGTERM);
        waitpid(child, &status, 0);
    }
    return seconds;
}

void Measure(benchmark::State& state, const fs::path& folder, const std::string& script)
{
    if (!Shared().ok)
    {
        state.SkipWithError("samplegen failed (KV_TOOLS_DIR?)");
        return;
    }
    for (auto _ : state)
    {
        const double seconds = TimeToCapture(folder, script);
        if (seconds < 0.0)
        {
            state.SkipWithError("no frame within 60 s (KV_GAME_EXE?)");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

// The reference: the same executable where there is no game to load.
void BM_GameStartBare(benchmark::State& state)
{
    Measure(state, Shared().bare, "2");
}

// The title screen's first frame (the boot sequence hands over on its first step).
void BM_GameStartToTitle(benchmark::State& state)
{
    Measure(state, Shared().game, "2");
}

// Start on the title at once; the story fades in for a second, then its first message starts.
void BM_GameStartToFirstMessage(benchmark::State& state)
{
    Measure(state, Shared().game, "2 click 512 384\n80");
}

} // namespace

BENCHMARK(BM_GameStartBare)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_GameStartToTitle)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_GameStartToFirstMessage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
