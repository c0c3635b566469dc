#include "script/GxMoaWorker.h"

#include "ScriptExecUtil.h"
#include "core/GxLog.h"
#include "core/GxString.h"
#include "script/GxMoa.h"
#include "script/GxMoaMachine.h"
#include "script/GxMoaOpcode.h"
#include "script/GxMoaScope.h"

#include <gtest/gtest.h>

using namespace ScriptTest;

namespace
{
void AddLabel(GxMoa& moa, GxMoaScript& script, const std::wstring& name, int32_t line)
{
    if (name[0] == L'@')
        script.AddLabel(Label(name, script.m_ScriptName, line));
    else
        moa.AddLabel(Label(name, script.m_ScriptName, line));
}

// Script "main": MAIN at line 0, sub at 2, @inner at 4, tokens on lines 0-4 and 10 (two each);
// script "other": @far at line 1 and a STATIC INGAME "st".
struct Program
{
    RecordingMoa moa;
    GxMoaWorker worker{&moa};
    Program()
    {
        auto main = std::make_unique<GxMoaScript>();
        main->m_ScriptName = L"main";
        main->m_Lines.resize(12);
        for (int line : {0, 1, 2, 3, 4, 10})
            main->m_Lines[static_cast<size_t>(line)].m_Tokens.assign(2, GxMoaToken(TK_TEXT));
        AddLabel(moa, *main, L"MAIN", 0);
        AddLabel(moa, *main, L"sub", 2);
        AddLabel(moa, *main, L"@inner", 4);
        auto other = std::make_unique<GxMoaScript>();
        other->m_ScriptName = L"other";
        other->m_Lines.resize(2);
        other->m_Lines[1].m_Tokens.assign(1, GxMoaToken(TK_TEXT));
        AddLabel(moa, *other, L"@far", 1);
        GxMoaVariableDefinition st;
        st.m_Name = L"st";
        st.m_Scope = SCOPE_STATIC_INGAME;
        st.m_InitValue.SetInt(1);
        other->m_VariableDefine.push_back(st);
        moa.AddScript(std::move(main));
        moa.AddScript(std::move(other));
        moa.CreateExternVariables();
        worker.CreateGlobalVariables();
    }
    size_t Depth() const { return worker.m_ExecStack.size(); }
    GxMoaExecStackElement& Frame(size_t i) { return *worker.m_ExecStack[i]; }
    void PushBlock(int32_t type)
    {
        auto f = std::make_unique<GxMoaExecStackElement>();
        f->m_BlockType = type;
        f->m_Pos = worker.GetTopFrame()->m_Pos;
        worker.m_ExecStack.push_back(std::move(f));
    }
};
} // namespace

TEST(GxMoaWorker, StartsAtALabelAndARestartResetsGameVariables)
{
    Program p;
    EXPECT_FALSE(p.worker.IsRunning());
    EXPECT_EQ(p.worker.m_Name, L"MAIN_WORKER");
    ASSERT_TRUE(p.worker.StartAtLabel(L"MAIN"));
    ASSERT_EQ(p.Depth(), 1u);
    EXPECT_TRUE(p.worker.IsRunning());
    EXPECT_EQ(p.Frame(0).m_BlockType, BLOCK_NORMAL);
    EXPECT_EQ(p.Frame(0).m_Pos, GxMoaRunPos(0, 0));
    EXPECT_EQ(p.Frame(0).m_Pos.m_pEntity, p.worker.FindScriptEntity(L"main"));
    EXPECT_EQ(p.worker.GetCurrentScriptName(), L"main");
    // Starting again replaces the run.
    ASSERT_TRUE(p.worker.StartAtLabel(L"sub"));
    EXPECT_EQ(p.Depth(), 1u);
    EXPECT_EQ(p.worker.GetCurrentLineIndex(), 2);

    p.worker.FindScriptEntity(L"other")->FindVariable(L"st")->m_Value.SetInt(9);
    ASSERT_TRUE(p.worker.RestartInScript(L"other", L"@far"));
    EXPECT_EQ(p.worker.FindScriptEntity(L"other")->FindVariable(L"st")->m_Value.ToInt64(), 1);
    EXPECT_EQ(p.worker.GetCurrentLineIndex(), 1);
}

