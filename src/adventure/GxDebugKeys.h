#pragma once

#include <cstdint>
#include <string>

class GxCore;
class GxMoa;
class GxMoaWorker;
class GxSystemConfig;
class GxTaskManage;

// The developer's keys that work on every screen while DebugModeFlag is set, the two variable dumps
// they write into the save folder, and the rule for when the debug overlay is drawn. The system
// sequence hands its key presses to OnKey and asks ShouldDrawOverlay from its draw.
//
//   F1   "vardump.txt": the main worker's variables and execution stack
//   F2   "vardump_extern.txt": the runtime's own (global and extern) variables
//   F8   the on-screen console and overlay on or off (DebugConsoleFlag)
//   F11  the current script line in the text editor
class GxDebugKeys
{
public:
    static constexpr uint32_t kKeyF1 = 0x70;
    static constexpr uint32_t kKeyF2 = 0x71;
    static constexpr uint32_t kKeyF8 = 0x77;
    static constexpr uint32_t kKeyF11 = 0x7A;

    // Acts on the four keys in debug mode; never takes the key (always false), so other key listeners
    // still see it.
    static bool OnKey(GxCore* core, uint32_t key);

    // "Sequence:<name>(<param0>,<param1>):<YYYY/MM/DD hh:mm:ss>\n" for the current sequence at the time.
    static std::wstring DumpHeader(const GxTaskManage* tasks, int64_t time);
    // Write the dump files into the save folder and log the line; false when nothing was written.
    static bool WriteWorkerDump(GxCore* core, const GxMoaWorker* worker);
    static bool WriteRuntimeDump(GxCore* core, const GxMoa* moa);

    // F11's target: the full path of the worker's current script in the script folder and its line (at
    // least 1, one more after the runtime halted on an error). False when no script runs.
    static bool GetEditorTarget(const GxSystemConfig* config, const GxMoaWorker* worker, const GxMoa* moa,
                                std::wstring& path, int32_t& line);

    // The overlay shows while the console is switched on, or once an error has been logged and either
    // slight errors are not skipped or the script halted on an error.
    static bool ShouldDrawOverlay(const GxSystemConfig* config, const GxMoa* moa);
};
