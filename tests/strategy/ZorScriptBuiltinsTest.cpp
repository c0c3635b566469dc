#include "ZorTestSupport.h"

#include "core/GxBit32.h"
#include "script/GxMoaVariable.h"
#include "strategy/ZorScriptBuiltins.h"

class ZorScriptBuiltinsTest : public zortest::ZorTest
{
protected:
    void SetUp() override
    {
        ZorTest::SetUp();
        ZorScriptBuiltins::SetExtraOption(&m_Extra);
        ZorScriptBuiltins::SetSaveFolder(m_Folder.File(L"save/"));
    }
    void TearDown() override
    {
        ZorScriptBuiltins::SetExtraOption(nullptr);
        ZorScriptBuiltins::SetSaveFolder(L"");
        ZorTest::TearDown();
    }

    // Calls the builtin with integer or string arguments; the result value is kept in m_Result.
    bool Call(const wchar_t* name, std::initializer_list<std::wstring> args = {})
    {
        GxMoaVariable array;
        array.MakeArray(static_cast<int64_t>(args.size()));
        int64_t i = 0;
        for (const std::wstring& a : args)
            array.GetElement(i++)->SetString(a);
        m_Result.Clear();
        return ZorScriptBuiltins::Call(name, array, m_Result);
    }

    GxBit32 m_Extra;
    GxMoaVariable m_Result;
};

TEST_F(ZorScriptBuiltinsTest, ScalarsClampAndReadNullArguments)
{
    EXPECT_EQ(ZorScriptBuiltins::GetCount(), 59);
    EXPECT_FALSE(Call(L"zor_nosuchbuiltin"));
    ASSERT_TRUE(Call(L"zor_setresourcegold", {L"120000"}));
    EXPECT_EQ(State().m_Resource_Gold, 99999);
    Call(L"zor_setresourcegold", {L"-5"});
    EXPECT_EQ(State().m_Resource_Gold, 0);
    Call(L"zor_setresourceleadershipbase", {L"250"});
    EXPECT_EQ(State().m_Resource_LeadershipBase, 250);
    EXPECT_EQ(m_Extra.GetBits(), 0x10u);
    State().m_AstarosWeekLimit = 0;
    ASSERT_TRUE(Call(L"zor_decastarosweeklimit"));
    EXPECT_EQ(m_Result.ToInt64(), 0);
    EXPECT_EQ(State().m_AstarosWeekLimit, 0);
    State().m_Notoriety = 4;
    State().m_DefBGM = L"m05";
    ASSERT_TRUE(Call(L"zor_setnotoriety"));
    ASSERT_TRUE(Call(L"zor_setdefbgm"));
    EXPECT_EQ(State().m_Notoriety, 0);
    EXPECT_EQ(State().m_DefBGM, L"");
    EXPECT_TRUE(Call(L"zor_setdeffirstparty", {L""}));
    EXPECT_TRUE(Call(L"zor_setdeffirstparty", {L"nobody"}));
    EXPECT_EQ(State().m_FirstUniquePartyID, 0);
    EXPECT_FALSE(Call(L"zor_addunitclassreinforcelevel", {L"24"}));
    ASSERT_TRUE(Call(L"zor_addunitclassreinforcelevel", {L"23"}));
    ASSERT_TRUE(Call(L"zor_getunitclassreinforcelevel", {L"23"}));
    EXPECT_EQ(m_Result.ToInt64(), 1);
    ASSERT_TRUE(Call(L"zor_setresourceastaroshpmax", {L"1500"}));
    EXPECT_EQ(State().m_Resource_AstarosHP, 1500);
    ASSERT_TRUE(Call(L"zor_upgradefloorextendlevel"));
    Call(L"zor_upgradefloorextendlevel");
    Call(L"zor_upgradefloorextendlevel");
    EXPECT_EQ(m_Extra.GetBits() & 0x08u, 0x08u);
}

TEST_F(ZorScriptBuiltinsTest, NamedRecordsAndFriendBits)
{
    g_DBZorUnit.GetRow(10)->m_Name = L"U10";
    EXPECT_FALSE(Call(L"zor_setunitfriend", {L"nobody", L"2"}));
    EXPECT_TRUE(m_Log.Contains(L"ZorGlobals::FindUnit/ユニット名が見つかりません(nobody)\n"));
    ASSERT_TRUE(Call(L"zor_setunitfriend", {L"U3", L"2"}));
    EXPECT_EQ(m_Extra.GetBits(), 1u << 13);
    Call(L"zor_setunitfriend", {L"U10", L"2"});
    Call(L"zor_setunitfriend", {L"U4", L"1"});
    EXPECT_EQ(m_Extra.GetBits(), 1u << 13);
    ASSERT_TRUE(Call(L"zor_getunitfriend", {L"U3"}));
    EXPECT_EQ(m_Result.ToInt64(), 2);
    ASSERT_TRUE(Call(L"zor_setstructcreateenabled", {L"ST9", L"0"}));
    EXPECT_EQ(State().GetStructState(9)->m_Enabled, 0);
    State().m_Capture_UnitID = 3;
    ASSERT_TRUE(Call(L"zor_getdefcaptureunitname"));
    EXPECT_EQ(m_Result.ToString(), L"U3");
    EXPECT_FALSE(Call(L"zor_getinvtownenabled", {L"nowhere"}));
    EXPECT_TRUE(m_Result.IsNull());
}

TEST_F(ZorScriptBuiltinsTest, RoundDataWriteAndItsFailure)
{
    std::filesystem::create_directories(m_Folder.Path() / "save");
    ASSERT_TRUE(Call(L"zor_getexistrounddata"));
    EXPECT_EQ(m_Result.ToInt64(), 0);
    ASSERT_TRUE(Call(L"zor_saverounddata"));
    Call(L"zor_getexistrounddata");
    EXPECT_EQ(m_Result.ToInt64(), 1);
    ZorScriptBuiltins::SetSaveFolder(m_Folder.File(L"missing/folder/"));
    EXPECT_TRUE(Call(L"zor_saverounddata"));
    bool logged = false;
    for (const std::wstring& line : m_Log.Lines())
        logged = logged || line.rfind(L"zor_saverounddata/", 0) == 0;
    EXPECT_TRUE(logged);
}
