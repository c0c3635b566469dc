#pragma once

#include "core/GxVector4.h"
#include "strategy/ZorGeometry.h"
#include "strategy/ZorRulesListener.h"
#include "strategy/ZorUnitRecord.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class GxBinBuffer;
class GxCore;
class GxTaskBase;
class GxTaskManage;
class ZorRoundData;
class ZorTaskCamera;
class ZorTaskUnitEntity;
class ZorUserData;
struct ZorNextEnemy;
struct ZorRoomState;

// A fallen invader's resource reward, and the damage dealt while it was gathered.
struct ZorReward
{
    int32_t bone = 0;
    int32_t magic = 0;
    int32_t gold = 0;
    int32_t damage = 0;
};

// The strategy game's core: owns the game state for the life of the program and holds every rule as an
// operation. One instance, made at start-up; units reach it through GetInstance.
//
//   ZorCore.cpp          construction, unit lists, ready-list services, take-over
//   ZorCoreFiles.cpp     save and take-over files
//   ZorCoreTick.cpp      the defence tick, stage set-up and end, effects, log and voices
//   ZorCoreRoster.cpp    resources, building, summoning, placing, falls, rewards, capture
//   ZorCoreCombat.cpp    hit chances, special effects, damage
//   ZorCoreEnemy.cpp     stage difficulty, arrival plan, party spawning
//   ZorCoreTargets.cpp   target and goal searches
//   ZorCoreInvasion.cpp  the invasion field
class ZorCore
{
public:
    // Unit lists of the strategy screens, found by name through the task manager.
    static constexpr const wchar_t* kUnitReadyList = L"$UNITREADY:SeqZorMain";
    static constexpr const wchar_t* kUnitPlayerList = L"$UNITPLAYER:SeqZorMain";
    static constexpr const wchar_t* kUnitEnemyList = L"$UNITENEMY:SeqZorMain";
    static constexpr const wchar_t* kSavedUnitList = L"$SAVEDUNIT:SeqZorTakeOver";
    static constexpr const wchar_t* kInvPlayerList = L"$INVPLAYER:SeqZorInvMain";
    static constexpr const wchar_t* kInvEnemyList = L"$INVENEMY:SeqZorInvMain";
    static constexpr const wchar_t* kEffectLists[4] = {L"$EFFECT:SeqZorMain", L"$EFFECTSTART:SeqZorMain",
                                                       L"$EFFECTEND:SeqZorMain", L"$EFFECTSPECIAL:SeqZorMain"};

    // Take-over choice bits.
    static constexpr uint32_t kChoiceWeeks = 2;
    static constexpr uint32_t kChoiceUnlocks = 4;
    static constexpr uint32_t kChoiceGold = 8;
    static constexpr uint32_t kChoiceLeadership = 16;

    ZorCore(GxCore* core, GxTaskManage* manage);
    ~ZorCore();
    ZorCore(const ZorCore&) = delete;
    ZorCore& operator=(const ZorCore&) = delete;

    // The one core, or null before it is made and after it is gone.
    static ZorCore* GetInstance() { return s_Instance; }
    // Start-up and shut-down of the program's core: made once, owned here, deleted at shut-down.
    static ZorCore* Create(GxCore* core, GxTaskManage* manage);
    static void Destroy();

    ZorUserData* GetUserData() { return m_UserData.get(); }
    const ZorUserData* GetUserData() const { return m_UserData.get(); }
    GxTaskManage* GetTaskManage() const { return m_TaskManage; }
    void SetTaskManage(GxTaskManage* manage) { m_TaskManage = manage; }
    GxTaskBase* FindList(const wchar_t* name) const;
    // The map camera of the screen in use: the invasion screen's in the invasion phases (above 8), else
    // the defence screen's; null when that screen is not built.
    ZorTaskCamera* GetCamera() const;

