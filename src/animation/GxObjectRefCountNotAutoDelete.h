#pragma once

#include <cstdint>

// A reference count that never deletes its object: reaching 0 only tells the owner (a factory) that the
// object may go. Each object starts with count 1, the reference of whoever asked for it.
class GxObjectRefCountNotAutoDelete
{
public:
    GxObjectRefCountNotAutoDelete() = default;
    GxObjectRefCountNotAutoDelete(const GxObjectRefCountNotAutoDelete&) = delete;
    GxObjectRefCountNotAutoDelete& operator=(const GxObjectRefCountNotAutoDelete&) = delete;
    // Counts down to 0 without calling the derived Release: by now the derived part is gone.
    virtual ~GxObjectRefCountNotAutoDelete() { m_RefCount = 0; }

    virtual uint32_t AddRef() { return ++m_RefCount; }
    virtual uint32_t GetRefCount() const { return m_RefCount; }
    // Count - 1 unless it is 0 already; returns the new count.
    virtual uint32_t Release()
    {
        if (m_RefCount != 0)
            --m_RefCount;
        return m_RefCount;
    }
    // Release until the count is 0.
    virtual void ReleaseAll()
    {
        while (GetRefCount() != 0)
            Release();
    }

private:
    uint32_t m_RefCount = 1;
};
