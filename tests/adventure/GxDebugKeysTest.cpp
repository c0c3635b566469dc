#include "BuiltinTestSupport.h"
#include "adventure/GxDebugKeys.h"
#include "appdata/GxTextEditor.h"
#include "core/GxLog.h"
#include "core/GxTime.h"
#include "script/GxMoaHost.h"
#include "script/GxMoaWorkerEx.h"
#include "support/KvScopedWorkingDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

using namespace BuiltinTest;

namespace
{
struct DumpScene : Scene
{
    std::filesystem::path m_Dir = std::filesystem::temp_directory_path() / "kv_debug_keys";
    DumpScene()
    {
        std::filesystem::remove_all(m_Dir);
        std::filesystem::create_directories(m_Dir);
        m_Core.m_SavePath = GxString::FromUtf8(m_Dir.string()) + L"/";
    }
    ~DumpScene() { std::filesystem::remove_all(m_Dir); }
    std::string Read(const char* name) const
    {
        const auto bytes = ReadFile(m_Dir / name);
        return std::string(bytes.begin(), bytes.end());
    }
};

std::string Utf16(const std::string& ascii)
{
    std::string out;
    for (char c : ascii)
        out += std::string(1, c) + '\0';
    return out;
}
} // namespace

TEST(GxDebugKeys, DumpKeysWriteOnlyInDebugModeAndNeverTakeTheKey)
{
    DumpScene s;
    EXPECT_FALSE(GxDebugKeys::OnKey(&s.m_Core, GxDebugKeys::kKeyF1));
    EXPECT_FALSE(GxDebugKeys::OnKey(&s.m_Core, GxDebugKeys::kKeyF8));
    EXPECT_FALSE(std::filesystem::exists(s.m_Dir / "vardump.txt"));
    EXPECT_FALSE(s.Config().m_DebugConsoleFlag);

    s.Config().m_DebugModeFlag = true;
    EXPECT_FALSE(GxDebugKeys::OnKey(&s.m_Core, GxDebugKeys::kKeyF8));
    EXPECT_TRUE(s.Config().m_DebugConsoleFlag);
    EXPECT_FALSE(GxDebugKeys::OnKey(&s.m_Core, GxDebugKeys::kKeyF2));
    // Header of the title screen's kind (no current sequence here: empty name, parameters 0).
    const std::string prefix = "\xFF\xFE" + Utf16("Sequence:(0,0):");
    EXPECT_EQ(s.Read("vardump_extern.txt").compare(0, prefix.size(), prefix), 0);

    ASSERT_TRUE(GxDebugKeys::WriteWorkerDump(&s.m_Core, &s.m_Bench.Worker()));
    const std::string dump = s.Read("vardump.txt");
    EXPECT_NE(dump.find(Utf16("\r\n----Worker:MAIN_WORKER\r\n")), std::string::npos);
    EXPECT_EQ(GxDebugKeys::DumpHeader(nullptr, 0), L"Sequence:(0,0):" + GxTime::FormatDateTime(0) + L"\n");
}

TEST(GxDebugKeys, EditorTargetAndOverlayRule)
{
    Scene s;
    std::wstring path;
    int32_t line = 0;
    GxMoaWorker idle(&s.m_Bench.m_Program.m_Moa);
    EXPECT_FALSE(GxDebugKeys::GetEditorTarget(&s.Config(), &idle, nullptr, path, line));
    ASSERT_TRUE(GxDebugKeys::GetEditorTarget(&s.Config(), &s.m_Bench.Worker(), &s.m_Bench.m_Program.m_Moa, path, line));
    EXPECT_EQ(line, 1);
    EXPECT_EQ(path.substr(path.size() - 2), L"/t");
    s.m_Bench.m_Program.m_Moa.m_ErrorStop = 1;
    ASSERT_TRUE(GxDebugKeys::GetEditorTarget(&s.Config(), &s.m_Bench.Worker(), &s.m_Bench.m_Program.m_Moa, path, line));
    EXPECT_EQ(line, 2);

    GxLog::ResetErrorCount();
    s.m_Bench.m_Program.m_Moa.m_ErrorStop = 0;
    s.Config().m_SkipSlightError = true;
    EXPECT_FALSE(GxDebugKeys::ShouldDrawOverlay(&s.Config(), &s.m_Bench.m_Program.m_Moa));
    s.Config().m_DebugConsoleFlag = true;
    EXPECT_TRUE(GxDebugKeys::ShouldDrawOverlay(&s.Config(), &s.m_Bench.m_Program.m_Moa));
    s.Config().m_DebugConsoleFlag = false;
    GxLog::Error(L"test error\n");
    EXPECT_FALSE(GxDebugKeys::ShouldDrawOverlay(&s.Config(), &s.m_Bench.m_Program.m_Moa));
    s.m_Bench.m_Program.m_Moa.m_ErrorStop = 1;
    EXPECT_TRUE(GxDebugKeys::ShouldDrawOverlay(&s.Config(), &s.m_Bench.m_Program.m_Moa));
    s.m_Bench.m_Program.m_Moa.m_ErrorStop = 0;
    s.Config().m_SkipSlightError = false;
    EXPECT_TRUE(GxDebugKeys::ShouldDrawOverlay(&s.Config(), &s.m_Bench.m_Program.m_Moa));
    GxLog::ResetErrorCount();
}

TEST(GxDebugKeys, EditorKeyKeepsAScriptPathWithABlankWhole)
{
    namespace fs = std::filesystem;
    Scene s;
    const fs::path dir = fs::temp_directory_path() / "kv debug keys editor";
    fs::remove_all(dir);
    fs::create_directories(dir / "scripts");
    const fs::path out = dir / "args.txt";
    const fs::path editor = dir / "editor.sh";
    std::ofstream(editor) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" << out.string()
                          << ".tmp'\nmv '" << out.string() << ".tmp' '" << out.string() << "'\n";
    fs::permissions(editor, fs::perms::owner_all);
    {
        const KvScopedWorkingDir inDir(dir);
        s.Config().m_DebugModeFlag = true;
        s.Config().m_TextEditorCommand =
            GxTextEditor::QuoteArgument(GxString::FromUtf8(editor.string())) + L" %file -l%line";
        GxMoaWorkerEx* oldWorker = g_MoaMainWorker;
        g_MoaMainWorker = &s.m_Bench.Worker();
        EXPECT_FALSE(GxDebugKeys::OnKey(&s.m_Core, GxDebugKeys::kKeyF11));
        g_MoaMainWorker = oldWorker;
    }
    // At least 60 s: only an editor that never starts is slower, however loaded the machine.
    for (int i = 0; i < 6000 && !fs::exists(out); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(out);
    std::vector<std::string> args;
    for (std::string line; std::getline(in, line);)
        args.push_back(line);
    EXPECT_EQ(args, (std::vector<std::string>{(dir / "scripts" / "t").string(), "-l1"}));
    fs::remove_all(dir);
}
