// The expression machine: every opcode, the value rules it relies on, variables it creates, builtin
// calls and the errors that stop it.

#include "ScriptExecUtil.h"
#include "script/GxMoaMachine.h"
#include "script/GxMoaVariableSet.h"

#include <gtest/gtest.h>

#include <limits>

using namespace ScriptTest;

namespace
{
// One line of tokens evaluated as an expression on a fresh program.
struct Machine
{
    TokenProgram m_Program;
    RecordingBuiltin m_Builtin;
    GxMoaVariable m_Result;
    bool m_Ok = false;

    explicit Machine(const std::vector<GxMoaToken>& line, bool withBuiltin = true,
                     std::initializer_list<std::pair<const wchar_t*, GxMoaVariable>> locals = {})
        : m_Program({line})
    {
        for (const auto& [name, value] : locals)
            m_Program.Frame().m_LocalTable.Add(name, value);
        m_Ok = m_Program.Eval(&m_Result, withBuiltin ? &m_Builtin : nullptr);
    }
    GxMoaVariable* Local(const std::wstring& name)
    {
        GxMoaVariableSet* set = m_Program.Frame().m_LocalTable.Find(name);
        return set ? &set->m_Value : nullptr;
    }
    std::vector<std::wstring> Errors() const { return m_Program.m_Moa.Lines(L"err:"); }
};

// Runs a hand-made list on the top frame of a program without lines.
struct ListRun
{
    TokenProgram m_Program{{}};
    RecordingBuiltin m_Builtin;
    int m_Status = -1;

    explicit ListRun(std::vector<GxMoaVariable> list, bool withBuiltin = true)
    {
        m_Program.Frame().m_OpcodeList = std::move(list);
        m_Status = GxMoaMachine::Exec_Opcode(withBuiltin ? &m_Builtin : nullptr, m_Program.m_pScript, &m_Program.m_Moa,
                                             m_Program.m_Worker.get(), true);
    }
    const std::vector<GxMoaVariable>& Stack() const { return m_Program.m_Worker->m_ValueStack; }
    std::wstring FirstError() const
    {
        const auto errors = m_Program.m_Moa.Lines(L"err:");
        return errors.empty() ? L"" : errors[0];
    }
};

// A comparison rule as the Int value the machine pushes.
template <bool (*Rule)(const GxMoaVariable&, const GxMoaVariable&)>
GxMoaVariable AsInt(const GxMoaVariable& l, const GxMoaVariable& r)
{
    return IntV(Rule(l, r));
}
} // namespace

TEST(GxMoaMachine, OperatorsFollowTheValueRules)
{
    // Each line evaluated on a fresh program: the result's type and text.
    const auto T = [](uint16_t kind) { return Tok(kind); };
    struct Case
    {
        std::vector<GxMoaToken> m_Line;
        uint32_t m_Type;
        std::wstring m_Expect;
    };
    const uint32_t I = GxMoaVariable::TYPE_INT, S = GxMoaVariable::TYPE_STR, N = GxMoaVariable::TYPE_NULL;
    std::vector<Case> cases = {
        {{Int(7), T(TK_DIV), Int(2)}, I, L"3"},
        {{Int(1), T(TK_DIV), Int(0)}, N, L""},
        {{Str(L"1"), T(TK_ADD), Str(L"2")}, I, L"3"},
        {{Str(L"1"), T(TK_CONCAT), Str(L"2")}, S, L"12"},
        {{Int(9), T(TK_SUB), Int(4), T(TK_MUL), Int(2)}, I, L"1"},
        {{Int(9), T(TK_MOD), Int(4)}, I, L"1"},
        {{T(TK_UNARY_MINUS), Int(5)}, I, L"-5"},
        {{T(TK_UNARY_PLUS), Int(5)}, I, L"5"},
        {{T(TK_BIT_NOT), Int(0)}, I, L"-1"},
        {{T(TK_NOT), Int(0)}, I, L"1"},
        {{T(TK_NOT), T(TK_NULL)}, I, L"1"},
        {{Int(6), T(TK_BIT_AND), Int(3)}, I, L"2"},
        {{Int(6), T(TK_BIT_OR), Int(3)}, I, L"7"},
        {{Int(6), T(TK_BIT_XOR), Int(3)}, I, L"5"},
        {{Int(1), T(TK_SHL), Int(4)}, I, L"16"},
        {{Int(-1), T(TK_SHR), Int(60)}, I, L"15"}, // ">>" shifts zeros in
    };
    // Comparisons and logic give Int 1 or 0.
    const uint16_t logic[] = {TK_EQ, TK_NE, TK_GT, TK_GE, TK_LT, TK_LE, TK_AND, TK_OR};
    for (size_t i = 0; i < std::size(logic); ++i)
        cases.push_back({{Int(2), T(logic[i]), Int(3)}, I, std::wstring(1, L"01001111"[i])});
    for (size_t i = 0; i < cases.size(); ++i)
    {
        SCOPED_TRACE(i);
        Machine m(cases[i].m_Line);
        EXPECT_TRUE(m.m_Ok);
        EXPECT_EQ(m.m_Result.GetType(), cases[i].m_Type);
        EXPECT_EQ(m.m_Result.ToString(), cases[i].m_Expect);
    }

    // Logical operators evaluate both sides.
    Machine both({Int(0), Tok(TK_AND), Fn(L"f", 7), Tok(TK_PAREN_OPEN), Tok(TK_PAREN_CLOSE)});
    EXPECT_TRUE(both.m_Ok);
    EXPECT_EQ(both.m_Result.ToInt64(), 0);
    EXPECT_EQ(both.m_Builtin.m_OwnTrace, std::vector<std::wstring>{L"f()"});
}

