// The program builder (tools/moabuild), driven as the engine and the sample game drive it.

#include "../../tools/moabuild/MoaBuilder.h"
#include "ScriptExecUtil.h"
#include "script/GxMoa.h"
#include "script/GxMoaBuiltinTable.h"
#include "script/GxMoaScope.h"

#include <gtest/gtest.h>

#include <set>

using namespace ScriptTest;

namespace
{
// A built program: m_Build holds the builder's exit code and messages, m_Moa the program read back.
struct Built : SourceProgram
{
    using SourceProgram::SourceProgram;
    const GxMoaScript& Script(const std::wstring& name) const { return *m_Moa.FindScript(name); }
};

// Compiles, in this process, a story of a label and `count` GLOBAL and `count` STATIC declarations; the
// steps the program's definition lists took on the way, indexing names and looking them up.
size_t DefinitionStepsCompiling(int count)
{
    std::string source = "*MAIN\n";
    for (int i = 0; i < count; ++i)
        source += "@global $g" + std::to_string(i) + " = 1\n@static $s" + std::to_string(i) + " = 1\n";
    GxMoa moa;
    MoaBuilder builder(moa);
    EXPECT_TRUE(builder.AddSource("scripts/s.txt", source));
    builder.Finish();
    const GxMoaScript* script = moa.FindScript(L"s");
    EXPECT_EQ(moa.m_VariableDefine.size(), static_cast<size_t>(count));
    if (!script)
        return 0;
    EXPECT_EQ(script->m_VariableDefine.size(), static_cast<size_t>(count));
    return moa.m_VariableDefine.GetStepCount() + script->m_VariableDefine.GetStepCount();
}

// Compiles, in this process, `depth` nested ifs around `depth` nested loops around a line for each of
// `depth` declared variables; the steps the loop check took.
size_t LoopCheckStepsCompiling(int depth)
{
    std::string source = "*MAIN\n@global $a = 0\n";
    for (int i = 0; i < depth; ++i)
        source += "@global $u" + std::to_string(i) + " = 0\n";
    for (int i = 0; i < depth; ++i)
        source += "@if ($a) {\n";
    for (int i = 0; i < depth; ++i)
        source += "@while ($a < 1) {\n";
    for (int i = 0; i < depth; ++i)
        source += "@$u" + std::to_string(i) + " = 1\n";
    for (int i = 0; i < 2 * depth; ++i)
        source += "@}\n";
    GxMoa moa;
    MoaBuilder builder(moa);
    EXPECT_TRUE(builder.AddSource("scripts/s.txt", source));
    builder.Finish();
    EXPECT_EQ(builder.GetWarningCount(), 0);
    return builder.GetLoopCheckSteps();
}

std::vector<uint16_t> Kinds(const GxMoaScript& s, int32_t line)
{
    std::vector<uint16_t> kinds;
    for (const GxMoaToken& t : s.m_Lines[static_cast<size_t>(line)].m_Tokens)
        kinds.push_back(t.m_Kind);
    return kinds;
}
} // namespace

TEST(Moabuild, OneScriptPerFileOneLinePerSourceLine)
{
    Built b({{"Intro.TXT", "*start\r\n\r\n// note\r\nText line\r\n   \r\n@$x = 1\r\n\\@not a statement\r\n"},
             {"second.moa", "hello"},
             {"ignored.dat", "@nonsense"}});
    ASSERT_EQ(b.m_Build.m_ExitCode, 0) << b.m_Build.m_Messages;
    ASSERT_TRUE(b.m_Loaded);
    EXPECT_EQ(b.m_Moa.m_ScriptDefine.size(), 2u);
    const GxMoaScript& intro = b.Script(L"intro");
    ASSERT_EQ(intro.GetLineCount(), 7);
    EXPECT_EQ(intro.GetTokenCount(1), 0);
    EXPECT_EQ(intro.GetTokenCount(2), 0);
    EXPECT_EQ(intro.GetTokenCount(4), 0);
    EXPECT_EQ(intro.GetToken(3, 0).GetStr(), L"Text line");
    EXPECT_EQ(intro.GetToken(6, 0).m_Kind, TK_TEXT);
    EXPECT_EQ(intro.GetToken(6, 0).GetStr(), L"@not a statement");
    EXPECT_EQ(b.Script(L"second").GetToken(0, 0).GetStr(), L"hello");
}

