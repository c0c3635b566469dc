#include "strategy/ZorCore.h"

#include "core/GxRandom.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"

#include <cmath>

// Whom units hit or heal and where invaders walk. Distances are Euclidean: in cells between units of a
// room, in rooms between goal rooms.

std::vector<ZorTaskUnitEntity*> ZorCore::UnitsInRoom(const ZorTaskUnitEntity& unit, Side side) const
{
    std::vector<ZorTaskUnitEntity*> units;
    GxTaskBase* list = FindList(side == Side::Enemy ? kUnitEnemyList : kUnitPlayerList);
    if (!list || unit.m_RoughPosX < 0)
        return units;
    for (GxTaskBase* t = list->GetFirstChild(); t; t = t->GetNextSibling())
    {
        auto* other = dynamic_cast<ZorTaskUnitEntity*>(t);
        if (!other || !other->IsUnitActive() || other->m_RoughPosX != unit.m_RoughPosX ||
            other->m_RoughPosY != unit.m_RoughPosY)
            continue;
        if (side != Side::Enemy && other->IsTrap() != (side == Side::Trap))
            continue;
        units.push_back(other);
    }
    return units;
}

int64_t ZorCore::FindNearestInRoom(const ZorTaskUnitEntity& unit, float range, Side side) const
{
    float best = 10000.0f;
    int64_t found = 0;
    for (ZorTaskUnitEntity* other : UnitsInRoom(unit, side))
    {
        const float dx = static_cast<float>(other->m_DetailPosX - unit.m_DetailPosX);
        const float dz = static_cast<float>(other->m_DetailPosY - unit.m_DetailPosY);
        const float d = std::sqrt(dx * dx + dz * dz);
        if (d < range && d < best)
        {
            best = d;
            found = static_cast<int64_t>(other->GetTaskID());
        }
    }
    return found;
}

int64_t ZorCore::FindNearestEnemyInRoom(const ZorTaskUnitEntity& unit, float range) const
{
    return FindNearestInRoom(unit, range, Side::Enemy);
}

int64_t ZorCore::FindNearestPlayerUnitInRoom(const ZorTaskUnitEntity& unit, float range) const
{
    return FindNearestInRoom(unit, range, Side::PlayerUnit);
}

int64_t ZorCore::FindNearestTrapInRoom(const ZorTaskUnitEntity& unit, float range) const
{
    return FindNearestInRoom(unit, range, Side::Trap);
}

int64_t ZorCore::FindRandomEnemyInRoom(const ZorTaskUnitEntity& unit) const
{
    std::vector<ZorTaskUnitEntity*> units = UnitsInRoom(unit, Side::Enemy);
    return units.empty() ? 0
                         : static_cast<int64_t>(units[GxRandom::Next(static_cast<int32_t>(units.size()))]->GetTaskID());
}

int64_t ZorCore::FindRandomPlayerUnitInRoom(const ZorTaskUnitEntity& unit) const
{
    std::vector<ZorTaskUnitEntity*> units = UnitsInRoom(unit, Side::PlayerUnit);
    return units.empty() ? 0
                         : static_cast<int64_t>(units[GxRandom::Next(static_cast<int32_t>(units.size()))]->GetTaskID());
}

int64_t ZorCore::FindWeakestInRoom(const ZorTaskUnitEntity& unit, Side side) const
{
    float best = 1.0f;
    int64_t found = 0;
    for (ZorTaskUnitEntity* other : UnitsInRoom(unit, side))
    {
        const float rate = static_cast<float>(other->m_HP) / static_cast<float>(other->GetMaxHP());
        if (rate < best)
        {
            best = rate;
            found = static_cast<int64_t>(other->GetTaskID());
        }
    }
    return found;
}

int64_t ZorCore::FindWeakestEnemyInRoom(const ZorTaskUnitEntity& unit) const
{
    return FindWeakestInRoom(unit, Side::Enemy);
}

int64_t ZorCore::FindWeakestPlayerUnitInRoom(const ZorTaskUnitEntity& unit) const
{
    return FindWeakestInRoom(unit, Side::PlayerUnit);
}

std::vector<int64_t> ZorCore::CollectEnemiesInRoom(const ZorTaskUnitEntity& unit) const
{
    std::vector<int64_t> ids;
    for (ZorTaskUnitEntity* other : UnitsInRoom(unit, Side::Enemy))
        ids.push_back(static_cast<int64_t>(other->GetTaskID()));
    return ids;
}

