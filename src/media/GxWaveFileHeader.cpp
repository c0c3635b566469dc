#include "media/GxWaveFileHeader.h"

#include "core/GxFile.h"
#include "core/GxFileHandle.h"

#include <algorithm>
#include <cstring>

namespace
{
uint32_t U32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

bool ReadAt(GxFileHandle& file, uint64_t offset, void* buffer, uint32_t bytes)
{
    return GxFile::Seek(file, static_cast<int64_t>(offset), 0) && GxFile::Read(buffer, bytes, file) == bytes;
}

// Chunk names are four printable ASCII characters.
bool LooksLikeChunkId(const uint8_t* p)
{
    for (int i = 0; i < 4; ++i)
        if (p[i] < 0x20 || p[i] > 0x7E)
            return false;
    return true;
}
} // namespace

GxWaveFileHeader::Result GxWaveFileHeader::Read(GxFileHandle& file)
{
    m_Format.clear();
    m_DataOffset = 0;
    m_DataSize = 0;
    m_DataCut = false;
    const uint64_t fileSize = file.GetSize();
    uint8_t head[20];
    if (!ReadAt(file, 0, head, sizeof(head)) || std::memcmp(head, "RIFF", 4) != 0 ||
        std::memcmp(head + 8, "WAVE", 4) != 0 || std::memcmp(head + 12, "fmt ", 4) != 0)
        return kNoRiff;
    const uint64_t riffEnd = std::min<uint64_t>(static_cast<uint64_t>(U32(head + 4)) + 8, fileSize);
    const uint32_t formatSize = U32(head + 16);
    if (formatSize < 16 || formatSize > kMaxFormatBytes || 20 + static_cast<uint64_t>(formatSize) > fileSize)
        return kNoRiff;
    m_Format.resize(formatSize);
    if (!ReadAt(file, 20, m_Format.data(), formatSize))
        return kNoRiff;

    // Chunks are padded to an even size. Some writers leave the pad out, so after an odd-sized chunk
    // the padded offset is used only when a chunk head stands there.
    auto next = [&](uint64_t offset, uint32_t size)
    {
        const uint64_t plain = offset + 8 + size;
        if ((size & 1) == 0)
            return plain;
        uint8_t id[4];
        if (plain + 1 + 8 <= riffEnd && ReadAt(file, plain + 1, id, 4) && LooksLikeChunkId(id))
            return plain + 1;
        return plain;
    };
    uint64_t offset = next(12, formatSize);
    while (offset + 8 <= riffEnd)
    {
        uint8_t chunk[8];
        if (!ReadAt(file, offset, chunk, sizeof(chunk)))
            break;
        const uint32_t size = U32(chunk + 4);
        if (std::memcmp(chunk, "data", 4) == 0)
        {
            m_DataOffset = static_cast<uint32_t>(offset + 8);
            m_DataSize = static_cast<uint32_t>(std::min<uint64_t>(size, fileSize - (offset + 8)));
            m_DataCut = m_DataSize < size;
            GxFile::Seek(file, m_DataOffset, 0);
            return kOk;
        }
        offset = next(offset, size);
    }
    return kNoData;
}
