// The cost of one engine frame with nothing to update or draw: the loop's own overhead, which every
// later subsystem adds to. Measured against one read of the monotonic clock.
#include "core/GxCore.h"
#include "core/GxThreadManage.h"
#include "core/GxTimeSource.h"
#include "platform/PfClock.h"
#include "task/GxSeqBase.h"
#include "task/GxTaskManage.h"

#include <benchmark/benchmark.h>

// A clock that moves 17 ms per frame and never sleeps, so the timer neither paces nor spins.
class SteppingTimeSource : public GxTimeSource
{
public:
    uint64_t GetTimeMs() override { return m_Now += 17; }
    void Sleep(uint32_t) override {}
    uint64_t m_Now = 1000;
};

static void BM_ClockRead(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(PfClock::GetTimeUs());
}
BENCHMARK(BM_ClockRead);

static void BM_EmptyEngineFrame(benchmark::State& state)
{
    SteppingTimeSource clock;
    GxCore core;
    core.m_FrameTimer.SetTimeSource(&clock);
    core.m_TaskManage = new GxTaskManage(&core);
    core.m_TaskManage->SetRenderLists(core.m_RenderManage, &core.m_RenderBank);
    core.m_ThreadManage = new GxThreadManage(nullptr);
    GxTaskBase* root = new GxTaskBase(core.m_TaskManage);
    GxSeqBase* system = new GxSeqBase(root, L"SeqSystem");
    core.m_TaskManage->SetSystemSequence(system);
    core.m_TaskManage->ChangeSequence(new GxSeqBase(root, L"SeqEmpty"), 0, 0);
    core.m_TaskManage->ApplyPendingSequence();

    for (auto _ : state)
    {
        core.PumpMessages();
        core.Frame();
    }
    state.counters["steps"] = core.m_FrameTimer.m_StepCount;

    delete core.m_ThreadManage;
    core.m_ThreadManage = nullptr;
    delete core.m_TaskManage;
    core.m_TaskManage = nullptr;
}
BENCHMARK(BM_EmptyEngineFrame);
