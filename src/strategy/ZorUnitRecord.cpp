#include "strategy/ZorUnitRecord.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentValueType.h"
#include "core/GxContentWriterBase.h"
#include "core/GxLog.h"

bool ZorUnitRecord::SaveFields(GxContentWriterBase& w) const
{
    bool ok = w.Write("m_PlayerFlag", m_PlayerFlag != 0) && w.Write("m_UnitID", m_UnitID) &&
              w.Write("m_Level", m_Level) && w.Write("m_Exp", m_Exp) && w.Write("m_HP", m_HP) &&
              w.Write("m_ArrangeTimeLeft", m_ArrangeTimeLeft) && w.Write("m_ArrangeTimeTotal", m_ArrangeTimeTotal) &&
              w.Write("m_CreateTimeLeft", m_CreateTimeLeft) && w.Write("m_CreateTimeTotal", m_CreateTimeTotal) &&
              w.Write("m_AppearTimeLeft", m_AppearTimeLeft) && w.Write("m_AppearTimeTotal", m_AppearTimeTotal) &&
              w.Write("m_DisappearTimeLeft", m_DisappearTimeLeft) &&
              w.Write("m_DisappearTimeTotal", m_DisappearTimeTotal) && w.Write("m_VisualHeight", m_VisualHeight) &&
              w.Write("m_RoughPos.x", m_RoughPosX) && w.Write("m_RoughPos.y", m_RoughPosY) &&
              w.Write("m_DetailPos.x", m_DetailPosX) && w.Write("m_DetailPos.y", m_DetailPosY) &&
              w.Write("m_SlotIndex", m_SlotIndex) && w.Write("m_ExceedGauge", m_ExceedGauge);
    for (const SkillSlot& s : m_Skills)
        ok = ok && w.Write("m_SkillID", s.m_SkillID) && w.Write("m_ChargeTime", s.m_ChargeTime);
    ok = ok && w.Write("m_SkillCoolingTime", m_SkillCoolingTime);
    for (int32_t t : m_RemainTime)
        ok = ok && w.Write("m_RemainTime", t);
    ok = ok && w.Write("m_UnitPhase", m_UnitPhase) && w.Write("m_UsingSkillID", m_UsingSkillID) &&
         w.Write("m_TargetTaskID", m_TargetTaskID) && w.Write("m_FieldPos", m_FieldPos) &&
         w.Write("m_FieldIndex", m_FieldIndex) && w.Write("m_WorldPos", &m_WorldPos) &&
         w.Write("m_EnemyPartyID", m_EnemyPartyID) && w.Write("m_EnemyLeaderFlag", m_EnemyLeaderFlag != 0) &&
         w.Write("m_AIType", m_AIType) && w.Write("m_AICount", m_AICount);
    ok = ok && w.Write("Flags", static_cast<uint32_t>(m_RoomFlags.size()));
    for (uint32_t word : m_RoomFlags)
        ok = ok && w.Write("Value", word);
    ok = ok && w.Write("m_MovePathCount", static_cast<uint32_t>(m_MovePath.size()));
    for (const ZorMovePathElement& e : m_MovePath)
        ok = ok && e.Save(w);
    return ok && w.Write("m_MoveTargetDetailPos.x", m_MoveTargetDetailPosX) &&
           w.Write("m_MoveTargetDetailPos.y", m_MoveTargetDetailPosY) && w.Write("m_MotionIndex", m_MotionIndex) &&
           w.Write("m_MotionTime", m_MotionTime) && w.Write("m_ShowDir", m_ShowDir);
}