// Player units of either kind: an invader's area skill reaches traps too.
std::vector<int64_t> ZorCore::CollectPlayerUnitsInRoom(const ZorTaskUnitEntity& unit) const
{
    std::vector<int64_t> ids;
    GxTaskBase* list = FindList(kUnitPlayerList);
    if (!list || unit.m_RoughPosX < 0)
        return ids;
    for (GxTaskBase* t = list->GetFirstChild(); t; t = t->GetNextSibling())
        if (auto* other = dynamic_cast<ZorTaskUnitEntity*>(t); other && other->IsUnitActive() &&
                                                               other->m_RoughPosX == unit.m_RoughPosX &&
                                                               other->m_RoughPosY == unit.m_RoughPosY)
            ids.push_back(static_cast<int64_t>(other->GetTaskID()));
    return ids;
}

ZorCell ZorCore::ChooseGoalRoom(const ZorTaskUnitEntity& unit, float range, bool typeB) const
{
    const ZorUserData& s = *m_UserData;
    struct Candidate
    {
        int32_t rx, rz, score;
    };
    std::vector<Candidate> candidates;
    auto counts = [&](int32_t rx, int32_t rz)
    {
        const ZorRoomState* room = s.GetRoughRoom(rx, rz);
        return room && room->m_ExistFlag && room->m_Extended && room->m_MapRoom && room->m_MapRoom->m_Center &&
               room->m_StructID != 0;
    };
    auto distance = [&](int32_t rx, int32_t rz)
    {
        const float dx = static_cast<float>(rx - unit.m_RoughPosX);
        const float dz = static_cast<float>(rz - unit.m_RoughPosY);
        return std::sqrt(dx * dx + dz * dz);
    };
    for (int32_t n = 0; n < 30; ++n)
    {
        const int32_t rx = GxRandom::Next(10);
        const int32_t rz = GxRandom::Next(10);
        if (!counts(rx, rz))
            continue;
        const int32_t structID = s.GetRoughRoom(rx, rz)->m_StructID;
        int32_t score = GxRandom::Next(100);
        if (distance(rx, rz) <= range)
            score += typeB ? GxRandom::Next(100) + 100 : GxRandom::Next(200) + 100;
        if (structID == 14 || structID == 9)
            score += typeB ? GxRandom::Next(200) + 75 : GxRandom::Next(50) + 50;
        if (!typeB && structID == 17)
            score += 50;
        if (unit.HasRoomFlag(rx + rz * 10))
            score -= 1000;
        candidates.push_back({rx, rz, score});
    }
    for (int32_t rz = 0; rz < 10; ++rz)
        for (int32_t rx = 0; rx < 10; ++rx)
        {
            if (!counts(rx, rz))
                continue;
            const float d = distance(rx, rz);
            int32_t score = GxRandom::Next(100) - static_cast<int32_t>(2.0f * d);
            if (d <= range)
                score += 100;
            if (unit.HasRoomFlag(rx + rz * 10))
                score -= 1000;
            candidates.push_back({rx, rz, score});
        }
    if (candidates.empty())
        return ZorCell{s.m_ThroneRoomPosX, s.m_ThroneRoomPosY};
    const Candidate* best = &candidates.front();
    for (const Candidate& c : candidates)
        if (c.score > best->score)
            best = &c;
    return ZorCell{best->rx, best->rz};
}

ZorCell ZorCore::ChooseGoalRoomA(const ZorTaskUnitEntity& unit, float range) const
{
    return ChooseGoalRoom(unit, range, false);
}

ZorCell ZorCore::ChooseGoalRoomB(const ZorTaskUnitEntity& unit, float range) const
{
    return ChooseGoalRoom(unit, range, true);
}

bool ZorCore::PickCellInRoom(const ZorRoomState* room, const ZorTaskUnitEntity& unit, ZorCell& cell) const
{
    if (!room || !room->m_MapRoom)
        return false;
    const int32_t cx = room->m_MapRoom->m_CenterDX;
    const int32_t cz = room->m_MapRoom->m_CenterDZ;
    for (int32_t n = 0; n < 18; ++n)
    {
        const ZorCell step = ZorDirToDelta(GxRandom::Next(9));
        const ZorBlockState* b = m_UserData->GetDetailBlock(cx + step.x, cz + step.z);
        if (b && b->m_EnablePass && !(cx + step.x == unit.m_DetailPosX && cz + step.z == unit.m_DetailPosY))
        {
            cell = ZorCell{cx + step.x, cz + step.z};
            return true;
        }
    }
    return false;
}
