// The statement interpreter: programs built from source by the program builder, run against a
// recording builtin dispatcher and a recording adventure screen; refusals; position handling.

#include "ScriptExecUtil.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace ScriptTest;

namespace
{
// A built program with a shared trace for builtin calls and what the screen is asked to show.
struct Scene
{
    SourceProgram m_Program;
    std::vector<std::wstring> m_Trace;
    RecordingBuiltin m_Builtin;
    RecordingScreen m_Screen{&m_Trace};

    Scene(std::initializer_list<std::pair<std::string, std::string>> files) : m_Program(files)
    {
        m_Builtin.m_Trace = &m_Trace;
        EXPECT_EQ(m_Program.m_Build.m_ExitCode, 0) << m_Program.m_Build.m_Messages;
        EXPECT_TRUE(m_Program.m_Loaded);
        EXPECT_TRUE(m_Program.m_Worker->StartAtLabel(L"MAIN"));
    }
    int Run() { return m_Program.RunToEnd(&m_Builtin); }
    std::vector<std::wstring> Errors() const { return m_Program.m_Moa.Lines(L"err:"); }
};

using Trace = std::vector<std::wstring>;

// A worker of the plain kind on a program's runtime, with one frame at the start of script "t".
std::unique_ptr<GxMoaWorker> PlainWorker(TokenProgram& p)
{
    auto worker = std::make_unique<GxMoaWorker>(&p.m_Moa);
    auto frame = std::make_unique<GxMoaExecStackElement>();
    frame->m_BlockType = BLOCK_NORMAL;
    frame->m_Pos = GxMoaScriptPos(0, 0, L"t");
    worker->m_ExecStack.push_back(std::move(frame));
    return worker;
}

std::string Dump(const std::vector<std::wstring>& lines)
{
    std::string out;
    for (const std::wstring& l : lines)
        out += GxString::ToUtf8(l) + "\n";
    return out;
}
} // namespace

TEST(GxMoaWorkerExec, LabelMessagesAndBuiltinCallStepOneByOne)
{
    Scene s({{"main.txt", "*MAIN\nHello there\nMio「Good morning.」\n@bg(\"room\", 1)\n"}});
    GxMoaWorkerEx& w = *s.m_Program.m_Worker;
    EXPECT_TRUE(w.Exec(&s.m_Builtin));
    EXPECT_EQ(s.m_Trace, (Trace{L"name:hide", L"message:Hello there read=0 kinsoku=0 flags=0"}));
    EXPECT_TRUE(w.Exec(&s.m_Builtin));
    EXPECT_TRUE(w.Exec(&s.m_Builtin));
    EXPECT_FALSE(w.Exec(&s.m_Builtin));
    EXPECT_EQ(s.m_Trace, (Trace{L"name:hide", L"message:Hello there read=0 kinsoku=0 flags=0", L"name:Mio mode=1",
                                L"message:「Good morning.」 read=0 kinsoku=0 flags=0", L"bg(room,1)"}));
    EXPECT_EQ(s.m_Screen.m_Log, (Trace{L"|Hello there", L"Mio|「Good morning.」"}));
    // Messages are marked read by script and 1-based line.
    EXPECT_TRUE(s.m_Screen.m_Read.count(L"main:2") && s.m_Screen.m_Read.count(L"main:3"));
    // The script ran off its end: the worker is finished with a Null return value.
    EXPECT_FALSE(w.IsRunning());
    EXPECT_TRUE(w.m_ReturnValue.IsNull());
    EXPECT_TRUE(s.Errors().empty()) << Dump(s.Errors());

    // A second run shows the same messages as read before.
    s.m_Trace.clear();
    ASSERT_TRUE(w.StartAtLabel(L"MAIN"));
    EXPECT_TRUE(w.Exec(&s.m_Builtin));
    EXPECT_EQ(s.m_Trace.back(), L"message:Hello there read=1 kinsoku=0 flags=0");
}

