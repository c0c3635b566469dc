// Feeds arbitrary bytes to the data-table loader as one of the fourteen table files (the first byte
// chooses the table, the rest is the file, read from memory): every load must end, keep the highest ID
// inside the table and never write outside the rows. A second file merging into the same ID space (the
// strategy game's UI rows) is read when the choice byte asks for it. The loaded rows are then looked up
// by ID and column the way the screens and builtins do.
#include "FuzzSupport.h"
#include "appdata/DBAvgChar.h"
#include "appdata/DBBGMMode.h"
#include "appdata/DBCGMode.h"
#include "appdata/DBEffect.h"
#include "appdata/DBRPMode.h"
#include "appdata/DBUILayout.h"
#include "appdata/DBUIModule.h"
#include "appdata/DBZorCommand.h"
#include "appdata/DBZorEnemy.h"
#include "appdata/DBZorSkill.h"
#include "appdata/DBZorStruct.h"
#include "appdata/DBZorTown.h"
#include "appdata/DBZorUnit.h"
#include "appdata/DBZorVoice.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace
{
template <typename Table> std::unique_ptr<GxDBBase> Make()
{
    return std::make_unique<Table>();
}

using Factory = std::unique_ptr<GxDBBase> (*)();
const Factory kTables[] = {Make<DBAvgChar>,    Make<DBBGMMode>,   Make<DBCGMode>,   Make<DBEffect>,   Make<DBRPMode>,
                           Make<DBUILayout>,   Make<DBUIModule>,  Make<DBZorCommand>, Make<DBZorEnemy>, Make<DBZorSkill>,
                           Make<DBZorStruct>,  Make<DBZorTown>,   Make<DBZorUnit>,  Make<DBZorVoice>};
constexpr size_t kTableCount = sizeof(kTables) / sizeof(kTables[0]);
static_assert(kTableCount == 14, "every table layout is fuzzed");
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzQuietLogs();
    if (size < 1)
        return 0;
    const uint8_t choice = data[0];
    std::unique_ptr<GxDBBase> table = kTables[choice % kTableCount]();
    const uint8_t* file = data + 1;
    const size_t length = size - 1;
    if (choice & 0x80)
    {
        // Two files into one ID space: the first half, then the whole.
        table->LoadFromMemory(file, length / 2);
    }
    table->LoadFromMemory(file, length);
    if (table->GetMaxID() < 0 || table->GetMaxID() >= table->GetCapacity())
        std::abort();
    // Lookups by ID (one past the end and a negative ID included) and by column name.
    for (int32_t id : {0, table->GetMaxID(), table->GetCapacity(), -1})
        table->GetRowPtr(static_cast<uint32_t>(id));
    for (const wchar_t* column : {L"ID", L"Name", L"ShowName", L"FileName", L"ModuleName", L"Skill", L"X", L""})
    {
        table->GetFieldPtr(static_cast<uint32_t>(table->GetMaxID()), column);
        table->GetColumnType(column);
        table->GetColumnArrayMax(column);
    }
    return 0;
}