TEST(GxMoaWorker, LocalLabelsNeedTheirScript)
{
    Program p;
    EXPECT_FALSE(p.worker.StartAtLabel(L"@inner"));
    EXPECT_FALSE(p.worker.IsRunning());
    ASSERT_TRUE(p.worker.StartInScript(L"main", L"@inner"));
    EXPECT_EQ(p.worker.GetCurrentLineIndex(), 4);
    ASSERT_TRUE(p.worker.JumpToLabel(L"@inner")); // context: the running frame's script
    EXPECT_FALSE(p.worker.JumpToLabel(L"@far"));
    EXPECT_TRUE(p.worker.CallLabelInScript(L"@far", L"other"));
    EXPECT_EQ(p.worker.GetCurrentScriptName(), L"other");
    EXPECT_FALSE(p.worker.JumpToLabel(L""));
}

TEST(GxMoaWorker, JumpFromABlockOfACallReplacesTheCall)
{
    Program p;
    ASSERT_TRUE(p.worker.StartAtLabel(L"MAIN"));
    ASSERT_TRUE(p.worker.CallLabel(L"sub"));
    p.PushBlock(BLOCK_IF);
    ASSERT_EQ(p.Depth(), 3u);
    GxMoaExecStackElement* caller = &p.Frame(0);
    ASSERT_TRUE(p.worker.JumpToLabel(L"@inner"));
    ASSERT_EQ(p.Depth(), 2u);
    EXPECT_EQ(&p.Frame(0), caller); // frames keep their addresses
    EXPECT_EQ(p.Frame(1).m_Pos.m_Line, 4);
    // An unknown label leaves both stacks as they were.
    p.worker.m_ValueStack.push_back(IntV(1));
    EXPECT_FALSE(p.worker.JumpToLabel(L"nowhere"));
    EXPECT_EQ(p.Depth(), 2u);
    EXPECT_EQ(p.worker.m_ValueStack.size(), 1u);
}

TEST(GxMoaWorker, JumpLeavesNothingOfTheReplacedFrame)
{
    // A jump may reuse the replaced frame's storage: the frame it leaves is a new frame in every way.
    Program p;
    ASSERT_TRUE(p.worker.StartInScript(L"other", L"@far"));
    GxMoaExecStackElement& old = p.Frame(0);
    const uint64_t oldSerial = old.m_Serial;
    old.m_LocalTable.Add(L"a", IntV(3));
    old.m_OpcodeList = std::vector<GxMoaVariable>{IntV(1), IntV(2)};
    old.m_OpcodePos = 2;
    old.m_Pos.m_Pos = 1;
    ASSERT_TRUE(p.worker.JumpToLabelInScript(L"MAIN", L"main"));
    ASSERT_EQ(p.Depth(), 1u);
    const GxMoaExecStackElement& now = p.Frame(0);
    EXPECT_NE(now.m_Serial, oldSerial);
    EXPECT_EQ(GxMoaMachine::FindFrame(&p.worker, &old, oldSerial), nullptr);
    EXPECT_EQ(now.m_BlockType, BLOCK_NORMAL);
    EXPECT_EQ(now.m_Pos, GxMoaRunPos(0, 0));
    EXPECT_EQ(now.m_Pos.m_ScriptName, L"main");
    EXPECT_EQ(now.m_Pos.m_pEntity, p.worker.FindScriptEntity(L"main"));
    EXPECT_EQ(now.m_LocalTable.GetCount(), 0u);
    EXPECT_TRUE(now.m_OpcodeList.empty());
    EXPECT_EQ(now.m_OpcodePos, 0);

    // Arguments taken from the replaced frame's own variables arrive whole.
    p.Frame(0).m_LocalTable.Add(L"a", IntV(4));
    ASSERT_TRUE(p.worker.JumpToLabelInScript(L"@far", L"other", p.Frame(0).m_LocalTable.Find(L"a")));
    ASSERT_EQ(p.Depth(), 1u);
    ASSERT_NE(p.Frame(0).m_LocalTable.Find(L"a"), nullptr);
    EXPECT_EQ(p.Frame(0).m_LocalTable.Find(L"a")->m_Value.ToInt64(), 4);
    EXPECT_EQ(p.Frame(0).m_Pos.m_pEntity, p.worker.FindScriptEntity(L"other"));
}

