// The unit's rules on the invasion field: no rooms, no movement, no traps; units choose skills, hit the
// other side or heal their own, and lose hit points. Everything not restated here is as on the
// defence map.
#include "strategy/ZorTaskUnitEntity.h"

#include "appdata/DBZorSkill.h"
#include "appdata/DBZorUnit.h"
#include "core/GxRandom.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorNcPoolUnit.h"
#include "strategy/ZorUnitLookups.h"
#include "strategy/ZorUserData.h"

#include <algorithm>

using namespace ZorUnitLookups;

void ZorTaskUnitEntity::InitAsFieldEnemy(int32_t unitID, int32_t level, int32_t slot)
{
    m_PlayerFlag = 0;
    m_UnitID = unitID;
    m_Level = level;
    m_HP = GetMaxHP();
    m_ArrangeTimeLeft = m_ArrangeTimeTotal = 0;
    m_CreateTimeLeft = 0;
    m_CreateTimeTotal = 1;
    m_AppearTimeLeft = 0;
    m_DisappearTimeLeft = 0;
    m_RoughPosX = m_RoughPosY = -1;
    m_DetailPosX = m_DetailPosY = -1;
    m_SlotIndex = -1;
    m_ExceedGauge = 10000;
    m_MovePath.clear();
    m_FieldPos = 2;
    m_FieldIndex = slot;
    const int32_t row = slot / 3;
    m_WorldPos = GxVector3(static_cast<float>(20 * slot - 55 * row + 30), 0.0f, static_cast<float>(30 * row - 50));
    m_MotionIndex = 0;
    m_MotionTime = 0;
    m_AIType = 0;
    m_AICount = 0;
    MeasureVisualHeight(false);
    ChooseSkills(level);
}

void ZorTaskUnitEntity::ResetForField()
{
    RemoveFromMap();
    m_FieldPos = -1;
    m_FieldIndex = 0;
    m_WorldPos = GxVector3();
}

ZorRoomState* ZorTaskUnitEntity::GetFormation() const
{
    ZorCore* core = ZorCore::GetInstance();
    return (core && m_FieldPos >= 0 && m_FieldPos < ZorUserData::kFieldFormations)
               ? &core->GetUserData()->m_FieldFormations[m_FieldPos]
               : nullptr;
}

void ZorTaskUnitEntity::UpdateField()
{
    if (IsUnitActive())
    {
        if (m_UnitPhase == 1)
            UpdateFieldSkillMotion();
        else if (m_UnitPhase == 2)
        {
            const int32_t length = ZorNcPoolUnit::GetMotionLength(m_UnitID, 2);
            if (length == 0 || m_MotionTime >= length)
            {
                m_MotionIndex = 0;
                m_MotionTime = 0;
                m_UnitPhase = 0;
            }
        }
        if (!IsBeingRemoved() && m_FieldPos != -1)
            SelectFieldSkill();
    }
    ++m_MotionTime;
    AdvanceFrameCount();
}

void ZorTaskUnitEntity::SelectFieldSkill()
{
    if (m_SkillCoolingTime < 1)
    {
        for (SkillSlot& s : m_Skills)
            s.m_ChargeTime = std::min(s.m_ChargeTime + 1, 10000);
    }
    else
        --m_SkillCoolingTime;
    ZorRoomState* formation = GetFormation();
    if (IsStatusOn(kStatusStun) || m_UnitPhase == 1 || !formation)
        return;
    ZorCore& core = Core();
    for (SkillSlot& slot : m_Skills)
    {
        const DBZorSkillData* skill = Skill(slot.m_SkillID);
        if (slot.m_ChargeTime < skill->m_ReadyTime)
            continue;
        int64_t target = 0;
        if (skill->m_Type == 1)
        {
            if (!m_PlayerFlag)
            {
                target = core.ChooseWeightedFieldTarget(GxRandom::Next(2));
                if (target == 0)
                    target = core.ChooseWeightedFieldTarget(0);
                if (target == 0)
                    target = core.ChooseWeightedFieldTarget(1);
            }
            else if (skill->m_RestrictFlag && (formation->m_SpecialAttackRestrictTime != 0 || GxRandom::Next(4) != 0 ||
                                               core.IsSpecialEffectPlaying()))
                continue;
            else
                target = core.ChooseWeightedFieldTarget(2);
        }
        else if (skill->m_Type == 2 && formation->m_HealRestrictTime == 0)
            target = core.FindWeakestFieldUnit(m_FieldPos);
        if (target == 0 || !StartSkill(slot.m_SkillID, target))
            continue;
        if (skill->m_Type == 2)
            formation->m_HealRestrictTime = 180;
        slot.m_ChargeTime = 0;
        m_SkillCoolingTime = HasSkillSpecialType(31) ? skill->m_CoolingTime / 10 : skill->m_CoolingTime;
        if (skill->m_Type == 1 && skill->m_RestrictFlag)
            formation->m_SpecialAttackRestrictTime = 360;
        AnnounceSkill(*skill);
        return;
    }
}

