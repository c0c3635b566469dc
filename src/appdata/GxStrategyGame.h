#pragma once
// What the adventure front end needs of the strategy game: its half of every save, its reset when the
// title comes up or a save is loaded, and the bodies of the story script's "zor_" builtins. The front end
// sits below the strategy game and never names it; the strategy game implements this and the program's
// start-up registers it, so the front end works the same with or without the strategy game linked in.

#include <cstdint>
#include <string>

class GxBinBuffer;
class GxMoaVariable;

class GxStrategyGame
{
public:
    virtual ~GxStrategyGame() = default;

    // The registered game, or null.
    static GxStrategyGame* Find();
    // The registered game while it is running (its state exists), or null: saves and loads carry a
    // strategy half only then.
    static GxStrategyGame* Running();
    // Registers the game (null to withdraw it).
    static void Register(GxStrategyGame* game);

    virtual bool IsRunning() const = 0;

    // The save's strategy half, with the refusals and log lines of the game's own file reader and writer.
    virtual bool WriteGameData(std::string& bytes, bool binary, const std::wstring& path) = 0;
    virtual bool CheckGameData(const GxBinBuffer& buffer, const std::wstring& path) = 0;
    virtual bool LoadGameData(const GxBinBuffer& buffer, const std::wstring& path) = 0;

    // Before a save is put in place: the campaign's units and the game's state reset, the dungeon's models
    // and unit animations given back.
    virtual void ResetForLoad() = 0;
    // When the title comes up: as ResetForLoad while the game runs, with the first units put into the ready
    // list when the strategy screen has one; the models and animations are given back either way.
    virtual void ResetForTitle(int32_t firstUnits) = 0;

    // A "zor_" builtin of the story script (false for an unknown name or a failing builtin).
    virtual bool CallBuiltin(const std::wstring& name, GxMoaVariable& args, GxMoaVariable& result) = 0;
    // The two values the builtin dispatcher answers itself; false while the game holds no state.
    virtual bool GetLeadershipBase(int32_t& value) const = 0;
    virtual bool GetNextInvTownID(int32_t& row) const = 0;
};