TEST(GxMoaWorkerExec, NameImageModeHandsOnTheResolvedPath)
{
    Scene s({{"main.txt", "*MAIN\nMio（hm）\n"}});
    s.m_Screen.m_Mode = 2;
    s.Run();
    EXPECT_EQ(s.m_Trace, (Trace{L"name:cg/name/Mio.png mode=2", L"message:（hm） read=0 kinsoku=0 flags=0"}));
    Scene none({{"main.txt", "*MAIN\nMio「hm」\n"}});
    none.m_Screen.m_Mode = 0;
    none.Run();
    EXPECT_EQ(none.m_Trace, (Trace{L"name:hide", L"message:Mio「hm」 read=0 kinsoku=0 flags=0"}));
}

TEST(GxMoaWorkerExec, ProgramsRunToTheirTraces)
{
    struct Case
    {
        std::string m_Main;
        Trace m_Trace;
    };
    std::vector<Case> cases = {
        // A false IF without ELSE continues after its brace, passing nested blocks.
        {"*MAIN\n@if (0) {\n@  log(\"no\")\n@  if (1) {\n@    log(\"nested\")\n@  }\n@}\n"
         "@if (1) {\n@  log(\"yes\")\n@}\n",
         {L"log(yes)"}},
        // The "}" of a branch that ran passes over all following ELSE branches.
        {"*MAIN\n@if (1) {\n@  log(\"a\")\n@} else if (1) {\n@  log(\"b\")\n@} else {\n"
         "@  log(\"c\")\n@}\n@log(\"z\")\n",
         {L"log(a)", L"log(z)"}},
        // A counted loop with a STATIC counter and a jump.
        {"@static $n = 0\n*MAIN\n*@loop\n@if ($n < 3) {\n@  log($n)\n@  $n++\n@  goto(\"@loop\")\n@}\n"
         "@log(\"done\", $n)\n",
         {L"log(0)", L"goto(@loop)", L"log(1)", L"goto(@loop)", L"log(2)", L"goto(@loop)", L"log(done,3)"}},
        // A builtin that jumps in the middle of an expression; in a condition the IF's frame is gone, so
        // the IF does not move the new frame.
        {"*MAIN\n@$y = goto(\"THERE\") + 1\n@log(\"never\")\n*THERE\n@log(\"there\")\n",
         {L"goto(THERE)", L"log(there)"}},
        {"*MAIN\n@if (goto(\"THERE\") == null) {\n@  log(\"inside\")\n@}\n*THERE\n@log(\"there\")\n",
         {L"goto(THERE)", L"log(there)"}},
        // Layer commands call their sprite builtins.
        {"*MAIN\n@chara.alpha(128)\n@chara(1, \"x\")\n@Bg.Layer.ALPHA()\n",
         {L"sp.alpha(chara,128)", L"sp.lcg(chara,1,x)", L"sp.alpha(Bg)"}},
    };
    // IF / ELSE IF / ELSE takes only the first true branch.
    const char* branches[] = {"one", "two", "other"};
    for (int x = 1; x <= 3; ++x)
        cases.push_back({"*MAIN\n@$x = " + std::to_string(x) +
                             "\n@if ($x == 1) {\n@  log(\"one\")\n@} else if ($x == 2) {\n@  log(\"two\")\n@} else {\n"
                             "@  log(\"other\")\n@}\n@log(\"end\")\n",
                         {L"log(" + GxString::FromUtf8(branches[x - 1]) + L")", L"log(end)"}});
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.m_Main);
        Scene s({{"main.txt", c.m_Main}});
        s.Run();
        EXPECT_EQ(s.m_Trace, c.m_Trace) << Dump(s.m_Trace);
        EXPECT_TRUE(s.Errors().empty()) << Dump(s.Errors());
    }
    // A call with arguments and a return value, across scripts.
    Scene s({{"main.txt", "*MAIN\n@gosub(\"ADD\", 2, 3)\n@$r = result()\n@log(\"sum\", $r)\n"},
             {"sub.txt", "*ADD\n@return($args[0] + $args[1])\n"}});
    s.Run();
    EXPECT_EQ(s.m_Trace, (Trace{L"gosub(ADD,2,3)", L"return(5)", L"result()", L"log(sum,5)"}));
    EXPECT_TRUE(s.Errors().empty()) << Dump(s.Errors());
}

