#include "appdata/GxDebugConsoleOutputEx.h"

#include "core/GxLog.h"
#include "core/GxString.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(GxDebugConsoleOutputEx, KeepsTheLastTwentyLinesOldestFirst)
{
    GxDebugConsoleOutputEx console;
    for (int i = 1; i <= 25; ++i)
        console.OnOutput(GxString::Format(L"line %d\n", i).c_str(), i % 3);
    console.OnOutput(nullptr, 1);
    const std::vector<std::wstring> lines = console.GetLines();
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines.front(), L"line 6\n");
    EXPECT_EQ(lines.back(), L"line 25\n");
    console.Clear();
    EXPECT_TRUE(console.GetLines().empty());
}

// Sound and movie threads log while the main thread draws the overlay from a copy.
TEST(GxDebugConsoleOutputEx, ThreadsLoggingAtOnceLeaveWholeLines)
{
    GxDebugConsoleOutputEx console;
    GxDebugListenerBase* saved = GxLog::GetConsole();
    const std::wstring savedPath = GxLog::GetDebugLogPath();
    GxLog::SetConsole(&console);
    GxLog::SetDebugLogPath(L"");
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back(
            [t, &console]
            {
                for (int i = 0; i < 400; ++i)
                {
                    if (i % 2)
                        GxLog::Debug(L"thread %d line %d\n", t, i);
                    else
                        console.OnOutput(GxString::Format(L"thread %d line %d\n", t, i).c_str(), 2);
                }
            });
    size_t reads = 0;
    for (int i = 0; i < 200; ++i)
        reads += console.GetLines().size() <= GxDebugConsoleOutputEx::kMaxLines ? 1 : 0;
    for (std::thread& thread : threads)
        thread.join();
    GxLog::SetConsole(saved);
    GxLog::SetDebugLogPath(savedPath);
    EXPECT_EQ(reads, 200u);
    const std::vector<std::wstring> lines = console.GetLines();
    ASSERT_EQ(lines.size(), GxDebugConsoleOutputEx::kMaxLines);
    for (const std::wstring& line : lines)
        EXPECT_EQ(line.rfind(L"thread ", 0), 0u) << GxString::ToUtf8(line);
}
