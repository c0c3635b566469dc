// What the engine's own loop costs while little changes on screen, against a bare clear-and-present loop
// run in the same process (one cleared frame sixty times a second, sleeping in between). The real
// executable's whole-process figures (title, defence stage, start-up, exit, memory) are in
// GameProcessCostBench.cpp.
//
// - a long message typing on the adventure screen, five seconds at the real pace: processor time per
//   second of the whole process, characters and presents per second (a new character is one new picture,
//   presented once), and how many frames were drawn again, and sent to the window, only where they
//   changed. Aims on Mesa's llvmpipe: at most 40 ms a second offscreen and 80 ms under an X server
//   without buffer age (Xvfb's GLX). Under X, KV_XSERVER_PID names the server whose processor time is
//   reported beside the program's.
// - the screen's global fade going to black over a second, then the black hold after it (two seconds):
//   processor time per second and presents of each. Aim: the hold at most 30 ms a second, presented once.
//
// - the story's black picture faded in over black for a second (a scene change): processor time per
//   second and presents. Aim: about the floor, at most 60 ms a second, presented once.
//
// - the same typing over 600 frames on a clock that moves only when the frame timer sleeps (a frame
//   every sixtieth of a second, never waiting): the same work every run, for instruction counts under
//   callgrind (--toggle-collect='*SteppedTypingFrames*'), cold (the screen's first frames) and warm (the
//   line typed once before); frames, characters and presents.
//
// - the title standing still, its buttons reading the cursor at every update step, for five seconds with
//   the pointer over the window and five with it gone off the window: processor time per second of each
//   (and the X server's, as above), main-loop passes per second, and how often the window system was asked
//   where the desktop pointer is. Off the window should cost what over it does, within a few per cent,
//   asking the desktop never (the title has no reader that wants the pointer past the window). Run last:
//   it leaves the title as the current screen.
//
// The machine's load average is reported with each figure: other work on a shared machine slows the
// rasteriser's threads and the figures with them.
//
//   cmake -S . -B build-rel -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_BUILD_BENCH=ON -DKV_BUILD_TESTS=OFF
//   cmake --build build-rel -j3 --target kestrelvane samplegen kv_bench_bare_gl kv_bench_adventure
//   build-rel/bench/kv_bench_adventure --benchmark_filter=Idle
//   SDL_VIDEODRIVER=x11 DISPLAY=:18 KV_XSERVER_PID=... build-rel/bench/kv_bench_adventure --benchmark_filter=Idle
#include "adventure/SeqAvgMain.h"
#include "core/GxTimeSource.h"
#include "graphics/GxGraphics.h"
#include "platform/PfWindow.h"
#include "platform/PfClock.h"
#include "platform/PfGLDevice.h"
#include "support/BenchAdventureScreen.h"
#include "support/BenchProcessStats.h"
#include "support/BenchTools.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUIMessageWindowFx.h"

#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
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
        const double load = BenchLoadAverage();
        stage.screen->ShowMessage(kLongLine, false, false, false);
        GxTaskUIMessageWindowFx* window = stage.screen->GetMessageWindow();
        const uint32_t remainBefore = window->GetRemainCharCount();
        PfGLDevice* device = GxGraphics::GetDevice();
        const uint64_t shown0 = device->GetPresentedFrameCount();
        const uint64_t inPart0 = device->GetPartialFrameCount();
        const uint64_t sentPart0 = device->GetPartialPresentCount();
        const pid_t server = static_cast<pid_t>(std::atoi(BenchTools::Setting("KV_XSERVER_PID", "0").c_str()));
        const double server0 = server > 0 ? BenchProcessCpuSeconds(server) : 0.0;
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
        if (server > 0)
            state.counters["xserver_cpu_ms_per_s"] = (BenchProcessCpuSeconds(server) - server0) * 1000.0 / wall;
        state.counters["chars_per_s"] = typed / wall;
        const double shown = static_cast<double>(device->GetPresentedFrameCount() - shown0);
        state.counters["frames_drawn_per_s"] = shown / wall;
        state.counters["presents_per_char"] = typed > 0.0 ? shown / typed : 0.0;
        // Of those, drawn again only where they changed, and sent to the window only there.
        state.counters["drawn_in_part_per_s"] = static_cast<double>(device->GetPartialFrameCount() - inPart0) / wall;
        state.counters["sent_in_part_per_s"] = static_cast<double>(device->GetPartialPresentCount() - sentPart0) / wall;
        state.counters["load_avg_1min"] = load;
    }
}

