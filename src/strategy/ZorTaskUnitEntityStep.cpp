// The unit's rules on the defence map: initialisation variants, derived values, the per-tick steps the
// core runs (timers, invader movement, skill choice and motion, hits, heals, hit points, recovery) and
// experience. Every random draw happens in the order written, since a seed must replay a stage.
#include "strategy/ZorTaskUnitEntity.h"

#include "appdata/DBZorSkill.h"
#include "appdata/DBZorUnit.h"
#include "core/GxRandom.h"
#include "core/GxString.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorGeometry.h"
#include "strategy/ZorNcPoolUnit.h"
#include "strategy/ZorUserData.h"

#include <algorithm>

namespace
{

const DBZorUnitData* Row(int32_t unitID)
{
    return g_DBZorUnit.GetRow(static_cast<uint32_t>(unitID));
}

const DBZorSkillData* Skill(int32_t id)
{
    return g_DBZorSkill.GetRow(static_cast<uint32_t>(id));
}

ZorCore& Core()
{
    return *ZorCore::GetInstance();
}

ZorUserData& State()
{
    return *ZorCore::GetInstance()->GetUserData();
}

int32_t Level(const ZorRoomState* room, int32_t i)
{
    return room ? room->m_RoomEffectLevels[i] : 0;
}

} // namespace

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

// --- per-tick steps --------------------------------------------------------------------------------

void ZorTaskUnitEntity::UpdateCreateTimer()
{
    if (m_CreateTimeLeft <= 0 || --m_CreateTimeLeft > 0)
        return;
    m_CreateTimeTotal = 0;
    m_AppearTimeLeft = m_AppearTimeTotal;
    const wchar_t* effect = !m_PlayerFlag ? L"EFE_APPEAR_ENEMY" : IsTrap() ? L"EFE_APPEAR_TRAP" : L"EFE_APPEAR_FRIEND";
    Core().ShowEffect(effect, GetWorldPos(), 70.0f);
    Voice(0, 1, 100);
}

void ZorTaskUnitEntity::UpdateDefence()
{
    if (m_AppearTimeLeft > 0)
        --m_AppearTimeLeft;
    if (m_DisappearTimeLeft > 0)
        --m_DisappearTimeLeft;
    if (IsUnitActive())
    {
        if (!m_PlayerFlag && !IsStatusOn(kStatusStun))
            UpdateEnemyMove();
        if (!IsBeingRemoved() && m_UnitPhase == 1)
            UpdateSkillMotion();
        else if (!IsBeingRemoved() && m_UnitPhase == 2)
        {
            const int32_t length = ZorNcPoolUnit::GetMotionLength(m_UnitID, 2);
            if (length == 0 || m_MotionTime >= length)
            {
                m_MotionIndex = 0;
                m_MotionTime = 0;
                m_UnitPhase = 0;
            }
        }
        if (!IsBeingRemoved())
            SelectSkill();
    }
    ++m_MotionTime;
    AdvanceFrameCount();
}

