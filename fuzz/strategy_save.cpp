// Feeds arbitrary bytes to the strategy game's two files: the slot save ("zordata%03d.gd", through the
// full check and, when that passes, the load into unit lists) and the round file the take-over screen
// reads. The lists exist, so a file that passes the checks builds its units.
#include "FuzzSupport.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorRoundData.h"
#include "strategy/ZorUserData.h"
#include "task/GxTaskBase.h"
#include "task/GxTaskManage.h"

#include <cstdint>
#include <memory>

namespace
{
struct Strategy
{
    Strategy()
    {
        auto* root = new GxTaskBase(&manage);
        for (const wchar_t* name : {ZorCore::kUnitReadyList, ZorCore::kUnitPlayerList, ZorCore::kUnitEnemyList,
                                    ZorCore::kSavedUnitList})
            new GxTaskBase(root, name);
        core = std::make_unique<ZorCore>(nullptr, &manage);
    }
    GxTaskManage manage{nullptr};
    std::unique_ptr<ZorCore> core;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzQuietLogs();
    static const FuzzScratchFile s_File("kv_fuzz_zordata_", ".gd");
    static Strategy* s_Strategy = new Strategy();
    if (!s_File.Write(data, size))
        return 0;
    const std::wstring path = s_File.WidePath();
    s_Strategy->core->GetUserData()->InitNewGame();
    if (s_Strategy->core->CheckGameData(path))
        s_Strategy->core->LoadGameData(path);
    ZorRoundData round;
    s_Strategy->core->LoadRoundData(round, path);
    return 0;
}
