#pragma once

// Reads the saves of a program run by a core of the test's own process, with the run's own strategy
// tables (unit, skill, facility, enemy and town rows from its data folder): the tables are loaded while
// the reader lives and reset when it goes. Its task tree holds the three unit lists and any extra ones
// named (the take-over screen's saved units, which a round file fills).

#include "strategy/ZorCore.h"
#include "task/GxTaskManage.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

class GameRun;
class GxTaskBase;
class ZorRoundData;
class ZorUserData;

class ZorSaveReader
{
public:
    explicit ZorSaveReader(const GameRun& run, std::initializer_list<const wchar_t*> extraLists = {});
    ~ZorSaveReader();
    ZorSaveReader(const ZorSaveReader&) = delete;
    ZorSaveReader& operator=(const ZorSaveReader&) = delete;

    // A save of the run's save folder, read over a new game; false when the core refuses it.
    bool Load(const std::string& file);
    // A round file of the run's save folder, read over a new game; false when refused.
    bool LoadRound(ZorRoundData& round, const std::string& file);

    ZorUserData& Data() const { return *m_Core->GetUserData(); }
    // The first task of a list of the tree (walk it by its siblings); null when the list is empty.
    GxTaskBase* First(const wchar_t* list);
    // The task IDs of a list, in its order.
    std::vector<int64_t> TaskIDs(const wchar_t* list);

private:
    std::string m_SaveDir;
    GxTaskManage m_Manage;
    std::unique_ptr<ZorCore> m_Core; // goes before the tree it works on
};