void ZorTaskUnitEntity::UpdateEnemyMove()
{
    ZorUserData& s = State();
    ZorRoomState* room = s.GetRoomOfBlock(m_DetailPosX, m_DetailPosY);
    int32_t speed = m_Level / 2 + 19;
    if (room)
    {
        const int32_t index = static_cast<int32_t>(room - s.m_Rooms);
        m_RoughPosX = index % ZorUserData::kRooms;
        m_RoughPosY = index / ZorUserData::kRooms;
        SetRoomFlag(index);
        if (room->CountUnits() == 0)
            m_ExceedGauge += 200;
        else if (room->m_RoomEffectLevels[2] > 0)
            m_ExceedGauge += (10 - room->m_RoomEffectLevels[2]) * 3;
        else
            m_ExceedGauge += 5 * room->m_RoomEffectLevels[15] + 40 + (HasSkillSpecialType(33) ? 10 : 0);
        m_ExceedGauge = std::min(m_ExceedGauge, 11000);
        if (room->m_RoomEffectLevels[5] > 0)
            speed = std::max(speed - 6 - 4 * room->m_RoomEffectLevels[5], 10);
    }
    else
        m_ExceedGauge = 0;
    if (m_UnitPhase != 0)
        return;

    if (!m_MovePath.empty())
    {
        ZorMovePathElement& step = m_MovePath.front();
        if (step.m_Macro == 1 || step.m_Macro == 2)
        {
            m_MotionIndex = 3;
            m_ShowDir = 0;
        }
        else if (step.m_Macro == 0 || step.m_Macro == 3)
        {
            m_MotionIndex = 3;
            m_ShowDir = 1;
        }
        else
            m_MotionIndex = 0;
        step.m_Time += speed;
        if (step.m_Time >= 1000)
        {
            m_DetailPosX = step.m_PosX;
            m_DetailPosY = step.m_PosZ;
            m_MovePath.pop_front();
            const ZorRoomState* now = s.GetRoomOfBlock(m_DetailPosX, m_DetailPosY);
            if (now && now->m_StructID == ZorUserData::kStructThrone && !room)
                Voice(15, 1, 100);
        }
        return;
    }

    if (m_ExceedGauge >= 10000 && room && room->m_StructID == ZorUserData::kStructThrone)
    {
        Core().DamageMaster(5 * Row(m_UnitID)->m_ATK);
        Core().RemoveEnemyUnit(static_cast<int64_t>(GetTaskID()));
        Core().PlayVoice(45, 7, 3, 100);
        ZorReward reward;
        Core().AddDefeatReward(reward, *this, room);
        Core().AddBone(reward.bone / 2, true);
        Core().AddMagic(reward.magic / 2, true);
        ChooseNextGoal();
    }
    else if (m_ExceedGauge >= 10000 && room && room->m_StructID == 9)
    {
        Core().TakeGold(s.m_Resource_Gold / 20);
        Core().AddTextLog(nullptr, L"おのれ、我が宝物に手を付けるとは！");
        Core().GetListener()->OnOneShot(L"sounds/battle/tresure_robbed.wav");
        ChooseNextGoal();
    }
    else if (m_ExceedGauge >= 10000 || !room)
        ChooseNextGoal();
    else
        WanderInRoom();
}

void ZorTaskUnitEntity::ChooseNextGoal()
{
    ZorUserData& s = State();
    const ZorBlockState* here = s.GetDetailBlock(m_DetailPosX, m_DetailPosY);
    if (!here)
        return;
    if (!here->m_EnablePass)
    {
        m_MovePath.assign(1, ZorMovePathElement(0, m_DetailPosX, m_DetailPosY - 1));
        return;
    }
    ZorCell goal{s.m_ThroneRoomPosX, s.m_ThroneRoomPosY};
    if (m_AICount >= 1)
    {
        goal = m_AIType == 2 ? Core().ChooseGoalRoomB(*this, 1.0f) : Core().ChooseGoalRoomA(*this, 1.0f);
        --m_AICount;
    }
    ZorCell cell;
    Core().PickCellInRoom(s.GetRoughRoom(goal.x, goal.z), *this, cell);
    FindPathTo(cell.x, cell.z);
    // One room at a time: the walk ends at the first step into another room.
    const ZorRoomState* current = s.GetRoomOfBlock(m_DetailPosX, m_DetailPosY);
    for (size_t i = 0; i < m_MovePath.size(); ++i)
    {
        const ZorRoomState* room = s.GetRoomOfBlock(m_MovePath[i].m_PosX, m_MovePath[i].m_PosZ);
        if (room && room != current)
        {
            m_MovePath.resize(i + 1);
            break;
        }
    }
}