TEST(GxMoaMachine, PostfixOnAnUndefinedVariableCreatesItAndYieldsTheOldValue)
{
    Machine m({Var(L"x"), Tok(TK_POST_INC)});
    ASSERT_TRUE(m.m_Ok);
    EXPECT_TRUE(m.m_Result.IsNull());
    ASSERT_NE(m.Local(L"x"), nullptr);
    EXPECT_EQ(m.Local(L"x")->GetType(), GxMoaVariable::TYPE_INT);
    EXPECT_EQ(m.Local(L"x")->ToInt64(), 1);
    EXPECT_EQ(m.m_Program.m_Moa.Lines(L"warn:"),
              std::vector<std::wstring>{L"warn:[Script=\"t\"/line=1] ローカル変数 $x を作成しました[pc=0]"});
    Machine d({Var(L"y"), Tok(TK_ASSIGN), Var(L"x"), Tok(TK_POST_DEC)});
    ASSERT_TRUE(d.m_Ok);
    EXPECT_EQ(d.Local(L"x")->ToInt64(), -1);
    EXPECT_TRUE(d.Local(L"y")->IsNull());
}

TEST(GxMoaMachine, ElementReadsGrowTheArrayAndAssignmentsStoreAndYieldTheValue)
{
    const GxMoaToken bo = Tok(TK_BRACKET_OPEN), bc = Tok(TK_BRACKET_CLOSE);
    Machine m({AryVar(L"a"), bo, Int(5), bc}, false, {{L"a", ArrV(2)}});
    ASSERT_TRUE(m.m_Ok);
    EXPECT_TRUE(m.m_Result.IsNull());
    EXPECT_EQ(m.Local(L"a")->GetArraySize(), 6);
    // Index -1 is the whole value; an element of a non-array is Null.
    Machine s({AryVar(L"s"), bo, Tok(TK_UNARY_MINUS), Int(1), bc, Tok(TK_CONCAT), AryVar(L"s"), bo, Int(0), bc}, false,
              {{L"s", StrV(L"txt")}});
    ASSERT_TRUE(s.m_Ok);
    EXPECT_EQ(s.m_Result.ToString(), L"txt");

    // $a[2] = $b = 4
    Machine a({AryVar(L"a"), bo, Int(2), bc, Tok(TK_ASSIGN), Var(L"b"), Tok(TK_ASSIGN), Int(4)});
    ASSERT_TRUE(a.m_Ok);
    EXPECT_EQ(a.m_Result.ToInt64(), 4);
    EXPECT_EQ(a.Local(L"b")->ToInt64(), 4);
    ASSERT_EQ(a.Local(L"a")->GetArraySize(), 3);
    EXPECT_EQ(a.Local(L"a")->GetElement(2)->ToInt64(), 4);
}

