// What vertex and index buffers share: device memory plus a processor-side copy that Lock hands out and
// Unlock uploads. Created and drawn on the device's thread.
#pragma once

#include "platform/PfD3DTypes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class PfGLBuffer
{
public:
    PfGLBuffer(const PfGLBuffer&) = delete;
    PfGLBuffer& operator=(const PfGLBuffer&) = delete;

    bool IsCreated() const { return m_Name != 0; }
    uint32_t GetLength() const { return (uint32_t)m_Data.size(); }
    uint32_t GetGLName() const { return m_Name; }

    // offset and size in bytes; size 0 means to the end. Returns null for a range outside the buffer.
    void* Lock(uint32_t offset, uint32_t size, uint32_t flags);
    PfResult Unlock();

protected:
    PfGLBuffer() = default;
    ~PfGLBuffer();

    // A zeroed buffer of length bytes (more than 0), replacing none: the caller destroys the old one first.
    void CreateStorage(uint32_t length);
    void DestroyStorage();

private:
    uint32_t m_Name = 0;
    std::vector<uint8_t> m_Data;
    bool m_Locked = false;
    uint32_t m_LockOffset = 0;
    uint32_t m_LockSize = 0;
    uint32_t m_LockFlags = 0;
};