void ZorTaskUnitEntity::WanderInRoom()
{
    ZorUserData& s = State();
    const ZorBlockState* here = s.GetDetailBlock(m_DetailPosX, m_DetailPosY);
    if (!here)
        return;
    if (!here->m_EnablePass)
    {
        m_MovePath.assign(1, ZorMovePathElement(0, m_DetailPosX, m_DetailPosY - 1));
        return;
    }
    if (GxRandom::Next(32767) % 2 == 0)
    {
        ZorCell cell;
        Core().PickCellInRoom(s.GetRoomOfBlock(m_DetailPosX, m_DetailPosY), *this, cell);
        FindPathTo(cell.x, cell.z);
    }
    else
        m_MovePath.assign(1, ZorMovePathElement(-1, m_DetailPosX, m_DetailPosY));
}

void ZorTaskUnitEntity::SelectSkill()
{
    if (m_SkillCoolingTime < 1)
    {
        for (SkillSlot& s : m_Skills)
            s.m_ChargeTime = std::min(s.m_ChargeTime + 1, 10000);
    }
    else
        --m_SkillCoolingTime;
    ZorRoomState* room = GetRoom();
    if (IsStatusOn(kStatusStun) || m_UnitPhase == 1 || m_ExceedGauge >= 10000 || !room)
        return;
    ZorCore& core = Core();
    for (SkillSlot& slot : m_Skills)
    {
        const DBZorSkillData* skill = Skill(slot.m_SkillID);
        if (slot.m_ChargeTime < skill->m_ReadyTime || (skill->m_Type != 1 && skill->m_Type != 2))
            continue;
        int64_t target = 0;
        if (skill->m_Type == 2)
            target = m_PlayerFlag ? core.FindWeakestPlayerUnitInRoom(*this) : core.FindWeakestEnemyInRoom(*this);
        else if (m_PlayerFlag && IsTrap())
            target = core.FindNearestEnemyInRoom(*this, 0.5f);
        else if (m_PlayerFlag && skill->m_RestrictFlag)
        {
            // The draw is made only while the room allows a special attack.
            if (room->m_SpecialAttackRestrictTime != 0 || GxRandom::Next(4) != 0 || core.IsSpecialEffectPlaying())
                continue;
            target = core.FindNearestEnemyInRoom(*this, 5.0f);
        }
        else if (m_PlayerFlag)
            target = GxRandom::Next(32767) % 2 == 0 ? core.FindRandomEnemyInRoom(*this)
                                                    : core.FindNearestEnemyInRoom(*this, 5.0f);
        else if (GxRandom::Next(32767) % 2 == 1)
            target = core.FindNearestPlayerUnitInRoom(*this, 5.0f);
        else
        {
            if (skill->m_Range == 1 && HasSkillSpecialType(35) && GxRandom::Next(32767) % 2 == 1)
                target = core.FindNearestTrapInRoom(*this, 2.0f);
            if (target == 0)
                target = core.FindRandomPlayerUnitInRoom(*this);
        }
        if (target == 0 || !StartSkill(slot.m_SkillID, target))
            continue;
        slot.m_ChargeTime = 0;
        m_SkillCoolingTime = HasSkillSpecialType(31) ? skill->m_CoolingTime / 10 : skill->m_CoolingTime;
        if (room->m_RoomEffectLevels[5] > 0)
            m_SkillCoolingTime = static_cast<int32_t>((0.5f * static_cast<float>(room->m_RoomEffectLevels[5]) + 1.0f) *
                                                      static_cast<float>(m_SkillCoolingTime)) +
                                 24;
        if (skill->m_Type == 1 && skill->m_RestrictFlag)
            room->m_SpecialAttackRestrictTime = 480;
        AnnounceSkill(*skill);
        return;
    }
}

