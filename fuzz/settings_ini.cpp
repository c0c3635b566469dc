// Feeds arbitrary bytes to the settings reader as "setting.ini" and as "system/sysconf.ini": the flat
// key reader, then what start-up takes from each file (the developer switches, the product strings, font
// sizes and music, the pack names in mount order). The packs are named, not mounted: a name may be any
// path, and mounting reads whatever it names.
#include "FuzzSupport.h"
#include "appdata/GxSystemConfig.h"
#include "core/GxINIFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzQuietLogs();
    static const FuzzScratchFile s_File("kv_fuzz_settings_", ".ini");
    if (!s_File.Write(data, size))
        return 0;
    GxINIFile ini;
    if (!ini.Load(s_File.WidePath()))
        return 0;
    GxSystemConfig config;
    config.ApplySysConf(ini);
    config.ApplySetting(ini);
    const std::vector<std::wstring> packs = GxSystemConfig::GetPackNames(ini);
    if (packs.size() > GxSystemConfig::kPackKeys)
        std::abort();
    for (int id = -1; id <= SYSSTR_COUNT; ++id)
        config.GetString(id);
    ini.GetInt(L"FONTSIZE_0", 0);
    ini.GetBool(L"AutoCompile", false);
    // What an author is told about the file, once every value has been read.
    ini.DescribeProblems();
    return 0;
}
