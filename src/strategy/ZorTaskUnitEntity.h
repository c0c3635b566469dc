#pragma once

#include "strategy/ZorUnitRecord.h"
#include "task/GxTaskBase.h"

#include <cstdint>

class ZorUserData;

// One unit of the strategy game (a defender, a trap or an invader) as a task in one of the unit lists.
// The task has no behaviour of its own: ZorCore drives it. Its stored fields are the ZorUnitRecord; the
// task adds its state and ID, which close the full record.
class ZorTaskUnitEntity : public GxTaskBase, public ZorUnitRecord
{
public:
    static constexpr int32_t kTrapClass = 20;

    // Suspended from birth so the task walks leave it to the core; mouse and key input pass it by.
    explicit ZorTaskUnitEntity(GxTaskBase* parent);
    ~ZorTaskUnitEntity() override = default;

    // The first unit of a new game: unit 12, level 1, full HP, in the ready list.
    void InitAsFirstReadyUnit();
    // A carried-over unit: kind and level from the record, skill slots 0-3 from the table, slot 4 kept.
    void InitFromRecord(const ZorUnitRecord& record);
    void ChooseSkills(int32_t level);
    void RemoveFromMap();
    void ResetForBattle();

    bool IsTrap() const;
    float GetLevelFactor() const;
    // trunc((1 + (level - 1) / 5) x HPMax), plus 10 per reinforcement of the class for a player unit.
    int32_t GetMaxHP() const;

    // The full record: the fields, then the task's "m_GlobalState" and "m_TaskID".
    bool Save(GxContentWriterBase* writer) override;
    bool Load(GxContentReaderBase* reader) override;
    virtual bool SaveRoundRecord(GxContentWriterBase* writer);
    virtual bool LoadRoundRecord(GxContentReaderBase* reader);

    // Being removed: deletion was asked for and the next sweep deletes the task.
    bool IsBeingRemoved() const { return IsDead(); }

private:
    void ClearBattleState();
};
