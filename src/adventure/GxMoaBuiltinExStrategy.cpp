// The strategy game's "zor_" builtins of GxMoaBuiltinEx (two getters are answered by the dispatch): the
// bodies live with the strategy game's rules, reached through GxStrategyGame; with no strategy game
// registered every one is an unknown builtin.
#include "adventure/GxMoaBuiltinCall.h"
#include "adventure/GxMoaBuiltinEx.h"
#include "appdata/GxStrategyGame.h"

bool GxMoaBuiltinEx::CallStrategy(GxMoaBuiltinCall& call)
{
    GxStrategyGame* strategy = GxStrategyGame::Find();
    return strategy && strategy->CallBuiltin(call.m_Name, call.m_Args, call.m_Result);
}
