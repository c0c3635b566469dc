// The unit's per-tick steps on the defence map that the core runs: the summoning timer, the defence step
// (presence timers, then movement, skill motion and skill choice), hit points and recovery in the ready
// list. The steps they call live beside this file:
//   ZorTaskUnitEntityInit.cpp       initialisation variants, derived values, small operations
//   ZorTaskUnitEntityStepMove.cpp   invader movement: goals, paths, wandering in a room
//   ZorTaskUnitEntityStepSkill.cpp  skill choice and motion, hits, heals, damage, falls, experience
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
