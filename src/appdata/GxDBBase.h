#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

// One column of a data table: its name as written in the files and asked for by the readers, its type
// code, its highest cell index (0 for a single cell, n - 1 for an array of n cells) and where its first
// field lies in the row record.
struct GxDBColumn
{
    const wchar_t* m_Name;
    int32_t m_Type;
    int32_t m_ArrayMax;
    size_t m_Offset;

    // Type codes of the cells.
    static constexpr int32_t TypeInt = 5;     // signed 32-bit, integer conversion with automatic base
    static constexpr int32_t TypeUInt = 6;    // 32-bit, read like TypeInt
    static constexpr int32_t TypeFloat = 9;   // 32-bit float
    static constexpr int32_t TypeString = 25; // wide string, copied as it stands

    // The type code of a field type; 0 for a type no cell can be read into.
    template <typename Field> static constexpr int32_t TypeOf()
    {
        using Element = std::remove_all_extents_t<Field>;
        if constexpr (std::is_same_v<Element, int32_t>)
            return TypeInt;
        else if constexpr (std::is_same_v<Element, uint32_t>)
            return TypeUInt;
        else if constexpr (std::is_same_v<Element, float>)
            return TypeFloat;
        else if constexpr (std::is_same_v<Element, std::wstring>)
            return TypeString;
        else
            return 0;
    }

    template <typename Field> static constexpr GxDBColumn Make(const wchar_t* name, size_t offset)
    {
        static_assert(TypeOf<Field>() != 0, "a table field is int32_t, uint32_t, float or std::wstring");
        static_assert(std::rank_v<Field> <= 1, "an array column has one dimension");
        int32_t cells = std::rank_v<Field> == 1 ? static_cast<int32_t>(std::extent_v<Field>) : 1;
        return GxDBColumn{name, TypeOf<Field>(), cells - 1, offset};
    }
};

// Describes the column whose field in the row record RowType is m_<Field>; type code and cell count
// follow from the field's C++ type (uint32_t gives code 6).
#define GX_DB_COLUMN(RowType, Field)                                                                                   \
    GxDBColumn::Make<decltype(RowType::m_##Field)>(L"" #Field, offsetof(RowType, m_##Field))

// The base of every data table. A table is a fixed array of row records addressed by ID (the ID is the
// index; row 0 is the "none" row), loaded from tab-separated text files. Everything a table does is
// driven by its column list, so each table class only names its row record, capacity, columns and file.
//
// Rows are handed out through checked access: an index beyond the capacity (a negative ID passed as an
// unsigned index included) yields the "none" row from GetRowPtr and null from GetFieldPtr, after one log
// line, because indices reach the tables from other tables and from save files.
class GxDBBase
{
public:
    GxDBBase(const wchar_t* className, const GxDBColumn* columns, int32_t columnCount, int32_t capacity);
    virtual ~GxDBBase() = default;

    GxDBBase(const GxDBBase&) = default;
    GxDBBase& operator=(const GxDBBase&) = default;

    // The row at the index, or row 0 when the index is out of range.
    void* GetRowPtr(uint32_t index);
    const void* GetRowPtr(uint32_t index) const;

    int32_t GetMaxID() const { return m_MaxID; }
    // Number of columns, ID included; an array column counts once.
    int32_t GetColumnCount() const { return m_ColumnCount; }
    int32_t GetCapacity() const { return m_Capacity; }
    // Number of cells one file line is split into.
    int32_t GetCellsPerLine() const { return m_CellsPerLine; }
    const wchar_t* GetClassName() const { return m_ClassName; }

    // Reads a table file into the rows; a second file merges into the same ID space, a line replacing
    // the whole row of its ID. False when the file cannot be read, or when a line carries an ID outside
    // the table: then the rows read before that line stay and the rest of the file is not read.
    bool Load(const std::wstring& path);
    // The same over a table file's bytes already in memory.
    bool LoadFromMemory(const void* data, size_t size);

    // Address of the column's (first) field in the row; null for ID, for a name that is no column and
    // for a row index out of range.
    void* GetFieldPtr(uint32_t index, const std::wstring& columnName);
    // Position of the column (ID is 0); -1 for a name that is no column.
    int32_t GetColumnIndex(const std::wstring& columnName) const;
    // The column's type code; 0 for a name that is no column.
    int32_t GetColumnType(const std::wstring& columnName) const;
    // The column's highest cell index; 0 for a single cell and for a name that is no column.
    int32_t GetColumnArrayMax(const std::wstring& columnName) const;

protected:
    // The row at the index, which the caller has checked.
    virtual void* RowAt(uint32_t index) = 0;
    const void* RowAt(uint32_t index) const { return const_cast<GxDBBase*>(this)->RowAt(index); }

    // The first row whose Name equals the name exactly; 0 when none does. Tables with a Name column make
    // it public.
    int32_t FindRowByName(const std::wstring& name) const;

private:
    // A load takes its file line by line as the text reader walks it, so that it holds about the file
    // and one line, never a string for every line; LoadState is what it carries from line to line.
    struct LoadState;
    void TakeLine(LoadState& state, const std::wstring& line);
    // source names the file in the log line about lines that are no rows; empty for bytes in memory.
    bool FinishLoad(const LoadState& state, const std::wstring& source) const;
    void StoreLine(const std::vector<std::wstring>& cells, int32_t id);
    void ReportCutLastLine(const LoadState& state, const std::wstring& path) const;

    const wchar_t* m_ClassName;
    const GxDBColumn* m_Columns;
    int32_t m_ColumnCount;
    int32_t m_Capacity;
    int32_t m_CellsPerLine;
    int32_t m_NameColumn; // index of the Name column, -1 when the table has none
    int32_t m_MaxID = 0;
};