TEST(GxMoaWorker, CallReturnsWithAValueFinishKeepsItAndStopClearsIt)
{
    Program p;
    ASSERT_TRUE(p.worker.StartAtLabel(L"MAIN"));
    GxMoaVariableSet args(L"arg", GxMoaVariable());
    args.m_Value.MakeArray(2);
    args.m_Value.Store(1, IntV(8));
    ASSERT_TRUE(p.worker.CallLabel(L"sub", &args));
    ASSERT_EQ(p.Depth(), 2u);
    GxMoaVariableSet* arg = p.Frame(1).m_LocalTable.Find(L"arg");
    ASSERT_NE(arg, nullptr);
    EXPECT_EQ(arg->m_Value.PeekElement(1)->ToInt64(), 8);
    args.m_Value.Clear();
    EXPECT_EQ(arg->m_Value.GetArraySize(), 2); // a copy
    p.PushBlock(BLOCK_ELSE);
    const GxMoaVariable five = IntV(5);
    EXPECT_TRUE(p.worker.Return(&five));
    EXPECT_EQ(p.Depth(), 1u);
    EXPECT_EQ(p.worker.m_ReturnValue.ToInt64(), 5);
    EXPECT_FALSE(p.worker.Return());
    EXPECT_FALSE(p.worker.IsRunning());
    EXPECT_TRUE(p.worker.m_ReturnValue.IsNull());
    EXPECT_FALSE(p.worker.Return());

    ASSERT_TRUE(p.worker.StartAtLabel(L"MAIN"));
    const GxMoaVariable seven = IntV(7);
    p.worker.Finish(&seven);
    EXPECT_FALSE(p.worker.IsRunning());
    EXPECT_EQ(p.worker.m_ReturnValue.ToInt64(), 7);
    p.worker.Stop();
    EXPECT_TRUE(p.worker.m_ReturnValue.IsNull());
    ASSERT_TRUE(p.worker.StartAtLabel(L"MAIN"));
    p.worker.Finish();
    EXPECT_TRUE(p.worker.m_ReturnValue.IsNull());
}

TEST(GxMoaWorker, CurrentLineQueriesAndErrorReportsNameScriptAndLine)
{
    Program p;
    EXPECT_EQ(p.worker.GetCurrentLine(), -1);
    EXPECT_EQ(p.worker.GetCurrentLineIndex(), -1);
    EXPECT_EQ(p.worker.GetCurrentScriptName(), L"");
    ASSERT_TRUE(p.worker.StartAtLabel(L"MAIN"));
    p.Frame(0).m_Pos.m_Line = 10;
    EXPECT_EQ(p.worker.GetCurrentLine(), 5); // lines 9 to 5 are empty, line 4 has tokens
    p.Frame(0).m_Pos.m_pEntity = nullptr;
    EXPECT_EQ(p.worker.GetCurrentLine(), 10);

    p.worker.ReportError(L"goto", static_cast<const GxMoaScriptEntity*>(nullptr), nullptr, L"no label[%s]", L"x");
    ASSERT_TRUE(p.worker.StartAtLabel(L"sub"));
    p.worker.ReportError(L"f", p.worker.FindScriptEntity(L"main"), &p.worker.GetExecStack(), L"%d", 3);
    EXPECT_EQ(p.moa.Lines(L"err:"), (std::vector<std::wstring>{L"err:[Script=\"*\"/line=0] goto:no label[x]",
                                                               L"err:[Script=\"main\"/line=3] f:3"}));
    EXPECT_EQ(p.moa.m_ErrorCount, 2u);
}

