#pragma once

#include "core/GxVector3.h"
#include "strategy/ZorMovePathElement.h"

#include <cstdint>
#include <deque>
#include <vector>

class GxContentReaderBase;
class GxContentWriterBase;

// The stored fields of one unit (ZorTaskUnitEntity adds the task around them), in the order of the
// unit's full saved record. Kept apart from the task so a file can be read and checked completely before
// any unit task is touched.
struct ZorUnitRecord
{
    static constexpr int32_t kSkillSlots = 6;
    static constexpr int32_t kStatuses = 6;
    // No unit needs more room-flag words (100 rooms) or route steps (1600 cells) than this.
    static constexpr uint32_t kMaxRecordCount = 1600;
    // The highest level, experience and hit points a record may hold: far above what play reaches, low
    // enough that the maximum hit points (up to 200 times a row's) and the experience sums stay in range.
    static constexpr int32_t kMaxLevel = 999;
    static constexpr int32_t kMaxExp = 99999999;
    static constexpr int32_t kMaxHP = 99999999;

    struct SkillSlot
    {
        int32_t m_SkillID = 0;
        int32_t m_ChargeTime = 0;
    };

    uint8_t m_PlayerFlag = 0;
    int32_t m_UnitID = 0;
    int32_t m_Level = 1;
    int32_t m_Exp = 0;
    int32_t m_HP = 10;
    int32_t m_ArrangeTimeLeft = 0;
    int32_t m_ArrangeTimeTotal = 0;
    int32_t m_CreateTimeLeft = 0;
    int32_t m_CreateTimeTotal = 0;
    int32_t m_AppearTimeLeft = 0;
    int32_t m_AppearTimeTotal = 30;
    int32_t m_DisappearTimeLeft = 0;
    int32_t m_DisappearTimeTotal = 30;
    float m_VisualHeight = 0.0f;
    int32_t m_RoughPosX = -1;
    int32_t m_RoughPosY = -1;
    int32_t m_DetailPosX = -1;
    int32_t m_DetailPosY = -1;
    int32_t m_SlotIndex = -1;
    int32_t m_ExceedGauge = 0;
    SkillSlot m_Skills[kSkillSlots];
    int32_t m_SkillCoolingTime = 0;
    int32_t m_RemainTime[kStatuses] = {};
    int32_t m_UnitPhase = 0;
    int32_t m_UsingSkillID = 0;
    int64_t m_TargetTaskID = 0;
    int32_t m_FieldPos = -1;
    int32_t m_FieldIndex = 0;
    GxVector3 m_WorldPos;
    int32_t m_EnemyPartyID = 0;
    uint8_t m_EnemyLeaderFlag = 0;
    int32_t m_AIType = 0;
    int32_t m_AICount = 15;
    std::vector<uint32_t> m_RoomFlags; // bit n (room rx + rz x 10) in word n / 32
    std::deque<ZorMovePathElement> m_MovePath;
    int32_t m_MoveTargetDetailPosX = -1;
    int32_t m_MoveTargetDetailPosY = -1;
    int32_t m_MotionIndex = 0;
    int32_t m_MotionTime = 0;
    int32_t m_ShowDir = 0;

    // Everything of the full record but the task's state and ID, which the task itself writes last.
    bool SaveFields(GxContentWriterBase& writer) const;
    // Reads the same values. The room-flag and path counts are checked against maxCount (the caller's
    // bound from the bytes left); a larger count sets refused and stops reading the record.
    void LoadFields(GxContentReaderBase& reader, uint32_t maxCount, bool& refused);

    // The short record of the take-over file.
    bool SaveRound(GxContentWriterBase& writer) const;
    void LoadRound(GxContentReaderBase& reader);

    // The least bytes the fields of a full record (LoadFields, no flag words and no route) and of a short
    // one take in the reader's form: what a count of records is held to.
    static uint64_t LeastFieldsSize(const GxContentReaderBase& reader);
    static uint64_t LeastRoundSize(const GxContentReaderBase& reader);

    // Unit, skill and room indexes within the tables and the grids, and level, experience and hit points
    // within their bounds; false after a log line.
    bool CheckIndexes() const;
};