TEST(Moabuild, ExpressionsBecomeTokens)
{
    Built b({{"e.txt",
              "@$x = -1 - -$y[2]\n@$x++\n@$r = rand\n@$s = \"a\\\"b\" : 2.5 : null : 0x10\n@$a = array(1, , 3)\n"}});
    ASSERT_EQ(b.m_Build.m_ExitCode, 0) << b.m_Build.m_Messages;
    const GxMoaScript& s = b.Script(L"e");
    EXPECT_EQ(Kinds(s, 0),
              (std::vector<uint16_t>{TK_VARIABLE, TK_ASSIGN, TK_UNARY_MINUS, TK_INT, TK_SUB, TK_UNARY_MINUS,
                                     TK_ARRAY_VARIABLE, TK_BRACKET_OPEN, TK_INT, TK_BRACKET_CLOSE}));
    EXPECT_EQ(Kinds(s, 1), (std::vector<uint16_t>{TK_VARIABLE, TK_POST_INC}));
    // A builtin written without brackets gets them.
    EXPECT_EQ(Kinds(s, 2), (std::vector<uint16_t>{TK_VARIABLE, TK_ASSIGN, TK_BUILTIN, TK_PAREN_OPEN, TK_PAREN_CLOSE}));
    EXPECT_EQ(s.GetToken(2, 2).m_Int, 300);
    EXPECT_EQ(s.GetToken(2, 2).GetStr(), L"rand");
    EXPECT_EQ(s.GetToken(3, 2).GetStr(), L"a\"b");
    EXPECT_DOUBLE_EQ(s.GetToken(3, 4).GetFloat(), 2.5);
    EXPECT_EQ(s.GetToken(3, 6).m_Kind, TK_NULL);
    EXPECT_EQ(s.GetToken(3, 8).m_Int, 16);
    EXPECT_EQ(Kinds(s, 4), (std::vector<uint16_t>{TK_VARIABLE, TK_ASSIGN, TK_ARRAY, TK_PAREN_OPEN, TK_INT, TK_COMMA,
                                                  TK_COMMA, TK_INT, TK_PAREN_CLOSE}));
    ASSERT_NE(b.m_Moa.FindBuiltinDefinition(L"rand"), nullptr);
    EXPECT_EQ(b.m_Moa.m_BuiltinDefine.size(), 1u);
}

TEST(Moabuild, IfElseChainsCarryTheirJumpPositions)
{
    Built b({{"c.txt", "@if ($a) {\none\n@} else if ($b == 2) {\ntwo\n@} else {\nthree\n@}\n"}});
    ASSERT_EQ(b.m_Build.m_ExitCode, 0) << b.m_Build.m_Messages;
    const GxMoaScript& s = b.Script(L"c");
    EXPECT_EQ(s.GetToken(0, 0).GetJumpPos(1), GxMoaRunPos(0, 2));
    EXPECT_EQ(s.GetToken(0, 4).GetJumpPos(0), GxMoaRunPos(2, 0));
    EXPECT_EQ(s.GetToken(2, 0).m_Int, BLOCK_CODE_IF);
    EXPECT_EQ(s.GetToken(2, 1).m_Kind, TK_ELSE);
    EXPECT_EQ(s.GetToken(2, 1).GetJumpPos(1), GxMoaRunPos(2, 3));
    EXPECT_EQ(s.GetToken(2, 3).m_Kind, TK_VARIABLE);
    EXPECT_EQ(s.GetToken(2, 7).m_Kind, TK_BRACE_OPEN);
    EXPECT_EQ(s.GetToken(2, 7).GetJumpPos(0), GxMoaRunPos(4, 0));
    EXPECT_EQ(s.GetToken(4, 0).m_Int, BLOCK_CODE_ELSE);
    EXPECT_EQ(s.GetToken(4, 1).GetJumpLine(1), -1); // a plain ELSE
    EXPECT_EQ(s.GetToken(4, 2).GetJumpPos(0), GxMoaRunPos(6, 0));
    EXPECT_EQ(s.GetToken(6, 0).m_Int, BLOCK_CODE_ELSE);
    for (int line = 0; line < s.GetLineCount(); ++line)
        for (const GxMoaToken& t : s.m_Lines[static_cast<size_t>(line)].m_Tokens)
            EXPECT_NE(t.m_Kind, TK_SEMICOLON);
}

