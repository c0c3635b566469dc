// Every table class checked against its published shape (capacity, columns, type codes, cell counts),
// then loaded from one line that fills every cell, in each encoding a table file may be saved in.
#include "appdata/DBAvgChar.h"
#include "appdata/DBBGMMode.h"
#include "appdata/DBCGMode.h"
#include "appdata/DBRPMode.h"
#include "appdata/DBUIModule.h"
#include "appdata/DBUILayout.h"
#include "appdata/DBEffect.h"
#include "appdata/DBZorEnemy.h"
#include "appdata/DBZorSkill.h"
#include "appdata/DBZorStruct.h"
#include "appdata/DBZorUnit.h"
#include "appdata/DBZorVoice.h"
#include "appdata/DBZorTown.h"
#include "appdata/DBZorCommand.h"

#include "DBTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using namespace dbtest;

namespace
{

struct ColumnShape
{
    const wchar_t* m_Name;
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

const std::vector<TableShape>& Shapes()
{
    static const std::vector<TableShape> s_Shapes = {
        {L"DBAvgChar",
         80,
         8,
         [] { return std::unique_ptr<GxDBBase>(new DBAvgChar()); },
         {{L"CharName", 25, 1},
          {L"SubLayerNum", 5, 1},
          {L"StandPath", 25, 1},
          {L"NCProjFileName", 25, 1},
          {L"VoicePath", 25, 1},
          {L"VoiceVolumeID", 5, 1},
          {L"Comment", 25, 1}}},
        {L"DBBGMMode",
         60,
         5,
         [] { return std::unique_ptr<GxDBBase>(new DBBGMMode()); },
         {{L"Name", 25, 1}, {L"FileName", 25, 1}, {L"LoopPosTime", 6, 1}, {L"ButtonIndex", 5, 1}}},
        {L"DBCGMode",
         200,
         36,
         [] { return std::unique_ptr<GxDBBase>(new DBCGMode()); },
         {{L"Group", 5, 1}, {L"Thumbnail", 25, 1}, {L"FileName", 25, 32}, {L"Count", 5, 1}}},
        {L"DBRPMode",
         200,
         5,
         [] { return std::unique_ptr<GxDBBase>(new DBRPMode()); },
         {{L"Group", 5, 1}, {L"Thumbnail", 25, 1}, {L"Label", 25, 1}, {L"Help", 25, 1}}},
        {L"DBUIModule",
         256,
         13,
         [] { return std::unique_ptr<GxDBBase>(new DBUIModule()); },
         {{L"UIType", 5, 1},
          {L"ModuleName", 25, 1},
          {L"ImageSetName", 25, 1},
          {L"ImageName", 25, 1},
          {L"Width", 5, 1},
          {L"Height", 5, 1},
          {L"ClientLeft", 5, 1},
          {L"ClientTop", 5, 1},
          {L"ClientWidth", 5, 1},
          {L"ClientHeight", 5, 1},
          {L"ShapeType", 5, 1},
          {L"FontIndex", 5, 1}}},
        {L"DBUILayout",
         512,
         20,
         [] { return std::unique_ptr<GxDBBase>(new DBUILayout()); },
         {{L"ParentName", 25, 1},
          {L"ParentIndex", 5, 1},
          {L"ModuleName", 25, 1},
          {L"TaskName", 25, 1},
          {L"TaskIndex", 5, 1},
          {L"Create", 5, 1},
          {L"Visible", 5, 1},
          {L"Enabled", 5, 1},
          {L"Left", 9, 1},
          {L"Top", 9, 1},
          {L"OrderZ", 9, 1},
          {L"GroupID", 5, 1},
          {L"Text", 25, 1},
          {L"Label", 25, 1},
          {L"Value", 5, 1},
          {L"Min", 5, 1},
          {L"Max", 5, 1},
          {L"AutoHelpTime", 5, 1},
          {L"Descript", 25, 1}}},
        {L"DBEffect",
         80,
         6,
         [] { return std::unique_ptr<GxDBBase>(new DBEffect()); },
         {{L"GNCName", 25, 1}, {L"MotionGroup", 25, 1}, {L"Motion", 25, 1}, {L"Name", 25, 1}, {L"Descript", 25, 1}}},
        {L"DBZorEnemy",
         120,
         15,
         [] { return std::unique_ptr<GxDBBase>(new DBZorEnemy()); },
         {{L"Name", 25, 1},
          {L"UnitName", 25, 9},
          {L"LevelMultiFactor", 9, 1},
          {L"AIType", 5, 1},
          {L"AutoAppear", 5, 1},
          {L"Descript", 25, 1}}},
        {L"DBZorSkill",
         160,
         21,
         [] { return std::unique_ptr<GxDBBase>(new DBZorSkill()); },
         {{L"Name", 25, 1},         {L"ShowName", 25, 1},     {L"Type", 5, 1},
          {L"Element", 5, 1},       {L"Range", 5, 1},         {L"Power", 5, 1},
          {L"HitRate", 5, 1},       {L"SpecialType", 5, 1},   {L"SpecialRate", 5, 1},
          {L"RoomEffect", 5, 1},    {L"SealFlag", 5, 1},      {L"RestrictFlag", 5, 1},
          {L"SelfDamage", 5, 1},    {L"ReadyTime", 5, 1},     {L"CoolingTime", 5, 1},
          {L"DamageEffect", 25, 1}, {L"CutinGNCName", 25, 1}, {L"CutinMotionGroup", 25, 1},
          {L"CutinMotion", 25, 1},  {L"Descript", 25, 1}}},
        {L"DBZorStruct",
         30,
         16,
         [] { return std::unique_ptr<GxDBBase>(new DBZorStruct()); },
         {{L"Name", 25, 1},
          {L"ShowName", 25, 1},
          {L"VisualImage", 25, 1},
          {L"Enabled", 5, 1},
          {L"Limit", 5, 1},
          {L"Capacity", 5, 1},
          {L"PassCenter", 5, 1},
          {L"CostBone", 5, 1},
          {L"CostMagic", 5, 1},
          {L"CostGold", 5, 1},
          {L"CreateTime", 5, 1},
          {L"RequireExtendRank", 5, 1},
          {L"RequireStructID", 5, 1},
          {L"RequireInveigleUnitID", 5, 1},
          {L"Descript", 25, 1}}},
        {L"DBZorUnit",
         160,
         39,
         [] { return std::unique_ptr<GxDBBase>(new DBZorUnit()); },
         {{L"Name", 25, 1},
          {L"ShowName", 25, 1},
          {L"Class", 5, 1},
          {L"FaceIconImage", 25, 1},
          {L"VisualImage", 25, 1},
          {L"Enabled", 5, 1},
          {L"UniqueFlag", 5, 1},
          {L"HPMax", 5, 1},
          {L"ATK", 5, 1},
          {L"LevelLimit", 5, 1},
          {L"ExpMulti", 9, 1},
          {L"AutoHealHPRate", 9, 1},
          {L"DefRate", 5, 6},
          {L"CostBone", 5, 1},
          {L"CostMagic", 5, 1},
          {L"CostGold", 5, 1},
          {L"CostLeadership", 5, 1},
          {L"CreateTime", 5, 1},
          {L"RequireStructID", 5, 1},
          {L"RequireStructRank", 5, 1},
          {L"RequireInveigleUnitID", 5, 1},
          {L"GNCName", 25, 1},
          {L"MotionGroup", 25, 1},
          {L"Motion_stand", 25, 1},
          {L"Motion_attack", 25, 1},
          {L"Range", 5, 1},
          {L"Skill", 5, 6},
          {L"Descript", 25, 1}}},
        {L"DBZorVoice",
         160,
         28,
         [] { return std::unique_ptr<GxDBBase>(new DBZorVoice()); },
         {{L"Name", 25, 1}, {L"VoicePath", 25, 1}, {L"VoiceVolumeID", 5, 1}, {L"Voice", 25, 24}}},
        {L"DBZorTown",
         20,
         19,
         [] { return std::unique_ptr<GxDBBase>(new DBZorTown()); },
         {{L"Name", 25, 1},
          {L"ShowName", 25, 1},
          {L"Enabled", 5, 1},
          {L"ButtonName", 25, 1},
          {L"FlagPosX", 9, 1},
          {L"FlagPosY", 9, 1},
          {L"Occupied", 5, 1},
          {L"RequireTownID", 5, 1},
          {L"StartLabel", 25, 1},
          {L"VictoryLabel", 25, 1},
          {L"DefeatedLabel", 25, 1},
          {L"RewardBone", 5, 1},
          {L"RewardMagic", 5, 1},
          {L"RewardGold", 5, 1},
          {L"Notoriety", 5, 1},
          {L"EnemyLevel", 5, 1},
          {L"Order", 5, 1},
          {L"DefaultParty", 25, 1}}},
        {L"DBZorCommand",
         120,
         9,
         [] { return std::unique_ptr<GxDBBase>(new DBZorCommand()); },
         {{L"Name", 25, 1},
          {L"ShowName", 25, 1},
          {L"Enabled", 5, 1},
          {L"Function", 5, 1},
          {L"Label", 25, 1},
          {L"ResourceType", 25, 1},
          {L"ResourceAmount", 5, 1},
          {L"Descript", 25, 1}}},
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

void ExpectFullRow(GxDBBase& table, const TableShape& shape, uint32_t row)
{
    for (size_t c = 0; c < shape.m_Columns.size(); ++c)
    {
        const ColumnShape& column = shape.m_Columns[c];
        void* field = table.GetFieldPtr(row, column.m_Name);
        ASSERT_NE(field, nullptr) << column.m_Name;
        for (int32_t i = 0; i < column.m_Cells; ++i)
        {
            switch (column.m_Type)
            {
            case 9:
                EXPECT_FLOAT_EQ(static_cast<float*>(field)[i], (c + 1) * 10 + i + 0.5f) << column.m_Name;
                break;
            case 25:
                EXPECT_EQ(static_cast<std::wstring*>(field)[i], CellText(c + 1, i, 25)) << column.m_Name;
                break;
            default:
                EXPECT_EQ(static_cast<int32_t*>(field)[i], static_cast<int32_t>((c + 1) * 100 + i)) << column.m_Name;
                break;
            }
        }
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

TEST(DBTables, EveryTableRefusesBigEndianUtf16)
{
    TempFolder folder;
    for (const TableShape& shape : Shapes())
    {
        std::unique_ptr<GxDBBase> table = shape.m_Create();
        std::wstring path = folder.File(L"table.txt");
        WriteText(path, FullLine(shape, 1) + L"\n", Encoding::Utf16BeBom);
        EXPECT_FALSE(table->Load(path)) << GxString::ToUtf8(shape.m_ClassName);
        EXPECT_EQ(table->GetMaxID(), 0);
    }
}

TEST(DBTables, EveryTableStopsAtAnIdEqualToItsCapacity)
{
    TempFolder folder;
    LogCapture log(folder);
    for (const TableShape& shape : Shapes())
    {
        std::unique_ptr<GxDBBase> table = shape.m_Create();
        std::wstring path = folder.File(L"table.txt");
        WriteText(path, FullLine(shape, 1) + L"\n" + FullLine(shape, shape.m_Capacity) + L"\n" + FullLine(shape, 2));
        EXPECT_FALSE(table->Load(path));
        EXPECT_TRUE(log.Contains(GxString::Format(L"%s/ID out of range(%d)\n", shape.m_ClassName, shape.m_Capacity)));
        ExpectFullRow(*table, shape, 1);
        EXPECT_EQ(table->GetMaxID(), 1) << GxString::ToUtf8(shape.m_ClassName);
    }
}

TEST(DBTables, UnitLineWithThirtyCellsLeavesTheLaterColumnsEmpty)
{
    TempFolder folder;
    auto table = std::make_unique<DBZorUnit>();
    std::wstring line = L"5";
    for (int i = 1; i < 30; ++i)
        line += L"\t" + GxString::FromInt(i);
    WriteText(folder.File(L"unit.txt"), line + L"\n");
    ASSERT_TRUE(table->Load(folder.File(L"unit.txt")));
    const DBZorUnitData* unit = table->GetRow(5);
    EXPECT_EQ(unit->m_Motion_stand, L"29");
    EXPECT_TRUE(unit->m_Motion_attack.empty());
    EXPECT_EQ(unit->m_Range, 0);
    EXPECT_EQ(unit->m_Skill[0], 0);
    EXPECT_EQ(unit->m_Skill[5], 0);
    EXPECT_TRUE(unit->m_Descript.empty());
}

TEST(DBTables, EnemyPartyOfFiveUnitsLeavesTheOtherNamesEmpty)
{
    TempFolder folder;
    auto table = std::make_unique<DBZorEnemy>();
    WriteText(folder.File(L"enemy.txt"), L"3\tparty\ta\tb\tc\td\te\t\t\t\t\t1.5\t2\t1\t説明\n");
    ASSERT_TRUE(table->Load(folder.File(L"enemy.txt")));
    const DBZorEnemyData* party = table->GetRow(3);
    EXPECT_EQ(party->m_UnitName[4], L"e");
    EXPECT_TRUE(party->m_UnitName[5].empty());
    EXPECT_TRUE(party->m_UnitName[8].empty());
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
