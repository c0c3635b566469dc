// The screen-effect and movie builtins of GxMoaBuiltinEx.
#include "adventure/GxMoaBuiltinCall.h"
#include "adventure/GxMoaBuiltinEx.h"

// FIXME: the screen-effect and movie bodies are not built yet; every name of the family fails with a script error.
bool GxMoaBuiltinEx::CallScreen(GxMoaBuiltinCall& call)
{
    return call.Fail(L"この組み込み関数はまだ使えません");
}
