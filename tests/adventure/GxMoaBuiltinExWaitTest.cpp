#include "BuiltinTestSupport.h"

#include <gtest/gtest.h>

using namespace BuiltinTest;

TEST(GxMoaBuiltinExWait, HoldsTakeTheirMasksAndHideFlags)
{
    struct Case
    {
        const wchar_t* m_Name;
        GxMoaVariable m_Args;
        int32_t GxUserData::*m_Hold;
        int32_t m_Expected;
        bool m_Hidden;
    };
    const GxMoaVariable nul;
    const std::vector<Case> cases = {
        {L"wa.click", GxMoaVariable(), &GxUserData::m_Hold_WaitClick, 15, false},
        {L"wa.click", Args({IntV(0), IntV(4)}), &GxUserData::m_Hold_WaitClick, 7, false},
        {L"wa.click", Args({IntV(1), IntV(0)}), &GxUserData::m_Hold_WaitClick, 3, true},
        {L"wa.time", Args({IntV(1500)}), &GxUserData::m_Hold_WaitTime, 15, false},
        {L"wa.time", Args({IntV(1500), nul, IntV(0)}), &GxUserData::m_Hold_WaitTime, 1, false},
        {L"wa.layer", Args({StrV(L""), IntV(8)}), &GxUserData::m_Hold_EndOfLayerActionAll, 9, false},
        {L"bg.wa", Args({IntV(2)}), &GxUserData::m_Hold_EndOfLayerActionSeparate, 15, true},
        {L"ev.wa", Args({nul, StrV(L"")}), &GxUserData::m_Hold_EndOfLayerActionSeparate, 15, false},
        {L"sp.wa", Args({StrV(L"mio"), nul, IntV(2)}), &GxUserData::m_Hold_EndOfLayerActionSeparate, 3, false},
    };
    for (const Case& c : cases)
    {
        Scene s;
        EXPECT_TRUE(s.Call(c.m_Name, c.m_Args)) << GxString::ToUtf8(c.m_Name);
        EXPECT_EQ(s.Data().*c.m_Hold, c.m_Expected) << GxString::ToUtf8(c.m_Name);
        EXPECT_EQ(s.Data().m_HideWindowByCommandFlag, c.m_Hidden) << GxString::ToUtf8(c.m_Name);
        EXPECT_TRUE(s.Result().IsNull());
    }
    Scene s;
    ASSERT_TRUE(s.Call(L"wa.time", Args({IntV(1500)})));
    EXPECT_EQ(s.Data().m_Hold_WaitTime_TimeLeft, 1500);
    ASSERT_TRUE(s.Call(L"ev.wa"));
    EXPECT_EQ(s.Data().m_Hold_EndOfLayerActionSeparate_LayerName, L"$BGLAYER:SeqAvgMain");
    ASSERT_TRUE(s.Call(L"sp.wa", Args({StrV(L"mio")})));
    EXPECT_EQ(s.Data().m_Hold_EndOfLayerActionSeparate_LayerName, L"mio");
}

TEST(GxMoaBuiltinExWait, StandWaitFailsWithoutItsLayerAndChangesNothing)
{
    Scene s;
    EXPECT_FALSE(s.Call(L"sp.wa", Args({StrV(L"")})));
    EXPECT_FALSE(s.Call(L"sp.wa", Args({StrV(L"rin"), IntV(1)})));
    EXPECT_EQ(s.Data().m_Hold_EndOfLayerActionSeparate, 0);
    EXPECT_FALSE(s.Data().m_HideWindowByCommandFlag);
    const auto errors = s.Errors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_NE(errors[0].find(L"sp.wa:レイヤー名がありません"), std::wstring::npos);
    EXPECT_NE(errors[1].find(L"キャラ名[rin]は未定義です"), std::wstring::npos);
}
