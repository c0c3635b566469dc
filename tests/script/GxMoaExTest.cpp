#include "script/GxMoaEx.h"

#include "ScriptTestUtil.h"
#include "core/GxLog.h"
#include "core/GxString.h"

#include <gtest/gtest.h>

using namespace ScriptTest;

namespace
{
class GxMoaExLog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_OldError = GxLog::GetErrorLogPath();
        m_OldDebug = GxLog::GetDebugLogPath();
        m_OldSkip = GxLog::GetSkipSlightError();
        GxLog::SetErrorLogPath(GxString::FromUtf8((m_Dir.Path() / "error.log").string()));
        GxLog::SetDebugLogPath(GxString::FromUtf8((m_Dir.Path() / "debug.log").string()));
        GxLog::SetSkipSlightError(false);
    }
    void TearDown() override
    {
        GxLog::SetErrorLogPath(m_OldError);
        GxLog::SetDebugLogPath(m_OldDebug);
        GxLog::SetSkipSlightError(m_OldSkip);
    }
    std::wstring Log(const char* name) const
    {
        const auto bytes = ReadFile(m_Dir.Path() / name);
        return bytes.size() < 2 ? std::wstring() : GxString::FromUtf16LE(bytes.data() + 2, bytes.size() - 2);
    }

    TempDir m_Dir;
    std::wstring m_OldError, m_OldDebug;
    bool m_OldSkip = false;
};
} // namespace

TEST_F(GxMoaExLog, ErrorsAndWarningsNameScriptAndOneBasedLineAndLogLinesAreCut)
{
    GxMoaEx moa;
    moa.Error(L"main", 4, L"%s[%s]", L"Phase_Expr 式に間違いがあります", L"x");
    moa.Warning(L"main", 0, L"不明な単語を発見。スキップされます[%s]", L"foo");
    EXPECT_EQ(moa.m_ErrorCount, 1u);
    EXPECT_EQ(moa.m_WarningCount, 1u);
    EXPECT_EQ(Log("error.log"), L"err:[Script=\"main\"/line=5] Phase_Expr 式に間違いがあります[x]\r\n"
                                L"warn:[Script=\"main\"/line=1] 不明な単語を発見。スキップされます[foo]\r\n");
    GxLog::SetSkipSlightError(true);
    moa.Warning(L"main", 0, L"quiet");
    EXPECT_EQ(Log("error.log").find(L"quiet"), std::wstring::npos);
    EXPECT_EQ(moa.ResetRunState(), 0);
    EXPECT_EQ(moa.m_ErrorCount, 0u);

    moa.Log(L"%s", L"text 100%");
    moa.Log(L"%s", std::wstring(5000, L'a').c_str());
    const std::wstring log = Log("debug.log");
    EXPECT_EQ(log.rfind(L"text 100%\r\n", 0), 0u);
    EXPECT_EQ(log.size(), std::wstring(L"text 100%\r\n").size() + 1023 + 2);
}

TEST(GxMoa, BaseReportsOnlyCount)
{
    GxMoa moa;
    moa.Log(L"x");
    moa.Warning(L"s", 1, L"w");
    moa.Error(L"s", 1, L"e");
    EXPECT_EQ(moa.m_WarningCount, 1u);
    EXPECT_EQ(moa.m_ErrorCount, 1u);
    moa.m_ErrorStop = 1;
    moa.m_Breakpoint = 1;
    moa.ResetRunState();
    EXPECT_EQ(moa.m_ErrorStop, 0);
    EXPECT_EQ(moa.m_Breakpoint, 0);
}