    // --- files (ZorCoreFiles.cpp) ---
    // The state and the units of the three defence lists; written whole or not at all (false then, the
    // previous file untouched).
    bool SaveGameData(const std::wstring& path, bool binary);
    // The bytes SaveGameData writes, built in memory (path only names the file in log lines), so a slot
    // can commit them together with its adventure file.
    bool WriteGameData(std::string& bytes, bool binary, const std::wstring& path);
    // False, nothing changed, for a file that cannot be read, has another root, is cut short or holds a
    // count or index out of range; false after reading everything when a value had another name or type.
    bool LoadGameData(const std::wstring& path);
    // Reads the file as LoadGameData does and answers whether it would load cleanly, changing nothing:
    // the load screens check a save before they reset the running game for it.
    bool CheckGameData(const std::wstring& path);
    // The same two over a file already read into memory (path only names it in log lines), so a load can
    // check and then apply the very bytes it checked.
    bool LoadGameData(const GxBinBuffer& buffer, const std::wstring& path);
    bool CheckGameData(const GxBinBuffer& buffer, const std::wstring& path);
    // Resources, every kind's level and experience, and the ready units that are not unique; placed
    // player units other than traps are first returned to the ready list.
    bool SaveRoundData(const std::wstring& path, bool binary);
    // Fills the round data and the take-over screen's unit list, with the same refusals as LoadGameData.
    bool LoadRoundData(ZorRoundData& round, const std::wstring& path);

    // --- ready list and take-over (ZorCore.cpp) ---
    // The next unit task ID, counted up.
    int64_t TakeNextUnitTaskID();
    bool AddFirstReadyUnit();
    bool AddReadyUnitFromRecord(const ZorUnitRecord& record);
    bool ReturnAllUnitsToReady();
    // Applies the player's take-over choices with the permanent-progress flags (GxUserDataPerman's
    // m_ExtraOption; none without an engine), then carries the units.
    bool ApplyTakeOver(const std::vector<ZorTaskUnitEntity*>& units, const ZorRoundData& round);
    bool ApplyTakeOver(const std::vector<ZorTaskUnitEntity*>& units, const ZorRoundData& round,
                       uint32_t permanentFlags);

    // Asks every unit of the list to be deleted and sweeps until the list is empty.
    void ClearUnitList(GxTaskBase* list);
    // The unit with the task ID, or null (also for a task that is no unit).
    ZorTaskUnitEntity* FindUnit(int64_t taskID) const;
    // Task IDs of the list's units not being removed, in list order: passes walk this snapshot, since
    // units move between lists and fall during a pass.
    std::vector<int64_t> SnapshotUnits(const wchar_t* list) const;

    // --- settings and the screens' listener ---
    void SetListener(ZorRulesListener* listener) { m_Listener = listener ? listener : &m_NullListener; }
    ZorRulesListener* GetListener() const { return m_Listener; }
    // The user's skip settings (GxUserConfig's m_Game_Skip... when the core has an engine with user
    // settings, else these fields); each also skips the random draws of what it skips.
    bool m_SkipBattleEffect = false;
    bool m_SkipSpecialAttackEffect = false;
    bool m_SkipBattleVoice = false;
    bool SkipBattleEffect() const;
    bool SkipSpecialAttackEffect() const;
    bool SkipBattleVoice() const;

    // --- defence tick (ZorCoreTick.cpp) ---
    int32_t UpdateDefence(int32_t ticks);
    int32_t CheckDefenceEnd() const;
    void StartDefenceEffect();
    void DefenceVictory();
    void DefenceDefeat();
    bool DamageMaster(int32_t damage);
    void ResetGame();
    void BeginDefence();
    void EndDefence();
    void ClearCampaignTasks();
    void AddTextLog(const ZorRoomState* room, const std::wstring& text);
    void ShowEffect(const wchar_t* name, const GxVector4& position, float param);
    void ShowSpecialEffect(const std::wstring& file, const std::wstring& group, const std::wstring& motion, float rate);
    bool IsSpecialEffectPlaying() const;
    void PlayVoice(int32_t row, int32_t first, int32_t count, int32_t percent);
    void UpdateRooms();
    void UpdateRoomEffects();
    void UpdateReadyUnits();
    void UpdatePlayerUnits();
    void UpdateEnemyUnits();
    // Floor of a room (0 on the first floor) and its number on that floor, from its map definition.
    static int32_t GetRoomFloor(const ZorRoomState* room);

