// What a static screen costs: the processor time per second of the engine's own loop (frame timer wait,
// steps over a sequence that only clears, present) at 60 frames a second, against a bare loop that clears
// and presents and then sleeps to the next sixtieth of a second, in the same run. The difference is what
// the wait and the frame add; the goal is under 5 % of one core (50 ms a second). The engine loop also
// reports how far each frame's start lies from its slot's end (goal: within 0.5 ms). For comparison the
// engine loop runs once more with the earlier pacing: a millisecond clock, a sleep of 70 % of the
// remaining milliseconds less 5 ms, and a spin on the clock for the rest.
#include "core/GxCore.h"
#include "core/GxLog.h"
#include "core/GxThreadManage.h"
#include "core/GxTimeSource.h"
#include "graphics/GxGraphics.h"
#include "platform/PfClock.h"
#include "support/BenchDevice.h"
#include "task/GxSeqBase.h"
#include "task/GxTaskManage.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>

namespace
{

constexpr int kFrames = 180; // three seconds a run
constexpr uint64_t kSlotUs = 1000000 / 60;

bool StartDevice()
{
    static BenchDevice s_Device;
    if (GxGraphics::IsInitialized())
        return true;
    GxLog::SetDeviceLogPath(L"/tmp/kv_bench_idle_device.log");
    GxLog::SetErrorLogPath(L"/tmp/kv_bench_idle_error.log");
    return s_Device.Open("KvIdleLoopBench");
}

// Processor time of the whole process (the driver's threads included), in microseconds.
uint64_t ProcessCpuUs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000000u + static_cast<uint64_t>(ts.tv_nsec) / 1000u;
}

// The earlier pacing, for comparison: whole milliseconds, a short coarse sleep, the rest spun by the timer.
class CoarseSleepSource : public GxTimeSource
{
public:
    uint64_t GetTimeMs() override { return PfClock::GetTimeMs(); }
    void Sleep(uint32_t ms) override { PfClock::SleepMs(ms); }
    void SleepUntil(uint64_t deadlineUs) override
    {
        const uint64_t now = GetTimeUs();
        if (deadlineUs <= now)
            return;
        const int64_t sleep = static_cast<int64_t>((deadlineUs - now) / 1000) * 70 / 100 - 5;
        PfClock::SleepMs(sleep > 0 ? static_cast<uint32_t>(sleep) : 0);
    }
};

void Report(benchmark::State& state, uint64_t cpuUs, uint64_t wallUs)
{
    state.counters["cpu_ms_per_s"] = wallUs ? static_cast<double>(cpuUs) * 1000.0 / static_cast<double>(wallUs) : 0;
}

void BM_BareClearPresentAt60(benchmark::State& state)
{
    if (!StartDevice())
    {
        state.SkipWithError("no device");
        return;
    }
    for (auto _ : state)
    {
        const uint64_t cpu0 = ProcessCpuUs();
        const uint64_t wall0 = PfClock::GetTimeUs();
        uint64_t next = wall0;
        for (int frame = 0; frame < kFrames; ++frame)
        {
            GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
            GxGraphics::Present(nullptr, nullptr, nullptr);
            next += kSlotUs;
            PfClock::SleepUntilUs(next);
        }
        Report(state, ProcessCpuUs() - cpu0, PfClock::GetTimeUs() - wall0);
    }
}
BENCHMARK(BM_BareClearPresentAt60)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_EngineStaticScreenAt60(benchmark::State& state)
{
    if (!StartDevice())
    {
        state.SkipWithError("no device");
        return;
    }
    CoarseSleepSource coarse;
    GxCore core;
    if (state.range(0) == 1)
        core.m_FrameTimer.SetTimeSource(&coarse);
    core.m_TaskManage = new GxTaskManage(&core);
    core.m_TaskManage->SetRenderLists(core.m_RenderManage, &core.m_RenderBank);
    core.m_ThreadManage = new GxThreadManage(nullptr);
    GxTaskBase* root = new GxTaskBase(core.m_TaskManage);
    core.m_TaskManage->ChangeSequence(new GxSeqBase(root, L"SeqStatic"), 0, 0);
    core.m_TaskManage->ApplyPendingSequence();
    core.Frame();

    for (auto _ : state)
    {
        double lateSum = 0.0;
        double lateMax = 0.0;
        const uint64_t cpu0 = ProcessCpuUs();
        const uint64_t wall0 = PfClock::GetTimeUs();
        for (int frame = 0; frame < kFrames; ++frame)
        {
            // The slot this frame waits for, as the timer will compute it.
            const int64_t slot = static_cast<int64_t>(kSlotUs) - core.m_FrameTimer.m_Lateness;
            core.Frame();
            const double late = static_cast<double>(std::llabs(core.m_FrameTimer.m_Elapsed - slot));
            lateSum += late;
            lateMax = std::max(lateMax, late);
        }
        Report(state, ProcessCpuUs() - cpu0, PfClock::GetTimeUs() - wall0);
        state.counters["start_off_slot_us_mean"] = lateSum / kFrames;
        state.counters["start_off_slot_us_max"] = lateMax;
    }
    state.counters["steps"] = core.m_FrameTimer.m_StepCount;

    delete core.m_ThreadManage;
    core.m_ThreadManage = nullptr;
    delete core.m_TaskManage;
    core.m_TaskManage = nullptr;
}
// Argument 0: the system clock's precise sleep; 1: the earlier coarse sleep and spin.
BENCHMARK(BM_EngineStaticScreenAt60)->Arg(0)->Arg(1)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
