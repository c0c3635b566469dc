// Skills on the defence map: choosing one, playing its motion to the hit frame, the hit itself (hit
// chance, special effect, damage), heals, taking damage and falling, and the experience a hit earns.
// Every random draw happens in the order written, since a seed must replay a stage.
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
