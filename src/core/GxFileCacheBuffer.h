#pragma once

#include "core/GxBinBuffer.h"

#include <cstdint>

// One cached copy of a file: its bytes, when it was last used and the time stamp of the file it came from.
class GxFileCacheBuffer : public GxBinBuffer
{
public:
    explicit GxFileCacheBuffer(uint32_t size) : GxBinBuffer(size) {}

    uint32_t m_LastUse = 0;  // millisecond count at creation or at the latest hit
    uint64_t m_FileTime = 0; // FILETIME of the file the copy was made from
};
