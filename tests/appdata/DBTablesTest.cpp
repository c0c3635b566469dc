// Every table class checked against its published shape (capacity, columns, type codes, cell counts),
// then loaded from one line that fills every cell, in each encoding a table file may be saved in.

#include "DBTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace dbtest;

namespace
{

struct ColumnShape
{
    std::wstring m_Name;
    int32_t m_Type;
    int32_t m_Cells;
};

struct TableShape
{
    const wchar_t* m_ClassName;
    int32_t m_Capacity;
    int32_t m_CellsPerLine;
    std::function<std::unique_ptr<GxDBBase>()> m_Create;
    std::vector<ColumnShape> m_Columns; // after ID
};

// The columns after ID, written "Name:type" with "xN" for an array of N cells.
std::vector<ColumnShape> Columns(const std::wstring& spec)
{
    std::vector<ColumnShape> columns;
    std::wistringstream words(spec);
    std::wstring word;
    while (words >> word)
    {
        const size_t colon = word.find(L':');
        const size_t times = word.find(L'x', colon);
        columns.push_back({word.substr(0, colon), std::stoi(word.substr(colon + 1)),
                           times == std::wstring::npos ? 1 : std::stoi(word.substr(times + 1))});
    }
    return columns;
}

template <typename Table> TableShape Shape(const wchar_t* name, int32_t capacity, int32_t cells, const wchar_t* spec)
{
    return {name, capacity, cells, [] { return std::unique_ptr<GxDBBase>(new Table()); }, Columns(spec)};
}

const std::vector<TableShape>& Shapes()
{
    static const std::vector<TableShape> s_Shapes = {
        Shape<DBAvgChar>(
            L"DBAvgChar", 80, 8,
            L"CharName:25 SubLayerNum:5 StandPath:25 NCProjFileName:25 VoicePath:25 VoiceVolumeID:5 Comment:25"),
        Shape<DBBGMMode>(L"DBBGMMode", 60, 5, L"Name:25 FileName:25 LoopPosTime:6 ButtonIndex:5"),
        Shape<DBCGMode>(L"DBCGMode", 200, 36, L"Group:5 Thumbnail:25 FileName:25x32 Count:5"),
        Shape<DBRPMode>(L"DBRPMode", 200, 5, L"Group:5 Thumbnail:25 Label:25 Help:25"),
        Shape<DBUIModule>(L"DBUIModule", 256, 13,
                          L"UIType:5 ModuleName:25 ImageSetName:25 ImageName:25 Width:5 Height:5 ClientLeft:5 "
                          L"ClientTop:5 ClientWidth:5 ClientHeight:5 ShapeType:5 FontIndex:5"),
        Shape<DBUILayout>(
            L"DBUILayout", 512, 20,
            L"ParentName:25 ParentIndex:5 ModuleName:25 TaskName:25 TaskIndex:5 Create:5 Visible:5 Enabled:5 Left:9 "
            L"Top:9 OrderZ:9 GroupID:5 Text:25 Label:25 Value:5 Min:5 Max:5 AutoHelpTime:5 Descript:25"),
        Shape<DBEffect>(L"DBEffect", 80, 6, L"GNCName:25 MotionGroup:25 Motion:25 Name:25 Descript:25"),
        Shape<DBZorEnemy>(L"DBZorEnemy", 120, 15,
                          L"Name:25 UnitName:25x9 LevelMultiFactor:9 AIType:5 AutoAppear:5 Descript:25"),
        Shape<DBZorSkill>(L"DBZorSkill", 160, 21,
                          L"Name:25 ShowName:25 Type:5 Element:5 Range:5 Power:5 HitRate:5 SpecialType:5 SpecialRate:5 "
                          L"RoomEffect:5 SealFlag:5 RestrictFlag:5 SelfDamage:5 ReadyTime:5 CoolingTime:5 "
                          L"DamageEffect:25 CutinGNCName:25 CutinMotionGroup:25 CutinMotion:25 Descript:25"),
        Shape<DBZorStruct>(
            L"DBZorStruct", 30, 16,
            L"Name:25 ShowName:25 VisualImage:25 Enabled:5 Limit:5 Capacity:5 PassCenter:5 CostBone:5 CostMagic:5 "
            L"CostGold:5 CreateTime:5 RequireExtendRank:5 RequireStructID:5 RequireInveigleUnitID:5 Descript:25"),
        Shape<DBZorUnit>(
            L"DBZorUnit", 160, 39,
            L"Name:25 ShowName:25 Class:5 FaceIconImage:25 VisualImage:25 Enabled:5 UniqueFlag:5 HPMax:5 ATK:5 "
            L"LevelLimit:5 ExpMulti:9 AutoHealHPRate:9 DefRate:5x6 CostBone:5 CostMagic:5 CostGold:5 CostLeadership:5 "
            L"CreateTime:5 RequireStructID:5 RequireStructRank:5 RequireInveigleUnitID:5 GNCName:25 MotionGroup:25 "
            L"Motion_stand:25 Motion_attack:25 Range:5 Skill:5x6 Descript:25"),
        Shape<DBZorVoice>(L"DBZorVoice", 160, 28, L"Name:25 VoicePath:25 VoiceVolumeID:5 Voice:25x24"),
        Shape<DBZorTown>(L"DBZorTown", 20, 19,
                         L"Name:25 ShowName:25 Enabled:5 ButtonName:25 FlagPosX:9 FlagPosY:9 Occupied:5 "
                         L"RequireTownID:5 StartLabel:25 VictoryLabel:25 DefeatedLabel:25 RewardBone:5 RewardMagic:5 "
                         L"RewardGold:5 Notoriety:5 EnemyLevel:5 Order:5 DefaultParty:25"),
        Shape<DBZorCommand>(
            L"DBZorCommand", 120, 9,
            L"Name:25 ShowName:25 Enabled:5 Function:5 Label:25 ResourceType:25 ResourceAmount:5 Descript:25"),
    };
    return s_Shapes;
}

// The cell text and the expected value of cell i of column c: numbers that need the automatic base,
// strings that need more than ASCII.
std::wstring CellText(size_t c, int32_t i, int32_t type)
{
    switch (type)
    {
    case 9:
        return GxString::Format(L"%d.5", static_cast<int>(c * 10 + i));
    case 25:
        return GxString::Format(L"列%d_%dゾ", static_cast<int>(c), i);
    default:
        return GxString::Format(L"0x%x", static_cast<int>(c * 100 + i));
    }
}

std::wstring FullLine(const TableShape& shape, int32_t id)
{
    std::wstring line = GxString::FromInt(id);
    for (size_t c = 0; c < shape.m_Columns.size(); ++c)
    {
        for (int32_t i = 0; i < shape.m_Columns[c].m_Cells; ++i)
            line += L"\t" + CellText(c + 1, i, shape.m_Columns[c].m_Type);
    }
    return line;
}

// A stored cell written back the way CellText writes it.
std::wstring CellValue(const void* field, int32_t i, int32_t type)
{
    switch (type)
    {
    case 9:
        return GxString::Format(L"%g", static_cast<double>(static_cast<const float*>(field)[i]));
    case 25:
        return static_cast<const std::wstring*>(field)[i];
    default:
        return GxString::Format(L"0x%x", static_cast<const int32_t*>(field)[i]);
    }
}

void ExpectFullRow(GxDBBase& table, const TableShape& shape, uint32_t row)
{
    for (size_t c = 0; c < shape.m_Columns.size(); ++c)
    {
        const ColumnShape& column = shape.m_Columns[c];
        void* field = table.GetFieldPtr(row, column.m_Name);
        ASSERT_NE(field, nullptr) << column.m_Name;
        for (int32_t i = 0; i < column.m_Cells; ++i)
            EXPECT_EQ(CellValue(field, i, column.m_Type), CellText(c + 1, i, column.m_Type)) << column.m_Name;
    }
}

} // namespace

