// Feeds arbitrary bytes to the compiled-program reader and, on top of the program it read, to the
// script record of a save, the way the game reads both: the program as start-up loads "moacode.mwb"
// (then its EXTERN, GLOBAL and STATIC variables are made), the record as a slot load reads it (the
// variables of the class, the main worker's script entities, the worker itself) or as "permanent.dat"
// reads it (variables and entities of the permanent class, no worker). Whatever program is accepted is
// walked token by token and written back.
//
// Input: a 4-byte little-endian length, that many bytes of program, then the record. The length's top
// bit asks for the permanent form. A record starting with 'T' is read as text from the byte after it (a
// text record has no header of its own, so its lines begin with a tag: the 'T' only chooses the form),
// any other as binary.
#include "FuzzSupport.h"
#include "appdata/GxUserScriptRecord.h"
#include "core/GxContentBinaryReader.h"
#include "core/GxContentBinaryWriter.h"
#include "core/GxContentTextReader.h"
#include "script/GxMoaEx.h"
#include "script/GxMoaHost.h"
#include "script/GxMoaScope.h"
#include "script/GxMoaWorkerEx.h"

#include <cstdint>
#include <cstdio>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzQuietLogs();
    if (size < 4)
        return 0;
    const uint32_t head = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24);
    const bool permanent = head & 0x80000000u;
    const size_t programSize = std::min<size_t>(head & 0x7FFFFFFFu, size - 4);
    // Copies of exactly their sizes, so any read past either part is reported.
    std::unique_ptr<uint8_t[]> program(new uint8_t[programSize + 1]);
    std::copy(data + 4, data + 4 + programSize, program.get());
    const size_t recordSize = size - 4 - programSize;
    std::unique_ptr<uint8_t[]> record(new uint8_t[recordSize + 1]);
    std::copy(data + 4 + programSize, data + size, record.get());

    CreateMoa(nullptr);
    GxMoa& moa = *g_MoaInstance;
    {
        GxContentBinaryReader reader(program.get(), static_cast<uint32_t>(programSize));
        if (programSize > 0 && moa.Read(&reader))
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
    g_MoaMainWorker->CreateGlobalVariables();

    std::unique_ptr<GxContentReaderBase> reader;
    const uint32_t length = static_cast<uint32_t>(recordSize);
    if (recordSize && record[0] == 'T')
        reader = std::make_unique<GxContentTextReader>(record.get() + 1, length - 1);
    else
        reader = std::make_unique<GxContentBinaryReader>(record.get(), length);
    if (permanent)
        GxUserScriptRecord::Read(*reader, PERSIST_PERMAN, GxUserScriptRecord::Worker::Without);
    else
        GxUserScriptRecord::Read(*reader, PERSIST_INGAME, GxUserScriptRecord::Worker::With);
    g_MoaMainWorker->GetCurrentLine();
    DestroyMoa();
    return 0;
}