TEST(Moabuild, WhileBecomesALabelAnIfAndAJump)
{
    Built b({{"w.txt", "@static $n = 0\n@while ($n < 3) {\n@  $n++\n@  $tmp = $n\n@  if ($flag) {\n@  }\n@}\n"
                       "@while ($n < 9) {\n@  while ($n < 5) {\n@    $deep = 1\n@  }\n@}\n"}});
    ASSERT_EQ(b.m_Build.m_ExitCode, 0) << b.m_Build.m_Messages;
    const GxMoaScript& s = b.Script(L"w");
    EXPECT_EQ(Kinds(s, 1), (std::vector<uint16_t>{TK_LABEL, TK_IF, TK_PAREN_OPEN, TK_VARIABLE, TK_LT, TK_INT,
                                                  TK_PAREN_CLOSE, TK_BRACE_OPEN}));
    const std::wstring label = s.GetToken(1, 0).GetStr();
    ASSERT_NE(s.FindLabel(label), nullptr);
    EXPECT_EQ(label[0], L'@');
    EXPECT_EQ(s.FindLabel(label)->m_Pos, GxMoaRunPos(1, 0));
    EXPECT_EQ(s.GetToken(1, 1).GetJumpPos(1), GxMoaRunPos(1, 3));
    EXPECT_EQ(Kinds(s, 6),
              (std::vector<uint16_t>{TK_BUILTIN, TK_PAREN_OPEN, TK_STRING, TK_PAREN_CLOSE, TK_BRACE_CLOSE}));
    EXPECT_EQ(s.GetToken(6, 0).m_Int, 64);
    EXPECT_EQ(s.GetToken(6, 2).GetStr(), label);
    EXPECT_EQ(s.GetToken(1, 7).GetJumpPos(0), GxMoaRunPos(6, 4));
    EXPECT_EQ(s.GetToken(4, 0).m_Kind, TK_IF); // an if inside the loop: its own block, no label
    EXPECT_NE(b.m_Build.m_Messages.find("w.txt:2: warning: the loop uses $flag"), std::string::npos);
    // $tmp is LOCAL and lost at every jump back: warned; the STATIC $n is not.
    EXPECT_NE(b.m_Build.m_Messages.find("w.txt:2: warning: the loop uses $tmp"), std::string::npos);
    EXPECT_EQ(b.m_Build.m_Messages.find("$n,"), std::string::npos);
    // A variable of a nested loop is reported once, at the outermost loop.
    EXPECT_NE(b.m_Build.m_Messages.find("w.txt:8: warning: the loop uses $deep"), std::string::npos);
    EXPECT_EQ(b.m_Build.m_Messages.find("$deep"), b.m_Build.m_Messages.rfind("$deep")) << b.m_Build.m_Messages;
}

TEST(Moabuild, LayerCommandsNameTheirBuiltin)
{
    Built b({{"l.txt", "@chara.alpha(128)\n@Chara(1, \"x\")\n@立ち絵.alpha(1)\n"}});
    ASSERT_EQ(b.m_Build.m_ExitCode, 0) << b.m_Build.m_Messages;
    const GxMoaScript& s = b.Script(L"l");
    EXPECT_EQ(Kinds(s, 0), (std::vector<uint16_t>{TK_UNKNOWN_WORD, TK_PAREN_OPEN, TK_INT, TK_PAREN_CLOSE}));
    EXPECT_EQ(s.GetToken(0, 0).GetStr(), L"chara.alpha");
    ASSERT_NE(b.m_Moa.FindBuiltinDefinition(L"sp.alpha"), nullptr);
    EXPECT_EQ(b.m_Moa.FindBuiltinDefinition(L"sp.alpha")->m_BuiltinIndex, 1001);
    ASSERT_NE(b.m_Moa.FindBuiltinDefinition(L"sp.lcg"), nullptr);
    EXPECT_EQ(b.m_Moa.FindBuiltinDefinition(L"sp.lcg")->m_BuiltinIndex, 1003);
    EXPECT_EQ(s.GetToken(2, 0).GetStr(), L"立ち絵.alpha");
}