TEST(GxMoaWorkerExec, WhileLoopRunsThroughItsJumpBack)
{
    Scene s({{"main.txt", "@static $k = 0\n*MAIN\n@while ($k < 2) {\n@  log($k)\n@  $k++\n@}\n@log(\"after\")\n"}});
    s.Run();
    ASSERT_EQ(s.m_Trace.size(), 5u) << Dump(s.m_Trace);
    EXPECT_EQ(s.m_Trace[0], L"log(0)");
    EXPECT_EQ(s.m_Trace[2], L"log(1)");
    EXPECT_EQ(s.m_Trace[4], L"log(after)");
}

TEST(GxMoaWorkerExec, LayerCommandWithoutItsBracketFails)
{
    // Without a definition the refusal is in RefusedStatementsStopTheScriptWithTheirLine; a missing
    // bracket fails the statement without the error stop.
    RecordingBuiltin builtin;
    TokenProgram q({{Tok(TK_UNKNOWN_WORD, L"chara"), Int(1)}});
    GxMoaBuiltinDefinition def;
    def.m_Name = L"sp.lcg";
    def.m_BuiltinIndex = 1003;
    q.m_Moa.AddBuiltinDefinition(def);
    EXPECT_FALSE(q.m_Worker->Exec(&builtin));
    EXPECT_EQ(q.m_Moa.m_ErrorStop, 0);
    EXPECT_EQ(q.m_Moa.Lines(L"err:"),
              (Trace{L"err:[Script=\"t\"/line=1] Phase_Skip 次に来るべき記号 ( がありません[整数値[1]]"}));
}

TEST(GxMoaWorkerExec, RefusedStatementsStopTheScriptWithTheirLine)
{
    struct Case
    {
        std::vector<GxMoaToken> m_Line;
        std::wstring m_Error;
    };
    const std::vector<Case> cases = {
        {{Tok(TK_WHILE), Tok(TK_PAREN_OPEN), Int(1), Tok(TK_PAREN_CLOSE)}, L"未実装の制御構造です[WHILE]"},
        {{Tok(TK_BREAK)}, L"未実装の制御構造です[BREAK]"},
        {{Tok(TK_SEMICOLON)}, L"処理できないトークンです[;]"},
        {{Tok(TK_ELSE), Tok(TK_BRACE_OPEN)}, L"不正なELSE文です"},
        {{Tok(TK_BRACE_CLOSE, 5)}, L"未実装のブロック終端です[}]"},
        {{Int(3)}, L"処理できないトークンです[整数値[3]]"},
        {{Tok(TK_TEXT, L"hello")}, L"メッセージを表示するアドベンチャー画面がありません"},
        {{Tok(TK_UNKNOWN_WORD, L"chara.nosuch"), Tok(TK_PAREN_OPEN), Tok(TK_PAREN_CLOSE)},
         L"レイヤー操作に使用できない命令です[sp.nosuch]"},
    };
    ASSERT_EQ(GxMoaAdventureScreen::Find(), nullptr);
    for (const Case& c : cases)
    {
        TokenProgram p({{Tok(TK_LABEL, L"L")}, c.m_Line, {Var(L"x"), Tok(TK_ASSIGN), Int(1)}});
        RecordingBuiltin builtin;
        EXPECT_FALSE(p.m_Worker->Exec(&builtin));
        EXPECT_EQ(p.m_Moa.m_ErrorStop, 1);
        EXPECT_EQ(p.m_Moa.Lines(L"err:"), (Trace{L"err:[Script=\"t\"/line=2] " + c.m_Error}));
        // Halted: nothing more runs until the run state is reset.
        EXPECT_FALSE(p.m_Worker->Exec(&builtin));
        EXPECT_EQ(p.Frame().m_LocalTable.Find(L"x"), nullptr);
    }
    // The plain worker's line for an unhandled token ends with a line feed.
    TokenProgram p({{Tok(TK_SEMICOLON)}});
    EXPECT_FALSE(PlainWorker(p)->Exec(nullptr));
    EXPECT_EQ(p.m_Moa.Lines(L"err:").back(), L"err:[Script=\"t\"/line=1] 処理できないトークンです[;]\n");
}

