// Feeds arbitrary bytes to the options reader ("userconf.dat"): a file taken must leave every level
// inside its range; a file refused is renamed aside with ".damaged" appended, which the harness removes.
#include "FuzzSupport.h"
#include "appdata/GxUserConfig.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzQuietLogs();
    static const FuzzScratchFile s_File("kv_fuzz_userconf_", ".dat");
    if (!s_File.Write(data, size))
        return 0;
    GxUserConfig config;
    if (config.Load(s_File.WidePath()))
    {
        if (config.m_Volume_Master < 0 || config.m_Volume_Master > 100 || config.m_TextWindowOpacity < 0 ||
            config.m_TextWindowOpacity > 255)
            std::abort();
        for (int32_t v : config.m_Volume_Voice)
            if (v < 0 || v > 100)
                std::abort();
    }
    std::remove((s_File.Path() + ".damaged").c_str());
    return 0;
}
