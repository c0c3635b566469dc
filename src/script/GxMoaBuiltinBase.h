#pragma once
// The builtin interface of the script runtime: every builtin call of a script arrives at Call with the
// builtin's name and index, the arguments as one Array (element 0 the first argument), the calling
// worker, the script of its top frame, its execution stack and a result that starts as Null.
// True: the call was handled and the result is the call's value. False: the call failed and the
// runtime stops the script.

#include "script/GxMoaExecStackElement.h"

#include <cstdint>
#include <string>

class GxMoaScript;
class GxMoaVariable;
class GxMoaWorker;

class GxMoaBuiltinBase
{
public:
    virtual ~GxMoaBuiltinBase() = default;

    // The base knows no builtin.
    virtual bool Call(const std::wstring& name, int32_t index, GxMoaVariable& args, GxMoaWorker* worker,
                      GxMoaScript* script, GxMoaExecStack& execStack, GxMoaVariable& result)
    {
        (void)name, (void)index, (void)args, (void)worker, (void)script, (void)execStack, (void)result;
        return false;
    }
};