TEST(GxMoaWorkerExec, ConditionThatCannotBeEvaluatedOrAFrameWithoutItsScriptStops)
{
    TokenProgram p({{Tok(TK_IF), Tok(TK_PAREN_OPEN), Int(1), Int(2), Tok(TK_PAREN_CLOSE), Tok(TK_BRACE_OPEN)}});
    GxMoaToken& ifToken = p.m_pScript->m_Lines[0].m_Tokens[0];
    ifToken.SetJumpPos(1, GxMoaRunPos(0, 2));
    EXPECT_FALSE(p.m_Worker->Exec(nullptr));
    EXPECT_EQ(p.m_Moa.m_ErrorStop, 1);
    const Trace errors = p.m_Moa.Lines(L"err:");
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[1], L"err:[Script=\"t\"/line=1] 条件式が評価できません");

    TokenProgram q({{Int(1)}});
    q.Frame().m_Pos.m_ScriptName = L"nope";
    q.Frame().m_Pos.m_pEntity = nullptr;
    EXPECT_FALSE(q.m_Worker->Exec(nullptr));
    EXPECT_EQ(q.m_Moa.m_ErrorStop, 1);
    EXPECT_EQ(q.m_Moa.Lines(L"err:"),
              (Trace{L"err:[Script=\"nope\"/line=1] スクリプトが見つからないので実行できません"}));
}

TEST(GxMoaWorkerExec, PlainWorkerPassesLabelsTextsAndUnknownWordsInOneCall)
{
    TokenProgram p({{Tok(TK_LABEL, L"A")},
                    {Tok(TK_TEXT, L"100%s")},
                    {Tok(TK_UNKNOWN_WORD, L"w"), Int(1)},
                    {Tok(TK_COMMAND_START)},
                    {Var(L"x"), Tok(TK_ASSIGN), Int(1)},
                    {Tok(TK_STATIC), Var(L"s")},
                    {Var(L"x"), Tok(TK_POST_INC)}});
    auto worker = PlainWorker(p);
    GxMoaWorker& plain = *worker;
    EXPECT_TRUE(plain.Exec(nullptr));
    EXPECT_EQ(plain.GetTopFrame()->m_LocalTable.Find(L"x")->m_Value.ToInt64(), 1);
    // The text went to the log verbatim, never used as a format.
    EXPECT_EQ(p.m_Moa.Lines(L"log:"), (Trace{L"log:100%s"}));
    EXPECT_EQ(p.m_Moa.Lines(L"warn:"), (Trace{L"warn:[Script=\"t\"/line=3] 不明な単語を発見。スキップされます[w]",
                                              L"warn:[Script=\"t\"/line=5] ローカル変数 $x を作成しました[pc=2]"}));
    EXPECT_TRUE(plain.Exec(nullptr)); // the declaration line
    EXPECT_TRUE(plain.Exec(nullptr)); // x++
    EXPECT_EQ(plain.GetTopFrame()->m_LocalTable.Find(L"x")->m_Value.ToInt64(), 2);
    EXPECT_FALSE(plain.Exec(nullptr));
    EXPECT_FALSE(plain.IsRunning());
}

TEST(GxMoaWorkerExec, InvalidPositionsMoveOnAndTheScriptEnds)
{
    // A frame before its line's first token, a kind-17 token inside a line and empty lines are
    // passed over; the next call after the last line ends the worker.
    TokenProgram p({{Tok(TK_SCRIPT_END), Tok(TK_LABEL, L"A")}, {}, {Var(L"x"), Tok(TK_ASSIGN), Int(7)}});
    p.Frame().m_Pos.m_Pos = -1;
    EXPECT_TRUE(p.m_Worker->Exec(nullptr));
    EXPECT_EQ(p.Frame().m_LocalTable.Find(L"x")->m_Value.ToInt64(), 7);
    EXPECT_FALSE(p.m_Worker->Exec(nullptr));
    EXPECT_FALSE(p.m_Worker->IsRunning());
    EXPECT_TRUE(p.m_Worker->m_ReturnValue.IsNull());
    EXPECT_FALSE(p.m_Worker->Exec(nullptr));

    // A position far beyond the script ends it at once.
    TokenProgram q({{Int(1)}});
    q.Frame().m_Pos.m_Line = 99;
    EXPECT_FALSE(q.m_Worker->Exec(nullptr));
    EXPECT_FALSE(q.m_Worker->IsRunning());
}

