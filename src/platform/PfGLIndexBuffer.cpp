#include "platform/PfGLIndexBuffer.h"

#include "platform/PfGLDevice.h"

PfGLIndexBuffer::~PfGLIndexBuffer()
{
    Destroy();
}

PfResult PfGLIndexBuffer::Create(uint32_t length, D3DFORMAT format)
{
    Destroy();
    if (length == 0)
        return D3DERR_INVALIDCALL;
    if (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32)
        return D3DERR_INVALIDCALL;
    m_Format = format;
    CreateStorage(length);
    return D3D_OK;
}

void PfGLIndexBuffer::Destroy()
{
    PfGLDevice::UnbindFromCurrent(this);
    DestroyStorage();
    m_Format = D3DFMT_INDEX16;
}
