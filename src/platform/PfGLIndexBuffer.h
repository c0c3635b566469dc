// An index buffer of 16- or 32-bit indices for meshes: device memory plus a processor-side copy that Lock
// hands out and Unlock uploads. Created and drawn on the device's thread.
#pragma once

#include "platform/PfD3DTypes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class PfGLIndexBuffer
{
public:
    PfGLIndexBuffer() = default;
    ~PfGLIndexBuffer();
    PfGLIndexBuffer(const PfGLIndexBuffer&) = delete;
    PfGLIndexBuffer& operator=(const PfGLIndexBuffer&) = delete;

    // format: D3DFMT_INDEX16 or D3DFMT_INDEX32.
    PfResult Create(uint32_t length, D3DFORMAT format);
    void Destroy();
    bool IsCreated() const { return m_Name != 0; }
    uint32_t GetLength() const { return (uint32_t)m_Data.size(); }
    D3DFORMAT GetFormat() const { return m_Format; }
    uint32_t GetIndexSize() const { return m_Format == D3DFMT_INDEX32 ? 4 : 2; }
    uint32_t GetGLName() const { return m_Name; }

    void* Lock(uint32_t offset, uint32_t size, uint32_t flags);
    PfResult Unlock();

private:
    uint32_t m_Name = 0;
    D3DFORMAT m_Format = D3DFMT_INDEX16;
    std::vector<uint8_t> m_Data;
    bool m_Locked = false;
    uint32_t m_LockOffset = 0;
    uint32_t m_LockSize = 0;
    uint32_t m_LockFlags = 0;
};
