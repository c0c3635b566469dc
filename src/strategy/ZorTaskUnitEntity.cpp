#include "strategy/ZorTaskUnitEntity.h"

#include "appdata/DBZorUnit.h"
#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxRandom.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorUnitLookups.h"
#include "strategy/ZorUserData.h"

#include <algorithm>

using namespace ZorUnitLookups;

ZorTaskUnitEntity::ZorTaskUnitEntity(GxTaskBase* parent) : GxTaskBase(parent)
{
    SetGlobalState(GX_TASKSTATE_SUSPENDED);
    AddListenerMask(GX_LISTENER_MOUSE | GX_LISTENER_KEYINPUT | GX_LISTENER_TRANSIT);
}

void ZorTaskUnitEntity::ApplyEffectStatus(int32_t effect, ZorBattleGround ground)
{
    for (const ZorStatusRule& rule : kStatusRules)
    {
        if (rule.m_Status != effect)
            continue;
        if (effect == kStatusStun && m_UnitPhase == 1)
            return;
        ApplyStatus(effect, ground == ZorBattleGround::Map ? rule.m_MapTicks : rule.m_FieldTicks);
        return;
    }
}

bool ZorTaskUnitEntity::IsTrap() const
{
    return Row(m_UnitID)->m_Class == kTrapClass;
}

float ZorTaskUnitEntity::GetLevelFactor() const
{
    const float divisor = IsTrap() ? 5.0f : 10.0f;
    return 1.0f + static_cast<float>(m_Level - 1) / divisor;
}

int32_t ZorTaskUnitEntity::GetMaxHP() const
{
    const DBZorUnitData* row = Row(m_UnitID);
    const float f = 1.0f + static_cast<float>(m_Level - 1) / 5.0f;
    int32_t hp = static_cast<int32_t>(f * static_cast<float>(row->m_HPMax));
    const ZorCore* core = ZorCore::GetInstance();
    if (m_PlayerFlag && core && row->m_Class >= 0 && row->m_Class < ZorUserData::kReinforceClasses)
        hp += 10 * core->GetUserData()->m_ReinforceMonster[row->m_Class];
    return hp;
}

void ZorTaskUnitEntity::ChooseSkills(int32_t level)
{
    const DBZorUnitData* row = Row(m_UnitID);
    for (int32_t i = 0; i < 4; ++i)
        m_Skills[i].m_SkillID = row->m_Skill[i];
    if (m_Skills[4].m_SkillID == 0 && level >= 5)
    {
        // The draw comes first: the stream advances whether or not cell 5 holds a skill.
        const bool even = GxRandom::Next(32767) % 2 == 0;
        m_Skills[4].m_SkillID = (even && row->m_Skill[5] != 0) ? row->m_Skill[5] : row->m_Skill[4];
    }
}

void ZorTaskUnitEntity::ClearBattleState()
{
    m_ArrangeTimeLeft = 0;
    m_CreateTimeLeft = 0;
    m_AppearTimeLeft = 0;
    m_DisappearTimeLeft = 0;
    m_MovePath.clear();
    m_MoveTargetDetailPosX = -1;
    m_MoveTargetDetailPosY = -1;
    for (SkillSlot& s : m_Skills)
        s.m_ChargeTime = 0;
    m_SkillCoolingTime = 0;
    m_UnitPhase = 0;
    m_UsingSkillID = 0;
    m_TargetTaskID = 0;
    m_MotionIndex = 0;
    m_MotionTime = 0;
}

void ZorTaskUnitEntity::InitAsFirstReadyUnit()
{
    ZorUnitRecord record;
    record.m_UnitID = 12;
    record.m_Level = 1;
    InitFromRecord(record);
    m_Skills[4].m_SkillID = 0;
    ChooseSkills(m_Level);
}

void ZorTaskUnitEntity::InitFromRecord(const ZorUnitRecord& record)
{
    m_PlayerFlag = 1;
    m_UnitID = record.m_UnitID;
    m_Level = record.m_Level;
    m_Exp = 0;
    m_RoughPosX = m_RoughPosY = -1;
    m_DetailPosX = m_DetailPosY = -1;
    m_SlotIndex = -1;
    ClearBattleState();
    const DBZorUnitData* row = Row(m_UnitID);
    for (int32_t i = 0; i < 4; ++i)
        m_Skills[i].m_SkillID = row->m_Skill[i];
    m_Skills[4].m_SkillID = record.m_Skills[4].m_SkillID;
    m_HP = GetMaxHP();
}

void ZorTaskUnitEntity::RemoveFromMap()
{
    m_RoughPosX = m_RoughPosY = -1;
    m_DetailPosX = m_DetailPosY = -1;
    m_SlotIndex = -1;
    ClearBattleState();
    m_ArrangeTimeTotal = 0;
    m_CreateTimeTotal = 0;
    m_ShowDir = 0;
}

void ZorTaskUnitEntity::ResetForBattle()
{
    ClearBattleState();
    SetFrameCount(0);
    if (!IsTrap())
        m_HP = GetMaxHP();
    std::fill(std::begin(m_RemainTime), std::end(m_RemainTime), 0);
    m_FieldPos = -1;
    m_FieldIndex = 0;
    m_WorldPos = GxVector3();
}

bool ZorTaskUnitEntity::Save(GxContentWriterBase* writer)
{
    if (!writer)
        return false;
    const bool fields = SaveFields(*writer);
    return GxTaskBase::Save(writer) && fields;
}

bool ZorTaskUnitEntity::Load(GxContentReaderBase* reader)
{
    if (!reader)
        return false;
    bool refused = false;
    LoadFields(*reader, kMaxRecordCount, refused);
    return GxTaskBase::Load(reader) && !refused;
}

bool ZorTaskUnitEntity::SaveRoundRecord(GxContentWriterBase* writer)
{
    return writer && SaveRound(*writer);
}

bool ZorTaskUnitEntity::LoadRoundRecord(GxContentReaderBase* reader)
{
    if (!reader)
        return false;
    LoadRound(*reader);
    return reader->GetErrorCount() == 0;
}
