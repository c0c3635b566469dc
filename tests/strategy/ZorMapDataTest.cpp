#include "ZorTestSupport.h"

#include "strategy/ZorGeometry.h"

using zortest::MapText;

class ZorMapDataTest : public zortest::ZorTest
{
};

TEST_F(ZorMapDataTest, TestDungeonBuildsRoomsDoorsLinksAndPositions)
{
    const ZorMapData* map = ZorMapData::GetSlot(1);
    const ZorMapData::Room* b = map->GetMapRoughRoom(2, 1);
    ASSERT_TRUE(b->m_Defined);
    EXPECT_EQ(b->m_CenterDX, 9);
    EXPECT_EQ(b->m_CenterDZ, 5);
    EXPECT_EQ(b->m_Left, map->GetMapRoughRoom(1, 1));
    EXPECT_EQ(b->m_Right, map->GetMapRoughRoom(3, 1));
    EXPECT_EQ(b->m_Down, map->GetMapRoughRoom(2, 2));
    EXPECT_EQ(b->m_Up, nullptr);
    EXPECT_EQ(map->GetMapDetailBlock(7, 5)->m_Kind, ZorMapData::kKindDoorHorizontal);
    EXPECT_EQ(map->GetMapDetailBlock(9, 7)->m_Kind, ZorMapData::kKindDoorVertical);
    EXPECT_EQ(map->GetMapDetailBlock(8, 4)->m_RowOffset, -1);
    EXPECT_EQ(map->GetMapDetailBlock(8, 4)->m_ColumnOffset, -1);
    EXPECT_EQ(map->GetThronePos(1).m_RX, 2);
    EXPECT_EQ(map->GetThronePos(1).m_RZ, 2);
    EXPECT_EQ(map->GetEntrancePos(0).m_RX, 1);
    EXPECT_EQ(map->GetDifficulty(), 1);
    EXPECT_EQ(map->GetMapDetailBlock(40, 0), nullptr);
    EXPECT_TRUE(m_Log.Contains(L"ZorMapData::GetMapDetailBlock/MAP外にアクセス(dx:40,dz:0)\n"));
    // Each room's centre cell lies where the screen draws the room.
    int defined = 0;
    for (int rz = 0; rz < 10; ++rz)
        for (int rx = 0; rx < 10; ++rx)
        {
            const ZorMapData::Room* room = map->GetMapRoughRoom(rx, rz);
            if (!room->m_Defined)
                continue;
            ++defined;
            const GxVector4 centre = ZorCellToWorld(room->m_CenterDX, room->m_CenterDZ);
            EXPECT_EQ(centre.x, (rx - 5) * 80.0f) << rx << "," << rz;
            EXPECT_EQ(centre.z, (rz - 4) * 80.0f) << rx << "," << rz;
        }
    EXPECT_EQ(defined, 7);
}

TEST_F(ZorMapDataTest, FileQuirksAreReadAsTheFormatSays)
{
    MapText m;
    m.Cell(5, 2) = L"B:1:3";         // no lock letter
    m.Cell(6, 2) = L"X:2:4:F";       // unknown kind keeps the old kind (0)
    m.Cell(0, 10) = L"P:0:0:F";      // column 0 passage: a door of kind 3 whatever surrounds it
    m.Cell(20, 20) = L"\"P:0:0:F\""; // quoted, and joined to nothing
    m.Line(L"#45\tB:0:1:F");         // off the grid: not stored
    m.Line(L"entrance1\t0\t99");
    m.Line(L"difficulty\t3");
    ASSERT_TRUE(LoadMap(2, m));
    const ZorMapData* map = ZorMapData::GetSlot(2);
    const ZorMapData::Block* b = map->GetMapDetailBlock(5, 2);
    EXPECT_EQ(b->m_Kind, 1);
    EXPECT_EQ(b->m_FloorLevel, 1);
    EXPECT_EQ(b->m_RoomNumber, 3);
    EXPECT_EQ(map->GetMapDetailBlock(6, 2)->m_Kind, 0);
    EXPECT_EQ(map->GetMapDetailBlock(6, 2)->m_FloorLevel, 2);
    EXPECT_EQ(map->GetMapDetailBlock(0, 10)->m_Kind, ZorMapData::kKindDoorVertical);
    EXPECT_EQ(map->GetMapDetailBlock(20, 20)->m_Kind, ZorMapData::kKindPassage);
    EXPECT_EQ(map->GetMapDetailBlock(39, 2)->m_Kind, 0); // the short row leaves the rest empty
    EXPECT_EQ(map->GetEntrancePos(1).m_RX, 0);
    EXPECT_EQ(map->GetEntrancePos(1).m_RZ, 0);
    EXPECT_EQ(map->GetDifficulty(), 3);
    const std::wstring file = m_Folder.File(L"map2.txt");
    for (const wchar_t* line : {L"ZorMapData::LoadFromFile/構造エラー(%s dx:5,dz:2)\n",
                                L"ZorMapData::LoadFromFile/構造エラー(%s dx:6,dz:2)\n",
                                L"ZorMapData::ConstructRoughDataPath/接続できない通路(%s dx:20,dz:20)\n",
                                L"ZorMapData::GetMapDetailBlock/MAP外にアクセス(%s dx:0,dz:45)\n",
                                L"ZorMapData::FindRoom/ROOM見つかりません(%s floorlevel:0,roomnumber:99)\n"})
        EXPECT_TRUE(m_Log.Contains(GxString::Format(line, file.c_str()))) << GxString::ToUtf8(line);
    EXPECT_FALSE(ZorMapData::GetSlot(3)->LoadFromFile(m_Folder.File(L"missing.txt")));
}

