// What vertex and index buffers share: device memory plus a processor-side copy that Lock hands out and
// Unlock uploads. Created and drawn on the device's thread.
//
// Like a texture, a buffer carries a contents generation, new at every creation and every unlock that may
// have written it (unique among all buffers), which the device's frame comparison records with each draw
// from the buffer: an unchanged generation means unchanged vertices or indices.
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

    uint64_t GetContentGeneration() const { return m_Generation; }
    // The device's frame counter when a draw from this buffer was last written down (PfGLDevice).
    uint64_t GetFrameStamp() const { return m_FrameStamp; }
    void SetFrameStamp(uint64_t frame) const { m_FrameStamp = frame; }

protected:
    PfGLBuffer() = default;
    ~PfGLBuffer();

    // A zeroed buffer of length bytes (more than 0), replacing none: the caller destroys the old one first.
    void CreateStorage(uint32_t length);
    void DestroyStorage();

private:
    void BumpContentGeneration();
    // Tells the device the contents are about to change or go away.
    void BeforeChange() const;

    uint32_t m_Name = 0;
    uint64_t m_Generation = 0;
    mutable uint64_t m_FrameStamp = 0;
    std::vector<uint8_t> m_Data;
    bool m_Locked = false;
    uint32_t m_LockOffset = 0;
    uint32_t m_LockSize = 0;
    uint32_t m_LockFlags = 0;
};
