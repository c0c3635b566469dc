// Invader movement on the defence map: the next goal (the throne, a room with a flag to take, or a
// wander inside the room), the path to it and the walk along it, one cell per step.
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
