#include "strategy/ZorStrategyGame.h"

#include "strategy/ZorCore.h"
#include "strategy/ZorMapModelPool.h"
#include "strategy/ZorNcPoolUnit.h"
#include "strategy/ZorScriptBuiltins.h"
#include "strategy/ZorUserData.h"

namespace
{
// The models and animations of the last dungeon; the loader sequence builds them again.
void ReleasePools()
{
    ZorMapModelPool::ReleaseAll();
    ZorNcPoolUnit::ReleaseAll();
}

// The campaign's units (the invasion's and the take-over's too) and the game's state back to the start.
void ResetCore(ZorCore& zor)
{
    zor.ClearCampaignTasks();
    zor.ResetGame();
}

const ZorUserData* State()
{
    const ZorCore* zor = ZorCore::GetInstance();
    return zor ? zor->GetUserData() : nullptr;
}
} // namespace

ZorStrategyGame& ZorStrategyGame::Get()
{
    static ZorStrategyGame s_Game;
    return s_Game;
}

bool ZorStrategyGame::IsRunning() const
{
    return ZorCore::GetInstance() != nullptr;
}

bool ZorStrategyGame::WriteGameData(std::string& bytes, bool binary, const std::wstring& path)
{
    ZorCore* zor = ZorCore::GetInstance();
    return zor && zor->WriteGameData(bytes, binary, path);
}

bool ZorStrategyGame::CheckGameData(const GxBinBuffer& buffer, const std::wstring& path)
{
    ZorCore* zor = ZorCore::GetInstance();
    return zor && zor->CheckGameData(buffer, path);
}

bool ZorStrategyGame::LoadGameData(const GxBinBuffer& buffer, const std::wstring& path)
{
    ZorCore* zor = ZorCore::GetInstance();
    return zor && zor->LoadGameData(buffer, path);
}

void ZorStrategyGame::ResetForLoad()
{
    if (ZorCore* zor = ZorCore::GetInstance())
        ResetCore(*zor);
    ReleasePools();
}

void ZorStrategyGame::ResetForTitle(int32_t firstUnits)
{
    if (ZorCore* zor = ZorCore::GetInstance())
    {
        ResetCore(*zor);
        // The ready list belongs to the strategy screen; without it there is nothing to fill.
        if (zor->FindList(ZorCore::kUnitReadyList))
            for (int32_t i = 0; i < firstUnits; ++i)
                zor->AddFirstReadyUnit();
    }
    ReleasePools();
}

bool ZorStrategyGame::CallBuiltin(const std::wstring& name, GxMoaVariable& args, GxMoaVariable& result)
{
    return ZorScriptBuiltins::Call(name, args, result);
}

bool ZorStrategyGame::GetLeadershipBase(int32_t& value) const
{
    const ZorUserData* state = State();
    if (state)
        value = state->m_Resource_LeadershipBase;
    return state != nullptr;
}

bool ZorStrategyGame::GetNextInvTownID(int32_t& row) const
{
    const ZorUserData* state = State();
    if (state)
        row = state->m_NextInvTownID;
    return state != nullptr;
}
