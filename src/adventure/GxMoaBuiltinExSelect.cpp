// The choice builtins of GxMoaBuiltinEx.
#include "adventure/GxMoaBuiltinCall.h"
#include "adventure/GxMoaBuiltinEx.h"

// FIXME: the choice bodies are not built yet; every name of the family fails with a script error.
bool GxMoaBuiltinEx::CallSelect(GxMoaBuiltinCall& call)
{
    return call.Fail(L"この組み込み関数はまだ使えません");
}
