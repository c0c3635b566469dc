// The unit on the defence map before and around its steps: initialisation variants (placed units,
// arriving invaders), derived values (attack, activity, rates, position) and the small operations the
// steps share (statuses, sealed charges, paths, starting a skill, voices).
#include "strategy/ZorTaskUnitEntity.h"

#include "appdata/DBZorSkill.h"
#include "appdata/DBZorUnit.h"
#include "core/GxRandom.h"
#include "core/GxString.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorGeometry.h"
#include "strategy/ZorNcPoolUnit.h"
#include "strategy/ZorUnitLookups.h"
#include "strategy/ZorUserData.h"

#include <algorithm>

using namespace ZorUnitLookups;

// --- initialisation --------------------------------------------------------------------------------

void ZorTaskUnitEntity::PlaceAt(int32_t rx, int32_t rz, int32_t slot)
{
    m_RoughPosX = rx;
    m_RoughPosY = rz;
    const ZorRoomState* room = State().GetRoughRoom(rx, rz);
    const ZorCell step = ZorDirToDelta(slot);
    const int32_t cx = (room && room->m_MapRoom) ? room->m_MapRoom->m_CenterDX : 0;
    const int32_t cz = (room && room->m_MapRoom) ? room->m_MapRoom->m_CenterDZ : 0;
    m_DetailPosX = cx + step.x;
    m_DetailPosY = cz + step.z;
    m_SlotIndex = slot;
    m_MovePath.clear();
    m_MoveTargetDetailPosX = -1;
    m_MoveTargetDetailPosY = -1;
    m_MotionIndex = 0;
    m_MotionTime = 0;
    MeasureVisualHeight(true);
}

void ZorTaskUnitEntity::MeasureVisualHeight(bool trapLift)
{
    // A kind whose standing motion is not loaded keeps the height it had; the trap's lift is added all
    // the same, so a trap placed again without its figure rises by another 20.
    float figure = 0.0f;
    if (ZorNcPoolUnit::GetStandingHeight(m_UnitID, figure))
        m_VisualHeight = figure / 3.5f;
    if (trapLift && IsTrap())
        m_VisualHeight += 20.0f;
}

void ZorTaskUnitEntity::InitAsPlayerUnit(int32_t unitID, int32_t level, int32_t rx, int32_t rz, int32_t slot)
{
    m_PlayerFlag = 1;
    m_UnitID = unitID;
    m_Level = level;
    m_Exp = 0;
    m_HP = GetMaxHP();
    m_ArrangeTimeLeft = m_ArrangeTimeTotal = 0;
    m_CreateTimeLeft = m_CreateTimeTotal = Row(unitID)->m_CreateTime;
    PlaceAt(rx, rz, slot);
    m_ShowDir = 0;
    ChooseSkills(level);
}

void ZorTaskUnitEntity::InitAsEnemyUnit(int32_t unitID, int32_t level, int32_t rx, int32_t rz, int32_t slot,
                                        int32_t aiType, int32_t delay)
{
    m_PlayerFlag = 0;
    m_UnitID = unitID;
    m_Level = level;
    m_HP = GetMaxHP();
    m_CreateTimeLeft = m_CreateTimeTotal = delay + 1;
    m_ArrangeTimeLeft = m_ArrangeTimeTotal = 0;
    m_ExceedGauge = 0;
    PlaceAt(rx, rz, slot);
    m_ShowDir = 1;
    m_AIType = aiType;
    m_AICount = aiType == 2 ? 15 : 7;
    ChooseSkills(level);
}

void ZorTaskUnitEntity::PlaceInRoom(int32_t rx, int32_t rz, int32_t slot)
{
    m_ArrangeTimeLeft = m_ArrangeTimeTotal = 180;
    m_CreateTimeLeft = m_CreateTimeTotal = 0;
    PlaceAt(rx, rz, slot);
}

void ZorTaskUnitEntity::RandomizeTimers()
{
    for (SkillSlot& s : m_Skills)
        s.m_ChargeTime = GxRandom::Next(60);
    m_Skills[1].m_ChargeTime += 400;
    m_SkillCoolingTime = GxRandom::Next(60);
    m_MotionTime = GxRandom::Next(60);
}

// --- derived values --------------------------------------------------------------------------------

int32_t ZorTaskUnitEntity::GetAttack() const
{
    const DBZorUnitData* row = Row(m_UnitID);
    int32_t attack = static_cast<int32_t>(GetLevelFactor() * static_cast<float>(row->m_ATK));
    const ZorCore* core = ZorCore::GetInstance();
    if (m_PlayerFlag && core && row->m_Class >= 0 && row->m_Class < ZorUserData::kReinforceClasses)
        attack += 3 * core->GetUserData()->m_ReinforceMonster[row->m_Class];
    return attack;
}

bool ZorTaskUnitEntity::IsUnitActive() const
{
    return !IsBeingRemoved() && m_ArrangeTimeLeft <= 0 && m_CreateTimeLeft <= 0 && m_AppearTimeLeft <= 0 &&
           m_DisappearTimeLeft <= 0 && m_HP > 0;
}

bool ZorTaskUnitEntity::NeedsRecovery() const
{
    for (int32_t t : m_RemainTime)
        if (t > 0)
            return true;
    return m_HP < GetMaxHP();
}

float ZorTaskUnitEntity::GetExpRate() const
{
    if (m_Level >= Row(m_UnitID)->m_LevelLimit)
        return 0.0f;
    return static_cast<float>(m_Exp) / static_cast<float>(20 * (m_Level + 1));
}

