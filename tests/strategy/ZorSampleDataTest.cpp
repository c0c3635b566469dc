// The sample game's strategy data, as tools/samplegen writes it, loads without a log line and fits the
// IDs and layout the rules fix: the first dungeon opens level by level with its throne and entrances, and
// every enemy party the story's scripts name is a row of the party table.
#include "ZorTestSupport.h"

#include "appdata/ZorGlobals.h"
#include "strategy/ZorGeometry.h"
#include "support/SampleGameCache.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

class ZorSampleDataTest : public zortest::ZorTest
{
protected:
    void SetUp() override
    {
        ZorTest::SetUp();
        ASSERT_TRUE(kvtest::CopySampleGame(m_Folder.Path().string()));
        dbtest::ResetTables(g_DBZorStruct, g_DBZorUnit, g_DBZorEnemy, g_DBZorSkill, g_DBZorVoice);
        for (auto [table, file] : {std::pair<GxDBBase*, const wchar_t*>{&g_DBZorStruct, L"data/db_zorstruct.txt"},
                                   {&g_DBZorUnit, L"data/db_zorunit.txt"},
                                   {&g_DBZorEnemy, L"data/db_zorenemy.txt"}})
            ASSERT_TRUE(table->Load(m_Folder.File(file)));
        ZorMapData::ResetAllMaps();
        for (int slot = 0; slot < ZorMapData::kSlots; ++slot)
            ASSERT_TRUE(ZorMapData::GetSlot(slot)->LoadFromFile(
                m_Folder.File(GxString::Format(L"data/db_zormap%02d.txt", slot))));
    }
};

TEST_F(ZorSampleDataTest, FirstDungeonOpensLevelByLevel)
{
    EXPECT_EQ(g_DBZorStruct.GetRow(1)->m_Name, L"room");
    EXPECT_EQ(g_DBZorStruct.GetRow(6)->m_PassCenter, 0);
    EXPECT_EQ(g_DBZorUnit.GetRow(12)->m_Name, L"goblin");
    ZorUserData& s = State();
    s.InitNewGame();
    // The invaders' kinds (classes 5-12) are never the player's to summon.
    for (int32_t id : {12, 61, 63})
        EXPECT_EQ(s.GetUnitState(id)->m_Enabled, g_DBZorUnit.GetRow(id)->m_Class <= 4 ? 1 : 0) << id;
    EXPECT_EQ(s.m_ThroneRoomPosX, 4);
    EXPECT_EQ(s.m_ThroneRoomPosY, 4);
    EXPECT_EQ(s.GetRoughRoom(4, 7)->m_StructID, 16);
    EXPECT_EQ(s.GetRoomState(3, 6), 3);
    EXPECT_TRUE(s.IsRoomConnectable(3, 6));
    int32_t dig = 0;
    EXPECT_EQ(s.CheckStructBuild(2, 3, 6, dig), 12);
    for (int level = 0; level < 4; ++level)
    {
        EXPECT_EQ(s.CountReadyEntrances(), level + 1) << level;
        for (int rz = 0; rz < 10; ++rz)
            for (int rx = 0; rx < 10; ++rx)
                if (s.IsRoomOpen(rx, rz))
                    EXPECT_LT(s.GetRoughRoom(rx, rz)->m_RoughDistFromThrone, 100000) << rx << "," << rz;
        s.UpgradeFloorExtendLevel();
    }
    EXPECT_EQ(s.m_ThroneRoomPosY, 1);
    // Every room's centre cell stands where the map view draws the room, or a click picks the wrong cell.
    for (int slot = 0; slot < ZorMapData::kSlots; ++slot)
        for (int rz = 0; rz < 10; ++rz)
            for (int rx = 0; rx < 10; ++rx)
            {
                const ZorMapData::Room* room = ZorMapData::GetSlot(slot)->GetMapRoughRoom(rx, rz);
                if (!room->m_Defined)
                    continue;
                const GxVector4 centre = ZorCellToWorld(room->m_CenterDX, room->m_CenterDZ);
                EXPECT_EQ(centre.x, (rx - 5) * 80.0f) << slot << ": " << rx << "," << rz;
                EXPECT_EQ(centre.z, (rz - 4) * 80.0f) << slot << ": " << rx << "," << rz;
            }
    EXPECT_TRUE(m_Log.Lines().empty()) << GxString::ToUtf8(m_Log.Lines().front());
}

// A party name the table lacks reads as row 0 without a word, and a stage set up with it plans its
// invaders as if no party had been named (a hero's party may come in its place).
TEST_F(ZorSampleDataTest, EveryPartyTheStoryNamesIsInTheTable)
{
    const std::regex call(R"re(@zor_setdef(?:first|boss)party\("([^"]*)"\))re");
    int named = 0;
    for (const auto& entry : std::filesystem::directory_iterator(m_Folder.Path() / "scripts"))
    {
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        const std::string script = text.str();
        for (std::sregex_iterator it(script.begin(), script.end(), call), end; it != end; ++it, ++named)
            EXPECT_NE(ZorGlobals::FindEnemy(GxString::FromUtf8((*it)[1].str())), 0)
                << entry.path().filename().string() << ": " << (*it)[1].str();
    }
    EXPECT_GE(named, 2) << "the story's first defence names its parties";
}
