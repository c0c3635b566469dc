#include "appdata/ZorGlobals.h"

#include "appdata/DBZorCommand.h"
#include "appdata/DBZorEnemy.h"
#include "appdata/DBZorStruct.h"
#include "appdata/DBZorTown.h"
#include "appdata/DBZorUnit.h"

#include "DBTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace dbtest;

namespace
{

void ResetTables()
{
    g_DBZorCommand = *std::make_unique<DBZorCommand>();
    g_DBZorEnemy = *std::make_unique<DBZorEnemy>();
    g_DBZorStruct = *std::make_unique<DBZorStruct>();
    g_DBZorTown = *std::make_unique<DBZorTown>();
    g_DBZorUnit = *std::make_unique<DBZorUnit>();
}

class ZorGlobalsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetTables();
        Load(g_DBZorStruct, L"1\t玉座\n29\t宝物庫\n");
        Load(g_DBZorUnit, L"3\tゴブリン\n159\tドラゴン\n160\t範囲外\n");
        Load(g_DBZorEnemy, L"4\t勇者隊\n");
        Load(g_DBZorTown, L"19\t王都\n");
        Load(g_DBZorCommand, L"7\t収穫\n");
    }
    void TearDown() override { ResetTables(); }

    void Load(GxDBBase& table, const std::wstring& text)
    {
        std::wstring path = m_Folder.File(L"table.txt");
        WriteText(path, text);
        table.Load(path);
    }

    TempFolder m_Folder;
    LogCapture m_Log{m_Folder};
};

} // namespace

TEST_F(ZorGlobalsTest, NamesFindTheirRows)
{
    EXPECT_EQ(ZorGlobals::FindStruct(L"宝物庫"), 29);
    EXPECT_EQ(ZorGlobals::FindUnit(L"ゴブリン"), 3);
    EXPECT_EQ(ZorGlobals::FindUnit(L"ドラゴン"), 159);
    EXPECT_EQ(ZorGlobals::FindEnemy(L"勇者隊"), 4);
    EXPECT_EQ(ZorGlobals::FindTown(L"王都"), 19);
    EXPECT_EQ(ZorGlobals::FindCommand(L"収穫"), 7);
}

TEST_F(ZorGlobalsTest, MissAnswersTheNoneRowWithTheTablesMessage)
{
    EXPECT_EQ(ZorGlobals::FindStruct(L"x"), 0);
    EXPECT_EQ(ZorGlobals::FindUnit(L"範囲外"), 0);
    EXPECT_EQ(ZorGlobals::FindTown(L"x"), 0);
    EXPECT_EQ(ZorGlobals::FindCommand(L"x"), 0);
    EXPECT_TRUE(m_Log.Contains(L"ZorGlobals::FindStruct/施設名が見つかりません(x)\n"));
    EXPECT_TRUE(m_Log.Contains(L"ZorGlobals::FindUnit/ユニット名が見つかりません(範囲外)\n"));
    EXPECT_TRUE(m_Log.Contains(L"ZorGlobals::FindTown/都市名が見つかりません(x)\n"));
    EXPECT_TRUE(m_Log.Contains(L"ZorGlobals::FindCommand/コマンドが見つかりません(x)\n"));
}

TEST_F(ZorGlobalsTest, EnemyMissAndEmptyNameAreSilent)
{
    size_t before = m_Log.Lines().size();
    EXPECT_EQ(ZorGlobals::FindEnemy(L"魔物"), 0);
    EXPECT_EQ(ZorGlobals::FindUnit(L""), 0); // the empty none row
    EXPECT_EQ(m_Log.Lines().size(), before);
}
