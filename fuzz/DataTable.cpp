// Feeds arbitrary bytes to the data-table loader as a table file: every load must end, keep the highest
// ID inside the table, and never write outside the rows.
#include "appdata/DBCGMode.h"
#include "appdata/DBZorUnit.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace
{

const std::string& TablePath()
{
    static const std::string s_Path = "/tmp/kv_fuzz_table_" + std::to_string(getpid()) + ".txt";
    return s_Path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FILE* file = std::fopen(TablePath().c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    std::wstring path(TablePath().begin(), TablePath().end());
    static DBZorUnit s_Units;
    static DBCGMode s_Gallery;
    s_Units.Load(path);
    s_Gallery.Load(path);
    if (s_Units.GetMaxID() >= s_Units.GetCapacity() || s_Gallery.GetMaxID() >= s_Gallery.GetCapacity())
        std::abort();
    return 0;
}
