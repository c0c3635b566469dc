// The strategy game's "zor_" builtins of GxMoaBuiltinEx (two getters are answered by the dispatch).
#include "adventure/GxMoaBuiltinCall.h"
#include "adventure/GxMoaBuiltinEx.h"

// FIXME: the strategy game's builtins come with its rules; until then each fails with a script error.
bool GxMoaBuiltinEx::CallStrategy(GxMoaBuiltinCall& call)
{
    return call.Fail(L"この組み込み関数はまだ使えません");
}
