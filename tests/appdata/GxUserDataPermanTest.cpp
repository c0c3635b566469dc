#include "appdata/GxUserDataPerman.h"

#include "UserFileTestSupport.h"
#include "appdata/GxUserFile.h"
#include "appdata/GxUserScriptRecord.h"
#include "script/GxMoaEx.h"
#include "script/GxMoaHost.h"
#include "script/GxMoaScope.h"

#include <cerrno>
#include <filesystem>
#include <fstream>

using usertest::Golden;

namespace
{

GxUserDataPerman Sample()
{
    GxUserDataPerman p(nullptr);
    p.SetReadedMessage(40, L"main");
    p.SetReadedMessage(3, L"main");
    p.SetReadedMessage(0, L"第二章");
    p.SetSelectedMenu(2, L"menu#1");
    p.m_PassedReplayLabels = {L"RP_A", L"RP_B"};
    p.SetShowedCG(L"cg/ev/ev01.part.png"); // the key is cut at the first dot
    p.m_ExtraOption.Set(10, true);
    return p;
}

// The golden, with marks on every count: the two maps, their first entries' word counts, the labels,
// the pictures and the script's variable count.
Golden SampleGolden()
{
    Golden g;
    g.Mark().U("m_ReadedMessageFlags", 2);
    g.S("Key", L"main").Mark().U("Flags", 2).U("Value", 1u << 3).U("Value", 1u << 8);
    g.S("Key", L"第二章").U("Flags", 1).U("Value", 1);
    g.Mark().U("m_SelectedMenuFlags", 1).S("Key", L"menu#1").Mark().U("Flags", 1).U("Value", 4);
    g.Mark().U("m_PassedReplayLabels", 2).S("Key", L"RP_A").S("Key", L"RP_B");
    g.Mark().U("m_ShowedCGFlags", 1).S("Key", L"ev01").I("Value", 1);
    g.Bits("m_ExtraOption", 1u << 10);
    g.Mark().Add([](GxContentWriterBase& w)
                 { GxUserScriptRecord::Write(w, PERSIST_PERMAN, GxUserScriptRecord::Worker::Without); });
    return g;
}

std::string Dump(const GxUserDataPerman& p)
{
    std::string bytes;
    GxUserFile::WriteToMemory(bytes, GxUserFile::Form::Binary, "PD", [&](GxContentWriterBase& w) { p.Write(w); });
    return bytes;
}

// The runtime with one permanent EXTERN variable, for the tests that need the script's part.
struct ScriptRuntime
{
    ScriptRuntime()
    {
        CreateMoa(nullptr);
        GxMoaVariable value;
        value.SetInt(7);
        g_MoaInstance->m_ExternTable.Add(L"perm", value);
        g_MoaInstance->m_ExternTable.Find(L"perm")->m_Scope = SCOPE_EXTERN_PERMAN;
    }
    ~ScriptRuntime() { DestroyMoa(); }
    static GxMoaVariable& Value() { return g_MoaInstance->m_ExternTable.Find(L"perm")->m_Value; }
};

} // namespace

TEST(GxUserDataPerman, BothFormsMatchTheGoldenAndReadBackWhole)
{
    dbtest::TempFolder folder;
    for (bool text : {false, true})
    {
        const std::wstring path = folder.File(text ? L"t.dat" : L"b.dat");
        ASSERT_TRUE(Sample().Save(path, !text));
        EXPECT_EQ(usertest::ReadBytes(path), SampleGolden().Bytes(text, "PD")) << text;
        GxUserDataPerman loaded(nullptr);
        ASSERT_TRUE(loaded.Load(path));
        EXPECT_EQ(Dump(loaded), Dump(Sample()));
        EXPECT_TRUE(loaded.IsReadedMessage(L"main", 40) && loaded.IsSelectedMenu(L"menu#1", 2));
        EXPECT_FALSE(loaded.IsReadedMessage(L"main", 100) || loaded.IsReadedMessage(L"other", 40) ||
                     loaded.IsSelectedMenu(L"menu#1", 1) || loaded.IsSelectedMenu(L"m", 0));
    }
    // The script's permanent variables travel with the progress.
    ScriptRuntime script;
    const std::wstring path = folder.File(L"permanent.dat");
    ASSERT_TRUE(Sample().Save(path, true));
    ScriptRuntime::Value().SetInt(9);
    GxUserDataPerman loaded(nullptr);
    ASSERT_TRUE(loaded.Load(path));
    EXPECT_EQ(ScriptRuntime::Value().ToInt(), 7);
}

