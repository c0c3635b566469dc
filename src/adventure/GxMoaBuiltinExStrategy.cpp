// The strategy game's "zor_" builtins of GxMoaBuiltinEx (two getters are answered by the dispatch): the
// bodies live with the strategy game's rules.
#include "adventure/GxMoaBuiltinCall.h"
#include "adventure/GxMoaBuiltinEx.h"
#include "strategy/ZorScriptBuiltins.h"

bool GxMoaBuiltinEx::CallStrategy(GxMoaBuiltinCall& call)
{
    return ZorScriptBuiltins::Call(call.m_Name, call.m_Args, call.m_Result);
}
