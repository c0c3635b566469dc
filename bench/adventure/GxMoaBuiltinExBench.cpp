// 100,000 "getlastselect" calls through the builtin dispatch against the same body called directly.
#include "adventure/GxMoaBuiltinCall.h"
#include "adventure/GxMoaBuiltinEx.h"
#include "appdata/GxUserData.h"
#include "core/GxCore.h"
#include "script/GxMoaVariable.h"

#include <benchmark/benchmark.h>

namespace
{

constexpr int kCalls = 100000;

class DirectBuiltin : public GxMoaBuiltinEx
{
public:
    using GxMoaBuiltinEx::GxMoaBuiltinEx;
    bool Own(GxMoaBuiltinCall& call) { return CallOwn(call); }
};

struct Setup
{
    GxCore core;
    GxUserData data{&core};
    DirectBuiltin builtin{&core};
    GxMoaVariable args;
    GxMoaExecStack stack;
    const std::wstring name = L"getlastselect";
    Setup()
    {
        core.m_UserData = &data;
        data.m_LastSelectNum = 4;
        args.MakeArray(0);
    }
    ~Setup() { core.m_UserData = nullptr; }
};

void BM_DispatchGetLastSelect(benchmark::State& state)
{
    Setup s;
    for (auto _ : state)
    {
        for (int i = 0; i < kCalls; ++i)
        {
            GxMoaVariable result;
            s.builtin.Call(s.name, 507, s.args, nullptr, nullptr, s.stack, result);
            benchmark::DoNotOptimize(result.GetRawInt());
        }
    }
}
BENCHMARK(BM_DispatchGetLastSelect)->Unit(benchmark::kMillisecond);

void BM_DirectGetLastSelect(benchmark::State& state)
{
    Setup s;
    for (auto _ : state)
    {
        for (int i = 0; i < kCalls; ++i)
        {
            GxMoaVariable result;
            GxMoaBuiltinCall call(s.name, 507, s.args, nullptr, nullptr, s.stack, result);
            s.builtin.Own(call);
            benchmark::DoNotOptimize(result.GetRawInt());
        }
    }
}
BENCHMARK(BM_DirectGetLastSelect)->Unit(benchmark::kMillisecond);

} // namespace
