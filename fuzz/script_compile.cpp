// Feeds arbitrary bytes to the story-script compiler as the "scripts" folder that start-up compiles when
// "AutoCompile=1" is set (tools/moabuild), then does what start-up does with a program that compiled: it
// is written as "moacode.mwb", loaded by the script host (program, EXTERN, GLOBAL and STATIC variables),
// and the main worker runs it from its first label for a bounded number of steps with a dispatcher that
// knows no builtin. A NUL byte separates source files (at most four; no script contains a NUL).
#include "../tools/moabuild/MoaBuilder.h"
#include "FuzzSupport.h"
#include "core/GxContentBinaryWriter.h"
#include "script/GxMoaBuiltinBase.h"
#include "script/GxMoaEx.h"
#include "script/GxMoaHost.h"
#include "script/GxMoaWorkerEx.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzQuietLogs();
    static const FuzzScratchFile s_Program("kv_fuzz_moacode_", ".mwb");
    const std::string input(reinterpret_cast<const char*>(data), size);
    GxMoa moa;
    MoaBuilder builder(moa);
    size_t begin = 0;
    for (int file = 0; file < 4 && begin <= input.size(); ++file)
    {
        size_t end = file == 3 ? input.size() : input.find('\0', begin);
        if (end == std::string::npos)
            end = input.size();
        builder.AddSource("scripts/s" + std::to_string(file) + ".txt", input.substr(begin, end - begin));
        begin = end + 1;
    }
    builder.Finish();
    if (builder.GetErrorCount() > 0)
        return 0;

    FILE* out = std::fopen(s_Program.Path().c_str(), "wb");
    if (!out)
        return 0;
    {
        GxContentBinaryWriter writer(out);
        if (!moa.Write(&writer))
            std::abort(); // a program the compiler accepted must be writable
    }
    std::fclose(out);

    CreateMoa(nullptr);
    if (!LoadMoaCode(s_Program.WidePath()))
        std::abort(); // what the compiler wrote the runtime must read
    if (!g_MoaInstance->m_LabelDefine.empty())
    {
        g_MoaMainWorker->StartAtLabel(g_MoaInstance->m_LabelDefine.begin()->first);
        for (int step = 0; step < 256 && g_MoaMainWorker->Exec(g_MoaBuiltin); ++step)
        {
        }
    }
    DestroyMoa();
    return 0;
}