void ZorTaskUnitEntity::UpdateFieldSkillMotion()
{
    const int32_t length = ZorNcPoolUnit::GetMotionLength(m_UnitID, 1);
    if (length == 0 || (m_MotionTime >= length && m_MotionTime >= 11))
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
    if (skill->m_Type == 1)
    {
        if (skill->m_Range == 2)
            targets = m_PlayerFlag ? core.ChooseFieldEnemyTargets() : core.ChooseFieldPlayerTargets();
        else
            targets.push_back(m_TargetTaskID);
        ZorReward reward;
        for (int64_t id : targets)
            ApplyFieldSkillHit(core.FindUnit(id), reward);
        core.AddBone(reward.bone, true);
        core.AddMagic(reward.magic, true);
        core.AddGold(reward.gold, true);
        const int32_t maxHP = GetMaxHP();
        if (reward.damage > 0 && HasSkillSpecialType(34) && !IsBeingRemoved())
            m_HP = std::min(m_HP + std::max(maxHP / (skill->m_Range == 1 ? 30 : 90), 1), maxHP);
    }
    else if (skill->m_Type == 2)
    {
        if (skill->m_Range == 2)
            targets = m_PlayerFlag ? core.ChooseWoundedFieldPlayers() : core.ChooseWoundedFieldEnemies();
        else
            targets.push_back(m_TargetTaskID);
        for (int64_t id : targets)
            ApplyFieldHeal(core.FindUnit(id));
    }
}

void ZorTaskUnitEntity::ApplyFieldSkillHit(ZorTaskUnitEntity* target, ZorReward& reward)
{
    if (!target || target->IsBeingRemoved() || target->m_FieldPos == -1 || !target->IsUnitActive())
        return;
    ZorCore& core = Core();
    const int32_t skill = m_UsingSkillID;
    const bool hit = core.CheckUnitHit(skill, *target, *this);
    const int32_t damage = m_PlayerFlag ? core.CalcDamage(skill, *this, nullptr, *target)
                                        : core.CalcEnemyDamage(skill, *target, nullptr, *this);
    if (!hit)
    {
        core.ShowEffect(L"EFE_MISS", target->GetWorldPos(), 71.0f);
        return;
    }
    // Instant kills and charge drains work only on the defence map.
    target->ApplyEffectStatus(core.RollSpecialEffect(skill, *target), ZorBattleGround::Field);
    const GxVector4 at = target->GetWorldPos();
    target->TakeFieldDamage(damage, reward);
    const std::wstring& name = Skill(skill)->m_DamageEffect;
    if (!name.empty())
        core.ShowEffect(name.c_str(), at, 70.0f);
    if (m_PlayerFlag)
        AddExp(CalcExpGain(*target, damage, nullptr));
}

void ZorTaskUnitEntity::ApplyFieldHeal(ZorTaskUnitEntity* target)
{
    if (!target || target->IsBeingRemoved() || target->m_FieldPos == -1 || !target->IsUnitActive())
        return;
    ZorCore& core = Core();
    if (IsStatusOn(kStatusSeal))
    {
        core.ShowEffect(L"EFE_MISS", target->GetWorldPos(), 71.0f);
        return;
    }
    core.ShowEffect(L"EFE_RECOVER", target->GetWorldPos(), 71.0f);
    const int32_t maxHP = target->GetMaxHP();
    const int32_t h = std::min(Skill(m_UsingSkillID)->m_Power * maxHP / 200, maxHP - target->m_HP);
    target->m_HP += std::max(h, 0);
    if (m_PlayerFlag)
        AddExp(CalcExpGain(*target, h, nullptr));
}

void ZorTaskUnitEntity::FallOnField()
{
    ZorCore& core = Core();
    if (m_PlayerFlag)
    {
        core.ShowEffect(L"EFE_DEAD_FRIEND", GetWorldPos(), 70.0f);
        const int32_t formation = m_FieldPos;
        const int32_t slot = m_FieldIndex;
        core.RemoveUnitFromField(formation, slot);
        Voice(12, 1, 100);
    }
    else
        core.KillFieldEnemy(static_cast<int64_t>(GetTaskID()));
}

bool ZorTaskUnitEntity::TakeFieldDamage(int32_t amount, ZorReward& reward)
{
    m_HP = std::max(m_HP - amount, 0);
    reward.damage += amount;
    if (m_HP == 0)
    {
        if (!m_PlayerFlag)
            Core().AddDefeatReward(reward, *this, nullptr);
        FallOnField();
        return true;
    }
    if (m_UnitPhase == 0)
    {
        m_UnitPhase = 2;
        m_MotionIndex = 2;
        m_MotionTime = 0;
    }
    return false;
}

void ZorTaskUnitEntity::UpdateFieldHitPoints()
{
    if (IsBeingRemoved() || m_HP == 0 || IsTrap())
        return;
    const int32_t counter = GetFrameCount();
    const int32_t maxHP = GetMaxHP();
    int32_t delta = 0;
    if (IsStatusOn(kStatusPoison) && counter % 100 == 0)
        delta = std::min(static_cast<int32_t>(static_cast<float>(maxHP) / -30.0f), -1);
    else if (HasSkillSpecialType(18) && counter % 80 == 0)
        delta = 2;
    m_HP = std::clamp(m_HP + delta, 0, maxHP);
    if (m_HP < 1)
    {
        if (!m_PlayerFlag)
        {
            ZorReward reward;
            Core().AddDefeatReward(reward, *this, nullptr);
            Core().AddBone(reward.bone, true);
            Core().AddMagic(reward.magic, true);
            Core().AddGold(reward.gold, true);
        }
        FallOnField();
        return;
    }
    for (int32_t& t : m_RemainTime)
        if (t > 0)
            --t;
}
