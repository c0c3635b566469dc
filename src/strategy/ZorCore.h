#pragma once

#include "strategy/ZorUnitRecord.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class GxCore;
class GxTaskBase;
class GxTaskManage;
class ZorRoundData;
class ZorTaskUnitEntity;
class ZorUserData;

// The strategy game's core: owns the game state for the life of the program and holds every rule as an
// operation. One instance, made at start-up; units reach it through GetInstance.
//
//   ZorCore.cpp          construction, unit lists, ready-list services, take-over
//   ZorCoreFiles.cpp     save and take-over files
class ZorCore
{
public:
    // Unit lists of the strategy screens, found by name through the task manager.
    static constexpr const wchar_t* kUnitReadyList = L"$UNITREADY:SeqZorMain";
    static constexpr const wchar_t* kUnitPlayerList = L"$UNITPLAYER:SeqZorMain";
    static constexpr const wchar_t* kUnitEnemyList = L"$UNITENEMY:SeqZorMain";
    static constexpr const wchar_t* kSavedUnitList = L"$SAVEDUNIT:SeqZorTakeOver";

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

    // --- files (ZorCoreFiles.cpp) ---
    // The state and the units of the three defence lists; written whole or not at all (false then, the
    // previous file untouched).
    bool SaveGameData(const std::wstring& path, bool binary);
    // False, nothing changed, for a file that cannot be read, has another root, is cut short or holds a
    // count or index out of range; false after reading everything when a value had another name or type.
    bool LoadGameData(const std::wstring& path);
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
    // Applies the player's take-over choices with the permanent-progress flags, then carries the units.
    // FIXME: permanentFlags is GxUserDataPerman::m_ExtraOption, passed in until that field lands.
    bool ApplyTakeOver(const std::vector<ZorTaskUnitEntity*>& units, const ZorRoundData& round,
                       uint32_t permanentFlags);

    // Asks every unit of the list to be deleted and sweeps until the list is empty.
    void ClearUnitList(GxTaskBase* list);

    // --- new game (ZorCoreReset.cpp) ---
    // Ends the campaign's running tasks: the units of the three defence lists.
    void ClearCampaignTasks();
    // A new game's state: the user data as made at start-up, the unit lists empty.
    void ResetGame();

private:
    static ZorCore* s_Instance;
    static std::unique_ptr<ZorCore> s_Owned;

    GxCore* m_Core = nullptr;
    GxTaskManage* m_TaskManage = nullptr;
    std::unique_ptr<ZorUserData> m_UserData;
};