TEST(Moabuild, DeclarationsGoToTheirScopes)
{
    Built b(
        {{"d.txt",
          "@static $s = -5\n@static perman $sp = 1.5\n@global nosave $g[3]\n@extern perman $e = \"x\"\n@global $n\n"}});
    ASSERT_EQ(b.m_Build.m_ExitCode, 0) << b.m_Build.m_Messages;
    const GxMoaScript& s = b.Script(L"d");
    ASSERT_EQ(s.m_VariableDefine.size(), 2u);
    EXPECT_EQ(s.FindVariableDefinition(L"s")->m_Scope, SCOPE_STATIC_INGAME);
    EXPECT_EQ(s.FindVariableDefinition(L"s")->m_InitValue.ToInt64(), -5);
    EXPECT_EQ(s.FindVariableDefinition(L"s")->m_Line, 0);
    EXPECT_EQ(s.FindVariableDefinition(L"sp")->m_Scope, SCOPE_STATIC_PERMAN);
    const GxMoaVariableDefinition* g = b.m_Moa.FindVariableDefinition(L"g");
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->m_Scope, SCOPE_GLOBAL_NOSAVE);
    EXPECT_EQ(g->m_ArraySize, 3);
    EXPECT_EQ(g->m_ScriptName, L"d");
    EXPECT_EQ(b.m_Moa.FindVariableDefinition(L"e")->m_Scope, SCOPE_EXTERN_PERMAN);
    EXPECT_EQ(b.m_Moa.FindVariableDefinition(L"e")->m_InitValue.ToString(), L"x");
    EXPECT_TRUE(b.m_Moa.FindVariableDefinition(L"n")->m_InitValue.IsNull());
    EXPECT_EQ(s.GetToken(2, 0).m_Kind, TK_GLOBAL);
    EXPECT_EQ(s.GetToken(2, 1).m_Kind, TK_NOSAVE);
}

// The compiler looks each declared name up before it adds the declaration: that must cost the same at
// every size, so four times the declarations take four times the steps, not sixteen times.
TEST(Moabuild, DeclarationsAreIndexedAtAConstantCostEach)
{
    const size_t few = DefinitionStepsCompiling(1000);
    const size_t many = DefinitionStepsCompiling(4000);
    EXPECT_LT(many, 8 * few) << few << " names, then " << many;
}

// Each line notes its variables for the outermost loop alone and finds that loop without walking the
// blocks around it: four times the depth (and the lines) takes four times the steps, not sixteen times.
TEST(Moabuild, NestingCostsTheSameStepsALineAtEveryDepth)
{
    const size_t few = LoopCheckStepsCompiling(250);
    const size_t many = LoopCheckStepsCompiling(1000);
    EXPECT_LT(many, 8 * few) << few << " steps, then " << many;
}