void ZorUnitRecord::LoadFields(GxContentReaderBase& r, uint32_t maxCount, bool& refused)
{
    m_PlayerFlag = r.GetBool("m_PlayerFlag") ? 1 : 0;
    r.Read("m_UnitID", m_UnitID);
    r.Read("m_Level", m_Level);
    r.Read("m_Exp", m_Exp);
    r.Read("m_HP", m_HP);
    r.Read("m_ArrangeTimeLeft", m_ArrangeTimeLeft);
    r.Read("m_ArrangeTimeTotal", m_ArrangeTimeTotal);
    r.Read("m_CreateTimeLeft", m_CreateTimeLeft);
    r.Read("m_CreateTimeTotal", m_CreateTimeTotal);
    r.Read("m_AppearTimeLeft", m_AppearTimeLeft);
    r.Read("m_AppearTimeTotal", m_AppearTimeTotal);
    r.Read("m_DisappearTimeLeft", m_DisappearTimeLeft);
    r.Read("m_DisappearTimeTotal", m_DisappearTimeTotal);
    r.Read("m_VisualHeight", m_VisualHeight);
    r.Read("m_RoughPos.x", m_RoughPosX);
    r.Read("m_RoughPos.y", m_RoughPosY);
    r.Read("m_DetailPos.x", m_DetailPosX);
    r.Read("m_DetailPos.y", m_DetailPosY);
    r.Read("m_SlotIndex", m_SlotIndex);
    r.Read("m_ExceedGauge", m_ExceedGauge);
    for (SkillSlot& s : m_Skills)
    {
        r.Read("m_SkillID", s.m_SkillID);
        r.Read("m_ChargeTime", s.m_ChargeTime);
    }
    r.Read("m_SkillCoolingTime", m_SkillCoolingTime);
    for (int32_t& t : m_RemainTime)
        r.Read("m_RemainTime", t);
    r.Read("m_UnitPhase", m_UnitPhase);
    r.Read("m_UsingSkillID", m_UsingSkillID);
    r.Read("m_TargetTaskID", m_TargetTaskID);
    r.Read("m_FieldPos", m_FieldPos);
    r.Read("m_FieldIndex", m_FieldIndex);
    r.Read("m_WorldPos", m_WorldPos);
    r.Read("m_EnemyPartyID", m_EnemyPartyID);
    m_EnemyLeaderFlag = r.GetBool("m_EnemyLeaderFlag") ? 1 : 0;
    r.Read("m_AIType", m_AIType);
    r.Read("m_AICount", m_AICount);

    const uint32_t words = r.GetU32("Flags");
    if (words > maxCount)
    {
        GxLog::Error(L"ZorTaskUnitEntity::Load/部屋フラグの数が不正です(%u)\n", words);
        refused = true;
        return;
    }
    m_RoomFlags.assign(words, 0);
    for (uint32_t& word : m_RoomFlags)
        r.Read("Value", word);
    const uint32_t steps = r.GetU32("m_MovePathCount");
    if (steps > maxCount)
    {
        GxLog::Error(L"ZorTaskUnitEntity::Load/経路の数が不正です(%u)\n", steps);
        refused = true;
        return;
    }
    m_MovePath.assign(steps, ZorMovePathElement());
    for (ZorMovePathElement& e : m_MovePath)
        e.Load(r);
    r.Read("m_MoveTargetDetailPos.x", m_MoveTargetDetailPosX);
    r.Read("m_MoveTargetDetailPos.y", m_MoveTargetDetailPosY);
    r.Read("m_MotionIndex", m_MotionIndex);
    r.Read("m_MotionTime", m_MotionTime);
    r.Read("m_ShowDir", m_ShowDir);
}

bool ZorUnitRecord::SaveRound(GxContentWriterBase& w) const
{
    bool ok = w.Write("m_PlayerFlag", m_PlayerFlag != 0) && w.Write("m_UnitID", m_UnitID) &&
              w.Write("m_Level", m_Level) && w.Write("m_Exp", m_Exp) && w.Write("m_HP", m_HP) &&
              w.Write("m_RoughPos.x", m_RoughPosX) && w.Write("m_RoughPos.y", m_RoughPosY) &&
              w.Write("m_DetailPos.x", m_DetailPosX) && w.Write("m_DetailPos.y", m_DetailPosY) &&
              w.Write("m_SlotIndex", m_SlotIndex) && w.Write("m_ExceedGauge", m_ExceedGauge);
    for (const SkillSlot& s : m_Skills)
        ok = ok && w.Write("m_SkillID", s.m_SkillID) && w.Write("m_ChargeTime", s.m_ChargeTime);
    ok = ok && w.Write("m_SkillCoolingTime", m_SkillCoolingTime);
    for (int32_t t : m_RemainTime)
        ok = ok && w.Write("m_RemainTime", t);
    return ok && w.GetErrorCount() == 0;
}

