// A vertex buffer for meshes (PfGLBuffer holds the memory and its lock).
#pragma once

#include "platform/PfGLBuffer.h"

#include <cstdint>

class PfGLVertexBuffer : public PfGLBuffer
{
public:
    PfGLVertexBuffer() = default;
    ~PfGLVertexBuffer();

    PfResult Create(uint32_t length, uint32_t fvf);
    void Destroy();
    uint32_t GetFVF() const { return m_FVF; }

private:
    uint32_t m_FVF = 0;
};