void ZorTaskUnitEntity::UpdateSkillMotion()
{
    const int32_t length = ZorNcPoolUnit::GetMotionLength(m_UnitID, 1);
    if (length == 0 || (m_MotionTime >= length && m_MotionTime > 10))
    {
        m_UnitPhase = 0;
        m_MotionIndex = 0;
        m_MotionTime = 0;
        return;
    }
    if (m_MotionTime != 10)
        return;
    ZorCore& core = Core();
    const DBZorSkillData* skill = Skill(m_UsingSkillID);
    std::vector<int64_t> targets;
    if (skill->m_Range == 1)
        targets.push_back(m_TargetTaskID);
    else if (skill->m_Type == 1)
        targets = m_PlayerFlag ? core.CollectEnemiesInRoom(*this) : core.CollectPlayerUnitsInRoom(*this);
    else
    {
        for (int64_t id : core.SnapshotUnits(m_PlayerFlag ? ZorCore::kUnitPlayerList : ZorCore::kUnitEnemyList))
            if (const ZorTaskUnitEntity* u = core.FindUnit(id);
                u && u->m_RoughPosX == m_RoughPosX && u->m_RoughPosY == m_RoughPosY)
                targets.push_back(id);
    }
    if (skill->m_Type == 2)
    {
        for (int64_t id : targets)
            ApplyHeal(core.FindUnit(id));
        return;
    }
    if (skill->m_Type != 1)
        return;
    ZorReward reward;
    for (int64_t id : targets)
        ApplySkillHit(core.FindUnit(id), reward);
    core.AddBone(reward.bone, true);
    core.AddMagic(reward.magic, true);
    core.AddGold(reward.gold, true);
    const int32_t maxHP = GetMaxHP();
    if (reward.damage > 0 && HasSkillSpecialType(34))
        m_HP = std::min(m_HP + std::max(maxHP / (skill->m_Range == 1 ? 20 : 80), 1), maxHP);
    if (skill->m_SelfDamage > 0)
    {
        m_HP -= skill->m_SelfDamage;
        if (m_HP <= 0)
        {
            m_HP = 0;
            const int64_t id = static_cast<int64_t>(GetTaskID());
            if (m_PlayerFlag)
                core.KillPlayerUnit(id);
            else
            {
                // An invader felled by its own skill falls as invaders do, with its reward.
                ZorReward own;
                ZorRoomState* room = GetRoom();
                core.AddDefeatReward(own, *this, room);
                core.AddBone(own.bone, true);
                core.AddMagic(own.magic, true);
                core.AddGold(own.gold, true);
                core.KillEnemyUnit(id);
                core.CheckCapture(*this, room);
            }
        }
    }
}

void ZorTaskUnitEntity::ApplySkillHit(ZorTaskUnitEntity* target, ZorReward& reward)
{
    if (!target || target->IsBeingRemoved() || target->m_DetailPosX < 0 || !target->IsUnitActive())
        return;
    ZorCore& core = Core();
    ZorRoomState* room = GetRoom();
    const int32_t skill = m_UsingSkillID;
    bool hit = false;
    int32_t damage = 0;
    if (!m_PlayerFlag)
    {
        hit = core.CheckUnitHit(skill, *target, *this);
        damage = core.CalcEnemyDamage(skill, *target, room, *this);
    }
    else if (IsTrap())
    {
        hit = core.CheckTrapHit(skill, room, *target);
        damage = core.CalcTrapDamage(skill, room, *target, *this);
    }
    else
    {
        hit = core.CheckUnitHit(skill, *target, *this);
        damage = core.CalcDamage(skill, *this, room, *target);
    }
    if (!hit)
    {
        core.ShowEffect(L"EFE_MISS", target->GetWorldPos(), 71.0f);
        return;
    }
    int32_t effect = core.RollSpecialEffect(skill, *target);
    if (effect == 0 && IsTrap() && room && room->m_StructID == 13)
        effect = core.RollSpecialEffect(54, *target);
    if (effect == kEffectDrainCharges)
        core.AddMagic(8 * target->DrainSealedCharges(), true);
    else
        target->ApplyEffectStatus(effect, ZorBattleGround::Map);
    const GxVector4 at = target->GetWorldPos();
    target->TakeDamage(damage, reward, effect == kEffectInstantKill, IsTrap());
    const std::wstring& name = Skill(skill)->m_DamageEffect;
    if (!name.empty())
        core.ShowEffect(name.c_str(), at, 70.0f);
    if (m_PlayerFlag && !IsTrap())
        AddExp(CalcExpGain(*target, damage, room));
}

