#include "core/GxDebugWindow.h"

#include "core/GxLog.h"

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
