// Shared main for every test program: GoogleTest with the C locale pinned to something other than
// "C" where the machine has one, so tests notice code that leans on the process locale.
#include "core/GxLog.h"
#include "core/GxString.h"
#include "game/GxGameRoot.h"
#include "support/KvFolderGuard.h"

#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <clocale>
#include <cstdio>
#include <dlfcn.h>
#include <iostream>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace
{

// The engine's logs, for the cases that do not point them elsewhere: a folder of the process's own,
// removed when it ends, rather than files in the working folder that every run of the suite adds to. A
// process killed by the runner's time limit runs no exit handler: its guard's watcher removes the folder.
std::string s_LogFolder;
pid_t s_LogOwner = 0;
// Never destroyed: a child forked for a death test leaves without touching its parent's watcher.
KvFolderGuard* s_LogGuard = nullptr;

void RemoveLogFolder()
{
    // A child forked for a death test leaves by exit too: the folder is its parent's.
    if (s_LogFolder.empty() || getpid() != s_LogOwner)
        return;
    std::error_code error;
    std::filesystem::remove_all(s_LogFolder, error);
    s_LogFolder.clear();
    if (s_LogGuard)
        s_LogGuard->Release();
}

void UseOwnLogFolder()
{
    std::string pattern = "/tmp/kvlogs-XXXXXX";
    if (!mkdtemp(pattern.data()))
        return;
    s_LogFolder = pattern;
    s_LogOwner = getpid();
    s_LogGuard = new KvFolderGuard(s_LogFolder);
    std::atexit(RemoveLogFolder);
    GxLog::SetErrorLogPath(GxString::FromUtf8(s_LogFolder + "/error.log"));
    GxLog::SetDebugLogPath(GxString::FromUtf8(s_LogFolder + "/debug.log"));
    GxLog::SetDeviceLogPath(GxString::FromUtf8(s_LogFolder + "/device.log"));
}

} // namespace

int main(int argc, char** argv)
{
    // Headless by default: a real OpenGL context on llvmpipe and no sound device.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("KV_TOOLS_DIR", KV_TOOLS_DIR_DEFAULT, 0);
    setenv("KV_SOURCE_DIR", KV_SOURCE_DIR_DEFAULT, 0);
    setenv("KV_GAME_EXE", KV_GAME_EXE_DEFAULT, 0);
    // Nothing a test does may show on the display of whoever runs the suite: a message box there waits
    // for a click that never comes. The cases that need a real X server start one of their own
    // (KvXServer), which names itself in DISPLAY; the programs the tests start inherit the environment.
    for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET"})
        unsetenv(display);

    // Mesa unloads its driver when the last context goes, after which a leak report inside the
    // driver has no module to name and cannot be suppressed. Keeping the driver mapped for the life
    // of the process lets the suppression list attribute those reports.
    for (const char* library : {"/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", "libEGL.so.1", "libEGL_mesa.so.0",
                                "libGL.so.1", "libGLX_mesa.so.0", "libgbm.so.1"})
        dlopen(library, RTLD_LAZY | RTLD_LOCAL | RTLD_NODELETE);

    // Every core a test starts runs the game's start-up and shut-down, as the program's does.
    GxGameRoot::Install();

    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        std::setlocale(LC_ALL, "C.UTF-8");
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the cases (as CTest does before a run) logs nothing.
    if (!GTEST_FLAG_GET(list_tests))
        UseOwnLogFolder();
    const int result = RUN_ALL_TESTS();

    // A process that opened a window or a GL context ends here, without the exit-time leak check:
    // llvmpipe's worker threads are still winding down then, and LeakSanitizer's thread walk can crash
    // on them. Processes that never touched the video subsystem keep the full check.
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0)
    {
        std::cout.flush();
        std::fflush(nullptr);
        RemoveLogFolder();
        _exit(result);
    }
    return result;
}