void ZorTaskUnitEntity::ApplyHeal(ZorTaskUnitEntity* target)
{
    if (!target || target->IsBeingRemoved() || target->m_DetailPosX < 0 || !target->IsUnitActive())
        return;
    ZorCore& core = Core();
    if (IsStatusOn(kStatusSeal))
    {
        core.ShowEffect(L"EFE_MISS", target->GetWorldPos(), 71.0f);
        return;
    }
    core.ShowEffect(L"EFE_RECOVER", target->GetWorldPos(), 71.0f);
    const int32_t maxHP = target->GetMaxHP();
    int32_t h = Skill(m_UsingSkillID)->m_Power * maxHP / 100;
    const ZorRoomState* room = GetRoom();
    if (!target->m_PlayerFlag && Level(room, 6) > 0)
        h = h / (Level(room, 6) + 1);
    h = std::min(h, maxHP - target->m_HP);
    target->m_HP = std::min(target->m_HP + h, maxHP);
    if (m_PlayerFlag)
        AddExp(CalcExpGain(*target, h, room));
}

bool ZorTaskUnitEntity::TakeDamage(int32_t amount, ZorReward& reward, bool kill, bool hitByTrap)
{
    m_HP -= amount;
    if (kill || m_HP < 0)
        m_HP = 0;
    reward.damage += amount;
    if (m_HP > 0)
    {
        if (m_UnitPhase == 0)
        {
            m_UnitPhase = 2;
            m_MotionIndex = 2;
            m_MotionTime = 0;
        }
        if (hitByTrap && GxRandom::Next(2) != 0)
            Voice(3, 1, 70);
        else
            Voice(7, 3, 30);
        return false;
    }
    if (!m_PlayerFlag)
    {
        ZorRoomState* room = GetRoom();
        Core().AddDefeatReward(reward, *this, room);
        Core().KillEnemyUnit(static_cast<int64_t>(GetTaskID()));
        Core().CheckCapture(*this, room);
        return true;
    }
    SurvivalRoll();
    Voice(12, 1, 100);
    return true;
}

void ZorTaskUnitEntity::SurvivalRoll()
{
    const ZorStructState* command = State().GetStructState(ZorUserData::kStructCommand);
    float chance = 0.1f * static_cast<float>(command ? command->m_RoomActiveCount : 0);
    if (HasSkillSpecialType(30))
        chance += 0.5f;
    const int32_t r = GxRandom::Next(1000);
    if (chance * 1000.0f > static_cast<float>(r) && !IsTrap())
        Core().RetreatUnit(static_cast<int64_t>(GetTaskID()));
    else
        Core().KillPlayerUnit(static_cast<int64_t>(GetTaskID()));
}