TEST(GxMoaMachine, CompoundAssignments)
{
    struct Case
    {
        uint16_t m_Kind;
        std::wstring m_Expect;
    };
    // x = 12, then x op= 4.
    const Case cases[] = {{TK_ADD_ASSIGN, L"16"}, {TK_CONCAT_ASSIGN, L"124"}, {TK_SUB_ASSIGN, L"8"},
                          {TK_MUL_ASSIGN, L"48"}, {TK_DIV_ASSIGN, L"3"},      {TK_MOD_ASSIGN, L"0"},
                          {TK_AND_ASSIGN, L"4"},  {TK_OR_ASSIGN, L"12"},      {TK_XOR_ASSIGN, L"8"}};
    for (const Case& c : cases)
    {
        Machine m({Var(L"x"), Tok(c.m_Kind), Int(4)}, false, {{L"x", IntV(12)}});
        ASSERT_TRUE(m.m_Ok);
        EXPECT_EQ(m.m_Result.ToString(), c.m_Expect) << GxString::ToUtf8(GxMoaToken::KindName(c.m_Kind));
        EXPECT_EQ(m.Local(L"x")->ToString(), c.m_Expect);
    }
    // Element forms take and store the element.
    Machine m({AryVar(L"a"), Tok(TK_BRACKET_OPEN), Int(1), Tok(TK_BRACKET_CLOSE), Tok(TK_ADD_ASSIGN), Int(5)});
    ASSERT_TRUE(m.m_Ok);
    EXPECT_EQ(m.Local(L"a")->GetElement(1)->ToInt64(), 5);
}

TEST(GxMoaMachine, NegativeElementIndexStops)
{
    const std::vector<GxMoaToken> target = {AryVar(L"a"), Tok(TK_BRACKET_OPEN), Tok(TK_UNARY_MINUS), Int(2),
                                            Tok(TK_BRACKET_CLOSE)};
    const std::pair<std::vector<GxMoaToken>, std::wstring> cases[] = {
        {{Tok(TK_ASSIGN), Int(1)}, L"OPC_ASSIGN 変数の要素 $a[-2] に代入できません[pc=5]"},
        {{Tok(TK_POST_INC)}, L"OPC_AFTER_* 変数の要素 $a[-2] に代入できません[pc=3]"},
        {{Tok(TK_MUL_ASSIGN), Int(1)}, L"OPC_ASSIGN_* 変数の要素 $a[-2] に代入できません[pc=5]"},
    };
    for (const auto& [rest, error] : cases)
    {
        std::vector<GxMoaToken> line = target;
        line.insert(line.end(), rest.begin(), rest.end());
        Machine m(line);
        EXPECT_FALSE(m.m_Ok);
        EXPECT_EQ(m.m_Program.m_Moa.m_ErrorStop, 1);
        ASSERT_FALSE(m.Errors().empty());
        EXPECT_EQ(m.Errors()[0], L"err:[Script=\"t\"/line=1] " + error);
    }
}

TEST(GxMoaMachine, BuiltinGetsItsArgumentsInOrderItsResultIsPushedAndItsFailureStops)
{
    TokenProgram p(
        {{Fn(L"f", 7), Tok(TK_PAREN_OPEN), Int(1), Tok(TK_COMMA), Int(2), Tok(TK_PAREN_CLOSE), Tok(TK_ADD), Int(10)}});
    RecordingBuiltin builtin;
    builtin.m_Hooks[L"f"] = [](GxMoaVariable& args, GxMoaWorker*, GxMoaVariable& result)
    {
        result.SetInt(args.GetElement(0)->ToInt64() * 100 + args.GetElement(1)->ToInt64());
        return true;
    };
    GxMoaVariable result;
    ASSERT_TRUE(p.Eval(&result, &builtin));
    EXPECT_EQ(result.ToInt64(), 112);
    EXPECT_EQ(builtin.m_Indices, std::vector<int32_t>{7});

    builtin.m_Hooks[L"f"] = [](GxMoaVariable&, GxMoaWorker*, GxMoaVariable&) { return false; };
    EXPECT_FALSE(p.Eval(nullptr, &builtin));
    EXPECT_EQ(p.m_Moa.m_ErrorStop, 1);
    EXPECT_EQ(p.m_Moa.Lines(L"err:")[0],
              L"err:[Script=\"t\"/line=1] 関数実行時にエラーが発生したので停止します[builtin:f]");

    Machine none({Fn(L"f", 7)}, false);
    EXPECT_FALSE(none.m_Ok);
    EXPECT_EQ(none.Errors()[0],
              L"err:[Script=\"t\"/line=1] OPC_CALL_BUILTIN 組み込み関数ポインタが設定されていません[pc=2]");
}

