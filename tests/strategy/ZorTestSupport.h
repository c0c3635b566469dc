#pragma once

// Shared by the strategy tests: the tables the rules read (rows set in code), a small test dungeon
// written as a map file and loaded into slot 1, and a task tree holding the unit lists the defence and
// take-over screens own.

#include "appdata/DBTestSupport.h"
#include "appdata/DBZorSkill.h"
#include "appdata/DBZorVoice.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorMapData.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "task/GxTaskManage.h"

#include <initializer_list>
#include <map>
#include <memory>
#include <string>

namespace zortest
{

// Cells of a map file, built room by room; room (rx, rz) covers cells 4 rx .. 4 rx + 2 by 4 rz .. 4 rz + 2,
// its centre at (4 rx + 1, 4 rz + 1); the gap cells 4 rx + 3 and 4 rz + 3 hold passages and doors.
class MapText
{
public:
    void Room(int rx, int rz, int floor, int number, const wchar_t* lock = L"F")
    {
        for (int z = 0; z < 3; ++z)
            for (int x = 0; x < 3; ++x)
                Cell(4 * rx + x, 4 * rz + z) = GxString::Format(L"B:%d:%d:%s", floor, number, lock);
    }
    void Passage(int dx, int dz, int floor = 0) { Cell(dx, dz) = GxString::Format(L"P:%d:0:F", floor); }
    std::wstring& Cell(int dx, int dz) { return m_Cells[dz][dx]; }
    void Line(const std::wstring& line) { m_Extra += line + L"\n"; }

    std::wstring Text() const
    {
        std::wstring text = m_Extra;
        for (const auto& [dz, row] : m_Cells)
        {
            text += GxString::Format(L"#%d", dz);
            for (int dx = 0; dx < 40; ++dx)
            {
                auto it = row.find(dx);
                text += L"\t" + (it == row.end() ? std::wstring() : it->second);
            }
            text += L"\n";
        }
        return text;
    }

private:
    std::map<int, std::map<int, std::wstring>> m_Cells;
    std::wstring m_Extra;
};

// The test dungeon: entrance A (1, 1) - throne B (2, 1) - locked C (3, 1) on level 0; D (2, 2) on level
// 1, F (2, 3) on level 2, G (2, 4) on level 3 below B, each a throne of its level; E (5, 5) alone.
inline MapText TestDungeon()
{
    MapText m;
    m.Room(1, 1, 0, 1);
    m.Room(2, 1, 0, 2);
    m.Room(3, 1, 0, 3, L"U");
    m.Room(2, 2, 1, 4);
    m.Room(2, 3, 2, 6);
    m.Room(2, 4, 3, 7);
    m.Room(5, 5, 0, 5);
    m.Passage(7, 5);
    m.Passage(11, 5);
    m.Cell(11, 5) = L"P:0:0:U"; // the way into the locked room C
    m.Passage(9, 7, 1);
    m.Passage(9, 11, 2);
    m.Passage(9, 15, 3);
    m.Line(L"entrance0\t0\t1");
    m.Line(L"throne0\t0\t2");
    m.Line(L"throne1\t1\t4");
    m.Line(L"throne2\t2\t6");
    m.Line(L"throne3\t3\t7");
    return m;
}

// Skills into a unit's slots 0.., every slot charged, the unit idle and cooled down: ready to choose.
inline void Arm(ZorTaskUnitEntity* u, std::initializer_list<int> skills)
{
    for (auto& slot : u->m_Skills)
        slot = {0, 5};
    int slot = 0;
    for (int id : skills)
        u->m_Skills[slot++].m_SkillID = id;
    u->m_SkillCoolingTime = 0;
    u->m_UnitPhase = 0;
    u->m_UsingSkillID = 0;
}

// Tables, the test dungeon in slot 1, a task tree with the unit lists, a core after new game.
class ZorTest : public dbtest::DBTest
{
protected:
    void SetUp() override
    {
        ZorMapData::ResetAllMaps();
        for (int id = 1; id <= 18; ++id)
        {
            DBZorStructData* s = g_DBZorStruct.GetRow(id);
            s->m_ID = id;
            s->m_Name = GxString::Format(L"ST%d", id);
            s->m_Enabled = 1;
            s->m_Limit = 1;
            s->m_PassCenter = 1;
            s->m_CostBone = 100;
            s->m_CostMagic = 50;
            s->m_CostGold = 200;
        }
        g_DBZorStruct.GetRow(6)->m_PassCenter = 0; // a workshop blocks its room's centre
        Unit(12, 1, 0, 100, 10, 2);
        Unit(3, 3, 1, 300, 30, 5);
        Unit(4, 20, 0, 50, 40, 0);
        LoadMap(1, TestDungeon());
        m_Root = new GxTaskBase(&m_Manage);
        for (const wchar_t* name :
             {ZorCore::kUnitReadyList, ZorCore::kUnitPlayerList, ZorCore::kUnitEnemyList, ZorCore::kSavedUnitList})
            new GxTaskBase(m_Root, name);
        m_Core = std::make_unique<ZorCore>(nullptr, &m_Manage);
        State().InitNewGame();
    }

    void TearDown() override
    {
        m_Core.reset();
        dbtest::ResetTables(g_DBZorStruct, g_DBZorUnit, g_DBZorEnemy, g_DBZorSkill, g_DBZorVoice);
        ZorMapData::ResetAllMaps();
    }

    static void Unit(int id, int unitClass, int unique, int hp, int atk, int leadership)
    {
        DBZorUnitData* u = g_DBZorUnit.GetRow(id);
        u->m_ID = id;
        u->m_Name = GxString::Format(L"U%d", id);
        u->m_Class = unitClass;
        u->m_Enabled = 1;
        u->m_UniqueFlag = unique;
        u->m_HPMax = hp;
        u->m_ATK = atk;
        u->m_LevelLimit = 30;
        u->m_CostBone = 10;
        u->m_CostLeadership = leadership;
        u->m_Skill[0] = 1;
        u->m_Skill[4] = 7;
    }

    bool LoadMap(int slot, const MapText& map)
    {
        const std::wstring path = m_Folder.File(GxString::Format(L"map%d.txt", slot));
        dbtest::WriteText(path, map.Text());
        return ZorMapData::GetSlot(slot)->LoadFromFile(path);
    }

    ZorUserData& State() { return *m_Core->GetUserData(); }
    GxTaskBase* List(const wchar_t* name) { return m_Manage.FindTaskByName(name); }

    // A unit under a list with the next task ID.
    ZorTaskUnitEntity* AddUnit(const wchar_t* list, int32_t unitID, int32_t level)
    {
        auto* unit = new ZorTaskUnitEntity(List(list));
        unit->SetTaskID(static_cast<uint64_t>(m_Core->TakeNextUnitTaskID()));
        unit->m_UnitID = unitID;
        unit->m_Level = level;
        unit->m_PlayerFlag = std::wstring(list) != ZorCore::kUnitEnemyList;
        return unit;
    }

    GxTaskManage m_Manage;
    GxTaskBase* m_Root = nullptr;
    std::unique_ptr<ZorCore> m_Core;
};

} // namespace zortest
