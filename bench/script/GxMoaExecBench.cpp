// Statement interpreter throughput, in statements per second:
//  - a counted loop (IF, postfix increment, jump back to a label), beside the same loop in Lua 5.4
//    (the "lua5.4" interpreter run through popen, timed by its own clock);
//  - an expression of 50 terms;
//  - a variable lookup among 1,000 variables in a table.

#include "script/GxMoa.h"
#include "script/GxMoaBuiltinBase.h"
#include "script/GxMoaScript.h"
#include "script/GxMoaWorkerEx.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

namespace
{
GxMoaToken Tok(uint16_t kind, int64_t value = 0)
{
    return GxMoaToken(kind, 0, value);
}
GxMoaToken Tok(uint16_t kind, const std::wstring& text, int64_t value = 0)
{
    GxMoaToken t(kind, 0, value);
    t.SetStr(text);
    return t;
}

// Performs goto with the worker's own jump, as the real builtin does.
class JumpBuiltin : public GxMoaBuiltinBase
{
public:
    bool Call(const std::wstring&, int32_t index, GxMoaVariable& args, GxMoaWorker* worker, GxMoaScript*,
              GxMoaExecStack&, GxMoaVariable&) override
    {
        if (index == 64)
            return worker->JumpToLabel(args.PeekElement(0)->ToString());
        return true;
    }
};

// A runtime with one script "b" of the given lines and a main worker.
struct Bench
{
    GxMoa m_Moa;
    GxMoaScript* m_pScript = nullptr;
    std::unique_ptr<GxMoaWorkerEx> m_Worker;
    JumpBuiltin m_Builtin;

