#include "appdata/GxDBLookup.h"

#include "appdata/DBAvgChar.h"
#include "appdata/DBCGMode.h"
#include "appdata/DBRPMode.h"
#include "appdata/DBUILayout.h"
#include "appdata/DBUIModule.h"
#include "core/GxLog.h"
#include "core/GxPath.h"
#include "core/GxString.h"

namespace
{

// The FileName cells of a gallery entry that the gallery visits: 0 to the column's highest cell index.
int32_t CGModeFileCells()
{
    return g_DBCGMode.GetColumnArrayMax(L"FileName") + 1;
}

} // namespace

int32_t FindAvgCharData(const std::wstring& name)
{
    for (int32_t i = 0; i < g_DBAvgChar.GetCapacity(); ++i)
    {
        const std::wstring& charName = g_DBAvgChar.GetRow(i)->m_CharName;
        if (!charName.empty() && charName == name)
            return i;
    }
    return -1;
}

DBUIModuleData* FindUIModuleData(const std::wstring& name)
{
    for (int32_t i = 0; i < g_DBUIModule.GetCapacity(); ++i)
    {
        DBUIModuleData* row = g_DBUIModule.GetRow(i);
        if (!row->m_ModuleName.empty() && row->m_ModuleName == name)
            return row;
    }
    GxLog::Error(L"UIモジュールデータ[%s]が見つかりません\n", name.c_str());
    return nullptr;
}

DBUILayoutData* FindUILayoutData(const std::wstring& name)
{
    for (int32_t i = 0; i < g_DBUILayout.GetCapacity(); ++i)
    {
        DBUILayoutData* row = g_DBUILayout.GetRow(i);
        if (!row->m_TaskName.empty() && row->m_TaskName == name)
            return row;
    }
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
    for (int32_t i = 0; i < g_DBRPMode.GetCapacity(); ++i)
    {
        const std::wstring& rowLabel = g_DBRPMode.GetRow(i)->m_Label;
        if (!rowLabel.empty() && rowLabel == label)
            return true;
    }
    return false;
}
