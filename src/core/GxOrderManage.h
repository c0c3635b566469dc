#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>

// A process-wide list of owned payloads with one 32-bit field, kept for the render-state module, which
// holds its address. Clear frees every payload and then the list.
class GxOrderManage
{
public:
    GxOrderManage() = default;
    virtual ~GxOrderManage();
    GxOrderManage(const GxOrderManage&) = delete;
    GxOrderManage& operator=(const GxOrderManage&) = delete;

    // Appends an entry owning size zeroed bytes; returns the bytes.
    uint8_t* Add(size_t size);
    size_t GetCount() const { return m_Entries.size(); }
    void Clear();
    uint32_t GetValue() const { return m_Value; }
    void SetValue(uint32_t value) { m_Value = value; }

private:
    std::list<std::unique_ptr<uint8_t[]>> m_Entries;
    uint32_t m_Value = 0;
};

// The one instance, alive from static initialisation to exit.
extern GxOrderManage g_OrderManage;
