#include "BuiltinTestSupport.h"
#include "appdata/DBCGMode.h"
#include "appdata/DBRPMode.h"
#include "core/GxRandom.h"
#include "task/GxSeqBase.h"
#include "task/GxSeqSystemBase.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace BuiltinTest;

namespace
{
// A system sequence that records the dialogs it is asked to open.
class RecordingSystem : public GxSeqSystemBase
{
public:
    explicit RecordingSystem(GxTaskBase* parent) : GxSeqSystemBase(parent, L"SeqSystem") {}
    void OpenUserDialog(const wchar_t* key, const wchar_t* message, int32_t kind) override
    {
        m_Opened.push_back(std::wstring(key) + L"|" + message + L"|" + std::to_wstring(kind));
    }
    std::vector<std::wstring> m_Opened;
};
} // namespace

TEST(GxMoaBuiltinExSystem, RandSwapsBoundsAndNeverDrawsOutsideThem)
{
    Scene s;
    GxRandom::Seed(2026); // as the game's start-up does
    ASSERT_TRUE(s.Call(L"rand", Args({IntV(5), IntV(5)})));
    EXPECT_EQ(s.Result().GetRawInt(), 5);
    for (int i = 0; i < 200; ++i)
    {
        ASSERT_TRUE(s.Call(L"rand", Args({IntV(10), IntV(1)})));
        EXPECT_GE(s.Result().GetRawInt(), 1);
        EXPECT_LE(s.Result().GetRawInt(), 10);
    }
    // A count beyond 32 bits gives the lower bound.
    ASSERT_TRUE(s.Call(L"rand", Args({IntV(INT32_MAX), IntV(INT32_MIN)})));
    EXPECT_EQ(s.Result().GetRawInt(), INT32_MIN);
}

TEST(GxMoaBuiltinExSystem, ExtraOptionBitsAndQueries)
{
    Scene s;
    s.Perman().m_ExtraOption.SetBits(0x0Fu);
    ASSERT_TRUE(s.Call(L"getextraoption", Args({IntV(35)})));
    EXPECT_EQ(s.Result().GetRawInt(), 1); // 35 reads bit 3
    ASSERT_TRUE(s.Call(L"setextraoption", Args({IntV(3), IntV(0)})));
    EXPECT_EQ(s.Perman().m_ExtraOption.GetBits(), 0x07u);
    ASSERT_TRUE(s.Call(L"setextraoption", Args({IntV(42), IntV(5)})));
    EXPECT_EQ(s.Perman().m_ExtraOption.GetBits(), 0x407u);

    ASSERT_TRUE(s.Call(L"getpassedlabel", Args({StrV(L"RP_NEVER")})));
    EXPECT_EQ(s.Result().GetRawInt(), 0);
    EXPECT_FALSE(s.Call(L"getpassedlabel", Args({StrV(L"")})));
    ASSERT_TRUE(s.Call(L"setnameidentifymode", Args({IntV(3)})));
    EXPECT_EQ(s.Data().m_NameIdentifyMode, 3);
    s.Config().m_DebugModeFlag = true;
    ASSERT_TRUE(s.Call(L"getdebugmodeflag"));
    EXPECT_EQ(s.Result().GetRawInt(), 1);
}

