#include "appdata/ZorGlobals.h"

#include "DBTestSupport.h"

#include <gtest/gtest.h>

using namespace dbtest;

namespace
{

class ZorGlobalsTest : public DBTest
{
protected:
    void SetUp() override
    {
        TearDown();
        Load(g_DBZorStruct, L"1\t玉座\n29\t宝物庫\n");
        Load(g_DBZorUnit, L"3\tゴブリン\n159\tドラゴン\n160\t範囲外\n");
        Load(g_DBZorEnemy, L"4\t勇者隊\n");
        Load(g_DBZorTown, L"19\t王都\n");
        Load(g_DBZorCommand, L"7\t収穫\n");
    }
    void TearDown() override { ResetTables(g_DBZorCommand, g_DBZorEnemy, g_DBZorStruct, g_DBZorTown, g_DBZorUnit); }
};

} // namespace

TEST_F(ZorGlobalsTest, NamesFindTheirRowsAndMissesAnswerTheNoneRowWithTheTablesMessage)
{
    const struct
    {
        int32_t (*find)(const std::wstring&);
        const wchar_t* name;
        int32_t row;
        const wchar_t* message; // for a miss; nullptr where it is silent
    } cases[] = {
        {ZorGlobals::FindStruct, L"宝物庫", 29, nullptr},
        {ZorGlobals::FindUnit, L"ゴブリン", 3, nullptr},
        {ZorGlobals::FindUnit, L"ドラゴン", 159, nullptr},
        {ZorGlobals::FindEnemy, L"勇者隊", 4, nullptr},
        {ZorGlobals::FindTown, L"王都", 19, nullptr},
        {ZorGlobals::FindCommand, L"収穫", 7, nullptr},
        {ZorGlobals::FindStruct, L"x", 0, L"ZorGlobals::FindStruct/施設名が見つかりません(x)\n"},
        {ZorGlobals::FindUnit, L"範囲外", 0, L"ZorGlobals::FindUnit/ユニット名が見つかりません(範囲外)\n"},
        {ZorGlobals::FindTown, L"x", 0, L"ZorGlobals::FindTown/都市名が見つかりません(x)\n"},
        {ZorGlobals::FindCommand, L"x", 0, L"ZorGlobals::FindCommand/コマンドが見つかりません(x)\n"},
        {ZorGlobals::FindEnemy, L"魔物", 0, nullptr},
        {ZorGlobals::FindUnit, L"", 0, nullptr}, // the empty none row
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(GxString::ToUtf8(c.name));
        const size_t before = m_Log.Lines().size();
        EXPECT_EQ(c.find(c.name), c.row);
        if (c.message)
            EXPECT_TRUE(m_Log.Contains(c.message));
        else
            EXPECT_EQ(m_Log.Lines().size(), before);
    }
}