TEST(GxMoaMachine, ArgumentCountBeyondTheStackIsAnUnderflow)
{
    // f(()) counts one argument that pushed nothing.
    Machine m({Fn(L"f", 7), Tok(TK_PAREN_OPEN), Tok(TK_PAREN_OPEN), Tok(TK_PAREN_CLOSE), Tok(TK_PAREN_CLOSE)});
    EXPECT_FALSE(m.m_Ok);
    EXPECT_TRUE(m.m_Builtin.m_OwnTrace.empty());
    EXPECT_EQ(m.Errors()[0],
              L"err:[Script=\"t\"/line=1] Exec_IsValueLastOne 計算スタックに必要なパラメータが積まれていません[pc=2]");
    Machine a({Tok(TK_ARRAY), Tok(TK_PAREN_OPEN), Tok(TK_PAREN_OPEN), Tok(TK_PAREN_CLOSE), Tok(TK_PAREN_CLOSE)});
    EXPECT_FALSE(a.m_Ok);
    ListRun huge({OpV(OPC_PUSH_INT), IntV(1), OpV(OPC_ELEMENTNUM), IntV(INT64_MAX), OpV(OPC_ARRAYINIT)});
    EXPECT_EQ(huge.m_Status, 0);
    ListRun negative({OpV(OPC_ELEMENTNUM), IntV(-1), OpV(OPC_CALL_BUILTIN), IntV(7), StrV(L"f")});
    EXPECT_EQ(negative.m_Status, 0);
    EXPECT_TRUE(negative.m_Builtin.m_OwnTrace.empty());
}

TEST(GxMoaMachine, ArrayInitKeepsTheElementOrderAndNoOperationOpcodesLeaveTheStackAlone)
{
    ListRun r({OpV(OPC_PUSH_INT), IntV(1), OpV(OPC_PUSH_STR), StrV(L"b"), OpV(OPC_PUSH_NULL), OpV(OPC_ELEMENTNUM),
               IntV(3), OpV(OPC_ARRAYINIT)});
    ASSERT_EQ(r.m_Status, 1);
    ASSERT_EQ(r.Stack().size(), 1u);
    GxMoaVariable array = r.Stack()[0];
    ASSERT_EQ(array.GetArraySize(), 3);
    EXPECT_EQ(array.GetElement(0)->ToInt64(), 1);
    EXPECT_EQ(array.GetElement(1)->ToString(), L"b");
    EXPECT_TRUE(array.GetElement(2)->IsNull());

    ListRun n({OpV(OPC_NONE), OpV(OPC_SEPARATOR), OpV(OPC_ELEMENT), OpV(OPC_ARRAYINDEX), OpV(OPC_PRE_INC),
               OpV(OPC_PRE_DEC), OpV(OPC_PUSH_FLT), GxMoaVariable(), OpV(OPC_UNARY_PLUS)});
    EXPECT_EQ(n.m_Status, 1);
    ASSERT_EQ(n.Stack().size(), 1u);
    EXPECT_EQ(n.m_Program.Frame().m_OpcodePos, 9);
}