    explicit Bench(std::vector<std::vector<GxMoaToken>> lines)
    {
        auto script = std::make_unique<GxMoaScript>();
        script->m_ScriptName = L"b";
        for (auto& line : lines)
        {
            script->m_Lines.emplace_back();
            script->m_Lines.back().m_Tokens = std::move(line);
        }
        GxMoaLabelDefinition label;
        label.m_Name = L"@loop";
        label.m_Pos = GxMoaScriptPos(0, 0, L"b");
        script->AddLabel(label);
        label.m_Name = L"START";
        m_Moa.AddLabel(label);
        m_pScript = script.get();
        m_Moa.AddScript(std::move(script));
        m_Worker = std::make_unique<GxMoaWorkerEx>(&m_Moa, nullptr);
        m_Worker->CreateGlobalVariables();
    }
    GxMoaVariableTable& Statics() { return m_Worker->FindScriptEntity(L"b")->m_Table; }
};

// The loop as the program builder writes "while ($i < n) { $i++ }":
//   *@loop  if ( $i < n ) {
//           $i ++
//           goto ( "@loop" ) }
std::unique_ptr<Bench> MakeLoop(int64_t n)
{
    std::vector<std::vector<GxMoaToken>> lines(3);
    lines[0] = {Tok(TK_LABEL, L"@loop"), Tok(TK_IF),          Tok(TK_PAREN_OPEN), Tok(TK_VARIABLE, L"i"), Tok(TK_LT),
                Tok(TK_INT, n),          Tok(TK_PAREN_CLOSE), Tok(TK_BRACE_OPEN)};
    lines[0][1].SetJumpPos(1, GxMoaRunPos(0, 3));
    lines[0][7].SetJumpPos(0, GxMoaRunPos(2, 4));
    lines[1] = {Tok(TK_VARIABLE, L"i"), Tok(TK_POST_INC)};
    lines[2] = {Tok(TK_BUILTIN, L"goto", 64), Tok(TK_PAREN_OPEN), Tok(TK_STRING, L"@loop"), Tok(TK_PAREN_CLOSE),
                Tok(TK_BRACE_CLOSE, BLOCK_CODE_IF)};
    auto b = std::make_unique<Bench>(std::move(lines));
    GxMoaVariable zero;
    zero.SetInt(0);
    b->Statics().Add(L"i", zero);
    return b;
}

constexpr int64_t kLoopCount = 20000;

void BM_CountedLoop(benchmark::State& state)
{
    std::unique_ptr<Bench> loop = MakeLoop(kLoopCount);
    Bench& b = *loop;
    int64_t statements = 0;
    for (auto _ : state)
    {
        b.Statics().Find(L"i")->m_Value.SetInt(0);
        b.m_Worker->StartAtLabel(L"START");
        while (b.m_Worker->Exec(&b.m_Builtin))
            ++statements;
        if (b.Statics().Find(L"i")->m_Value.ToInt64() != kLoopCount)
            state.SkipWithError("the loop did not count to its end");
    }
    state.counters["statements/s"] = benchmark::Counter(static_cast<double>(statements), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CountedLoop)->Unit(benchmark::kMillisecond);

// The same loop in Lua 5.4: three statements per pass (if, increment, goto), with the counter a global
// (looked up by name, like the script's STATIC) and, separately, a local.
void LuaLoop(benchmark::State& state, bool local)
{
    const int64_t n = 2000000;
    const std::string decl = local ? "local i = 0 " : "i = 0 ";
    const std::string program = "local t = os.clock() " + decl + "::top:: if i < " + std::to_string(n) +
                                " then i = i + 1 goto top end io.write(os.clock() - t)";
    const std::string command = "lua5.4 -e '" + program + "' 2>/dev/null";
    int64_t statements = 0;
    for (auto _ : state)
    {
        FILE* pipe = popen(command.c_str(), "r");
        double seconds = -1;
        if (!pipe || std::fscanf(pipe, "%lf", &seconds) != 1 || seconds <= 0)
        {
            if (pipe)
                pclose(pipe);
            state.SkipWithError("lua5.4 could not be run");
            return;
        }
        pclose(pipe);
        state.SetIterationTime(seconds);
        statements += 3 * n;
    }
    state.counters["statements/s"] = benchmark::Counter(static_cast<double>(statements), benchmark::Counter::kIsRate);
}
void BM_LuaCountedLoopGlobalReference(benchmark::State& state)
{
    LuaLoop(state, false);
}
void BM_LuaCountedLoopLocalReference(benchmark::State& state)
{
    LuaLoop(state, true);
}
BENCHMARK(BM_LuaCountedLoopGlobalReference)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LuaCountedLoopLocalReference)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// $x = 1 + 2 + ... + 50 as one statement.
void BM_Expression50Terms(benchmark::State& state)
{
    std::vector<GxMoaToken> line = {Tok(TK_VARIABLE, L"x"), Tok(TK_ASSIGN)};
    for (int i = 1; i <= 50; ++i)
    {
        if (i > 1)
            line.push_back(Tok(TK_ADD));
        line.push_back(Tok(TK_INT, i));
    }
    Bench b({line});
    int64_t statements = 0;
    for (auto _ : state)
    {
        b.m_Worker->StartAtLabel(L"START");
        b.m_Worker->Exec(&b.m_Builtin);
        ++statements;
    }
    state.counters["statements/s"] = benchmark::Counter(static_cast<double>(statements), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Expression50Terms);

// $r = $v999 + $v500 with 1,000 STATIC variables in the script's table.
void BM_VariableLookup1000(benchmark::State& state)
{
    Bench b(
        {{Tok(TK_VARIABLE, L"r"), Tok(TK_ASSIGN), Tok(TK_VARIABLE, L"v999"), Tok(TK_ADD), Tok(TK_VARIABLE, L"v500")}});
    GxMoaVariable value;
    for (int i = 0; i < 1000; ++i)
    {
        value.SetInt(i);
        b.Statics().Add(L"v" + std::to_wstring(i), value);
    }
    b.Statics().Add(L"r", value);
    int64_t statements = 0;
    for (auto _ : state)
    {
        b.m_Worker->StartAtLabel(L"START");
        b.m_Worker->Exec(&b.m_Builtin);
        ++statements;
    }
    if (b.Statics().Find(L"r")->m_Value.ToInt64() != 1499)
        state.SkipWithError("wrong sum");
    state.counters["statements/s"] = benchmark::Counter(static_cast<double>(statements), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_VariableLookup1000);
} // namespace
