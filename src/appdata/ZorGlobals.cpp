#include "appdata/ZorGlobals.h"

#include "appdata/DBZorCommand.h"
#include "appdata/DBZorEnemy.h"
#include "appdata/DBZorStruct.h"
#include "appdata/DBZorTown.h"
#include "appdata/DBZorUnit.h"
#include "core/GxLog.h"

namespace
{

// FindRowByName answers 0 both for row 0 and for a miss; only a row 0 that does not hold the name is a
// miss worth a message (an empty name finds the usually empty row 0 silently).
template <typename Table> int32_t FindByName(const Table& table, const std::wstring& name, const wchar_t* message)
{
    int32_t row = table.FindRowByName(name);
    if (row == 0 && message && table.GetRow(0)->m_Name != name)
        GxLog::Error(message, name.c_str());
    return row;
}

} // namespace

int32_t ZorGlobals::FindStruct(const std::wstring& name)
{
    return FindByName(g_DBZorStruct, name, L"ZorGlobals::FindStruct/施設名が見つかりません(%s)\n");
}

int32_t ZorGlobals::FindUnit(const std::wstring& name)
{
    return FindByName(g_DBZorUnit, name, L"ZorGlobals::FindUnit/ユニット名が見つかりません(%s)\n");
}

int32_t ZorGlobals::FindEnemy(const std::wstring& name)
{
    return FindByName(g_DBZorEnemy, name, nullptr);
}

int32_t ZorGlobals::FindTown(const std::wstring& name)
{
    return FindByName(g_DBZorTown, name, L"ZorGlobals::FindTown/都市名が見つかりません(%s)\n");
}

int32_t ZorGlobals::FindCommand(const std::wstring& name)
{
    return FindByName(g_DBZorCommand, name, L"ZorGlobals::FindCommand/コマンドが見つかりません(%s)\n");
}
