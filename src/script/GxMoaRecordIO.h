#pragma once
// Small helpers shared by the script records' readers and writers.
//
// Every list count and size read from a file or a save is used only item by item: each item is
// appended as it is read and the loop ends at the reader's first error, so a damaged count can never
// allocate or loop beyond the bytes that are really there.

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"

#include <cstdint>

namespace GxMoaRecordIO
{
// Opens a list; false when the reader has an error (the caller stops).
inline bool BeginList(GxContentReaderBase* reader, const char* name, uint32_t& count)
{
    count = 0;
    reader->ListBegin(name, count);
    return reader->GetErrorCount() == 0;
}

inline bool EndList(GxContentReaderBase* reader)
{
    reader->ListEnd();
    return reader->GetErrorCount() == 0;
}

inline bool Ok(GxContentReaderBase* reader)
{
    return reader->GetErrorCount() == 0;
}
} // namespace GxMoaRecordIO
