// Feeds arbitrary bytes to the compiled-program reader and, as a save, to the worker and variable
// readers; whatever is accepted is walked and written back.

#include "core/GxContentBinaryReader.h"
#include "core/GxContentBinaryWriter.h"
#include "script/GxMoa.h"
#include "script/GxMoaWorker.h"
#include "FuzzSupport.h"

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzQuietLogs();
    GxMoa moa;
    {
        GxContentBinaryReader reader(data, static_cast<uint32_t>(size));
        if (moa.Read(&reader))
        {
            for (const auto& entry : moa.m_ScriptDefine)
            {
                const GxMoaScript& script = *entry.second;
                for (int32_t line = -1; line <= script.GetLineCount(); ++line)
                    for (int32_t pos = -1; pos <= script.GetTokenCount(line); ++pos)
                        script.GetToken(line, pos).ToString();
            }
            FILE* sink = std::fopen("/dev/null", "wb");
            if (sink)
            {
                GxContentBinaryWriter writer(sink);
                moa.Write(&writer);
                std::fclose(sink);
            }
        }
    }
    moa.CreateExternVariables();
    GxMoaWorker worker(&moa);
    worker.CreateGlobalVariables();
    GxContentBinaryReader save(data, static_cast<uint32_t>(size));
    if (worker.ReloadScriptEntities(&save, 3) && moa.ReloadVariables(&save, 3))
        worker.Read(&save);
    worker.GetCurrentLine();
    return 0;
}
