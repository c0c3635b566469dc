#include "platform/PfGLBuffer.h"

#include "platform/PfGLDevice.h"

#include <epoxy/gl.h>

#include <atomic>

namespace
{

std::atomic<uint64_t> s_NextGeneration{1};

} // namespace

void PfGLBuffer::BumpContentGeneration()
{
    m_Generation = s_NextGeneration.fetch_add(1, std::memory_order_relaxed);
}

void PfGLBuffer::BeforeChange() const
{
    if (PfGLDevice* device = PfGLDevice::GetCurrent())
        device->NoteBufferChange(this);
}

PfGLBuffer::~PfGLBuffer()
{
    DestroyStorage();
}

void PfGLBuffer::CreateStorage(uint32_t length)
{
    BumpContentGeneration();
    m_Data.assign(length, 0);
    GLuint name = 0;
    glGenBuffers(1, &name);
    m_Name = name;
    // Index buffers are bound through the device's vertex array, so uploads go through the copy-write
    // target, which leaves every binding point the device relies on alone.
    GLint previous = 0;
    glGetIntegerv(GL_COPY_WRITE_BUFFER_BINDING, &previous);
    glBindBuffer(GL_COPY_WRITE_BUFFER, m_Name);
    glBufferData(GL_COPY_WRITE_BUFFER, (GLsizeiptr)length, m_Data.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_COPY_WRITE_BUFFER, (GLuint)previous);
}

void PfGLBuffer::DestroyStorage()
{
    if (m_Name)
    {
        BeforeChange();
        BumpContentGeneration();
        GLuint name = m_Name;
        glDeleteBuffers(1, &name);
    }
    m_Name = 0;
    m_Data.clear();
    m_Locked = false;
}

void* PfGLBuffer::Lock(uint32_t offset, uint32_t size, uint32_t flags)
{
    if (!m_Name || m_Locked || offset > m_Data.size())
        return nullptr;
    if (size == 0)
        size = (uint32_t)m_Data.size() - offset;
    if (size > m_Data.size() - offset)
        return nullptr;
    // Draws written down but not yet made read the contents as they are now.
    if (!(flags & D3DLOCK_READONLY))
        BeforeChange();
    m_Locked = true;
    m_LockOffset = offset;
    m_LockSize = size;
    m_LockFlags = flags;
    return m_Data.data() + offset;
}

PfResult PfGLBuffer::Unlock()
{
    if (!m_Locked)
        return D3DERR_INVALIDCALL;
    m_Locked = false;
    if ((m_LockFlags & D3DLOCK_READONLY) || m_LockSize == 0)
        return D3D_OK;
    BumpContentGeneration();
    GLint previous = 0;
    glGetIntegerv(GL_COPY_WRITE_BUFFER_BINDING, &previous);
    glBindBuffer(GL_COPY_WRITE_BUFFER, m_Name);
    glBufferSubData(GL_COPY_WRITE_BUFFER, (GLintptr)m_LockOffset, (GLsizeiptr)m_LockSize, m_Data.data() + m_LockOffset);
    glBindBuffer(GL_COPY_WRITE_BUFFER, (GLuint)previous);
    return D3D_OK;
}
