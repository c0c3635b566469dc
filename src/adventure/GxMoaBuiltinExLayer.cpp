// The layer and character builtins of GxMoaBuiltinEx.
#include "adventure/GxMoaBuiltinCall.h"
#include "adventure/GxMoaBuiltinEx.h"

// FIXME: the layer and character bodies are not built yet; every name of the family fails with a script error.
bool GxMoaBuiltinEx::CallLayer(GxMoaBuiltinCall& call)
{
    return call.Fail(L"この組み込み関数はまだ使えません");
}