// A clock that moves only when slept on: each frame's wait ends exactly at its slot.
class SteppedClock : public GxTimeSource
{
public:
    uint64_t GetTimeMs() override { return m_NowUs / 1000; }
    uint64_t GetTimeUs() override { return m_NowUs; }
    void Sleep(uint32_t ms) override { m_NowUs += ms ? ms * 1000ull : 1ull; }
    void SleepUntil(uint64_t deadlineUs) override { m_NowUs = std::max(m_NowUs, deadlineUs); }
    uint64_t m_NowUs = 1000000;
};

struct SteppedRun
{
    uint32_t typed = 0;
    uint64_t presents = 0;
    uint64_t drawnInPart = 0;
};

// The line typed from its start over the given frames on the stepped clock. Its own function, so that
// callgrind can collect it alone (--toggle-collect='*SteppedTypingFrames*').
__attribute__((noinline)) SteppedRun SteppedTypingFrames(TypingStage& stage, SteppedClock& clock, int frames)
{
    stage.core->m_FrameTimer.SetTimeSource(&clock);
    stage.core->m_FrameTimer.Reset();
    stage.screen->ShowMessage(kLongLine, false, false, false);
    GxTaskUIMessageWindowFx* window = stage.screen->GetMessageWindow();
    PfGLDevice* device = GxGraphics::GetDevice();
    const uint64_t shown0 = device->GetPresentedFrameCount();
    const uint64_t inPart0 = device->GetPartialFrameCount();
    const uint32_t remain0 = window->GetRemainCharCount();
    for (int i = 0; i < frames; ++i)
        stage.core->Frame();
    SteppedRun run;
    run.typed = remain0 - window->GetRemainCharCount();
    run.presents = device->GetPresentedFrameCount() - shown0;
    run.drawnInPart = device->GetPartialFrameCount() - inPart0;
    stage.core->m_FrameTimer.SetTimeSource(nullptr);
    stage.core->m_FrameTimer.Reset();
    return run;
}

// Argument 0: as the process's first frames of the screen (shaders built, glyphs rasterised as they come);
// 1: after the line was typed once already in the same way (what a line of known characters costs).
void BM_IdleSteppedTyping(benchmark::State& state)
{
    TypingStage& stage = Typing();
    if (!stage.ready)
    {
        state.SkipWithError("no adventure screen");
        return;
    }
    constexpr int kFrames = 600;
    for (auto _ : state)
    {
        SteppedClock clock;
        if (state.range(0) == 1)
        {
            state.PauseTiming();
            // The warm-up is a lambda's call, not the collected function's.
            [&]
            {
                stage.core->m_FrameTimer.SetTimeSource(&clock);
                stage.screen->ShowMessage(kLongLine, false, false, false);
                for (int i = 0; i < kFrames; ++i)
                    stage.core->Frame();
                stage.core->m_FrameTimer.SetTimeSource(nullptr);
            }();
            state.ResumeTiming();
        }
        const double cpu0 = SelfCpuSeconds();
        const SteppedRun run = SteppedTypingFrames(stage, clock, kFrames);
        state.counters["cpu_ms"] = (SelfCpuSeconds() - cpu0) * 1000.0;
        state.counters["frames"] = kFrames;
        state.counters["chars"] = run.typed;
        state.counters["presents"] = static_cast<double>(run.presents);
        state.counters["drawn_in_part"] = static_cast<double>(run.drawnInPart);
    }
}

