// Waits, a flash and a choice run from a script on the real adventure screen.
#include "AvgSceneHarness.h"

namespace
{
class BuiltinFlowScene : public AvgScene
{
protected:
    void SetUp() override
    {
        AvgScene::SetUp();
        ASSERT_NO_FATAL_FAILURE(
            Start({"*MAIN", "@wa.time(100, \"\", 0)", "@wa.click()", "@flash(50, 50)", "@flash.wa()",
                   "@sel.go(\"A\", \"B\")", "@sel(\"left\", \"right\")", "*A", "*B"}));
    }
};
} // namespace

TEST_F(BuiltinFlowScene, HoldsEndByTimeClickAndActionsThenTheChoiceIsOffered)
{
    Enter(L"MAIN");
    Step();
    GxUserData& d = Data();
    // Mask 0 gives 1: a click does not end the time wait, its time does.
    EXPECT_EQ(d.m_Hold_WaitTime, 1);
    Click();
    EXPECT_EQ(d.m_Hold_WaitTime, 1);
    Steps(8);
    EXPECT_EQ(d.m_Hold_WaitTime, 0);
    EXPECT_EQ(d.m_Hold_WaitClick, 15);
    Click();
    Steps(2);
    EXPECT_EQ(d.m_Hold_WaitClick, 0);
    EXPECT_EQ(d.m_Hold_EndOfLayerActionSeparate, 15);
    Steps(10);
    EXPECT_EQ(d.m_Hold_EndOfLayerActionSeparate, 0);
    EXPECT_TRUE(d.m_IsSelecting);
    EXPECT_EQ(d.m_SelectMenuItemList[2].m_Text, L"right");
    EXPECT_FALSE(d.m_SelectMenuItemList[3].m_Visible);
    EXPECT_EQ(d.m_SelectHash, L"main:7");
    EXPECT_EQ(GxLog::GetErrorCount(), 0u) << GxString::ToUtf8(ErrorLog());
}