TEST(GxMoaMachine, MalformedListsStopWithTheirMessages)
{
    struct Case
    {
        std::vector<GxMoaVariable> m_List;
        std::wstring m_Error;
    };
    const std::wstring at = L"err:[Script=\"t\"/line=1] ";
    const std::vector<Case> cases = {
        {{IntV(3)}, L"Exec_Opcode Opcodeではないパラメータを演算しようとしました[pc=0]"},
        {{OpV(52)}, L"Exec_Opcode 不正な演算コードです[pc=0]"},
        {{OpV(OPC_PUSH_INT)}, L"Exec_Opcode 不正な演算コードです[pc=0]"},
        {{OpV(OPC_ASSIGN), OpV(OPC_ALTER_VAR)}, L"Exec_Opcode 不正な演算コードです[pc=0]"},
        {{OpV(OPC_ALTER_VAR), StrV(L"x")}, L"OPC_ALTER_VAR 単体でこのコードは実行できません[pc=0]"},
        {{OpV(OPC_ALTER_VARARY), StrV(L"x")}, L"OPC_ALTER_VARARY 単体でこのコードは実行できません[pc=0]"},
        {{OpV(OPC_PUSH_INT), IntV(1), OpV(OPC_ADD)},
         L"Exec_IsValueLastTwo 計算スタックに必要なパラメータが積まれていません[pc=2]"},
        {{OpV(OPC_UNARY_MINUS)}, L"Exec_IsValueLastOne 計算スタックに必要なパラメータが積まれていません[pc=0]"},
        {{OpV(OPC_ASSIGN), OpV(OPC_ALTER_VAR), StrV(L"x")},
         L"Exec_IsValueLastOne 計算スタックに必要なパラメータが積まれていません[pc=0]"},
        {{OpV(OPC_PUSH_INT), OpV(OPC_NONE)}, L"Exec_PushStack 計算スタックに積むパラメータが不足しています[pc=0]"},
    };
    for (const Case& c : cases)
    {
        ListRun r(c.m_List);
        EXPECT_EQ(r.m_Status, 0);
        EXPECT_EQ(r.FirstError(), at + c.m_Error);
    }
}

TEST(GxMoaMachine, BrokenAssignmentTargetIsReportedAndTheRunGoesOn)
{
    ListRun r({OpV(OPC_PUSH_INT), IntV(5), OpV(OPC_ASSIGN), OpV(OPC_PUSH_VAR), StrV(L"x"), OpV(OPC_PUSH_INT), IntV(1),
               OpV(OPC_ADD)});
    EXPECT_EQ(r.m_Status, 1);
    EXPECT_EQ(r.FirstError(), L"err:[Script=\"t\"/line=1] OPC_ASSIGN Opecodeが壊れています[pc=2]");
    ASSERT_EQ(r.Stack().size(), 1u);
    EXPECT_EQ(r.Stack()[0].ToInt64(), 6);
}

// An empty expression yields Null; an opcode value in a variable is never pushed; no frame, no run.
TEST(GxMoaMachine, EmptyOpcodeValuedOrFramelessEvaluations)
{
    Machine m({Tok(TK_SEMICOLON)});
    EXPECT_TRUE(m.m_Ok);
    EXPECT_TRUE(m.m_Result.IsNull());
    EXPECT_TRUE(m.m_Program.m_Worker->m_ValueStack.empty());

    TokenProgram p({{Var(L"x")}});
    p.Frame().m_LocalTable.Add(L"x", OpV(OPC_ADD));
    EXPECT_FALSE(p.Eval(nullptr, nullptr));
    EXPECT_EQ(p.m_Moa.Lines(L"err:")[0],
              L"err:[Script=\"t\"/line=1] Exec_PushStack 計算スタックに積むパラメータが不足しています[pc=0]");

    TokenProgram q({{Int(1)}});
    q.m_Worker->m_ExecStack.clear();
    EXPECT_FALSE(q.Eval(nullptr, nullptr));
    EXPECT_EQ(q.m_Moa.m_ErrorStop, 1);
    EXPECT_EQ(q.m_Moa.Lines(L"err:")[0],
              L"err:[Script=\"*\"/line=0] GxMoa::Eval_Token 実行中ではないWorkerを計算しようとしました");
}

TEST(GxMoaMachine, BuiltinThatJumpsEndsTheRunOnTheOldFrame)
{
    // f jumps; the rest of the list (+ 1, then the assignment) belongs to a frame that is gone.
    TokenProgram p(
        {{Var(L"y"), Tok(TK_ASSIGN), Fn(L"f", 7), Tok(TK_PAREN_OPEN), Tok(TK_PAREN_CLOSE), Tok(TK_ADD), Int(1)},
         {Tok(TK_LABEL, L"L")}});
    p.AddLabel(L"L", 1);
    RecordingBuiltin builtin;
    builtin.m_Hooks[L"f"] = [](GxMoaVariable&, GxMoaWorker* w, GxMoaVariable&) { return w->JumpToLabel(L"L"); };
    const uint64_t before = p.Frame().m_Serial;
    EXPECT_TRUE(p.Eval(nullptr, &builtin));
    ASSERT_EQ(p.m_Worker->m_ExecStack.size(), 1u);
    EXPECT_NE(p.Frame().m_Serial, before);
    EXPECT_EQ(p.Frame().m_Pos.m_Line, 1);
    EXPECT_EQ(p.Frame().m_LocalTable.Find(L"y"), nullptr);
    EXPECT_TRUE(p.m_Moa.Lines(L"err:").empty());

    // A builtin that stops the worker ends the run the same way.
    TokenProgram q({{Fn(L"f", 7), Tok(TK_PAREN_OPEN), Tok(TK_PAREN_CLOSE), Tok(TK_ADD), Int(1)}});
    builtin.m_Hooks[L"f"] = [](GxMoaVariable&, GxMoaWorker* w, GxMoaVariable&)
    {
        w->Stop();
        return true;
    };
    EXPECT_TRUE(q.Eval(nullptr, &builtin));
    EXPECT_FALSE(q.m_Worker->IsRunning());
}

