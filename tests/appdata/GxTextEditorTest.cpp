#include "appdata/GxTextEditor.h"

#include "../../tools/gxpack/GxPackWriter.h"
#include "core/GxFile.h"
#include "core/GxString.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(GxTextEditor, TemplatesReplaceLineThenPosThenFile)
{
    struct Case
    {
        const wchar_t* m_Template;
        const wchar_t* m_File;
        const wchar_t* m_Expected;
    };
    const Case cases[] = {
        {L"/opt/ed/editor %file", L"scripts/main.txt", L"/opt/ed/editor scripts/main.txt"},
        {L"ed +%line:%pos %file -l%line %pos", L"a.txt", L"ed +12:0 a.txt -l12 0"},
        {L"ed --no-placeholders", L"a.txt", L"ed --no-placeholders"},
        // The path goes in last, so placeholders inside it stay as they are.
        {L"ed %file", L"/tmp/%line%pos.txt", L"ed /tmp/%line%pos.txt"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GxTextEditor::BuildCommandLine(c.m_Template, c.m_File, 12), c.m_Expected)
            << GxString::ToUtf8(c.m_Template);
}

TEST(GxTextEditor, KnownEditorsGetTheirArguments)
{
    const std::wstring f = L"C:/game/scripts/main.txt";
    struct Case
    {
        const wchar_t* m_Editor;
        std::wstring m_Expected;
    };
    const Case cases[] = {
        {L"C:\\Program Files\\Hidemaru\\Hidemaru.exe", L"\"" + f + L"\" /jx7,0"},
        {L"SAKURA.EXE", L"-Y=7 -X=0 -- \"" + f + L"\""},
        {L"d:emeditor.exe", L"/l 7 \"" + f + L"\""},
        {L"TeraPad.exe", L"/jl=7 \"" + f + L"\""},
        {L"apsaly.exe", L"/j7 /c0 /d \"" + f + L"\""},
        {L"k2editor.exe", L"\"" + f + L"\" /j7"},
        {L"wzeditor.exe", L"/j7 \"" + f + L"\""},
        {L"/usr/bin/gvim", L"--remote-tab-silent +7 \"" + f + L"\""},
        {L"/usr/bin/gedit", L"\"" + f + L"\""},
        {L"sakura.exe.old", L"\"" + f + L"\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GxTextEditor::GetKnownEditorArguments(f, c.m_Editor, 7), c.m_Expected)
            << GxString::ToUtf8(c.m_Editor);
}

TEST(GxTextEditor, QuotedArgumentsSplitBackWhole)
{
    const std::vector<std::wstring> arguments = {
        L"plain", L"with blank", L"a \"quoted\" word", L"back\\slash", L"ends in \\", L"\\\"", L"", L"タブ\tと"};
    std::wstring line = L"  prog";
    for (const std::wstring& a : arguments)
        line += L" " + GxTextEditor::QuoteArgument(a);
    std::vector<std::wstring> expected = {L"prog"};
    expected.insert(expected.end(), arguments.begin(), arguments.end());
    EXPECT_EQ(GxTextEditor::SplitCommandLine(line + L"  "), expected);
    EXPECT_EQ(GxTextEditor::SplitCommandLine(L"a\\\\\"b c\" d\\e"), (std::vector<std::wstring>{L"a\\b c", L"d\\e"}));
    EXPECT_EQ(GxTextEditor::TakeProgram(L"  \"/opt/my editor/ed\" --x %F \r\n"), L"/opt/my editor/ed");
    EXPECT_EQ(GxTextEditor::TakeProgram(L"gedit %U"), L"gedit");
}

// A fake editor in a folder with a blank records its arguments, one per line, and the XDG folders point
// the text/plain association at it.
class GxTextEditorLaunch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kveditXXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_Dir = pattern;
        fs::create_directories(m_Dir / "my editors");
        m_Out = m_Dir / "args.txt";
        for (const char* name : {"SAKURA.EXE", "plain-editor"})
        {
            const fs::path editor = m_Dir / "my editors" / name;
            std::ofstream(editor) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" << m_Out.string()
                                  << ".tmp\"\nmv \"" << m_Out.string() << ".tmp\" \"" << m_Out.string() << "\"\n";
            fs::permissions(editor, fs::perms::owner_all);
        }
        m_Script = m_Dir / "my \"script\".txt";
        std::ofstream(m_Script) << "*MAIN\n";
        fs::create_directories(m_Dir / "data" / "applications");
        for (auto [name, folder] : {std::pair{"XDG_CONFIG_HOME", "."},
                                    {"XDG_CONFIG_DIRS", "none"},
                                    {"XDG_DATA_HOME", "data"},
                                    {"XDG_DATA_DIRS", "none"}})
        {
            const char* old = std::getenv(name);
            m_SavedEnv.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
            setenv(name, (m_Dir / folder).c_str(), 1);
        }
    }
    void TearDown() override
    {
        for (const auto& [name, value] : m_SavedEnv)
        {
            if (value)
                setenv(name, value->c_str(), 1);
            else
                unsetenv(name);
        }
        GxFile::UnmountAll();
        fs::remove_all(m_Dir);
    }
    void Associate(const std::string& exec)
    {
        std::ofstream(m_Dir / "mimeapps.list")
            << "[Added Associations]\ntext/plain=other.desktop;\n[Default Applications]\ntext/plain=missing.desktop;"
               "kvfake.desktop;\n";
        std::ofstream(m_Dir / "data" / "applications" / "kvfake.desktop")
            << "[Desktop Action New]\nExec=wrong\n[Desktop Entry]\nName=Fake\nExec=" << exec << "\n";
    }
    // The recorded arguments, once the editor has written them (waiting at least 60 s: only an editor
    // that never starts is slower, however loaded the machine).
    std::vector<std::string> WaitForArguments()
    {
        for (int i = 0; i < 6000 && !fs::exists(m_Out); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::ifstream in(m_Out);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    // True once no child of this process has ended unreaped (WNOWAIT looks without reaping), within at
    // least 60 s.
    static bool NoZombieSoon()
    {
        for (int i = 0; i < 6000; ++i)
        {
            siginfo_t info{};
            if (waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid == 0)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    fs::path m_Dir, m_Out, m_Script;
    std::vector<std::pair<const char*, std::optional<std::string>>> m_SavedEnv;
};

TEST_F(GxTextEditorLaunch, TemplateKeepsAPathWithBlanksAndQuotesWhole)
{
    const std::wstring editor = GxString::FromUtf8((m_Dir / "my editors" / "plain-editor").string());
    const std::wstring file = GxString::FromUtf8(m_Script.string());
    ASSERT_TRUE(GxTextEditor::RunTemplate(GxTextEditor::QuoteArgument(editor) + L" +%line:%pos %file", file, 42));
    EXPECT_EQ(WaitForArguments(), (std::vector<std::string>{"+42:0", m_Script.string()}));
    EXPECT_TRUE(NoZombieSoon());

    EXPECT_FALSE(
        GxTextEditor::RunCommandLine(L"\"" + GxString::FromUtf8((m_Dir / "no such editor").string()) + L"\" x"));
    EXPECT_FALSE(GxTextEditor::RunCommandLine(L"   "));
}

TEST_F(GxTextEditorLaunch, AssociationOpensLooseFilesOnlyWithTheKnownEditorsArguments)
{
    const std::wstring file = GxString::FromUtf8(m_Script.string());
    EXPECT_EQ(GxTextEditor::FindTxtEditor(), L"");
    EXPECT_FALSE(GxTextEditor::OpenFileAtLine(file, 3)) << "no association";

    Associate("\"" + (m_Dir / "my editors" / "SAKURA.EXE").string() + "\" %F");
    EXPECT_EQ(GxTextEditor::FindTxtEditor(), GxString::FromUtf8((m_Dir / "my editors" / "SAKURA.EXE").string()));
    ASSERT_TRUE(GxTextEditor::OpenFileAtLine(file, 3));
    EXPECT_EQ(WaitForArguments(), (std::vector<std::string>{"-Y=3", "-X=0", "--", m_Script.string()}));
    EXPECT_TRUE(NoZombieSoon());

    // A script found only in a pack, and one found nowhere, are not opened.
    GxPackWriter pack;
    pack.Add(L"scripts/packed.txt", std::string("*MAIN\n"));
    ASSERT_TRUE(pack.Write((m_Dir / "scripts.gxp").string(), GxPackWriter::kNamesUtf16LE, GxPackWriter::kPlain));
    ASSERT_TRUE(GxFile::MountPack(GxString::FromUtf8((m_Dir / "scripts.gxp").string())));
    ASSERT_EQ(GxFile::Exists(L"scripts/packed.txt"), 2);
    EXPECT_FALSE(GxTextEditor::OpenFileAtLine(L"scripts/packed.txt", 1));
    EXPECT_FALSE(GxTextEditor::OpenFileAtLine(GxString::FromUtf8((m_Dir / "gone.txt").string()), 1));
}