    // --- roster and economy (ZorCoreRoster.cpp) ---
    int32_t AddBone(int32_t amount, bool show);
    int32_t AddMagic(int32_t amount, bool show);
    int32_t AddGold(int32_t amount, bool show);
    int32_t TakeGold(int32_t amount);
    int32_t GetStructCostBone(int32_t structID) const;
    int32_t GetStructCostMagic(int32_t structID) const;
    int32_t GetStructCostGold(int32_t structID, int32_t extra, int32_t floor) const;
    bool BuildStruct(int32_t structID, int32_t rx, int32_t rz);
    bool SummonUnit(int32_t rx, int32_t rz, int32_t slot, int32_t unitID);
    bool ArrangeUnit(int64_t taskID, int32_t rx, int32_t rz, int32_t slot);
    bool ReturnUnitToReady(int64_t taskID);
    bool RetreatUnit(int64_t taskID);
    bool DisposeUnit(int64_t taskID);
    bool KillPlayerUnit(int64_t taskID);
    bool KillEnemyUnit(int64_t taskID);
    bool RemoveEnemyUnit(int64_t taskID);
    void AddDefeatReward(ZorReward& out, const ZorTaskUnitEntity& unit, const ZorRoomState* room) const;
    bool CheckCapture(const ZorTaskUnitEntity& unit, const ZorRoomState* room);
    bool HasActiveUnitOfType(const ZorRoomState* room, int32_t unitID) const;

    // --- combat (ZorCoreCombat.cpp) ---
    bool CheckTrapHit(int32_t skill, const ZorRoomState* room, const ZorTaskUnitEntity& target);
    bool CheckUnitHit(int32_t skill, const ZorTaskUnitEntity& target, const ZorTaskUnitEntity& attacker);
    int32_t RollSpecialEffect(int32_t skill, const ZorTaskUnitEntity& target);
    int32_t CalcTrapDamage(int32_t skill, const ZorRoomState* room, const ZorTaskUnitEntity& target,
                           const ZorTaskUnitEntity& trap) const;
    int32_t CalcDamage(int32_t skill, const ZorTaskUnitEntity& attacker, const ZorRoomState* room,
                       const ZorTaskUnitEntity& target) const;
    int32_t CalcEnemyDamage(int32_t skill, const ZorTaskUnitEntity& target, const ZorRoomState* room,
                            const ZorTaskUnitEntity& attacker) const;

    // --- enemy parties (ZorCoreEnemy.cpp) ---
    void PlanDefenceInstance();
    void PlanEnemyArrivals(int32_t total);
    int32_t PushNormalParty(int32_t size, bool first);
    int32_t PushRushParty();
    int32_t PushVariantParty();
    int32_t PushBossParty();
    int32_t PushPartyByID(int32_t party);
    int32_t GetPartyLevel(int32_t party, int32_t rank) const;
    bool PickMiddleUniqueParty();
    void UpdateEnemyArrival();
    void SpawnEnemyParty(const ZorNextEnemy& entry);