using GxMoaWorkerRecord = ::testing::TestWithParam<Form>;

TEST_P(GxMoaWorkerRecord, StacksSurviveASaveInsideACall)
{
    Program p;
    ASSERT_TRUE(p.worker.StartAtLabel(L"MAIN"));
    p.Frame(0).m_LocalTable.Add(L"a", IntV(1));
    ASSERT_TRUE(p.worker.CallLabelInScript(L"@far", L"other"));
    p.PushBlock(BLOCK_IF);
    GxMoaExecStackElement& top = p.Frame(2);
    top.m_LocalTable.StoreByName(L"s", 2, nullptr);
    top.m_OpcodeList.push_back(
        []
        {
            GxMoaVariable v;
            v.SetOpcode(OPC_PUSH_INT);
            return v;
        }());
    top.m_OpcodeList.push_back(IntV(42));
    top.m_OpcodePos = 2;
    top.m_Pos.m_Pos = 1; // after the line's last token
    p.worker.m_ValueStack.push_back(IntV(42));
    p.worker.m_ReturnValue.SetString(L"ret");
    const auto bytes = WriteBytes(GetParam(), [&](GxContentWriterBase* w) { EXPECT_TRUE(p.worker.Write(w)); });

    Program q;
    auto reader = MakeReader(GetParam(), bytes);
    ASSERT_TRUE(q.worker.Read(reader.get()));
    ASSERT_EQ(q.Depth(), 3u);
    EXPECT_EQ(q.Frame(0).m_BlockType, BLOCK_NORMAL);
    EXPECT_EQ(q.Frame(2).m_BlockType, BLOCK_IF);
    EXPECT_EQ(q.Frame(0).m_LocalTable.Find(L"a")->m_Value.ToInt64(), 1);
    EXPECT_EQ(q.Frame(1).m_Pos.m_ScriptName, L"other");
    EXPECT_EQ(q.Frame(1).m_Pos.m_pEntity, q.worker.FindScriptEntity(L"other"));
    EXPECT_EQ(q.Frame(2).m_Pos, GxMoaRunPos(1, 1));
    EXPECT_EQ(q.Frame(2).m_LocalTable.Find(L"s")->m_Value.GetArraySize(), 3);
    ASSERT_EQ(q.Frame(2).m_OpcodeList.size(), 2u);
    EXPECT_EQ(q.Frame(2).m_OpcodeList[0].GetType(), GxMoaVariable::TYPE_OPCODE);
    EXPECT_EQ(q.Frame(2).m_OpcodePos, 2);
    ASSERT_EQ(q.worker.m_ValueStack.size(), 1u);
    EXPECT_EQ(q.worker.m_ValueStack[0].ToInt64(), 42);
    EXPECT_EQ(q.worker.m_ReturnValue.ToString(), L"ret");
    // The restored call returns to its caller.
    EXPECT_TRUE(q.worker.Return());
    EXPECT_EQ(q.Depth(), 1u);
    EXPECT_EQ(q.worker.GetCurrentScriptName(), L"main");
}

INSTANTIATE_TEST_SUITE_P(BothForms, GxMoaWorkerRecord, ::testing::Values(Form::Binary, Form::Text),
                         [](const auto& info) { return info.param == Form::Binary ? "Binary" : "Text"; });

