#include "appdata/GxDBBase.h"

#include "core/GxLog.h"
#include "core/GxString.h"
#include "core/GxText.h"

#include <algorithm>
#include <cassert>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <wchar.h>

namespace
{

// Floats are read as the C library reads a double (blanks skipped, the longest number taken, 0.0 when
// there is none) but always with "." as the decimal point, whatever the process locale says.
locale_t ClassicLocale()
{
    static locale_t s_Locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return s_Locale;
}

float ReadFloat(const std::wstring& cell)
{
    double value = wcstod_l(cell.c_str(), nullptr, ClassicLocale());
    // A value beyond the float range becomes an infinity rather than an undefined conversion.
    if (value > FLT_MAX)
        return HUGE_VALF;
    if (value < -FLT_MAX)
        return -HUGE_VALF;
    return static_cast<float>(value);
}

int32_t ReadInt(const std::wstring& cell)
{
    return GxString::ToInt(cell.c_str(), nullptr, 0, false);
}

// A cell that starts with a number, after blanks and a sign, as ReadInt reads it.
bool HoldsNumber(const std::wstring& cell)
{
    const wchar_t* end = nullptr;
    GxString::ToInt(cell.c_str(), &end, 0, false);
    size_t start = cell.find_first_not_of(L" \t");
    if (start != std::wstring::npos &&
        (cell[start] == L'-' || cell[start] == L'+' || cell[start] == 0xFF0D || cell[start] == 0xFF0B))
        ++start;
    return end != nullptr && start != std::wstring::npos && end > cell.c_str() + start;
}

bool IsQuote(wchar_t c)
{
    return c == L'"' || c == L'\'';
}

} // namespace

GxDBBase::GxDBBase(const wchar_t* className, const GxDBColumn* columns, int32_t columnCount, int32_t capacity)
    : m_ClassName(className), m_Columns(columns), m_ColumnCount(columnCount), m_Capacity(capacity), m_CellsPerLine(0),
      m_NameColumn(-1)
{
    assert(columnCount >= 1 && std::wcscmp(columns[0].m_Name, L"ID") == 0 && columns[0].m_Offset == 0);
    for (int32_t i = 0; i < columnCount; ++i)
    {
        m_CellsPerLine += columns[i].m_ArrayMax + 1;
        if (m_NameColumn < 0 && columns[i].m_Type == GxDBColumn::TypeString &&
            std::wcscmp(columns[i].m_Name, L"Name") == 0)
            m_NameColumn = i;
    }
}

void* GxDBBase::GetRowPtr(uint32_t index)
{
    if (index >= static_cast<uint32_t>(m_Capacity))
    {
        GxLog::Error(L"%s::GetRow/ID out of range(%d)\n", m_ClassName, static_cast<int32_t>(index));
        index = 0;
    }
    return RowAt(index);
}

const void* GxDBBase::GetRowPtr(uint32_t index) const
{
    return const_cast<GxDBBase*>(this)->GetRowPtr(index);
}

struct GxDBBase::LoadState
{
    std::vector<std::wstring> m_Cells;
    int32_t m_LineNumber = 0;
    // A line whose first cell holds no number is stored as row 0, as the format has it; many such lines
    // mean a garbled or foreign file, so they are named once for the whole file.
    int32_t m_NotRows = 0;
    int32_t m_FirstNotRow = 0;
    // Set by an ID outside the table: no line after it is stored.
    bool m_Refused = false;
    // The last line seen, for the check of a file cut short.
    std::wstring m_Last;
};

bool GxDBBase::Load(const std::wstring& path)
{
    LoadState state;
    bool endsInsideLine = false;
    if (!GxText::LoadLines(
            path, false, [&](const std::wstring& line) { TakeLine(state, line); }, &endsInsideLine))
        return false;
    if (endsInsideLine)
        ReportCutLastLine(state, path);
    return FinishLoad(state, path);
}

bool GxDBBase::LoadFromMemory(const void* data, size_t size)
{
    LoadState state;
    uint32_t nulLine = 0;
    if (!GxText::ReadLines(
            static_cast<const uint8_t*>(data), size, false, [&](const std::wstring& line) { TakeLine(state, line); },
            nullptr, &nulLine))
        return false;
    // Named as the file reader names it, since no file name comes with the bytes.
    if (nulLine != 0)
        GxLog::Error(L"%s/(memory): a NUL byte on line %u ends the text: what comes before it is read, nothing "
                     L"after it\n",
                     m_ClassName, nulLine);
    return FinishLoad(state, std::wstring());
}

