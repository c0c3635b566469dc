// The sample game's data set, as tools/samplegen writes it, loads into the game's tables without a
// single log line, every line has exactly its table's cell count, and its cross-references resolve.
#include "appdata/GxDBLookup.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/ZorGlobals.h"

#include "DBTestSupport.h"
#include "core/GxINIFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace dbtest;

namespace
{

struct TableFile
{
    GxDBBase* m_Table;
    const wchar_t* m_File;
};

// The tables in the order the game loads them at start-up.
std::vector<TableFile> StartUpOrder()
{
    return {{&g_DBAvgChar, L"data/db_avgchar.txt"},       {&g_DBBGMMode, L"data/db_bgmmode.txt"},
            {&g_DBCGMode, L"data/db_cgmode.txt"},         {&g_DBRPMode, L"data/db_rpmode.txt"},
            {&g_DBUIModule, L"data/db_uimodule.txt"},     {&g_DBUILayout, L"data/db_uilayout.txt"},
            {&g_DBEffect, L"data/db_effect.txt"},         {&g_DBUIModule, L"data/db_uimodule_zor.txt"},
            {&g_DBUILayout, L"data/db_uilayout_zor.txt"}, {&g_DBZorEnemy, L"data/db_zorenemy.txt"},
            {&g_DBZorSkill, L"data/db_zorskill.txt"},     {&g_DBZorStruct, L"data/db_zorstruct.txt"},
            {&g_DBZorUnit, L"data/db_zorunit.txt"},       {&g_DBZorVoice, L"data/db_zorvoice.txt"},
            {&g_DBZorTown, L"data/db_zortown.txt"},       {&g_DBZorCommand, L"data/db_zorcommand.txt"}};
}

void ResetAll()
{
    ResetTables(g_DBAvgChar, g_DBBGMMode, g_DBCGMode, g_DBRPMode, g_DBUIModule, g_DBUILayout, g_DBEffect, g_DBZorEnemy,
                g_DBZorSkill, g_DBZorStruct, g_DBZorUnit, g_DBZorVoice, g_DBZorTown, g_DBZorCommand);
}

class SampleDataTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetAll();
        GenerateSample(m_Folder);
    }
    void TearDown() override { ResetAll(); }

    std::wstring File(const wchar_t* name) const { return m_Folder.File(name); }

    TempFolder m_Folder;
    LogCapture m_Log{m_Folder};
};

} // namespace

TEST_F(SampleDataTest, EveryLineHoldsExactlyItsTablesCells)
{
    for (const TableFile& file : StartUpOrder())
    {
        std::ifstream in(GxString::ToUtf8(File(file.m_File)), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        ASSERT_EQ(bytes.compare(0, 3, "\xEF\xBB\xBF"), 0) << GxString::ToUtf8(file.m_File);
        size_t start = 3;
        while (start < bytes.size())
        {
            size_t end = bytes.find('\n', start);
            std::string line = bytes.substr(start, end - start);
            start = end == std::string::npos ? bytes.size() : end + 1;
            EXPECT_EQ(1 + std::count(line.begin(), line.end(), '\t'), file.m_Table->GetCellsPerLine())
                << GxString::ToUtf8(file.m_File) << ": " << line;
        }
    }
}

TEST_F(SampleDataTest, EveryTableLoadsAndReferencesBetweenTablesResolveWithoutAMessage)
{
    for (const TableFile& file : StartUpOrder())
    {
        EXPECT_TRUE(file.m_Table->Load(File(file.m_File))) << GxString::ToUtf8(file.m_File);
        EXPECT_GT(file.m_Table->GetMaxID(), 0) << GxString::ToUtf8(file.m_File);
    }

    for (int32_t i = 1; i < g_DBUILayout.GetCapacity(); ++i)
    {
        const DBUILayoutData* row = g_DBUILayout.GetRow(i);
        EXPECT_TRUE(row->m_TaskName.empty() || FindUIModuleData(row->m_ModuleName)) << i;
    }
    for (int32_t i = 1; i < g_DBZorEnemy.GetCapacity(); ++i)
        for (const std::wstring& unit : g_DBZorEnemy.GetRow(i)->m_UnitName)
            EXPECT_TRUE(unit.empty() || ZorGlobals::FindUnit(unit) != 0) << i;
    for (int32_t i = 1; i < g_DBZorUnit.GetCapacity(); ++i)
        for (int32_t skill : g_DBZorUnit.GetRow(i)->m_Skill)
            EXPECT_TRUE(skill == 0 || !g_DBZorSkill.GetRow(skill)->m_Name.empty()) << i;
    for (int32_t i = 1; i < g_DBZorTown.GetCapacity(); ++i)
    {
        const DBZorTownData* town = g_DBZorTown.GetRow(i);
        EXPECT_TRUE(town->m_Name.empty() || ZorGlobals::FindEnemy(town->m_DefaultParty) != 0) << i;
    }
    // The title screen's buttons are all laid out.
    for (const wchar_t* button : {L"btn_title_start", L"btn_title_load", L"btn_title_exit"})
        EXPECT_NE(FindUILayoutData(button), nullptr);
    EXPECT_TRUE(m_Log.Lines().empty()) << (m_Log.Lines().empty() ? "" : GxString::ToUtf8(m_Log.Lines()[0]));
}

TEST_F(SampleDataTest, SettingsFilesNameTheGameAndKeepSavesInTheDocumentsFolder)
{
    // Settings files are read in the system code page: a byte-order mark would hide the first key.
    GxINIFile sysconf;
    ASSERT_TRUE(sysconf.Load(File(L"system/sysconf.ini")));
    EXPECT_EQ(sysconf.GetString(L"APP_TITLE", L""), L"Kestrelvane");
    GxINIFile setting;
    ASSERT_TRUE(setting.Load(File(L"setting.ini")));
    EXPECT_EQ(setting.GetInt(L"SaveToMyDocuments", -1), 1);

    GxSystemConfig config;
    config.ApplySysConf(sysconf);
    config.ApplySetting(setting);
    EXPECT_EQ(config.GetSaveDirName(), L"Kestrelvane_SAVE");
    EXPECT_TRUE(config.m_SaveToMyDocuments);
    EXPECT_TRUE(config.m_SkipSlightError);
}
