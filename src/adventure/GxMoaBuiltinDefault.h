#pragma once

#include "script/GxMoaBuiltinBase.h"

// The engine's general-purpose builtins, addressed by index (1 to 299); the adventure dispatch hands
// every index of that range here except 6 and 7.
// FIXME: only the class stands so far; no index is answered yet (every call fails).
class GxMoaBuiltinDefault : public GxMoaBuiltinBase
{
public:
    bool Call(const std::wstring& name, int32_t index, GxMoaVariable& args, GxMoaWorker* worker, GxMoaScript* script,
              GxMoaExecStack& execStack, GxMoaVariable& result) override;
};
