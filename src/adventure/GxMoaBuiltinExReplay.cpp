// The replay and gallery record builtins of GxMoaBuiltinEx.
#include "adventure/GxMoaBuiltinCall.h"
#include "adventure/GxMoaBuiltinEx.h"

// FIXME: the replay and gallery record bodies are not built yet; every name of the family fails with a script error.
bool GxMoaBuiltinEx::CallReplay(GxMoaBuiltinCall& call)
{
    return call.Fail(L"この組み込み関数はまだ使えません");
}
