#pragma once
// The expression machine: runs the opcode list of a worker's top frame on the worker's value stack,
// finding and creating variables through the worker's lookup and calling builtins through the one
// builtin object.

#include "script/GxMoaVariable.h"

#include <cstdint>
#include <string>

class GxMoa;
class GxMoaBuiltinBase;
class GxMoaExecStackElement;
class GxMoaScript;
class GxMoaWorker;

class GxMoaMachine
{
public:
    // Runs the top frame's list from its m_OpcodePos to the end: 1 when it ran to the end (or a
    // builtin removed the frame it ran on, which ends the run), 0 when it stopped on an error (reported).
    static int Exec_Opcode(GxMoaBuiltinBase* builtin, GxMoaScript* script, GxMoa* moa, GxMoaWorker* worker,
                           bool warnOnCreate);
    // Pushes a copy of the value; a value of type Opcode is refused (reported, false).
    static bool Exec_PushStack(GxMoa* moa, GxMoaScript* script, GxMoaWorker* worker, const GxMoaVariable& value);

    // Reports through the runtime with the script's name ("*" without one) and the top frame's line.
    static void Exec_Error(GxMoa* moa, const GxMoaScript* script, const GxMoaWorker* worker, const wchar_t* message,
                           int32_t pc);
    static void Exec_Warning(GxMoa* moa, const GxMoaScript* script, const GxMoaWorker* worker, const wchar_t* message,
                             int32_t pc);
    static void Exec_BuiltinError(GxMoa* moa, const GxMoaScript* script, const GxMoaWorker* worker,
                                  const wchar_t* message, const std::wstring& name);

    // The frame's script: the one it already has, else its entity's, else the runtime's script of its
    // name (kept in the frame once found). Null when none has it.
    static GxMoaScript* FindFrameScript(GxMoa* moa, GxMoaExecStackElement* frame);
    // The frame, when it is still on the worker's stack as the same frame (address and serial).
    static GxMoaExecStackElement* FindFrame(GxMoaWorker* worker, const GxMoaExecStackElement* frame, uint64_t serial);
};