// Runs the core's whole frame (timer, update, drawing, present) for the given seconds at the real pace;
// the processor time per second and the presents.
std::pair<double, uint64_t> RunFrames(TypingStage& stage, double seconds)
{
    PfGLDevice* device = GxGraphics::GetDevice();
    const uint64_t shown0 = device->GetPresentedFrameCount();
    const double cpu0 = SelfCpuSeconds();
    const uint64_t wall0 = PfClock::GetTimeUs();
    while (PfClock::GetTimeUs() - wall0 < static_cast<uint64_t>(seconds * 1e6))
        stage.core->Frame();
    const double wall = static_cast<double>(PfClock::GetTimeUs() - wall0) * 1e-6;
    return {(SelfCpuSeconds() - cpu0) * 1000.0 / wall, device->GetPresentedFrameCount() - shown0};
}

// The story's fade to black over a second and the black hold after it, as a script's fout(1000) and a
// wait make them: the screen's global fade layer.
void BM_IdleFadeAndBlackHold(benchmark::State& state)
{
    TypingStage& stage = Typing();
    if (!stage.ready)
    {
        state.SkipWithError("no adventure screen");
        return;
    }
    for (auto _ : state)
    {
        const double load = BenchLoadAverage();
        SeqAvgMain::GlobalFadeIn(0);
        RunFrames(stage, 0.5);
        SeqAvgMain::GlobalFadeOut(1000);
        const auto [fadeCpu, fadePresents] = RunFrames(stage, 1.0);
        const auto [holdCpu, holdPresents] = RunFrames(stage, 2.0);
        SeqAvgMain::GlobalFadeIn(0);
        RunFrames(stage, 0.2);
        state.counters["fade_cpu_ms_per_s"] = fadeCpu;
        state.counters["fade_presents"] = static_cast<double>(fadePresents);
        state.counters["hold_cpu_ms_per_s"] = holdCpu;
        state.counters["hold_presents"] = static_cast<double>(holdPresents);
        state.counters["load_avg_1min"] = load;
    }
}