TEST(GxMoaMachine, BuiltinThatCallsLetsTheCallerFinishItsExpression)
{
    TokenProgram p(
        {{Var(L"y"), Tok(TK_ASSIGN), Fn(L"f", 7), Tok(TK_PAREN_OPEN), Tok(TK_PAREN_CLOSE), Tok(TK_ADD), Int(1)},
         {Tok(TK_LABEL, L"L")}});
    p.AddLabel(L"L", 1);
    GxMoaExecStackElement* caller = &p.Frame();
    RecordingBuiltin builtin;
    builtin.m_Hooks[L"f"] = [](GxMoaVariable&, GxMoaWorker* w, GxMoaVariable& result)
    {
        // Pushing several frames would move frames kept by value; these stay put.
        for (int i = 0; i < 40; ++i)
            w->CallLabel(L"L");
        result.SetInt(41);
        return true;
    };
    EXPECT_TRUE(p.Eval(nullptr, &builtin));
    EXPECT_EQ(p.m_Worker->m_ExecStack.size(), 41u);
    ASSERT_NE(caller->m_LocalTable.Find(L"y"), nullptr);
    EXPECT_EQ(caller->m_LocalTable.Find(L"y")->m_Value.ToInt64(), 42);
    EXPECT_EQ(caller->m_OpcodePos, static_cast<int32_t>(caller->m_OpcodeList.size()));
}

TEST(GxMoaMachine, RepeatedEvaluationBehavesLikeTheFirstAndRepeatsReportsAndBreakpoints)
{
    // The second evaluation of a position takes the kept parse: same list, same end, same result.
    TokenProgram p({{Var(L"x"), Tok(TK_ADD_ASSIGN), Int(2), Tok(TK_PAREN_CLOSE), Int(9)}});
    p.Frame().m_LocalTable.Add(L"x", IntV(1));
    std::wstring firstList;
    for (int i = 0; i < 3; ++i)
    {
        GxMoaVariable result;
        GxMoaRunPos cursor(0, 0);
        ASSERT_TRUE(p.m_Moa.Eval_Token(&result, nullptr, p.m_Worker.get(), cursor, true));
        EXPECT_EQ(cursor, GxMoaRunPos(0, 3));
        EXPECT_EQ(result.ToInt64(), 3 + 2 * i);
        if (i == 0)
            firstList = ListText(p.Frame().m_OpcodeList);
        EXPECT_EQ(ListText(p.Frame().m_OpcodeList), firstList);
    }
    // A later start on the same line is a different expression.
    GxMoaVariable result;
    ASSERT_TRUE(p.Eval(&result, nullptr, 0, 4));
    EXPECT_EQ(result.ToInt64(), 9);

    TokenProgram q(
        {{Int(1), Int(2)}, {Var(L"x"), Tok(TK_ASSIGN), Tok(TK_PAREN_OPEN), Tok(TK_BREAKPOINT), Tok(TK_PAREN_CLOSE)}});
    for (int i = 0; i < 2; ++i)
        EXPECT_FALSE(q.Eval(nullptr, nullptr));
    EXPECT_EQ(q.m_Moa.Lines(L"err:").size(), 2u);
    for (int i = 0; i < 2; ++i)
    {
        q.m_Moa.ResetRunState();
        q.Eval(nullptr, nullptr, 1, 0);
        EXPECT_EQ(q.m_Moa.m_Breakpoint, 1) << i;
    }
}

