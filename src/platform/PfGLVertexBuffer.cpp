#include "platform/PfGLVertexBuffer.h"

#include "platform/PfGLDevice.h"

PfGLVertexBuffer::~PfGLVertexBuffer()
{
    Destroy();
}

PfResult PfGLVertexBuffer::Create(uint32_t length, uint32_t fvf)
{
    Destroy();
    if (length == 0)
        return D3DERR_INVALIDCALL;
    m_FVF = fvf;
    CreateStorage(length);
    return D3D_OK;
}

void PfGLVertexBuffer::Destroy()
{
    PfGLDevice::UnbindFromCurrent(this);
    DestroyStorage();
    m_FVF = 0;
}
