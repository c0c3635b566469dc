#pragma once
// One builtin call as the dispatch hands it to a family of bodies: what the runtime passed, with the
// argument fetch every body shares and the body's error report.

#include "script/GxMoaExecStackElement.h"

#include <cstdint>
#include <string>

class GxMoaScript;
class GxMoaVariable;
class GxMoaWorker;

class GxMoaBuiltinCall
{
public:
    GxMoaBuiltinCall(const std::wstring& name, int32_t index, GxMoaVariable& args, GxMoaWorker* worker,
                     GxMoaScript* script, GxMoaExecStack& execStack, GxMoaVariable& result)
        : m_Name(name), m_Index(index), m_Args(args), m_Worker(worker), m_Script(script), m_ExecStack(execStack),
          m_Result(result)
    {
    }

    // Argument i: null (absent) when the arguments are no Array; otherwise element i, the array first
    // grown with Null values when it is shorter, so a missing argument reads as Null.
    GxMoaVariable* Arg(int32_t i) const;
    // Conversions of argument i; an absent or Null argument gives 0, 0.0 and the empty text.
    int64_t ArgInt64(int32_t i) const;
    int32_t ArgInt(int32_t i) const;
    double ArgFloat(int32_t i) const;
    std::wstring ArgString(int32_t i) const;
    // ArgPresent of argument i: there, not Null and its text not empty (an integer 0 is present).
    bool Has(int32_t i) const;

    // Writes "err:[Script=...]" with the builtin's name and the formatted message through the worker's
    // runtime, then answers false so a body can `return call.Fail(...)`.
    bool Fail(const wchar_t* format, ...) const;

    const std::wstring& m_Name;
    int32_t m_Index;
    GxMoaVariable& m_Args;
    GxMoaWorker* m_Worker;
    GxMoaScript* m_Script;
    GxMoaExecStack& m_ExecStack;
    GxMoaVariable& m_Result;
};