void ZorUnitRecord::LoadRound(GxContentReaderBase& r)
{
    m_PlayerFlag = r.GetBool("m_PlayerFlag") ? 1 : 0;
    r.Read("m_UnitID", m_UnitID);
    r.Read("m_Level", m_Level);
    r.Read("m_Exp", m_Exp);
    r.Read("m_HP", m_HP);
    r.Read("m_RoughPos.x", m_RoughPosX);
    r.Read("m_RoughPos.y", m_RoughPosY);
    r.Read("m_DetailPos.x", m_DetailPosX);
    r.Read("m_DetailPos.y", m_DetailPosY);
    r.Read("m_SlotIndex", m_SlotIndex);
    r.Read("m_ExceedGauge", m_ExceedGauge);
    for (SkillSlot& s : m_Skills)
    {
        r.Read("m_SkillID", s.m_SkillID);
        r.Read("m_ChargeTime", s.m_ChargeTime);
    }
    r.Read("m_SkillCoolingTime", m_SkillCoolingTime);
    for (int32_t& t : m_RemainTime)
        r.Read("m_RemainTime", t);
}

uint64_t ZorUnitRecord::LeastFieldsSize(const GxContentReaderBase& r)
{
    // The flag, twelve numbers, the height, six numbers (to the gauge), the skills, their cooling
    // time and the six statuses; then the phase to the position, the party to the AI, the two counts
    // and the five numbers after the route.
    return r.LeastSize({g_ContentValueBool, g_ContentValueF32}) + 18 * r.LeastSize({g_ContentValueS32}) +
           (2 * kSkillSlots + 1 + kStatuses) * r.LeastSize({g_ContentValueS32}) +
           r.LeastSize({g_ContentValueS32, g_ContentValueS32, g_ContentValueS64, g_ContentValueS32, g_ContentValueS32,
                        g_ContentValueVector3, g_ContentValueS32, g_ContentValueBool, g_ContentValueS32,
                        g_ContentValueS32, g_ContentValueU32, g_ContentValueU32}) +
           5 * r.LeastSize({g_ContentValueS32});
}

uint64_t ZorUnitRecord::LeastRoundSize(const GxContentReaderBase& r)
{
    // The flag, ten numbers, the skills, their cooling time and the six statuses.
    return r.LeastSize({g_ContentValueBool}) +
           (10 + 2 * kSkillSlots + 1 + kStatuses) * r.LeastSize({g_ContentValueS32});
}

bool ZorUnitRecord::CheckIndexes() const
{
    auto within = [](int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; };
    auto refuse = [this](const wchar_t* what, int32_t value)
    {
        GxLog::Error(L"ZorTaskUnitEntity::Load/範囲外の値です(%s=%d,UnitID=%d)\n", what, value, m_UnitID);
        return false;
    };
    if (!within(m_UnitID, 0, 159))
        return refuse(L"m_UnitID", m_UnitID);
    for (const SkillSlot& s : m_Skills)
        if (!within(s.m_SkillID, 0, 159))
            return refuse(L"m_SkillID", s.m_SkillID);
    if (!within(m_UsingSkillID, 0, 159))
        return refuse(L"m_UsingSkillID", m_UsingSkillID);
    if (!within(m_RoughPosX, -1, 9) || !within(m_RoughPosY, -1, 9))
        return refuse(L"m_RoughPos", m_RoughPosX);
    if (!within(m_DetailPosX, -1, 39) || !within(m_DetailPosY, -1, 39))
        return refuse(L"m_DetailPos", m_DetailPosX);
    if (!within(m_SlotIndex, -1, 9))
        return refuse(L"m_SlotIndex", m_SlotIndex);
    if (!within(m_FieldPos, -1, 2) || !within(m_FieldIndex, 0, 8))
        return refuse(L"m_FieldPos", m_FieldPos);
    if (!within(m_EnemyPartyID, 0, 119))
        return refuse(L"m_EnemyPartyID", m_EnemyPartyID);
    for (const ZorMovePathElement& e : m_MovePath)
        if (!within(e.m_PosX, 0, 39) || !within(e.m_PosZ, 0, 39) || !within(e.m_Macro, -1, 3))
            return refuse(L"m_MovePath", e.m_PosX);
    if (!within(m_MotionIndex, 0, 3))
        return refuse(L"m_MotionIndex", m_MotionIndex);
    // Bounds that keep the maximum hit points and the experience sums inside 32 bits.
    if (!within(m_Level, 1, kMaxLevel))
        return refuse(L"m_Level", m_Level);
    if (!within(m_Exp, 0, kMaxExp))
        return refuse(L"m_Exp", m_Exp);
    if (!within(m_HP, 0, kMaxHP))
        return refuse(L"m_HP", m_HP);
    return true;
}
