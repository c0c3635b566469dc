#pragma once

#include "strategy/ZorUnitRecord.h"
#include "strategy/ZorUnitStatus.h"
#include "task/GxTaskBase.h"

#include <cstdint>

class ZorCore;
struct DBZorSkillData;
class ZorUserData;
struct ZorReward;
struct ZorRoomState;

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

    // An invader of an arriving party: room and cell from the room's centre and the slot's step.
    void InitAsPlayerUnit(int32_t unitID, int32_t level, int32_t rx, int32_t rz, int32_t slot);
    void InitAsEnemyUnit(int32_t unitID, int32_t level, int32_t rx, int32_t rz, int32_t slot, int32_t aiType,
                         int32_t delay);
    void PlaceInRoom(int32_t rx, int32_t rz, int32_t slot);
    // An enemy of the invasion field at slot i of the enemy formation.
    void InitAsFieldEnemy(int32_t unitID, int32_t level, int32_t slot);
    void ResetForField();
    void RandomizeTimers();

    bool IsTrap() const;
    float GetLevelFactor() const;
    // trunc((1 + (level - 1) / 5) x HPMax), plus 10 per reinforcement of the class for a player unit.
    int32_t GetMaxHP() const;
    // trunc(level factor x ATK), plus 3 per reinforcement of the class for a player unit.
    int32_t GetAttack() const;
    // Not being removed, no timer left before or after its presence, HP above 0.
    bool IsUnitActive() const;
    bool NeedsRecovery() const;
    float GetExpRate() const;
    float GetAppearRate() const;
    bool HasSkillSpecialType(int32_t code) const;
    bool IsStatusOn(int32_t status) const { return status >= 0 && status < kStatuses && m_RemainTime[status] > 0; }
    // The room record the unit stands in by m_RoughPos; null off the map.
    ZorRoomState* GetRoom() const;
    GxVector4 GetWorldPos() const override;
    bool IsAtDetailPos(int32_t x, int32_t z) const;
    void SetRoomFlag(int32_t n);
    bool HasRoomFlag(int32_t n) const;

    bool ApplyStatus(int32_t status, int32_t duration);
    // The status a special effect gives by the status rules (nothing for any other effect).
    void ApplyEffectStatus(int32_t effect, ZorBattleGround ground);
    int32_t DrainSealedCharges();
    bool FindPathTo(int32_t x, int32_t z);
    bool StartSkill(int32_t skill, int64_t target);
    // The cut-in effect and voice of a skill just started, the same on the map and on the field.
    void AnnounceSkill(const DBZorSkillData& skill) const;
    // Returns true when the unit fell.
    bool TakeDamage(int32_t amount, ZorReward& reward, bool kill, bool hitByTrap);
    int32_t CalcExpGain(const ZorTaskUnitEntity& target, int32_t amount, const ZorRoomState* room) const;
    bool AddExp(int32_t gain);

    // Per-tick steps run by the core.
    void UpdateCreateTimer();
    void UpdateDefence();
    void UpdateHitPoints();
    void UpdateRecovery();
    // The invasion-field variants (ZorTaskUnitEntityField.cpp).
    void UpdateField();
    void UpdateFieldHitPoints();
    bool TakeFieldDamage(int32_t amount, ZorReward& reward);

    // The full record: the fields, then the task's "m_GlobalState" and "m_TaskID".
    bool Save(GxContentWriterBase* writer) override;
    bool Load(GxContentReaderBase* reader) override;
    virtual bool SaveRoundRecord(GxContentWriterBase* writer);
    virtual bool LoadRoundRecord(GxContentReaderBase* reader);

    // Being removed: deletion was asked for and the next sweep deletes the task.
    bool IsBeingRemoved() const { return IsDead(); }

private:
    void ClearBattleState();
    void PlaceAt(int32_t rx, int32_t rz, int32_t slot);
    // m_VisualHeight from the standing figure's bounds (its vertical extent / 3.5); traps on the
    // defence map are lifted 20 more.
    void MeasureVisualHeight(bool trapLift);
    void UpdateEnemyMove();
    void ChooseNextGoal();
    void WanderInRoom();
    void SelectSkill();
    void UpdateSkillMotion();
    void ApplySkillHit(ZorTaskUnitEntity* target, ZorReward& reward);
    void ApplyHeal(ZorTaskUnitEntity* target);
    // Fall or flee of a player unit at HP 0 (a trap always falls).
    void SurvivalRoll();
    void SelectFieldSkill();
    void UpdateFieldSkillMotion();
    void ApplyFieldSkillHit(ZorTaskUnitEntity* target, ZorReward& reward);
    void ApplyFieldHeal(ZorTaskUnitEntity* target);
    ZorRoomState* GetFormation() const;
    void FallOnField();
    void Voice(int32_t first, int32_t count, int32_t percent) const;
};