TEST(GxMoaBuiltinExSystem, DialogResultIsZeroUntilAnsweredAndNoSecondDialogOpens)
{
    Scene s;
    auto* system = new RecordingSystem(s.m_Root);
    s.m_Tasks->SetSystemSequence(system);
    auto* dialog = new GxTaskBase(system, L"dlg_user");
    dialog->SetGlobalState(GX_TASKSTATE_SUSPENDED);
    s.Data().m_LastDialogResult = 1;
    ASSERT_TRUE(s.Call(L"dlg", Args({StrV(L"続けますか")})));
    ASSERT_TRUE(s.Call(L"getdialogresult"));
    EXPECT_EQ(s.Result().GetRawInt(), 0);
    EXPECT_EQ(system->m_Opened, (std::vector<std::wstring>{L"USERDIALOG|続けますか|1"}));

    dialog->SetGlobalState(GX_TASKSTATE_ACTIVE);
    s.Data().m_LastDialogResult = 1;
    EXPECT_FALSE(s.Call(L"dlg", Args({StrV(L"again"), IntV(3)})));
    EXPECT_EQ(s.Data().m_LastDialogResult, 0);
    EXPECT_EQ(system->m_Opened.size(), 1u);
    ASSERT_FALSE(s.Errors().empty());
    EXPECT_NE(s.Errors().back().find(L"dlg:ダイアログは二重に開けません"), std::wstring::npos);
}

TEST(GxMoaBuiltinExReplay, ReplayAndGalleryRecords)
{
    Scene s;
    g_DBRPMode.GetRow(1)->m_Label = L"RP_A";
    g_DBCGMode.GetRow(1)->m_FileName[0] = L"ev01";
    g_DBCGMode.GetRow(1)->m_Count = 0;
    EXPECT_FALSE(s.Call(L"rp.set", Args({StrV(L"RP_B")})));
    EXPECT_TRUE(s.Perman().m_PassedReplayLabels.empty());
    EXPECT_TRUE(s.Call(L"rp.set", Args({StrV(L"RP_A")})));
    EXPECT_TRUE(s.Call(L"rp.set", Args({StrV(L"RP_A")})));
    EXPECT_EQ(s.Perman().m_PassedReplayLabels.size(), 1u);
    EXPECT_TRUE(s.Call(L"rp.unset", Args({StrV(L"RP_NEVER")})));
    EXPECT_FALSE(s.Call(L"rp.unset"));

    EXPECT_FALSE(s.Call(L"cg.setgroup", Args({StrV(L"ev01")}))); // only a row with Count 0 holds it
    EXPECT_TRUE(s.Call(L"cg.set", Args({StrV(L"ev/a")})));
    EXPECT_TRUE(s.Call(L"cg.unsetall"));
    EXPECT_TRUE(s.Call(L"cg.set", Args({StrV(L"cg/ev/ev02.part.png")})));
    EXPECT_EQ(s.Perman().m_ShowedCGFlags, (std::map<std::wstring, int32_t>{{L"ev02", 1}}));
    EXPECT_FALSE(s.Call(L"cg.set", Args({StrV(L"")})));
    const auto errors = s.Errors();
    ASSERT_EQ(errors.size(), 4u);
    EXPECT_NE(errors[0].find(L"rp.set:ラベル名[RP_B]はリプレイモード定義と一致しません"), std::wstring::npos);
    EXPECT_NE(errors[2].find(L"cg.setgroup:定義されていない画像名です"), std::wstring::npos);
    EXPECT_NE(errors[3].find(L"cg.set:イベント画像名を指定してください"), std::wstring::npos);
    g_DBRPMode.GetRow(1)->m_Label.clear();
    g_DBCGMode.GetRow(1)->m_FileName[0].clear();
}

