#pragma once

#include <cstdint>

// An owned block of bytes with its size: the unit in which whole files are loaded. The reference count
// lets a cache share one buffer between its users; Release frees the bytes when the last one lets go.
// The destructor frees the bytes whatever the count. Buffers are not copied.
class GxBinBuffer
{
public:
    GxBinBuffer() = default;
    explicit GxBinBuffer(uint32_t size);
    virtual ~GxBinBuffer();
    GxBinBuffer(const GxBinBuffer&) = delete;
    GxBinBuffer& operator=(const GxBinBuffer&) = delete;

    // Frees what the buffer holds, then allocates size zeroed bytes and raises the count by one.
    // Returns the data, or null (size 0) when the memory cannot be had or size is 0.
    uint8_t* Alloc(uint32_t size);
    void AddRef() { ++m_RefCount; }
    // Count - 1 (nothing when it is 0 already); at 0 the bytes are freed.
    void Release();
    // Frees the bytes; size and count 0.
    void Free();

    uint8_t* GetData() { return m_Data; }
    const uint8_t* GetData() const { return m_Data; }
    uint32_t GetSize() const { return m_Size; }
    uint32_t GetRefCount() const { return m_RefCount; }
    // The first byte, or 0 when the buffer is empty ("T" marks the text form of a content record).
    uint8_t First() const { return (m_Data != nullptr && m_Size > 0) ? m_Data[0] : 0; }

private:
    uint8_t* m_Data = nullptr;
    uint32_t m_Size = 0;
    uint32_t m_RefCount = 0;
};
