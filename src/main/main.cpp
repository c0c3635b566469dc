// Process entry. The program reads no command line: everything it needs comes from the
// installation folder (the current directory) and its settings files.
#include "core/GxCore.h"
#include "core/GxFile.h"
#include "game/GxGameRoot.h"
#include "platform/PfAudioDevice.h"
#include "platform/PfInputScript.h"
#include "platform/PfProcess.h"
#include "platform/PfSignal.h"

int main()
{
    // Blocks of 128 KiB and more (decoded pictures, file buffers, pixel copies) come from the system and go
    // back to it when freed. Left to itself the allocator raises that threshold after the first such block
    // is freed, and later ones then leave resident holes in the heap that raise the program's peak memory.
    PfProcess::SetLargeBlockThreshold(128 * 1024);

    // SIGTERM, SIGINT and SIGHUP end the program through the normal shut-down.
    PfSignal::Install();

    // The cache holds 180 MiB in all and no file over 1 MiB; the game's start-up switches it on.
    GxFile::SetCacheCapacity(0xB400000);
    GxFile::SetCacheFileLimit(0x100000);
    // Without "system.gxp" the program runs on loose files.
    GxFile::MountPack(L"system.gxp");

    // A headless run plays recorded input named by KV_INPUT_SCRIPT; it must be in place before the sound
    // system starts, which then keeps the script's pull output.
    PfInputScript::StartFromEnvironment();

    // The core starts and ends the game through these hooks.
    GxGameRoot::Install();
    g_Core = new GxCore();
    if (g_Core->Initialize())
    {
        g_Core->Run();
        // The process ends next: the sound device falls silent without waiting for its thread.
        PfAudioDevice::SilenceForExit();
        g_Core->Finalize();
    }
    delete g_Core;
    g_Core = nullptr;
    PfInputScript::Stop();
    GxFile::ClearCache();
    GxFile::UnmountAll();
    return 0;
}
