#pragma once

#include <cstdint>

class GxPackFileHeaderCache;

// One open file: a loose file on disk or an entry inside a mounted pack. Positions count from the start
// of the file or of the entry's data. A handle on a pack entry points into that pack's directory, so it
// must be closed before the packs are unmounted.
class GxFileHandle
{
public:
    GxFileHandle() = default;
    virtual ~GxFileHandle();
    GxFileHandle(const GxFileHandle&) = delete;
    GxFileHandle& operator=(const GxFileHandle&) = delete;

    uint32_t GetSize() const { return m_Size; }
    int64_t GetPosition() const { return m_Position; }
    uint64_t GetFileTime() const { return m_FileTime; }
    bool IsOpen() const { return m_Open; }
    bool IsEOF() const { return m_EOF; }
    // Closes the file and returns every field to the state of a new handle.
    void Close();

    uint32_t m_Size = 0;
    int m_Handle = -1; // file descriptor, -1 when closed
    bool m_Open = false;
    bool m_EOF = false;
    uint64_t m_FileTime = 0; // FILETIME: 100 ns units since 1601-01-01
    int64_t m_Position = 0;
    GxPackFileHeaderCache* m_Pack = nullptr;
    const uint8_t* m_Entry = nullptr;
};