TEST(GxMoaBuiltinExReplay, AllRecordsBecomeExactlyWhatTheTablesHold)
{
    Scene s;
    g_DBRPMode.GetRow(1)->m_Label = L"RP_A";
    g_DBRPMode.GetRow(4)->m_Label = L"RP_D";
    g_DBCGMode.GetRow(1)->m_FileName[0] = L"ev01";
    g_DBCGMode.GetRow(1)->m_FileName[31] = L"Ev01Z"; // past the row's count, in its own letter case
    g_DBCGMode.GetRow(1)->m_Count = 1;
    g_DBCGMode.GetRow(3)->m_FileName[2] = L"ev03";
    s.Perman().m_PassedReplayLabels.insert(L"RP_GONE");
    s.Perman().m_ShowedCGFlags[L"gone"] = 1;

    ASSERT_TRUE(s.Call(L"rp.setall"));
    EXPECT_EQ(s.Perman().m_PassedReplayLabels, (std::set<std::wstring>{L"RP_A", L"RP_D"}));
    ASSERT_TRUE(s.Call(L"getpassedlabel", Args({StrV(L"RP_D")})));
    EXPECT_EQ(s.Result().GetRawInt(), 1);
    ASSERT_TRUE(s.Call(L"cg.setall"));
    EXPECT_EQ(s.Perman().m_ShowedCGFlags, (std::map<std::wstring, int32_t>{{L"ev01", 1}, {L"Ev01Z", 1}, {L"ev03", 1}}));
    ASSERT_TRUE(s.Call(L"rp.unsetall"));
    EXPECT_TRUE(s.Perman().m_PassedReplayLabels.empty());
    EXPECT_EQ(s.Perman().m_ShowedCGFlags.size(), 3u); // the gallery records stay
    EXPECT_TRUE(s.Errors().empty());
    for (int row : {1, 4})
        g_DBRPMode.GetRow(row)->m_Label.clear();
    g_DBCGMode.GetRow(1)->m_FileName[0].clear();
    g_DBCGMode.GetRow(1)->m_FileName[31].clear();
    g_DBCGMode.GetRow(1)->m_Count = 0;
    g_DBCGMode.GetRow(3)->m_FileName[2].clear();
}

TEST(GxMoaBuiltinExSystem, SequenceNamesParametersTitleAndReplayModeAreRead)
{
    Scene s;
    new GxSeqBase(s.m_Root, L"SeqA");
    new GxSeqBase(s.m_Root, L"SeqB");
    // Each answer as text, the six sequence answers read after each switch.
    const auto read = [&](const wchar_t* name) -> std::wstring
    {
        EXPECT_TRUE(s.Call(name)) << GxString::ToUtf8(name);
        return s.Result().ToString();
    };
    const auto all = [&]
    {
        return std::vector<std::wstring>{read(L"getcurseqname"),  read(L"getcurseqparam0"),  read(L"getcurseqparam1"),
                                         read(L"getprevseqname"), read(L"getprevseqparam0"), read(L"getprevseqparam1")};
    };
    EXPECT_EQ(all(), (std::vector<std::wstring>{L"", L"0", L"0", L"", L"0", L"0"}));
    ASSERT_TRUE(s.m_Tasks->ChangeSequence(L"SeqA", 3, 4));
    EXPECT_EQ(all()[0], L""); // a pending switch changes nothing yet
    s.m_Tasks->ApplyPendingSequence();
    EXPECT_EQ(all(), (std::vector<std::wstring>{L"SeqA", L"3", L"4", L"", L"0", L"0"}));
    ASSERT_TRUE(s.m_Tasks->ChangeSequence(L"SeqB", 7, 0));
    s.m_Tasks->ApplyPendingSequence();
    EXPECT_EQ(all(), (std::vector<std::wstring>{L"SeqB", L"7", L"0", L"SeqA", L"3", L"4"}));
    ASSERT_TRUE(s.Call(L"getcurseqparam0"));
    EXPECT_EQ(s.Result().GetType(), static_cast<uint32_t>(GxMoaVariable::TYPE_INT));
    ASSERT_TRUE(s.Call(L"getprevseqname"));
    EXPECT_EQ(s.Result().GetType(), static_cast<uint32_t>(GxMoaVariable::TYPE_STR));

    ASSERT_TRUE(s.Call(L"setgamedatatitle", Args({StrV(L"森の出会い")})));
    EXPECT_EQ(read(L"getgamedatatitle"), L"森の出会い");
    EXPECT_EQ(read(L"getreplaymode"), L"0");
    s.Data().m_ReplayMode = true;
    EXPECT_EQ(read(L"getreplaymode"), L"1");
    s.Data().m_ReplayMode = false;
}
