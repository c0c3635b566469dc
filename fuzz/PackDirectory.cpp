// Feeds arbitrary bytes to the pack reader as a ".gxp" file: it must refuse or mount without reading
// outside the file, and every entry it indexes must lie inside the directory and the file.
#include "core/GxFile.h"
#include "core/GxFileHandle.h"
#include "core/GxPackFileHeaderCache.h"
#include "FuzzSupport.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzQuietLogs();
    static const FuzzScratchFile s_File("kv_fuzz_pack_", ".gxp");
    if (!s_File.Write(data, size))
        return 0;
    const std::string& path = s_File.Path();

    GxPackFileHeaderCache pack;
    if (pack.Load(std::wstring(path.begin(), path.end())))
    {
        for (const wchar_t* name : {L"a", L"a.txt", L"data/a.txt", L""})
            pack.Find(name);
    }
    if (GxFile::MountPack(std::wstring(path.begin(), path.end())))
    {
        GxFileHandle handle;
        if (GxFile::Open(handle, L"a"))
        {
            uint8_t buffer[64];
            GxFile::Seek(handle, 3, 0);
            GxFile::Read(buffer, sizeof(buffer), handle);
            GxFile::Close(handle);
        }
        GxFile::UnmountAll();
    }
    return 0;
}