TEST(GxMoaMachine, KeptLookupsFollowVariablesAddedAndRemovedButNotAJump)
{
    // $r = $v run again and again while the tables change between runs.
    TokenProgram p({{Var(L"r"), Tok(TK_ASSIGN), Var(L"v")}});
    GxMoaVariableTable& statics = p.m_Worker->FindScriptEntity(L"t")->m_Table;
    statics.Add(L"v", IntV(1));
    const auto run = [&]()
    {
        GxMoaVariable result;
        EXPECT_TRUE(p.Eval(&result, nullptr));
        return result.ToInt64();
    };
    EXPECT_EQ(run(), 1);
    statics.Find(L"v")->m_Value.SetInt(7);
    EXPECT_EQ(run(), 7);
    p.Frame().m_LocalTable.Add(L"v", IntV(2)); // a LOCAL now hides the STATIC
    EXPECT_EQ(run(), 2);
    p.Frame().m_LocalTable.Clear();
    EXPECT_EQ(run(), 7);
    statics.Clear();
    statics.Add(L"v", IntV(5));
    EXPECT_EQ(run(), 5);
    statics.Clear();
    p.m_Worker->m_GlobalTable.Add(L"v", IntV(6));
    EXPECT_EQ(run(), 6);
    // New entities (a program reload) hold new tables.
    p.m_Worker->m_GlobalTable.Clear();
    p.m_Worker->CreateGlobalVariables();
    p.m_Worker->FindScriptEntity(L"t")->m_Table.Add(L"v", IntV(8));
    EXPECT_EQ(run(), 8);

    // The jump reuses the frame's storage; the LOCAL seen before the jump is gone after it.
    TokenProgram q({{Var(L"r"), Tok(TK_ASSIGN), Var(L"v")}, {Tok(TK_LABEL, L"L")}});
    q.AddLabel(L"L", 1);
    q.m_Worker->FindScriptEntity(L"t")->m_Table.Add(L"v", IntV(1));
    q.Frame().m_LocalTable.Add(L"v", IntV(2));
    GxMoaVariable after;
    ASSERT_TRUE(q.Eval(&after, nullptr));
    EXPECT_EQ(after.ToInt64(), 2);

    ASSERT_TRUE(q.m_Worker->JumpToLabel(L"L"));
    ASSERT_TRUE(q.Eval(&after, nullptr));
    EXPECT_EQ(after.ToInt64(), 1);
}

TEST(GxMoaMachine, IntegerOperatorsFollowTheValueRulesAtTheLimits)
{
    // Two integers are computed by the machine itself: the results must be those of the value rules.
    const int64_t edge[] = {std::numeric_limits<int64_t>::min(), -2, -1, 0, 1, 3, std::numeric_limits<int64_t>::max()};
    const struct
    {
        int32_t opcode;
        GxMoaVariable (*rule)(const GxMoaVariable&, const GxMoaVariable&);
    } ops[] = {{OPC_EQ, &AsInt<&GxMoaVariable::Equal>},
               {OPC_NE, &AsInt<&GxMoaVariable::NotEqual>},
               {OPC_GT, &AsInt<&GxMoaVariable::Greater>},
               {OPC_GE, &AsInt<&GxMoaVariable::GreaterEqual>},
               {OPC_LT, &AsInt<&GxMoaVariable::Less>},
               {OPC_LE, &AsInt<&GxMoaVariable::LessEqual>},
               {OPC_ADD, &GxMoaVariable::Add},
               {OPC_SUB, &GxMoaVariable::Sub},
               {OPC_MUL, &GxMoaVariable::Mul}};
    for (const auto& op : ops)
        for (int64_t a : edge)
            for (int64_t b : edge)
            {
                ListRun run({OpV(OPC_PUSH_INT), IntV(a), OpV(OPC_PUSH_INT), IntV(b), OpV(op.opcode)});
                ASSERT_EQ(run.m_Status, 1);
                ASSERT_EQ(run.Stack().size(), 1u);
                const GxMoaVariable expected = op.rule(IntV(a), IntV(b));
                EXPECT_EQ(run.Stack()[0].GetType(), GxMoaVariable::TYPE_INT);
                EXPECT_EQ(run.Stack()[0].ToInt64(), expected.ToInt64())
                    << GxMoaOpcodeName::Get(op.opcode) << " " << a << " " << b;
            }
}
