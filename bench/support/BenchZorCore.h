#pragma once

#include "strategy/ZorCore.h"
#include "task/GxTaskManage.h"

#include <initializer_list>
#include <memory>
#include <utility>

class GxDBBase;
class GxTaskBase;

// A strategy core on a task manager of its own, with the defence screen's three unit lists (and any
// other lists asked for) under one root: what the strategy benchmarks build over the sample game.
struct BenchZorCore
{
    GxTaskManage manage;
    GxTaskBase* root = nullptr;
    std::unique_ptr<ZorCore> core;

    explicit BenchZorCore(std::initializer_list<const wchar_t*> moreLists = {});

    // Loads each table from its file of the sample game ("data/db_zorunit.txt").
    static void LoadTables(std::initializer_list<std::pair<GxDBBase*, const char*>> tables);
    // Loads the sample game's maps into the map slots.
    static void LoadMaps();
    // Skips battle effects, special effects and voices, which need the screens.
    void SkipPresentation();
    // A fresh defence stage with the random stream seeded alike every time: the first map extended to
    // its last level, resources plenty, no end in sight; every dug room's five slots hold a defender
    // (ready at the next tick), then invaders fill the dug rooms up to `units` units in all.
    void StartFullStage(int units);
};