float ZorTaskUnitEntity::GetAppearRate() const
{
    if (m_AppearTimeTotal == 0)
        return 1.0f;
    return static_cast<float>(m_AppearTimeTotal - m_AppearTimeLeft) / static_cast<float>(m_AppearTimeTotal);
}

bool ZorTaskUnitEntity::HasSkillSpecialType(int32_t code) const
{
    for (const SkillSlot& s : m_Skills)
        if (s.m_SkillID != 0 && Skill(s.m_SkillID)->m_SpecialType == code)
            return true;
    return false;
}

ZorRoomState* ZorTaskUnitEntity::GetRoom() const
{
    const ZorCore* core = ZorCore::GetInstance();
    return core ? const_cast<ZorCore*>(core)->GetUserData()->GetRoughRoom(m_RoughPosX, m_RoughPosY) : nullptr;
}

GxVector4 ZorTaskUnitEntity::GetWorldPos() const
{
    if (m_FieldPos != -1)
        return GxVector4(m_WorldPos.x, m_WorldPos.y, m_WorldPos.z, 0.0f);
    const GxVector4 here = ZorCellToWorld(m_DetailPosX, m_DetailPosY);
    if (m_PlayerFlag || m_MovePath.empty())
        return here;
    const ZorMovePathElement& next = m_MovePath.front();
    const GxVector4 there = ZorCellToWorld(next.m_PosX, next.m_PosZ);
    const float t = static_cast<float>(next.m_Time) / 1000.0f;
    return GxVector4(here.x + (there.x - here.x) * t, 0.0f, here.z + (there.z - here.z) * t, 0.0f);
}

bool ZorTaskUnitEntity::IsAtDetailPos(int32_t x, int32_t z) const
{
    if (!m_PlayerFlag && !m_MovePath.empty() && m_MovePath.front().m_Time > 500)
        return m_MovePath.front().m_PosX == x && m_MovePath.front().m_PosZ == z;
    return m_DetailPosX == x && m_DetailPosY == z;
}

void ZorTaskUnitEntity::SetRoomFlag(int32_t n)
{
    if (n < 0)
        return;
    const size_t word = static_cast<size_t>(n / 32);
    if (m_RoomFlags.size() <= word)
        m_RoomFlags.resize(word + 1, 0);
    m_RoomFlags[word] |= 1u << (n % 32);
}

bool ZorTaskUnitEntity::HasRoomFlag(int32_t n) const
{
    const size_t word = static_cast<size_t>(n / 32);
    return n >= 0 && word < m_RoomFlags.size() && (m_RoomFlags[word] & (1u << (n % 32))) != 0;
}

// --- small operations ------------------------------------------------------------------------------

bool ZorTaskUnitEntity::ApplyStatus(int32_t status, int32_t duration)
{
    if (status < 0 || status >= kStatuses)
        return false;
    const int32_t t = static_cast<int32_t>(static_cast<double>(duration) *
                                           (100.0 - static_cast<double>(Row(m_UnitID)->m_DefRate[5])) / 100.0);
    if (t <= 0 || m_RemainTime[status] > 0)
        return false;
    m_RemainTime[status] = t;
    return true;
}

int32_t ZorTaskUnitEntity::DrainSealedCharges()
{
    int32_t n = 0;
    for (SkillSlot& s : m_Skills)
        if (s.m_SkillID != 0 && Skill(s.m_SkillID)->m_SealFlag)
        {
            s.m_ChargeTime = static_cast<int32_t>(static_cast<float>(s.m_ChargeTime) * 0.7f);
            ++n;
        }
    return n;
}

bool ZorTaskUnitEntity::FindPathTo(int32_t x, int32_t z)
{
    m_MovePath.clear();
    ZorUserData& s = State();
    s.m_PathGrid.InitFromBlocks(s.m_Blocks);
    s.m_PathGrid.Flood(x, z, 0);
    return s.m_PathGrid.BuildPath(m_DetailPosX, m_DetailPosY, x, z, m_MovePath);
}

void ZorTaskUnitEntity::AnnounceSkill(const DBZorSkillData& skill) const
{
    // A skill with a cut-in shows it over the map with the unit's cut-in voice; a plain attack skill only
    // speaks, now and then.
    if (!skill.m_CutinGNCName.empty())
    {
        Core().ShowSpecialEffect(skill.m_CutinGNCName, skill.m_CutinMotionGroup, skill.m_CutinMotion, 14010.0f);
        Voice(10, 1, 100);
    }
    else if (skill.m_Type == 1)
        Voice(4, 3, 30);
}

bool ZorTaskUnitEntity::StartSkill(int32_t skill, int64_t targetID)
{
    const ZorTaskUnitEntity* target = Core().FindUnit(targetID);
    if (!target)
        return false;
    if (target->m_DetailPosY < m_DetailPosY)
        m_ShowDir = 1;
    else if (target->m_DetailPosY > m_DetailPosY)
        m_ShowDir = 0;
    else if (target->m_DetailPosX < m_DetailPosX)
        m_ShowDir = 0;
    else if (target->m_DetailPosX > m_DetailPosX)
        m_ShowDir = 1;
    m_TargetTaskID = targetID;
    m_UnitPhase = 1;
    m_MotionIndex = 1;
    m_UsingSkillID = skill;
    m_MotionTime = 0;
    return true;
}

void ZorTaskUnitEntity::Voice(int32_t first, int32_t count, int32_t percent) const
{
    Core().PlayVoice(m_UnitID, first, count, percent);
}
