#pragma once

#include "appdata/GxStrategyGame.h"

// The strategy game as the adventure front end sees it (GxStrategyGame): each operation goes to the game
// core of the moment (ZorCore::GetInstance, which comes and goes with the game's start-up and shut-down),
// its pools and its script builtins. The program's start-up registers the one instance.
class ZorStrategyGame final : public GxStrategyGame
{
public:
    static ZorStrategyGame& Get();

    bool IsRunning() const override;
    bool WriteGameData(std::string& bytes, bool binary, const std::wstring& path) override;
    bool CheckGameData(const GxBinBuffer& buffer, const std::wstring& path) override;
    bool LoadGameData(const GxBinBuffer& buffer, const std::wstring& path) override;
    void ResetForLoad() override;
    void ResetForTitle(int32_t firstUnits) override;
    bool CallBuiltin(const std::wstring& name, GxMoaVariable& args, GxMoaVariable& result) override;
    bool GetLeadershipBase(int32_t& value) const override;
    bool GetNextInvTownID(int32_t& row) const override;
};