void GxDBBase::TakeLine(LoadState& state, const std::wstring& line)
{
    ++state.m_LineNumber;
    state.m_Last = line;
    if (state.m_Refused || line.empty() || line[0] == L'#')
        return;
    std::vector<std::wstring>& cells = state.m_Cells;
    GxString::Split(cells, line, L"\t", static_cast<uint32_t>(m_CellsPerLine));
    // Split answers exactly the count asked for; the rows below rely on it.
    cells.resize(static_cast<size_t>(m_CellsPerLine));
    for (std::wstring& cell : cells)
    {
        if (!cell.empty() && IsQuote(cell[0]))
            cell = GxString::Unquote(cell, 0);
    }

    if (!HoldsNumber(cells[0]) && state.m_NotRows++ == 0)
        state.m_FirstNotRow = state.m_LineNumber;
    int32_t id = ReadInt(cells[0]);
    if (id < 0 || id >= m_Capacity)
    {
        // The rows read so far stay; nothing past the array is ever written.
        GxLog::Error(L"%s/ID out of range(%d)\n", m_ClassName, id);
        state.m_Refused = true;
        return;
    }
    if (id > m_MaxID)
        m_MaxID = id;
    StoreLine(cells, id);
}

bool GxDBBase::FinishLoad(const LoadState& state, const std::wstring& source) const
{
    if (state.m_Refused)
        return false;
    if (state.m_NotRows > 0)
        GxLog::Error(
            L"%s/%s: %d lines from line %d have no ID number and were stored as row 0: the file may be damaged\n",
            m_ClassName, source.empty() ? L"(memory)" : source.c_str(), state.m_NotRows, state.m_FirstNotRow);
    return true;
}

// A file whose last line has no line end and fewer cells than a row was most likely cut short (a broken
// copy or download): its rows are still taken as the format says, missing cells empty, but the author
// is told, since the rest of the table is simply not there.
void GxDBBase::ReportCutLastLine(const LoadState& state, const std::wstring& path) const
{
    const std::wstring& last = state.m_Last;
    if (state.m_LineNumber == 0 || last.empty() || last[0] == L'#')
        return;
    const int32_t cells = static_cast<int32_t>(std::count(last.begin(), last.end(), L'\t')) + 1;
    if (cells >= m_CellsPerLine)
        return;
    GxLog::Error(L"%s/%s ends inside line %d (%d of %d cells): the file seems cut short\n", m_ClassName, path.c_str(),
                 state.m_LineNumber, cells, m_CellsPerLine);
}

void GxDBBase::StoreLine(const std::vector<std::wstring>& cells, int32_t id)
{
    char* row = static_cast<char*>(RowAt(static_cast<uint32_t>(id)));
    size_t cell = 0;
    for (int32_t c = 0; c < m_ColumnCount; ++c)
    {
        const GxDBColumn& column = m_Columns[c];
        for (int32_t i = 0; i <= column.m_ArrayMax; ++i, ++cell)
        {
            const std::wstring& text = cells[cell];
            switch (column.m_Type)
            {
            case GxDBColumn::TypeInt:
                reinterpret_cast<int32_t*>(row + column.m_Offset)[i] = ReadInt(text);
                break;
            case GxDBColumn::TypeUInt:
                reinterpret_cast<uint32_t*>(row + column.m_Offset)[i] = static_cast<uint32_t>(ReadInt(text));
                break;
            case GxDBColumn::TypeFloat:
                reinterpret_cast<float*>(row + column.m_Offset)[i] = ReadFloat(text);
                break;
            case GxDBColumn::TypeString:
                reinterpret_cast<std::wstring*>(row + column.m_Offset)[i] = text;
                break;
            }
        }
    }
}

void* GxDBBase::GetFieldPtr(uint32_t index, const std::wstring& columnName)
{
    int32_t column = GetColumnIndex(columnName);
    if (column <= 0 || index >= static_cast<uint32_t>(m_Capacity))
        return nullptr;
    return static_cast<char*>(RowAt(index)) + m_Columns[column].m_Offset;
}

int32_t GxDBBase::GetColumnIndex(const std::wstring& columnName) const
{
    for (int32_t i = 0; i < m_ColumnCount; ++i)
    {
        if (columnName == m_Columns[i].m_Name)
            return i;
    }
    return -1;
}

int32_t GxDBBase::GetColumnType(const std::wstring& columnName) const
{
    int32_t column = GetColumnIndex(columnName);
    return column < 0 ? 0 : m_Columns[column].m_Type;
}

int32_t GxDBBase::GetColumnArrayMax(const std::wstring& columnName) const
{
    int32_t column = GetColumnIndex(columnName);
    return column < 0 ? 0 : m_Columns[column].m_ArrayMax;
}

int32_t GxDBBase::FindRowByName(const std::wstring& name) const
{
    if (m_NameColumn < 0)
        return 0;
    size_t offset = m_Columns[m_NameColumn].m_Offset;
    for (int32_t i = 0; i < m_Capacity; ++i)
    {
        const char* row = static_cast<const char*>(RowAt(static_cast<uint32_t>(i)));
        if (*reinterpret_cast<const std::wstring*>(row + offset) == name)
            return i;
    }
    return 0;
}