TEST(GxMoaWorker, FramesOutsideTheirScriptAndTruncatedRecordsAreRefused)
{
    struct Case
    {
        int32_t m_Line, m_Pos, m_OpcodePos;
    };
    for (const Case c : {Case{99, 0, 0}, Case{-1, 0, 0}, Case{1, 5, 0}, Case{1, -2, 0}, Case{1, 0, 3}, Case{1, 0, -1}})
    {
        Program p;
        ASSERT_TRUE(p.worker.StartInScript(L"other", L"@far"));
        p.Frame(0).m_Pos.m_Line = c.m_Line;
        p.Frame(0).m_Pos.m_Pos = c.m_Pos;
        p.Frame(0).m_OpcodePos = c.m_OpcodePos;
        const auto bytes = WriteBytes(Form::Binary, [&](GxContentWriterBase* w) { p.worker.Write(w); });
        Program q;
        ASSERT_TRUE(q.worker.StartAtLabel(L"MAIN"));
        auto reader = MakeReader(Form::Binary, bytes);
        EXPECT_FALSE(q.worker.Read(reader.get())) << c.m_Line << "," << c.m_Pos << "," << c.m_OpcodePos;
        EXPECT_FALSE(q.worker.IsRunning());
    }

    Program p;
    ASSERT_TRUE(p.worker.StartAtLabel(L"MAIN"));
    ASSERT_TRUE(p.worker.CallLabel(L"sub"));
    p.Frame(1).m_LocalTable.Add(L"x", IntV(3));
    p.worker.m_ValueStack.push_back(IntV(1));
    const auto bytes = WriteBytes(Form::Binary, [&](GxContentWriterBase* w) { p.worker.Write(w); });
    for (size_t n = 0; n < bytes.size(); ++n)
    {
        const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
        Program q;
        auto reader = MakeReader(Form::Binary, cut);
        EXPECT_FALSE(q.worker.Read(reader.get()));
        EXPECT_FALSE(q.worker.IsRunning());
    }
}

// A program that lacks a script (a damaged or changed program file): a saved position in it is refused
// with one counted line, the worker left stopped; the permanent records of that script come back from a
// reload and are written again as they were, a value of 10 included.
TEST(GxMoaWorker, AScriptTheProgramLacksIsRefusedAsAPositionAndKeptAsARecord)
{
    Program p;
    ASSERT_TRUE(p.worker.StartInScript(L"other", L"@far"));
    const auto position = WriteBytes(Form::Binary, [&](GxContentWriterBase* w) { p.worker.Write(w); });
    Program q;
    q.moa.m_ScriptDefine.erase(L"other");
    q.worker.CreateGlobalVariables();
    ASSERT_TRUE(q.worker.StartAtLabel(L"MAIN"));
    auto reader = MakeReader(Form::Binary, position);
    const uint32_t errors = GxLog::GetErrorCount();
    EXPECT_FALSE(q.worker.Read(reader.get()));
    EXPECT_EQ(GxLog::GetErrorCount(), errors + 1);
    EXPECT_FALSE(q.worker.IsRunning());

    GxMoaVariableSet* kept = p.worker.FindScriptEntity(L"other")->m_Table.Find(L"st");
    ASSERT_NE(kept, nullptr);
    kept->m_Scope = SCOPE_STATIC_PERMAN;
    kept->m_Value = IntV(10);
    const auto records =
        WriteBytes(Form::Binary, [&](GxContentWriterBase* w) { p.worker.WriteScriptEntities(w, PERSIST_PERMAN); });
    auto again = MakeReader(Form::Binary, records);
    ASSERT_TRUE(q.worker.ReloadScriptEntities(again.get(), PERSIST_PERMAN));
    EXPECT_EQ(
        WriteBytes(Form::Binary, [&](GxContentWriterBase* w) { q.worker.WriteScriptEntities(w, PERSIST_PERMAN); }),
        records);
    // A reset of the class forgets them.
    q.worker.ResetVariablesOfClass(PERSIST_PERMAN);
    EXPECT_NE(
        WriteBytes(Form::Binary, [&](GxContentWriterBase* w) { q.worker.WriteScriptEntities(w, PERSIST_PERMAN); }),
        records);
}
