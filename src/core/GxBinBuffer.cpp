#include "core/GxBinBuffer.h"

#include <cstdlib>

GxBinBuffer::GxBinBuffer(uint32_t size)
{
    Alloc(size);
}

GxBinBuffer::~GxBinBuffer()
{
    std::free(m_Data);
}

uint8_t* GxBinBuffer::Alloc(uint32_t size)
{
    std::free(m_Data);
    m_Data = nullptr;
    m_Size = 0;
    ++m_RefCount;
    if (size == 0)
        return nullptr;
    m_Data = static_cast<uint8_t*>(std::calloc(size, 1));
    if (m_Data != nullptr)
        m_Size = size;
    return m_Data;
}

void GxBinBuffer::Release()
{
    if (m_RefCount == 0)
        return;
    if (--m_RefCount == 0)
    {
        std::free(m_Data);
        m_Data = nullptr;
        m_Size = 0;
    }
}

void GxBinBuffer::Free()
{
    std::free(m_Data);
    m_Data = nullptr;
    m_Size = 0;
    m_RefCount = 0;
}
