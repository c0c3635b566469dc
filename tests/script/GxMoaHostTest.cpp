#include "script/GxMoaHost.h"

#include "ScriptTestUtil.h"
#include "core/GxLog.h"
#include "core/GxString.h"
#include "script/GxMoaBuiltinBase.h"
#include "script/GxMoaEx.h"
#include "script/GxMoaWorkerEx.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace ScriptTest;
namespace fs = std::filesystem;

namespace
{
// Runs a test inside a temporary working folder (with a blank in its name) and sends the error log
// into it.
class GxMoaHost : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_OldCwd = fs::current_path();
        m_OldErrorLog = GxLog::GetErrorLogPath();
        m_Dir = m_Temp.Path() / "game folder";
        fs::create_directories(m_Dir);
        fs::current_path(m_Dir);
        GxLog::SetErrorLogPath(GxString::FromUtf8((m_Dir / "error.log").string()));
    }
    void TearDown() override
    {
        DestroyMoa();
        g_MoaBuiltinCreator = nullptr;
        GxLog::SetErrorLogPath(m_OldErrorLog);
        fs::current_path(m_OldCwd);
    }
    std::wstring ErrorLog() const
    {
        const auto bytes = ReadFile(m_Dir / "error.log");
        return bytes.empty() ? std::wstring() : GxString::FromUtf16LE(bytes.data(), bytes.size());
    }
    void WriteCompiler(const std::string& name, const std::string& body)
    {
        const fs::path path = m_Dir / name;
        WriteFile(path, "#!/bin/sh\n" + body);
        chmod(path.c_str(), 0755);
    }

    TempDir m_Temp;
    fs::path m_Dir;
    fs::path m_OldCwd;
    std::wstring m_OldErrorLog;
};

class CountingBuiltin : public GxMoaBuiltinBase
{
public:
    static GxMoaBuiltinBase* Create(GxCore*) { return new CountingBuiltin(); }
};
} // namespace

TEST_F(GxMoaHost, CreateAndDestroyPublishOneSetOfObjects)
{
    DestroyMoa(); // nothing created: nothing happens
    EXPECT_EQ(g_MoaInstance, nullptr);
    CreateMoa(nullptr);
    CreateMoa(nullptr);
    ASSERT_NE(g_MoaInstance, nullptr);
    ASSERT_NE(g_MoaMainWorker, nullptr);
    ASSERT_NE(g_MoaBuiltin, nullptr);
    EXPECT_EQ(g_MoaMainWorker->GetMoa(), g_MoaInstance);
    EXPECT_EQ(g_MoaMainWorker->m_Name, L"MAIN_WORKER");
    g_MoaBuiltinCreator = &CountingBuiltin::Create;
    CreateMoa(nullptr);
    EXPECT_NE(dynamic_cast<CountingBuiltin*>(g_MoaBuiltin), nullptr);
    DestroyMoa();
    EXPECT_EQ(g_MoaInstance, nullptr);
    EXPECT_EQ(g_MoaMainWorker, nullptr);
    EXPECT_EQ(g_MoaBuiltin, nullptr);
}

TEST_F(GxMoaHost, CompilerGetsItsArgumentsAndAFailureOrFailedStartIsLogged)
{
    WriteCompiler("okc", "for a in \"$@\"; do echo \"$a\"; done > args.txt\nexit 0\n");
    EXPECT_EQ(CompileScripts(L"okc"), 0);
    const auto bytes = ReadFile(m_Dir / "args.txt");
    const std::string base = fs::current_path().generic_string() + "/";
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), base + "scripts\n" + base + "bincode\n-a\n-mc\n");
    EXPECT_EQ(ErrorLog().find(L"コンパイル"), std::wstring::npos);

    WriteCompiler("badc", "exit 1\n");
    EXPECT_EQ(CompileScripts(L"badc"), 1);
    EXPECT_NE(ErrorLog().find(L"コンパイル時にエラーが発生したため古いスクリプトを実行しています"), std::wstring::npos);
    WriteCompiler("three", "exit 3\n");
    EXPECT_EQ(CompileScripts((m_Dir / "three").wstring()), 3);
    // One that cannot start.
    EXPECT_EQ(CompileScripts(L"no such compiler"), 1);
    EXPECT_NE(ErrorLog().find(L"スクリプトコンパイラの起動に失敗しました"), std::wstring::npos);
}

