// The message and text builtins of GxMoaBuiltinEx.
#include "adventure/GxMoaBuiltinCall.h"
#include "adventure/GxMoaBuiltinEx.h"

// FIXME: the message and text bodies are not built yet; every name of the family fails with a script error.
bool GxMoaBuiltinEx::CallMessage(GxMoaBuiltinCall& call)
{
    return call.Fail(L"この組み込み関数はまだ使えません");
}
