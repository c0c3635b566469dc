#include "appdata/GxDBLookup.h"

#include "appdata/DBAvgChar.h"
#include "appdata/DBCGMode.h"
#include "appdata/DBRPMode.h"
#include "appdata/DBUILayout.h"
#include "appdata/DBUIModule.h"
#include "appdata/GxDBTable.h"
#include "core/GxLog.h"
#include "core/GxPath.h"
#include "core/GxString.h"

#include <algorithm>
#include <iterator>
#include <type_traits>

namespace
{

// The FileName cells of a gallery entry that the gallery visits: 0 to the column's highest cell index.
int32_t CGModeFileCells()
{
    return g_DBCGMode.GetColumnArrayMax(L"FileName") + 1;
}

// The index of the first row whose name field is name, or -1; rows with an empty name match nothing.
template <typename Row, int32_t Capacity>
int32_t FindRowByName(const GxDBTable<Row, Capacity>& table, std::wstring Row::*field, const std::wstring& name)
{
    for (int32_t i = 0; i < table.GetCapacity(); ++i)
    {
        const std::wstring& value = table.GetRow(i)->*field;
        if (!value.empty() && value == name)
            return i;
    }
    return -1;
}

} // namespace

int32_t FindAvgCharData(const std::wstring& name)
{
    return FindRowByName(g_DBAvgChar, &DBAvgCharData::m_CharName, name);
}

DBUIModuleData* FindUIModuleData(const std::wstring& name)
{
    const int32_t i = FindRowByName(g_DBUIModule, &DBUIModuleData::m_ModuleName, name);
    if (i >= 0)
        return g_DBUIModule.GetRow(i);
    GxLog::Error(L"UIモジュールデータ[%s]が見つかりません\n", name.c_str());
    return nullptr;
}

DBUILayoutData* FindUILayoutData(const std::wstring& name)
{
    const int32_t i = FindRowByName(g_DBUILayout, &DBUILayoutData::m_TaskName, name);
    if (i >= 0)
        return g_DBUILayout.GetRow(i);
    GxLog::Error(L"UIレイアウトデータ[%s]が見つかりません\n", name.c_str());
    return nullptr;
}

bool FindCGModeFile(int32_t& row, int32_t& cell, const std::wstring& path)
{
    std::wstring baseName = GxPath::GetBaseName(path);
    int32_t cells = CGModeFileCells();
    for (int32_t i = 0; i < g_DBCGMode.GetCapacity(); ++i)
    {
        const DBCGModeData* entry = g_DBCGMode.GetRow(i);
        for (int32_t c = 0; c < cells; ++c)
        {
            const std::wstring& fileName = entry->m_FileName[c];
            if (!fileName.empty() && GxString::CompareNoCase(fileName, baseName) == 0)
            {
                row = i;
                cell = c;
                return true;
            }
        }
    }
    row = 0;
    cell = 0;
    return false;
}

void UpdateCGModeCounts()
{
    int32_t cells = CGModeFileCells();
    for (int32_t i = 0; i < g_DBCGMode.GetCapacity(); ++i)
    {
        DBCGModeData* entry = g_DBCGMode.GetRow(i);
        // A Count the row's cells cannot hold would send the gallery past them.
        constexpr int32_t kMaxCount = static_cast<int32_t>(std::extent_v<decltype(DBCGModeData::m_FileName)>);
        if (entry->m_Count < 0 || entry->m_Count > kMaxCount)
        {
            GxLog::Error(L"DBCGMode ID=%d: Count %d is outside 0..%d\n", i, entry->m_Count, kMaxCount);
            entry->m_Count = std::clamp(entry->m_Count, 0, kMaxCount);
        }
        if (entry->m_FileName[0].empty() || entry->m_Count != 0)
            continue;
        int32_t count = 0;
        for (int32_t c = 0; c < cells; ++c)
        {
            if (!entry->m_FileName[c].empty())
                ++count;
        }
        entry->m_Count = count;
    }
}

bool IsReplayLabel(const std::wstring& label)
{
    return FindRowByName(g_DBRPMode, &DBRPModeData::m_Label, label) >= 0;
}
