#include "BuiltinTestSupport.h"

#include <gtest/gtest.h>

using namespace BuiltinTest;

namespace
{
struct ChoiceScene : Scene
{
    std::vector<std::wstring> m_Trace;
    RecordingScreen m_Screen{&m_Trace};
    ChoiceScene()
    {
        m_Bench.m_Program.AddLabel(L"A", 0);
        m_Bench.m_Program.AddLabel(L"B", 0);
    }
    GxSelectMenuItem& Item(int i) { return Data().m_SelectMenuItemList[static_cast<size_t>(i)]; }
};
} // namespace

TEST(GxMoaBuiltinExSelect, ItemsFilledByLabelsFlagsAndTexts)
{
    ChoiceScene s;
    s.Data().m_HideWindowByCommandFlag = true;
    ASSERT_TRUE(s.Call(L"sel.go", Args({StrV(L"A"), StrV(L"B"), StrV(L"B")})));
    ASSERT_TRUE(s.Call(L"sel.visible", Args({IntV(1), IntV(0)})));
    EXPECT_FALSE(s.Item(2).m_Visible);
    ASSERT_TRUE(s.Call(L"sel.visible", Args({IntV(0)})));
    EXPECT_FALSE(s.Item(1).m_Visible);
    EXPECT_FALSE(s.Item(2).m_Visible); // left as it was
    ASSERT_TRUE(s.Call(L"sel.visible", Args({IntV(1), IntV(1), IntV(1)})));
    ASSERT_TRUE(s.Call(L"sel.enable", Args({GxMoaVariable(), IntV(0)})));
    EXPECT_TRUE(s.Item(1).m_Enable);
    EXPECT_FALSE(s.Item(2).m_Enable);
    ASSERT_TRUE(s.Call(L"sel.cancel", Args({IntV(2)})));
    EXPECT_EQ(s.Data().m_CancelSelectNum, 2);

    // 12 texts: the eleventh and twelfth have no item.
    GxMoaVariable texts = Args({StrV(L"one"), StrV(L"")});
    for (int i = 2; i < 12; ++i)
        texts.Store(i, StrV(L"t"));
    texts.Store(2, GxMoaVariable());
    ASSERT_TRUE(s.Call(L"sel", texts));
    EXPECT_EQ(s.Item(1).m_Text, L"one");
    EXPECT_TRUE(s.Item(1).m_Visible);
    EXPECT_EQ(s.Item(1).m_Label, L"A");
    // An empty text switches the item off even though "sel.visible" showed it.
    EXPECT_FALSE(s.Item(2).m_Visible);
    EXPECT_FALSE(s.Item(3).m_Visible);
    EXPECT_FALSE(s.Item(3).m_UseGosub);
    EXPECT_EQ(s.Item(10).m_Text, L"t");
    EXPECT_EQ(s.Data().m_SelectMenuItemList.size(), 11u);
    // The automatic hash names the call's place; the window comes back with the choice.
    EXPECT_EQ(s.Data().m_SelectHash, L"t:1");
    EXPECT_FALSE(s.Data().m_HideWindowByCommandFlag);

    ASSERT_TRUE(s.Call(L"sel.hash", Args({StrV(L"menu")})));
    ASSERT_TRUE(s.Call(L"sel", Args({StrV(L"x")})));
    EXPECT_EQ(s.Data().m_SelectHash, L"menu");
}

TEST(GxMoaBuiltinExSelect, MissingLabelsAreStoredReportedAndFailAtTheEnd)
{
    ChoiceScene s;
    EXPECT_FALSE(s.Call(L"sel.gosub", Args({StrV(L"A"), StrV(L"NONE"), StrV(L"B"), StrV(L"GONE")})));
    EXPECT_EQ(s.Item(2).m_Label, L"NONE");
    EXPECT_EQ(s.Item(3).m_Label, L"B");
    EXPECT_TRUE(s.Item(3).m_UseGosub);
    const auto errors = s.Errors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_NE(errors[0].find(L"sel.gosub:選択肢[2]のラベル[NONE]は存在しません"), std::wstring::npos);
    EXPECT_NE(errors[1].find(L"選択肢[4]のラベル[GONE]は存在しません"), std::wstring::npos);
    ASSERT_TRUE(s.Call(L"sel.go", Args({StrV(L"B")})));
    EXPECT_FALSE(s.Item(1).m_UseGosub);
    EXPECT_TRUE(s.Item(2).m_Label.empty());
}
