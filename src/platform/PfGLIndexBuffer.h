// An index buffer of 16- or 32-bit indices for meshes (PfGLBuffer holds the memory and its lock).
#pragma once

#include "platform/PfGLBuffer.h"

#include <cstdint>

class PfGLIndexBuffer : public PfGLBuffer
{
public:
    PfGLIndexBuffer() = default;
    ~PfGLIndexBuffer();

    // format: D3DFMT_INDEX16 or D3DFMT_INDEX32.
    PfResult Create(uint32_t length, D3DFORMAT format);
    void Destroy();
    D3DFORMAT GetFormat() const { return m_Format; }
    uint32_t GetIndexSize() const { return m_Format == D3DFMT_INDEX32 ? 4 : 2; }

private:
    D3DFORMAT m_Format = D3DFMT_INDEX16;
};
