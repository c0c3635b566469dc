// A frame's opcode list: shared with the parse cache while it is only read, copied on the first
// change, and written to and read from a save like a list of the frame's own.

#include "ScriptExecUtil.h"
#include "script/GxMoaFrameOpcodeList.h"
#include "script/GxMoaMachine.h"

#include <gtest/gtest.h>

using namespace ScriptTest;

namespace
{
std::shared_ptr<const GxMoaParsedExpression> Parsed()
{
    return std::make_shared<const GxMoaParsedExpression>(std::vector<GxMoaVariable>{OpV(OPC_PUSH_INT), IntV(5)});
}
} // namespace

TEST(GxMoaFrameOpcodeList, ChangingASharedListChangesOnlyTheFramesCopyAndClearOrAssignEndSharing)
{
    const auto parsed = Parsed();
    GxMoaFrameOpcodeList a;
    GxMoaFrameOpcodeList b;
    a.Share(parsed);
    b.Share(parsed);
    EXPECT_EQ(&a.Get(), &parsed->GetList());
    a.push_back(OpV(OPC_UNARY_MINUS));
    EXPECT_EQ(a.GetShared(), nullptr);
    EXPECT_EQ(ListText(a), L"PUSH_INT 5 単項-");
    EXPECT_EQ(ListText(b), L"PUSH_INT 5");
    EXPECT_EQ(ListText(parsed->GetList()), L"PUSH_INT 5");

    b.Edit()[1].SetInt(6);
    EXPECT_EQ(ListText(b), L"PUSH_INT 6");
    EXPECT_EQ(ListText(parsed->GetList()), L"PUSH_INT 5");

    GxMoaFrameOpcodeList list;
    list.Share(parsed);
    list.clear();
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.GetShared(), nullptr);
    EXPECT_EQ(parsed->GetList().size(), 2u);

    list.Share(parsed);
    list = std::vector<GxMoaVariable>{OpV(OPC_PUSH_NULL)};
    EXPECT_EQ(list.GetShared(), nullptr);
    EXPECT_EQ(ListText(list), L"PUSH_NULL");
    EXPECT_EQ(parsed->GetList().size(), 2u);
}

using GxMoaFrameOpcodeListRecord = ::testing::TestWithParam<Form>;

TEST_P(GxMoaFrameOpcodeListRecord, SharedListSurvivesASaveInsideABuiltin)
{
    // $y = f() + 1, saved while f runs: the frame runs the parse cache's list, and the save holds the
    // same entries and position as a list of the frame's own would.
    TokenProgram p(
        {{Var(L"y"), Tok(TK_ASSIGN), Fn(L"f", 7), Tok(TK_PAREN_OPEN), Tok(TK_PAREN_CLOSE), Tok(TK_ADD), Int(1)}});
    RecordingBuiltin builtin;
    std::vector<uint8_t> bytes;
    bool shared = false;
    builtin.m_Hooks[L"f"] = [&](GxMoaVariable&, GxMoaWorker* w, GxMoaVariable& result)
    {
        shared = w->GetTopFrame()->m_OpcodeList.GetShared() != nullptr;
        bytes = WriteBytes(GetParam(), [&](GxContentWriterBase* writer) { EXPECT_TRUE(w->Write(writer)); });
        result.SetInt(41);
        return true;
    };
    for (int run = 0; run < 2; ++run)
    {
        ASSERT_TRUE(p.Eval(nullptr, &builtin));
        EXPECT_TRUE(shared) << run;
        EXPECT_EQ(p.Frame().m_LocalTable.Find(L"y")->m_Value.ToInt64(), 42);

        TokenProgram q(std::vector<std::vector<GxMoaToken>>(1));
        auto reader = MakeReader(GetParam(), bytes);
        ASSERT_TRUE(q.m_Worker->Read(reader.get()));
        ASSERT_EQ(q.m_Worker->m_ExecStack.size(), 1u);
        const GxMoaExecStackElement& restored = q.Frame();
        EXPECT_EQ(restored.m_OpcodeList.GetShared(), nullptr);
        EXPECT_EQ(ListText(restored.m_OpcodeList), ListText(p.Frame().m_OpcodeList));
        ASSERT_LT(static_cast<size_t>(restored.m_OpcodePos), restored.m_OpcodeList.size());
        EXPECT_EQ(restored.m_OpcodeList[static_cast<size_t>(restored.m_OpcodePos)].GetRawInt(), OPC_CALL_BUILTIN);
    }
}

INSTANTIATE_TEST_SUITE_P(BothForms, GxMoaFrameOpcodeListRecord, ::testing::Values(Form::Binary, Form::Text),
                         [](const auto& info) { return info.param == Form::Binary ? "Binary" : "Text"; });