TEST(DBTables, EachTableHasItsPublishedShape)
{
    for (const TableShape& shape : Shapes())
    {
        SCOPED_TRACE(::testing::Message() << GxString::ToUtf8(shape.m_ClassName));
        std::unique_ptr<GxDBBase> table = shape.m_Create();
        EXPECT_EQ(std::wstring(table->GetClassName()), shape.m_ClassName);
        EXPECT_EQ(table->GetCapacity(), shape.m_Capacity);
        EXPECT_EQ(table->GetColumnCount(), static_cast<int32_t>(shape.m_Columns.size() + 1));
        EXPECT_EQ(table->GetCellsPerLine(), shape.m_CellsPerLine);
        EXPECT_EQ(table->GetColumnIndex(L"ID"), 0);
        EXPECT_EQ(table->GetColumnType(L"ID"), 5);
        for (size_t c = 0; c < shape.m_Columns.size(); ++c)
        {
            const ColumnShape& column = shape.m_Columns[c];
            EXPECT_EQ(table->GetColumnIndex(column.m_Name), static_cast<int32_t>(c + 1)) << column.m_Name;
            EXPECT_EQ(table->GetColumnType(column.m_Name), column.m_Type) << column.m_Name;
            EXPECT_EQ(table->GetColumnArrayMax(column.m_Name), column.m_Cells - 1) << column.m_Name;
        }
    }
}