// The story's scene change: the black picture shown under the opaque fade layer, then faded in over a
// second (a script's bg("黒", 0) and fin(1000)). Every frame of that second gives the black picture the
// window shows already: it should cost about what the black hold costs, presented about once.
void BM_IdleBlackFadeIn(benchmark::State& state)
{
    TypingStage& stage = Typing();
    if (!stage.ready)
    {
        state.SkipWithError("no adventure screen");
        return;
    }
    for (auto _ : state)
    {
        const double load = BenchLoadAverage();
        // The scene change comes before the scene's first message: no message window.
        GxTaskUIMessageWindowFx* window = stage.screen->GetMessageWindow();
        window->Hide();
        SeqAvgMain::GlobalFadeOut(0);
        SeqAvgMain::SetBlackBackground();
        RunFrames(stage, 0.5);
        SeqAvgMain::GlobalFadeIn(1000);
        const auto [fadeCpu, fadePresents] = RunFrames(stage, 1.0);
        stage.screen->FindLayer(L"$BGLAYER:SeqAvgMain")->SetImage(L"cg/bg/room.png", 0, L"cg/error.png");
        window->Show();
        RunFrames(stage, 0.2);
        state.counters["black_fade_in_cpu_ms_per_s"] = fadeCpu;
        state.counters["black_fade_in_presents"] = static_cast<double>(fadePresents);
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
        const double load = BenchLoadAverage();
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

struct PointerRun
{
    double cpuMsPerS = 0.0;
    double serverCpuMsPerS = 0.0;
    double passesPerS = 0.0;
    double desktopAsksPerS = 0.0;
};

// The core's frames for the given seconds at the real pace, the pointer over the window or off it: SDL is
// told so by the events a pointer makes (and under X the server's pointer is moved there as well), and the
// window takes them before the frames run.
PointerRun RunWithPointer(TypingStage& stage, bool over, double seconds)
{
    PfWindow& window = stage.device.GetWindow();
    SDL_Window* sdl = window.GetSDLWindow();
    SDL_Event e{};
    if (over)
    {
        // Over the title's empty lower right, clear of its buttons.
        SDL_WarpMouseInWindow(sdl, 900, 700);
        e.type = SDL_MOUSEMOTION;
        e.motion.windowID = SDL_GetWindowID(sdl);
        e.motion.x = 900;
        e.motion.y = 700;
    }
    else
    {
        SDL_WarpMouseGlobal(0, 0);
        e.type = SDL_WINDOWEVENT;
        e.window.windowID = SDL_GetWindowID(sdl);
        e.window.event = SDL_WINDOWEVENT_LEAVE;
    }
    SDL_Delay(50);
    SDL_PushEvent(&e);
    stage.core->PumpMessages();

    const pid_t server = static_cast<pid_t>(std::atoi(BenchTools::Setting("KV_XSERVER_PID", "0").c_str()));
    const double server0 = server > 0 ? BenchProcessCpuSeconds(server) : 0.0;
    const uint64_t asks0 = window.GetDesktopPointerQueries();
    const double cpu0 = SelfCpuSeconds();
    const uint64_t wall0 = PfClock::GetTimeUs();
    uint64_t passes = 0;
    while (PfClock::GetTimeUs() - wall0 < static_cast<uint64_t>(seconds * 1e6))
    {
        stage.core->Frame();
        ++passes;
    }
    const double wall = static_cast<double>(PfClock::GetTimeUs() - wall0) * 1e-6;
    PointerRun run;
    run.cpuMsPerS = (SelfCpuSeconds() - cpu0) * 1000.0 / wall;
    if (server > 0)
        run.serverCpuMsPerS = (BenchProcessCpuSeconds(server) - server0) * 1000.0 / wall;
    run.passesPerS = static_cast<double>(passes) / wall;
    run.desktopAsksPerS = static_cast<double>(window.GetDesktopPointerQueries() - asks0) / wall;
    return run;
}

void BM_IdleTitlePointerOverAndOff(benchmark::State& state)
{
    TypingStage& stage = Typing();
    if (!stage.ready)
    {
        state.SkipWithError("no adventure screen");
        return;
    }
    GxTaskManage* manage = stage.core->m_TaskManage;
    manage->ChangeSequence(L"SeqTitle", 0, 0);
    // The core reads the pointer off its main window: the benchmark's own window, lent for this run.
    stage.core->m_MainWindow = &stage.device.GetWindow();
    // Past the switch's fades: the title stands still.
    manage->ApplyPendingSequence();
    RunFrames(stage, 2.0);
    for (auto _ : state)
    {
        const double load = BenchLoadAverage();
        const PointerRun over = RunWithPointer(stage, true, kLoopSeconds);
        const PointerRun off = RunWithPointer(stage, false, kLoopSeconds);
        state.counters["over_cpu_ms_per_s"] = over.cpuMsPerS;
        state.counters["off_cpu_ms_per_s"] = off.cpuMsPerS;
        state.counters["off_over_cpu_ratio"] = over.cpuMsPerS > 0.0 ? off.cpuMsPerS / over.cpuMsPerS : 0.0;
        if (BenchTools::Setting("KV_XSERVER_PID", "0") != "0")
        {
            state.counters["over_xserver_cpu_ms_per_s"] = over.serverCpuMsPerS;
            state.counters["off_xserver_cpu_ms_per_s"] = off.serverCpuMsPerS;
        }
        state.counters["over_passes_per_s"] = over.passesPerS;
        state.counters["off_passes_per_s"] = off.passesPerS;
        state.counters["over_desktop_asks_per_s"] = over.desktopAsksPerS;
        state.counters["off_desktop_asks_per_s"] = off.desktopAsksPerS;
        state.counters["load_avg_1min"] = load;
    }
    stage.core->m_MainWindow = nullptr;
}

} // namespace

BENCHMARK(BM_IdleFadeAndBlackHold)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleBlackFadeIn)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleBareClearPresentLoop)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleTypingLineEngineLoop)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleSteppedTyping)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
// Last: it leaves the title on screen.
BENCHMARK(BM_IdleTitlePointerOverAndOff)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
