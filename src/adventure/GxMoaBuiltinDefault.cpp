#include "adventure/GxMoaBuiltinDefault.h"

bool GxMoaBuiltinDefault::Call(const std::wstring& name, int32_t index, GxMoaVariable& args, GxMoaWorker* worker,
                               GxMoaScript* script, GxMoaExecStack& execStack, GxMoaVariable& result)
{
    return GxMoaBuiltinBase::Call(name, index, args, worker, script, execStack, result);
}