TEST(DBTables, EveryTableLoadsAFullLineFromEachEncoding)
{
    TempFolder folder;
    LogCapture log(folder);
    for (const TableShape& shape : Shapes())
    {
        for (Encoding encoding : {Encoding::Utf8Bom, Encoding::Utf16LeBom, Encoding::Cp932})
        {
            SCOPED_TRACE(::testing::Message()
                         << GxString::ToUtf8(shape.m_ClassName) << " encoding " << static_cast<int>(encoding));
            std::unique_ptr<GxDBBase> table = shape.m_Create();
            std::wstring path = folder.File(L"table.txt");
            uint32_t last = static_cast<uint32_t>(shape.m_Capacity - 1);
            WriteText(path, L"#ID\n" + FullLine(shape, 1) + L"\r\n" + FullLine(shape, last) + L"\n", encoding);
            ASSERT_TRUE(table->Load(path));
            EXPECT_EQ(table->GetMaxID(), static_cast<int32_t>(last));
            ExpectFullRow(*table, shape, 1);
            ExpectFullRow(*table, shape, last);
        }
    }
    EXPECT_TRUE(log.Lines().empty());
}

TEST(DBTables, EveryTableRefusesBigEndianUtf16AndStopsAtAnIdEqualToItsCapacity)
{
    TempFolder folder;
    LogCapture log(folder);
    const std::wstring path = folder.File(L"table.txt");
    for (const TableShape& shape : Shapes())
    {
        SCOPED_TRACE(::testing::Message() << GxString::ToUtf8(shape.m_ClassName));
        std::unique_ptr<GxDBBase> table = shape.m_Create();
        WriteText(path, FullLine(shape, 1) + L"\n", Encoding::Utf16BeBom);
        EXPECT_FALSE(table->Load(path));
        EXPECT_EQ(table->GetMaxID(), 0);
        WriteText(path, FullLine(shape, 1) + L"\n" + FullLine(shape, shape.m_Capacity) + L"\n" + FullLine(shape, 2));
        EXPECT_FALSE(table->Load(path));
        EXPECT_TRUE(log.Contains(GxString::Format(L"%s/ID out of range(%d)\n", shape.m_ClassName, shape.m_Capacity)));
        ExpectFullRow(*table, shape, 1);
        EXPECT_EQ(table->GetMaxID(), 1);
    }
}

// Short lines: the later columns, array cells included, stay empty.
TEST(DBTables, ShortUnitAndEnemyLinesLeaveTheLaterCellsEmpty)
{
    TempFolder folder;
    auto unitTable = std::make_unique<DBZorUnit>();
    std::wstring line = L"5";
    for (int i = 1; i < 30; ++i)
        line += L"\t" + GxString::FromInt(i);
    WriteText(folder.File(L"unit.txt"), line + L"\n");
    ASSERT_TRUE(unitTable->Load(folder.File(L"unit.txt")));
    const DBZorUnitData* unit = unitTable->GetRow(5);
    EXPECT_EQ(unit->m_Motion_stand, L"29");
    EXPECT_TRUE(unit->m_Motion_attack.empty() && unit->m_Descript.empty());
    EXPECT_EQ(unit->m_Range + unit->m_Skill[0] + unit->m_Skill[5], 0);

    auto enemyTable = std::make_unique<DBZorEnemy>(); // a party of five units
    WriteText(folder.File(L"enemy.txt"), L"3\tparty\ta\tb\tc\td\te\t\t\t\t\t1.5\t2\t1\t説明\n");
    ASSERT_TRUE(enemyTable->Load(folder.File(L"enemy.txt")));
    const DBZorEnemyData* party = enemyTable->GetRow(3);
    EXPECT_EQ(party->m_UnitName[4], L"e");
    EXPECT_TRUE(party->m_UnitName[5].empty() && party->m_UnitName[8].empty());
    EXPECT_FLOAT_EQ(party->m_LevelMultiFactor, 1.5f);
    EXPECT_EQ(party->m_Descript, L"説明");
}

TEST(DBTables, EffectIsFoundByItsNameColumnNotItsFirst)
{
    TempFolder folder;
    auto table = std::make_unique<DBEffect>();
    WriteText(folder.File(L"effect.txt"), L"1\teff_fire\thit\tfire\tflame\n2\tfx\thit\tslash\teff_fire\n");
    ASSERT_TRUE(table->Load(folder.File(L"effect.txt")));
    EXPECT_EQ(table->FindRowByName(L"eff_fire"), 2);
    EXPECT_EQ(table->FindRowByName(L"flame"), 1);
}
