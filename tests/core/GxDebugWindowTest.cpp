#include "core/GxDebugWindow.h"

#include "core/GxLog.h"
#include "platform/PfFontconfigStart.h"

#include <gtest/gtest.h>

#include <string>

TEST(GxDebugWindow, RingKeepsTheLast32CutLinesAndCountedErrors)
{
    GxDebugWindow::Clear();
    for (int i = 0; i < 40; ++i)
        GxDebugWindow::AddLine(std::to_wstring(i) + L"\n");
    std::wstring expected;
    for (int i = 8; i < 40; ++i)
        expected += std::to_wstring(i) + L"\n";
    EXPECT_EQ(GxDebugWindow::GetText(), expected);
    EXPECT_TRUE(GxDebugWindow::IsDirty());
    // Clear empties the ring and its flags.
    GxDebugWindow::Clear();
    EXPECT_EQ(GxDebugWindow::GetText(), L"");
    EXPECT_FALSE(GxDebugWindow::IsDirty());
    EXPECT_FALSE(GxDebugWindow::IsVisible());
    GxDebugWindow::Clear();
    GxDebugWindow::AddLine(std::wstring(500, L'x'));
    EXPECT_EQ(GxDebugWindow::GetText().size(), 261u);
    GxDebugWindow::Clear();
    GxLog::SetErrorLogPath(L"");
    GxLog::Error(L"Error/%s\n", L"x");
    GxLog::Debug(L"not an error\n");
    EXPECT_EQ(GxDebugWindow::GetText(), L"Error/x\n");
    GxDebugWindow::Paint(); // no window: only the flag changes
    EXPECT_FALSE(GxDebugWindow::IsDirty());
    GxLog::SetErrorLogPath(L"error.log");
}

// The game's loop paints the window only while it is shown: a hidden window is never painted, so nothing
// (fontconfig's loading for its font above all) is done for it before someone shows it.
TEST(GxDebugWindow, OnlyAShownWindowIsPaintedByTheLoop)
{
    static int s_Loads = 0;
    s_Loads = 0;
    PfFontconfigStart::Shutdown();
    PfFontconfigStart::SetLoader([] {
        ++s_Loads;
        return PfFontconfigStart::LoadConfiguration();
    });
    GxDebugWindow::Clear();
    ASSERT_TRUE(GxDebugWindow::Create());
    GxDebugWindow::AddLine(L"Error/hidden\n");
    GxDebugWindow::PaintIfDirty();
    EXPECT_TRUE(GxDebugWindow::IsDirty());
    EXPECT_EQ(s_Loads, 0);
    GxDebugWindow::Toggle();
    ASSERT_TRUE(GxDebugWindow::IsVisible());
    GxDebugWindow::PaintIfDirty();
    EXPECT_FALSE(GxDebugWindow::IsDirty());
    EXPECT_EQ(s_Loads, 1);
    GxDebugWindow::Destroy();
    GxDebugWindow::Clear();
    PfFontconfigStart::Shutdown();
    PfFontconfigStart::SetLoader(nullptr);
}
