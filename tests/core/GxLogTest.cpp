#include "core/GxLog.h"

#include "FileTestSupport.h"
#include "core/GxDebugListenerBase.h"
#include "core/GxString.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace
{

struct EchoRecord : GxDebugListenerBase
{
    std::vector<std::pair<std::wstring, int>> lines;
    void OnOutput(const wchar_t* text, int kind) override { lines.emplace_back(text, kind); }
};

class GxLogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kv_log_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_Dir = pattern;
        GxLog::SetErrorLogPath(GxString::FromUtf8((m_Dir / "error.log").string()));
        GxLog::SetDebugLogPath(GxString::FromUtf8((m_Dir / "debug.log").string()));
        GxLog::SetDeviceLogPath(GxString::FromUtf8((m_Dir / "device.log").string()));
        GxLog::ResetErrorCount();
        GxLog::SetSkipSlightError(false);
        GxLog::SetConsole(nullptr);
    }
    void TearDown() override
    {
        GxLog::SetConsole(nullptr);
        GxLog::SetSkipSlightError(false);
        std::filesystem::remove_all(m_Dir);
    }
    std::filesystem::path m_Dir;
};

} // namespace

TEST_F(GxLogTest, NewLogsStartWithOneMarkCountErrorsEchoAndDelete)
{
    GxLog::Debug(L"a%d\n", 1);
    GxLog::Debug(L"\x3042\n");
    EXPECT_EQ(KvFileBytes(m_Dir / "debug.log"), std::string("\xFF\xFE"
                                                          "a\0"
                                                          "1\0"
                                                          "\r\0\n\0"
                                                          "\x42\x30"
                                                          "\r\0\n\0",
                                                          16));
    EchoRecord echo;
    GxLog::SetConsole(&echo);
    GxLog::Error(L"e%s\n", L"1");
    GxLog::SlightError(L"s\n");
    GxLog::ErrorA("n%s\n", "3");
    GxLog::Debug(L"d\n");
    GxLog::Device(L"v\n");
    EXPECT_EQ(GxLog::GetErrorCount(), 3u);
    EXPECT_EQ(echo.lines,
              (std::vector<std::pair<std::wstring, int>>{{L"e1\n", 1}, {L"s\n", 0}, {L"n3\n", 1}, {L"d\n", 2}}));
    EXPECT_TRUE(std::filesystem::exists(m_Dir / "device.log"));
    GxLog::Device(L"x\n");
    ASSERT_TRUE(std::filesystem::exists(m_Dir / "device.log"));
    GxLog::DeleteDeviceLog();
    EXPECT_FALSE(std::filesystem::exists(m_Dir / "device.log"));
    GxLog::DeleteDeviceLog();
    GxLog::DeleteErrorLog();
    GxLog::DeleteDebugLog();
}

TEST_F(GxLogTest, SkippedSlightErrorsAreSilentAndUnopenableLogStillCountsAndEchoes)
{
    EchoRecord echo;
    GxLog::SetConsole(&echo);
    GxLog::SetSkipSlightError(true);
    GxLog::SlightError(L"minor %d\n", 1);
    EXPECT_EQ(GxLog::GetErrorCount(), 0u);
    EXPECT_TRUE(echo.lines.empty());
    EXPECT_FALSE(std::filesystem::exists(m_Dir / "error.log"));
    // Real errors still go through.
    GxLog::Error(L"major\n");
    EXPECT_EQ(GxLog::GetErrorCount(), 1u);
    EXPECT_EQ(echo.lines.size(), 1u);
    // A log that cannot be opened still counts and echoes.
    GxLog::SetErrorLogPath(GxString::FromUtf8((m_Dir / "missing" / "error.log").string()));
    GxLog::Error(L"lost\n");
    EXPECT_EQ(GxLog::GetErrorCount(), 2u);
    EXPECT_EQ(echo.lines.size(), 2u);
}

TEST_F(GxLogTest, ErrorBinaryAppendsBytesAndNarrowErrorsAreWhole)
{
    GxLog::Error(L"x");
    GxLog::ErrorBinary("ab\n", 3);
    EXPECT_EQ(KvFileBytes(m_Dir / "error.log"), std::string("\xFF\xFE"
                                                          "x\0"
                                                          "ab\n",
                                                          7));
    EXPECT_EQ(GxLog::GetErrorCount(), 2u);
    // A narrow error longer than its old buffer is whole.
    GxLog::ErrorA("%s|", std::string(3000, 'k').c_str());
    const std::string bytes = KvFileBytes(m_Dir / "error.log");
    ASSERT_EQ(bytes.size(), 7u + 3001u * 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), std::string("|\0", 2));
}

// Error counts stay exact, and a shared log gets one mark and whole lines.
TEST_F(GxLogTest, ConcurrentWritersCountExactlyAndGiveOneMarkAndWholeLines)
{
    GxLog::SetErrorLogPath(L"");
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back(
            [t]
            {
                for (int i = 0; i < 500; ++i)
                    GxLog::Error(L"%d\n", i);
                for (int i = 0; i < 50 && t < 4; ++i)
                    GxLog::Debug(L"thread %d line %03d\n", t, i);
            });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(GxLog::GetErrorCount(), 4000u);
    std::string bytes = KvFileBytes(m_Dir / "debug.log");
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    std::wstring text = GxString::FromUtf16LE(bytes.data() + 2, bytes.size() - 2);
    EXPECT_EQ(text.find(L'\xFEFF'), std::wstring::npos);
    size_t lines = 0;
    for (size_t at = 0; (at = text.find(L"\r\n", at)) != std::wstring::npos; at += 2)
        ++lines;
    EXPECT_EQ(lines, 200u);
    EXPECT_EQ(text.size(), 200u * 19u);
}
