// The wait builtins of GxMoaBuiltinEx.
#include "adventure/GxMoaBuiltinCall.h"
#include "adventure/GxMoaBuiltinEx.h"

// FIXME: the wait bodies are not built yet; every name of the family fails with a script error.
bool GxMoaBuiltinEx::CallWait(GxMoaBuiltinCall& call)
{
    return call.Fail(L"この組み込み関数はまだ使えません");
}