TEST_F(GxMoaHost, CompilesAndLoadsTheProgram)
{
    WriteFile(m_Dir / "scripts" / "Main.txt",
              "*MAIN\n@static $count = 2\n@global nosave $g[3]\n@extern perman $e = \"x\"\nhello\n");
    ASSERT_EQ(CompileScripts(GxString::FromUtf8(ToolsDir() + "/moabuild")), 0);
    CreateMoa(nullptr);
    ASSERT_TRUE(LoadMoaCode());
    EXPECT_NE(g_MoaInstance->FindScript(L"main"), nullptr);
    ASSERT_NE(g_MoaMainWorker->FindScriptEntity(L"main"), nullptr);
    EXPECT_EQ(g_MoaMainWorker->FindScriptEntity(L"main")->FindVariable(L"count")->m_Value.ToInt64(), 2);
    EXPECT_EQ(g_MoaMainWorker->FindVariable(L"g")->m_Value.GetArraySize(), 3);
    EXPECT_EQ(g_MoaMainWorker->FindVariable(L"e")->m_Value.ToString(), L"x");
    EXPECT_TRUE(g_MoaMainWorker->StartAtLabel(L"MAIN"));
}

TEST_F(GxMoaHost, MissingOrDamagedProgramLeavesTheRuntimeEmpty)
{
    CreateMoa(nullptr);
    EXPECT_FALSE(LoadMoaCode());
    EXPECT_TRUE(g_MoaMainWorker->m_ScriptEntities.empty());

    WriteFile(m_Dir / "scripts" / "a.txt", "*A\n@global $v = 1\n");
    ASSERT_EQ(CompileScripts(GxString::FromUtf8(ToolsDir() + "/moabuild")), 0);
    ASSERT_TRUE(LoadMoaCode());
    auto bytes = ReadFile(m_Dir / "bincode" / "moacode.mwb");
    bytes.resize(bytes.size() - 3);
    WriteFile(m_Dir / "bincode" / "moacode.mwb", std::string(bytes.begin(), bytes.end()));
    EXPECT_FALSE(LoadMoaCode());
    EXPECT_TRUE(g_MoaInstance->m_ScriptDefine.empty());
    EXPECT_TRUE(g_MoaMainWorker->m_ScriptEntities.empty());
    EXPECT_EQ(g_MoaMainWorker->FindVariable(L"v"), nullptr);
}

// A program file emptied or cut is named in the log the same way, once, and the runtime says it could not
// read a program until a load succeeds or the runtime is made again.
TEST_F(GxMoaHost, EmptiedOrCutProgramIsNamedAndMarkedUnreadable)
{
    WriteFile(m_Dir / "scripts" / "a.txt", "*A\n@global $v = 1\n");
    ASSERT_EQ(CompileScripts(GxString::FromUtf8(ToolsDir() + "/moabuild")), 0);
    const auto whole = ReadFile(m_Dir / "bincode" / "moacode.mwb");
    CreateMoa(nullptr);
    const std::wstring line = L"スクリプトプログラムが壊れているため読み込めません(bincode/moacode.mwb)";
    for (const size_t keep : {size_t{0}, whole.size() / 2})
    {
        SCOPED_TRACE(keep);
        fs::remove(m_Dir / "error.log");
        WriteFile(m_Dir / "bincode" / "moacode.mwb", std::string(whole.begin(), whole.begin() + keep));
        EXPECT_FALSE(LoadMoaCode());
        EXPECT_TRUE(IsMoaCodeUnreadable());
        const std::wstring log = ErrorLog();
        const size_t first = log.find(line);
        EXPECT_NE(first, std::wstring::npos) << GxString::ToUtf8(log);
        EXPECT_EQ(log.find(line, first + 1), std::wstring::npos) << GxString::ToUtf8(log);
    }
    WriteFile(m_Dir / "bincode" / "moacode.mwb", std::string(whole.begin(), whole.end()));
    EXPECT_TRUE(LoadMoaCode());
    EXPECT_FALSE(IsMoaCodeUnreadable());
    WriteFile(m_Dir / "bincode" / "moacode.mwb", "");
    EXPECT_FALSE(LoadMoaCode());
    CreateMoa(nullptr);
    EXPECT_FALSE(IsMoaCodeUnreadable());
}
