#include "script/GxMoa.h"

#include "ScriptTestUtil.h"
#include "script/GxMoaOpcode.h"
#include "script/GxMoaScope.h"
#include "script/GxMoaScriptEntity.h"

#include <gtest/gtest.h>

#include <random>

using namespace ScriptTest;

namespace
{
// Lines 0-6: a label, an assignment, an IF block around a message, a builtin and a local label.
const char* const kDemoSource = "*start\n@$x = 1\n@if ($x == 1) {\nhello\n@}\n@wa.click\n*@loop\n";

Bytes& Pos(Bytes& b, int32_t line, int32_t pos)
{
    return b.S32(line).S32(pos);
}

// The demo program, byte by byte.
std::vector<uint8_t> ExpectedDemoProgram()
{
    Bytes b;
    b.List(1).Str("start").S32(0).S32(0).Str("demo").S32(0).End();
    b.List(0).End();
    b.List(1).Str("wa.click").S32(2100).S32(-1).S32(1).End();
    b.List(1).Str("demo");
    b.List(1).Str("@loop").S32(6).S32(0).Str("demo").S32(0).End();
    b.List(0).End();
    b.List(7);
    b.List(1).Bit32(4).U32(7).Str("start").End();
    b.List(3).Bit32(4).U32(9).Str("x").Bit32(0).U32(69).Bit32(1).U32(3).S64(1).End();
    b.List(7);
    b.Bit32(2).U32(27);
    Pos(Pos(Pos(Pos(b, 0, -1), 2, 2), 0, -1), 0, -1);
    b.Bit32(0).U32(40).Bit32(4).U32(9).Str("x").Bit32(0).U32(42).Bit32(1).U32(3).S64(1).Bit32(0).U32(41);
    b.Bit32(2).U32(36);
    Pos(Pos(Pos(Pos(b, 4, 0), 0, -1), 0, -1), 0, -1);
    b.End();
    b.List(1).Bit32(4).U32(8).Str("hello").End();
    b.List(1).Bit32(1).U32(37).S64(3).End();
    b.List(3).Bit32(5).U32(1).S64(2100).Str("wa.click").Bit32(0).U32(40).Bit32(0).U32(41).End();
    b.List(1).Bit32(4).U32(7).Str("@loop").End();
    b.End();
    b.End();
    return b.Get();
}

std::vector<uint8_t> BuildDemo(const TempDir& dir)
{
    WriteFile(dir.Path() / "scripts" / "Demo.txt", kDemoSource);
    const BuildResult r = RunBuilder(dir.Path() / "scripts", dir.Path() / "bincode");
    EXPECT_EQ(r.m_ExitCode, 0) << r.m_Messages;
    return ReadFile(dir.Path() / "bincode" / "moacode.mwb");
}

bool ReadProgram(GxMoa& moa, const std::vector<uint8_t>& bytes)
{
    GxContentBinaryReader reader(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return moa.Read(&reader);
}

} // namespace

TEST(GxMoaProgram, BuilderWritesTheExpectedBytesAndTheyReadAndWriteBackTheSame)
{
    TempDir dir;
    const std::vector<uint8_t> bytes = ExpectedDemoProgram();
    EXPECT_EQ(BuildDemo(dir), bytes);

    GxMoa moa;
    ASSERT_TRUE(ReadProgram(moa, bytes));
    EXPECT_EQ(WriteBytes(Form::Binary, [&](GxContentWriterBase* w) { EXPECT_TRUE(moa.Write(w)); }), bytes);

    // The text form is a readable dump of the same records and reads back to the same program.
    const auto text = WriteBytes(Form::Text, [&](GxContentWriterBase* w) { moa.Write(w); });
    const std::string dump(text.begin(), text.end());
    EXPECT_NE(dump.find("m_TokenTypeAndScope"), std::string::npos);
    GxMoa fromText;
    auto reader = MakeReader(Form::Text, text);
    ASSERT_TRUE(fromText.Read(reader.get()));
    EXPECT_EQ(WriteBytes(Form::Binary, [&](GxContentWriterBase* w) { fromText.Write(w); }), bytes);
}

TEST(GxMoaProgram, ProgramModelHoldsWhatTheFileSays)
{
    GxMoa moa;
    ASSERT_TRUE(ReadProgram(moa, ExpectedDemoProgram()));
    const GxMoaScript* demo = moa.FindScript(L"demo");
    ASSERT_NE(demo, nullptr);
    EXPECT_EQ(demo->m_pMoa, &moa);
    EXPECT_EQ(demo->GetLineCount(), 7);
    const GxMoaToken& ifToken = demo->GetToken(2, 0);
    EXPECT_EQ(ifToken.m_Kind, TK_IF);
    EXPECT_EQ(ifToken.GetJumpPos(1), GxMoaRunPos(2, 2));
    EXPECT_EQ(demo->GetToken(ifToken.GetJumpPos(1)).m_Kind, TK_VARIABLE);
    const GxMoaToken& open = demo->GetToken(2, 6);
    EXPECT_EQ(demo->GetToken(open.GetJumpPos(0)).m_Kind, TK_BRACE_CLOSE);
    EXPECT_EQ(demo->GetToken(open.GetJumpPos(0)).m_Int, BLOCK_CODE_IF);
    ASSERT_NE(moa.FindBuiltinDefinition(L"wa.click"), nullptr);
    EXPECT_EQ(moa.FindBuiltinDefinition(L"wa.click")->m_BuiltinIndex, 2100);
    EXPECT_EQ(demo->GetToken(99, 0).m_Kind, TK_SCRIPT_END);
    EXPECT_EQ(demo->GetToken(1, 3).m_Kind, TK_SCRIPT_END);
}

TEST(GxMoaProgram, LabelsAreFoundByScope)
{
    GxMoa moa;
    auto a = std::make_unique<GxMoaScript>();
    a->m_ScriptName = L"a";
    a->AddLabel(Label(L"@loop", L"a", 3));
    auto b = std::make_unique<GxMoaScript>();
    b->m_ScriptName = L"b";
    ASSERT_TRUE(moa.AddScript(std::move(a)));
    ASSERT_TRUE(moa.AddScript(std::move(b)));
    ASSERT_TRUE(moa.AddLabel(Label(L"start", L"b", 0)));
    const GxMoaScript* sa = moa.FindScript(L"a");
    const GxMoaScript* sb = moa.FindScript(L"b");

    EXPECT_NE(moa.FindLabelInScript(L"@loop", sa), nullptr);
    EXPECT_EQ(moa.FindLabelInScript(L"@loop", sb), nullptr);
    EXPECT_EQ(moa.FindLabelInScript(L"@loop", nullptr), nullptr);
    EXPECT_NE(moa.FindLabelInScript(L"start", sa), nullptr);
    EXPECT_NE(moa.FindLabelInScript(L"start", nullptr), nullptr);
    EXPECT_EQ(moa.FindLabelInScript(L"", sa), nullptr);
    EXPECT_TRUE(moa.LabelExistsInScript(L"@loop", L"a"));
    EXPECT_FALSE(moa.LabelExistsInScript(L"@loop", L"b"));
    EXPECT_FALSE(moa.LabelExistsInScript(L"@loop", L"missing"));

    GxMoaScriptEntity entity(&moa, nullptr, moa.FindScript(L"a"));
    EXPECT_NE(moa.FindLabelForEntity(L"@loop", &entity), nullptr);
    EXPECT_EQ(moa.FindLabelForEntity(L"@loop", nullptr), nullptr);
}

TEST(GxMoaProgram, DuplicatesKeepTheFirstRecordAndAddOperationsRefuseTakenNames)
{
    Bytes b;
    b.List(2).Str("L").S32(1).S32(0).Str("a").S32(0).Str("L").S32(9).S32(0).Str("a").S32(0).End();
    b.List(0).End().List(0).End();
    b.List(2);
    b.Str("a").List(0).End().List(0).End().List(1).List(0).End().End();
    b.Str("a").List(0).End().List(0).End().List(3).List(0).End().List(0).End().List(0).End().End();
    b.End();
    GxMoa moa;
    ASSERT_TRUE(ReadProgram(moa, b.Get()));
    EXPECT_EQ(moa.FindLabel(L"L")->m_Pos.m_Line, 1);
    EXPECT_EQ(moa.m_ScriptDefine.size(), 1u);
    EXPECT_EQ(moa.FindScript(L"a")->GetLineCount(), 1);
    EXPECT_FALSE(moa.AddLabel(Label(L"L", L"a", 5)));
    EXPECT_EQ(moa.FindLabel(L"L")->m_Pos.m_Line, 1);

    GxMoa added;
    GxMoaVariableDefinition def;
    def.m_Name = L"v";
    EXPECT_TRUE(added.AddVariableDefinition(def));
    EXPECT_FALSE(added.AddVariableDefinition(def));
    GxMoaBuiltinDefinition bi;
    bi.m_Name = L"msg";
    EXPECT_TRUE(added.AddBuiltinDefinition(bi));
    EXPECT_FALSE(added.AddBuiltinDefinition(bi));
    GxMoaVariable one;
    one.SetInt(1);
    EXPECT_TRUE(added.AddNamedValue(L"n", one));
    EXPECT_FALSE(added.AddNamedValue(L"n", GxMoaVariable()));
    EXPECT_EQ(added.FindNamedValue(L"n")->ToInt64(), 1);
    added.Clear();
    EXPECT_EQ(added.FindNamedValue(L"n"), nullptr);
    EXPECT_EQ(added.FindVariableDefinition(L"v"), nullptr);
}

// After each kind of edit to the program's variable definitions, every name is found where a search
// from the front finds it: the first definition of the name, or none.
TEST(GxMoaProgram, DefinitionsAreFoundAsASearchFromTheFrontFindsThemAfterEveryEdit)
{
    auto def = [](const wchar_t* name, int32_t line)
    {
        GxMoaVariableDefinition d;
        d.m_Name = name;
        d.m_Line = line;
        return d;
    };
    GxMoa moa;
    auto expectFrontSearchFinds = [&](const char* edit)
    {
        for (const wchar_t* name : {L"a", L"b", L"c"})
        {
            const GxMoaVariableDefinition* first = nullptr;
            for (const GxMoaVariableDefinition& d : moa.m_VariableDefine)
                if (d.m_Name == name && !first)
                    first = &d;
            EXPECT_EQ(moa.FindVariableDefinition(name), first) << edit << ": $" << name;
        }
    };
    for (const auto& d : {def(L"c", 0), def(L"b", 1), def(L"a", 2)})
        moa.m_VariableDefine.push_back(d);
    expectFrontSearchFinds("appended");
    moa.m_VariableDefine.erase(moa.m_VariableDefine.begin());
    moa.m_VariableDefine.push_back(def(L"a", 3)); // as many as before, the first "a" one place earlier
    expectFrontSearchFinds("erased and appended");
    moa.m_VariableDefine = {def(L"b", 4), def(L"a", 5), def(L"c", 6)};
    expectFrontSearchFinds("reassigned");
    moa.m_VariableDefine = {def(L"a", 7), def(L"a", 8), def(L"b", 9)};
    expectFrontSearchFinds("reassigned with a name twice");
    moa.m_VariableDefine.clear();
    moa.m_VariableDefine.push_back(def(L"c", 10));
    expectFrontSearchFinds("cleared and appended");
}

TEST(GxMoaProgram, TokenRecordsStoreOnlyWhatTheyCarryAndNameTablesHaveTheirBounds)
{
    GxMoaToken bare(TK_ADD);
    EXPECT_EQ(WriteBytes(Form::Binary, [&](GxContentWriterBase* w) { bare.Write(w); }), Bytes().Bit32(0).U32(48).Get());
    GxMoaToken var(TK_VARIABLE, SCOPE_GLOBAL_INGAME);
    var.SetStr(L"");
    EXPECT_EQ(WriteBytes(Form::Binary, [&](GxContentWriterBase* w) { var.Write(w); }),
              Bytes().Bit32(4).U32(0x00060009).Str("").Get());
    GxMoaToken copy = var;
    EXPECT_TRUE(copy.HasStr());

    EXPECT_STREQ(GxMoaToken::KindName(20), L"**不明トークン**");
    EXPECT_STREQ(GxMoaToken::KindName(80), L"**不明トークン**");
    EXPECT_STREQ(GxMoaToken::KindName(1), L"組み込み関数名");
    EXPECT_STREQ(GxMoaToken::KindName(79), L"?");
    EXPECT_STREQ(GxMoaScope::Name(11), L"ERROR");
    EXPECT_STREQ(GxMoaScope::Name(9), L"EXTERN_INGAME");
    EXPECT_STREQ(GxMoaOpcodeName::Get(52), L"ERROR");
    EXPECT_STREQ(GxMoaOpcodeName::Get(51), L"^=");
    GxMoaToken i(TK_INT, 0, -5);
    EXPECT_EQ(i.ToString(), L"整数値[-5]");
    GxMoaToken f(TK_FLOAT);
    f.SetFloat(0.5);
    EXPECT_EQ(f.ToString(), L"小数値[0.500000]");
    GxMoaToken w(TK_WHILE);
    w.SetStr(L"while");
    EXPECT_EQ(w.ToString(), L"WHILE String:while");
}

TEST(GxMoaProgram, PositionsCheckAndStep)
{
    GxMoaScript s;
    s.m_Lines.resize(6);
    s.m_Lines[1].m_Tokens.assign(2, GxMoaToken(TK_ADD));
    s.m_Lines[4].m_Tokens.resize(1);
    s.m_Lines[4].m_Tokens[0].m_Kind = TK_BRACE_OPEN;
    EXPECT_EQ(s.CheckPos(-1, 0), 0);
    EXPECT_EQ(s.CheckPos(6, 0), -2);
    EXPECT_EQ(s.CheckPos(1, 2), -1);
    EXPECT_EQ(s.CheckPos(1, 1), 1);

    GxMoaRunPos p(0, -1);
    EXPECT_TRUE(p.Advance(s));
    EXPECT_EQ(p, GxMoaRunPos(1, 0));
    EXPECT_TRUE(p.Advance(s));
    EXPECT_TRUE(p.Advance(s)); // empty lines 2 and 3 are skipped
    EXPECT_EQ(p, GxMoaRunPos(4, 0));
    EXPECT_FALSE(p.Advance(s));
    EXPECT_EQ(p, GxMoaRunPos(6, 0));

    p = GxMoaRunPos(1, 1);
    EXPECT_FALSE(p.AdvanceInLine(s));
    EXPECT_EQ(p, GxMoaRunPos(1, 2));
    EXPECT_TRUE(p.StepBack(s));
    EXPECT_EQ(p, GxMoaRunPos(1, 1));
    p = GxMoaRunPos(1, 0);
    EXPECT_FALSE(p.StepBack(s));
    EXPECT_EQ(p, GxMoaRunPos(1, -1));
    p = GxMoaRunPos(1, 0);
    EXPECT_EQ(p.NextLine(s), 1);
    EXPECT_EQ(p, GxMoaRunPos(2, 0));
    p = GxMoaRunPos(1, 0);
    EXPECT_TRUE(p.FindOpenBrace(s));
    EXPECT_EQ(p, GxMoaRunPos(4, 0));
    s.m_Lines[4].m_Tokens[0].m_Kind = TK_ADD;
    p = GxMoaRunPos(1, 0);
    EXPECT_FALSE(p.FindOpenBrace(s));
}

TEST(GxMoaProgram, TruncatedProgramsAreRefusedAndDamagedOnesNeverCrash)
{
    const std::vector<uint8_t> bytes = ExpectedDemoProgram();
    for (size_t n = 0; n < bytes.size(); ++n)
    {
        const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
        GxMoa moa;
        EXPECT_FALSE(ReadProgram(moa, cut)) << "cut at " << n;
        EXPECT_TRUE(moa.m_ScriptDefine.empty() && moa.m_LabelDefine.empty());
    }

    std::mt19937 rng(12345);
    for (int round = 0; round < 3000; ++round)
    {
        std::vector<uint8_t> damaged = bytes;
        const int flips = 1 + static_cast<int>(rng() % 4);
        for (int f = 0; f < flips; ++f)
            damaged[rng() % damaged.size()] ^= static_cast<uint8_t>(1u << (rng() % 8));
        GxMoa damagedMoa;
        if (!ReadProgram(damagedMoa, damaged))
            EXPECT_TRUE(damagedMoa.m_ScriptDefine.empty());
        else
            for (const auto& entry : damagedMoa.m_ScriptDefine)
                for (int32_t line = -1; line <= entry.second->GetLineCount(); ++line)
                    entry.second->GetToken(line, 0);
    }
    // Huge counts in every list position are refused without allocating.
    Bytes huge;
    huge.List(0xFFFFFFFF);
    GxMoa damagedMoa;
    EXPECT_FALSE(ReadProgram(damagedMoa, huge.Get()));
    Bytes hugeArray;
    hugeArray.List(0).End().List(1).Str("v").S32(0x7FFFFFFF).S32(6).U32(7).S64(0).Str("").S32(0).End();
    hugeArray.List(0).End().List(0).End();
    EXPECT_FALSE(ReadProgram(damagedMoa, hugeArray.Get()));
}

