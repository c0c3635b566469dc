#pragma once

#include "appdata/GxDBBase.h"

#include <cstdint>
#include <type_traits>

// A data table of Capacity rows of the record Row, held inside the table object. The table classes
// derive from it and pass their column list, which must start with the ID column.
template <typename Row, int32_t Capacity> class GxDBTable : public GxDBBase
{
    static_assert(std::is_standard_layout_v<Row>, "columns are found by their offset in the row record");
    static_assert(Capacity >= 1, "a table holds at least its none row");

public:
    static constexpr int32_t s_Capacity = Capacity;

    // The row at the index; the "none" row 0 when the index is out of range.
    Row* GetRow(uint32_t index) { return static_cast<Row*>(GetRowPtr(index)); }
    const Row* GetRow(uint32_t index) const { return static_cast<const Row*>(GetRowPtr(index)); }

protected:
    template <int32_t ColumnCount>
    GxDBTable(const wchar_t* className, const GxDBColumn (&columns)[ColumnCount])
        : GxDBBase(className, columns, ColumnCount, Capacity)
    {
    }

    void* RowAt(uint32_t index) override { return &m_Rows[index]; }

private:
    Row m_Rows[Capacity] = {};
};