void ZorTaskUnitEntity::UpdateHitPoints()
{
    if (IsBeingRemoved() || m_HP == 0)
        return;
    const int32_t counter = GetFrameCount();
    ZorRoomState* room = GetRoom();
    if (!IsTrap())
    {
        const int32_t maxHP = GetMaxHP();
        int32_t delta = 0;
        if (IsStatusOn(kStatusPoison) && counter % 100 == 0)
            delta = std::min(static_cast<int32_t>(static_cast<float>(maxHP) / -30.0f), -1);
        else
        {
            if (HasSkillSpecialType(18) && counter % 80 == 0)
                delta = 2;
            if (counter % 80 == 0 && room)
            {
                if (m_PlayerFlag && Level(room, 1) > 0)
                    delta += Level(room, 1) + 2;
                else if (!m_PlayerFlag && Level(room, 14) > 0)
                    delta += 2 * Level(room, 14) + 4;
            }
        }
        if (!m_PlayerFlag)
        {
            if (m_UnitPhase != 1 && counter % 80 == 0 && room && GxRandom::Next(100) < 20 && Level(room, 3) != 0)
                ApplyStatus(kStatusStun, 15 * Level(room, 3) + 80);
            bool anyStatus = false;
            for (int32_t t : m_RemainTime)
                anyStatus = anyStatus || t > 0;
            if (!anyStatus && room && room->m_StructID == 14 && room->m_CreateTimeLeft <= 0 && counter % 120 == 0)
            {
                static const int32_t s_Skills[3] = {25, 30, 31};
                const int32_t k = GxRandom::Next(10);
                if (k < 3)
                {
                    const int32_t e = Core().RollSpecialEffect(s_Skills[k], *this);
                    if (e == kStatusDazed || e == kStatusSeal || e == kStatusBreak)
                        ApplyStatus(e, 600);
                }
            }
        }
        m_HP = std::clamp(m_HP + delta, 0, maxHP);
        if (m_HP == 0)
        {
            if (m_PlayerFlag)
            {
                SurvivalRoll();
                Voice(12, 1, 100);
            }
            else
            {
                ZorReward reward;
                Core().AddDefeatReward(reward, *this, room);
                Core().AddBone(reward.bone, true);
                Core().AddMagic(reward.magic, true);
                Core().AddGold(reward.gold, true);
                Core().KillEnemyUnit(static_cast<int64_t>(GetTaskID()));
                Core().CheckCapture(*this, room);
            }
            return;
        }
    }
    for (int32_t& t : m_RemainTime)
        if (t > 0)
            --t;
}

void ZorTaskUnitEntity::UpdateRecovery()
{
    if (GetFrameCount() % 4 == 0)
    {
        const int32_t maxHP = GetMaxHP();
        int32_t heal = static_cast<int32_t>(static_cast<float>(maxHP) * Row(m_UnitID)->m_AutoHealHPRate / 100.0f);
        if (heal == 0)
            heal = 1;
        m_HP = std::min(m_HP + heal, maxHP);
    }
    for (int32_t& t : m_RemainTime)
        if (t > 0)
            t = std::max(t - 2, 0);
    ++m_MotionTime;
    AdvanceFrameCount();
}

// --- experience -------------------------------------------------------------------------------------

int32_t ZorTaskUnitEntity::CalcExpGain(const ZorTaskUnitEntity& target, int32_t amount, const ZorRoomState* room) const
{
    float r = static_cast<float>(amount) / static_cast<float>(target.GetMaxHP());
    if (room && room->m_StructID == 10 && room->m_CreateTimeLeft <= 0)
        r += 0.1f;
    return static_cast<int32_t>(target.GetLevelFactor() * r *
                                static_cast<float>(Row(target.m_UnitID)->m_CostLeadership));
}

bool ZorTaskUnitEntity::AddExp(int32_t gain)
{
    const DBZorUnitData* row = Row(m_UnitID);
    m_Exp += static_cast<int32_t>(row->m_ExpMulti * static_cast<float>(gain)) + 1;
    bool leveled = false;
    while (m_Exp >= 20 * (m_Level + 1))
    {
        if (m_Level >= row->m_LevelLimit)
            break;
        m_Exp -= 20 * (m_Level + 1);
        ++m_Level;
        m_HP = GetMaxHP();
        ChooseSkills(m_Level);
        leveled = true;
    }
    if (leveled)
    {
        Core().ShowEffect(L"EFE_LEVELUP", GetWorldPos(), 71.0f);
        Voice(13, 1, 100);
    }
    if (ZorUnitState* type = State().GetUnitState(m_UnitID))
    {
        type->m_Exp = m_Exp;
        type->m_Level = m_Level;
    }
    return leveled;
}
