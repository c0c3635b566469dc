// Feeds arbitrary bytes to the data-table loader as a table file: every load must end, keep the highest
// ID inside the table, and never write outside the rows.
#include "appdata/DBCGMode.h"
#include "appdata/DBZorUnit.h"
#include "FuzzSupport.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzQuietLogs();
    static const FuzzScratchFile s_File("kv_fuzz_table_", ".txt");
    if (!s_File.Write(data, size))
        return 0;
    const std::wstring path = s_File.WidePath();
    static DBZorUnit s_Units;
    static DBCGMode s_Gallery;
    s_Units.Load(path);
    s_Gallery.Load(path);
    if (s_Units.GetMaxID() >= s_Units.GetCapacity() || s_Gallery.GetMaxID() >= s_Gallery.GetCapacity())
        std::abort();
    return 0;
}