    // --- targets and goals (ZorCoreTargets.cpp) ---
    int64_t FindNearestEnemyInRoom(const ZorTaskUnitEntity& unit, float range) const;
    int64_t FindNearestPlayerUnitInRoom(const ZorTaskUnitEntity& unit, float range) const;
    int64_t FindNearestTrapInRoom(const ZorTaskUnitEntity& unit, float range) const;
    int64_t FindRandomEnemyInRoom(const ZorTaskUnitEntity& unit) const;
    int64_t FindRandomPlayerUnitInRoom(const ZorTaskUnitEntity& unit) const;
    int64_t FindWeakestEnemyInRoom(const ZorTaskUnitEntity& unit) const;
    int64_t FindWeakestPlayerUnitInRoom(const ZorTaskUnitEntity& unit) const;
    std::vector<int64_t> CollectEnemiesInRoom(const ZorTaskUnitEntity& unit) const;
    std::vector<int64_t> CollectPlayerUnitsInRoom(const ZorTaskUnitEntity& unit) const;
    ZorCell ChooseGoalRoomA(const ZorTaskUnitEntity& unit, float range) const;
    ZorCell ChooseGoalRoomB(const ZorTaskUnitEntity& unit, float range) const;
    bool PickCellInRoom(const ZorRoomState* room, const ZorTaskUnitEntity& unit, ZorCell& cell) const;

    // --- invasion field (ZorCoreInvasion.cpp); formations 0 and 1 the player's, 2 the enemy's ---
    void BeginInvasion();
    bool CreateTownEnemyParty(int32_t town);
    bool AddUnitToField(int64_t taskID, int32_t formation, int32_t slot);
    bool RemoveUnitFromField(int32_t formation, int32_t slot);
    static GxVector4 GetFieldSlotPosition(int32_t slot, int32_t formation);
    void UpdateInvasion();
    void UpdateFormationEffects();
    int32_t CheckInvasionEnd() const;
    bool KillFieldEnemy(int64_t taskID);
    void InvasionVictory();
    void InvasionDefeat();
    void EndInvasion();
    std::vector<int64_t> ChooseFieldEnemyTargets();
    std::vector<int64_t> ChooseFieldPlayerTargets();
    std::vector<int64_t> ChooseWoundedFieldEnemies();
    std::vector<int64_t> ChooseWoundedFieldPlayers();
    int64_t ChooseWeightedFieldTarget(int32_t formation);
    int64_t FindWeakestFieldUnit(int32_t formation) const;

private:
    static ZorCore* s_Instance;
    static std::unique_ptr<ZorCore> s_Owned;

    enum class Side
    {
        Enemy,
        PlayerUnit, // player units other than traps
        Trap,
    };
    std::vector<ZorTaskUnitEntity*> UnitsInRoom(const ZorTaskUnitEntity& unit, Side side) const;
    int64_t FindNearestInRoom(const ZorTaskUnitEntity& unit, float range, Side side) const;
    int64_t FindWeakestInRoom(const ZorTaskUnitEntity& unit, Side side) const;
    ZorCell ChooseGoalRoom(const ZorTaskUnitEntity& unit, float range, bool typeB) const;
    enum class GameDataRead
    {
        CheckOnly,
        Apply,
    };
    bool ReadGameData(const std::wstring& path, GameDataRead mode);
    bool ReadGameData(const GxBinBuffer& buffer, const std::wstring& path, GameDataRead mode);
    void ClearEffects();
    std::vector<ZorTaskUnitEntity*> FieldUnits(int32_t formation, bool woundedOnly) const;
    std::vector<int64_t> PickFieldGroup(std::vector<ZorTaskUnitEntity*> units);
    // Deletes the invaders left on the map; those that had neither fallen nor left give their count back.
    void SweepInvaders();
    void ClosingEffect(const wchar_t* name, int32_t voice, int32_t phase);
    int32_t AddResource(int32_t& stock, int32_t amount, bool show, float x);
    int32_t PushNamedParty(const wchar_t* name, int32_t delay, int32_t low, int32_t high);
    int32_t PickEntrance() const;

    ZorRulesListener m_NullListener;
    ZorRulesListener* m_Listener = &m_NullListener;
    GxCore* m_Core = nullptr;
    GxTaskManage* m_TaskManage = nullptr;
    std::unique_ptr<ZorUserData> m_UserData;
};
