// Feeds arbitrary bytes to the permanent-progress reader ("permanent.dat"). A file it cannot take is
// renamed aside with ".damaged" appended, as in the game; the harness removes that copy after each run
// so nothing is left behind.
#include "FuzzSupport.h"
#include "appdata/GxUserDataPerman.h"

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzQuietLogs();
    static const FuzzScratchFile s_File("kv_fuzz_permanent_", ".dat");
    if (!s_File.Write(data, size))
        return 0;
    GxUserDataPerman progress(nullptr);
    progress.Load(s_File.WidePath());
    std::remove((s_File.Path() + ".damaged").c_str());
    return 0;
}