TEST(Moabuild, ErrorsAreReportedByLineAndNothingIsWritten)
{
    const std::pair<const char*, const char*> cases[] = {
        {"a\n\n@$x = nosuchbuiltin(1)\n", "x.txt:3: error:"},
        {"@if ($a) {\nno end\n", "x.txt:1: error: this block is not closed"},
        {"\n@}\n", "x.txt:2: error:"},
        {"@for ($i) {\n@}\n", "x.txt:1: error:"},
        {"@$a = 1;\n", "x.txt:1: error:"},
        {"@$a = (1\n", "x.txt:1: error:"},
        {"@$a = \"open\n", "x.txt:1: error:"},
        {"@else {\n", "x.txt:1: error:"},
        {"@chara.nosuch(1)\n", "x.txt:1: error:"},
        {"@static $a\n@static $a\n", "x.txt:2: error:"},
        {"@global $a[99999999]\n", "x.txt:1: error:"},
        {"@$a = 99999999999999999999\n", "x.txt:1: error:"},
        {"ok\n\xff\xfe\n", "x.txt:2: error:"},
        {"*\n", "x.txt:1: error:"},
        {"*@l\n*@l\n", "x.txt:2: error:"},
        // Lines the runtime's parser refuses.
        {"@$x = 1 +\n", "x.txt:1: error:"},
        {"@$a[$i + 1] = 2\n", "x.txt:1: error:"},
        {"@$x = ++$y\n", "x.txt:1: error:"},
        {"@$x = 1 2\n", "x.txt:1: error:"},
        {"@$x = 1 ? 2\n", "x.txt:1: error:"},
        {"@if ($a) {\n@} else {\n@} else {\n@}\n", "x.txt:3: error:"},
        {"@if ($a +) {\n@}\n", "x.txt:1: error:"},
    };
    for (const auto& c : cases)
    {
        TempDir dir;
        WriteFile(dir.Path() / "scripts" / "x.txt", c.first);
        WriteFile(dir.Path() / "bincode" / "moacode.mwb", "old");
        const BuildResult r = RunBuilder(dir.Path() / "scripts", dir.Path() / "bincode");
        EXPECT_EQ(r.m_ExitCode, 1) << c.first;
        EXPECT_NE(r.m_Messages.find(c.second), std::string::npos) << c.first << "\n" << r.m_Messages;
        size_t errors = 0;
        for (size_t at = r.m_Messages.find(": error:"); at != std::string::npos;
             at = r.m_Messages.find(": error:", at + 1))
            ++errors;
        EXPECT_EQ(errors, 1u) << c.first << "\n" << r.m_Messages;
        const auto old = ReadFile(dir.Path() / "bincode" / "moacode.mwb");
        EXPECT_EQ(std::string(old.begin(), old.end()), "old");
    }
}

TEST(Moabuild, GlobalNamesAreUniqueAcrossScripts)
{
    Built b({{"a.txt", "*MAIN\n@global $v\n"}, {"b.txt", "\n*MAIN\n@global $v\n"}, {"Z.moa", "x\n"}, {"z.txt", "y\n"}});
    EXPECT_EQ(b.m_Build.m_ExitCode, 1);
    EXPECT_NE(b.m_Build.m_Messages.find("b.txt:2: error: label MAIN is already defined (script a, line 1)"),
              std::string::npos)
        << b.m_Build.m_Messages;
    EXPECT_NE(b.m_Build.m_Messages.find("b.txt:3: error:"), std::string::npos);
    EXPECT_NE(b.m_Build.m_Messages.find("z.txt:1: error: script name 'z'"), std::string::npos);
}

TEST(GxMoaBuiltinTable, NamesAreUniqueAndIndicesLieInTheirRanges)
{
    struct Bounds
    {
        int32_t m_First, m_Last;
    };
    const Bounds ranges[] = {{1, 299},     {300, 499},     {500, 999},    {1000, 1099}, {1100, 1299},
                             {1300, 1399}, {1400, 1499},   {1500, 1599},  {2000, 2099}, {2100, 2199},
                             {2200, 2399}, {10000, 19999}, {20000, 29999}};
    std::set<std::wstring> names;
    std::set<int32_t> indices;
    for (const GxMoaBuiltinTableEntry& e : GxMoaBuiltinTable::GetEntries())
    {
        EXPECT_TRUE(names.insert(e.m_Name).second) << e.m_Index;
        EXPECT_TRUE(indices.insert(e.m_Index).second) << e.m_Index;
        bool inRange = false;
        for (const Bounds& r : ranges)
            inRange = inRange || (e.m_Index >= r.m_First && e.m_Index <= r.m_Last);
        EXPECT_TRUE(inRange) << e.m_Index;
        EXPECT_EQ(GxMoaBuiltinTable::FindIndex(e.m_Name), e.m_Index);
    }
    for (const auto& [name, index] : std::vector<std::pair<const wchar_t*, int32_t>>{{L"goto", 64},
                                                                                     {L"rand", 300},
                                                                                     {L"msg", 516},
                                                                                     {L"sp.lcg", 1003},
                                                                                     {L"wa.click", 2100},
                                                                                     {L"jumptotitle", 10000},
                                                                                     {L"zor_saverounddata", 20058}})
        EXPECT_EQ(GxMoaBuiltinTable::FindIndex(name), index) << GxString::ToUtf8(name);
    EXPECT_EQ(GxMoaBuiltinTable::FindIndex(L"MSG"), -1);
}
