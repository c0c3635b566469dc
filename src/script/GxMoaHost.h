#pragma once
// The script host: owns the three process-wide script objects (the runtime, the main worker and the
// builtin dispatcher), runs the script compiler over the "scripts" folder on request, and loads the
// compiled program "bincode/moacode.mwb".

#include <string>

class GxCore;
class GxMoaBuiltinBase;
class GxMoaEx;
class GxMoaWorkerEx;

extern GxMoaEx* g_MoaInstance;
extern GxMoaWorkerEx* g_MoaMainWorker;
extern GxMoaBuiltinBase* g_MoaBuiltin;

// Makes the builtin dispatcher. The adventure subsystem sets it to make its dispatcher; while it is
// unset the host makes a dispatcher that knows no builtin.
using GxMoaBuiltinCreator = GxMoaBuiltinBase* (*)(GxCore* core);
extern GxMoaBuiltinCreator g_MoaBuiltinCreator;

// The compiler's executable name, made a full path against the current folder, and the program file.
inline constexpr const wchar_t* kMoaCompilerName = L"moabuild";
inline constexpr const wchar_t* kMoaCodePath = L"bincode/moacode.mwb";

// Destroys any existing objects, then creates the runtime, the main worker ("MAIN_WORKER") and the
// builtin dispatcher, in this order, and publishes them.
void CreateMoa(GxCore* core);
// Deletes the dispatcher, the main worker and the runtime (each only when it exists).
void DestroyMoa();
// Runs the compiler on "<cwd>/scripts" into "<cwd>/bincode" and waits for it; returns its exit code,
// or 1 when it cannot be started. The compiler is started with an argument vector, never through a
// shell, so no path needs quoting.
int CompileScripts(const std::wstring& compilerName = kMoaCompilerName);
// Loads the compiled program into the runtime and creates the EXTERN, GLOBAL and STATIC variables. A
// missing, empty or damaged file leaves the runtime empty, with a line naming the file.
bool LoadMoaCode(const std::wstring& path = kMoaCodePath);
// True after a LoadMoaCode that could not read the program, until the runtime is made again or a load
// succeeds. The screens that start the story tell the player, since the story has nothing to run.
bool IsMoaCodeUnreadable();
