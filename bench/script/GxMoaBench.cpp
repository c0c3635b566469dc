// Script runtime costs, each beside a reference measured in the same run:
//  - loading a program of 20,000 token lines vs copying its bytes;
//  - Int arithmetic through GxMoaVariable vs plain 64-bit integers;
//  - a variable lookup in a table of 1,000 vs a std::unordered_map lookup.

#include "core/GxContentBinaryReader.h"
#include "core/GxContentBinaryWriter.h"
#include "script/GxMoa.h"
#include "script/GxMoaVariable.h"
#include "script/GxMoaVariableTable.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

namespace
{
std::vector<uint8_t> MakeProgramBytes()
{
    GxMoa moa;
    auto script = std::make_unique<GxMoaScript>();
    script->m_ScriptName = L"bench";
    script->m_Lines.resize(20000);
    for (size_t i = 0; i < script->m_Lines.size(); ++i)
    {
        auto& tokens = script->m_Lines[i].m_Tokens;
        GxMoaToken var(TK_VARIABLE);
        var.SetStr(L"counter");
        tokens.push_back(var);
        tokens.emplace_back(TK_ASSIGN);
        tokens.push_back(var);
        tokens.emplace_back(TK_ADD);
        tokens.emplace_back(TK_INT, 0, static_cast<int64_t>(i));
        GxMoaToken text(TK_TEXT);
        text.SetStr(L"これは台詞の行です。");
        if (i % 4 == 0)
            tokens.push_back(text);
    }
    moa.AddScript(std::move(script));
    FILE* f = std::tmpfile();
    {
        GxContentBinaryWriter writer(f);
        moa.Write(&writer);
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(std::ftell(f)));
    std::rewind(f);
    if (std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size())
        bytes.clear();
    std::fclose(f);
    return bytes;
}

const std::vector<uint8_t>& ProgramBytes()
{
    static const std::vector<uint8_t> s_Bytes = MakeProgramBytes();
    return s_Bytes;
}

void BM_ProgramRead(benchmark::State& state)
{
    const auto& bytes = ProgramBytes();
    for (auto _ : state)
    {
        GxMoa moa;
        GxContentBinaryReader reader(bytes.data(), static_cast<uint32_t>(bytes.size()));
        benchmark::DoNotOptimize(moa.Read(&reader));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ProgramRead)->Unit(benchmark::kMillisecond);

void BM_ProgramCopyReference(benchmark::State& state)
{
    const auto& bytes = ProgramBytes();
    std::vector<uint8_t> copy(bytes.size());
    for (auto _ : state)
    {
        std::memcpy(copy.data(), bytes.data(), bytes.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ProgramCopyReference)->Unit(benchmark::kMillisecond);

void BM_VariableIntArithmetic(benchmark::State& state)
{
    GxMoaVariable acc;
    acc.SetInt(0);
    GxMoaVariable step;
    step.SetInt(3);
    for (auto _ : state)
    {
        for (int i = 0; i < 1000; ++i)
        {
            GxMoaVariable::AddAssign(acc, step);
            GxMoaVariable::ModAssign(acc, step);
        }
        benchmark::DoNotOptimize(acc);
    }
}
BENCHMARK(BM_VariableIntArithmetic);

void BM_PlainIntArithmeticReference(benchmark::State& state)
{
    int64_t acc = 0;
    int64_t step = 3;
    for (auto _ : state)
    {
        for (int i = 0; i < 1000; ++i)
        {
            benchmark::DoNotOptimize(step);
            acc += step;
            acc %= step;
        }
        benchmark::DoNotOptimize(acc);
    }
}
BENCHMARK(BM_PlainIntArithmeticReference);

std::vector<std::wstring> Names()
{
    std::vector<std::wstring> names;
    for (int i = 0; i < 1000; ++i)
        names.push_back(L"variable_" + std::to_wstring(i));
    return names;
}

void BM_TableFind1000(benchmark::State& state)
{
    const auto names = Names();
    GxMoaVariableTable table(TABLE_GLOBAL);
    for (const auto& n : names)
        table.StoreNullByName(n, -1);
    size_t i = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(table.Find(names[i]));
        i = (i + 7) % names.size();
    }
}
BENCHMARK(BM_TableFind1000);

void BM_UnorderedMapFindReference(benchmark::State& state)
{
    const auto names = Names();
    std::unordered_map<std::wstring, int> map;
    for (const auto& n : names)
        map.emplace(n, 0);
    size_t i = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(map.find(names[i]));
        i = (i + 7) % names.size();
    }
}
BENCHMARK(BM_UnorderedMapFindReference);
} // namespace