TEST(GxUserDataPerman, DamagedFileIsRefusedKeptAsideAndNothingChanges)
{
    dbtest::TempFolder folder;
    dbtest::LogCapture log(folder);
    ScriptRuntime script;
    const std::wstring path = folder.File(L"permanent.dat");
    std::vector<size_t> counts;
    const std::string good = SampleGolden().Bytes(false, "PD", &counts);
    ASSERT_TRUE(Sample().Save(path, true));
    const std::string withScript = usertest::ReadBytes(path);
    std::vector<std::string> bad = usertest::DamagedCopies(withScript, 20, counts);
    bad.push_back(withScript.substr(0, withScript.size() - 1) + "\x01"); // the value stack's tail changed
    GxUserDataPerman p(nullptr);
    p.SetReadedMessage(5, L"kept");
    ScriptRuntime::Value().SetInt(9);
    const std::string before = Dump(p);
    size_t refused = 0;
    for (size_t i = 0; i < bad.size(); ++i)
    {
        dbtest::WriteBytes(path, bad[i]);
        const size_t lines = log.Lines().size();
        if (p.Load(path))
            continue; // a changed byte that still makes a valid record
        ++refused;
        EXPECT_GT(log.Lines().size(), lines) << "case " << i;
        ASSERT_EQ(Dump(p), before) << "case " << i;
        if (!bad[i].empty())
        {
            // The damaged file waits under the backup name; the next save cannot overwrite it.
            EXPECT_FALSE(std::filesystem::exists(GxString::ToUtf8(path))) << "case " << i;
            EXPECT_EQ(usertest::ReadBytes(GxUserDataPerman::BackupPath(path)), bad[i]) << "case " << i;
            std::filesystem::remove(GxString::ToUtf8(GxUserDataPerman::BackupPath(path)));
        }
    }
    // Every truncation, header flip and huge count is refused.
    EXPECT_GE(refused, withScript.size() + 20 + counts.size() - 1);
    EXPECT_EQ(ScriptRuntime::Value().ToInt(), 9);
}

// A save folder restored from another account's backup: the progress is there but this account may not
// read it. The run goes on from nothing, says so once with the system's reason, and never writes over the
// file. Root reads a mode-000 file, so there the case is skipped (the injected refusal of the core's
// shut-down test covers it).
TEST(GxUserDataPerman, AFileOfMode000IsLeftAsItIs)
{
    dbtest::TempFolder folder;
    dbtest::LogCapture log(folder);
    const std::wstring path = folder.File(L"permanent.dat");
    ASSERT_TRUE(Sample().Save(path, true));
    const std::string bytes = usertest::ReadBytes(path);
    const std::string native = GxString::ToUtf8(path);
    std::filesystem::permissions(native, std::filesystem::perms::none);
    if (std::ifstream(native).is_open())
        GTEST_SKIP() << "this process reads a mode-000 file";
    const usertest::FileState before = usertest::StateOf(path);
    GxUserDataPerman p(nullptr);
    EXPECT_FALSE(p.Load(path));
    EXPECT_FALSE(p.IsLoaded());
    EXPECT_EQ(Dump(p), Dump(GxUserDataPerman(nullptr)));
    size_t told = 0;
    for (const std::wstring& line : log.Lines())
        told += line.find(path + L": " + GxString::FromUtf8(PfFileSystem::ErrorText(EACCES))) != std::wstring::npos;
    EXPECT_EQ(told, 1u);
    p.SetReadedMessage(1, L"main");
    EXPECT_FALSE(p.Save(path, true));
    EXPECT_EQ(usertest::StateOf(path), before);
    std::filesystem::permissions(native, std::filesystem::perms::owner_read);
    EXPECT_EQ(usertest::ReadBytes(path), bytes);
}