// Rooms at the grid's edges: a top-left cell in column 0 makes no links; one in column 38 or row 37
// (its cells) or row 37 (its lower gap) reaches past the grid: off-grid cells count as missing and the
// links that would leave the grid are not made.
TEST_F(ZorMapDataTest, EdgeRoomsMakeNoLinksAndReachNothingPastTheGrid)
{
    MapText m;
    for (int z = 4; z < 7; ++z)
        for (int x = 0; x < 3; ++x)
            m.Cell(x, z) = L"B:0:1:F";
    m.Passage(3, 5);
    for (int z = 4; z < 7; ++z)
        for (int x = 38; x < 40; ++x)
            m.Cell(x, z) = L"B:0:2:F";
    m.Passage(37, 5);
    for (int z = 37; z < 40; ++z)
        for (int x = 21; x < 24; ++x)
            m.Cell(x, z) = L"B:0:3:F";
    m.Passage(22, 36);
    ASSERT_TRUE(LoadMap(2, m));
    const ZorMapData* map = ZorMapData::GetSlot(2);
    const ZorMapData::Room* left = map->GetMapRoughRoom(0, 1);
    ASSERT_TRUE(left->m_Defined);
    EXPECT_EQ(left->m_GapRight, nullptr);
    const ZorMapData::Room* right = map->GetMapRoughRoom(9, 1);
    ASSERT_TRUE(right->m_Defined);
    EXPECT_EQ(right->m_CenterDX, 39);
    EXPECT_NE(right->m_GapLeft, nullptr);
    EXPECT_EQ(right->m_Right, nullptr);
    const ZorMapData::Room* bottom = map->GetMapRoughRoom(5, 9);
    ASSERT_TRUE(bottom->m_Defined);
    EXPECT_EQ(bottom->m_Down, nullptr);
    EXPECT_NE(bottom->m_Up, nullptr);
    EXPECT_TRUE(m_Log.Contains(L"ZorMapData::ConstructRoughDataRoom/ROOMサイズ異常(" + m_Folder.File(L"map2.txt") +
                               L" dx:38,dz:4)\n"));
}

// A map cut short or emptied on its way is named in the error log; the rows before the cut are read.
TEST_F(ZorMapDataTest, CutOrEmptyMapFilesAreNamed)
{
    const std::wstring path = m_Folder.File(L"cut.txt");
    std::wstring text = L"throne0\t0\t1\n#0";
    for (int dx = 0; dx < 40; ++dx)
        text += dx == 3 ? L"\tB:0:1:F" : L"\t";
    text += L"\n#1\tB:0:1:F\tB:0:1:F";
    dbtest::WriteText(path, text);
    EXPECT_TRUE(ZorMapData::GetSlot(3)->LoadFromFile(path));
    EXPECT_TRUE(m_Log.Contains(L"ZorMapData::LoadFromFile/" + path +
                               L" ends inside its last row (2 of 40 cells): the file seems cut short\n"));
    EXPECT_EQ(ZorMapData::GetSlot(3)->GetMapDetailBlock(3, 0)->m_Kind, ZorMapData::kKindRoom);

    dbtest::WriteBytes(m_Folder.File(L"empty.txt"), "");
    EXPECT_FALSE(ZorMapData::GetSlot(3)->LoadFromFile(m_Folder.File(L"empty.txt")));
    EXPECT_TRUE(m_Log.Contains(L"File read error:" + m_Folder.File(L"empty.txt") + L" (the file is empty)\n"));
}

// With five maps in play, each error about a map's cells names the file it came from.
TEST_F(ZorMapDataTest, CellErrorsNameTheirMapFile)
{
    MapText broken;
    broken.Cell(24, 4) = L"B:0:1";
    MapText small;
    small.Cell(8, 8) = L"B:0:2:F";
    ASSERT_TRUE(LoadMap(2, broken));
    ASSERT_TRUE(LoadMap(3, small));
    const std::wstring brokenFile = m_Folder.File(L"map2.txt");
    const std::wstring smallFile = m_Folder.File(L"map3.txt");
    EXPECT_TRUE(m_Log.Contains(L"ZorMapData::LoadFromFile/構造エラー(" + brokenFile + L" dx:24,dz:4)\n"));
    EXPECT_TRUE(m_Log.Contains(L"ZorMapData::ConstructRoughDataRoom/ROOMサイズ異常(" + brokenFile + L" dx:24,dz:4)\n"));
    EXPECT_TRUE(m_Log.Contains(L"ZorMapData::ConstructRoughDataRoom/ROOMサイズ異常(" + smallFile + L" dx:8,dz:8)\n"));
}
